#include "app/ResultsDlg.h"

#include <string>

#include "resources/resource.h"

namespace pebbo {

ResultsDlg::ResultsDlg(ResultsRecord& resultsRecord)
    : ModalDialog(IDD_RESULTS), results(&resultsRecord) {}

INT_PTR ResultsDlg::handleMessage(UINT message, WPARAM wParam, [[maybe_unused]] LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        showFigures();
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_RESET:
            results->reset();
            showFigures();
            return TRUE;
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, IDOK);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

void ResultsDlg::showFigures() {
    for (int32_t level = 0; level < 4; ++level) {
        const LevelResults row = results->at(level);
        const int64_t figures[] = {row.won, row.lost, row.drawn, row.marginSum};
        for (int column = 0; column < 4; ++column)
            SetDlgItemTextW(dialog, IDC_RESULTS + 4 * level + column,
                            std::to_wstring(figures[column]).c_str());
    }
}

} // namespace pebbo
