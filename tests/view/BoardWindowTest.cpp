#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/TopDownBitmap.h"
#include "view/BoardLayout.h"
#include "view/FieldWnd.h"
#include "view/WindowClass.h"

namespace pebbo::testing {
namespace {

constexpr COLORREF kParentColor = RGB(0, 0, 255);
constexpr COLORREF kBoardColorRef = RGB(128, 128, 64);
constexpr int kParentWidth = 640;
constexpr RECT kMiddle{55, 55, 544, 145}; // between the stores and between the rows of pits
constexpr COLORREF kRed = RGB(237, 0, 0);

template <class Draw> Pixels drawn(int width, int height, Draw draw) {
    WindowDC screen(nullptr);
    MemoryDC memory(screen.get());
    Bitmap canvas(CreateCompatibleBitmap(screen.get(), width, height));
    ScopedSelect selected(memory.get(), canvas.get());
    draw(memory.get());
    return readPixelBlock(memory.get(), {0, 0, width, height});
}

std::vector<std::pair<WPARAM, LPARAM>> clicks;

// Stands in for the main dialog: a plain top-level window at the desktop's origin (client =
// screen coordinates) that records the pit clicks it gets.
class BoardWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        clicks.clear();
        // A desktop of our own: test programs side by side share no windows and no mouse. With a
        // size in the registry Wine makes it virtual, closing windows without a window manager.
        static const bool ownDesktop = [] {
            const std::wstring name = L"PebboViewTest" + std::to_wstring(GetCurrentProcessId());
            constexpr wchar_t kSizes[] = L"Software\\Wine\\Explorer\\Desktops";
            constexpr wchar_t kSize[] = L"800x600";
            RegSetKeyValueW(HKEY_CURRENT_USER, kSizes, name.c_str(), REG_SZ, kSize, sizeof(kSize));
            const HDESK desktop =
                CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
            const bool entered = desktop != nullptr && SetThreadDesktop(desktop) != FALSE;
            GetDesktopWindow(); // starts the desktop while its size is there to read
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kSizes, name.c_str());
            return entered;
        }();
        ASSERT_TRUE(ownDesktop);
        WNDCLASSEXW windowClass{};
        windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_USER)
                clicks.emplace_back(wParam, lParam);
            return DefWindowProcW(window, message, wParam, lParam);
        };
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PebboTestParent";
        ASSERT_TRUE(registerWindowClass(windowClass, Brush(CreateSolidBrush(kParentColor))));
        parent =
            CreateWindowExW(WS_EX_TOPMOST, L"PebboTestParent", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                            kParentWidth, 240, nullptr, nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(parent, nullptr);
        createField();
        boardRect = field->place(kParentWidth, 20);
    }
    void TearDown() override {
        field.reset();
        DestroyWindow(parent);
    }

    void createField() {
        field = std::make_unique<FieldWnd>();
        field->create(GetModuleHandleW(nullptr), parent);
        ASSERT_NE(field->handle(), nullptr);
    }
    // What the screen shows in `rect` of the board, once whatever is invalid is painted.
    Pixels capture(RECT rect) const {
        RedrawWindow(parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        OffsetRect(&rect, boardRect.left, boardRect.top);
        return readPixelBlock(WindowDC(parent).get(), rect);
    }
    Pixels captureHole(int index) const { return capture(field->getHoleRect(index)); }
    POINT onBoard(POINT point) const { return {boardRect.left + point.x, boardRect.top + point.y}; }
    // Delivers a mouse message where the system would: to the window under the point.
    void mouseAt(UINT message, POINT boardPoint) const {
        POINT client = onBoard(boardPoint);
        const HWND target = WindowFromPoint(client);
        ScreenToClient(target, &client);
        SendMessageW(target, message, 0, MAKELPARAM(client.x, client.y));
    }

    HWND parent = nullptr;
    std::unique_ptr<FieldWnd> field;
    RECT boardRect{};
};

POINT centreOf(int hole) {
    const HolePlace& place = holeLayout[hole];
    return {place.x + place.width / 2, place.y + place.height / 2};
}

