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
    FileFixture() { std::filesystem::create_directories(folder); }
    ~FileFixture() override { std::filesystem::remove_all(folder); }

    void write(const std::string& bytes) const { std::ofstream(file, std::ios::binary) << bytes; }
    std::string read() const {
        return {std::istreambuf_iterator<char>(std::ifstream(file, std::ios::binary).rdbuf()), {}};
    }

    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("pebbo-files-" + std::to_string(std::random_device()()) +
                                          "-" + std::to_string(std::random_device()()));
    const std::filesystem::path file = folder / "file.txt";
};

} // namespace pebbo::testing
