#include "app/Settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <random>

namespace pebbo {
namespace {

const std::string kDefaultFile =
    "Level=3\r\nAnimate=1\r\nAnimateBest=1\r\nSound=1\r\nShowTech=1\r\n"
    "Color0=2631720\r\nColor1=16777215\r\nColor2=0\r\nColor3=51200\r\n"
    "Color4=237\r\nColor5=45568\r\nColor6=11665408\r\nColor7=52685\r\n";

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        folder = std::filesystem::temp_directory_path() /
                 ("pebbo-settings-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(folder);
        file = folder / "PebboSettings.txt";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void write(const std::string& bytes) const { std::ofstream(file, std::ios::binary) << bytes; }
    std::string read() const {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Settings from a file holding exactly `bytes`.
    std::unique_ptr<Settings> loaded(const std::string& bytes) const {
        write(bytes);
        return std::make_unique<Settings>(file);
    }

    std::filesystem::path folder;
    std::filesystem::path file;
};

TEST_F(SettingsFileTest, MissingFileGivesDefaultsAndSaveWritesTheThirteenLines) {
    Settings settings(file);
    EXPECT_EQ(settings.level, 3);
    EXPECT_EQ(settings.animate, 1);
    EXPECT_EQ(settings.animateBest, 1);
    EXPECT_EQ(settings.sound, 1);
    EXPECT_EQ(settings.showTech, 1);
    EXPECT_EQ(settings.colors[1], 16777215);
    EXPECT_FALSE(std::filesystem::exists(file)) << "loading never creates the file";

    ASSERT_TRUE(settings.save());
    EXPECT_EQ(read(), kDefaultFile);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left behind";
}

TEST_F(SettingsFileTest, RoundTripKeepsEveryValueAndWritesCanonicalBytes) {
    // Any line order, LF or CR LF endings, switches as any non-zero number.
    const std::string original = "Color7=-5\nLevel=1\r\nAnimate=0\nAnimateBest=0\nSound=7\n"
                                 "ShowTech=0\nColor0=1\nColor1=2\nColor2=3\nColor3=4\n"
                                 "Color4=2147483647\nColor5=-2147483648\nColor6=7\n";
    const std::string canonical = "Level=1\r\nAnimate=0\r\nAnimateBest=0\r\nSound=1\r\n"
                                  "ShowTech=0\r\nColor0=1\r\nColor1=2\r\nColor2=3\r\nColor3=4\r\n"
                                  "Color4=2147483647\r\nColor5=-2147483648\r\nColor6=7\r\n"
                                  "Color7=-5\r\n";
    auto settings = loaded(original);
    ASSERT_TRUE(settings->save());
    EXPECT_EQ(read(), canonical);

    Settings again(file);
    ASSERT_TRUE(again.save());
    EXPECT_EQ(read(), canonical) << "a saved file reads back to the same bytes";
}

TEST_F(SettingsFileTest, LinesAreMatchedAndReadAsTheOldReaderDid) {
    auto onlyLevel = loaded("Level=0\n");
    EXPECT_EQ(onlyLevel->level, 0);
    EXPECT_EQ(onlyLevel->sound, 1);
    EXPECT_EQ(onlyLevel->colors[0], 2631720);

    auto lowerCase = loaded("level=1\r\n");
    EXPECT_EQ(lowerCase->level, 3) << "keys are case-sensitive";

    auto notAtStart = loaded("x Level=2\n");
    EXPECT_EQ(notAtStart->level, 0) << "the number is read at the key's length from line start";

    auto searchOrder = loaded("Color1=5 Level=2\n");
    EXPECT_EQ(searchOrder->level, 0) << "Level= is searched first and decides the line";
    EXPECT_EQ(searchOrder->colors[1], 16777215);

    auto noDigits = loaded("Color3=abc\nAnimate=\n");
    EXPECT_EQ(noDigits->colors[3], 0);
    EXPECT_EQ(noDigits->animate, 0);

    auto later = loaded("Level=1\nLevel=2\n");
    EXPECT_EQ(later->level, 2) << "a later line overrides";

    auto spaced = loaded("Level=  -2\nColor2=+12xyz\n");
    EXPECT_EQ(spaced->level, -2);
    EXPECT_EQ(spaced->colors[2], 12);

    auto huge = loaded("Level=99999999999999999999\nColor0=-99999999999\n");
    EXPECT_EQ(huge->level, INT32_MAX) << "clamped to 32 bits";
    EXPECT_EQ(huge->colors[0], INT32_MIN);

    auto keepsBoth = loaded("Animate=0\nSound=1\n");
    EXPECT_EQ(keepsBoth->animate, 0);
    EXPECT_EQ(keepsBoth->sound, 1);
}

TEST_F(SettingsFileTest, LongLinesAreReadInPiecesOf254Characters) {
    // The key straddles the piece boundary: neither piece holds it.
    auto split = loaded(std::string(250, ' ') + "Level=2\n");
    EXPECT_EQ(split->level, 3);

    // The second piece starts with the key and is read like a line of its own.
    auto second = loaded(std::string(254, 'x') + "Sound=0\r\nLevel=1\r\n");
    EXPECT_EQ(second->sound, 0);
    EXPECT_EQ(second->level, 1);

    // A CR LF ending counts as one character, as it did for the text-mode reader.
    auto exact = loaded(std::string(253, 'y') + "\r\nColor3=77\r\n");
    EXPECT_EQ(exact->colors[3], 77);
}

TEST_F(SettingsFileTest, FailedSaveKeepsTheOldFileAndTheValuesInMemory) {
    write("Level=2\n");
    Settings settings(file);
    settings.level = 1;
    std::filesystem::path blocked = file;
    blocked += ".tmp";
    std::filesystem::create_directory(blocked); // the temporary file cannot be created

    EXPECT_FALSE(settings.save());
    EXPECT_EQ(read(), "Level=2\n");
    EXPECT_EQ(settings.level, 1);

    std::filesystem::remove(blocked);
    ASSERT_TRUE(settings.save());
    EXPECT_EQ(read().substr(0, 9), "Level=1\r\n");

    Settings nowhere{std::filesystem::path()};
    EXPECT_EQ(nowhere.level, 3);
    EXPECT_FALSE(nowhere.save());
}

TEST(ValidLevel, ClampsLevelsOutsideZeroToThree) {
    EXPECT_EQ(validLevel(INT32_MIN), 0);
    EXPECT_EQ(validLevel(-1), 0);
    for (int32_t level = 0; level <= 3; ++level)
        EXPECT_EQ(validLevel(level), level);
    EXPECT_EQ(validLevel(4), 3);
    EXPECT_EQ(validLevel(INT32_MAX), 3);
}

TEST(DefaultSettingsFile, IsPebboSettingsInTheUsersOwnFolder) {
    const std::filesystem::path file = defaultSettingsFile();
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(file.is_absolute());
    EXPECT_EQ(file.filename(), "PebboSettings.txt");
}

} // namespace
} // namespace pebbo
