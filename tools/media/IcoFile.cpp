#include "tools/media/IcoFile.h"

#include "tools/media/ByteWriter.h"

#include <cassert>

namespace pebbo {

namespace {

constexpr uint32_t kDirectorySize = 6;
constexpr uint32_t kEntrySize = 16;
constexpr uint32_t kInfoHeaderSize = 40;

uint32_t maskRowBytes(int32_t size) {
    return (static_cast<uint32_t>(size) + 31) / 32 * 4;
}

uint32_t imageBytes(int32_t size) {
    const auto side = static_cast<uint32_t>(size);
    return kInfoHeaderSize + side * side * 4 + maskRowBytes(size) * side;
}

void writeImage(ByteWriter& out, const RgbaImage& image) {
    const int32_t size = image.size;
    const auto side = static_cast<uint32_t>(size);
    out.u32(kInfoHeaderSize);
    out.u32(side);
    out.u32(2 * side); // colour rows and mask rows together
    out.u16(1);        // planes
    out.u16(32);       // bits per pixel
    out.u32(0);        // uncompressed
    out.u32(imageBytes(size) - kInfoHeaderSize);
    out.u32(0);
    out.u32(0);
    out.u32(0);
    out.u32(0);

    auto at = [&](int32_t x, int32_t y, int32_t channel) {
        return image.rgba[static_cast<size_t>((y * size + x) * 4 + channel)];
    };
    // Both bitmaps are stored bottom row first.
    for (int32_t y = size - 1; y >= 0; --y) {
        for (int32_t x = 0; x < size; ++x) {
            out.u8(at(x, y, 2));
            out.u8(at(x, y, 1));
            out.u8(at(x, y, 0));
            out.u8(at(x, y, 3));
        }
    }
    for (int32_t y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskRowBytes(size), 0);
        for (int32_t x = 0; x < size; ++x) {
            if (at(x, y, 3) == 0) {
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        for (uint8_t byte : row) {
            out.u8(byte);
        }
    }
}

} // namespace

std::vector<uint8_t> encodeIco(const std::vector<RgbaImage>& images) {
    ByteWriter out;
    out.u16(0); // reserved
    out.u16(1); // icon, not cursor
    out.u16(static_cast<uint32_t>(images.size()));

    uint32_t offset = kDirectorySize + kEntrySize * static_cast<uint32_t>(images.size());
    for (const RgbaImage& image : images) {
        assert(image.size > 0 && image.size < 256);
        out.u8(static_cast<uint32_t>(image.size));
        out.u8(static_cast<uint32_t>(image.size));
        out.u8(0); // no palette
        out.u8(0);
        out.u16(1);
        out.u16(32);
        out.u32(imageBytes(image.size));
        out.u32(offset);
        offset += imageBytes(image.size);
    }
    for (const RgbaImage& image : images) {
        writeImage(out, image);
    }
    return out.take();
}

} // namespace pebbo
