#include "tests/view/BoardWindowFixture.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace pebbo::testing {
namespace {

bool isOneOf(const Pixels& shown, const std::vector<Pixels>& frames) {
    return std::find(frames.begin(), frames.end(), shown) != frames.end();
}

TEST_F(BoardWindowTest, SettersFromGameThreadsNeverShowAHalfWrittenValue) {
    const RECT middle{55, 55, 544, 145};
    const wchar_t* texts[] = {L"Thinking...", L"Your Turn"};
    const int32_t counts[] = {111, 222};
    const COLORREF colors[] = {RGB(237, 0, 0), RGB(0, 178, 0)};

    // Every picture a whole value can give, painted quietly first.
    std::vector<Pixels> messageFrames;
    for (const wchar_t* text : texts) {
        field->setMessage(text);
        settle();
        messageFrames.push_back(capture(middle));
    }
    std::vector<Pixels> pitFrames{captureHole(3)};
    for (COLORREF color : colors) {
        for (int32_t count : counts) {
            field->setHoleColor(3, color);
            field->setHoleCount(3, count);
            settle();
            pitFrames.push_back(captureHole(3));
        }
    }

    std::atomic<bool> stop{false};
    std::vector<std::thread> writers;
    writers.emplace_back([&] {
        for (int i = 0; !stop; ++i) {
            field->setMessage(texts[i % 2]);
            std::this_thread::yield();
        }
    });
    writers.emplace_back([&] {
        for (int i = 0; !stop; ++i) {
            field->setHoleCount(3, counts[i % 2]);
            std::this_thread::yield();
        }
    });
    writers.emplace_back([&] {
        for (int i = 0; !stop; ++i) {
            field->setHoleColor(3, colors[i % 2]);
            if (i % 5 == 0) {
                field->clearHole(3);
            }
            std::this_thread::yield();
        }
    });

    int tornMessages = 0;
    int tornPits = 0;
    for (int frame = 0; frame < 80; ++frame) {
        settle();
        tornMessages += isOneOf(capture(middle), messageFrames) ? 0 : 1;
        tornPits += isOneOf(captureHole(3), pitFrames) ? 0 : 1;
    }
    stop = true;
    for (std::thread& writer : writers) {
        writer.join();
    }
    EXPECT_EQ(tornMessages, 0);
    EXPECT_EQ(tornPits, 0);

    // The window still answers and shows the last values.
    field->setMessage(texts[0]);
    field->setHoleColor(3, colors[1]);
    field->setHoleCount(3, counts[1]);
    settle();
    EXPECT_EQ(capture(middle), messageFrames[0]);
    EXPECT_EQ(captureHole(3), pitFrames[4]);
}

} // namespace
} // namespace pebbo::testing
