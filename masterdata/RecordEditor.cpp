// The frame the record editors share: the two check boxes, save, new and close, and navigation.
#include "masterdata/RecordEditor.h"

#include "core/Tfrmain.h"
#include "platform/db/Query.h"
#include "platform/ui/GuardSlot.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QPushButton>
#include <QShowEvent>

namespace lb::masterdata {

RecordEditor::RecordEditor(QWidget* owner) : lb::ui::WorkWindow(owner)
{
    // On top, with the close button alone.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    centreWhenShown(frmain);
}

void RecordEditor::addControls(QBoxLayout* layout)
{
    auto* checks = new QHBoxLayout;
    CheckBox1 = new QCheckBox(QStringLiteral("修改"), this);
    CheckBox2 = new QCheckBox(QStringLiteral("新增时复制上一记录"), this);
    checks->addWidget(CheckBox1);
    checks->addWidget(CheckBox2);
    layout->addLayout(checks);

    auto* buttons = new QHBoxLayout;
    auto addButton = [this, buttons](const char* name, const QString& text, const QString& hint) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(hint);
        buttons->addWidget(button);
        return button;
    };
    QPushButton* first = addButton("BitBtn1", QStringLiteral("|<"), QStringLiteral("首记录"));
    QPushButton* prior = addButton("BitBtn3", QStringLiteral("<"), QStringLiteral("上一条"));
    QPushButton* next = addButton("BitBtn4", QStringLiteral(">"), QStringLiteral("下一条"));
    QPushButton* last = addButton("BitBtn2", QStringLiteral(">|"), QStringLiteral("末记录"));
    Button1 = addButton("Button1", QStringLiteral("保存"), QString());
    Button2 = addButton("Button2", QStringLiteral("新增"), QString());
    Button5 = addButton("Button5", QStringLiteral("返回"), QString());
    layout->addLayout(buttons);

    connect(CheckBox1, &QCheckBox::clicked, this, lb::ui::guardSlot(this, &RecordEditor::CheckBox1Click));
    connect(Button1, &QPushButton::clicked, this, lb::ui::guardSlot(this, &RecordEditor::Button1Click));
    connect(Button2, &QPushButton::clicked, this, lb::ui::guardSlot(this, &RecordEditor::Button2Click));
    connect(Button5, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { close(); }));
    connect(first, &QPushButton::clicked, this, lb::ui::guardSlot(this, &RecordEditor::BitBtn1Click));
    connect(last, &QPushButton::clicked, this, lb::ui::guardSlot(this, &RecordEditor::BitBtn2Click));
    connect(prior, &QPushButton::clicked, this, lb::ui::guardSlot(this, &RecordEditor::BitBtn3Click));
    connect(next, &QPushButton::clicked, this, lb::ui::guardSlot(this, &RecordEditor::BitBtn4Click));
}

void RecordEditor::showEvent(QShowEvent* event)
{
    lb::ui::WorkWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void RecordEditor::navigate(void (*move)(lb::db::Query&))
{
    lb::db::Query& rows = records();
    if (!rows.active() || rows.isEmpty())
        return;
    move(rows);
    frmain->AddMode = false;
    frmain->EditIntno = rows.fieldByName(QStringLiteral("intno")).asString();
    FormShow();
}

void RecordEditor::BitBtn1Click() { navigate([](lb::db::Query& q) { q.first(); }); }
void RecordEditor::BitBtn2Click() { navigate([](lb::db::Query& q) { q.last(); }); }
void RecordEditor::BitBtn3Click() { navigate([](lb::db::Query& q) { q.prior(); }); }
void RecordEditor::BitBtn4Click() { navigate([](lb::db::Query& q) { q.next(); }); }

} // namespace lb::masterdata
