#pragma once

#include <cstdint>

namespace pebbo {

enum class Sound : int32_t { Pop = 0, Hero = 1, Submarine = 2, Tink = 3 };

// The four sound effects. The Windows implementation plays the program's own
// "WAVE" resources; tests record what was asked for.
class SoundBank {
public:
    virtual ~SoundBank() = default;

    // Looks the four sounds up; one that is not found stays silent.
    virtual void load() = 0;
    // Starts the sound on a thread of its own and returns at once.
    virtual void play(Sound sound) = 0;
};

} // namespace pebbo
