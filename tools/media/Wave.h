#pragma once

#include <cstdint>
#include <vector>

namespace pebbo {

// 16-bit stereo PCM, samples interleaved left, right.
struct StereoClip {
    uint32_t rate = 0;
    std::vector<int16_t> samples;

    uint32_t frames() const { return static_cast<uint32_t>(samples.size() / 2); }
};

// A complete RIFF "WAVE" file: the "fmt " chunk, then the "data" chunk.
std::vector<uint8_t> encodeWave(const StereoClip& clip);

} // namespace pebbo
