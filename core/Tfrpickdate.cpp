// The shared date picker: one modal calendar for every date field of the program.
#include "core/Tfrpickdate.h"

#include "platform/sys/Clock.h"
#include "platform/sys/TextFormat.h"
#include "platform/ui/Modal.h"
#include "platform/ui/GuardSlot.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

QPointer<lb::core::Tfrpickdate> frpickdate;

namespace lb::core {

namespace {

QToolButton* stepButton(const QString& text, const QString& hint, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    return button;
}

} // namespace

Tfrpickdate::Tfrpickdate(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("选择日期"));
    setModal(true);

    title_ = new QLabel(this);
    title_->setAlignment(Qt::AlignCenter);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    priorYear_ = stepButton(QStringLiteral("<<"), QStringLiteral("上一年"), this);
    priorMonth_ = stepButton(QStringLiteral("<"), QStringLiteral("上一月"), this);
    nextMonth_ = stepButton(QStringLiteral(">"), QStringLiteral("下一月"), this);
    nextYear_ = stepButton(QStringLiteral(">>"), QStringLiteral("下一年"), this);

    calendar_ = new QCalendarWidget(this);
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    calendar_->setNavigationBarVisible(false);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setGridVisible(true);

    auto* ok = new QPushButton(QStringLiteral("确定&O"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消&C"), this);

    auto* top = new QHBoxLayout;
    top->addWidget(priorYear_);
    top->addWidget(priorMonth_);
    top->addWidget(title_, 1);
    top->addWidget(nextMonth_);
    top->addWidget(nextYear_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(calendar_);
    layout->addLayout(buttons);

    connect(priorYear_, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] { SetDate(stepYears(GetDate(), -1)); }));
    connect(priorMonth_, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] { SetDate(stepMonths(GetDate(), -1)); }));
    connect(nextMonth_, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] { SetDate(stepMonths(GetDate(), 1)); }));
    connect(nextYear_, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] { SetDate(stepYears(GetDate(), 1)); }));
    connect(calendar_, &QCalendarWidget::selectionChanged, this, lb::ui::guardSlot(this, &Tfrpickdate::dateChanged));
    connect(calendar_, &QCalendarWidget::activated, this, lb::ui::guardSlot(this, [this] { accept(); })); // double click = OK
    connect(ok, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { accept(); }));
    connect(cancel, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { reject(); }));

    SetDate(lb::Clock::today());
}

void Tfrpickdate::SetDate(const QDate& value)
{
    calendar_->setSelectedDate(value);
    calendar_->setCurrentPage(value.year(), value.month());
    dateChanged();
}

QDate Tfrpickdate::GetDate() const { return calendar_->selectedDate(); }

bool Tfrpickdate::pickInto(QLineEdit& field)
{
    SetDate(startDate(field.text()));
    if (lb::ui::Modal::exec(*this) != QDialog::Accepted)
        return false;
    field.setText(lb::fmt::dateToStr(GetDate()));
    return true;
}

QDate Tfrpickdate::startDate(const QString& fieldText)
{
    return fieldText.isEmpty() ? lb::Clock::today() : lb::fmt::strToDate(fieldText);
}

QDate Tfrpickdate::stepMonths(const QDate& date, int months)
{
    return date.addMonths(months); // keeps the day, or the last day of a shorter month
}

QDate Tfrpickdate::stepYears(const QDate& date, int years)
{
    QDate from = date;
    if (from.month() == 2 && from.day() == 29)
        from = QDate(from.year(), 2, 28);
    return from.addYears(years);
}

QString Tfrpickdate::titleText(const QDate& date)
{
    return QStringLiteral("%1,%2,%3").arg(date.year()).arg(date.month()).arg(date.day());
}

void Tfrpickdate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    dateChanged();
    // Every showing starts on the calendar's day, so the arrow keys move the date at once.
    calendar_->setFocus();
}

void Tfrpickdate::dateChanged()
{
    const QDate date = GetDate();
    calendar_->setCurrentPage(date.year(), date.month());
    title_->setText(titleText(date));
}

} // namespace lb::core
