#pragma once

#include "game/Game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace pebbo::testing {

using Texts = std::vector<std::string>;

// Real pauses of the fakes and of the test's polling. Windows cannot sleep for
// less than a millisecond (a shorter sleep only yields, and polling threads
// then starve the others).
#ifdef _WIN32
inline constexpr std::chrono::microseconds kRealPause{1000};
#else
inline constexpr std::chrono::microseconds kRealPause{200};
#endif

inline Texts operator+(Texts a, const Texts& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Names the calling thread for its whole life; unlike std::thread::id never
// reused by a later thread.
inline uint64_t threadSerial() {
    static std::atomic<uint64_t> next{1};
    thread_local const uint64_t serial = next++;
    return serial;
}

struct Event {
    uint64_t thread;
    std::string text;
};

// Everything the fakes were asked to do, in order, with the asking thread.
class EventLog {
public:
    void add(std::string text) {
        std::lock_guard lock(mutex);
        events.push_back({threadSerial(), std::move(text)});
    }
    size_t size() const {
        std::lock_guard lock(mutex);
        return events.size();
    }
    std::vector<Event> since(size_t from) const {
        std::lock_guard lock(mutex);
        return {events.begin() + static_cast<std::ptrdiff_t>(std::min(from, events.size())),
                events.end()};
    }
    // The texts that `thread` recorded since `from`.
    std::vector<std::string> of(uint64_t thread, size_t from = 0) const {
        std::vector<std::string> texts;
        for (const Event& event : since(from))
            if (event.thread == thread)
                texts.push_back(event.text);
        return texts;
    }

private:
    mutable std::mutex mutex;
    std::vector<Event> events;
};

// Virtual milliseconds: a sleep is recorded and moves the time on, and yields
// briefly in real time so that the other threads progress.
class FakeClock final : public Clock {
public:
    explicit FakeClock(EventLog* eventLog) : log(eventLog) {}
    uint64_t tickCount() override { return now; }
    void sleep(uint32_t milliseconds) override {
        if (recordSleeps)
            log->add("sleep " + std::to_string(milliseconds));
        now += milliseconds;
        std::this_thread::sleep_for(kRealPause);
    }
    void advance(uint64_t milliseconds) { now += milliseconds; }
    void set(uint64_t milliseconds) { now = milliseconds; }

    std::atomic<bool> recordSleeps{true};

private:
    EventLog* log;
    std::atomic<uint64_t> now{5'000'000};
};

class FakeSounds final : public SoundBank {
public:
    explicit FakeSounds(EventLog& eventLog) : log(eventLog) {}
    void load() override { log.add("load"); }
    void play(Sound sound) override {
        static const char* const names[] = {"Pop", "Hero", "Submarine", "Tink"};
        log.add(std::string("sound ") + names[static_cast<int>(sound)]);
    }

private:
    EventLog& log;
};

// A blocking point a test opens when it is ready; a released gate never blocks.
class Gate {
public:
    void close() {
        std::lock_guard lock(mutex);
        closed = true;
    }
    void open() {
        {
            std::lock_guard lock(mutex);
            closed = false;
        }
        changed.notify_all();
    }
    // Waits while closed, unless `giveUp` turns true (tested every millisecond).
    void pass(const std::function<bool()>& giveUp = [] { return false; }) {
        std::unique_lock lock(mutex);
        while (closed && !giveUp())
            changed.wait_for(lock, std::chrono::milliseconds(1));
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    bool closed = false;
};

class FakeController final : public GameController {
public:
    explicit FakeController(EventLog& eventLog) : log(eventLog) {}
    void showStatus(int32_t index) override { log.add("status " + std::to_string(index)); }
    void setStatusNumber(int32_t number) override { log.add("number " + std::to_string(number)); }
    void setWinner(bool computerWins) override {
        log.add("winner " + std::to_string(computerWins));
    }
    void updatePit(int32_t pit, int32_t count, int32_t colorIndex) override {
        pitGate.pass();
        log.add("pit " + std::to_string(pit) + " " + std::to_string(count) + " " +
                std::to_string(colorIndex));
    }
    void refreshPits() override { log.add("refresh"); }
    void setStatsLive(bool isLive) override {
        live = isLive;
        log.add("live " + std::to_string(isLive));
    }
    void refreshStats() override {
        Game* shownGame = game;
        if (!live || shownGame == nullptr)
            return;
        log.add("stats " + narrow(shownGame->statisticsText(0)) + "|" +
                narrow(shownGame->statisticsText(1)) + "|" + narrow(shownGame->statisticsText(2)));
    }
    void startStatsTimer() override { log.add("timer on"); }
    void stopStatsTimer() override { log.add("timer off"); }

    std::atomic<Game*> game{nullptr};
    Gate pitGate;

private:
    static std::string narrow(const std::wstring& text) { return {text.begin(), text.end()}; }
    EventLog& log;
    std::atomic<bool> live{false};
};

// The root search with a script: by default the engine's own search; a test may
// replace the results, the deepest depth reached and the time an iteration takes.
class ScriptedSearch final : public MoveSearch {
public:
    struct Call {
        int32_t side;
        int32_t depthLimit;
        bool freshStart;
        Board root;
    };
    using Script = std::function<void(Searcher&, const Board&, RootResults&, int32_t call)>;

    ScriptedSearch(EventLog& eventLog, FakeClock& fakeClock) : log(eventLog), clock(fakeClock) {}

    void searchRoot(Searcher& searcher, const Board& root, RootResults& results,
                    bool freshStart) override {
        log.add("search side=" + std::to_string(root.sideToMove) + " depth=" +
                std::to_string(searcher.depthLimit) + " fresh=" + std::to_string(freshStart));
        const int32_t call = record({root.sideToMove, searcher.depthLimit, freshStart, root});
        if (root.sideToMove == 0)
            computerGate.pass([&] { return searcher.running == 0; });
        Script script = scriptFor(root.sideToMove);
        if (script) {
            script(searcher, root, results, call);
        } else {
            engineSearch().searchRoot(searcher, root, results, freshStart);
        }
        if (root.sideToMove == 0)
            clock.advance(iterationMilliseconds);
    }

    std::vector<Call> calls(int32_t side) const {
        std::lock_guard lock(mutex);
        std::vector<Call> found;
        for (const Call& call : all)
            if (call.side == side)
                found.push_back(call);
        return found;
    }
    void clear() {
        std::lock_guard lock(mutex);
        all.clear();
    }
    void setScript(int32_t side, Script script) {
        std::lock_guard lock(mutex);
        (side == 0 ? computerScript : analysisScript) = std::move(script);
    }

    std::atomic<uint64_t> iterationMilliseconds{0}; // virtual time one computer search takes
    Gate computerGate;

private:
    int32_t record(const Call& call) {
        std::lock_guard lock(mutex);
        all.push_back(call);
        int32_t count = 0;
        for (const Call& previous : all)
            count += previous.side == call.side;
        return count - 1;
    }
    Script scriptFor(int32_t side) const {
        std::lock_guard lock(mutex);
        return side == 0 ? computerScript : analysisScript;
    }

    EventLog& log;
    FakeClock& clock;
    mutable std::mutex mutex;
    std::vector<Call> all;
    Script computerScript;
    Script analysisScript;
};

// Results as a script gives them: every legal move of the root with the key
// `keyOf(move)`; the search "reaches" the depth it was asked for.
inline ScriptedSearch::Script keyedMoves(std::function<int32_t(int32_t move, int32_t call)> keyOf) {
    return [keyOf](Searcher& searcher, const Board& root, RootResults& results, int32_t call) {
        results.clear();
        for (int32_t move = 0; move < 6; ++move)
            if (root.isLegal(move))
                results.emplace(keyOf(move, call), move);
        searcher.deepestDepth = searcher.depthLimit;
    };
}

// A Game with recording fakes round it, driven from the test thread as the
// user-interface thread.
class GameFixture : public ::testing::Test {
protected:
    GameFixture() : clock(&log), controller(log), sounds(log), search(log, clock), settings({}) {}
    ~GameFixture() override { destroyGame(); }

    void createGame() {
        game = std::make_unique<Game>(controller, settings, sounds, clock, search);
        controller.game = game.get();
    }
    void destroyGame() {
        controller.game = nullptr;
        game.reset();
    }

    // Index of the first event since `from` that satisfies `match`; fails the
    // test instead of hanging when none comes.
    size_t waitFor(size_t from, const std::function<bool(const std::string&)>& match) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (;;) {
            const std::vector<Event> events = log.since(from);
            for (size_t i = 0; i < events.size(); ++i)
                if (match(events[i].text))
                    return from + i;
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "the awaited event never came; the last ones:" << lastEvents();
                throw std::runtime_error("watchdog");
            }
            std::this_thread::sleep_for(kRealPause);
        }
    }
    size_t waitFor(size_t from, const std::string& text) {
        return waitFor(from, [&](const std::string& event) { return event == text; });
    }
    std::string lastEvents() const {
        const size_t size = log.size();
        std::string last;
        for (const Event& event : log.since(size > 150 ? size - 150 : 0))
            last += "\n  " + std::to_string(event.thread) + ": " + event.text;
        return last;
    }

    // The end of the turn that follows a user move: "Your Turn" or a result.
    size_t waitForTurnEnd(size_t from) {
        return waitFor(from, [](const std::string& event) {
            return event == "status 0" || event == "status 2" || event == "status 5";
        });
    }

    // Plays the user's pit once the Game accepts it (it refuses while the
    // computer's turn thread is still ending); an accepted move always shows
    // its pit first, and a repeated call is refused while that move runs.
    void play(int32_t pit) {
        const std::string prefix = "pit " + std::to_string(pit) + " ";
        const size_t from = log.size(); // an accepted call may show itself late
        for (int attempt = 0; attempt < 100; ++attempt) {
            game->userMove(pit);
            for (int wait = 0; wait < 500; ++wait) {
                for (const Event& event : log.since(from))
                    if (event.text.rfind(prefix, 0) == 0)
                        return;
                std::this_thread::sleep_for(kRealPause);
            }
        }
        ADD_FAILURE() << "move " << pit << " was never accepted; the last events:" << lastEvents();
        throw std::runtime_error("move refused");
    }

    // One user move chosen by `choose` among the legal ones, then whatever
    // follows it: the user's next move after an extra turn, else the computer's
    // turn or the end of the game. True when the game is over; its end message
    // is checked against the final position.
    bool playOneTurn(const std::function<int32_t(const std::vector<int32_t>&)>& choose) {
        Board mirror;
        mirror.stones = game->shownCounts();
        std::vector<int32_t> legal;
        for (int32_t pit = 0; pit < 6; ++pit)
            if (mirror.isLegal(pit))
                legal.push_back(pit);
        if (legal.empty()) {
            ADD_FAILURE() << "the user has no move in a game that goes on";
            throw std::runtime_error("no move");
        }
        const int32_t pit = choose(legal);
        const MoveResult result = mirror.makeMove(pit);
        const size_t from = log.size();
        play(pit);
        if (result == MoveResult::ExtraTurn && !mirror.sweepIfEmpty(1)) {
            // The last step of that move's animation shows the store at rest.
            waitFor(from, "pit 6 " + std::to_string(mirror.stones[kUserStore]) + " 0");
            return false;
        }
        const size_t end = waitForTurnEnd(from);
        const Event ending = log.since(end).front();
        if (ending.text == "status 0")
            return false;
        expectRightResult(ending.thread, from);
        return true;
    }

    // The result message names the winner and margin of the final position.
    void expectRightResult(uint64_t thread, size_t from) {
        const auto final = game->shownCounts();
        int32_t total = 0;
        int32_t userRow = 0;
        int32_t computerRow = 0;
        for (int32_t pit = 0; pit < kPitCount; ++pit)
            total += final[pit];
        for (int32_t pit = 0; pit < 6; ++pit) {
            userRow += final[pit];
            computerRow += final[7 + pit];
        }
        EXPECT_EQ(total, kStoneTotal);
        EXPECT_TRUE(userRow == 0 && computerRow == 0) << "the last sweep is shown";
        std::vector<std::string> texts = log.of(thread, from);
        const int32_t difference = final[kUserStore] - final[kComputerStore];
        std::vector<std::string> expected = {"refresh", "status 2"};
        if (difference != 0)
            expected = {"refresh", "winner " + std::to_string(difference < 0),
                        "number " + std::to_string(std::abs(difference)), "status 5"};
        ASSERT_GE(texts.size(), expected.size());
        texts.erase(texts.begin(), texts.end() - static_cast<std::ptrdiff_t>(expected.size()));
        EXPECT_EQ(texts, expected);
        ++outcomes[difference > 0 ? 0 : difference < 0 ? 1 : 2];
    }

    // The first legal pit whose move hands the turn to the computer.
    int32_t normalUserPit() const {
        for (int32_t pit = 0; pit < 6; ++pit) {
            Board mirror;
            mirror.stones = game->shownCounts();
            if (mirror.isLegal(pit) && mirror.makeMove(pit) != MoveResult::ExtraTurn &&
                mirror.gameContinues())
                return pit;
        }
        ADD_FAILURE() << "no move hands the turn over";
        throw std::runtime_error("no move");
    }

    int32_t firstLegalUserPit() const {
        const auto shown = game->shownCounts();
        for (int32_t pit = 0; pit < 6; ++pit)
            if (shown[pit] > 0)
                return pit;
        return -1;
    }

    EventLog log;
    FakeClock clock;
    FakeController controller;
    FakeSounds sounds;
    ScriptedSearch search;
    Settings settings;
    std::unique_ptr<Game> game;
    std::array<int32_t, 3> outcomes{}; // games won by the user, by the computer, drawn
};

} // namespace pebbo::testing
