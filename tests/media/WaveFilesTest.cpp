#include "tests/media/ResourceBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace pebbo {
namespace {

struct WaveFile {
    uint32_t format = 0;
    uint32_t channels = 0;
    uint32_t rate = 0;
    uint32_t byteRate = 0;
    uint32_t blockAlign = 0;
    uint32_t bits = 0;
    std::vector<int16_t> samples; // interleaved

    size_t frames() const { return samples.size() / 2; }
    int16_t left(size_t frame) const { return samples[2 * frame]; }
};

// Walks the chunks as a player would, skipping any it does not know.
std::optional<WaveFile> parseWave(const std::vector<uint8_t>& bytes) {
    if (tagAt(bytes, 0) != "RIFF" || tagAt(bytes, 8) != "WAVE" ||
        le32(bytes, 4) != bytes.size() - 8) {
        return std::nullopt;
    }
    std::optional<WaveFile> wave;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string tag = tagAt(bytes, at);
        const uint32_t size = le32(bytes, at + 4);
        const size_t body = at + 8;
        if (body + size > bytes.size()) {
            return std::nullopt;
        }
        if (tag == "fmt " && size >= 16) {
            wave = WaveFile{le16(bytes, body),
                            le16(bytes, body + 2),
                            le32(bytes, body + 4),
                            le32(bytes, body + 8),
                            le16(bytes, body + 12),
                            le16(bytes, body + 14),
                            {}};
        } else if (tag == "data") {
            if (!wave || wave->bits != 16) {
                return std::nullopt;
            }
            for (size_t i = 0; i + 1 < size; i += 2) {
                wave->samples.push_back(static_cast<int16_t>(le16(bytes, body + i)));
            }
            return wave;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

// Sign changes of the left channel between two times: a rough pitch.
int crossings(const WaveFile& wave, double from, double to) {
    int count = 0;
    const auto first = static_cast<size_t>(from * wave.rate);
    const auto last = static_cast<size_t>(to * wave.rate);
    for (size_t frame = first + 1; frame < last; ++frame) {
        count += (wave.left(frame - 1) < 0) != (wave.left(frame) < 0) ? 1 : 0;
    }
    return count;
}

struct Expected {
    const char* path;
    uint32_t rate;
    double seconds;
};

constexpr Expected kSounds[] = {{"sounds/pop.wav", 22050, 0.06},
                                {"sounds/hero.wav", 44100, 1.1},
                                {"sounds/submarine.wav", 44100, 1.0},
                                {"sounds/tink.wav", 22050, 0.07}};

TEST(SoundFiles, EachIsAShortCleanStereoPcmClipAtItsRate) {
    constexpr int fullScale = 32767;
    size_t totalBytes = 0;
    for (const Expected& expected : kSounds) {
        SCOPED_TRACE(expected.path);
        const std::vector<uint8_t> bytes = readResource(expected.path);
        totalBytes += bytes.size();
        const std::optional<WaveFile> wave = parseWave(bytes);
        ASSERT_TRUE(wave.has_value());

        EXPECT_EQ(wave->format, 1u); // PCM
        EXPECT_EQ(wave->channels, 2u);
        EXPECT_EQ(wave->bits, 16u);
        EXPECT_EQ(wave->rate, expected.rate);
        EXPECT_EQ(wave->blockAlign, 4u);
        EXPECT_EQ(wave->byteRate, expected.rate * 4);
        const double seconds = static_cast<double>(wave->frames()) / wave->rate;
        EXPECT_NEAR(seconds, expected.seconds, expected.seconds * 0.1);

        int peak = 0;
        for (int16_t sample : wave->samples) {
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        EXPECT_LT(peak, fullScale * 9 / 10) << "no clipping, some headroom";
        EXPECT_GT(peak, fullScale / 5) << "loud enough to be heard";

        // Both ends near silence: no click as playback starts or is cut off.
        const size_t edge = 3; // frames
        for (size_t i = 0; i < 2 * edge; ++i) {
            EXPECT_LT(std::abs(static_cast<int>(wave->samples[i])), fullScale / 100) << i;
            EXPECT_LT(std::abs(static_cast<int>(wave->samples[wave->samples.size() - 1 - i])),
                      fullScale / 100)
                << i;
        }
    }
    EXPECT_LT(totalBytes, 450u * 1024) << "the sounds travel inside the program";
}

TEST(SoundFiles, EachSoundsLikeItsKind) {
    const std::optional<WaveFile> pop = parseWave(readResource("sounds/pop.wav"));
    const std::optional<WaveFile> hero = parseWave(readResource("sounds/hero.wav"));
    const std::optional<WaveFile> submarine = parseWave(readResource("sounds/submarine.wav"));
    const std::optional<WaveFile> tink = parseWave(readResource("sounds/tink.wav"));
    ASSERT_TRUE(pop && hero && submarine && tink);

    // The fanfare rises: its last note is well above its first.
    EXPECT_GT(crossings(*hero, 0.6, 0.7), 2 * crossings(*hero, 0.02, 0.1));
    // The tink is bright, the pop and the sonar ping are low.
    EXPECT_GT(crossings(*tink, 0.0, 0.03), 3 * crossings(*pop, 0.0, 0.03));
    EXPECT_LT(crossings(*submarine, 0.05, 0.15), crossings(*hero, 0.6, 0.7) / 2);
    // The ping's echo arrives later on one side than on the other.
    const size_t echoLeft = static_cast<size_t>(0.24 * submarine->rate);
    EXPECT_NE(submarine->samples[2 * echoLeft], submarine->samples[2 * echoLeft + 1]);
}

} // namespace
} // namespace pebbo
