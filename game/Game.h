#pragma once

#include "app/ResultsRecord.h"
#include "app/Settings.h"
#include "game/Clock.h"
#include "game/GameController.h"
#include "game/GameThreads.h"
#include "game/MoveSearch.h"
#include "game/SoundBank.h"
#include "rules/Board.h"
#include "search/ExactSolver.h"
#include "search/MoveList.h"
#include "search/RootSearch.h"
#include "search/Searcher.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace pebbo {

// Search depth in turns by level: "Low", "Medium", "Hard", "Master".
inline constexpr std::array<int32_t, 4> depthTable = {5, 6, 7, 8};
inline constexpr int32_t kAnalysisDepth = 6;
inline constexpr int32_t kMaxIterations = 40;

// Status message indexes; the controller holds and formats the texts.
enum StatusMessage : int32_t {
    kYourTurn = 0,
    kThinking = 1,
    kDraw = 2,
    kWillTurn = 3,
    kTurningFrom = 4,
    kWinner = 5,
    kHintWins = 6,
    kHintDraws = 7,
    kHintLoses = 8,
    kHintBest = 9
};

// Colour indexes into the settings' colours, as the animation uses them.
enum PitColor : int32_t {
    kRestColor = 0,
    kActiveColor = 4,
    kExtraTurnColor = 5,
    kCaptureColor = 6,
    kBestMoveColor = 7
};

// Plays one game after another: takes the user's moves, take backs and hint
// requests on the user-interface thread and runs the computer's turns, the move
// animations, the best-move analysis, the hint and the end of a game on threads
// of its own. Each marks its life with a flag that is set before it starts and
// cleared as its very last action; only the user-interface thread waits for
// them. A worker that ends its turn or its animation shows its last step and
// clears its flag in one step under handOverMutex, and userMove checks the flags
// under it: a move made once that step shows is taken. Whatever changes the
// position (a user move, a take back, New Game, destruction) first stops the
// hint and waits for it, so a hint is only ever shown for the board's position.
class Game {
public:
    Game(GameController& controller, Settings& settings, ResultsRecord& record, SoundBank& sounds,
         Clock& clock, MoveSearch& search = engineSearch());
    ~Game(); // stops everything and waits for every thread of the Game
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    void newGame(bool userFirst);
    void userMove(int32_t pit); // stops a running hint first
    // Back to the position of the user's last move, the computer's reply undone,
    // as often as the user has moved in this game. Only when the user could move
    // now: false, and nothing done, otherwise.
    bool takeBack();
    bool canTakeBack() const; // whether takeBack would act now
    // Names the user's best move in the status and, with the best-move display
    // on, blinks the best pits: the exact value when solved within
    // kHintMilliseconds, else the analysis' best moves. Only when the user could
    // move now and no hint runs.
    void hint();
    std::array<int32_t, kPitCount> shownCounts() const; // safe from any thread
    std::wstring statisticsText(int32_t index);         // 0 positions, 1 seconds, 2 Mpos/s
    void loadSounds();
    void unloadSounds();

private:
    struct MoveRequest {
        int32_t pit;   // 0..5 of the mover's row
        uint8_t side;  // the mover's sideToMove value
        bool showBest; // a user move, judged against judgedBestMoves
        bool isBest;
        bool extraTurnRule;
        bool captureRule;
    };

    // A position the user moved from, with what the game goes on from there.
    struct TakeBackPoint {
        std::array<int32_t, kPitCount> stones;
        int32_t computerTurns;
    };

    // Turn flow (GameTurnFlow.cpp).
    bool userMayMove() const;
    void resumeFromBoard();
    void stopActivity();
    void stopThreads();
    void stopHint();
    void stopWorkers(std::initializer_list<const std::atomic<bool>*> flags);
    void waitWhile(const std::atomic<bool>& flag, uint32_t pollMilliseconds);
    void pause(uint32_t milliseconds);
    void startFinishGame();
    void finishGame(const Board& final);
    bool showUnlessStopped(int32_t status, std::optional<int32_t> number = std::nullopt,
                           std::optional<int32_t> pit = std::nullopt);

    // Computer's turn (ComputerTurn.cpp).
    void startComputerTurn();
    bool playComputerTurn(); // true when the game is over
    bool searchComputerMove();
    void readLevel();
    int32_t chooseMove(const RootResults& found);
    bool iterationsAgree(int32_t iteration, const RootResults& found);

