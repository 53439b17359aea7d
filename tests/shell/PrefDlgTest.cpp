#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/PrefDlg.h"
#include "resources/resource.h"
#include "tests/shell/ShellTestSupport.h"

namespace pebbo {
namespace {

// The dialog is modal: the script runs from a timer inside its loop, once this
// thread shows the Preferences dialog.
std::function<void(HWND)> script;

void CALLBACK runScript(HWND, UINT, UINT_PTR, DWORD) {
    const HWND dialog = FindWindowW(L"#32770", L"Preferences");
    if (script && dialog && GetWindowThreadProcessId(dialog, nullptr) == GetCurrentThreadId())
        std::exchange(script, nullptr)(dialog);
}

constexpr char kDefaults[] = "Level=3\r\nAnimate=1\r\nAnimateBest=1\r\nSound=1\r\nShowTech=1\r\n";
constexpr char kMovesOff[] = "Level=0\r\nAnimate=0\r\nAnimateBest=1\r\nSound=1\r\nShowTech=1\r\n";
constexpr char kDefaultColors[] =
    "Color0=2631720\r\nColor1=16777215\r\nColor2=0\r\nColor3=51200\r\n"
    "Color4=237\r\nColor5=45568\r\nColor6=11665408\r\nColor7=52685\r\n";

TEST(PrefDlg, ShowsTheRecordAndSavesItOnOkOnly) {
    struct Case {
        const char* what;
        int32_t level;
        uint8_t animate;
        std::vector<int> clicks; // IDC_LEVEL chooses "Low"; the last one closes the dialog
        const char* saved;       // the file's first five lines afterwards; nullptr: no file
    };
    const Case cases[] = {
        {"OK saves the 13 lines even when nothing changed", 3, 1, {IDOK}, kDefaults},
        {"Cancel changes nothing", 1, 1, {IDC_LEVEL, IDC_MOVES, IDC_SHOWTECH, IDCANCEL}, nullptr},
        {"clearing Moves disables Use Sounds", 3, 1, {IDC_LEVEL, IDC_MOVES, IDOK}, kMovesOff},
        {"opened with Moves clear, Use Sounds waits for Moves", 3, 0, {IDC_MOVES, IDOK}, kDefaults},
        {"a level outside the list shows and saves the level played", 9, 1, {IDOK}, kDefaults},
    };
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("pebbo-prefdlg-" + std::to_string(GetCurrentProcessId()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(file);
        Settings settings(file);
        settings.level = c.level;
        settings.animate = c.animate;
        const std::string before = settings.format();
        script = [&](HWND dialog) {
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_LEVEL, CB_GETCURSEL, 0, 0),
                      validLevel(c.level));
            for (int id : c.clicks) {
                // Use Sounds keeps its mark and takes input only while Moves is checked.
                EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SOUNDS), BST_CHECKED);
                EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, IDC_SOUNDS)) != 0,
                          IsDlgButtonChecked(dialog, IDC_MOVES) == BST_CHECKED);
                SendDlgItemMessageW(dialog, id, id == IDC_LEVEL ? CB_SETCURSEL : BM_CLICK, 0, 0);
            }
        };
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, runScript);
        EXPECT_EQ(PrefDlg(settings).show(GetModuleHandleW(nullptr), nullptr), c.clicks.back());
        KillTimer(nullptr, timer);
        EXPECT_FALSE(script) << "the script never ran";
        // The record holds what the file holds, or what it held before.
        EXPECT_EQ(test::fileText(file), c.saved ? std::string(c.saved) + kDefaultColors : "");
        EXPECT_EQ(settings.format(), c.saved ? test::fileText(file) : before);
    }
    std::filesystem::remove(file);
}

} // namespace
} // namespace pebbo
