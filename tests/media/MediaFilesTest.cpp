#include "tools/media/MediaFiles.h"

#include "tests/media/ResourceBytes.h"

#include <gtest/gtest.h>

namespace pebbo {
namespace {

TEST(MediaFiles, CommittedResourcesAreExactlyTheGeneratorsOutput) {
    const std::vector<MediaFile> files = mediaFiles();
    std::vector<std::string> paths;
    for (const MediaFile& file : files) {
        paths.push_back(file.path);
        const std::vector<uint8_t> committed = readResource(file.path);
        ASSERT_FALSE(committed.empty()) << file.path << " is missing";
        // On failure: cmake --build <build folder> --target regenerate-media, then commit.
        EXPECT_TRUE(committed == file.bytes) << file.path << " differs from the generator's output";
    }
    EXPECT_EQ(paths,
              (std::vector<std::string>{"sounds/pop.wav", "sounds/hero.wav", "sounds/submarine.wav",
                                        "sounds/tink.wav", "icon/pebbo.ico"}));

    const std::vector<MediaFile> again = mediaFiles();
    ASSERT_EQ(again.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_TRUE(again[i].bytes == files[i].bytes) << files[i].path << " is not deterministic";
    }
}

} // namespace
} // namespace pebbo