    // Best-move analysis (Analysis.cpp).
    void startAnalysis(const Board& position);
    void analyse(Board copy);
    MoveList analysedBestMoves(const Board& position);
    void judgeAgainstBestMoves();
    bool isBestMove(int32_t pit) const;

    // Move animation and sounds (Animation.cpp).
    void startMoveAnimation(int32_t pit, uint8_t side, bool showBest, bool isBest);
    int32_t animateMove(const MoveRequest& request);
    void showAtRest(int32_t pit);
    void showPit(int32_t pit, int32_t color, uint32_t delay, std::optional<Sound> sound);
    void hidePit(int32_t pit, uint32_t delay);
    void blinkPit(int32_t pit, int32_t times, int32_t color, std::optional<Sound> sound);
    // `asked`: the user asked for the blink, so it shows whatever the best-move display setting.
    void showPits(const MoveList& list, int32_t color, uint32_t delay, bool asked = false);
    void hidePits(const MoveList& list, uint32_t delay, bool asked = false);
    void blinkPits(const MoveList& list, int32_t times, int32_t color, bool asked = false);
    void playSound(Sound sound);

    // Hint (Hint.cpp).
    void giveHint(const Board& position);
    void restoreAtRest(const MoveList& list);

    // `shown`, guarded: the animation writes it while the controller reads it.
    int32_t shownAt(int32_t pit) const;
    void setShown(int32_t pit, int32_t count);
    void copyShown(const Board& source);

    GameController& controller;
    Settings& settings;
    ResultsRecord& record;
    SoundBank& sounds;
    Clock& clock;
    MoveSearch& search;

    Searcher searcher;         // the computer's turn only
    Searcher analysisSearcher; // the best-move analysis only, so the two never share counters

    mutable std::mutex shownMutex;
    std::array<int32_t, kPitCount> shown{};

    Board board;         // written by the user-interface thread or, during its turn, the computer's
    RootResults results; // the computer's turn thread only
    std::atomic<bool> gameActive{false};
    std::atomic<bool> animating{false};
    std::atomic<bool> abortAnimation{false};
    std::atomic<bool> computerTurn{false};
    std::atomic<bool> userMoveBusy{false};
    std::atomic<bool> analysisDone{false};
    std::atomic<bool> analysisRunning{false};
    std::atomic<bool> endingGame{false};
    std::atomic<bool> hintRunning{false};
    std::atomic<bool> hintStop{false};     // set while a stop waits: the hint shows nothing more
    std::atomic<bool> shuttingDown{false}; // no sound starts once destruction has begun
    std::atomic<bool> stopping{false};     // set while a stop waits: every pause ends early

    // Poll intervals in milliseconds: a worker waiting for the animation, and the
    // user-interface thread or any wait that ends soon.
    static constexpr uint32_t kWorkerPoll = 100;
    static constexpr uint32_t kShortPoll = 10;

    // A worker checks that it was not stopped and shows its status under this
    // lock, and a stop clears the running flags under it: nothing of a stopped
    // game is shown once a new game or destruction has begun.
    mutable std::mutex handOverMutex;

    // The analysis delivers bestMoves with the position they belong to, so a user
    // move is never judged against the best moves of an earlier position.
    mutable std::mutex analysisMutex;
    MoveList bestMoves;
    std::optional<std::array<int32_t, kPitCount>> bestMovesPosition;
    std::optional<std::array<int32_t, kPitCount>> analysisPosition; // of the running analysis
    MoveList judgedBestMoves; // user-interface thread; read by that move's animation

    std::atomic<uint64_t> searchStart{0};
    std::atomic<uint64_t> searchEnd{0};
    std::atomic<int32_t> computerTurns{0};
    int32_t level = 0; // the computer's turn thread, or the starter before it runs
    bool masterLevel = false;
    static constexpr float timeLimit = 1.0f; // seconds an iteration may take for Master to deepen
    std::array<MoveList, 3> bestHistory{};

    std::atomic<bool> soundsLoaded{false};

    std::vector<TakeBackPoint> takeBackPoints; // user-interface thread
    std::unique_ptr<ExactSolver> solver;       // made by the first hint; the hint thread's
    static constexpr uint64_t kHintMilliseconds = 2000;
    static constexpr int32_t kBlinkTimes = 3; // of best pits, a moving pit, a capture

    GameThreads threads; // last: its threads use everything above
};

} // namespace pebbo
