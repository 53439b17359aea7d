#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace pebbo {

// The Game's worker threads. Each is joined once it has finished (when the next
// one starts, or at the end), never detached: with the MinGW-w64 thread library
// a detached thread can fail to run at all.
class GameThreads {
public:
    GameThreads() = default;
    GameThreads(const GameThreads&) = delete;
    GameThreads& operator=(const GameThreads&) = delete;
    ~GameThreads() { joinAll(); }

    // Safe from any thread, including a worker of this set.
    void start(std::function<void()> body);
    // Waits for every thread; only the owner calls this, once no worker starts any more.
    void joinAll();

private:
    struct Worker {
        std::unique_ptr<std::atomic<bool>> finished;
        std::thread thread;
    };
    void joinFinished(); // under `mutex`

    std::mutex mutex;
    std::list<Worker> workers;
};

} // namespace pebbo
