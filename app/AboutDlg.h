#pragma once

#include "app/ModalDialog.h"

namespace pebbo {

// The About box: the icon, the version and OK. show() returns IDOK, or 16
// when the dialog is closed from its frame.
class AboutDlg : public ModalDialog {
public:
    AboutDlg();
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace pebbo
