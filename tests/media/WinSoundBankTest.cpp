#include "app/WinSoundBank.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace pebbo {
namespace {

constexpr Sound kAll[] = {Sound::Pop, Sound::Hero, Sound::Submarine, Sound::Tink};

TEST(WinSoundBank, FindsEachSoundInTheProgramUnderItsNameAndPlaysIt) {
    WinSoundBank bank;
    bank.load();
    constexpr uint32_t kRates[] = {22050, 44100, 44100, 22050};
    uint32_t words[4][7]; // per sound: "RIFF", size, "WAVE", the format chunk's start, rate
    for (size_t i = 0; i < 4; ++i) {
        const char* data = static_cast<const char*>(bank.data(kAll[i]));
        ASSERT_NE(data, nullptr) << i;
        std::memcpy(words[i], data, sizeof words[i]);
        EXPECT_EQ(std::string(data, 4) + std::string(data + 8, 4), "RIFFWAVE") << i;
        EXPECT_EQ(words[i][6], kRates[i]) << i;
        bank.play(kAll[i]); // returns at once; a later sound cuts off an earlier one
    }
    // Pop and Tink, Hero and Submarine share a rate: their sizes tell them apart.
    EXPECT_LT(words[0][1], words[3][1]);
    EXPECT_GT(words[1][1], words[2][1]);
    Sleep(200); // lets the sound threads start before the program moves on
}

TEST(WinSoundBank, MissingSoundsStaySilent) {
    WinSoundBank notLoaded;
    WinSoundBank soundless(GetModuleHandleW(L"kernel32.dll")); // a module that carries none
    soundless.load();
    for (Sound sound : kAll) {
        EXPECT_EQ(notLoaded.data(sound), nullptr);
        EXPECT_EQ(soundless.data(sound), nullptr);
        notLoaded.play(sound);
        soundless.play(sound);
    }
}

} // namespace
} // namespace pebbo
