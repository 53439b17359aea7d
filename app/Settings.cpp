#include "app/Settings.h"

#include "app/SettingsFile.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>

namespace pebbo {
namespace {

constexpr std::array<int32_t, kColorCount> kDefaultColors = {2631720, 16777215, 0,        51200,
                                                             237,     45568,    11665408, 52685};

// The order in which the keys are written and searched for in a line.
constexpr std::array<std::string_view, 13> kKeys = {
    "Level=",  "Animate=", "AnimateBest=", "Sound=",  "ShowTech=", "Color0=", "Color1=",
    "Color2=", "Color3=",  "Color4=",      "Color5=", "Color6=",   "Color7="};

// The file was always read a line at a time into a buffer of this many
// characters; a longer line is taken in pieces, each piece handled as a line.
constexpr size_t kPieceLength = 254;

// Base-10 conversion as wcstol does it, clamped to 32 bits (long may be 64).
int32_t readNumber(const std::string& piece, size_t position) {
    const long value = std::strtol(piece.c_str() + position, nullptr, 10);
    return static_cast<int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

std::atomic<int32_t>* intField(Settings& settings, size_t key) {
    if (key == 0)
        return &settings.level;
    return &settings.colors[key - 5];
}

std::atomic<uint8_t>* switchField(Settings& settings, size_t key) {
    switch (key) {
    case 1:
        return &settings.animate;
    case 2:
        return &settings.animateBest;
    case 3:
        return &settings.sound;
    case 4:
        return &settings.showTech;
    default:
        return nullptr;
    }
}

void applyPiece(Settings& settings, const std::string& piece) {
    // A NUL byte ends the piece's text, as it ends a C string: keys after it are not seen.
    const std::string_view text(piece.c_str());
    for (size_t key = 0; key < kKeys.size(); ++key) {
        if (text.find(kKeys[key]) == std::string_view::npos)
            continue;
        // The number is read at the key's length from the start of the piece,
        // wherever the key was found.
        const int32_t value = readNumber(piece, kKeys[key].size());
        if (std::atomic<uint8_t>* flag = switchField(settings, key))
            flag->store(value != 0 ? 1 : 0);
        else
            intField(settings, key)->store(value);
        return;
    }
}

} // namespace

Settings::Settings(std::filesystem::path file) : path(std::move(file)) {
    load();
}

void Settings::setDefaults() {
    showTech = 1;
    animate = 1;
    animateBest = 1;
    sound = 1;
    level = kMaxLevel;
    for (int32_t i = 0; i < kColorCount; ++i)
        colors[i] = kDefaultColors[i];
}

void Settings::load() {
    setDefaults();
    if (path.empty())
        return;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return;
    parse(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

void Settings::parse(const std::string& text) {
    // CR LF reads as LF, as the text-mode reader always saw it.
    std::string piece;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        piece += c;
        if (c == '\n' || piece.size() == kPieceLength) {
            applyPiece(*this, piece);
            piece.clear();
        }
    }
    if (!piece.empty())
        applyPiece(*this, piece);
}

std::string Settings::format() const {
    const std::array<int32_t, 5> values = {level, animate ? 1 : 0, animateBest ? 1 : 0,
                                           sound ? 1 : 0, showTech ? 1 : 0};
    std::string text;
    for (size_t key = 0; key < kKeys.size(); ++key) {
        const int32_t value =
            key < values.size() ? values[key] : colors[key - values.size()].load();
        text += kKeys[key];
        text += std::to_string(value);
        text += "\r\n";
    }
    return text;
}

bool Settings::save() const {
    if (path.empty())
        return false;
    return replaceFileContent(path, format());
}

int32_t validLevel(int32_t level) {
    return std::clamp(level, 0, kMaxLevel);
}

} // namespace pebbo
