#include "game/StatusText.h"

#include <array>
#include <cwchar>

namespace pebbo {

namespace {

constexpr std::array<const wchar_t*, kStatusCount> statusTexts{
    L"Your Turn", L"Thinking...",       L"Draw",         L"Will Turn %d",       L"Turning From %d",
    nullptr,      L"Pit %d wins by %d", L"Pit %d draws", L"Pit %d loses by %d", L"Best: pit %d"};

} // namespace

std::wstring statusText(int32_t index, int32_t number, bool computerWins, int32_t pit) {
    if (index < 0 || index >= kStatusCount) {
        return {};
    }
    if (index < 3) {
        return statusTexts[index];
    }
    // "%s Win %d stones" is put together by hand: wide printf reads "%s" and
    // "%ls" differently from one C runtime to the next.
    if (index == 5) {
        return std::wstring(computerWins ? L"Computer" : L"You") + L" Win " +
               std::to_wstring(number) + L" stones";
    }
    std::array<wchar_t, 64> buffer{};
    if (index >= 6)
        std::swprintf(buffer.data(), buffer.size(), statusTexts[index], pit, number);
    else
        std::swprintf(buffer.data(), buffer.size(), statusTexts[index], number);
    return buffer.data();
}

} // namespace pebbo
