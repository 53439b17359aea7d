#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "app/PointsToPixels.h"
#include "game/StatusText.h"
#include "app/WinDlgController.h"
#include "resources/resource.h"
#include "tests/shell/ShellTestSupport.h"
#include "view/FieldWnd.h"

namespace pebbo {
namespace {

using namespace std::chrono_literals;
using test::Pixels;

constexpr std::array<int, 6> kTechRow{IDC_POSCAPTION, IDC_POSVALUE,   IDC_SECSCAPTION,
                                      IDC_SECSVALUE,  IDC_PPSCAPTION, IDC_PPSVALUE};

void pumpFor(std::chrono::milliseconds duration) {
    test::pumpUntil([] { return false; }, duration);
}

bool contains(const Pixels& pixels, COLORREF color) {
    return std::find(pixels.begin(), pixels.end(), color) != pixels.end();
}

struct CountingSounds : SoundBank {
    void load() override { ++loads; }
    void play(Sound) override {}
    std::atomic<int> loads{0};
};

// A plain top-level window standing in for the main window, all client area.
struct HostWindow {
    HostWindow() = default;
    HostWindow(const HostWindow&) = delete;
    ~HostWindow() { DestroyWindow(window); }
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 20, 20, test::kClientWidth,
                        test::kClientHeight, nullptr, nullptr, nullptr, nullptr);
};

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.animate = 0; // moves settle at once
        settings.level = 0;
        open(host);
    }
    // The program's order: the windows go with the main window, then the controller.
    void TearDown() override { DestroyWindow(host.window); }

    void open(const HostWindow& parent) {
        controllers.push_back(std::make_unique<WinDlgController>(sounds, clock));
        dialog = controllers.back()->create(GetModuleHandleW(nullptr), parent.window, &settings);
        ShowWindow(dialog, SW_SHOW);
        board = FindWindowExW(dialog, nullptr, L"FieldClass", nullptr);
        pumpFor(100ms);
    }
    WinDlgController& controller() { return *controllers.front(); }
    HWND item(int id) const { return GetDlgItem(dialog, id); }
    // Left, top, width and height in the dialog.
    std::array<int, 4> placeOf(HWND window) const {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    HWND pit(int index) const {
        return ChildWindowFromPoint(board, {holeLayout[index].x + 1, holeLayout[index].y + 1});
    }
    Pixels pitPixels(int index) const {
        pumpFor(50ms);
        return test::capture(pit(index), {0, 0, kPitSize, kPitSize});
    }

    Settings settings{""};
    CountingSounds sounds;
    SteadyClock clock;
    HostWindow host;
    std::vector<std::unique_ptr<WinDlgController>> controllers;
    HWND dialog = nullptr;
    HWND board = nullptr;
};

TEST_F(ControllerTest, LaysTheDialogOutRoundTheBoardAt96Dpi) {
    ASSERT_EQ(pointsToPixels(10), 14) << "the layout below is for 96 pixels per inch";
    const int u = placeOf(item(IDC_COMPUTER))[3]; // the label height is the unit
    const int h = kBoardHeight;
    const int right = 5 + kBoardWidth;
    const auto widthOf = [&](int id) { return placeOf(item(id))[2]; };
    const auto button = placeOf(item(IDC_NEWGAME));
    // Left, top, width and height of each window; a size of 0 is the window's own.
    std::vector<std::pair<HWND, std::array<int, 4>>> places{
        {dialog, {0, 0, test::kClientWidth, test::kClientHeight}},
        {item(IDC_COMPUTER), {(test::kClientWidth - widthOf(IDC_COMPUTER)) / 2, 0, 0, 0}},
        {board, {5, u, kBoardWidth, h}},
        {item(IDC_YOU), {(test::kClientWidth - widthOf(IDC_YOU)) / 2, h + 2 * u, 0, 0}},
        {item(IDC_NEWGAME), {right - button[2], h + 5 * u - (button[3] - u) / 2, 0, 0}},
        {item(IDC_FIRSTTURN), {right - button[2] - widthOf(IDC_FIRSTTURN) - 2, h + 5 * u, 0, 0}}};
    for (int i = 0; i < 6; ++i) { // each digit under the pit its key plays
        places.push_back({item(IDC_PIT1 + i), {placeOf(pit(i))[0], h + u, kPitSize, u}});
    }
    int rowWidth = 0; // the technical row: 2 pixels apart, centred under the board
    for (int id : kTechRow) {
        rowWidth += widthOf(id);
    }
    int x = 5 + (kBoardWidth - rowWidth) / 2;
    for (int id : kTechRow) {
        places.push_back({item(id), {x, h + 35 * u / 10, 0, u}});
        x += widthOf(id) + 2;
    }
    for (auto [window, expected] : places) {
        const auto actual = placeOf(window);
        for (int i : {2, 3}) {
            expected[i] = expected[i] != 0 ? expected[i] : actual[i];
        }
        EXPECT_EQ(actual, expected) << GetDlgCtrlID(window);
        EXPECT_TRUE(IsWindowVisible(window)) << GetDlgCtrlID(window);
    }
    for (int id : {IDC_POSVALUE, IDC_SECSVALUE, IDC_PPSVALUE}) {
        EXPECT_EQ(GetWindowTextLengthW(item(id)), 0) << "a placeholder left in " << id;
    }
}

