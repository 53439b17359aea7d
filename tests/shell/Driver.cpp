#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "tests/shell/DriverSteps.h"

// Plays the real PebboPlay.exe:
//   pebbo_shell_driver play PEBBOPLAY.EXE SCREENSHOT.BMP
//   pebbo_shell_driver soak PEBBOPLAY.EXE SECONDS
int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"play") {
        return pebbo::driver::playStory(argv[2], argv[3]);
    }
    if (argc == 4 && std::wstring(argv[1]) == L"soak") {
        return pebbo::driver::soakStory(argv[2], std::wcstol(argv[3], nullptr, 10));
    }
    std::fputs("usage: pebbo_shell_driver play EXE SCREENSHOT | soak EXE SECONDS\n", stderr);
    return 2;
}
