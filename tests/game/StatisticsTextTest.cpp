#include "game/StatisticsText.h"

#include <gtest/gtest.h>

namespace pebbo {
namespace {

TEST(StatisticsText, PositionsGetACommaBetweenGroupsOfThreeDigits) {
    EXPECT_EQ(formatStatistic(kPositionsText, 0, 0), L"0");
    EXPECT_EQ(formatStatistic(kPositionsText, 7, 0), L"7");
    EXPECT_EQ(formatStatistic(kPositionsText, 999, 0), L"999");
    EXPECT_EQ(formatStatistic(kPositionsText, 1000, 0), L"1,000");
    EXPECT_EQ(formatStatistic(kPositionsText, 123456, 0), L"123,456");
    EXPECT_EQ(formatStatistic(kPositionsText, 1123456789, 0), L"1,123,456,789");
    EXPECT_EQ(formatStatistic(kPositionsText, 5000000000ull, 0), L"5,000,000,000")
        << "beyond 32 bits in full";
}

TEST(StatisticsText, SecondsDropTheDecimalsNearAWholeNumber) {
    EXPECT_EQ(formatStatistic(kSecondsText, 0, 0), L"0");
    EXPECT_EQ(formatStatistic(kSecondsText, 0, 2000), L"2");
    EXPECT_EQ(formatStatistic(kSecondsText, 0, 2004), L"2");
    EXPECT_EQ(formatStatistic(kSecondsText, 0, 2996), L"3");
    EXPECT_EQ(formatStatistic(kSecondsText, 0, 2500), L"2.50");
    EXPECT_EQ(formatStatistic(kSecondsText, 0, 12340), L"12.34");
    EXPECT_EQ(formatStatistic(kSecondsText, 0, 999500), L"999.50");
    EXPECT_EQ(formatStatistic(kSecondsText, 0, 999990), L"1000");
    EXPECT_EQ(formatStatistic(kSecondsText, 0, 1234500), L"1234.5");
}

TEST(StatisticsText, MillionsPerSecondWithTwoDecimals) {
    EXPECT_EQ(formatStatistic(kMillionsPerSecondText, 123, 0), L"0.00") << "no time elapsed";
    EXPECT_EQ(formatStatistic(kMillionsPerSecondText, 1000000, 500), L"2.00");
    EXPECT_EQ(formatStatistic(kMillionsPerSecondText, 14890000, 1000), L"14.89");
    EXPECT_EQ(formatStatistic(kMillionsPerSecondText, 1234567, 2500), L"0.49");
}

} // namespace
} // namespace pebbo
