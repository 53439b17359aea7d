#include "game/StatisticsText.h"

#include <cmath>
#include <cstdio>

namespace pebbo {
namespace {

std::wstring widen(const char* text) {
    std::wstring wide;
    for (; *text != '\0'; ++text)
        wide += static_cast<wchar_t>(*text);
    return wide;
}

std::wstring withThousandsSeparators(uint64_t value) {
    const std::wstring digits = std::to_wstring(value);
    std::wstring text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0)
            text += L',';
        text += digits[i];
    }
    return text;
}

std::wstring formatted(const char* format, double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    return widen(buffer);
}

std::wstring secondsText(double seconds) {
    const double whole = std::floor(seconds + 0.5);
    // Within a hundredth of a whole number the decimals would only show zeros.
    if (std::fabs(whole - seconds) < 0.01)
        return formatted("%1.0f", whole);
    return formatted(seconds < 1000 ? "%4.2f" : "%4.1f", seconds);
}

} // namespace

std::wstring formatStatistic(int32_t index, uint64_t positions, uint64_t elapsedMilliseconds) {
    const double seconds = static_cast<double>(elapsedMilliseconds) / 1000.0;
    switch (index) {
    case kPositionsText:
        return withThousandsSeparators(positions);
    case kSecondsText:
        return secondsText(seconds);
    case kMillionsPerSecondText:
        return formatted("%4.2f",
                         seconds == 0 ? 0.0 : static_cast<double>(positions) / 1e6 / seconds);
    default:
        return {};
    }
}

} // namespace pebbo
