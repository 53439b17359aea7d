#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <functional>
#include <string>

#include "tests/shell/DriverScreen.h"

namespace pebbo::driver {

// Counts failed checks and says what failed.
class Checks {
public:
    bool expect(bool condition, const char* what);
    int failures() const { return failed; }

private:
    int failed = 0;
};

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// One running PebboPlay.exe and the windows the driver looks at.
class Session {
public:
    explicit Session(const std::wstring& exe);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool started() const { return mainWindow != nullptr && board != nullptr; }
    HWND main() const { return mainWindow; }
    bool alive() const;
    bool responsive() const;
    // Waits for the process to end; its exit code, or -1 when it did not end.
    long waitForExit(std::chrono::milliseconds timeout);

    POINT pitCentre(int index) const;
    ScreenPixels pit(int index) const;
    std::array<ScreenPixels, 14> pits() const;
    ScreenPixels message() const;
    ScreenPixels window() const;
    COLORREF boardPixel(int x, int y) const; // board client coordinates

    void foreground() const;
    enum class MenuItem { Settings, Exit };
    // Opens the File menu with the mouse and chooses the item.
    bool chooseMenu(MenuItem item) const;

private:
    PROCESS_INFORMATION process{};
    HWND mainWindow = nullptr;
    HWND board = nullptr;
};

std::wstring settingsFile();
HWND findOwnedWindow(HWND owner, const wchar_t* title);
bool processRunning(const wchar_t* exeName);

int playStory(const std::wstring& exe, const std::wstring& screenshot);
int soakStory(const std::wstring& exe, int seconds);

} // namespace pebbo::driver
