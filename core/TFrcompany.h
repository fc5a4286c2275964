// The company memo window "产品推荐": the free text of the company row.
#pragma once

#include "platform/ui/WorkWindow.h"

class QPlainTextEdit;

namespace lb::core {

// A work window on top of the others, opened by the help menu's "产品推介" with the main window
// disabled. Showing it puts the company row into edit mode; closing it posts the row.
class TFrcompany : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    explicit TFrcompany(QWidget* owner = nullptr);

    QPlainTextEdit* Memo1 = nullptr; // company.doc, read-only

protected:
    void showEvent(QShowEvent* event) override;
    void onClosing() override;

private:
    bool shownOnce_ = false;
};

} // namespace lb::core
