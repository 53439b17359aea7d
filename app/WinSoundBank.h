#pragma once

#include <windows.h>

#include "game/SoundBank.h"

#include <array>
#include <atomic>

namespace pebbo {

// Plays the "WAVE" resources "Pop", "Hero", "Submarine" and "Tink" straight
// from the module's memory.
class WinSoundBank final : public SoundBank {
public:
    explicit WinSoundBank(HMODULE module = GetModuleHandleW(nullptr)) : module_(module) {}

    void load() override;
    void play(Sound sound) override;

    // The sound's locked resource data; null until loaded or when not found.
    const void* data(Sound sound) const;

private:
    HMODULE module_;
    // Read by the animation thread while a preferences change may reload.
    std::array<std::atomic<const void*>, 4> sounds_{};
};

} // namespace pebbo
