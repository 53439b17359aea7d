#include "app/KernelHandle.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"

#include <windows.h>

#include <shlobj.h>

namespace pebbo {

std::filesystem::path defaultSettingsFile() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, folder)))
        return {};
    return std::filesystem::path(std::wstring(folder) + L"\\PebboSettings.txt");
}

bool replaceFileContent(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::path temp = file;
    temp += ".tmp";
    FileHandle out(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(out.get()) && out.close() &&
        MoveFileExW(temp.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileW(temp.c_str());
    return ok;
}

} // namespace pebbo
