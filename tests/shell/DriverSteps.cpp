#include "tests/shell/DriverSteps.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "view/BoardLayout.h"

namespace pebbo::driver {

using namespace std::chrono_literals;

namespace {

constexpr COLORREF kBoardColor = RGB(128, 128, 64);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kExit = 40001;
constexpr int kSettings = 40004;
// Ids of the Preferences controls.
constexpr std::array<int, 4> kPreferenceBoxes{1010, 1011, 1012, 1019};
constexpr int kLevelList = 1006;

constexpr char kPlaySettings[] = "Level=0\r\nAnimate=0\r\nAnimateBest=0\r\nSound=0\r\n"
                                 "ShowTech=1\r\nColor0=2631720\r\nColor1=16777215\r\n"
                                 "Color2=0\r\nColor3=51200\r\nColor4=237\r\nColor5=45568\r\n"
                                 "Color6=11665408\r\nColor7=52685\r\n";

std::string readFile(const std::wstring& file) {
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool sameBoard(const std::array<ScreenPixels, 14>& a, const std::array<ScreenPixels, 14>& b) {
    return a == b;
}

// The same picture, give or take the colour of a count: a count keeps black
// until a move first recolours its pit, then takes the near-black Color0.
bool looksAlike(const ScreenPixels& a, const ScreenPixels& b) {
    size_t different = 0;
    for (size_t i = 0; i < a.colors.size() && i < b.colors.size(); ++i) {
        const COLORREF x = a.colors[i];
        const COLORREF y = b.colors[i];
        const int difference =
            std::max({std::abs(GetRValue(x) - GetRValue(y)), std::abs(GetGValue(x) - GetGValue(y)),
                      std::abs(GetBValue(x) - GetBValue(y))});
        different += difference > 60 ? 1 : 0;
    }
    return a.colors.size() == b.colors.size() && different * 100 < a.colors.size();
}

// Every pit shows the same count, and so does each store: a fresh board.
bool looksNew(const std::array<ScreenPixels, 14>& pits) {
    for (int i = 1; i < 13; ++i) {
        if (i != 6 && !looksAlike(pits[i], pits[0])) {
            return false;
        }
    }
    return looksAlike(pits[6], pits[13]);
}

// A Windows path for a file the build gives as a Unix path.
std::wstring windowsPath(std::wstring path) {
    if (!path.empty() && path.front() == L'/') {
        path = L"Z:" + path;
    }
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

// Clicks a dialog's button until the dialog is gone. Synthesised clicks now and
// then go astray under Wine: it tries again, and says so.
bool clickUntilGone(HWND dialog, int button) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) {
            std::printf("note: clicking button %d again\n", button);
        }
        clickAt(centreOf(screenRect(GetDlgItem(dialog, button))));
        if (waitFor([&] { return !IsWindow(dialog); }, 2s)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool Checks::expect(bool condition, const char* what) {
    std::printf("%s: %s\n", condition ? "ok  " : "FAIL", what);
    std::fflush(stdout);
    if (!condition) {
        ++failed;
    }
    return condition;
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

Session::Session(const std::wstring& exe) {
    std::wstring commandLine = L"\"" + windowsPath(exe) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return;
    }
    waitFor(
        [&] {
            mainWindow = FindWindowW(L"PEBBO", L"PebboPlay");
            return mainWindow != nullptr && IsWindowVisible(mainWindow);
        },
        30s);
    if (mainWindow == nullptr) {
        return;
    }
    HWND dialog = FindWindowExW(mainWindow, nullptr, L"#32770", nullptr);
    board = FindWindowExW(dialog, nullptr, L"FieldClass", nullptr);
    foreground();
    // Drawn once the pits are white and the board has its colour.
    waitFor([&] { return boardPixel(30, 15) == kBoardColor && boardPixel(90, 170) == kWhite; },
            10s);
}

Session::~Session() {
    if (process.hProcess != nullptr) {
        if (alive()) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

bool Session::alive() const {
    return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

bool Session::responsive() const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(mainWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

long Session::waitForExit(std::chrono::milliseconds timeout) {
    if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeout.count())) !=
        WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    return static_cast<long>(code);
}

POINT Session::pitCentre(int index) const {
    const RECT boardRect = screenRect(board);
    const HolePlace& place = holeLayout[index];
    return {boardRect.left + place.x + place.width / 2, boardRect.top + place.y + place.height / 2};
}

ScreenPixels Session::pit(int index) const {
    const RECT boardRect = screenRect(board);
    const HolePlace& place = holeLayout[index];
    return captureScreen({boardRect.left + place.x, boardRect.top + place.y,
                          boardRect.left + place.x + place.width,
                          boardRect.top + place.y + place.height});
}

std::array<ScreenPixels, 14> Session::pits() const {
    std::array<ScreenPixels, 14> all;
    for (int i = 0; i < 14; ++i) {
        all[i] = pit(i);
    }
    return all;
}

// Between the rows and the stores only the message line draws.
ScreenPixels Session::message() const {
    const RECT boardRect = screenRect(board);
    return captureScreen(
        {boardRect.left + 60, boardRect.top + 56, boardRect.left + 538, boardRect.top + 144});
}

ScreenPixels Session::window() const {
    return captureScreen(screenRect(mainWindow));
}

COLORREF Session::boardPixel(int x, int y) const {
    const RECT boardRect = screenRect(board);
    return captureScreen({boardRect.left + x, boardRect.top + y, boardRect.left + x + 1,
                          boardRect.top + y + 1})
        .colors.front();
}

void Session::foreground() const {
    SetForegroundWindow(mainWindow);
    std::this_thread::sleep_for(50ms);
}

// Menus belong to the program's process, so their item rectangles cannot be
// asked for from here: the menu bar item is clicked where it stands, at the
// left end of the bar, and the item in the opened popup is picked with the keys.
bool Session::chooseMenu(MenuItem item) const {
    foreground();
    POINT client{0, 0};
    ClientToScreen(mainWindow, &client);
    bool opened = false;
    for (int attempt = 0; attempt < 3 && !opened; ++attempt) {
        if (attempt > 0) {
            std::printf("note: clicking the menu bar again\n");
        }
        clickAt({client.x + 15, client.y - GetSystemMetrics(SM_CYMENU) / 2});
        opened = waitFor(
            [] {
                HWND popup = FindWindowW(L"#32768", nullptr);
                return popup != nullptr && IsWindowVisible(popup);
            },
            2s);
    }
    if (!opened) {
        return false;
    }
    pressKey(item == MenuItem::Settings ? VK_DOWN : VK_UP);
    pressKey(VK_RETURN);
    return true;
}

std::wstring settingsFile() {
    std::array<wchar_t, MAX_PATH> folder{};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, folder.data());
    return std::wstring(folder.data()) + L"\\PebboSettings.txt";
}

HWND findOwnedWindow(HWND owner, const wchar_t* title) {
    HWND found = FindWindowW(L"#32770", title);
    return found != nullptr && GetWindow(found, GW_OWNER) == owner ? found : nullptr;
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

int playStory(const std::wstring& exe, const std::wstring& screenshot) {
    Checks checks;
    const std::wstring settings = settingsFile();
    {
        // Quick games: the weakest level, no animation.
        std::ofstream out(std::filesystem::path(settings), std::ios::binary);
        out << kPlaySettings;
    }
    Session session(exe);
    if (!checks.expect(session.started(), "PebboPlay starts with its window and board")) {
        return 1;
    }
    RECT client{};
    GetClientRect(session.main(), &client);
    checks.expect(client.right == 608 && client.bottom == 294, "client area is 608 x 294");
    const LONG style = GetWindowLongW(session.main(), GWL_STYLE);
    checks.expect((style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0, "fixed frame, no maximise");
    checks.expect(session.boardPixel(30, 15) == kBoardColor, "board in its colour");
    checks.expect(session.boardPixel(90, 170) == kWhite, "white pits");

    const auto startPits = session.pits();
    checks.expect(looksNew(startPits), "every pit starts alike");
    const ScreenPixels yourTurn = session.message();
    checks.expect(yourTurn.colors.end() !=
                      std::find(yourTurn.colors.begin(), yourTurn.colors.end(), kWhite),
                  "a status line is shown");
    bool statusChanged = false;
    const auto waitForYourTurn = [&] {
        return waitFor(
            [&] {
                const bool same = session.message() == yourTurn;
                statusChanged = statusChanged || !same;
                return same;
            },
            15s);
    };

    // Key 1 plays pit 0.
    session.foreground();
    pressKey('1');
    checks.expect(waitFor([&] { return !(session.pit(0) == startPits[0]); }, 5s),
                  "key 1 plays pit 0");
    checks.expect(waitForYourTurn(), "the computer answers and it is the user's turn again");

    // A click on a pit of the bottom row plays it.
    const auto beforeClick = session.pits();
    bool clicked = false;
    for (int i = 5; i >= 0 && !clicked; --i) {
        clickAt(session.pitCentre(i));
        clicked = waitFor([&] { return !sameBoard(session.pits(), beforeClick); }, 1500ms);
    }
    checks.expect(clicked, "a click on a pit plays it");
    checks.expect(waitForYourTurn(), "the user's turn after the click");

    // Alt+N starts again at once, and the digit keys keep working right after it.
    session.foreground();
    pressWithAlt('N');
    checks.expect(waitFor([&] { return looksNew(session.pits()); }, 5s), "Alt+N starts a new game");
    checks.expect(session.responsive(), "still answering after a new game");
    const ScreenPixels newPit1 = session.pit(1);
    pressKey('2');
    checks.expect(waitFor([&] { return !(session.pit(1) == newPit1); }, 5s),
                  "key 2 plays pit 1 right after Alt+N");
    checks.expect(waitForYourTurn(), "the user's turn after key 2");

    // The same with Alt let go before N: the next key must still play, and the
    // window must not be left half in menu mode (see "Alt then Down" below).
    pressWithAltReleasedFirst('N');
    checks.expect(waitFor([&] { return looksNew(session.pits()); }, 5s),
                  "Alt+N, Alt released first, starts a new game");
    const ScreenPixels newPit2 = session.pit(2);
    pressKey('3');
    checks.expect(waitFor([&] { return !(session.pit(2) == newPit2); }, 5s),
                  "key 3 plays pit 2 right after that Alt+N");
    checks.expect(waitForYourTurn(), "the user's turn after key 3");

    // Plain Alt still enters the menu.
    tapAlt();
    pressKey(VK_DOWN);
    checks.expect(waitFor(
                      [] {
                          return FindWindowW(L"#32768", nullptr) != nullptr &&
                                 IsWindowVisible(FindWindowW(L"#32768", nullptr));
                      },
                      3s),
                  "Alt then Down opens the File menu");
    pressKey(VK_ESCAPE);
    pressKey(VK_ESCAPE);
    std::this_thread::sleep_for(200ms);

    tapAlt();
    pressKey('F');
    checks.expect(waitFor(
                      [] {
                          return FindWindowW(L"#32768", nullptr) != nullptr &&
                                 IsWindowVisible(FindWindowW(L"#32768", nullptr));
                      },
                      3s),
                  "Alt, F opens the File menu");
    pressKey(VK_ESCAPE);
    pressKey(VK_ESCAPE);
    std::this_thread::sleep_for(200ms);
    pressWithAlt('F');
    checks.expect(waitFor(
                      [] {
                          return FindWindowW(L"#32768", nullptr) != nullptr &&
                                 IsWindowVisible(FindWindowW(L"#32768", nullptr));
                      },
                      3s),
                  "Alt+F opens the File menu");
    pressKey(VK_ESCAPE);
    pressKey(VK_ESCAPE);
    std::this_thread::sleep_for(200ms);
    // Preferences from the menu, confirmed with OK, writes the settings file.
    DeleteFileW(settings.c_str());
    checks.expect(session.chooseMenu(Session::MenuItem::Settings), "File > Settings... chosen");
    HWND preferences = nullptr;
    checks.expect(waitFor(
                      [&] {
                          preferences = findOwnedWindow(session.main(), L"Preferences");
                          return preferences != nullptr && IsWindowVisible(preferences);
                      },
                      5s),
                  "the Preferences dialog opens");
    if (preferences != nullptr) {
        std::this_thread::sleep_for(300ms);
        checks.expect(clickUntilGone(preferences, IDOK), "OK closes Preferences");
    }
    checks.expect(readFile(settings) == kPlaySettings,
                  "PebboSettings.txt holds the thirteen lines");

    // Alt+/ shows the About box; Escape leaves it open, OK closes it.
    session.foreground();
    pressWithAlt(VK_OEM_2);
    HWND about = nullptr;
    checks.expect(waitFor(
                      [&] {
                          about = findOwnedWindow(session.main(), L"About Pebbo");
                          return about != nullptr && IsWindowVisible(about);
                      },
                      5s),
                  "Alt+/ opens the About box");
    if (about != nullptr) {
        std::this_thread::sleep_for(300ms);
        pressKey(VK_ESCAPE);
        checks.expect(!waitFor([&] { return !IsWindow(about); }, 1s),
                      "Escape does not close the About box");
        checks.expect(clickUntilGone(about, IDOK), "OK closes the About box");
    }

    // Play on with the keys until the game is over: the status then stays off "Your Turn".
    session.foreground();
    bool over = false;
    for (int move = 0; move < 300 && !over; ++move) {
        pressKey(static_cast<WORD>('1' + move % 6));
        std::this_thread::sleep_for(100ms);
        over = !waitFor([&] { return session.message() == yourTurn; }, 2s);
        // The README's picture: a game under way, with the computer's statistics.
        if (move == 4 && !over) {
            checks.expect(writeBitmap(session.window(), windowsPath(screenshot)),
                          "screenshot written");
        }
    }
    checks.expect(over, "a whole game is played to its end");
    statusChanged = statusChanged || !(session.message() == yourTurn);
    checks.expect(statusChanged, "the status line changes during play");

    // File > Exit ends the program with exit code 0 and leaves nothing behind.
    checks.expect(session.chooseMenu(Session::MenuItem::Exit), "File > Exit chosen");
    checks.expect(session.waitForExit(10s) == 0, "PebboPlay exits with code 0");
    checks.expect(!processRunning(L"PebboPlay.exe"), "no PebboPlay process is left");
    return checks.failures() == 0 ? 0 : 1;
}

namespace {

// Opens Preferences, changes a control or two and leaves with OK or Cancel.
// The button's command is posted: a BM_CLICK may be ignored while the dialog
// is not yet active, and the soak is about the program, not the mouse.
bool soakPreferences(const Session& session, const std::function<int(int)>& pick) {
    PostMessageW(session.main(), WM_COMMAND, kSettings, 0);
    HWND preferences = nullptr;
    if (!waitFor(
            [&] {
                preferences = findOwnedWindow(session.main(), L"Preferences");
                return preferences != nullptr;
            },
            5s)) {
        std::printf("Preferences did not open\n");
        return false;
    }
    SendDlgItemMessageW(preferences, kLevelList, CB_SETCURSEL, static_cast<WPARAM>(pick(4)), 0);
    SendDlgItemMessageW(preferences, kPreferenceBoxes[pick(4)], BM_CLICK, 0, 0);
    const int button = pick(2) == 0 ? IDOK : IDCANCEL;
    PostMessageW(preferences, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(preferences, button)));
    if (!waitFor([&] { return !IsWindow(preferences); }, 5s)) {
        std::printf("Preferences did not close\n");
        return false;
    }
    return true;
}

} // namespace

int soakStory(const std::wstring& exe, int seconds) {
    Checks checks;
    // The defaults: the strongest level, animation and sounds on.
    DeleteFileW(settingsFile().c_str());
    Session session(exe);
    if (!checks.expect(session.started(), "PebboPlay starts")) {
        return 1;
    }
    std::mt19937 random(20261206);
    const auto pick = [&](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(random);
    };
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int actions = 0;
    bool healthy = true;
    while (healthy && std::chrono::steady_clock::now() < end) {
        session.foreground();
        const int action = pick(20);
        if (action < 8) {
            pressKey(static_cast<WORD>('1' + pick(6)));
        } else if (action < 12) {
            clickAt(session.pitCentre(pick(14)));
        } else if (action < 14) {
            pressWithAlt('N');
        } else if (action < 15) {
            pressWithAlt('T');
        } else if (action < 17) {
            healthy = soakPreferences(session, pick);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(pick(800)));
        }
        ++actions;
        const bool alive = session.alive();
        const bool answering = alive && session.responsive();
        if (healthy && !answering) {
            std::printf("after action %d (kind %d): %s\n", actions, action,
                        alive ? "no answer within 5 s" : "the process ended");
        }
        healthy = healthy && answering;
    }
    std::printf("%d random actions\n", actions);
    checks.expect(healthy, "the program stays alive and answers throughout");
    PostMessageW(session.main(), WM_COMMAND, kExit, 0);
    checks.expect(session.waitForExit(15s) == 0, "PebboPlay exits with code 0 after the soak");
    return checks.failures() == 0 ? 0 : 1;
}

} // namespace pebbo::driver
