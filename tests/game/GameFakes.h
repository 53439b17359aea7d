#pragma once

#include "game/Game.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <stdexcept>
#include <vector>

namespace pebbo::testing {

using Texts = std::vector<std::string>;
using Script = std::function<void(Searcher&, const Board&, RootResults&)>;
using namespace std::chrono_literals;

inline const std::string kTurnEnd = "status [025]"; // "Your Turn" or a result

// Under Wine a shorter sleep only yields, starving other threads, and every run is far slower.
#ifdef _WIN32
inline constexpr std::chrono::microseconds kRealPause{1000};
inline constexpr uint32_t kStressGames = 100;
#else
inline constexpr std::chrono::microseconds kRealPause{200};
inline constexpr uint32_t kStressGames = 400;
#endif

// An event as the fakes record it, such as "pit 3 2 0".
template <typename... Numbers> std::string text(std::string name, Numbers... numbers) {
    ((name += ' ', name += std::to_string(numbers)), ...);
    return name;
}

inline Texts operator+(Texts a, const Texts& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Three blinks of `pits` showing their `counts` in `color`, the first one heard.
inline Texts blink(const std::vector<int32_t>& pits, const std::array<int32_t, kPitCount>& counts,
                   int32_t color, const Texts& sound = {}) {
    Texts texts;
    for (int32_t i = 0; i < 3; ++i) {
        for (const int32_t pit : pits)
            texts.push_back(text("pit", pit, counts[pit], color));
        texts = texts + (i == 0 ? sound : Texts{}) + Texts{"sleep 150"};
        for (const int32_t pit : pits)
            texts.push_back(text("pit", pit, -1, 0));
        texts.push_back("sleep 150");
    }
    return texts;
}

// Every pit shown at rest with its count, then "Your Turn": the board after a stop.
inline Texts restingBoard(const std::array<int32_t, kPitCount>& counts) {
    Texts texts;
    for (int32_t pit = 0; pit < kPitCount; ++pit)
        texts.push_back(text("pit", pit, counts[pit], kRestColor));
    return texts + Texts{"status 0"};
}

// Every legal move keyed by `keyOf(move, depthLimit)`, in an order that changes with
// the depth as a tree's may; the depth asked for reached, 1,234,567 positions counted.
inline Script keyedMoves(std::function<int32_t(int32_t, int32_t)> keyOf) {
    return [keyOf](Searcher& searcher, const Board& root, RootResults& results) {
        results.clear();
        for (int32_t i = 0; i < 6; ++i)
            if (const int32_t move = searcher.depthLimit % 2 ? 5 - i : i; root.isLegal(move))
                results.emplace(keyOf(move, searcher.depthLimit), move);
        searcher.deepestDepth = searcher.depthLimit;
        searcher.leafCounts[0] = 1234567;
    };
}

// Records what the Game asks of the window side, sounds, clock and search, in order, with the
// asking thread (a serial: thread ids are reused). holdPits holds pit updates, holdStatus each
// "Your Turn" for 50 ms. Time is virtual, every reading of it moves it on by tickStep, but the
// heldLeft-th pause of `held` ms is a real one of 2 s. Side 0 (the computer) or 1 (the analysis)
// searches by its script, else the engine; the computer's held while holdComputer.
class Fakes final : public GameController, public SoundBank, public Clock, public MoveSearch {
public:
    void add(std::string text) {
        static std::atomic<uint64_t> threads{0};
        thread_local const uint64_t thread = ++threads;
        std::lock_guard lock(mutex);
        events.emplace_back(thread, std::move(text));
    }
    size_t size() const {
        std::lock_guard lock(mutex);
        return events.size();
    }
    // What was recorded since `from`; with `by`, only by the thread that recorded event `by`.
    Texts texts(size_t from, std::optional<size_t> by = std::nullopt) const {
        std::lock_guard lock(mutex);
        Texts found;
        for (size_t i = from; i < events.size(); ++i)
            if (!by || events[i].first == events.at(*by).first)
                found.push_back(events[i].second);
        return found;
    }
    Texts threadAt(size_t index) const { return texts(index, index); }

    void showStatus(int32_t index) override {
        add(text("status", index));
        if (holdStatus && index == kYourTurn)
            std::this_thread::sleep_for(50ms);
    }
    void setStatusNumber(int32_t number) override { add(text("number", number)); }
    void setStatusPit(int32_t pit) override { add(text("statusPit", pit)); }
    void setWinner(bool computerWins) override { add(text("winner", computerWins)); }
    void updatePit(int32_t pit, int32_t count, int32_t color) override {
        while (holdPits)
            std::this_thread::sleep_for(kRealPause);
        add(text("pit", pit, count, color));
    }
    void refreshPits() override { add("refresh"); }
    void setStatsLive(bool live) override { add(text("live", live)); }
    void refreshStats() override { add("stats"); }
    void startStatsTimer() override { add("timer on"); }
    void stopStatsTimer() override { add("timer off"); }
    void load() override {}
    void play(Sound sound) override {
        static const char* const names[] = {"Pop", "Hero", "Submarine", "Tink"};
        add(std::string("sound ") + names[static_cast<int>(sound)]);
    }
    uint64_t tickCount() override { return now += tickStep; }
    void sleepUnless(uint32_t milliseconds, const std::atomic<bool>& stop) override {
        add(text("sleep", milliseconds));
        now += milliseconds;
        if (milliseconds != held || --heldLeft != 0)
            return std::this_thread::sleep_for(kRealPause);
        add("held");
        SteadyClock().sleepUnless(2000, stop);
    }
    void searchRoot(Searcher& searcher, const Board& root, RootResults& results,
                    bool freshStart) override {
        const int32_t side = root.sideToMove;
        add(text("search", side, searcher.depthLimit, freshStart));
        while (side == 0 && holdComputer && searcher.running)
            std::this_thread::sleep_for(kRealPause);
        if (scripts[side])
            scripts[side](searcher, root, results);
        else
            engineSearch().searchRoot(searcher, root, results, freshStart);
        if (side == 0)
            now += searchMilliseconds;
    }

    std::atomic<bool> holdPits{false}, holdStatus{false}, holdComputer{false};
    std::atomic<uint64_t> now{5'000'000}, searchMilliseconds{0}, tickStep{0};
    std::atomic<uint32_t> held{0}; // set after heldLeft
    std::atomic<int32_t> heldLeft{0};
    std::array<Script, 2> scripts;

private:
    mutable std::mutex mutex;
    std::vector<std::pair<uint64_t, std::string>> events; // the recording thread, the text
};

// A Game with the fakes round it; the test thread is its user-interface thread.
class GameTest : public ::testing::Test {
protected:
    GameTest() : settings({}) { settings.level = settings.animateBest = 0; } // "Low", no best
    void createGame() { // destroying the Game there was, first
        game.reset();
        game = std::make_unique<Game>(fake, settings, record, fake, fake, fake);
    }

    // The first event since `from` that matches `pattern`; fails the test when none comes.
    size_t waitFor(size_t from, const std::string& pattern) {
        const std::regex regex(pattern);
        for (const auto end = std::chrono::steady_clock::now() + 20s;;) {
            for (const std::string& event : fake.texts(from))
                if (std::regex_match(event, regex))
                    return from;
                else
                    ++from;
            if (std::chrono::steady_clock::now() > end)
                throw std::runtime_error(
                    pattern + " never came after " +
                    ::testing::PrintToString(fake.texts(from - std::min<size_t>(from, 20))));
            std::this_thread::sleep_for(kRealPause);
        }
    }
    static size_t count(const Texts& texts, const std::string& pattern) {
        return std::ranges::count_if(texts, [regex = std::regex(pattern)](const std::string& text) {
            return std::regex_match(text, regex);
        });
    }
    static bool endsWith(const Texts& texts, const Texts& tail) {
        return texts.size() >= tail.size() &&
               std::equal(tail.rbegin(), tail.rend(), texts.rbegin());
    }
    void startAfterFirstTurn() {
        const size_t from = fake.size();
        game->newGame(false);
        waitFor(from, kTurnEnd);
        EXPECT_EQ(count(fake.texts(from), "search 0.*"), 0) << "the first turn is random";
    }
    // A user move drawn among the legal ones, made (after the others, refused) the moment the
    // Game shows it may be, and what follows. When the game is over (true), the result, last of
    // what its thread showed, must match the final position.
    bool playOneTurn(std::mt19937& random) {
        Board mirror;
        mirror.stones = game->shownCounts();
        std::vector<int32_t> legal;
        for (const int32_t pit : {-1, 0, 1, 2, 3, 4, 5, 6, 13})
            if (mirror.isLegal(pit))
                legal.push_back(pit);
            else
                game->userMove(pit); // not the user's, or empty: refused
        const int32_t pit = legal[random() % legal.size()];
        const size_t from = fake.size();
        game->userMove(pit);
        if (mirror.makeMove(pit) == MoveResult::ExtraTurn && !mirror.sweepIfEmpty(1)) {
            waitFor(from, text("pit", kUserStore, mirror.stones[kUserStore], kRestColor));
            return false; // the move's last step showed the store at rest
        }
        const size_t end = waitFor(from, kTurnEnd);
        if (fake.texts(end).front() == "status 0")
            return false;
        const auto final = game->shownCounts();
        EXPECT_EQ(final[kUserStore] + final[kComputerStore], kStoneTotal) << "the sweep is shown";
        const int32_t difference = final[kUserStore] - final[kComputerStore];
        const Texts shown = fake.texts(from, end);
        EXPECT_TRUE(endsWith(shown, difference == 0
                                        ? Texts{"refresh", "status 2"}
                                        : Texts{"refresh", text("winner", difference < 0),
                                                text("number", std::abs(difference)), "status 5"}))
            << shown.back();
        ++outcomes[difference > 0 ? 0 : difference < 0 ? 1 : 2];
        return true;
    }

    Fakes fake;
    Settings settings;
    ResultsRecord record{std::filesystem::path()};
    std::unique_ptr<Game> game;        // after its fakes: destroyed before them
    std::array<int32_t, 3> outcomes{}; // games won by the user, by the computer, drawn
};

} // namespace pebbo::testing
