#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/PointsToPixels.h"
#include "app/Settings.h"
#include "app/WinDlgController.h"
#include "resources/resource.h"
#include "tests/shell/ShellTestSupport.h"
#include "view/BoardLayout.h"
#include "view/FieldWnd.h"

namespace pebbo {
namespace {

using namespace std::chrono_literals;

constexpr COLORREF kBoardColor = RGB(128, 128, 64);
// Between the two rows and the two stores: only the message line draws here.
constexpr RECT kMessageArea{60, 56, 538, 144};

RECT rectIn(HWND parent, HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring textOf(HWND window) {
    std::wstring text(64, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), 64)));
    return text;
}

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.animate = 0; // moves settle at once
        settings.level = 0;
        controller = std::make_unique<WinDlgController>(sounds, clock);
        dialog = controller->create(GetModuleHandleW(nullptr), host.handle(), &settings);
        ASSERT_NE(dialog, nullptr);
        ShowWindow(dialog, SW_SHOW);
        board = FindWindowExW(dialog, nullptr, L"FieldClass", nullptr);
        ASSERT_NE(board, nullptr);
        test::pumpFor(100ms);
    }

    void TearDown() override {
        // The program's order: the windows go with the main window, then the controller.
        host.destroy();
        controller.reset();
    }

    HWND item(int id) const { return GetDlgItem(dialog, id); }

    HWND pit(int index) const {
        const POINT place{holeLayout[index].x + 1, holeLayout[index].y + 1};
        return ChildWindowFromPointEx(board, place, CWP_SKIPINVISIBLE);
    }

    test::Pixels pitPixels(int index) const {
        test::pumpFor(50ms);
        RECT client{};
        GetClientRect(pit(index), &client);
        return test::capture(pit(index), client);
    }

    std::array<test::Pixels, 6> computerRow() const {
        std::array<test::Pixels, 6> row;
        for (int i = 0; i < 6; ++i) {
            row[i] = pitPixels(7 + i);
        }
        return row;
    }

    test::Pixels messagePixels() const {
        test::pumpFor(50ms);
        return test::capture(board, kMessageArea);
    }

    test::TempSettingsFile file;
    Settings settings{file.path()};
    test::RecordingSounds sounds;
    test::QuickClock clock;
    test::HostWindow host{608, 294};
    std::unique_ptr<WinDlgController> controller;
    HWND dialog = nullptr;
    HWND board = nullptr;
};

TEST_F(ControllerTest, LaysTheDialogOutRoundTheBoard) {
    ASSERT_EQ(pointsToPixels(10), 14) << "the layout below is for 96 pixels per inch";
    RECT dialogRect{};
    GetWindowRect(dialog, &dialogRect);
    EXPECT_EQ(dialogRect.right - dialogRect.left, 608);
    EXPECT_EQ(dialogRect.bottom - dialogRect.top, 294);

    const RECT computer = rectIn(dialog, item(IDC_COMPUTER));
    const int u = computer.bottom - computer.top;
    EXPECT_GT(u, 0);
    EXPECT_EQ(computer.top, 0);
    EXPECT_EQ(computer.left, (608 - (computer.right - computer.left)) / 2);

    const RECT boardRect = rectIn(dialog, board);
    EXPECT_EQ(boardRect.left, 5);
    EXPECT_EQ(boardRect.top, u);
    EXPECT_EQ(boardRect.right, 603);
    EXPECT_EQ(boardRect.bottom, u + 200);

    const RECT you = rectIn(dialog, item(IDC_YOU));
    EXPECT_EQ(you.top, 200 + 2 * u);
    EXPECT_EQ(you.left, (608 - (you.right - you.left)) / 2);

    // Each digit stands under the pit its key plays.
    for (int i = 0; i < 6; ++i) {
        const RECT digit = rectIn(dialog, item(IDC_PIT1 + i));
        const RECT pitRect = rectIn(dialog, pit(i));
        EXPECT_EQ(digit.left, pitRect.left) << i;
        EXPECT_EQ(digit.right, pitRect.right) << i;
        EXPECT_EQ(digit.top, 200 + u) << i;
        EXPECT_EQ(digit.bottom, 200 + 2 * u) << i;
        EXPECT_EQ(textOf(item(IDC_PIT1 + i)), std::to_wstring(i + 1));
    }

    // "Pos:" value "Secs:" value "P/S(Mln):" value, 2 pixels apart, centred under the board.
    const std::array<int, 6> row{IDC_POSCAPTION, IDC_POSVALUE,   IDC_SECSCAPTION,
                                 IDC_SECSVALUE,  IDC_PPSCAPTION, IDC_PPSVALUE};
    int rowWidth = 0;
    for (int id : row) {
        const RECT label = rectIn(dialog, item(id));
        rowWidth += label.right - label.left;
    }
    int x = 5 + (598 - rowWidth) / 2;
    for (int id : row) {
        const RECT label = rectIn(dialog, item(id));
        EXPECT_EQ(label.left, x) << id;
        EXPECT_EQ(label.top, 200 + 35 * u / 10) << id;
        EXPECT_EQ(label.bottom - label.top, u) << id;
        EXPECT_TRUE(IsWindowVisible(item(id))) << id;
        x = label.right + 2;
    }
    for (int id : {IDC_POSVALUE, IDC_SECSVALUE, IDC_PPSVALUE}) {
        EXPECT_EQ(textOf(item(id)), L"") << id;
    }

    const RECT button = rectIn(dialog, item(IDC_NEWGAME));
    EXPECT_EQ(button.right, 603);
    EXPECT_EQ(button.top, 200 + 5 * u - (button.bottom - button.top - u) / 2);
    const RECT checkBox = rectIn(dialog, item(IDC_FIRSTTURN));
    EXPECT_EQ(checkBox.right, button.left - 2);
    EXPECT_EQ(checkBox.top, 200 + 5 * u);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FIRSTTURN), BST_CHECKED);
}

