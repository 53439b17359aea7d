#pragma once

#include <filesystem>
#include <string>

namespace pebbo {

// Writes `bytes` to a temporary file next to `file`, flushes it to the disk and
// renames it over `file`; on failure `file` keeps its old content.
bool replaceFileContent(const std::filesystem::path& file, const std::string& bytes);

} // namespace pebbo
