#include "app/WinSoundBank.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace pebbo {
namespace {

constexpr Sound kAll[] = {Sound::Pop, Sound::Hero, Sound::Submarine, Sound::Tink};

uint32_t fieldAt(const void* data, size_t offset) {
    uint32_t value = 0;
    std::memcpy(&value, static_cast<const char*>(data) + offset, sizeof value);
    return value;
}

// Lets the detached sound threads reach their call before the program moves on.
void letSoundThreadsRun() {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

TEST(WinSoundBank, FindsEachSoundInTheProgramUnderItsNameAndPlaysIt) {
    WinSoundBank bank;
    for (Sound sound : kAll) {
        EXPECT_EQ(bank.data(sound), nullptr) << "nothing before load";
    }
    bank.load();

    for (Sound sound : kAll) {
        SCOPED_TRACE(static_cast<int>(sound));
        const void* data = bank.data(sound);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::memcmp(data, "RIFF", 4), 0);
        EXPECT_EQ(std::memcmp(static_cast<const char*>(data) + 8, "WAVE", 4), 0);
    }
    // Each name leads to its own sound: the rates and lengths tell them apart.
    EXPECT_EQ(fieldAt(bank.data(Sound::Pop), 24), 22050u);
    EXPECT_EQ(fieldAt(bank.data(Sound::Hero), 24), 44100u);
    EXPECT_EQ(fieldAt(bank.data(Sound::Submarine), 24), 44100u);
    EXPECT_EQ(fieldAt(bank.data(Sound::Tink), 24), 22050u);
    EXPECT_GT(fieldAt(bank.data(Sound::Hero), 4), fieldAt(bank.data(Sound::Submarine), 4));
    EXPECT_LT(fieldAt(bank.data(Sound::Pop), 4), fieldAt(bank.data(Sound::Tink), 4));

    const void* pop = bank.data(Sound::Pop);
    bank.load();
    EXPECT_EQ(bank.data(Sound::Pop), pop) << "looking the sounds up again changes nothing";

    for (Sound sound : kAll) {
        bank.play(sound); // returns at once; a later sound cuts off an earlier one
    }
    letSoundThreadsRun();
}

TEST(WinSoundBank, MissingSoundsStaySilent) {
    WinSoundBank notLoaded;
    notLoaded.play(Sound::Hero);

    // A module that carries no sounds at all.
    WinSoundBank bank(GetModuleHandleW(L"kernel32.dll"));
    bank.load();
    for (Sound sound : kAll) {
        EXPECT_EQ(bank.data(sound), nullptr);
        bank.play(sound);
    }
    letSoundThreadsRun();
}

} // namespace
} // namespace pebbo
