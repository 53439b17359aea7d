#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "app/UniqueHandle.h"

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace pebbo {
namespace {

// A POSIX file descriptor: -1 owns nothing.
struct Descriptor {
    using Handle = int;
    static Handle invalid() { return -1; }
    static bool close(Handle descriptor) { return ::close(descriptor) == 0; }
};

bool writeAll(int fd, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            return false;
        written += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

std::filesystem::path defaultSettingsFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/')
        return std::filesystem::path(config) / "PebboSettings.txt";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return std::filesystem::path(home) / ".config" / "PebboSettings.txt";
    return {};
}

bool replaceFileContent(const std::filesystem::path& file, const std::string& bytes) {
    std::error_code error;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), error);
    std::filesystem::path temp = file;
    temp += ".tmp";
    UniqueHandle<Descriptor> out(
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!out)
        return false;
    const bool ok = writeAll(out.get(), bytes) && ::fsync(out.get()) == 0 && out.close() &&
                    ::rename(temp.c_str(), file.c_str()) == 0;
    if (!ok)
        std::filesystem::remove(temp, error);
    return ok;
}

} // namespace pebbo
