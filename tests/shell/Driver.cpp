// Plays the real PebboPlay.exe with real input and reads the screen back:
//   pebbo_shell_driver play PEBBOPLAY.EXE SCREENSHOT.PPM
//   pebbo_shell_driver soak PEBBOPLAY.EXE     (for PEBBO_SOAK_SECONDS, 30 by default)
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <ranges>

#include "app/ClientSize.h"
#include "app/MainWnd.h"
#include "resources/resource.h"
#include "tests/shell/ShellTestSupport.h"

namespace pebbo::driver {
namespace {

using namespace std::chrono_literals;
using test::pumpUntil;

// Quick games: the weakest level, no animation. Counts in black (Color0), the
// colour they have before their first move, so equal counts look exactly alike.
constexpr char kPlaySettings[] =
    "Level=0\r\nAnimate=0\r\nAnimateBest=0\r\nSound=0\r\nShowTech=1\r\n"
    "Color0=0\r\nColor1=16777215\r\nColor2=0\r\nColor3=51200\r\n"
    "Color4=237\r\nColor5=45568\r\nColor6=11665408\r\nColor7=52685\r\n";
constexpr COLORREF kBestMoveColor = 52685;

int failures = 0;

bool expect(bool condition, const char* what) {
    std::printf("%s: %s\n", condition ? "ok  " : "FAIL", what);
    std::fflush(stdout);
    failures += condition ? 0 : 1;
    return condition;
}

// Real input, as the hardware sends it, to the foreground window.
void key(WORD virtualKey, bool up) {
    keybd_event(static_cast<BYTE>(virtualKey),
                static_cast<BYTE>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)),
                up ? KEYEVENTF_KEYUP : 0, 0);
}

void pressKey(WORD virtualKey) {
    key(virtualKey, false);
    key(virtualKey, true);
    Sleep(30);
}

// Quick hands often let go of the modifier before the key. Both are held a moment, as
// hands do: under Wine, a Ctrl let go at once may not count for the key pressed with it.
void pressWith(WORD modifier, WORD virtualKey, bool modifierReleasedFirst = false) {
    key(modifier, false);
    key(virtualKey, false);
    Sleep(100);
    key(modifierReleasedFirst ? modifier : virtualKey, true);
    key(modifierReleasedFirst ? virtualKey : modifier, true);
    Sleep(30);
}

void mouse(DWORD flags, POINT at = {}) {
    mouse_event(flags, static_cast<DWORD>(MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1)),
                static_cast<DWORD>(MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1)), 0, 0);
    Sleep(30);
}

POINT centreOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Moves to the centre of `window` first, as a real mouse does, then clicks. Under Wine the first
// move of a session may be dropped, and a click now and then goes astray: only a move that did
// not arrive, or a press the window never saw (as `pressed` tells), is sent again.
void click(HWND window, const std::function<bool()>& pressed = {}) {
    const POINT target = centreOf(window);
    const auto pointerThere = [&] {
        POINT cursor{};
        GetCursorPos(&cursor);
        return std::abs(cursor.x - target.x) <= 1 && std::abs(cursor.y - target.y) <= 1;
    };
    for (int move = 0; move < 3 && (move == 0 || !pointerThere()); ++move) {
        std::fputs(move > 0 ? "note: a pointer move was sent again\n" : "", stdout);
        mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, target);
    }
    bool seen = false;
    for (int press = 0; press < 3 && !seen && IsWindow(window) && pointerThere(); ++press) {
        std::fputs(press > 0 ? "note: a press the window never saw was sent again\n" : "", stdout);
        mouse(MOUSEEVENTF_LEFTDOWN);
        seen = !pressed || pumpUntil(pressed, 1s);
        mouse(MOUSEEVENTF_LEFTUP);
    }
}

void clickOk(HWND dialog) {
    HWND ok = GetDlgItem(dialog, IDOK);
    click(ok, [&] { return (SendMessageW(ok, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; });
}

// A path the build gives in Unix form, as Wine's drive Z: shows it.
std::filesystem::path windowsPath(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path.starts_with(L'\\') ? L"Z:" + path : path;
}

std::filesystem::path appDataFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH]{};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, folder);
    return std::filesystem::path(folder) / name;
}

std::filesystem::path settingsFile() {
    return appDataFile(L"PebboSettings.txt");
}

