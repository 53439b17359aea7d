#pragma once

#include "app/ModalDialog.h"
#include "app/ResultsRecord.h"

namespace pebbo {

// The Results dialog: the record's four figures per level, "Reset" to clear the
// record (saved at once) and "OK" to close.
class ResultsDlg : public ModalDialog {
public:
    explicit ResultsDlg(ResultsRecord& resultsRecord);
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void showFigures();

    ResultsRecord* results;
};

} // namespace pebbo
