#pragma once

#include <windows.h>

#include "app/ResultsRecord.h"
#include "app/Settings.h"
#include "app/WinDlgController.h"

namespace pebbo {

// The program's one top-level window: a fixed frame with the menu, whose client
// area the controller's dialog covers. Menu and accelerator commands end up here
// and go on to dialogs or to the controller.
class MainWnd {
public:
    static constexpr wchar_t kTitle[] = L"PebboPlay";

    MainWnd(WinDlgController& dialogController, Settings& settingsRecord,
            ResultsRecord& resultsRecord)
        : controller(dialogController), settings(settingsRecord), results(resultsRecord) {}
    virtual ~MainWnd();
    MainWnd(const MainWnd&) = delete;
    MainWnd& operator=(const MainWnd&) = delete;

    // Registers the class, creates and centres the window, builds the controller's
    // dialog and shows both; false when the class or the window cannot be created.
    bool create(HINSTANCE instance, int showCommand);
    HWND handle() const { return window; }
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void computeSize();
    void onCreate();
    void onPaint();
    void onMinMaxInfo(MINMAXINFO* info) const;
    LRESULT onCommand(WPARAM wParam, LPARAM lParam);
    static LRESULT onMenuChar(wchar_t key, HMENU menu);
    void onSettings();
    void onInitMenuPopup(HMENU menu) const;

    WinDlgController& controller;
    Settings& settings;
    ResultsRecord& results;
    HINSTANCE appInstance = nullptr;
    HWND window = nullptr;
    int mainWindowWidth = 0;
    int mainWindowHeight = 0;
};

} // namespace pebbo