// Exactly one finished game, at the weakest level, with a margin that fits its outcome.
bool recordsOneLowGame() {
    const std::string text = test::fileText(appDataFile(L"PebboResults.txt"));
    int won = 0, lost = 0, drawn = 0, margin = 0;
    const bool read =
        std::sscanf(text.c_str(), "Level0=%d,%d,%d,%d\r\n", &won, &lost, &drawn, &margin) == 4;
    const bool fits = won ? margin > 0 : lost ? margin < 0 : margin == 0;
    return read && won + lost + drawn == 1 && fits &&
           text.ends_with("Level1=0,0,0,0\r\nLevel2=0,0,0,0\r\nLevel3=0,0,0,0\r\n");
}

bool menuOpen() {
    return IsWindowVisible(FindWindowW(L"#32768", nullptr)) != FALSE;
}

class Session {
public:
    explicit Session(const std::wstring& exe) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        CreateProcessW(nullptr, (L"\"" + windowsPath(exe).wstring() + L"\"").data(), nullptr,
                       nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
        pumpUntil([&] { return IsWindowVisible(main = FindWindowW(nullptr, MainWnd::kTitle)); },
                  30s);
        board = FindWindowExW(FindWindowExW(main, nullptr, L"#32770", nullptr), nullptr,
                              L"FieldClass", nullptr);
        foreground();
    }
    ~Session() {
        TerminateProcess(process.hProcess, 1); // refused when it has ended already
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Exit code 0 once the process ended; a running one reports STILL_ACTIVE.
    bool exitsWithZero(std::chrono::milliseconds timeout) const {
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeout.count()));
        return GetExitCodeProcess(process.hProcess, &code) && code == 0;
    }
    Pixels look(RECT rect) const {
        MapWindowPoints(board, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return test::capture(nullptr, rect);
    }
    Pixels pit(int i) const {
        const HolePlace& p = holeLayout[i];
        return look({p.x, p.y, p.x + p.width, p.y + p.height});
    }
    // Every pit shows the same count, and so does each store: a fresh board.
    bool looksNew() const {
        bool alike = pit(6) == pit(13);
        for (int i = 1; i < 13; ++i)
            alike = alike && (i == 6 || pit(i) == pit(0));
        return alike;
    }
    bool drawn() const {
        const auto at = [&](LONG x, LONG y) { return look({x, y, x + 1, y + 1}).colors[0]; };
        return pumpUntil(
            [&] { return at(30, 15) == kBoardColor && at(90, 170) == kShapeColor && looksNew(); },
            10s);
    }
    void foreground() const {
        SetForegroundWindow(main);
        pumpUntil([&] { return GetForegroundWindow() == main; }, 1s);
    }
    // Lets `act` work dialog `title` once it takes input; false if it does not come or go.
    bool throughDialog(const wchar_t* title, const std::function<void(HWND)>& act) const {
        HWND dialog = nullptr;
        const bool ready = pumpUntil(
            [&] {
                dialog = FindWindowW(L"#32770", title);
                HWND ok = GetDlgItem(dialog, IDOK);
                return dialog != nullptr && GetWindow(dialog, GW_OWNER) == main &&
                       GetForegroundWindow() == dialog && WindowFromPoint(centreOf(ok)) == ok;
            },
            5s);
        if (ready)
            act(dialog);
        return ready && pumpUntil([&] { return !IsWindow(dialog); }, 5s);
    }

    HWND main = nullptr;
    HWND board = nullptr;

private:
    PROCESS_INFORMATION process{};
};

