#pragma once

#include <cstdint>

namespace pebbo {

// What the Game asks of the window side. Called from the user-interface thread
// and from the Game's worker threads alike, so an implementation only stores
// values and invalidates or posts; it never waits for the user-interface thread.
class GameController {
public:
    virtual ~GameController() = default;

    // Shows status message `index` (0 "Your Turn" .. 9 "Best: pit %d").
    virtual void showStatus(int32_t index) = 0;
    // The number for messages 3, 4, 5, 6 and 8; the caller calls showStatus afterwards.
    virtual void setStatusNumber(int32_t number) = 0;
    // The pit, 1 to 6 as labelled, for the hints 6 to 9; set before showStatus.
    virtual void setStatusPit(int32_t pit) = 0;
    // Whether message 5 names "Computer" (true) or "You".
    virtual void setWinner(bool computerWins) = 0;
    // Shows `count` in pit `pit` in settings colour `colorIndex`; -1 blanks the number.
    virtual void updatePit(int32_t pit, int32_t count, int32_t colorIndex) = 0;
    // Writes all fourteen shown counts of the Game to the board view.
    virtual void refreshPits() = 0;
    // Gates refreshStats: set while a computer search is measured.
    virtual void setStatsLive(bool live) = 0;
    virtual void refreshStats() = 0;
    virtual void startStatsTimer() = 0;
    virtual void stopStatsTimer() = 0;
};

} // namespace pebbo