TEST_F(ControllerTest, ShowStatusPutsEachMessageOnTheBoard) {
    // A second board, told the expected texts directly, is the reference.
    test::HostWindow referenceHost{608, 294};
    FieldWnd reference;
    reference.create(GetModuleHandleW(nullptr), referenceHost.handle());
    reference.place(608, rectIn(dialog, board).top);
    reference.messageColor = static_cast<COLORREF>(settings.colors[1].load());
    const auto referencePixels = [&](const wchar_t* text) {
        reference.setMessage(text);
        test::pumpFor(50ms);
        return test::capture(reference.handle(), kMessageArea);
    };

    struct Case {
        int32_t index;
        int32_t number;
        bool computerWins;
        const wchar_t* text;
    };
    const std::vector<Case> cases{{0, 0, false, L"Your Turn"},
                                  {1, 0, false, L"Thinking..."},
                                  {2, 0, false, L"Draw"},
                                  {3, 4, false, L"Will Turn 4"},
                                  {4, 6, false, L"Turning From 6"},
                                  {5, 4, false, L"You Win 4 stones"},
                                  {5, 4, true, L"Computer Win 4 stones"}};
    std::vector<test::Pixels> shown;
    for (const Case& c : cases) {
        controller->setStatusNumber(c.number);
        controller->setWinner(c.computerWins);
        controller->showStatus(c.index);
        shown.push_back(messagePixels());
        EXPECT_EQ(shown.back(), referencePixels(c.text)) << c.index << " " << c.computerWins;
        EXPECT_TRUE(shown.back().contains(RGB(255, 255, 255))) << "drawn in Color1";
    }
    for (size_t i = 1; i < shown.size(); ++i) {
        EXPECT_NE(shown[i], shown[i - 1]) << "messages " << i - 1 << " and " << i;
    }

    controller->showStatus(6);
    const test::Pixels empty = messagePixels();
    EXPECT_FALSE(empty.contains(RGB(255, 255, 255)));
    EXPECT_TRUE(empty.contains(kBoardColor));
    referenceHost.destroy();
}

TEST_F(ControllerTest, UpdatePitShowsCountsInSettingsColoursOrABareShape) {
    settings.colors[4] = static_cast<int32_t>(RGB(237, 0, 0));
    settings.colors[6] = static_cast<int32_t>(RGB(0, 0, 178));

    controller->updatePit(3, 5, 4);
    const test::Pixels red = pitPixels(3);
    EXPECT_TRUE(red.contains(RGB(237, 0, 0)));

    controller->updatePit(3, 11, 6);
    const test::Pixels blue = pitPixels(3);
    EXPECT_TRUE(blue.contains(RGB(0, 0, 178)));
    EXPECT_FALSE(blue.contains(RGB(237, 0, 0)));

    // -1 blanks the number: both cleared pits show the same bare shape.
    controller->updatePit(3, -1, 4);
    controller->updatePit(4, -1, 4);
    const test::Pixels bare = pitPixels(3);
    EXPECT_FALSE(bare.contains(RGB(0, 0, 178)));
    EXPECT_EQ(bare, pitPixels(4));
    EXPECT_NE(bare, pitPixels(5));
}

