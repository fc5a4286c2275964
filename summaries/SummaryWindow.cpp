// The frame every summary, statement and the product history share: period boxes, buttons, grid.
#include "summaries/SummaryWindow.h"

#include "core/Tfrdm.h"
#include "core/Tfrpickdate.h"
#include "masterdata/MasterListWindow.h"
#include "platform/db/Table.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/FocusChain.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/LbApplication.h"
#include "platform/ui/Modal.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace lb::summaries {

using lb::masterdata::MasterListWindow;

SummaryWindow::SummaryWindow(const QString& key, const QString& caption, QWidget* owner) : lb::ui::WorkWindow(owner)
{
    setObjectName(key);
    setWindowTitle(caption);
    layout_ = new QVBoxLayout(this);
    top_ = new QHBoxLayout;
    layout_->addLayout(top_);
    focus_ = new lb::ui::FocusChain(this);
    MaskEdit1 = makePeriodBox(QStringLiteral("MaskEdit1"), QStringLiteral("日期从"));
    MaskEdit2 = makePeriodBox(QStringLiteral("MaskEdit2"), QStringLiteral("到"));
    focus_->link(MaskEdit1, MaskEdit2);
    focus_->setArrowKeys({MaskEdit1, MaskEdit2});
    connect(MaskEdit2, &QLineEdit::returnPressed, this, lb::ui::guardSlot(this, [this] { periodEntered(); }));

    DBGrid2 = new lb::ui::DataGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setReadOnly(true);
    layout_->addWidget(DBGrid2, 1);
    MasterListWindow::centre(*this, QSize(1180, 620));
}

void SummaryWindow::setGridColumns(std::vector<lb::ui::GridColumn> columns)
{
    // Pixels by field; numbers and the rest take the default.
    static const std::pair<const char*, int> widths[] = {
        {"billdate", 86}, {"billname", 80}, {"billtype", 70}, {"sphh", 90}, {"customerid", 90}, {"spmc", 130},
        {"customername", 130}, {"spgg", 90}, {"unit", 44}, {"remark", 130},
    };
    for (lb::ui::GridColumn& column : columns) {
        if (column.width > 0)
            continue;
        column.width = 76;
        for (const auto& [field, width] : widths)
            if (column.fieldName == QLatin1String(field))
                column.width = width;
    }
    DBGrid2->setColumns(std::move(columns));
}

QLineEdit* SummaryWindow::makePeriodBox(const QString& name, const QString& label)
{
    top_->addWidget(new QLabel(label, this));
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    // The blanks stand for digits not yet typed; "-" is the date separator.
    box->setInputMask(QStringLiteral("9999-99-99; "));
    box->setToolTip(QStringLiteral("双击选取日期"));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) + 16);
    lb::ui::KeyFilter::install(box, lb::ui::KeyFilter::Allowed::DigitsAndMinus);
    onDoubleClick(box, [this, box] { pickDate(box); });
    top_->addWidget(box);
    return box;
}

void SummaryWindow::addButtons(const QString& refreshCaption, const QString& reportCaption)
{
    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        top_->addWidget(b);
        return b;
    };
    refresh = button("refresh", refreshCaption);
    report = button("report", reportCaption);
    cancel = button("cancel", QStringLiteral("返回"));
    top_->addStretch(1);
    // The grid, made before the window's own controls so that they can bind it, comes after
    // the top row in the focus order, as it does on the screen.
    QWidget::setTabOrder(cancel, DBGrid2);
    connect(cancel, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { close(); }));
}

QString SummaryWindow::boxText(const QLineEdit* box)
{
    return box->displayText();
}

Period SummaryWindow::period() const
{
    return ReportPeriod::parse(boxText(MaskEdit1), boxText(MaskEdit2));
}

Period SummaryWindow::storePeriod()
{
    const Period chosen = period();
    ReportPeriod::store(frdm->ADOCon, chosen);
    return chosen;
}

void SummaryWindow::loadPeriod()
{
    const Period stored = ReportPeriod::load(frdm->ADOCon);
    MaskEdit1->setText(ReportPeriod::text(stored.from));
    MaskEdit2->setText(ReportPeriod::text(stored.to));
}

void SummaryWindow::pickDate(QLineEdit* box)
{
    const QString text = boxText(box);
    frpickdate->SetDate(ReportPeriod::isEmptyBox(text) ? lb::Clock::today() : ReportPeriod::parse(text));
    if (lb::ui::Modal::exec(*frpickdate) == QDialog::Accepted)
        box->setText(ReportPeriod::text(frpickdate->GetDate()));
}

void SummaryWindow::reconnect()
{
    frdm->ATcompany->close();
    frdm->ADOCon.close();
    frdm->ADOCon.open();
    frdm->ATcompany->open();
}

void SummaryWindow::showEvent(QShowEvent* event)
{
    lb::ui::WorkWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    lb::ui::LbApplication::guarded(this, [this] {
        FormShow();
        return true;
    });
}

void SummaryWindow::onDoubleClick(QWidget* box, std::function<void()> action)
{
    box->installEventFilter(this);
    doubleClicks_.emplace_back(box, std::move(action));
}

bool SummaryWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (const auto& [box, action] : doubleClicks_) {
            if (box != watched)
                continue;
            lb::ui::LbApplication::guarded(this, [&action] {
                action();
                return true;
            });
            return true;
        }
    }
    return lb::ui::WorkWindow::eventFilter(watched, event);
}

} // namespace lb::summaries
