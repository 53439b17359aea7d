#include "game/StatisticsText.h"
#include "game/StatusText.h"

#include <gtest/gtest.h>

namespace pebbo {
namespace {

TEST(StatusText, FormatsEveryMessageAndNothingBeyond) {
    std::wstring texts;
    for (int32_t index = -1; index <= kStatusCount; ++index)
        texts += statusText(index, 4, false) + L"|";
    EXPECT_EQ(texts, L"|Your Turn|Thinking...|Draw|Will Turn 4|Turning From 4|You Win 4 stones||");
    EXPECT_EQ(statusText(5, 58, true), L"Computer Win 58 stones");
}

// Positions with a comma between groups of three digits, seconds without the
// decimals near a whole number, millions of positions per second with two.
TEST(StatisticsText, FormatsEachLabel) {
    const auto texts = [](StatisticIndex index, std::vector<std::pair<uint64_t, uint64_t>> cases) {
        std::wstring joined;
        for (const auto& [positions, milliseconds] : cases)
            joined += formatStatistic(index, positions, milliseconds) + L" ";
        return joined;
    };
    EXPECT_EQ(texts(kPositionsText,
                    {{0, 0}, {999, 0}, {1000, 0}, {123456, 0}, {1123456789, 0}, {5000000000, 0}}),
              L"0 999 1,000 123,456 1,123,456,789 5,000,000,000 ");
    EXPECT_EQ(texts(kSecondsText, {{0, 0},
                                   {0, 2004},
                                   {0, 2996},
                                   {0, 2500},
                                   {0, 12340},
                                   {0, 999500},
                                   {0, 999990},
                                   {0, 1234500}}),
              L"0 2 3 2.50 12.34 999.50 1000 1234.5 ");
    EXPECT_EQ(texts(kMillionsPerSecondText, {{123, 0}, {1000000, 500}, {14890000, 1000}}),
              L"0.00 2.00 14.89 ");
}

} // namespace
} // namespace pebbo
