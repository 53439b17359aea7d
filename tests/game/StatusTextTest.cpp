#include "game/StatusText.h"

#include <gtest/gtest.h>

namespace pebbo {
namespace {

TEST(StatusText, FormatsEveryMessageAndNothingBeyond) {
    struct Case {
        int32_t index;
        int32_t number;
        bool computerWins;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, 7, true, L"Your Turn"},
        {1, 7, true, L"Thinking..."},
        {2, 7, true, L"Draw"},
        {3, 4, false, L"Will Turn 4"},
        {4, 6, false, L"Turning From 6"},
        {5, 4, false, L"You Win 4 stones"},
        {5, 58, true, L"Computer Win 58 stones"},
        {kStatusCount, 4, true, L""},
        {-1, 4, true, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(statusText(c.index, c.number, c.computerWins), c.text) << c.index;
    }
}

} // namespace
} // namespace pebbo