// The shape drawn four times as large with plain GDI, each 4 x 4 square averaged by hand.
Pixels expectedShape(int width, int height) {
    const RECT big{0, 0, 4 * width, 4 * height};
    const Pixels canvas = drawn(big.right, big.bottom, [&](HDC dc) {
        FillRect(dc, &big, Brush(CreateSolidBrush(kBoardColorRef)).get());
        Pen edge(CreatePen(PS_SOLID, 4, kBoardColorRef));
        ScopedSelect pen(dc, edge.get());
        ScopedSelect brush(dc, GetStockObject(WHITE_BRUSH));
        Ellipse(dc, 0, 0, big.right - 1, big.bottom - 1);
    });
    Pixels shape{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
        unsigned sums[3] = {};
        for (int d = 0; d < 16; ++d)
            for (int c = 0; c < 3; ++c) // red, green, blue: the low bytes of a COLORREF
                sums[c] +=
                    (canvas.at(4 * (i % width) + d % 4, 4 * (i / width) + d / 4) >> 8 * c) & 255;
        shape.colors.push_back(RGB(sums[0] / 16, sums[1] / 16, sums[2] / 16));
    }
    return shape;
}

TEST_F(BoardWindowTest, HolesSitAtTheirPlacesShowingTheSupersampledShape) {
    const Pixels pit = expectedShape(kPitSize, kPitSize);
    const Pixels store = expectedShape(kPitSize, kStoreHeight);
    for (int index = 0; index < 14; ++index) {
        SCOPED_TRACE(index);
        const HolePlace& place = holeLayout[index];
        const RECT expected{place.x, place.y, place.x + place.width, place.y + place.height};
        const RECT rect = field->getHoleRect(index);
        EXPECT_TRUE(EqualRect(&rect, &expected));
        EXPECT_EQ(GetParent(WindowFromPoint(onBoard(centreOf(index)))), field->handle());
        EXPECT_EQ(captureHole(index), isStore(index) ? store : pit);
    }
}

TEST_F(BoardWindowTest, RoundedCornersNeitherPaintNorTakeTheMouse) {
    // The rounded region leaves out the last column and row, as GDI's do.
    const std::pair<POINT, bool> cases[] = {
        {{0, 0}, false},    {{597, 0}, false},   {{0, 199}, false}, {{597, 199}, false},
        {{1, 2}, false},    {{595, 197}, false}, {{0, 100}, true},  {{300, 0}, true},
        {{596, 100}, true}, {{300, 198}, true},  {{10, 10}, true},  {{597, 100}, false}};
    for (const auto& [point, board] : cases) {
        SCOPED_TRACE(point.x * 1000 + point.y);
        const RECT pixel{point.x, point.y, point.x + 1, point.y + 1};
        EXPECT_EQ(capture(pixel).at(0, 0), board ? kBoardColorRef : kParentColor);
        EXPECT_EQ(WindowFromPoint(onBoard(point)), board ? field->handle() : parent);
    }
}

