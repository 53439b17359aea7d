#include "app/ResultsRecord.h"
#include "app/Settings.h"
#include "tests/app/FileFixture.h"

#include <vector>

namespace pebbo::testing {
namespace {

using Levels = std::array<LevelResults, 4>;

Levels recordOf(const ResultsRecord& record) {
    return {record.at(0), record.at(1), record.at(2), record.at(3)};
}

using ResultsFileTest = FileFixture;

// Each case is loaded, then one game added at level 2 saves it, and the file loads back alike.
TEST_F(ResultsFileTest, ReadsLevelLinesAndAnythingDamagedGivesAnEmptyRecord) {
    const struct {
        std::string text;
        Levels expected;
        const char* why;
    } cases[] = {
        {"", {}, "an empty file"},
        {"Level0=1,2,3,-4\r\nLevel3=5,0,0,17\r\n",
         {{{1, 2, 3, -4}, {}, {}, {5, 0, 0, 17}}},
         "CR LF"},
        {"Level1=1,1,1,0\nx=1\nLevel4=1,1,1,1\nlevel2=9,9,9,9\nLevel2 =1,1,1,1\nLevel1=2,0,0,5",
         {{{}, {2, 0, 0, 5}, {}, {}}},
         "LF, unknown lines ignored, a later line overrides"},
        {"Level3=1,1,1,1\nLevel0=1,2,3\n", {}, "three numbers"},
        {"Level3=1,1,1,1\nLevel0=1,2,3,4,5\n", {}, "five numbers"},
        {"Level3=1,1,1,1\nLevel1=1,-1,0,0\n", {}, "a negative count"},
        {"Level3=1,1,1,1\nLevel2=1,2,3,4x\n", {}, "text after the numbers"},
        {"Level3=1,1,1,1\nLevel2= 1,2,3,4\n", {}, "a space before a number"},
        {"Level3=1,1,1,1\nLevel0=99999999999999999999,0,0,0\n", {}, "a count beyond 64 bits"},
        {"Level3=1,1,1,1\nLevel2=0,0,0,-9223372036854775807\n", {}, "a sum that would overflow"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.why);
        write(test.text);
        ResultsRecord record(file);
        EXPECT_EQ(recordOf(record), test.expected);
        record.add(2, -3);
        Levels added = test.expected;
        added[2] = {added[2].won, added[2].lost + 1, added[2].drawn, added[2].marginSum - 3};
        EXPECT_EQ(recordOf(ResultsRecord(file)), added);
        EXPECT_EQ(read(), record.format());
    }
}

TEST_F(ResultsFileTest, GamesCountByOutcomeAtTheirLevelResetSavesTheEmptyRecordNextToTheSettings) {
    ResultsRecord record(file);
    EXPECT_EQ(recordOf(record), Levels{}) << "a missing file";
    for (const auto& [level, margin] : std::vector<std::pair<int32_t, int32_t>>{
             {0, 4}, {-1, -2}, {3, 0}, {7, 24}, {1, 0}, {1, -6}})
        record.add(level, margin);
    EXPECT_EQ(read(), "Level0=1,1,0,2\r\nLevel1=0,1,1,-6\r\nLevel2=0,0,0,0\r\nLevel3=1,0,1,24\r\n");
    record.reset();
    EXPECT_EQ(read(), "Level0=0,0,0,0\r\nLevel1=0,0,0,0\r\nLevel2=0,0,0,0\r\nLevel3=0,0,0,0\r\n");
    // Both files are the user's own, side by side.
    EXPECT_TRUE(defaultSettingsFile().is_absolute());
    EXPECT_EQ(defaultSettingsFile().filename(), "PebboSettings.txt");
    EXPECT_EQ(defaultResultsFile(), defaultSettingsFile().parent_path() / "PebboResults.txt");
}

} // namespace
} // namespace pebbo::testing
