// The shared date picker: one modal calendar for every date field of the program.
#pragma once

#include <QDate>
#include <QDialog>
#include <QPointer>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QToolButton;

namespace lb::core {

// Created once at start and kept for the whole run, so it remembers the last date shown.
class Tfrpickdate : public QDialog {
    Q_OBJECT
public:
    explicit Tfrpickdate(QWidget* parent = nullptr);

    void SetDate(const QDate& value);
    QDate GetDate() const;

    // The calling convention of a date field: starts from today when the field is empty,
    // otherwise from its text read as "yyyy-mm-dd" (lb::ConvertError before the picker opens
    // when it is not such a date); shows the picker modally; on OK writes the chosen date into
    // the field as "yyyy-mm-dd" and returns true, on Cancel leaves it and returns false.
    bool pickInto(QLineEdit& field);

    // The date a field's text asks the picker to start from (rule above).
    static QDate startDate(const QString& fieldText);
    // The month and year buttons: a month step keeps the day or falls back to the last day of
    // a shorter month; a year step first turns 29 February into 28 February.
    static QDate stepMonths(const QDate& date, int months);
    static QDate stepYears(const QDate& date, int years);
    // The title label's text: "YYYY,M,D".
    static QString titleText(const QDate& date);

    // Widgets, for the tests and the key handling.
    QLabel* titleLabel() const { return title_; }
    QCalendarWidget* calendar() const { return calendar_; }
    QToolButton* priorYearButton() const { return priorYear_; }
    QToolButton* priorMonthButton() const { return priorMonth_; }
    QToolButton* nextMonthButton() const { return nextMonth_; }
    QToolButton* nextYearButton() const { return nextYear_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void dateChanged();
    QLabel* title_ = nullptr;
    QCalendarWidget* calendar_ = nullptr;
    QToolButton* priorYear_ = nullptr;
    QToolButton* priorMonth_ = nullptr;
    QToolButton* nextMonth_ = nullptr;
    QToolButton* nextYear_ = nullptr;
};

} // namespace lb::core

extern QPointer<lb::core::Tfrpickdate> frpickdate;
