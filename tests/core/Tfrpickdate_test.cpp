// Tests of the shared date picker: month and year steps, the title, and the date-field convention.
#include "core/Tfrpickdate.h"

#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"
#include "platform/sys/TextFormat.h"
#include "platform/ui/ScriptedModals.h"
#include "support/Typing.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <gtest/gtest.h>

using lb::core::Tfrpickdate;

class TfrpickdateTest : public ::testing::Test {
protected:
    void SetUp() override { lb::Clock::set(QDateTime(QDate(2026, 6, 15), QTime(10, 0))); }
    void TearDown() override { lb::Clock::reset(); }
    Tfrpickdate picker;
};

TEST_F(TfrpickdateTest, MonthAndYearStepRules)
{
    struct Case {
        QDate from;
        int months;
        int years;
        QDate expected;
    };
    const std::vector<Case> cases{
        {QDate(2008, 3, 31), -1, 0, QDate(2008, 2, 29)},
        {QDate(2009, 3, 31), -1, 0, QDate(2009, 2, 28)},
        {QDate(2026, 1, 31), 1, 0, QDate(2026, 2, 28)},
        {QDate(2026, 12, 15), 1, 0, QDate(2027, 1, 15)},
        {QDate(2026, 1, 10), -1, 0, QDate(2025, 12, 10)},
        {QDate(2008, 2, 29), 0, 1, QDate(2009, 2, 28)},
        {QDate(2008, 2, 29), 0, -1, QDate(2007, 2, 28)},
        {QDate(2008, 2, 29), 0, 4, QDate(2012, 2, 28)}, // 28 first, even into a leap year
        {QDate(2026, 6, 15), 0, -1, QDate(2025, 6, 15)},
    };
    for (const Case& c : cases) {
        const QDate actual = c.months ? Tfrpickdate::stepMonths(c.from, c.months) : Tfrpickdate::stepYears(c.from, c.years);
        EXPECT_EQ(c.expected, actual) << c.from.toString(Qt::ISODate).toStdString();
    }
}

TEST_F(TfrpickdateTest, ButtonsMoveTheDateAndTheTitleFollows)
{
    picker.SetDate(QDate(2008, 3, 31));
    EXPECT_EQ(QStringLiteral("2008,3,31"), picker.titleLabel()->text());
    picker.priorMonthButton()->click();
    EXPECT_EQ(QDate(2008, 2, 29), picker.GetDate());
    EXPECT_EQ(QStringLiteral("2008,2,29"), picker.titleLabel()->text());
    picker.nextYearButton()->click();
    EXPECT_EQ(QDate(2009, 2, 28), picker.GetDate());
    picker.priorYearButton()->click();
    EXPECT_EQ(QDate(2008, 2, 28), picker.GetDate());
    picker.nextMonthButton()->click();
    EXPECT_EQ(QDate(2008, 3, 28), picker.GetDate());
    EXPECT_EQ(Qt::Sunday, picker.calendar()->firstDayOfWeek());
    EXPECT_EQ(QStringLiteral("选择日期"), picker.windowTitle());
}

TEST_F(TfrpickdateTest, EmptyFieldStartsTodayAndOkWritesTheDate)
{
    QLineEdit field;
    lb::ui::ScriptedModals modals;
    QDate started;
    modals.then([&](QDialog&) {
        started = picker.GetDate();
        picker.nextMonthButton()->click();
        picker.accept();
    });
    EXPECT_TRUE(picker.pickInto(field));
    EXPECT_EQ(QDate(2026, 6, 15), started);
    EXPECT_EQ(QStringLiteral("2026-07-15"), field.text());
}

TEST_F(TfrpickdateTest, FieldTextIsTheStartAndCancelLeavesIt)
{
    QLineEdit field(QStringLiteral("2026-01-31"));
    lb::ui::ScriptedModals modals;
    modals.then([&](QDialog&) {
        EXPECT_EQ(QDate(2026, 1, 31), picker.GetDate());
        picker.nextMonthButton()->click();
        picker.nextMonthButton()->click();
        picker.reject();
    });
    EXPECT_FALSE(picker.pickInto(field));
    EXPECT_EQ(QStringLiteral("2026-01-31"), field.text());
    // The picker keeps the last date shown.
    EXPECT_EQ(QDate(2026, 3, 28), picker.GetDate());
}

TEST_F(TfrpickdateTest, DoubleClickOnTheCalendarIsOk)
{
    QLineEdit field(QStringLiteral("2026-05-01"));
    lb::ui::ScriptedModals modals;
    modals.then([&](QDialog&) {
        picker.calendar()->setSelectedDate(QDate(2026, 5, 20));
        emit picker.calendar()->activated(QDate(2026, 5, 20));
    });
    EXPECT_TRUE(picker.pickInto(field));
    EXPECT_EQ(QStringLiteral("2026-05-20"), field.text());
}

TEST_F(TfrpickdateTest, AltOIsOkAndAltCIsCancel)
{
    QLineEdit field(QStringLiteral("2026-05-01"));
    lb::ui::ScriptedModals modals;
    modals.then([&](QDialog& dialog) {
        picker.calendar()->setSelectedDate(QDate(2026, 5, 20));
        pressAccessKey(&dialog, 'O');
    });
    EXPECT_TRUE(picker.pickInto(field));
    EXPECT_EQ(QStringLiteral("2026-05-20"), field.text());
    modals.then([&](QDialog& dialog) {
        picker.calendar()->setSelectedDate(QDate(2026, 5, 25));
        pressAccessKey(&dialog, 'C');
        // Rejected by the key, not by the script closing what the step left open.
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_FALSE(picker.pickInto(field));
    EXPECT_EQ(QStringLiteral("2026-05-20"), field.text());
}

// Every showing starts on the calendar's day, also after the last one ended on a button:
// the arrow keys move the date at once.
TEST_F(TfrpickdateTest, ArrowKeysMoveTheDayAsSoonAsThePickerShows)
{
    QLineEdit field(QStringLiteral("2026-05-01"));
    lb::ui::ScriptedModals modals;
    const auto press = [](QDialog& dialog, int key) {
        QApplication::setActiveWindow(&dialog);
        ASSERT_NE(nullptr, dialog.focusWidget());
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(dialog.focusWidget(), &event);
    };
    for (const QDate expected : {QDate(2026, 5, 9), QDate(2026, 5, 17)}) {
        modals.then([&](QDialog& dialog) {
            press(dialog, Qt::Key_Right);
            press(dialog, Qt::Key_Down);
            picker.priorMonthButton()->setFocus(); // the clerk leaves it on a button
            picker.accept();
        });
        EXPECT_TRUE(picker.pickInto(field));
        EXPECT_EQ(lb::fmt::dateToStr(expected), field.text());
    }
}

TEST_F(TfrpickdateTest, TextThatIsNotADateFailsBeforeThePickerOpens)
{
    QLineEdit field(QStringLiteral("2026/05/01"));
    lb::ui::ScriptedModals modals;
    EXPECT_THROW(picker.pickInto(field), lb::ConvertError);
    EXPECT_TRUE(modals.titles().isEmpty());
    EXPECT_EQ(QStringLiteral("2026/05/01"), field.text());
}
