#pragma once

#include <windows.h>

#include "app/UniqueHandle.h"

namespace pebbo {

// Kernel objects: a thread, a file. Most calls report failure as a null
// handle, CreateFile as INVALID_HANDLE_VALUE.
struct KernelObject {
    using Handle = HANDLE;
    static Handle invalid() { return nullptr; }
    static bool close(Handle handle) { return CloseHandle(handle) != 0; }
};

struct KernelFile : KernelObject {
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
};

using KernelHandle = UniqueHandle<KernelObject>;
using FileHandle = UniqueHandle<KernelFile>;

} // namespace pebbo
