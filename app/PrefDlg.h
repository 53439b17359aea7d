#pragma once

#include <windows.h>

#include "app/Settings.h"

namespace pebbo {

// The Preferences dialog: edits the level and the switches of the settings
// record in place and saves the file on OK. One lives on the stack for each
// showing of the dialog.
class PrefDlg {
public:
    explicit PrefDlg(Settings& settingsRecord) : settings(&settingsRecord) {}
    virtual ~PrefDlg() = default;
    PrefDlg(const PrefDlg&) = delete;
    PrefDlg& operator=(const PrefDlg&) = delete;

    // Shows the dialog modally; returns IDOK or IDCANCEL.
    INT_PTR show(HINSTANCE instance, HWND owner);
    virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    static INT_PTR CALLBACK prefDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void onInitDialog(HWND window);
    void onOk();
    void onCancel();
    void onMovesClicked();
    bool isChecked(int id) const;
    void setChecked(int id, bool checked);

    HWND dialog = nullptr;
    Settings* settings;
};

} // namespace pebbo
