#include "tests/view/BoardWindowFixture.h"

#include "view/BoardLayout.h"

namespace pebbo::testing {
namespace {

bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

RECT layoutRect(int index) {
    const HolePlace& place = holeLayout[index];
    return {place.x, place.y, place.x + place.width, place.y + place.height};
}

POINT centreOf(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The shape drawn four times as large, as a person would with GDI, and every
// 4 x 4 square averaged by hand.
Pixels expectedShape(int width, int height) {
    const RECT big{0, 0, 4 * width, 4 * height};
    const Pixels canvas = drawn(big.right, big.bottom, [&](HDC dc) {
        FillRect(dc, &big, Brush(CreateSolidBrush(kBoardColorRef)).get());
        Brush white(CreateSolidBrush(RGB(255, 255, 255)));
        Pen edge(CreatePen(PS_SOLID, 4, kBoardColorRef));
        ScopedSelect pen(dc, edge.get());
        ScopedSelect brush(dc, white.get());
        Ellipse(dc, 0, 0, big.right - 1, big.bottom - 1);
    });
    Pixels shape{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
        unsigned sums[3] = {};
        for (int d = 0; d < 16; ++d) {
            const COLORREF pixel = canvas.at(4 * (i % width) + d % 4, 4 * (i / width) + d / 4);
            sums[0] += GetRValue(pixel);
            sums[1] += GetGValue(pixel);
            sums[2] += GetBValue(pixel);
        }
        shape.colors.push_back(RGB(sums[0] / 16, sums[1] / 16, sums[2] / 16));
    }
    return shape;
}

TEST_F(BoardWindowTest, HolesSitAtTheirPlacesShowingTheSupersampledShape) {
    const Pixels pit = expectedShape(kPitSize, kPitSize);
    const Pixels store = expectedShape(kPitSize, kStoreHeight);
    ASSERT_EQ(pit.at(0, 0), kBoardColorRef);
    ASSERT_EQ(pit.at(25, 25), RGB(255, 255, 255));
    for (int index = 0; index < 14; ++index) {
        SCOPED_TRACE(index);
        EXPECT_TRUE(field->getHoleRect(index) == layoutRect(index));
        const HWND hole = WindowFromPoint(onBoard(centreOf(layoutRect(index))));
        EXPECT_EQ(GetParent(hole), field->handle());
        EXPECT_EQ(captureHole(index), isStore(index) ? store : pit);
    }
}

TEST_F(BoardWindowTest, RoundedCornersNeitherPaintNorTakeTheMouse) {
    // The rounded region leaves out the last column and row, as GDI's do.
    const struct {
        POINT point;
        bool board;
    } cases[] = {{{0, 0}, false},    {{597, 0}, false},   {{0, 199}, false}, {{597, 199}, false},
                 {{1, 2}, false},    {{595, 197}, false}, {{0, 100}, true},  {{300, 0}, true},
                 {{596, 100}, true}, {{300, 198}, true},  {{10, 10}, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.point.x * 1000 + c.point.y);
        const RECT pixel{c.point.x, c.point.y, c.point.x + 1, c.point.y + 1};
        EXPECT_EQ(capture(pixel).at(0, 0), c.board ? kBoardColorRef : kParentColor);
        EXPECT_EQ(WindowFromPoint(onBoard(c.point)), c.board ? field->handle() : parent);
    }
}

TEST_F(BoardWindowTest, OnlyAReleaseOverTheUsersPitsReachesTheParent) {
    for (int index = 0; index < 14; ++index) {
        mouseAt(WM_LBUTTONUP, centreOf(layoutRect(index)));
    }
    // Between two pits, on the message line, just left of pit 0; a press alone,
    // and a press on a pit released elsewhere.
    for (POINT point : {POINT{145, 170}, POINT{299, 100}, POINT{81, 170}}) {
        mouseAt(WM_LBUTTONUP, point);
    }
    mouseAt(WM_LBUTTONDOWN, centreOf(layoutRect(2)));
    mouseAt(WM_LBUTTONUP, {299, 100});
    const decltype(clicks) pits{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}};
    EXPECT_EQ(clicks, pits);
}

TEST_F(BoardWindowTest, WindowsAndObjectsMayGoInEitherOrder) {
    // The objects first: the windows stay and paint, but reach nothing freed.
    const HWND board = field->handle();
    field.reset();
    RedrawWindow(board, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    mouseAt(WM_LBUTTONUP, centreOf(layoutRect(0)));
    settle();
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(IsWindow(board));

    // The windows first: a board whose dialog is gone takes its setters quietly.
    field = std::make_unique<FieldWnd>();
    field->create(GetModuleHandleW(nullptr), parent);
    ASSERT_NE(field->handle(), nullptr);
    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_EQ(field->handle(), nullptr);
    field->setMessage(L"Draw");
    field->setHoleCount(0, 3);
    field->setHoleColor(0, RGB(1, 2, 3));
    field->clearHole(1);
    field->redrawHoles();
    EXPECT_TRUE(field->getHoleRect(0) == RECT{});
}

} // namespace
} // namespace pebbo::testing
