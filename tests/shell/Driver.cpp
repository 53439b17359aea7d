// Plays the real PebboPlay.exe with real input and reads the screen back:
//   pebbo_shell_driver play PEBBOPLAY.EXE SCREENSHOT.PPM
//   pebbo_shell_driver soak PEBBOPLAY.EXE     (for PEBBO_SOAK_SECONDS, 30 by default)
#include <windows.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/MainWnd.h"
#include "resources/resource.h"
#include "tests/shell/DriverInput.h"
#include "tests/shell/ShellTestSupport.h"

namespace pebbo::driver {
namespace {

using namespace std::chrono_literals;
using test::fileText;
using test::Pixels;
using test::pumpUntil;

// Quick games: the weakest level, no animation. Counts in black (Color0), the
// colour they have before their first move, so equal counts look exactly alike.
constexpr char kPlaySettings[] = "Level=0\r\nAnimate=0\r\nAnimateBest=0\r\nSound=0\r\n"
                                 "ShowTech=1\r\nColor0=0\r\nColor1=16777215\r\n"
                                 "Color2=0\r\nColor3=51200\r\nColor4=237\r\nColor5=45568\r\n"
                                 "Color6=11665408\r\nColor7=52685\r\n";

int failures = 0;

bool expect(bool condition, const char* what) {
    std::printf("%s: %s\n", condition ? "ok  " : "FAIL", what);
    std::fflush(stdout);
    failures += condition ? 0 : 1;
    return condition;
}

// A path the build gives in Unix form, as Wine's drive Z: shows it.
std::wstring windowsPath(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path.starts_with(L'\\') ? L"Z:" + path : path;
}

// A binary PPM, the simplest picture file every converter reads.
bool writePicture(const Pixels& pixels, int width, const std::wstring& file) {
    std::ofstream out(std::filesystem::path(windowsPath(file)), std::ios::binary);
    out << "P6\n" << width << " " << pixels.size() / width << "\n255\n";
    for (COLORREF c : pixels) {
        out << static_cast<char>(GetRValue(c)) << static_cast<char>(GetGValue(c))
            << static_cast<char>(GetBValue(c));
    }
    return static_cast<bool>(out);
}

// Where the program keeps its settings: the user's roaming AppData.
std::filesystem::path settingsFile() {
    wchar_t folder[MAX_PATH]{};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, folder);
    return std::filesystem::path(folder) / L"PebboSettings.txt";
}

bool processRunning(const wchar_t* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry)) {
        found = _wcsicmp(entry.szExeFile, exeName) == 0;
    }
    CloseHandle(snapshot);
    return found;
}

bool menuOpen() {
    HWND popup = FindWindowW(L"#32768", nullptr);
    return popup != nullptr && IsWindowVisible(popup);
}

POINT centreOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// One running PebboPlay.exe and the windows the driver looks at.
class Session {
public:
    explicit Session(const std::wstring& exe) {
        std::wstring commandLine = L"\"" + windowsPath(exe) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process);
        pumpUntil([&] { return IsWindowVisible(main = FindWindowW(nullptr, MainWnd::kTitle)); },
                  30s);
        board = FindWindowExW(FindWindowExW(main, nullptr, L"#32770", nullptr), nullptr,
                              L"FieldClass", nullptr);
        foreground();
        // Drawn once the board has its colour and the pits are white and alike.
        drawn = pumpUntil(
            [&] {
                return look({30, 15, 31, 16})[0] == kBoardColor &&
                       look({90, 170, 91, 171})[0] == kShapeColor && looksNew();
            },
            10s);
    }
    ~Session() {
        if (alive()) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool alive() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }
    bool responsive() const {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
    }
    // The exit code, or -1 when the process did not end within `timeout`.
    long waitForExit(std::chrono::milliseconds timeout) const {
        DWORD code = 0;
        const DWORD ended =
            WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeout.count()));
        return ended == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code)
                   ? static_cast<long>(code)
                   : -1;
    }

    // What the screen shows of `rect` of the board.
    Pixels look(RECT rect) const {
        MapWindowPoints(board, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return test::capture(nullptr, rect);
    }
    Pixels pit(int i) const {
        const HolePlace& p = holeLayout[i];
        return look({p.x, p.y, p.x + p.width, p.y + p.height});
    }
    Pixels message() const { return look(test::kMessageRoom); }
    POINT pitCentre(int i) const {
        POINT centre{holeLayout[i].x + holeLayout[i].width / 2,
                     holeLayout[i].y + holeLayout[i].height / 2};
        ClientToScreen(board, &centre);
        return centre;
    }
    // Every pit shows the same count, and so does each store: a fresh board.
    bool looksNew() const {
        bool alike = pit(6) == pit(13);
        for (int i = 1; i < 13; ++i) {
            alike = alike && (i == 6 || pit(i) == pit(0));
        }
        return alike;
    }
    void foreground() const {
        SetForegroundWindow(main);
        pumpUntil([&] { return GetForegroundWindow() == main; }, 1s);
    }
    // The program's dialog `title` once it takes input, or null.
    HWND dialog(const wchar_t* title) const {
        HWND found = nullptr;
        pumpUntil(
            [&] {
                found = FindWindowW(L"#32770", title);
                HWND ok = GetDlgItem(found, IDOK);
                return found != nullptr && GetWindow(found, GW_OWNER) == main &&
                       IsWindowVisible(found) && IsWindowEnabled(found) &&
                       GetForegroundWindow() == found && WindowFromPoint(centreOf(ok)) == ok;
            },
            5s);
        return found;
    }

    HWND main = nullptr;
    HWND board = nullptr;
    bool drawn = false;

private:
    PROCESS_INFORMATION process{};
};