int play(const std::wstring& exe, const std::wstring& screenshot) {
    std::ofstream(settingsFile(), std::ios::binary) << kPlaySettings;
    std::filesystem::remove(appDataFile(L"PebboResults.txt"));
    Session game(exe);
    if (!expect(game.drawn(), "PebboPlay starts with its board drawn, every pit alike"))
        return 1;
    RECT client{};
    GetClientRect(game.main, &client);
    expect(client.right == kClientWidth && client.bottom == clientHeight(14),
           "the client area is 608 x 294");
    const auto message = [&] { return game.look(test::kMessageRoom); };
    const Pixels yourTurn = message();
    const auto isYourTurn = [&] { return message() == yourTurn; };
    const auto menu = [&](WORD menuKey, WORD item, const char* opens) {
        game.foreground();
        pressWith(VK_MENU, menuKey);
        if (expect(pumpUntil(menuOpen, 3s), opens))
            pressKey(item);
    };

    // `input` plays `pit` of a fresh board, then the computer answers. Pits 0
    // to 2 sow within the user's row: a change in the other row is the answer.
    const auto plays = [&](const std::function<void()>& input, int pit, const char* what) {
        const Pixels before = game.pit(pit);
        const auto computerRow = [&] { return game.look({0, 0, kBoardWidth, kPitSize + 5}); };
        const Pixels rowBefore = computerRow();
        input();
        expect(pumpUntil([&] { return game.pit(pit) != before; }, 5s), what);
        expect(pumpUntil([&] { return computerRow() != rowBefore && isYourTurn(); }, 15s),
               "the computer answers, then it is the user's turn again");
    };
    plays([&] { click(test::holeWindow(game.board, 2)); }, 2, "a click on a pit plays it");
    // Ctrl+Z takes the move back with its answer, once the answer has ended: the computer's
    // first turn is played at once, unsearched, and may go on after a first change shows.
    // The number pad plays as the digits do.
    const auto settled = [&] {
        const auto board = [&] { return game.look({0, 0, kBoardWidth, kBoardHeight}); };
        const Pixels before = board();
        return !pumpUntil([&] { return board() != before; }, 300ms);
    };
    pumpUntil(settled, 5s);
    pressWith(VK_CONTROL, 'Z');
    expect(pumpUntil([&] { return game.looksNew() && isYourTurn(); }, 5s),
           "Ctrl+Z takes back the move and the answer");
    plays([&] { pressKey(VK_NUMPAD2); }, 1, "a number-pad key plays its pit");
    pumpUntil(settled, 5s);
    pressWith(VK_CONTROL, 'Z');
    expect(pumpUntil([&] { return game.looksNew(); }, 5s), "and again after a number-pad move");
    const auto blinksBest = [&] {
        return std::ranges::any_of(std::views::iota(0, 6), [&](int pit) {
            return std::ranges::count(game.pit(pit).colors, kBestMoveColor) > 0;
        });
    };
    pressKey('H');
    expect(pumpUntil(blinksBest, 5s), "H blinks a best pit in the best-move colour");
    expect(pumpUntil([&] { return !isYourTurn(); }, 5s), "and the status names its outcome");
    menu('G', 'R', "Alt+G opens the Game menu");
    expect(game.throughDialog(L"Results", clickOk),
           "Game > Results... opens Results, OK closes it");
    // Alt+N starts again at once, whichever key is let go first, and the digit
    // keys play right after it: the window is not left half in menu mode.
    for (int pit : {0, 1}) {
        pressWith(VK_MENU, 'N', pit == 1);
        expect(pumpUntil([&] { return game.looksNew(); }, 5s),
               pit == 0 ? "Alt+N starts a new game" : "Alt+N, Alt let go first, starts a new game");
        plays([&] { pressKey(static_cast<WORD>('1' + pit)); }, pit, "a digit key plays its pit");
    }
    for (WORD menuKey : {WORD{VK_DOWN}, WORD{'F'}}) {
        pressKey(VK_MENU);
        pressKey(menuKey);
        expect(pumpUntil(menuOpen, 3s),
               menuKey == 'F' ? "Alt, F opens the File menu" : "Alt then Down opens the File menu");
        pressKey(VK_ESCAPE);
        pressKey(VK_ESCAPE);
        pumpUntil([] { return !menuOpen(); }, 3s);
    }

    std::filesystem::remove(settingsFile());
    menu('F', 'S', "Alt+F opens the File menu");
    expect(game.throughDialog(L"Preferences", clickOk),
           "File > Settings... opens Preferences, OK closes it");
    expect(test::fileText(settingsFile()) == kPlaySettings,
           "OK wrote the 13 lines to the roaming AppData");
    game.foreground();
    pressWith(VK_MENU, VK_OEM_2);
    expect(game.throughDialog(L"About Pebbo",
                              [](HWND about) {
                                  pressKey(VK_ESCAPE);
                                  expect(!pumpUntil([&] { return !IsWindow(about); }, 1s),
                                         "Escape leaves the About box open");
                                  clickOk(about);
                              }),
           "Alt+/ opens the About box, OK closes it");

    // Keys until the game is over: the status then stays off "Your Turn". A key
    // for an empty pit does nothing, the next one plays.
    game.foreground();
    bool over = false;
    for (int move = 0; move < 300 && !over; ++move) {
        pressKey(static_cast<WORD>('1' + move % 6));
        over = !pumpUntil(isYourTurn, 2s);
        if (move == 4 && !over) { // the README's picture, a binary PPM: a game under way
            RECT window{};
            GetWindowRect(game.main, &window);
            const Pixels picture = test::capture(nullptr, window);
            std::ofstream out(windowsPath(screenshot), std::ios::binary);
            out << "P6\n" << picture.width << " " << picture.height << "\n255\n";
            for (COLORREF c : picture.colors) {
                out << static_cast<char>(GetRValue(c)) << static_cast<char>(GetGValue(c))
                    << static_cast<char>(GetBValue(c));
            }
            expect(static_cast<bool>(out), "screenshot written");
        }
    }
    expect(over, "a whole game is played to its end");
    expect(pumpUntil(recordsOneLowGame, 5s), "PebboResults.txt records the game at its level");
    // Alt+T only clears First Turn You; the next new game opens with the computer's move.
    const Pixels gameOver = message();
    pressWith(VK_MENU, 'T');
    expect(!pumpUntil([&] { return message() != gameOver; }, 500ms), "Alt+T leaves the game");
    pressWith(VK_MENU, 'N');
    expect(pumpUntil([&] { return isYourTurn() && !game.looksNew(); }, 10s),
           "then Alt+N starts a game the computer opens");

    menu('F', 'E', "Alt+F opens the File menu");
    expect(game.exitsWithZero(10s), "File > Exit ends PebboPlay with exit code 0");
    return failures;
}

