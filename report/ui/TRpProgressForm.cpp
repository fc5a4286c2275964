// Progress window: gauge and text in steps of 5 percent, the page count, cancel.
#include "report/ui/TRpProgressForm.h"

#include "platform/ui/GuardSlot.h"
#include "report/TRpPrinter.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace lb::report::ui {

TRpProgressForm::TRpProgressForm(TRpPrinter& device, QWidget* parent) : QDialog(parent), device_(device)
{
    setObjectName(QStringLiteral("TRpProgressForm"));
    setWindowTitle(QStringLiteral("Printing progress"));
    setWindowFlags((windowFlags() | Qt::WindowStaysOnTopHint) & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    Info = new QLabel(this);
    Info->setObjectName(QStringLiteral("Info"));
    Info->setAlignment(Qt::AlignCenter);
    layout->addWidget(Info);
    Gauge = new QProgressBar(this);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    layout->addWidget(Gauge);
    Pages = new QLabel(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->setAlignment(Qt::AlignCenter);
    layout->addWidget(Pages);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    connect(CancelButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { device_.Cancel(); }));
    // Wide enough for its caption in the title bar.
    setMinimumWidth(320);
    adjustSize();
}

void TRpProgressForm::reject()
{
    device_.Cancel();
}

void TRpProgressForm::PagesAvailable(int count)
{
    Pages->setText(QStringLiteral("Page %1").arg(count));
}

void TRpProgressForm::ProgressChanged(int percent)
{
    // While the report runs the percent is that of its records; the pages count on their own.
    if (device_.State() == TRpPrinter::TRpPrinterState::Finished)
        Pages->setText(QStringLiteral("Page %1 of %2").arg(device_.CurrentPage()).arg(device_.PageCount()));
    if (percent % 5 != 0)
        return;
    Gauge->setValue(percent);
    Info->setText(QString::number(percent) + QStringLiteral("% ") + QStringLiteral(" Completed"));
    QCoreApplication::processEvents();
}

} // namespace lb::report::ui