TEST_F(BoardWindowTest, OnlyAReleaseOverTheUsersPitsReachesTheParent) {
    for (int index = 0; index < 14; ++index)
        mouseAt(WM_LBUTTONUP, centreOf(index));
    mouseAt(WM_LBUTTONUP, {145, 170}); // between two pits
    mouseAt(WM_LBUTTONUP, {81, 170});  // just left of pit 0
    mouseAt(WM_LBUTTONDOWN, centreOf(2));
    mouseAt(WM_LBUTTONUP, {299, 100}); // on the message line, after a press on a pit
    EXPECT_EQ(clicks, (decltype(clicks){{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}));
}

TEST_F(BoardWindowTest, WindowsAndObjectsMayGoInEitherOrder) {
    // The objects first: the windows stay and paint, but reach nothing freed.
    const HWND board = field->handle();
    field.reset();
    RedrawWindow(board, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    mouseAt(WM_LBUTTONUP, centreOf(0));
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(IsWindow(board));

    // The windows first: a board whose dialog is gone takes its setters quietly.
    createField();
    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_EQ(field->handle(), nullptr);
    field->setMessage(L"Draw");
    field->setHoleCount(0, 3);
    field->redrawHoles();
    const RECT gone = field->getHoleRect(0);
    EXPECT_TRUE(IsRectEmpty(&gone));
}

// `bare` with `text` drawn across it the way a pit draws its count.
Pixels withCount(const Pixels& bare, const wchar_t* text, COLORREF color) {
    return drawn(bare.width, bare.height, [&](HDC dc) {
        for (int i = 0; i < bare.width * bare.height; ++i)
            SetPixelV(dc, i % bare.width, i / bare.width, bare.colors[static_cast<size_t>(i)]);
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
    field->setHoleCount(3, 0);
    const Pixels blackZero = withCount(bare, L"0", RGB(0, 0, 0));
    ASSERT_NE(blackZero, bare);
    EXPECT_EQ(captureHole(3), blackZero) << "black before any colour; zero is written";
    field->setHoleColor(3, kRed);
    EXPECT_EQ(captureHole(3), blackZero) << "a new colour waits for the next paint";
    field->redrawHoles();
    EXPECT_EQ(captureHole(3), withCount(bare, L"0", kRed));
    field->setHoleCount(3, 12);
    EXPECT_EQ(captureHole(3), withCount(bare, L"12", kRed)) << "the colour stays with the pit";
    field->clearHole(3);
    EXPECT_EQ(captureHole(3), bare);
    field->setHoleCount(13, 24);
    EXPECT_EQ(captureHole(13), withCount(bareStore, L"24", RGB(0, 0, 0)));
    EXPECT_EQ(captureHole(4), bare) << "neighbours are left alone";
}

TEST_F(BoardWindowTest, MessageIsCentredAndReplacesTheOldOne) {
    // The widest message, a narrow one, none, and an overlong one.
    for (const std::wstring& text : {std::wstring(L"Computer Win 58 stones"), std::wstring(L"Draw"),
                                     std::wstring(), std::wstring(100, L'.')}) {
        const std::wstring shown = text.substr(0, 63); // longer ones are cut
        SCOPED_TRACE(shown);
        field->setMessage(text.c_str());
        const Pixels middle = capture(kMiddle);
        RECT ink{};
        for (int y = 0; y < middle.height; ++y)
            for (int x = 0; x < middle.width; ++x)
                if (const RECT pixel{x, y, x + 1, y + 1}; middle.at(x, y) != kBoardColorRef)
                    UnionRect(&ink, &ink, &pixel);
        SIZE extent{};
        GetTextExtentPoint32W(WindowDC(field->handle(), WindowDC::Area::Whole).get(), shown.c_str(),
                              static_cast<int>(shown.size()), &extent);
        // Within the text's own cell: nothing of the wider one before it is left.
        EXPECT_EQ(IsRectEmpty(&ink) == FALSE, !shown.empty());
        EXPECT_LE(ink.right - ink.left, extent.cx);
        EXPECT_LE(ink.bottom - ink.top, extent.cy);
        if (!shown.empty()) {
            // Glyph side bearings may shift the ink a pixel or two from the cell.
            EXPECT_NEAR(kMiddle.left + (ink.left + ink.right) / 2.0, 299.0, 3.0);
            EXPECT_NEAR(kMiddle.top + (ink.top + ink.bottom) / 2.0, 100.0, extent.cy / 2.0);
        }
    }
}

TEST_F(BoardWindowTest, SettersFromGameThreadsNeverShowAHalfWrittenValue) {
    // Values 0 to 3 give every pairing of count and colour.
    const auto setValues = [this](int i) {
        field->setMessage(i % 2 ? L"Your Turn" : L"Thinking...");
        field->setHoleColor(3, i / 2 % 2 ? RGB(0, 178, 0) : kRed);
        field->setHoleCount(3, i % 2 ? 222 : 111);
    };
    // Every picture whole values can give, painted quietly first.
    std::vector<Pixels> messages;
    std::vector<Pixels> pits{captureHole(3)};
    for (int i = 0; i < 4; ++i) {
        setValues(i);
        messages.push_back(capture(kMiddle));
        pits.push_back(captureHole(3));
    }
    std::vector<std::jthread> writers;
    for (int first = 0; first < 3; ++first)
        writers.emplace_back([&, first](std::stop_token stop) {
            for (int i = first; !stop.stop_requested(); ++i) {
                setValues(i);
                if (i % 5 == 0)
                    field->clearHole(3);
                std::this_thread::yield();
            }
        });
    int torn = 0;
    for (int frame = 0; frame < 1000; ++frame) {
        torn += std::ranges::count(messages, capture(kMiddle)) == 0;
        torn += std::ranges::count(pits, captureHole(3)) == 0;
    }
    writers.clear();
    EXPECT_EQ(torn, 0);
    setValues(1);
    EXPECT_EQ(capture(kMiddle), messages[1]);
    EXPECT_EQ(captureHole(3), pits[2]);
}

} // namespace
} // namespace pebbo::testing
