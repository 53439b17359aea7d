#include "app/ModalDialog.h"

#include "view/WindowObject.h"

namespace pebbo {

ModalDialog::~ModalDialog() {
    detachFromWindow(dialog);
}

INT_PTR ModalDialog::show(HINSTANCE instance, HWND owner) {
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(resource), owner,
                           dialogProcedure<&ModalDialog::dialog>, reinterpret_cast<LPARAM>(this));
}

} // namespace pebbo
