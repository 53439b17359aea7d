#include "tools/media/Wave.h"

#include "tools/media/ByteWriter.h"

namespace pebbo {

std::vector<uint8_t> encodeWave(const StereoClip& clip) {
    constexpr uint32_t channels = 2;
    constexpr uint32_t bitsPerSample = 16;
    constexpr uint32_t blockAlign = channels * bitsPerSample / 8;
    constexpr uint32_t fmtSize = 16;
    const auto dataSize = static_cast<uint32_t>(clip.samples.size() * sizeof(int16_t));

    ByteWriter out;
    out.tag("RIFF");
    out.u32(4 + (8 + fmtSize) + (8 + dataSize));
    out.tag("WAVE");

    out.tag("fmt ");
    out.u32(fmtSize);
    out.u16(1); // PCM
    out.u16(channels);
    out.u32(clip.rate);
    out.u32(clip.rate * blockAlign);
    out.u16(blockAlign);
    out.u16(bitsPerSample);

    out.tag("data");
    out.u32(dataSize);
    for (int16_t sample : clip.samples) {
        out.i16(sample);
    }
    return out.take();
}

} // namespace pebbo
