#pragma once

#include <windows.h>

namespace pebbo {

// Runs the message loop of the main window: every message goes to the
// accelerator table first, for the main window. Returns the quit code.
int runMessageLoop(HWND mainWindow, HACCEL accelerators);

} // namespace pebbo
