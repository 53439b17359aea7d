#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace pebbo {

// Appends little-endian fields, the byte order of both RIFF and icon files.
class ByteWriter {
public:
    void u8(uint32_t value) { bytes_.push_back(static_cast<uint8_t>(value)); }
    void u16(uint32_t value) {
        u8(value & 0xFF);
        u8((value >> 8) & 0xFF);
    }
    void u32(uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void i16(int16_t value) { u16(static_cast<uint16_t>(value)); }
    void tag(std::string_view fourCharacters) {
        for (char c : fourCharacters) {
            u8(static_cast<uint8_t>(c));
        }
    }

    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

} // namespace pebbo
