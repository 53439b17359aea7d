#pragma once

#include "tools/media/IconArt.h"

#include <cstdint>
#include <vector>

namespace pebbo {

// An icon file holding each picture as a 32-bit BGRA bitmap with its AND mask
// (set where the picture is fully transparent, for systems that ignore alpha).
std::vector<uint8_t> encodeIco(const std::vector<RgbaImage>& images);

} // namespace pebbo