TEST_F(ControllerTest, FirstTurnBoxDecidesWhoOpensTheNextNewGame) {
    const auto startRow = computerRow();

    // Checked: the user opens, the computer's row stays as it is.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_NEWGAME, BN_CLICKED), 0);
    test::pumpFor(300ms);
    EXPECT_EQ(computerRow(), startRow);

    // Clearing the box does not restart the game.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_FIRSTTURN, BN_CLICKED), 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FIRSTTURN), BST_UNCHECKED);
    test::pumpFor(300ms);
    EXPECT_EQ(computerRow(), startRow);

    // The next New Game lets the computer move first.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_NEWGAME, BN_CLICKED), 0);
    EXPECT_TRUE(test::pumpUntil([&] { return computerRow() != startRow; }));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FIRSTTURN), BST_UNCHECKED);

    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_FIRSTTURN, BN_CLICKED), 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FIRSTTURN), BST_CHECKED);
}

TEST_F(ControllerTest, SettingsChangedShowsTechLabelsAndLoadsSounds) {
    const std::array<int, 6> techLabels{IDC_POSCAPTION, IDC_POSVALUE,   IDC_SECSCAPTION,
                                        IDC_SECSVALUE,  IDC_PPSCAPTION, IDC_PPSVALUE};
    settings.showTech = 0;
    SendMessageW(dialog, WM_USER, WinDlgController::kSettingsChanged, 0);
    for (int id : techLabels) {
        EXPECT_FALSE(IsWindowVisible(item(id))) << id;
    }
    settings.showTech = 1;
    SendMessageW(dialog, WM_USER, WinDlgController::kSettingsChanged, 0);
    for (int id : techLabels) {
        EXPECT_TRUE(IsWindowVisible(item(id))) << id;
    }

    // Sounds are looked up only with both Moves and Use Sounds on, once while
    // they stay on, and again after either was switched off.
    const auto settingsChanged = [&](uint8_t animate, uint8_t sound) {
        settings.animate = animate;
        settings.sound = sound;
        SendMessageW(dialog, WM_USER, WinDlgController::kSettingsChanged, 0);
        return sounds.loads.load();
    };
    const int loadsBefore = sounds.loads;
    EXPECT_EQ(settingsChanged(0, 1), loadsBefore);
    EXPECT_EQ(settingsChanged(1, 1), loadsBefore + 1);
    EXPECT_EQ(settingsChanged(1, 1), loadsBefore + 1);
    EXPECT_EQ(settingsChanged(1, 0), loadsBefore + 1);
    EXPECT_EQ(settingsChanged(1, 1), loadsBefore + 2);
    EXPECT_EQ(settingsChanged(0, 1), loadsBefore + 2);
    EXPECT_EQ(settingsChanged(1, 1), loadsBefore + 3);
}

TEST_F(ControllerTest, ShowTechOffAtStartHidesTheTechRow) {
    host.destroy();
    controller.reset();
    settings.showTech = 0;
    test::HostWindow otherHost{608, 294};
    controller = std::make_unique<WinDlgController>(sounds, clock);
    dialog = controller->create(GetModuleHandleW(nullptr), otherHost.handle(), &settings);
    ShowWindow(dialog, SW_SHOW);
    for (int id : {IDC_POSCAPTION, IDC_POSVALUE, IDC_SECSCAPTION, IDC_SECSVALUE, IDC_PPSCAPTION,
                   IDC_PPSVALUE}) {
        EXPECT_FALSE(IsWindowVisible(item(id))) << id;
    }
    EXPECT_TRUE(IsWindowVisible(item(IDC_COMPUTER)));
    otherHost.destroy();
    controller.reset();
}

TEST_F(ControllerTest, PitClicksAndDigitCommandsPlayTheUsersPits) {
    const test::Pixels pit0 = pitPixels(0);
    const test::Pixels pit2 = pitPixels(2);
    // A click on pit 2 arrives as WM_USER 2 from the board.
    SendMessageW(dialog, WM_USER, 2, 0);
    EXPECT_TRUE(test::pumpUntil([&] { return pitPixels(2) != pit2; }));
    // The digit key 1 arrives as command 32771 from the main window.
    EXPECT_TRUE(test::pumpUntil([&] {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDM_PIT1, 1), 0);
        return pitPixels(0) != pit0;
    }));
}

} // namespace
} // namespace pebbo
