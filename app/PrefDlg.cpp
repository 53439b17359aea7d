#include "app/PrefDlg.h"

#include <array>

#include "resources/resource.h"

namespace pebbo {

namespace {

constexpr std::array<const wchar_t*, 4> levelNames{L"Low", L"Medium", L"Hard", L"Master"};

} // namespace

PrefDlg::PrefDlg(Settings& settingsRecord)
    : ModalDialog(IDD_PREFERENCES), settings(&settingsRecord) {}

INT_PTR PrefDlg::handleMessage(UINT message, WPARAM wParam, [[maybe_unused]] LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        onInitDialog();
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDOK:
        onOk();
        return TRUE;
    case IDCANCEL:
        onCancel();
        return TRUE;
    case IDC_MOVES:
        onMovesClicked();
        return FALSE;
    default:
        return FALSE;
    }
}

void PrefDlg::onInitDialog() {
    for (const wchar_t* name : levelNames) {
        SendDlgItemMessageW(dialog, IDC_LEVEL, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    // A level outside 0..3 from a hand-edited file shows as the level the game plays.
    SendDlgItemMessageW(dialog, IDC_LEVEL, CB_SETCURSEL,
                        static_cast<WPARAM>(validLevel(settings->level)), 0);
    setChecked(IDC_MOVES, settings->animate != 0);
    setChecked(IDC_BESTMOVES, settings->animateBest != 0);
    setChecked(IDC_SOUNDS, settings->sound != 0);
    EnableWindow(GetDlgItem(dialog, IDC_SOUNDS), settings->animate != 0);
    setChecked(IDC_SHOWTECH, settings->showTech != 0);
}

void PrefDlg::onOk() {
    const LRESULT selected = SendDlgItemMessageW(dialog, IDC_LEVEL, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) {
        settings->level = static_cast<int32_t>(selected);
    }
    settings->animate = isChecked(IDC_MOVES) ? 1 : 0;
    settings->animateBest = isChecked(IDC_BESTMOVES) ? 1 : 0;
    // Read even while disabled: the mark is kept for when Moves comes back.
    settings->sound = isChecked(IDC_SOUNDS) ? 1 : 0;
    settings->showTech = isChecked(IDC_SHOWTECH) ? 1 : 0;
    // A file that cannot be written leaves the new values in memory for this run.
    static_cast<void>(settings->save());
    EndDialog(dialog, IDOK);
}

void PrefDlg::onCancel() {
    EndDialog(dialog, IDCANCEL);
}

void PrefDlg::onMovesClicked() {
    EnableWindow(GetDlgItem(dialog, IDC_SOUNDS), isChecked(IDC_MOVES));
}

bool PrefDlg::isChecked(int id) const {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void PrefDlg::setChecked(int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

} // namespace pebbo
