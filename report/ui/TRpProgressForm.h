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

// Shows the printer's progress in steps of 5 percent and the page count: the pages made while
// the report runs ("Page 12"), the page printed of all while they print ("Page 12 of 40").
// "Cancel", Esc and the close box cancel the run or the print job; the window stays until the
// job has stopped.
class TRpProgressForm : public QDialog, public TRpNoticeReceiver {
    Q_OBJECT
public:
    // `device` (not owned) is the printer being watched.
    explicit TRpProgressForm(TRpPrinter& device, QWidget* parent = nullptr);

    QLabel* Info;
    QProgressBar* Gauge;
    QLabel* Pages;
    QPushButton* CancelButton;

    void PagesAvailable(int count) override;
    void ProgressChanged(int percent) override;
    void reject() override;

private:
    TRpPrinter& device_;
};

} // namespace lb::report::ui
