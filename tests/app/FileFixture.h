#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace pebbo::testing {

// A fresh folder per test, removed afterwards, with one file in it to read and write.
class FileFixture : public ::testing::Test {
protected:
    explicit FileFixture(const char* name) : fileName(name) {}
    void SetUp() override {
        std::random_device seed;
        folder = std::filesystem::temp_directory_path() /
                 ("pebbo-files-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(folder);
        file = folder / fileName;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void write(const std::string& bytes) const { std::ofstream(file, std::ios::binary) << bytes; }
    std::string read() const {
        return {std::istreambuf_iterator<char>(std::ifstream(file, std::ios::binary).rdbuf()), {}};
    }

    const char* fileName;
    std::filesystem::path folder;
    std::filesystem::path file;
};

} // namespace pebbo::testing