// A second board, told the text directly, is the reference for each status.
TEST_F(ControllerTest, ShowStatusPutsTheTextWithItsNumberAndWinnerOnTheBoard) {
    HostWindow referenceHost;
    FieldWnd reference;
    reference.create(GetModuleHandleW(nullptr), referenceHost.window);
    reference.place(test::kClientWidth, placeOf(board)[1]);
    reference.messageColor = static_cast<COLORREF>(settings.colors[1].load());
    const std::array<int32_t, 3> cases[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 4, 0},
                                            {4, 6, 0}, {5, 4, 0}, {5, 4, 1}, {6, 0, 0}};
    Pixels previous;
    for (const auto [index, number, computerWins] : cases) {
        controller().setStatusNumber(number);
        controller().setWinner(computerWins != 0);
        controller().showStatus(index);
        reference.setMessage(statusText(index, number, computerWins != 0).c_str());
        pumpFor(50ms);
        const Pixels shown = test::capture(board, test::kMessageRoom);
        EXPECT_EQ(shown, test::capture(reference.handle(), test::kMessageRoom)) << index;
        EXPECT_NE(shown, previous) << index << " looks like the message before";
        previous = shown;
    }
    DestroyWindow(referenceHost.window); // before the board object goes
}

TEST_F(ControllerTest, UpdatePitShowsCountsInSettingsColoursOrABareShape) {
    constexpr COLORREF red = RGB(237, 0, 0);
    constexpr COLORREF blue = RGB(0, 0, 178);
    settings.colors[4] = static_cast<int32_t>(red);
    settings.colors[6] = static_cast<int32_t>(blue);
    // Count, colour index, a colour shown and one gone.
    const std::array<int32_t, 4> cases[] = {
        {5, 4, red, blue}, {11, 6, blue, red}, {-1, 6, kShapeColor, blue}};
    for (const auto [count, colorIndex, shown, gone] : cases) {
        controller().updatePit(3, count, colorIndex);
        EXPECT_TRUE(contains(pitPixels(3), static_cast<COLORREF>(shown))) << count;
        EXPECT_FALSE(contains(pitPixels(3), static_cast<COLORREF>(gone))) << count;
    }
    // -1 blanks the number: both cleared pits show the same bare shape.
    controller().updatePit(4, -1, 4);
    EXPECT_EQ(pitPixels(3), pitPixels(4));
    EXPECT_NE(pitPixels(3), pitPixels(5));
}

// Sounds are looked up only with both Moves and Use Sounds on, once while they
// stay on, and again after either was switched off.
TEST_F(ControllerTest, TechRowAndSoundsFollowTheSettings) {
    const int before = sounds.loads;
    // ShowTech, Moves, Use Sounds, the lookups so far.
    const std::array<uint8_t, 4> changes[] = {{0, 0, 1, 0}, {1, 1, 1, 1}, {0, 1, 1, 1},
                                              {1, 1, 0, 1}, {1, 1, 1, 2}, {0, 0, 1, 2},
                                              {1, 1, 1, 3}};
    for (const auto [showTech, animate, sound, loads] : changes) {
        settings.showTech = showTech;
        settings.animate = animate;
        settings.sound = sound;
        SendMessageW(dialog, WM_USER, WinDlgController::kSettingsChanged, 0);
        EXPECT_EQ(sounds.loads - before, int{loads}) << +animate << +sound;
        for (int id : kTechRow) {
            EXPECT_EQ(IsWindowVisible(item(id)) != 0, showTech != 0) << id;
        }
    }
    HostWindow other; // and off from the start
    settings.showTech = 0;
    open(other);
    for (int id : kTechRow) {
        EXPECT_FALSE(IsWindowVisible(item(id))) << id;
    }
    EXPECT_TRUE(IsWindowVisible(item(IDC_COMPUTER)));
}

} // namespace
} // namespace pebbo
