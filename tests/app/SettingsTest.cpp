#include "app/Settings.h"
#include "tests/app/FileFixture.h"

#include <vector>

namespace pebbo {
namespace {

using namespace std::string_literals; // NUL bytes inside literals

const std::string kDefaults =
    "Level=3\r\nAnimate=1\r\nAnimateBest=1\r\nSound=1\r\nShowTech=1\r\nColor0=2631720\r\n"
    "Color1=16777215\r\nColor2=0\r\nColor3=51200\r\nColor4=237\r\nColor5=45568\r\n"
    "Color6=11665408\r\nColor7=52685\r\n";

// The bytes a record writes: the defaults, but `lines` in place of their keys' lines.
std::string fileWith(const std::vector<std::string_view>& lines) {
    std::string text = kDefaults; // no key ends another, so a key is found at its line's start
    for (const std::string_view line : lines) {
        const size_t start = text.find(line.substr(0, line.find('=') + 1));
        text.replace(start, text.find('\r', start) - start, line);
    }
    return text;
}

using SettingsFileTest = testing::FileFixture;

// Every case is a whole round trip: load the bytes, save, and load the saved file again.
TEST_F(SettingsFileTest, ReadsEachLineAsTheLineReaderDidAndSavesCanonicalBytes) {
    const struct {
        std::string bytes;
        std::vector<std::string_view> expected;
        const char* why;
    } cases[] = {
        {"", {}, "an empty file keeps the defaults"},
        {"Level=0\n", {"Level=0"}, "one line changes one value"},
        {"Color7=-5\nLevel=1\r\nAnimate=0\nAnimateBest=0\nSound=7\nShowTech=0\nColor0=1\n",
         {"Color7=-5", "Level=1", "Animate=0", "AnimateBest=0", "ShowTech=0", "Color0=1"},
         "any order, LF or CR LF, a switch is any non-zero number"},
        {"level=1\r\n", {}, "keys are case-sensitive"},
        {"x Level=2\n", {"Level=0"}, "the number is read at the key's length from line start"},
        {"Color1=5 Level=2\n", {"Level=0"}, "Level= is searched first and decides the line"},
        {"Color3=abc\nAnimate=\n", {"Color3=0", "Animate=0"}, "no digits read as 0"},
        {"Level=1\nLevel=2\n", {"Level=2"}, "a later line overrides"},
        {"Level=  -2\nColor2=+12xyz\n", {"Level=-2", "Color2=12"}, "as strtol reads"},
        {"Level=99999999999999999999\nColor0=-99999999999\n",
         {"Level=2147483647", "Color0=-2147483648"},
         "clamped to 32 bits"},
        {std::string(250, ' ') + "Level=2\n", {}, "a key across the 254-character cut is unseen"},
        {std::string(254, 'x') + "Sound=0\r\nLevel=1\r\n",
         {"Sound=0", "Level=1"},
         "the piece after the cut reads as a line"},
        {std::string(253, 'y') + "\r\nColor3=77\r\n",
         {"Color3=77"},
         "CR LF counts as one character"},
        {"Sound=0\0Level=9\n"s, {"Sound=0"}, "a NUL ends the line's text"},
        {"\0Sound=\n"s, {}, "a line that starts with NUL is empty"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.why);
        write(test.bytes);
        ASSERT_TRUE(Settings(file).save());
        EXPECT_EQ(read(), fileWith(test.expected));
        EXPECT_EQ(Settings(file).format(), fileWith(test.expected));
    }
    EXPECT_EQ(std::ranges::distance(std::filesystem::directory_iterator(folder)), 1)
        << "no temporary file is left behind";
}

TEST_F(SettingsFileTest, MissingFileGivesDefaultsAndAFailedSaveKeepsTheOldFile) {
    EXPECT_EQ(Settings(file).format(), fileWith({}));
    EXPECT_FALSE(std::filesystem::exists(file)) << "loading never creates the file";

    write("Level=2\n");
    Settings settings(file);
    settings.level = 1;
    const std::filesystem::path blocked = file.string() + ".tmp";
    std::filesystem::create_directory(blocked); // the temporary file cannot be created
    EXPECT_FALSE(settings.save());
    EXPECT_EQ(read(), "Level=2\n");
    EXPECT_EQ(settings.level, 1);

    std::filesystem::remove(blocked);
    ASSERT_TRUE(settings.save());
    EXPECT_EQ(read(), fileWith({"Level=1"}));

    Settings nowhere{std::filesystem::path()};
    EXPECT_EQ(nowhere.format(), fileWith({}));
    EXPECT_FALSE(nowhere.save());
}

} // namespace
} // namespace pebbo
