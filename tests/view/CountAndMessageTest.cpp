#include "tests/view/BoardWindowFixture.h"

#include <string>

namespace pebbo::testing {
namespace {

// The bare shape with text drawn across it as a count is drawn: the pit's
// font, centred, on a transparent background.
Pixels withCount(const Pixels& bare, const wchar_t* text, COLORREF color) {
    Canvas canvas(bare.width, bare.height);
    canvas.fill(bare);
    Font font(CreateFontW(36, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                          CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH,
                          L"MS Sans Serif"));
    ScopedSelect selected(canvas.dc(), font.get());
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), color);
    RECT rect{0, 0, bare.width, bare.height};
    DrawTextW(canvas.dc(), text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    return canvas.pixels();
}

// Bounding box of whatever differs from the board colour between the rows of pits.
RECT inkBetweenRows(const Pixels& middle, const RECT& area) {
    RECT ink{area.right, area.bottom, area.left, area.top};
    for (int y = 0; y < middle.height; ++y) {
        for (int x = 0; x < middle.width; ++x) {
            if (middle.at(x, y) != kBoardColorRef) {
                ink.left = std::min<LONG>(ink.left, area.left + x);
                ink.top = std::min<LONG>(ink.top, area.top + y);
                ink.right = std::max<LONG>(ink.right, area.left + x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, area.top + y + 1);
            }
        }
    }
    return ink;
}

TEST_F(BoardWindowTest, CountsShowInTheColourSetBeforeTheirLastPaint) {
    const Pixels barePit = captureHole(3);
    const Pixels bareStore = captureHole(13);
    const COLORREF red = RGB(237, 0, 0);

    // A count before any colour is black; zero is written, not left out.
    field->setHoleCount(3, 0);
    settle();
    const Pixels blackZero = withCount(barePit, L"0", RGB(0, 0, 0));
    EXPECT_NE(blackZero, barePit);
    EXPECT_EQ(captureHole(3), blackZero);

    // A new colour waits for the next paint.
    field->setHoleColor(3, red);
    settle();
    EXPECT_EQ(captureHole(3), blackZero);
    field->redrawHoles();
    settle();
    EXPECT_EQ(captureHole(3), withCount(barePit, L"0", red));

    // The colour stays with the pit through later counts.
    field->setHoleCount(3, 12);
    settle();
    EXPECT_EQ(captureHole(3), withCount(barePit, L"12", red));

    field->clearHole(3);
    settle();
    EXPECT_EQ(captureHole(3), barePit);

    field->setHoleCount(13, 24);
    settle();
    EXPECT_EQ(captureHole(13), withCount(bareStore, L"24", RGB(0, 0, 0)));
    // Neighbours are left alone.
    EXPECT_EQ(captureHole(4), barePit);
    EXPECT_EQ(captureHole(0), barePit);
}

TEST_F(BoardWindowTest, MessageIsCentredAndReplacesTheOldOne) {
    // Between the stores and between the two rows of pits.
    const RECT middle{55, 55, 544, 145};
    const auto showAndFindInk = [&](const wchar_t* text) {
        field->setMessage(text);
        settle();
        return inkBetweenRows(capture(middle), middle);
    };
    const auto expectCentred = [](const RECT& ink, const SIZE& extent) {
        EXPECT_GT(ink.right, ink.left);
        EXPECT_LE(ink.right - ink.left, extent.cx);
        EXPECT_LE(ink.bottom - ink.top, extent.cy);
        // Glyph side bearings may shift the ink a pixel or two from the cell.
        EXPECT_NEAR((ink.left + ink.right) / 2.0, 299.0, 3.0);
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 100.0, extent.cy / 2.0);
    };

    const wchar_t* widest = L"Computer Win 58 stones";
    const RECT wide = showAndFindInk(widest);
    expectCentred(wide, messageExtent(widest));

    const RECT narrow = showAndFindInk(L"Draw");
    expectCentred(narrow, messageExtent(L"Draw"));
    EXPECT_LT(narrow.right - narrow.left, wide.right - wide.left);

    const RECT empty = showAndFindInk(L"");
    EXPECT_LE(empty.right, empty.left);

    // An overlong text is cut to 63 characters instead of overrunning.
    const std::wstring overlong(100, L'.');
    const RECT cut = showAndFindInk(overlong.c_str());
    EXPECT_GT(cut.right, cut.left);
    EXPECT_LE(cut.right - cut.left, messageExtent(overlong.substr(0, 63).c_str()).cx);
}

} // namespace
} // namespace pebbo::testing
