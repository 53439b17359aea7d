#pragma once

#include <utility>

namespace pebbo {

// Owns one operating-system handle and closes it once. `Traits` names the
// handle type (`Handle`), the value that owns nothing (`invalid()`) and the
// close call (`close(handle)`, true on success).
template <class Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    explicit UniqueHandle(Handle owned = Traits::invalid()) : handle(owned) {}
    ~UniqueHandle() { close(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle(std::exchange(other.handle, Traits::invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        std::swap(handle, other.handle);
        return *this;
    }

    Handle get() const { return handle; }
    explicit operator bool() const { return handle != Traits::invalid(); }
    // Closes now rather than at the end of the scope: a file's late write
    // errors surface here. True when there was nothing to close.
    bool close() {
        const Handle owned = std::exchange(handle, Traits::invalid());
        return owned == Traits::invalid() || Traits::close(owned);
    }

private:
    Handle handle;
};

} // namespace pebbo
