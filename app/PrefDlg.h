#pragma once

#include "app/ModalDialog.h"
#include "app/Settings.h"

namespace pebbo {

// The Preferences dialog: edits the level and the switches of the settings
// record in place and saves the file on OK. show() returns IDOK or IDCANCEL.
class PrefDlg : public ModalDialog {
public:
    explicit PrefDlg(Settings& settingsRecord);
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void onInitDialog();
    void onOk();
    void onCancel();
    void onMovesClicked();
    bool isChecked(int id) const;
    void setChecked(int id, bool checked);

    Settings* settings;
};

} // namespace pebbo
