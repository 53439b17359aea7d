#include "game/Game.h"

namespace pebbo {
namespace {

// Pauses in milliseconds. The stone's 349 is what 0.35 s as a 32-bit float,
// times 1000 and cut to whole milliseconds, always gave.
constexpr uint32_t kBlinkDelay = 150;
constexpr uint32_t kStoneDelay = 349;
constexpr uint32_t kStoreGainDelay = 300;

} // namespace

void Game::startMoveAnimation(int32_t pit, uint8_t side, bool showBest, bool isBest) {
    const MoveRequest request{
        pit, side, showBest, isBest, board.extraTurnRule != 0, board.captureRule != 0};
    animating = true;
    threads.start([this, request] {
        const int32_t lastPit = animateMove(request);
        std::lock_guard lock(handOverMutex);
        showAtRest(lastPit);
        animating = false;
    });
}

// Shows the move on `shown`, stone by stone, up to its last step: showing the
// returned pit at rest. Then `shown` equals the board just after the move (the
// end-of-game sweep is not animated).
int32_t Game::animateMove(const MoveRequest& request) {
    const SowingOrder& order = Board::sowingOrder(request.side);
    const int32_t start = order[request.pit];
    const int32_t stones = shownAt(start);
    const int32_t store = request.side ? kUserStore : kComputerStore;

    if (request.showBest && !request.isBest && settings.animateBest) {
        blinkPits(judgedBestMoves, kBlinkTimes, kBestMoveColor);
        showPits(judgedBestMoves, kRestColor, 0);
    }
    blinkPit(start, kBlinkTimes, kActiveColor, std::nullopt);
    setShown(start, 0);
    showAtRest(start);

    const int32_t last = order[request.pit + stones];
    const bool extra = request.extraTurnRule && last == store;
    for (int32_t k = 1; k <= stones; ++k) {
        const int32_t pit = order[request.pit + k];
        setShown(pit, shownAt(pit) + 1);
        if (k == stones && extra)
            break;
        showPit(pit, kActiveColor, kStoneDelay, pit <= kUserStore ? Sound::Pop : Sound::Tink);
        if (k < stones)
            showAtRest(pit);
    }

    if (extra) {
        blinkPit(last, kBlinkTimes, kExtraTurnColor, Sound::Hero);
        return last;
    }
    const bool ownRow = request.side ? last < kUserStore : last > kUserStore;
    if (last == store || !request.captureRule || !ownRow || shownAt(last) != 1 ||
        shownAt(12 - last) == 0)
        return last;
    showAtRest(last);
    const int32_t opposite = 12 - last;
    const int32_t captured = shownAt(opposite) + 1;
    setShown(last, 0);
    showAtRest(last);
    blinkPit(opposite, kBlinkTimes, kCaptureColor, Sound::Submarine);
    setShown(opposite, 0);
    showAtRest(opposite);
    setShown(store, shownAt(store) + captured);
    showPit(store, kActiveColor, kStoreGainDelay, std::nullopt);
    return store;
}

void Game::showAtRest(int32_t pit) {
    showPit(pit, kRestColor, 0, std::nullopt);
}

// A step does nothing once the animation is aborted, and a step with a pause
// does nothing while its switch is off; a step without pause sets a pit's final
// look and always acts.
void Game::showPit(int32_t pit, int32_t color, uint32_t delay, std::optional<Sound> sound) {
    if (abortAnimation || (delay != 0 && !settings.animate))
        return;
    controller.updatePit(pit, shownAt(pit), color);
    if (sound)
        playSound(*sound);
    if (delay != 0)
        pause(delay);
}

void Game::hidePit(int32_t pit, uint32_t delay) {
    if (abortAnimation || (delay != 0 && !settings.animate))
        return;
    controller.updatePit(pit, -1, kRestColor);
    if (delay != 0)
        pause(delay);
}

void Game::blinkPit(int32_t pit, int32_t times, int32_t color, std::optional<Sound> sound) {
    for (int32_t i = 0; i < times; ++i) {
        showPit(pit, color, kBlinkDelay, i == 0 ? sound : std::nullopt);
        hidePit(pit, kBlinkDelay);
    }
}

// The best-move display setting governs blinks, except those the user asked for (a hint).
void Game::showPits(const MoveList& list, int32_t color, uint32_t delay, bool asked) {
    if (abortAnimation || (delay != 0 && !settings.animateBest && !asked))
        return;
    for (const int32_t pit : list)
        showPit(pit, color, 0, std::nullopt);
    if (delay != 0)
        pause(delay);
}

void Game::hidePits(const MoveList& list, uint32_t delay, bool asked) {
    if (abortAnimation || (delay != 0 && !settings.animateBest && !asked))
        return;
    for (const int32_t pit : list)
        controller.updatePit(pit, -1, kRestColor);
    if (delay != 0)
        pause(delay);
}

void Game::blinkPits(const MoveList& list, int32_t times, int32_t color, bool asked) {
    for (int32_t i = 0; i < times; ++i) {
        showPits(list, color, kBlinkDelay, asked);
        hidePits(list, kBlinkDelay, asked);
    }
}

void Game::playSound(Sound sound) {
    if (settings.sound && soundsLoaded && !shuttingDown)
        sounds.play(sound);
}

void Game::loadSounds() {
    if (!settings.animate || !settings.sound || soundsLoaded)
        return;
    sounds.load();
    soundsLoaded = true;
}

void Game::unloadSounds() {
    soundsLoaded = false;
}

} // namespace pebbo
