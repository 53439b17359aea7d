#include "tools/media/MediaFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace pebbo {
namespace {

// Run under every build, so it also proves the generator gives the same bytes
// whatever compiler and maths library built it.
TEST(MediaFiles, CommittedResourcesAreExactlyTheGeneratorsOutput) {
    std::vector<std::string> paths;
    for (const MediaFile& file : mediaFiles()) {
        paths.push_back(file.path);
        std::ifstream committed(PEBBO_SOURCE_DIR "/resources/" + file.path, std::ios::binary);
        // On failure: cmake --build <build folder> --target regenerate-media, then commit.
        EXPECT_TRUE(std::vector<uint8_t>(std::istreambuf_iterator<char>(committed), {}) ==
                    file.bytes)
            << file.path << " differs from the generator's output";
    }
    // The files PebboPlay.rc carries.
    EXPECT_EQ(paths,
              (std::vector<std::string>{"sounds/pop.wav", "sounds/hero.wav", "sounds/submarine.wav",
                                        "sounds/tink.wav", "icon/pebbo.ico"}));
}

} // namespace
} // namespace pebbo
