#pragma once

#include <windows.h>

namespace pebbo {

// A dialog shown modally from a resource template. One object lives on the
// stack for each showing; the derived class answers the messages, starting
// with WM_INITDIALOG.
class ModalDialog {
public:
    explicit ModalDialog(int templateId) : resource(templateId) {}
    virtual ~ModalDialog();
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Shows the dialog and returns the value it ended with.
    INT_PTR show(HINSTANCE instance, HWND owner);
    virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    HWND dialog = nullptr;

private:
    int resource;
};

} // namespace pebbo
