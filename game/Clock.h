#pragma once

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
    virtual void sleep(uint32_t milliseconds) = 0;
};

class SteadyClock final : public Clock {
public:
    uint64_t tickCount() override {
        using namespace std::chrono;
        return static_cast<uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void sleep(uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

} // namespace pebbo
