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

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

TEST_F(BoardWindowTest, FourteenWindowsSitAtTheirPlacesOnARoundedBoard) {
    EXPECT_EQ(classOf(field->handle()), L"FieldClass");
    EXPECT_EQ(GetParent(field->handle()), parent);
    for (int index = 0; index < 14; ++index) {
        SCOPED_TRACE(index);
        const RECT place = layoutRect(index);
        EXPECT_TRUE(field->getHoleRect(index) == place);
        const POINT centre = centreOf(place);
        const HWND hole = WindowFromPoint(onBoard(centre.x, centre.y));
        EXPECT_EQ(classOf(hole), L"HoleClass");
        EXPECT_EQ(GetParent(hole), field->handle());
    }

    // Outside the rounded corners the parent shows through and takes the mouse.
    const POINT corners[] = {{0, 0}, {597, 0}, {0, 199}, {597, 199}, {1, 2}, {595, 197}};
    for (const POINT& corner : corners) {
        SCOPED_TRACE(corner.x * 1000 + corner.y);
        const RECT pixel{corner.x, corner.y, corner.x + 1, corner.y + 1};
        EXPECT_EQ(capture(pixel).at(0, 0), kParentColor);
        EXPECT_EQ(WindowFromPoint(onBoard(corner.x, corner.y)), parent);
    }
    // Along the edges, away from the corners, it is board (the rounded region
    // leaves out the last column and row, as GDI's rounded regions do).
    const POINT edges[] = {{0, 100}, {300, 0}, {596, 100}, {300, 198}, {10, 10}};
    for (const POINT& edge : edges) {
        SCOPED_TRACE(edge.x * 1000 + edge.y);
        const RECT pixel{edge.x, edge.y, edge.x + 1, edge.y + 1};
        EXPECT_EQ(capture(pixel).at(0, 0), kBoardColorRef);
        EXPECT_EQ(WindowFromPoint(onBoard(edge.x, edge.y)), field->handle());
    }
}

TEST_F(BoardWindowTest, PlaceCentresTheBoardInTheAvailableWidth) {
    const auto boardInParent = [this] {
        RECT rect;
        GetWindowRect(field->handle(), &rect);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    EXPECT_TRUE(boardRect == (RECT{21, kBoardTop, 21 + 598, kBoardTop + 200}));
    EXPECT_TRUE(boardInParent() == boardRect);

    const RECT wide = field->place(607, 10);
    EXPECT_TRUE(wide == (RECT{4, 10, 602, 210}));
    EXPECT_TRUE(boardInParent() == wide);

    EXPECT_EQ(field->place(597, 0).left, 0);
    const RECT narrow = field->place(590, 3);
    EXPECT_TRUE(narrow == (RECT{-4, 3, 594, 203}));
    EXPECT_TRUE(boardInParent() == narrow);
    // The pits move with the board.
    EXPECT_TRUE(field->getHoleRect(0) == layoutRect(0));
}

TEST_F(BoardWindowTest, OnlyAReleaseOverTheUsersPitsReachesTheParent) {
    for (int index = 0; index < 14; ++index) {
        const POINT centre = centreOf(layoutRect(index));
        mouseAt(WM_LBUTTONUP, onBoard(centre.x, centre.y));
    }
    ASSERT_EQ(clicks.size(), 6u);
    for (size_t index = 0; index < 6; ++index) {
        EXPECT_EQ(clicks[index].first, index);
        EXPECT_EQ(clicks[index].second, 0);
    }

    clicks.clear();
    // Between two pits, on the message line, just left of pit 0.
    mouseAt(WM_LBUTTONUP, onBoard(145, 170));
    mouseAt(WM_LBUTTONUP, onBoard(299, 100));
    mouseAt(WM_LBUTTONUP, onBoard(81, 170));
    // A press alone, and a press on a pit released elsewhere.
    const POINT pit2 = centreOf(layoutRect(2));
    mouseAt(WM_LBUTTONDOWN, onBoard(pit2.x, pit2.y));
    mouseAt(WM_LBUTTONUP, onBoard(299, 100));
    EXPECT_TRUE(clicks.empty());
}

TEST_F(BoardWindowTest, WindowsAndObjectsMayGoInEitherOrder) {
    // The objects first: the windows stay and paint, but reach nothing freed.
    const HWND board = field->handle();
    const POINT pit = centreOf(layoutRect(0));
    field.reset();
    RedrawWindow(board, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    mouseAt(WM_LBUTTONUP, onBoard(pit.x, pit.y));
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
    const RECT gone = field->getHoleRect(0);
    EXPECT_TRUE(IsRectEmpty(&gone));
    field.reset();
}

} // namespace
} // namespace pebbo::testing
