#pragma once

#include "game/Game.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace pebbo::testing {

using Texts = std::vector<std::string>;
using namespace std::chrono_literals;

// The fakes' real pauses. Windows cannot sleep for less than a millisecond (a
// shorter sleep only yields, and polling threads then starve the others).
#ifdef _WIN32
inline constexpr std::chrono::microseconds kRealPause{1000};
#else
inline constexpr std::chrono::microseconds kRealPause{200};
#endif

// Names the calling thread for its whole life, unlike a reusable std::thread::id.
inline uint64_t threadSerial() {
    static std::atomic<uint64_t> next{1};
    thread_local const uint64_t serial = next++;
    return serial;
}

// A point where a fake waits while a test keeps it closed, unless `giveUp`.
struct Gate {
    std::atomic<bool> closed{false};
    void pass(const std::function<bool()>& giveUp = [] { return false; }) const {
        while (closed && !giveUp())
            std::this_thread::sleep_for(kRealPause);
    }
};

struct Event {
    uint64_t thread;
    std::string text;
};

// Records all the Game asks of the window side, its sounds and its clock, in
// order and with the asking thread. A closed statusGate holds each shown status
// for a tenth of a second.
class Recorder final : public GameController, public SoundBank {
public:
    template <typename... Numbers> void add(std::string text, Numbers... numbers) {
        ((text += ' ', text += std::to_string(numbers)), ...);
        std::lock_guard lock(mutex);
        events.push_back({threadSerial(), std::move(text)});
    }
    size_t size() const {
        std::lock_guard lock(mutex);
        return forgotten + events.size();
    }
    Event at(size_t index) const {
        std::lock_guard lock(mutex);
        return events.at(index - forgotten);
    }
    // What `thread` (every thread: 0) recorded since `from`.
    Texts texts(size_t from, uint64_t thread = 0) const {
        std::lock_guard lock(mutex);
        Texts found;
        for (size_t i = std::max(from, forgotten) - forgotten; i < events.size(); ++i)
            if (thread == 0 || events[i].thread == thread)
                found.push_back(events[i].text);
        return found;
    }
    // What the thread that recorded the event at `index` recorded since.
    Texts threadAt(size_t index) const { return texts(index, at(index).thread); }
    void forget() { // keeps the indexes; long runs stay small
        std::lock_guard lock(mutex);
        forgotten += events.size();
        events.clear();
    }

    void showStatus(int32_t index) override {
        add("status", index);
        const auto end = std::chrono::steady_clock::now() + 100ms;
        statusGate.pass([end] { return std::chrono::steady_clock::now() > end; });
    }
    void setStatusNumber(int32_t number) override { add("number", number); }
    void setWinner(bool computerWins) override { add("winner", int32_t{computerWins}); }
    void updatePit(int32_t pit, int32_t count, int32_t color) override {
        pitGate.pass();
        add("pit", pit, count, color);
    }
    void refreshPits() override { add("refresh"); }
    void setStatsLive(bool isLive) override {
        live = isLive;
        add("live", int32_t{isLive});
    }
    void refreshStats() override {
        std::wstring text = L"stats";
        for (int32_t index = 0; index < 3 && live && game != nullptr; ++index)
            text += L" " + game.load()->statisticsText(index);
        add({text.begin(), text.end()});
    }
    void startStatsTimer() override { add("timer on"); }
    void stopStatsTimer() override { add("timer off"); }
    void load() override { add("load"); }
    void play(Sound sound) override {
        static const char* const names[] = {"Pop", "Hero", "Submarine", "Tink"};
        add(std::string("sound ") + names[static_cast<int>(sound)]);
    }

    std::atomic<Game*> game{nullptr};
    Gate pitGate;
    Gate statusGate;

private:
    mutable std::mutex mutex;
    std::vector<Event> events;
    size_t forgotten = 0;
    std::atomic<bool> live{false};
};

// Virtual milliseconds: a pause is recorded, moves the time on and yields
// briefly. The `nth` pause of `milliseconds` set by hold() blocks in real time
// until its stop, or for two seconds when nothing can stop it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(Recorder& recorder) : log(recorder) {}
    uint64_t tickCount() override { return now; }
    void sleep(uint32_t milliseconds) override { pause(milliseconds, nullptr); }
    void sleepUnless(uint32_t milliseconds, const std::atomic<bool>& stop) override {
        pause(milliseconds, &stop);
    }
    void advance(uint64_t milliseconds) { now += milliseconds; }
    void hold(uint32_t milliseconds, int32_t nth) {
        heldLeft = nth;
        held = milliseconds;
    }

private:
    void pause(uint32_t milliseconds, const std::atomic<bool>* stop) {
        log.add("sleep", milliseconds);
        now += milliseconds;
        if (milliseconds != held || --heldLeft != 0)
            return std::this_thread::sleep_for(kRealPause);
        log.add("held");
        const auto end = std::chrono::steady_clock::now() + 2s;
        while (!(stop != nullptr && *stop) && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(kRealPause);
    }

    Recorder& log;
    std::atomic<uint64_t> now{5'000'000};
    std::atomic<uint32_t> held{0};
    std::atomic<int32_t> heldLeft{0};
};

using Script = std::function<void(Searcher&, const Board&, RootResults&)>;

// Every legal move of the root keyed by `keyOf(move, depthLimit)`, reaching the
// depth asked for; listed, as a tree may, in an order that changes with the depth.
inline Script keyedMoves(std::function<int32_t(int32_t, int32_t)> keyOf) {
    return [keyOf](Searcher& searcher, const Board& root, RootResults& results) {
        results.clear();
        for (int32_t i = 0; i < 6; ++i)
            if (const int32_t move = searcher.depthLimit % 2 ? 5 - i : i; root.isLegal(move))
                results.emplace(keyOf(move, searcher.depthLimit), move);
        searcher.deepestDepth = searcher.depthLimit;
    };
}

