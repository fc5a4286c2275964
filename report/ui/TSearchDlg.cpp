// Search dialog layout.
#include "report/ui/TSearchDlg.h"

#include "platform/ui/GuardSlot.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace lb::report::ui {

TSearchDlg::TSearchDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TSearchDlg"));
    setWindowTitle(QStringLiteral("Report Preview : Text Search"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    resize(305, 118);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Search for :"), this), 0, 0);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    layout->addWidget(Edit1, 0, 1, 1, 2);
    CheckBox1 = new QCheckBox(QStringLiteral("Match Case"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    layout->addWidget(CheckBox1, 1, 1);
    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setText(QStringLiteral("Search"));
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Cancel"));
    layout->addWidget(SpeedButton2, 2, 1);
    layout->addWidget(SpeedButton1, 2, 2);
    connect(SpeedButton2, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] { accept(); }));
    // Tool buttons cannot be a dialog's default button: Enter in the text searches as Search does.
    connect(Edit1, &QLineEdit::returnPressed, this, lb::ui::guardSlot(this, [this] { accept(); }));
    connect(SpeedButton1, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] { reject(); }));
}

} // namespace lb::report::ui
