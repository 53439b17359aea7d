#include "game/GameThreads.h"

namespace pebbo {

void GameThreads::start(std::function<void()> body) {
    std::lock_guard lock(mutex);
    joinFinished();
    auto finished = std::make_unique<std::atomic<bool>>(false);
    std::atomic<bool>* done = finished.get();
    workers.push_back({std::move(finished), std::thread([body = std::move(body), done] {
                           body();
                           *done = true;
                       })});
}

void GameThreads::joinAll() {
    std::list<Worker> all;
    {
        std::lock_guard lock(mutex);
        all.swap(workers);
    }
    for (Worker& worker : all)
        worker.thread.join();
}

// A finished thread is at its very end, so joining it takes no time.
void GameThreads::joinFinished() {
    for (auto worker = workers.begin(); worker != workers.end();) {
        if (*worker->finished) {
            worker->thread.join();
            worker = workers.erase(worker);
        } else {
            ++worker;
        }
    }
}

} // namespace pebbo
