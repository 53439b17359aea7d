#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace pebbo {

// The one seam through which the Game reads time and waits, so tests can run
// whole animated games quickly while asserting the exact delays.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint64_t tickCount() = 0; // milliseconds
    // Sleeps unless `stop` is set, so a stop never waits out a long pause; once
    // it is set, one short slice still passes, so a polling loop never spins.
    virtual void sleepUnless(uint32_t milliseconds, const std::atomic<bool>& stop) = 0;
};

class SteadyClock final : public Clock {
public:
    uint64_t tickCount() override {
        using namespace std::chrono;
        return static_cast<uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    // Keeps to one deadline: every slice may oversleep (by a whole timer tick on
    // Windows), and a long pause must last no longer than in one piece.
    void sleepUnless(uint32_t milliseconds, const std::atomic<bool>& stop) override {
        using namespace std::chrono;
        const auto end = steady_clock::now() + std::chrono::milliseconds(milliseconds);
        do {
            std::this_thread::sleep_for(
                std::min<steady_clock::duration>(end - steady_clock::now(), kSlice));
        } while (!stop && steady_clock::now() < end);
    }

private:
    static constexpr std::chrono::milliseconds kSlice{10}; // what a stop may still wait
};

} // namespace pebbo
