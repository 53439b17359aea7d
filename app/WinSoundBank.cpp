#include "app/WinSoundBank.h"

#include <mmsystem.h>

#include "app/KernelHandle.h"

namespace pebbo {

namespace {
// In the order of the Sound values.
constexpr std::array<const wchar_t*, 4> kNames{L"Pop", L"Hero", L"Submarine", L"Tink"};

size_t indexOf(Sound sound) {
    return static_cast<size_t>(sound);
}

DWORD WINAPI playSound(void* data) {
    sndPlaySoundW(static_cast<const wchar_t*>(data), SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
    return 0;
}
} // namespace

void WinSoundBank::load() {
    for (size_t i = 0; i < kNames.size(); ++i) {
        const void* data = nullptr;
        // Resources of the module live as long as it does: nothing to free.
        if (HRSRC found = FindResourceW(module_, kNames[i], L"WAVE")) {
            if (HGLOBAL loaded = LoadResource(module_, found)) {
                data = LockResource(loaded);
            }
        }
        sounds_[i].store(data);
    }
}

void WinSoundBank::play(Sound sound) {
    const void* data = this->data(sound);
    if (data == nullptr) {
        return;
    }
    // A thread of its own at the top priority, so the sound starts the moment
    // its stone is shown; the playback itself is asynchronous and outlives it.
    // A native thread whose handle is closed at once: a detached std::thread of
    // this runtime sometimes never starts under Wine.
    const KernelHandle thread(
        CreateThread(nullptr, 0, playSound, const_cast<void*>(data), CREATE_SUSPENDED, nullptr));
    if (!thread) {
        return;
    }
    SetThreadPriority(thread.get(), THREAD_PRIORITY_TIME_CRITICAL);
    ResumeThread(thread.get());
}

const void* WinSoundBank::data(Sound sound) const {
    const size_t index = indexOf(sound);
    return index < sounds_.size() ? sounds_[index].load() : nullptr;
}

} // namespace pebbo
