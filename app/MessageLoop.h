#pragma once

#include <windows.h>

namespace pebbo {

// Wine treats the Alt key-up that ends an Alt accelerator (Alt+N, Alt+T) as a
// lone Alt press and puts the window into menu mode, which swallows the next
// digit key. The filter drops that one key-up; a plain Alt press and release,
// with no accelerator in between, still reaches the window and opens the menu.
class AltKeyFilter {
public:
    // Called for every message with whether the accelerator table took it;
    // true when the message must not be dispatched.
    bool drop(const MSG& message, bool wasAccelerator);

private:
    bool acceleratorWithAlt = false;
};

// Runs the message loop of the main window: every message goes to the
// accelerator table first, for the main window. Returns the quit code.
int runMessageLoop(HWND mainWindow, HACCEL accelerators);

} // namespace pebbo
