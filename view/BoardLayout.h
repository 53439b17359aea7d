#pragma once

#include <algorithm>
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

// The user's row evenly spaced left to right along the bottom, the computer's
// row its mirror along the top, the stores beyond the ends of the rows and
// centred between them, all inside the board.
inline constexpr bool holesGoRoundTheBoard() {
    for (int32_t i = 0; i < 14; ++i) {
        const HolePlace& place = holeLayout[i];
        const bool shaped =
            place.width == kPitSize && place.height == (isStore(i) ? kStoreHeight : kPitSize);
        const bool inside = place.x >= 0 && place.y >= 0 && place.x + place.width <= kBoardWidth &&
                            place.y + place.height <= kBoardHeight;
        if (!shaped || !inside) {
            return false;
        }
    }
    for (int32_t i = 1; i < 6; ++i) {
        const HolePlace& user = holeLayout[i];
        const HolePlace& mirror = holeLayout[12 - i];
        if (user.y != holeLayout[0].y ||
            user.x - holeLayout[i - 1].x != holeLayout[1].x - holeLayout[0].x ||
            mirror.x != user.x || mirror.y + kPitSize != kBoardHeight - user.y) {
            return false;
        }
    }
    const HolePlace& user = holeLayout[6];
    const HolePlace& computer = holeLayout[13];
    return holeLayout[12].x == holeLayout[0].x && computer.x + kPitSize <= holeLayout[0].x &&
           user.x >= holeLayout[5].x + kPitSize && 2 * user.y + kStoreHeight == kBoardHeight &&
           computer.y == user.y;
}
static_assert(holesGoRoundTheBoard());

// Only the user's own pits report a click.
inline constexpr bool notifiesClick(int64_t index) {
    return index >= 0 && index < 6;
}
static_assert(notifiesClick(0) && notifiesClick(5) && !notifiesClick(6) && !notifiesClick(13) &&
              !notifiesClick(-1));

// Centres the board in the parent; a narrow parent lets it overhang on the left.
inline constexpr int32_t boardX(int32_t availableWidth) {
    return (availableWidth - kBoardWidth) / 2;
}
static_assert(boardX(607) == 4 && boardX(598) == 0 && boardX(578) == -10 && boardX(595) == -1);

// The rectangle the message is centred in, from the extent of the widest
// message; kept inside the room between the stores and between the rows.
inline constexpr LayoutRect messageRectFor(int32_t textWidth, int32_t textHeight) {
    constexpr int32_t roomBetweenStores = holeLayout[6].x - kPitSize - holeLayout[13].x;
    constexpr int32_t roomBetweenRows = holeLayout[0].y - kPitSize - holeLayout[12].y;
    const int32_t width = std::min(textWidth + 5, roomBetweenStores) - 2;
    const int32_t height = std::min(textHeight + 3, roomBetweenRows) - 2;
    const int32_t left = (kBoardWidth - width) / 2;
    const int32_t top = (kBoardHeight - height) / 2;
    return {left, top, left + width, top + height};
}
static_assert(messageRectFor(100, 16) == LayoutRect{247, 91, 350, 108});
// However large the text, the rectangle stays clear of the stores and the rows.
static_assert(messageRectFor(1000, 500).left >= holeLayout[13].x + kPitSize &&
              messageRectFor(1000, 500).right <= holeLayout[6].x &&
              messageRectFor(1000, 500).top >= holeLayout[12].y + kPitSize &&
              messageRectFor(1000, 500).bottom <= holeLayout[0].y);

// Averages each square of 4 x 4 canvas pixels into one image pixel, every
// byte (colour channel) on its own, rounding down. The canvas is 4 * width by
// 4 * height pixels, row after row.
void boxFilter(std::span<const uint32_t> canvas, int32_t width, int32_t height,
               std::span<uint32_t> image);

} // namespace pebbo
