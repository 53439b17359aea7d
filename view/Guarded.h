#pragma once

#include <mutex>

namespace pebbo {

// A value that game threads write and the paint reads: every access holds the
// lock, so no paint sees half of a change.
template <class Value> class Guarded {
public:
    Value get() const {
        std::lock_guard lock(mutex);
        return value;
    }
    // Runs change(value) under the lock and returns what it returns.
    template <class Change> auto update(Change change) {
        std::lock_guard lock(mutex);
        return change(value);
    }

private:
    mutable std::mutex mutex;
    Value value{};
};

} // namespace pebbo