int soak(const std::wstring& exe) {
    const wchar_t* seconds = _wgetenv(L"PEBBO_SOAK_SECONDS");
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::seconds(seconds != nullptr ? _wtoi(seconds) : 30);
    std::filesystem::remove(settingsFile()); // the defaults: strongest level, animation, sounds
    Session game(exe);
    std::mt19937 random(20261206);
    const auto pick = [&](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(random);
    };
    // Preferences gets its commands posted: the soak is about the program, not the mouse.
    const auto changePreferences = [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_LEVEL, CB_SETCURSEL, static_cast<WPARAM>(pick(4)), 0);
        const int boxes[] = {IDC_MOVES, IDC_BESTMOVES, IDC_SOUNDS, IDC_SHOWTECH};
        SendDlgItemMessageW(dialog, boxes[pick(4)], BM_CLICK, 0, 0);
        PostMessageW(dialog, WM_COMMAND, pick(2) == 0 ? IDOK : IDCANCEL, 0);
    };
    int actions = 0;
    for (bool healthy = expect(game.drawn(), "PebboPlay starts");
         healthy && std::chrono::steady_clock::now() < end; ++actions) {
        game.foreground();
        const int action = pick(22);
        if (action < 8) {
            pressKey(static_cast<WORD>('1' + pick(6)));
        } else if (action < 12) {
            click(test::holeWindow(game.board, pick(14)));
        } else if (action < 15) {
            pressWith(VK_MENU, action < 14 ? 'N' : 'T');
        } else if (action < 17) {
            PostMessageW(game.main, WM_COMMAND, IDM_SETTINGS, 0);
            healthy = expect(game.throughDialog(L"Preferences", changePreferences),
                             "Preferences opens and closes");
        } else if (action < 20) {
            Sleep(static_cast<DWORD>(pick(800)));
        } else {
            action == 20 ? pressWith(VK_CONTROL, 'Z') : pressKey('H');
        }
        if (!SendMessageTimeoutW(game.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr)) {
            std::printf("after action %d (kind %d): %s\n", actions, action,
                        IsWindow(game.main) ? "no answer within 5 s" : "the process ended");
            healthy = expect(false, "the program stays alive and answers after every action");
        }
    }
    std::printf("%d random actions\n", actions);
    PostMessageW(game.main, WM_COMMAND, IDM_EXIT, 0);
    expect(game.exitsWithZero(15s), "PebboPlay exits with code 0 after the soak");
    return failures;
}

} // namespace
} // namespace pebbo::driver

int wmain(int argc, wchar_t** argv) {
    const std::wstring story = argc > 2 ? argv[1] : L"";
    if ((story == L"play" && argc == 4) || (story == L"soak" && argc == 3)) {
        using namespace pebbo::driver;
        return (story == L"play" ? play(argv[2], argv[3]) : soak(argv[2])) == 0 ? 0 : 1;
    }
    std::fputs("usage: pebbo_shell_driver play EXE SCREENSHOT | soak EXE\n", stderr);
    return 2;
}