// Clicks OK of a dialog ready for input; true once the dialog is gone. Under
// Wine a click now and then goes astray: pressing again covers only a press the
// button never saw; once it went down, the release must close the dialog.
bool clickOk(HWND dialog) {
    HWND button = GetDlgItem(dialog, IDOK);
    bool pressed = false;
    for (int attempt = 0; attempt < 3 && !pressed && IsWindow(dialog) && moveTo(centreOf(button));
         ++attempt) {
        send({mouseInput(MOUSEEVENTF_LEFTDOWN)});
        pressed = pumpUntil(
            [&] { return (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }, 1s);
        send({mouseInput(MOUSEEVENTF_LEFTUP)});
        if (!pressed) {
            std::printf("note: OK did not see the press\n");
        }
    }
    return pumpUntil([&] { return !IsWindow(dialog); }, 5s);
}

// Opens the File menu with Alt+F and picks the item its text starts with.
void chooseFromFileMenu(Session& game, WORD initial) {
    game.foreground();
    pressWithAlt('F');
    if (expect(pumpUntil(menuOpen, 3s), "Alt+F opens the File menu")) {
        pressKey(initial);
    }
}

int play(const std::wstring& exe, const std::wstring& screenshot) {
    std::ofstream(settingsFile(), std::ios::binary) << kPlaySettings;
    Session game(exe);
    if (!expect(game.drawn, "PebboPlay starts with its board drawn, every pit alike")) {
        return 1;
    }
    RECT client{};
    GetClientRect(game.main, &client);
    expect(client.right == test::kClientWidth && client.bottom == test::kClientHeight,
           "the client area is 608 x 294");
    expect((GetWindowLongW(game.main, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0,
           "a fixed frame, no maximise");
    const Pixels yourTurn = game.message();
    const auto isYourTurn = [&] { return game.message() == yourTurn; };

    // `input` plays `pit` of a fresh board, then the computer answers. Pits 0
    // to 2 sow within the user's row: a change in the other row is the answer.
    const auto computerRow = [&] {
        std::vector<Pixels> row;
        for (int i = 7; i < 13; ++i) {
            row.push_back(game.pit(i));
        }
        return row;
    };
    const auto plays = [&](const std::function<void()>& input, int pit, const char* what) {
        const Pixels before = game.pit(pit);
        const auto rowBefore = computerRow();
        input();
        expect(pumpUntil([&] { return game.pit(pit) != before; }, 5s), what);
        expect(pumpUntil([&] { return computerRow() != rowBefore && isYourTurn(); }, 15s),
               "the computer answers, then it is the user's turn again");
    };
    plays([&] { clickAt(game.pitCentre(2)); }, 2, "a click on a pit plays it");
    // Alt+N starts again at once, whichever key is let go first, and the digit
    // keys play right after it: the window is not left half in menu mode.
    for (int pit : {0, 1}) {
        pressWithAlt('N', pit == 1);
        expect(pumpUntil([&] { return game.looksNew(); }, 5s),
               pit == 0 ? "Alt+N starts a new game" : "Alt+N, Alt let go first, starts a new game");
        plays([&] { pressKey(static_cast<WORD>('1' + pit)); }, pit, "a digit key plays its pit");
    }
    for (WORD key : {WORD{VK_DOWN}, WORD{'F'}}) {
        tapAlt();
        pressKey(key);
        expect(pumpUntil(menuOpen, 3s),
               key == 'F' ? "Alt, F opens the File menu" : "Alt then Down opens the File menu");
        pressKey(VK_ESCAPE);
        pressKey(VK_ESCAPE);
        pumpUntil([] { return !menuOpen(); }, 3s);
    }

    std::filesystem::remove(settingsFile());
    chooseFromFileMenu(game, 'S');
    HWND preferences = game.dialog(L"Preferences");
    expect(preferences && clickOk(preferences),
           "File > Settings... opens Preferences, OK closes it");
    expect(fileText(settingsFile()) == kPlaySettings,
           "OK wrote the 13 lines to the roaming AppData");

    game.foreground();
    pressWithAlt(VK_OEM_2);
    HWND about = game.dialog(L"About Pebbo");
    expect(about != nullptr, "Alt+/ opens the About box");
    pressKey(VK_ESCAPE);
    expect(!pumpUntil([&] { return !IsWindow(about); }, 1s), "Escape leaves the About box open");
    expect(about && clickOk(about), "OK closes the About box");

    // Keys until the game is over: the status then stays off "Your Turn". A key
    // for an empty pit does nothing, the next one plays.
    game.foreground();
    bool over = false;
    for (int move = 0; move < 300 && !over; ++move) {
        pressKey(static_cast<WORD>('1' + move % 6));
        over = !pumpUntil(isYourTurn, 2s);
        if (move == 4 && !over) { // the README's picture: a game under way, with statistics
            RECT window{};
            GetWindowRect(game.main, &window);
            expect(writePicture(test::capture(nullptr, window), window.right - window.left,
                                screenshot),
                   "screenshot written");
        }
    }
    expect(over, "a whole game is played to its end");
    // Alt+T only clears First Turn You; the next new game opens with the computer's move.
    const Pixels gameOver = game.message();
    pressWithAlt('T');
    expect(!pumpUntil([&] { return game.message() != gameOver; }, 500ms), "Alt+T leaves the game");
    pressWithAlt('N');
    expect(pumpUntil([&] { return isYourTurn() && !game.looksNew(); }, 10s),
           "then Alt+N starts a game the computer opens");

    chooseFromFileMenu(game, 'E');
    expect(game.waitForExit(10s) == 0, "File > Exit ends PebboPlay with exit code 0");
    expect(!processRunning(L"PebboPlay.exe"), "no PebboPlay process is left");
    return failures == 0 ? 0 : 1;
}

int soak(const std::wstring& exe) {
    const wchar_t* seconds = _wgetenv(L"PEBBO_SOAK_SECONDS");
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::seconds(seconds != nullptr ? _wtoi(seconds) : 30);
    std::filesystem::remove(settingsFile()); // the defaults: strongest level, animation, sounds
    Session game(exe);
    if (!expect(game.drawn, "PebboPlay starts")) {
        return 1;
    }
    std::mt19937 random(20261206);
    const auto pick = [&](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(random);
    };
    // Preferences gets its commands posted: the soak is about the program, not the mouse.
    const auto changePreferences = [&] {
        PostMessageW(game.main, WM_COMMAND, IDM_SETTINGS, 0);
        HWND dialog = nullptr;
        pumpUntil([&] { return (dialog = FindWindowW(L"#32770", L"Preferences")) != nullptr; }, 5s);
        SendDlgItemMessageW(dialog, IDC_LEVEL, CB_SETCURSEL, static_cast<WPARAM>(pick(4)), 0);
        const int boxes[] = {IDC_MOVES, IDC_BESTMOVES, IDC_SOUNDS, IDC_SHOWTECH};
        SendDlgItemMessageW(dialog, boxes[pick(4)], BM_CLICK, 0, 0);
        PostMessageW(dialog, WM_COMMAND, pick(2) == 0 ? IDOK : IDCANCEL, 0);
        return expect(dialog && pumpUntil([&] { return !IsWindow(dialog); }, 5s),
                      "Preferences opens and closes");
    };
    int actions = 0;
    for (bool healthy = true; healthy && std::chrono::steady_clock::now() < end; ++actions) {
        game.foreground();
        const int action = pick(20);
        if (action < 8) {
            pressKey(static_cast<WORD>('1' + pick(6)));
        } else if (action < 12) {
            clickAt(game.pitCentre(pick(14)));
        } else if (action < 15) {
            pressWithAlt(action < 14 ? 'N' : 'T');
        } else if (action < 17) {
            healthy = changePreferences();
        } else {
            Sleep(static_cast<DWORD>(pick(800)));
        }
        if (!game.alive() || !game.responsive()) {
            std::printf("after action %d (kind %d): %s\n", actions, action,
                        game.alive() ? "no answer within 5 s" : "the process ended");
            healthy = expect(false, "the program stays alive and answers after every action");
        }
    }
    std::printf("%d random actions\n", actions);
    PostMessageW(game.main, WM_COMMAND, IDM_EXIT, 0);
    expect(game.waitForExit(15s) == 0, "PebboPlay exits with code 0 after the soak");
    return failures == 0 ? 0 : 1;
}

} // namespace
} // namespace pebbo::driver

int wmain(int argc, wchar_t** argv) {
    const std::wstring story = argc > 2 ? argv[1] : L"";
    if (story == L"play" && argc == 4) {
        return pebbo::driver::play(argv[2], argv[3]);
    }
    if (story == L"soak" && argc == 3) {
        return pebbo::driver::soak(argv[2]);
    }
    std::fputs("usage: pebbo_shell_driver play EXE SCREENSHOT | soak EXE\n", stderr);
    return 2;
}
