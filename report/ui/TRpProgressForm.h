// The progress window shown while a report goes to the printer.
#pragma once

#include "report/TRpNoticeReceiver.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace lb::report {
class TRpPrinter;
}

namespace lb::report::ui {

// Shows the printer's progress in steps of 5 percent; "Cancel" cancels the print job.
class TRpProgressForm : public QDialog, public TRpNoticeReceiver {
    Q_OBJECT
public:
    // `device` (not owned) is the printer being watched.
    explicit TRpProgressForm(TRpPrinter& device, QWidget* parent = nullptr);

    QLabel* Info;
    QProgressBar* Gauge;
    QPushButton* CancelButton;

    void PagesAvailable(int) override {}
    void ProgressChanged(int percent) override;

private:
    TRpPrinter& device_;
};

} // namespace lb::report::ui
