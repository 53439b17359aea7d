#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pebbo {

struct MediaFile {
    std::string path; // relative to resources/
    std::vector<uint8_t> bytes;
};

// Every generated resource file: the four sounds and the icon.
std::vector<MediaFile> mediaFiles();

} // namespace pebbo
