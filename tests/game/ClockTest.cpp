#include "game/Clock.h"

#include <gtest/gtest.h>

namespace pebbo {
namespace {

// Real time on a shared machine: only bounds that hold however slow it runs.
TEST(SteadyClock, APauseLastsItsTimeUnlessItIsStopped) {
    using namespace std::chrono_literals;
    SteadyClock clock;
    std::atomic<bool> stop{false};
    const auto pause = [&](uint32_t milliseconds) {
        const auto start = std::chrono::steady_clock::now();
        clock.sleepUnless(milliseconds, stop);
        return std::chrono::steady_clock::now() - start;
    };
    EXPECT_GE(pause(120), 120ms);
    std::thread stopper([&] {
        std::this_thread::sleep_for(50ms);
        stop = true;
    });
    EXPECT_LT(pause(5000), 2500ms) << "stopped on the way";
    stopper.join();
    EXPECT_LT(pause(5000), 2500ms) << "stopped already";
}

} // namespace
} // namespace pebbo