// The root search as scripted for side 0 (the computer) or 1 (the analysis);
// unscripted, the engine's own. A closed gate holds the computer's search.
class ScriptedSearch final : public MoveSearch {
public:
    ScriptedSearch(Recorder& recorder, FakeClock& fakeClock) : log(recorder), clock(fakeClock) {}
    void searchRoot(Searcher& searcher, const Board& root, RootResults& results,
                    bool freshStart) override {
        const int32_t side = root.sideToMove;
        log.add("search", side, searcher.depthLimit, int32_t{freshStart});
        if (side == 0)
            computerGate.pass([&] { return searcher.running == 0; });
        Script script;
        {
            std::lock_guard lock(mutex);
            script = scripts[side];
        }
        if (script)
            script(searcher, root, results);
        else
            engineSearch().searchRoot(searcher, root, results, freshStart);
        if (side == 0)
            clock.advance(iterationMilliseconds);
    }
    void set(int32_t side, Script script) {
        std::lock_guard lock(mutex);
        scripts[side] = std::move(script);
    }
    std::atomic<uint64_t> iterationMilliseconds{0}; // virtual time a computer search takes
    Gate computerGate;

private:
    Recorder& log;
    FakeClock& clock;
    std::mutex mutex;
    std::array<Script, 2> scripts;
};

// A Game with the fakes round it; the test thread is its user-interface thread.
class GameTest : public ::testing::Test {
protected:
    GameTest() : settings({}) {
        settings.animate = settings.sound = 1;
        settings.animateBest = settings.showTech = 0;
        settings.level = 0;
    }
    ~GameTest() override { destroyGame(); }
    void createGame() {
        game = std::make_unique<Game>(log, settings, log, clock, search);
        log.game = game.get();
    }
    void destroyGame() {
        log.game = nullptr;
        game.reset();
    }

    // The first event since `from` that `match`es; fails the test when none comes.
    size_t waitFor(size_t from, const std::function<bool(const std::string&)>& match) {
        for (const auto end = std::chrono::steady_clock::now() + 20s;;) {
            const Texts found = log.texts(from);
            for (size_t i = 0; i < found.size(); ++i)
                if (match(found[i]))
                    return from + i;
            if (std::chrono::steady_clock::now() > end) {
                std::string last;
                for (size_t i = found.size() > 20 ? found.size() - 20 : 0; i < found.size(); ++i)
                    last += "\n  " + found[i];
                ADD_FAILURE() << "the awaited event never came; the last ones:" << last;
                throw std::runtime_error("never came");
            }
            std::this_thread::sleep_for(kRealPause);
        }
    }
    size_t waitFor(size_t from, const std::string& text) {
        return waitFor(from, [&](const std::string& event) { return event == text; });
    }
    // The end of the computer's turn: "Your Turn" or a result.
    size_t waitForTurnEnd(size_t from) {
        return waitFor(from, [](const std::string& event) {
            return event == "status 0" || event == "status 2" || event == "status 5";
        });
    }

    Board shownBoard() const {
        Board board;
        board.stones = game->shownCounts();
        return board;
    }
    // The first legal pit whose move hands the turn to the computer.
    int32_t normalUserPit() const {
        for (int32_t pit = 0; pit < 6; ++pit) {
            Board mirror = shownBoard();
            if (mirror.isLegal(pit) && mirror.makeMove(pit) != MoveResult::ExtraTurn &&
                mirror.gameContinues())
                return pit;
        }
        throw std::runtime_error("no move hands the turn over");
    }

    // One user move `choose`n among the legal ones, made the moment the Game
    // shows it may be, and what follows it. True when the game is over; then the
    // result, last of what its thread showed, must match the final position.
    bool playOneTurn(const std::function<int32_t(const std::vector<int32_t>&)>& choose) {
        Board mirror = shownBoard();
        std::vector<int32_t> legal;
        for (int32_t pit = 0; pit < 6; ++pit)
            if (mirror.isLegal(pit))
                legal.push_back(pit);
        const int32_t pit = choose(legal);
        const MoveResult result = mirror.makeMove(pit);
        const size_t from = log.size();
        game->userMove(pit);
        if (result == MoveResult::ExtraTurn && !mirror.sweepIfEmpty(1)) {
            waitFor(from, "pit 6 " + std::to_string(mirror.stones[kUserStore]) + " 0");
            return false; // the move's last step showed the store at rest
        }
        const size_t end = waitForTurnEnd(from);
        if (log.at(end).text == "status 0")
            return false;
        const auto final = game->shownCounts();
        EXPECT_EQ(final[kUserStore] + final[kComputerStore], kStoneTotal) << "the sweep is shown";
        const int32_t difference = final[kUserStore] - final[kComputerStore];
        Texts expected = {"refresh", "status 2"};
        if (difference != 0)
            expected = {"refresh", "winner " + std::to_string(difference < 0),
                        "number " + std::to_string(std::abs(difference)), "status 5"};
        const Texts shown = log.texts(from, log.at(end).thread);
        EXPECT_TRUE(shown.size() >= expected.size() &&
                    std::equal(expected.rbegin(), expected.rend(), shown.rbegin()))
            << shown.back();
        ++outcomes[difference > 0 ? 0 : difference < 0 ? 1 : 2];
        return true;
    }

    Recorder log;
    FakeClock clock{log};
    ScriptedSearch search{log, clock};
    Settings settings;
    std::unique_ptr<Game> game;
    std::array<int32_t, 3> outcomes{}; // games won by the user, by the computer, drawn
};

} // namespace pebbo::testing
