#include "app/AboutDlg.h"

#include "resources/resource.h"

namespace pebbo {

AboutDlg::AboutDlg() : ModalDialog(IDD_ABOUT) {}

INT_PTR AboutDlg::handleMessage(UINT message, WPARAM wParam, [[maybe_unused]] LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 16);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace pebbo
