#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/ClientSize.h"
#include "app/PointsToPixels.h"
#include "app/WinDlgController.h"
#include "game/StatusText.h"
#include "resources/resource.h"
#include "tests/shell/ShellTestSupport.h"
#include "view/FieldWnd.h"

namespace pebbo {
namespace {

using namespace std::chrono_literals;

struct CountingSounds : SoundBank {
    void load() override { ++loads; }
    void play(Sound) override {}
    std::atomic<int> loads{0};
};

// A plain top-level window standing in for the main window, all client area.
using HostWindow = std::unique_ptr<HWND__, decltype(&DestroyWindow)>;
HostWindow hostWindow() {
    return {CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 20, 20, kClientWidth,
                            clientHeight(14), nullptr, nullptr, nullptr, nullptr),
            &DestroyWindow};
}

void pumpFor(std::chrono::milliseconds duration) {
    test::pumpUntil([] { return false; }, duration);
}

TEST(Controller, DrivesTheRealMainDialog) {
    ASSERT_EQ(pointsToPixels(10), 14) << "the layout below is for 96 pixels per inch";
    Settings settings{""};
    settings.showTech = 0;
    ResultsRecord results{""};
    CountingSounds sounds;
    SteadyClock clock;
    WinDlgController controller(sounds, clock);
    // Goes first and takes the dialog along, as the main window does in the program.
    const HostWindow host = hostWindow();
    const HWND dialog =
        controller.create(GetModuleHandleW(nullptr), host.get(), &settings, &results);
    ShowWindow(dialog, SW_SHOW);
    const HWND board = FindWindowExW(dialog, nullptr, L"FieldClass", nullptr);
    pumpFor(100ms);
    const auto item = [&](int id) { return GetDlgItem(dialog, id); };
    const std::array<int, 6> techRow{IDC_POSCAPTION, IDC_POSVALUE,   IDC_SECSCAPTION,
                                     IDC_SECSVALUE,  IDC_PPSCAPTION, IDC_PPSVALUE};

    // The technical row follows ShowTech, from the start and on the settings-changed message;
    // sounds are looked up only with both Moves and Use Sounds on, once while they stay on, and
    // again after either was switched off.
    const int loadsAtStart = sounds.loads;
    // ShowTech, Moves, Use Sounds, the lookups so far; the first row is the start.
    const std::array<uint8_t, 4> changes[] = {{0, 1, 1, 0}, {0, 0, 1, 0}, {1, 1, 1, 1},
                                              {0, 1, 1, 1}, {1, 1, 0, 1}, {1, 1, 1, 2},
                                              {0, 0, 1, 2}, {1, 1, 1, 3}};
    for (const auto& change : changes) {
        const auto [showTech, animate, sound, loads] = change;
        settings.showTech = showTech;
        settings.animate = animate;
        settings.sound = sound;
        if (&change != changes)
            SendMessageW(dialog, WM_USER, WinDlgController::kSettingsChanged, 0);
        EXPECT_EQ(sounds.loads - loadsAtStart, int{loads}) << +animate << +sound;
        for (int id : techRow)
            EXPECT_EQ(IsWindowVisible(item(id)) != 0, showTech != 0) << id;
    }

    // The layout: left, top, width and height in the dialog, a size of 0 being the window's own.
    const auto placeOf = [&](HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        return std::array<int, 4>{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    const auto widthOf = [&](int id) { return placeOf(item(id))[2]; };
    const int u = placeOf(item(IDC_COMPUTER))[3]; // the label height is the unit
    const int h = kBoardHeight;
    const auto button = placeOf(item(IDC_NEWGAME));
    const int buttonX = 5 + kBoardWidth - button[2];
    std::vector<std::pair<HWND, std::array<int, 4>>> places{
        {dialog, {0, 0, kClientWidth, clientHeight(14)}},
        {board, {5, u, kBoardWidth, h}},
        {item(IDC_COMPUTER), {(kClientWidth - widthOf(IDC_COMPUTER)) / 2, 0, 0, 0}},
        {item(IDC_YOU), {(kClientWidth - widthOf(IDC_YOU)) / 2, h + 2 * u, 0, 0}},
        {item(IDC_NEWGAME), {buttonX, h + 5 * u - (button[3] - u) / 2, 0, 0}},
        {item(IDC_FIRSTTURN), {buttonX - widthOf(IDC_FIRSTTURN) - 2, h + 5 * u, 0, 0}}};
    for (int i = 0; i < 6; ++i) // each digit under the pit its key plays
        places.push_back(
            {item(IDC_PIT1 + i), {placeOf(test::holeWindow(board, i))[0], h + u, kPitSize, u}});
    int rowWidth = 0; // the technical row: 2 pixels apart, centred under the board
    for (int id : techRow)
        rowWidth += widthOf(id);
    for (int x = 5 + (kBoardWidth - rowWidth) / 2; int id : techRow) {
        places.push_back({item(id), {x, h + 35 * u / 10, 0, u}});
        x += widthOf(id) + 2;
    }
    for (auto [window, expected] : places) {
        const auto actual = placeOf(window);
        expected[2] = expected[2] != 0 ? expected[2] : actual[2];
        expected[3] = expected[3] != 0 ? expected[3] : actual[3];
        EXPECT_EQ(actual, expected) << GetDlgCtrlID(window);
        EXPECT_TRUE(IsWindowVisible(window)) << GetDlgCtrlID(window);
    }
    for (int id : {IDC_POSVALUE, IDC_SECSVALUE, IDC_PPSVALUE})
        EXPECT_EQ(GetWindowTextLengthW(item(id)), 0) << "a placeholder left in " << id;

    // Each status with its number and winner, against a second board told the text directly.
    FieldWnd reference;
    const HostWindow referenceHost = hostWindow(); // goes before the board object
    reference.create(GetModuleHandleW(nullptr), referenceHost.get());
    reference.place(kClientWidth, u);
    reference.messageColor = static_cast<COLORREF>(settings.colors[1].load());
    const std::array<int32_t, 4> statuses[] = {
        {0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}, {3, 4, 0, 0}, {4, 6, 0, 0}, {5, 4, 0, 0},
        {5, 4, 1, 0}, {6, 4, 0, 3}, {9, 4, 0, 5}, {10, 0, 0, 0}};
    Pixels previous;
    for (const auto [index, number, computerWins, pit] : statuses) {
        controller.setStatusNumber(number);
        controller.setStatusPit(pit);
        controller.setWinner(computerWins != 0);
        controller.showStatus(index);
        reference.setMessage(statusText(index, number, computerWins != 0, pit).c_str());
        pumpFor(50ms);
        const Pixels shown = test::capture(board, test::kMessageRoom);
        EXPECT_EQ(shown, test::capture(reference.handle(), test::kMessageRoom)) << index;
        EXPECT_NE(shown, std::exchange(previous, shown)) << index << " looks like the one before";
    }

    // updatePit: the count in the colour the settings give its index, or the bare shape.
    const auto pitPixels = [&](int i) {
        pumpFor(50ms);
        return test::capture(test::holeWindow(board, i), {0, 0, kPitSize, kPitSize}).colors;
    };
    constexpr COLORREF red = RGB(237, 0, 0);
    constexpr COLORREF blue = RGB(0, 0, 178);
    settings.colors[4] = static_cast<int32_t>(red);
    settings.colors[6] = static_cast<int32_t>(blue);
    // Count, colour index, a colour shown and one gone.
    const std::array<int32_t, 4> pits[] = {
        {5, 4, red, blue}, {11, 6, blue, red}, {-1, 6, kShapeColor, blue}};
    for (const auto [count, colorIndex, shown, gone] : pits) {
        controller.updatePit(3, count, colorIndex);
        EXPECT_GT(std::ranges::count(pitPixels(3), static_cast<COLORREF>(shown)), 0) << count;
        EXPECT_EQ(std::ranges::count(pitPixels(3), static_cast<COLORREF>(gone)), 0) << count;
    }
    // -1 blanks the number: both cleared pits show the same bare shape.
    controller.updatePit(4, -1, 4);
    EXPECT_EQ(pitPixels(3), pitPixels(4));
    EXPECT_NE(pitPixels(3), pitPixels(5));
}

} // namespace
} // namespace pebbo
