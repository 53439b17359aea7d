#include "game/StatisticsText.h"
#include "game/Game.h"
#include "game/StatusText.h"

#include <gtest/gtest.h>

namespace pebbo {
namespace {

TEST(Texts, StatusAndStatisticsReadAsShown) {
    std::wstring status;
    for (int32_t index = -1; index <= kStatusCount; ++index)
        status += statusText(index, 4, false) + L"|";
    EXPECT_EQ(status, L"|Your Turn|Thinking...|Draw|Will Turn 4|Turning From 4|You Win 4 stones|"
                      L"Pit 0 wins by 4|Pit 0 draws|Pit 0 loses by 4|Best: pit 0||");
    EXPECT_EQ(statusText(kHintWins, 6, false, 3) + statusText(kHintBest, 0, false, 6),
              L"Pit 3 wins by 6Best: pit 6");
    EXPECT_EQ(statusText(5, 58, true), L"Computer Win 58 stones");
    std::wstring statistics;
    for (const uint64_t positions :
         {0ull, 999ull, 1000ull, 123456ull, 1123456789ull, 5000000000ull})
        statistics += formatStatistic(kPositionsText, positions, 0) + L" ";
    for (const uint64_t milliseconds : {0, 2004, 2996, 2500, 12340, 999500, 999990, 1234500})
        statistics += formatStatistic(kSecondsText, 0, milliseconds) + L" ";
    for (const auto& [positions, milliseconds] :
         {std::pair<uint64_t, uint64_t>{123, 0}, {1000000, 500}, {14890000, 1000}})
        statistics += formatStatistic(kMillionsPerSecondText, positions, milliseconds) + L" ";
    EXPECT_EQ(statistics, L"0 999 1,000 123,456 1,123,456,789 5,000,000,000 " // commas
                          L"0 2 3 2.50 12.34 999.50 1000 1234.5 " // no decimals near a whole
                          L"0.00 2.00 14.89 ");                   // millions per second
}

} // namespace
} // namespace pebbo
