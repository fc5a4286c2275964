// Progress window: gauge and text in steps of 5 percent, cancel.
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
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    connect(CancelButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { device_.Cancel(); }));
}

void TRpProgressForm::ProgressChanged(int percent)
{
    if (percent % 5 != 0)
        return;
    Gauge->setValue(percent);
    Info->setText(QString::number(percent) + QStringLiteral("% ") + QStringLiteral(" Completed"));
    QCoreApplication::processEvents();
}

} // namespace lb::report::ui
