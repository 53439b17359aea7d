#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace pebbo {

inline constexpr int32_t kBoardWidth = 598;
inline constexpr int32_t kBoardHeight = 200;
inline constexpr int32_t kPitSize = 50;
inline constexpr int32_t kStoreHeight = 60;
// Rounded corners of the board: width and height of the corner ellipses.
inline constexpr int32_t kBoardCorner = 20;
inline constexpr uint32_t kBoardColor = 0x408080; // RGB(128, 128, 64)
inline constexpr uint32_t kShapeColor = 0xFFFFFF;
inline constexpr int32_t kSupersampling = 4;
inline constexpr wchar_t kWidestMessage[] = L"Computer Win 58 stones";
inline constexpr int32_t kMessageTextLimit = 63;

struct LayoutRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

struct HolePlace {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// Window i shows board counter i: the user's pits 0-5 left to right along the
// bottom, their store 6 on the right, the computer's pits 7-12 right to left
// along the top, its store 13 on the left (anticlockwise).
inline constexpr std::array<HolePlace, 14> holeLayout{{
    {82, 145, kPitSize, kPitSize},
    {159, 145, kPitSize, kPitSize},
    {236, 145, kPitSize, kPitSize},
    {313, 145, kPitSize, kPitSize},
    {390, 145, kPitSize, kPitSize},
    {467, 145, kPitSize, kPitSize},
    {544, 70, kPitSize, kStoreHeight},
    {467, 5, kPitSize, kPitSize},
    {390, 5, kPitSize, kPitSize},
    {313, 5, kPitSize, kPitSize},
    {236, 5, kPitSize, kPitSize},
    {159, 5, kPitSize, kPitSize},
    {82, 5, kPitSize, kPitSize},
    {5, 70, kPitSize, kStoreHeight},
}};

inline constexpr bool isStore(int32_t index) {
    return index == 6 || index == 13;
}

// Only the user's own pits report a click.
inline constexpr bool notifiesClick(int64_t index) {
    return index >= 0 && index < 6;
}

// Centres the board in the parent; a narrow parent lets it overhang on the left.
inline constexpr int32_t boardX(int32_t availableWidth) {
    return (availableWidth - kBoardWidth) / 2;
}

// The rectangle the message is centred in, from the extent of the widest
// message; kept inside the room between the stores and between the rows.
LayoutRect messageRectFor(int32_t textWidth, int32_t textHeight);

// Averages each square of 4 x 4 canvas pixels into one image pixel, every
// byte (colour channel) on its own, rounding down. The canvas is 4 * width by
// 4 * height pixels, row after row.
void boxFilter(std::span<const uint32_t> canvas, int32_t width, int32_t height,
               std::span<uint32_t> image);

} // namespace pebbo
