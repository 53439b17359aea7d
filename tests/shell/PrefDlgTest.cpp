#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "app/PrefDlg.h"
#include "app/Settings.h"
#include "resources/resource.h"
#include "tests/shell/ShellTestSupport.h"

namespace pebbo {
namespace {

// The dialog is modal: the test's script runs from a timer inside its loop.
std::function<void(HWND)>* activeScript = nullptr;

BOOL CALLBACK findPreferences(HWND window, LPARAM found) {
    std::wstring title(64, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(window, title.data(), 64)));
    if (title == L"Preferences") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK runScript(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findPreferences, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr || activeScript == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    auto* script = std::exchange(activeScript, nullptr);
    (*script)(dialog);
}

INT_PTR showWith(Settings& settings, std::function<void(HWND)> script) {
    activeScript = &script;
    SetTimer(nullptr, 0, 20, runScript);
    PrefDlg prefDlg(settings);
    return prefDlg.show(GetModuleHandleW(nullptr), nullptr);
}

void click(HWND dialog, int id) {
    SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
}

bool checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != 0;
}

std::wstring levelItem(HWND dialog, int index) {
    std::wstring text(32, L'\0');
    const auto length =
        SendDlgItemMessageW(dialog, IDC_LEVEL, CB_GETLBTEXT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(text.data()));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

int selectedLevel(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_LEVEL, CB_GETCURSEL, 0, 0));
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(PrefDlg, OkSavesTheRecordEvenWhenNothingChanged) {
    test::TempSettingsFile file;
    Settings settings(file.path());
    ASSERT_FALSE(std::filesystem::exists(file.path()));

    bool scriptRan = false;
    const INT_PTR result = showWith(settings, [&](HWND dialog) {
        scriptRan = true;
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_LEVEL, CB_GETCOUNT, 0, 0), 4);
        EXPECT_EQ(levelItem(dialog, 0), L"Low");
        EXPECT_EQ(levelItem(dialog, 1), L"Medium");
        EXPECT_EQ(levelItem(dialog, 2), L"Hard");
        EXPECT_EQ(levelItem(dialog, 3), L"Master");
        EXPECT_EQ(selectedLevel(dialog), 3);
        EXPECT_TRUE(checked(dialog, IDC_MOVES));
        EXPECT_TRUE(checked(dialog, IDC_BESTMOVES));
        EXPECT_TRUE(checked(dialog, IDC_SOUNDS));
        EXPECT_TRUE(enabled(dialog, IDC_SOUNDS));
        EXPECT_TRUE(checked(dialog, IDC_SHOWTECH));
        click(dialog, IDOK);
    });

    EXPECT_TRUE(scriptRan);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(fileText(file.path()), "Level=3\r\nAnimate=1\r\nAnimateBest=1\r\nSound=1\r\n"
                                     "ShowTech=1\r\nColor0=2631720\r\nColor1=16777215\r\n"
                                     "Color2=0\r\nColor3=51200\r\nColor4=237\r\nColor5=45568\r\n"
                                     "Color6=11665408\r\nColor7=52685\r\n");
}

TEST(PrefDlg, CancelLeavesTheRecordAndTheFileAlone) {
    test::TempSettingsFile file;
    Settings settings(file.path());
    settings.level = 1;

    const INT_PTR result = showWith(settings, [](HWND dialog) {
        EXPECT_EQ(selectedLevel(dialog), 1);
        SendDlgItemMessageW(dialog, IDC_LEVEL, CB_SETCURSEL, 0, 0);
        click(dialog, IDC_MOVES);
        click(dialog, IDC_BESTMOVES);
        click(dialog, IDC_SHOWTECH);
        click(dialog, IDCANCEL);
    });

    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(settings.level, 1);
    EXPECT_EQ(settings.animate, 1);
    EXPECT_EQ(settings.animateBest, 1);
    EXPECT_EQ(settings.showTech, 1);
    EXPECT_FALSE(std::filesystem::exists(file.path()));
}

TEST(PrefDlg, ClearingMovesDisablesUseSoundsButKeepsItsMark) {
    test::TempSettingsFile file;
    Settings settings(file.path());

    const INT_PTR result = showWith(settings, [](HWND dialog) {
        click(dialog, IDC_MOVES);
        EXPECT_FALSE(checked(dialog, IDC_MOVES));
        EXPECT_FALSE(enabled(dialog, IDC_SOUNDS));
        EXPECT_TRUE(checked(dialog, IDC_SOUNDS));
        SendDlgItemMessageW(dialog, IDC_LEVEL, CB_SETCURSEL, 0, 0);
        click(dialog, IDC_SHOWTECH);
        click(dialog, IDOK);
    });

    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(settings.animate, 0);
    EXPECT_EQ(settings.sound, 1);
    EXPECT_EQ(settings.level, 0);
    EXPECT_EQ(settings.showTech, 0);
    Settings reloaded(file.path());
    EXPECT_EQ(reloaded.animate, 0);
    EXPECT_EQ(reloaded.sound, 1);
    EXPECT_EQ(reloaded.level, 0);

    // Opened again with Moves clear, Use Sounds starts disabled until Moves is checked.
    showWith(settings, [](HWND dialog) {
        EXPECT_FALSE(enabled(dialog, IDC_SOUNDS));
        click(dialog, IDC_MOVES);
        EXPECT_TRUE(enabled(dialog, IDC_SOUNDS));
        click(dialog, IDCANCEL);
    });
}

TEST(PrefDlg, LevelOutsideTheListShowsAndStoresAValidLevel) {
    test::TempSettingsFile file;
    Settings settings(file.path());
    settings.level = 9;

    showWith(settings, [](HWND dialog) {
        EXPECT_EQ(selectedLevel(dialog), validLevel(9));
        click(dialog, IDOK);
    });

    EXPECT_EQ(settings.level, validLevel(9));
    EXPECT_GE(settings.level, 0);
    EXPECT_LE(settings.level, 3);
}

} // namespace
} // namespace pebbo
