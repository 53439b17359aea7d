#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/PrefDlg.h"
#include "app/Settings.h"
#include "resources/resource.h"
#include "tests/shell/ShellTestSupport.h"

namespace pebbo {
namespace {

// The dialog is modal: the script runs from a timer inside its loop, once the
// thread has a window titled "Preferences".
std::function<void(HWND)> script;

void CALLBACK runScript(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t title[16]{};
            GetWindowTextW(window, title, 16);
            if (script && std::wstring(title) == L"Preferences") {
                std::exchange(script, nullptr)(window);
            }
            return TRUE;
        },
        0);
}

constexpr char kDefaults[] = "Level=3\r\nAnimate=1\r\nAnimateBest=1\r\nSound=1\r\nShowTech=1\r\n";
constexpr char kDefaultColors[] =
    "Color0=2631720\r\nColor1=16777215\r\nColor2=0\r\nColor3=51200\r\n"
    "Color4=237\r\nColor5=45568\r\nColor6=11665408\r\nColor7=52685\r\n";

TEST(PrefDlg, ShowsTheRecordAndSavesItOnOkOnly) {
    struct Case {
        const char* what;
        int32_t level;
        uint8_t animate;
        int newLevel; // chosen in the list first, unless -1
        std::vector<int> clicks;
        INT_PTR result;
        const char* saved; // the file's first five lines afterwards; nullptr: no file
    };
    const Case cases[] = {
        {"OK saves the thirteen lines even when nothing changed",
         3,
         1,
         -1,
         {IDOK},
         IDOK,
         kDefaults},
        {"Cancel changes nothing",
         1,
         1,
         0,
         {IDC_MOVES, IDC_BESTMOVES, IDC_SHOWTECH, IDCANCEL},
         IDCANCEL,
         nullptr},
        {"clearing Moves disables Use Sounds but keeps its mark",
         3,
         1,
         0,
         {IDC_MOVES, IDC_SHOWTECH, IDOK},
         IDOK,
         "Level=0\r\nAnimate=0\r\nAnimateBest=1\r\nSound=1\r\nShowTech=0\r\n"},
        {"opened with Moves clear, Use Sounds waits for Moves",
         3,
         0,
         -1,
         {IDC_MOVES, IDOK},
         IDOK,
         kDefaults},
        {"a level outside the list shows and stores the level played",
         9,
         1,
         -1,
         {IDOK},
         IDOK,
         kDefaults},
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
            const auto toLevels = [&](UINT message, WPARAM index = 0, wchar_t* text = nullptr) {
                return SendDlgItemMessageW(dialog, IDC_LEVEL, message, index,
                                           reinterpret_cast<LPARAM>(text));
            };
            const wchar_t* names[] = {L"Low", L"Medium", L"Hard", L"Master"};
            EXPECT_EQ(toLevels(CB_GETCOUNT), 4);
            for (WPARAM i = 0; i < 4; ++i) {
                wchar_t name[16]{};
                toLevels(CB_GETLBTEXT, i, name);
                EXPECT_EQ(std::wstring(name), names[i]);
            }
            EXPECT_EQ(toLevels(CB_GETCURSEL), validLevel(c.level));
            if (c.newLevel >= 0) {
                toLevels(CB_SETCURSEL, static_cast<WPARAM>(c.newLevel));
            }
            for (int id : c.clicks) {
                // Use Sounds keeps its mark and takes input only while Moves is checked.
                EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SOUNDS), BST_CHECKED);
                EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, IDC_SOUNDS)) != 0,
                          IsDlgButtonChecked(dialog, IDC_MOVES) == BST_CHECKED);
                SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
            }
        };
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, runScript);
        EXPECT_EQ(PrefDlg(settings).show(GetModuleHandleW(nullptr), nullptr), c.result);
        KillTimer(nullptr, timer);
        EXPECT_FALSE(script) << "the script never ran";
        if (c.saved == nullptr) {
            EXPECT_FALSE(std::filesystem::exists(file));
            EXPECT_EQ(settings.format(), before);
        } else {
            EXPECT_EQ(test::fileText(file), std::string(c.saved) + kDefaultColors);
            EXPECT_EQ(settings.format(), test::fileText(file)) << "the record holds what was saved";
        }
    }
    std::filesystem::remove(file);
}

} // namespace
} // namespace pebbo
