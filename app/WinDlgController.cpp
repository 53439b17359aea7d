#include "app/WinDlgController.h"

#include <string>

#include "app/ClientSize.h"
#include "game/Game.h"
#include "game/StatusText.h"
#include "resources/resource.h"
#include "view/FieldWnd.h"
#include "view/WindowObject.h"

namespace pebbo {

namespace {

constexpr UINT_PTR kStatsTimerId = 1;
constexpr UINT kStatsInterval = 1000;

// A control's rectangle in the coordinates of its dialog.
RECT controlRect(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int width(const RECT& rect) {
    return rect.right - rect.left;
}

int height(const RECT& rect) {
    return rect.bottom - rect.top;
}

// Keeps the control's size and Z order.
void placeControl(HWND dialog, int id, int x, int y) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

WinDlgController::WinDlgController(SoundBank& soundBank, Clock& gameClock)
    : sounds(soundBank), clock(gameClock) {}

WinDlgController::~WinDlgController() {
    // The Game goes first: its threads still report to the board while it stops them.
    game.reset();
    boardView.reset();
    if (statsTimer != 0) {
        KillTimer(dialog, statsTimer);
    }
    detachFromWindow(dialog);
}

HWND WinDlgController::create(HINSTANCE instance, HWND parent, Settings* settingsRecord,
                              ResultsRecord* resultsRecord) {
    if (CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), parent,
                           dialogProcedure<&WinDlgController::dialog>,
                           reinterpret_cast<LPARAM>(this)) == nullptr) {
        return nullptr;
    }
    settings = settingsRecord;
    boardView = std::make_unique<FieldWnd>();
    boardView->create(instance, dialog);
    layout();
    boardView->messageColor = static_cast<COLORREF>(settings->colors[1].load());
    CheckDlgButton(dialog, IDC_FIRSTTURN, BST_CHECKED);
    showTechLabels(settings->showTech != 0);
    clearTechValues();
    game = std::make_unique<Game>(*this, *settings, *resultsRecord, sounds, clock);
    game->newGame(IsDlgButtonChecked(dialog, IDC_FIRSTTURN) == BST_CHECKED);
    writeShownCounts();
    focusMainWindow();
    return dialog;
}

void WinDlgController::onInitDialog() {
    techValueLabels = {GetDlgItem(dialog, IDC_POSVALUE), GetDlgItem(dialog, IDC_SECSVALUE),
                       GetDlgItem(dialog, IDC_PPSVALUE)};
    techCaptionLabels = {GetDlgItem(dialog, IDC_POSCAPTION), GetDlgItem(dialog, IDC_SECSCAPTION),
                         GetDlgItem(dialog, IDC_PPSCAPTION)};
    // The dialog covers the main window's client area.
    SetWindowPos(dialog, nullptr, 0, 0, kClientWidth, clientHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A dialog procedure answers FALSE for what the dialog manager should handle
// itself; messages we act on return the result the caller expects.
INT_PTR WinDlgController::handleMessage(UINT message, WPARAM wParam,
                                        [[maybe_unused]] LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog();
        return TRUE;
    case WM_TIMER:
        onTimer();
        return 0;
    case WM_NCHITTEST:
        onNcHitTest();
        return 0;
    case WM_COMMAND:
        onCommand(LOWORD(wParam));
        return 0;
    case WM_USER:
        if (wParam < kSettingsChanged) {
            game->userMove(static_cast<int32_t>(wParam));
        } else {
            onSettingsChanged();
        }
        return 1;
    case kStatsReady:
        onStatsReady();
        return 0;
    case kStatsTimer:
        onStatsTimer(wParam != 0);
        return 0;
    case kPitsChanged:
        writeShownCounts();
        return 0;
    default:
        return FALSE;
    }
}

void WinDlgController::layout() {
    RECT dialogRect{};
    GetWindowRect(dialog, &dialogRect);
    const int dialogWidth = width(dialogRect);

    // Step 1: the "Computer" label on top; its height is the unit of the layout.
    const RECT computer = controlRect(dialog, IDC_COMPUTER);
    placeControl(dialog, IDC_COMPUTER, (dialogWidth - width(computer)) / 2, 0);
    labelHeight = height(computer);
    const int u = labelHeight;

    // Step 2: the board, one unit down.
    const RECT board = boardView->place(dialogWidth, u);
    const int h = height(board);

    // Step 3: "You" one unit below the board.
    placeControl(dialog, IDC_YOU, (dialogWidth - width(controlRect(dialog, IDC_YOU))) / 2,
                 h + 2 * u);

    // Step 4: the digit of each key under the pit it plays.
    for (int i = 0; i < 6; ++i) {
        const RECT pit = boardView->getHoleRect(i);
        MoveWindow(GetDlgItem(dialog, IDC_PIT1 + i), board.left + pit.left, h + u, width(pit), u,
                   FALSE);
    }

    // Step 5: the technical row, centred under the board.
    int rowWidth = 0;
    for (int k = 0; k < 3; ++k) {
        RECT rect{};
        GetWindowRect(techCaptionLabels[k], &rect);
        rowWidth += width(rect);
        GetWindowRect(techValueLabels[k], &rect);
        rowWidth += width(rect);
    }
    int x = (width(board) - rowWidth) / 2;
    const int rowTop = h + 35 * u / 10;
    for (int k = 0; k < 3; ++k) {
        for (HWND label : {techCaptionLabels[k], techValueLabels[k]}) {
            RECT rect{};
            GetWindowRect(label, &rect);
            MoveWindow(label, board.left + x, rowTop, width(rect), u, FALSE);
            x += width(rect) + 2;
        }
    }

    // Steps 6 and 7: New Game at the board's right edge, First Turn You left of it.
    const RECT button = controlRect(dialog, IDC_NEWGAME);
    placeControl(dialog, IDC_NEWGAME, board.right - width(button),
                 h + 5 * u - (height(button) - u) / 2);
    const RECT checkBox = controlRect(dialog, IDC_FIRSTTURN);
    placeControl(dialog, IDC_FIRSTTURN, board.right - width(button) - width(checkBox) - 2,
                 h + 5 * u);
}

void WinDlgController::onTimer() {
    refreshStats();
}

void WinDlgController::onNcHitTest() {
    focusMainWindow();
}

void WinDlgController::onCommand(WORD id) {
    if (id >= IDM_PIT1 && id <= IDM_PIT6) {
        game->userMove(id - IDM_PIT1);
    } else if (id == IDC_NEWGAME) {
        onNewGameCommand();
    } else if (id == IDC_FIRSTTURN) {
        onFirstTurnCommand();
    } else if (id == IDM_TAKEBACK) {
        onTakeBackCommand();
    } else if (id == IDM_HINT) {
        game->hint();
    }
}

void WinDlgController::onNewGameCommand() {
    newGame(IsDlgButtonChecked(dialog, IDC_FIRSTTURN) == BST_CHECKED);
    focusMainWindow();
}

void WinDlgController::onFirstTurnCommand() {
    const bool checked = IsDlgButtonChecked(dialog, IDC_FIRSTTURN) == BST_CHECKED;
    CheckDlgButton(dialog, IDC_FIRSTTURN, checked ? BST_UNCHECKED : BST_CHECKED);
    focusMainWindow();
}

void WinDlgController::onTakeBackCommand() {
    if (game->takeBack()) {
        writeShownCounts();
    }
}

bool WinDlgController::canTakeBack() const {
    return game && game->canTakeBack();
}

void WinDlgController::onSettingsChanged() {
    showTechLabels(settings->showTech != 0);
    if (settings->animate != 0 && settings->sound != 0) {
        game->loadSounds();
    } else {
        game->unloadSounds();
    }
}

void WinDlgController::newGame(bool userFirst) {
    game->newGame(userFirst);
    // The old game's threads have ended: a refresh they asked for is stale now.
    statsPending = 0;
    writeShownCounts();
    if (settings->showTech != 0) {
        clearTechValues();
    }
}

void WinDlgController::repaintPits() {
    if (boardView) {
        boardView->redrawHoles();
    }
}

void WinDlgController::showStatus(int32_t index) {
    boardView->setMessage(statusText(index, statusNumber, computerWins != 0, statusPit).c_str());
}

void WinDlgController::setStatusNumber(int32_t number) {
    statusNumber = number;
}

void WinDlgController::setStatusPit(int32_t pit) {
    statusPit = pit;
}

void WinDlgController::setWinner(bool winnerIsComputer) {
    computerWins = winnerIsComputer ? 1 : 0;
}

void WinDlgController::updatePit(int32_t pit, int32_t count, int32_t colorIndex) {
    if (count == -1) {
        boardView->clearHole(pit);
        return;
    }
    boardView->setHoleColor(pit, static_cast<COLORREF>(settings->colors[colorIndex].load()));
    boardView->setHoleCount(pit, count);
}

void WinDlgController::refreshPits() {
    post(kPitsChanged, 0);
}

void WinDlgController::setStatsLive(bool live) {
    statsLive = live ? 1 : 0;
}

// The gate is read now, so the last refresh before statsLive drops still counts;
// the texts are copied later, on the user-interface thread.
void WinDlgController::refreshStats() {
    if (statsLive != 0) {
        statsPending = 1;
        post(kStatsReady, 0);
    }
}

void WinDlgController::startStatsTimer() {
    post(kStatsTimer, 1);
}

void WinDlgController::stopStatsTimer() {
    post(kStatsTimer, 0);
}

void WinDlgController::post(UINT message, WPARAM wParam) {
    // One read: a null handle would post to the calling thread's own queue.
    if (const HWND own = dialog.load()) {
        PostMessageW(own, message, wParam, 0);
    }
}

void WinDlgController::onStatsReady() {
    if (statsPending.exchange(0) == 0) {
        return;
    }
    for (int i = 0; i < 3; ++i) {
        SetWindowTextW(techValueLabels[i], game->statisticsText(i).c_str());
        UpdateWindow(techValueLabels[i]);
    }
}

void WinDlgController::onStatsTimer(bool start) {
    if (start) {
        statsTimer = SetTimer(dialog, kStatsTimerId, kStatsInterval, nullptr);
    } else if (statsTimer != 0) {
        KillTimer(dialog, statsTimer);
        statsTimer = 0;
    }
}

void WinDlgController::writeShownCounts() {
    const auto counts = game->shownCounts();
    for (int pit = 0; pit < 14; ++pit) {
        boardView->setHoleCount(pit, counts[pit]);
    }
}

void WinDlgController::showTechLabels(bool show) {
    for (const auto& labels : {techCaptionLabels, techValueLabels}) {
        for (HWND label : labels) {
            ShowWindow(label, show ? SW_SHOW : SW_HIDE);
        }
    }
}

void WinDlgController::clearTechValues() {
    for (HWND label : techValueLabels) {
        SetWindowTextW(label, L"");
    }
}

void WinDlgController::focusMainWindow() {
    SetFocus(GetParent(dialog));
}

} // namespace pebbo
