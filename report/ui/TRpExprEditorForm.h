// The dialog of the expression editor: the label editor's, with the expression builder button
// and the format mask.
#pragma once

#include "report/ui/TRpLabelEditorForm.h"

class QComboBox;
class QToolButton;

namespace lb::report {
class TCustomRpReport;
}

namespace lb::report::ui {

class TRpExprEditorForm : public TRpLabelEditorForm {
    Q_OBJECT
public:
    // `report` (may be nullptr) gives the builder its datasets.
    explicit TRpExprEditorForm(TCustomRpReport* report, QWidget* parent = nullptr);

    QToolButton* ShowExprBuilder;
    QComboBox* Mask;

private:
    TCustomRpReport* report_;
};

} // namespace lb::report::ui
