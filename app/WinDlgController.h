#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "app/ResultsRecord.h"
#include "app/Settings.h"
#include "game/Clock.h"
#include "game/GameController.h"
#include "game/SoundBank.h"

namespace pebbo {

class FieldWnd;
class Game;

// Owns what the main window shows: the main dialog (board, labels, New Game,
// First Turn You) and the Game. User commands enter the game here and the
// Game reports back through the GameController operations. Those may come
// from the Game's threads, so they only store, invalidate or post: whatever
// needs the user-interface thread (label texts, the timer) is posted to it.
class WinDlgController : public GameController {
public:
    // Private messages the game threads post to the dialog.
    static constexpr UINT kStatsReady = WM_APP + 1;  // copy the statistics into the labels
    static constexpr UINT kStatsTimer = WM_APP + 2;  // wParam 1 starts the timer, 0 stops it
    static constexpr UINT kPitsChanged = WM_APP + 3; // write the shown counts to the board
    static constexpr WPARAM kSettingsChanged = 6;    // WM_USER wParam from the main window

    WinDlgController(SoundBank& sounds, Clock& clock);
    ~WinDlgController() override;
    WinDlgController(const WinDlgController&) = delete;
    WinDlgController& operator=(const WinDlgController&) = delete;

    // Builds the dialog, the board and the Game, and starts the first game.
    HWND create(HINSTANCE instance, HWND parent, Settings* settingsRecord,
                ResultsRecord* resultsRecord);
    virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void newGame(bool userFirst);
    void repaintPits();
    bool canTakeBack() const;
    HWND dialogHandle() const { return dialog; }

    // GameController, callable from any thread.
    void showStatus(int32_t index) override;
    void setStatusNumber(int32_t number) override;
    void setStatusPit(int32_t pit) override;
    void setWinner(bool computerWins) override;
    void updatePit(int32_t pit, int32_t count, int32_t colorIndex) override;
    void refreshPits() override;
    void setStatsLive(bool live) override;
    void refreshStats() override;
    void startStatsTimer() override;
    void stopStatsTimer() override;

private:
    void onInitDialog();
    void layout();
    void onTimer();
    void onNcHitTest();
    void onCommand(WORD id);
    void onNewGameCommand();
    void onFirstTurnCommand();
    void onTakeBackCommand();
    void onSettingsChanged();
    void onStatsReady();
    void onStatsTimer(bool start);
    void post(UINT message, WPARAM wParam);
    void writeShownCounts();
    void showTechLabels(bool show);
    void clearTechValues();
    void focusMainWindow();

    std::array<HWND, 3> techValueLabels{};
    std::array<HWND, 3> techCaptionLabels{};
    // Written on the user-interface thread, read by the game threads that post.
    std::atomic<HWND> dialog{nullptr};
    SoundBank& sounds;
    Clock& clock;
    Settings* settings = nullptr;
    std::unique_ptr<FieldWnd> boardView;
    std::unique_ptr<Game> game;
    std::atomic<uint8_t> statsLive{0};
    // A refresh was asked for while statsLive was set and has not reached the labels yet.
    std::atomic<uint8_t> statsPending{0};
    std::atomic<int32_t> statusNumber{0};
    std::atomic<int32_t> statusPit{0};
    std::atomic<uint8_t> computerWins{0};
    UINT_PTR statsTimer = 0; // touched on the user-interface thread only
    int32_t labelHeight = 0;
};

} // namespace pebbo
