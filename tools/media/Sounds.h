#pragma once

#include "tools/media/Wave.h"

namespace pebbo {

// A stone dropped into one of the user's pits: a soft pop.
StereoClip popSound();
// The store blinking after an extra turn: a bright rising fanfare.
StereoClip heroSound();
// The captured pit blinking: a low sonar ping with its echo.
StereoClip submarineSound();
// A stone dropped into one of the computer's pits: a light metallic tink.
StereoClip tinkSound();

} // namespace pebbo
