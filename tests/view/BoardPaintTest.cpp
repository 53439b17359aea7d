#include "tests/view/BoardWindowFixture.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

namespace pebbo::testing {
namespace {

// Between the stores and between the two rows of pits.
constexpr RECT kMiddle{55, 55, 544, 145};
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(237, 0, 0);

// The bare shape with text drawn across it as a count is drawn: the pit's
// font, centred, on a transparent background.
Pixels withCount(const Pixels& bare, const wchar_t* text, COLORREF color) {
    return drawn(bare.width, bare.height, [&](HDC dc) {
        for (int i = 0; i < bare.width * bare.height; ++i) {
            SetPixelV(dc, i % bare.width, i / bare.width, bare.colors[static_cast<size_t>(i)]);
        }
        Font font(CreateFontW(36, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                              OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                              DEFAULT_PITCH, L"MS Sans Serif"));
        ScopedSelect selected(dc, font.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, color);
        RECT rect{0, 0, bare.width, bare.height};
        DrawTextW(dc, text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    });
}

TEST_F(BoardWindowTest, CountsShowInTheColourSetBeforeTheirLastPaint) {
    const Pixels bare = captureHole(3);
    const Pixels bareStore = captureHole(13);
    const auto shown = [this](int index) {
        settle();
        return captureHole(index);
    };
    field->setHoleCount(3, 0);
    const Pixels blackZero = withCount(bare, L"0", kBlack);
    ASSERT_NE(blackZero, bare);
    EXPECT_EQ(shown(3), blackZero) << "black before any colour; zero is written";
    field->setHoleColor(3, kRed);
    EXPECT_EQ(shown(3), blackZero) << "a new colour waits for the next paint";
    field->redrawHoles();
    EXPECT_EQ(shown(3), withCount(bare, L"0", kRed));
    field->setHoleCount(3, 12);
    EXPECT_EQ(shown(3), withCount(bare, L"12", kRed)) << "the colour stays with the pit";
    field->clearHole(3);
    EXPECT_EQ(shown(3), bare);
    field->setHoleCount(13, 24);
    EXPECT_EQ(shown(13), withCount(bareStore, L"24", kBlack));
    EXPECT_EQ(captureHole(4), bare) << "neighbours are left alone";
}

// Bounding box, in board coordinates, of whatever is not board colour in the middle.
RECT messageInk(const Pixels& middle) {
    RECT ink{kMiddle.right, kMiddle.bottom, kMiddle.left, kMiddle.top};
    for (int i = 0; i < middle.width * middle.height; ++i) {
        if (middle.colors[static_cast<size_t>(i)] != kBoardColorRef) {
            const LONG x = kMiddle.left + i % middle.width;
            const LONG y = kMiddle.top + i / middle.width;
            ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                   std::max(ink.bottom, y + 1)};
        }
    }
    return ink;
}

TEST_F(BoardWindowTest, MessageIsCentredAndReplacesTheOldOne) {
    // The widest message, a narrow one, none, and an overlong one cut to 63 characters.
    const std::wstring overlong(100, L'.');
    const std::wstring cases[][2] = {{L"Computer Win 58 stones", L"Computer Win 58 stones"},
                                     {L"Draw", L"Draw"},
                                     {L"", L""},
                                     {overlong, overlong.substr(0, 63)}};
    for (const auto& [text, shownPart] : cases) {
        SCOPED_TRACE(shownPart);
        field->setMessage(text.c_str());
        settle();
        const RECT ink = messageInk(capture(kMiddle));
        SIZE extent{};
        GetTextExtentPoint32W(WindowDC(field->handle(), WindowDC::Area::Whole).get(),
                              shownPart.c_str(), static_cast<int>(shownPart.size()), &extent);
        // Within the text's own cell: nothing of the wider one before it is left.
        EXPECT_EQ(ink.right > ink.left, !shownPart.empty());
        EXPECT_LE(ink.right - ink.left, extent.cx);
        EXPECT_LE(ink.bottom - ink.top, extent.cy);
        if (!shownPart.empty()) {
            // Glyph side bearings may shift the ink a pixel or two from the cell.
            EXPECT_NEAR((ink.left + ink.right) / 2.0, 299.0, 3.0);
            EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 100.0, extent.cy / 2.0);
        }
    }
}

TEST_F(BoardWindowTest, SettersFromGameThreadsNeverShowAHalfWrittenValue) {
    const wchar_t* texts[] = {L"Thinking...", L"Your Turn"};
    const int32_t counts[] = {111, 222};
    const COLORREF colors[] = {kRed, RGB(0, 178, 0)};
    // Values 0 to 3 give every pairing of count and colour.
    const auto setValues = [&](int i) {
        field->setMessage(texts[i % 2]);
        field->setHoleColor(3, colors[i / 2 % 2]);
        field->setHoleCount(3, counts[i % 2]);
    };
    // Every picture whole values can give, painted quietly first.
    std::vector<Pixels> messages;
    std::vector<Pixels> pits{captureHole(3)};
    for (int i = 0; i < 4; ++i) {
        setValues(i);
        settle();
        messages.push_back(capture(kMiddle));
        pits.push_back(captureHole(3));
    }

    std::atomic<bool> stop{false};
    std::vector<std::thread> writers;
    for (int first = 0; first < 3; ++first) {
        writers.emplace_back([&, first] {
            for (int i = first; !stop; ++i) {
                setValues(i);
                if (i % 5 == 0) {
                    field->clearHole(3);
                }
                std::this_thread::yield();
            }
        });
    }
    const auto isOneOf = [](const Pixels& shown, const std::vector<Pixels>& frames) {
        return std::find(frames.begin(), frames.end(), shown) != frames.end();
    };
    int torn = 0;
    for (int frame = 0; frame < 80; ++frame) {
        settle();
        torn += isOneOf(capture(kMiddle), messages) ? 0 : 1;
        torn += isOneOf(captureHole(3), pits) ? 0 : 1;
    }
    stop = true;
    for (std::thread& writer : writers) {
        writer.join();
    }
    EXPECT_EQ(torn, 0);

    // The window still answers and shows the last values.
    setValues(1);
    settle();
    EXPECT_EQ(capture(kMiddle), messages[1]);
    EXPECT_EQ(captureHole(3), pits[2]);
}

} // namespace
} // namespace pebbo::testing
