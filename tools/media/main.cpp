// pebbo-media RESOURCES_FOLDER
// Writes the four sounds and the icon the Windows build carries as resources.
#include "tools/media/MediaFiles.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pebbo-media RESOURCES_FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    for (const pebbo::MediaFile& file : pebbo::mediaFiles()) {
        const std::filesystem::path path = folder / file.path;
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "pebbo-media: cannot write %s\n", path.string().c_str());
            return 1;
        }
    }
    return 0;
}
