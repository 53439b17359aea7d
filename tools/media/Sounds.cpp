#include "tools/media/Sounds.h"

#include "tools/media/Synth.h"

#include <algorithm>
#include <array>
#include <vector>

namespace pebbo {

StereoClip popSound() {
    ClipBuilder clip(22050, 0.06);
    double phase = 0.0;
    for (uint32_t frame = 0; frame < clip.frames(); ++frame) {
        const double t = clip.time(frame);
        // The pitch drops fast, which is what makes it a pop and not a beep.
        const double frequency = 260.0 + 640.0 * expOf(-t / 0.012);
        const double envelope = smoothStep(t / 0.003) * expOf(-t / 0.018);
        const double s = envelope * (sinTurns(phase) + 0.15 * sinTurns(2.0 * phase));
        clip.add(frame, s, s);
        phase += frequency / clip.rate();
    }
    return clip.finish(0.5, 0.008);
}

StereoClip heroSound() {
    struct Note {
        double start;
        double frequency;
        double pan; // -1 left, +1 right
    };
    // G4 C5 E5 G5, then C6 held: each note keeps ringing so the chord builds up.
    constexpr std::array<Note, 5> notes{{{0.00, 392.00, -0.35},
                                         {0.11, 523.25, 0.35},
                                         {0.22, 659.26, -0.20},
                                         {0.33, 783.99, 0.20},
                                         {0.44, 1046.50, 0.00}}};
    constexpr std::array<double, 6> harmonics{1.0, 0.55, 0.38, 0.26, 0.16, 0.09};

    ClipBuilder clip(44100, 1.1);
    for (const Note& note : notes) {
        const double leftGain = 1.0 - std::max(note.pan, 0.0);
        const double rightGain = 1.0 + std::min(note.pan, 0.0);
        const bool last = &note == &notes.back();
        double phase = 0.0;
        const auto first = static_cast<uint32_t>(note.start * clip.rate());
        for (uint32_t frame = first; frame < clip.frames(); ++frame) {
            const double u = clip.time(frame - first);
            const double vibrato =
                last ? 0.004 * smoothStep((u - 0.15) / 0.2) * sinTurns(5.5 * u) : 0.0;
            const double envelope =
                smoothStep(u / 0.015) * (0.55 + 0.45 * expOf(-u / 0.07)) * expOf(-u / 0.9);
            double s = 0.0;
            for (size_t k = 0; k < harmonics.size(); ++k) {
                s += harmonics[k] * sinTurns(static_cast<double>(k + 1) * phase);
            }
            s *= envelope;
            clip.add(frame, s * leftGain, s * rightGain);
            phase += note.frequency * (1.0 + vibrato) / clip.rate();
        }
    }
    return clip.finish(0.8, 0.25);
}

StereoClip submarineSound() {
    ClipBuilder clip(44100, 1.0);
    std::vector<double> ping(clip.frames());
    double phase = 0.0;
    for (uint32_t frame = 0; frame < clip.frames(); ++frame) {
        const double t = clip.time(frame);
        const double frequency = 370.0 + 30.0 * expOf(-t / 0.05);
        const double envelope = smoothStep(t / 0.006) * expOf(-t / 0.2);
        ping[frame] = envelope * (sinTurns(phase) + 0.22 * sinTurns(2.0 * phase) +
                                  0.06 * sinTurns(3.0 * phase));
        phase += frequency / clip.rate();
    }

    // Echoes return a little later on the right than on the left: the width.
    auto delayed = [&](uint32_t frame, double seconds) {
        const auto delay = static_cast<uint32_t>(seconds * clip.rate());
        return frame >= delay ? ping[frame - delay] : 0.0;
    };
    for (uint32_t frame = 0; frame < clip.frames(); ++frame) {
        const double left = ping[frame] + 0.35 * delayed(frame, 0.23) + 0.12 * delayed(frame, 0.46);
        const double right =
            ping[frame] + 0.35 * delayed(frame, 0.27) + 0.12 * delayed(frame, 0.54);
        clip.add(frame, left, right);
    }
    return clip.finish(0.7, 0.12);
}

StereoClip tinkSound() {
    struct Partial {
        double frequency;
        double level;
        double decay; // seconds
    };
    // Inharmonic partials, the higher ones dying first: metal, not a tone.
    constexpr std::array<Partial, 4> partials{
        {{3150.0, 1.0, 0.028}, {4870.0, 0.5, 0.016}, {7410.0, 0.3, 0.010}, {9350.0, 0.12, 0.006}}};

    ClipBuilder clip(22050, 0.07);
    for (uint32_t frame = 0; frame < clip.frames(); ++frame) {
        const double t = clip.time(frame);
        double s = 0.0;
        for (const Partial& partial : partials) {
            s += partial.level * expOf(-t / partial.decay) * sinTurns(partial.frequency * t);
        }
        s *= smoothStep(t / 0.0015);
        clip.add(frame, s, s);
    }
    return clip.finish(0.5, 0.006);
}

} // namespace pebbo
