#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pebbo {

// A committed file under resources/, empty when it cannot be read.
inline std::vector<uint8_t> readResource(const std::string& relativePath) {
    std::ifstream in(std::string(PEBBO_SOURCE_DIR) + "/resources/" + relativePath,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline uint32_t le16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

inline uint32_t le32(const std::vector<uint8_t>& bytes, size_t at) {
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

inline std::string tagAt(const std::vector<uint8_t>& bytes, size_t at) {
    if (at + 4 > bytes.size()) {
        return {};
    }
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

} // namespace pebbo
