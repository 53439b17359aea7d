#pragma once

#include <windows.h>

#include "view/Gdi.h"

namespace pebbo {

// Registers one of the program's window classes, all redrawn whole when
// resized: `windowClass` gives the instance, name, procedure and whatever else
// the class needs. A class already registered counts, so every window of the
// class may ask. A new class keeps `background` for the life of the process.
bool registerWindowClass(WNDCLASSEXW windowClass, Brush background = Brush());

} // namespace pebbo
