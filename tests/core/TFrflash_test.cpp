// Tests of the splash window: its timer closes it, and its question switches it off for good.
#include "CoreFixture.h"

#include "core/TFrflash.h"
#include "platform/ui/Modal.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/ui/ScriptedModals.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

using lb::core::TFrflash;

namespace {

// Scripted answers that also note whether the splash timer ran while the question was open.
class TimerWatch : public lb::ui::ScriptedDialogs {
public:
    explicit TimerWatch(QTimer& timer) : timer_(timer) {}
    lb::ui::DialogAnswer ask(const lb::ui::DialogRequest& request) override
    {
        timerRanDuringQuestion = timer_.isActive();
        return ScriptedDialogs::ask(request);
    }
    bool timerRanDuringQuestion = true;

private:
    QTimer& timer_;
};

void clickOn(QWidget* widget)
{
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(4, 4), widget->mapToGlobal(QPointF(4, 4)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

} // namespace

class TFrflashTest : public CoreFixture {
protected:
    bool flashOption() { return scalar(QStringLiteral("select flashbj from config")).toBool(); }
};

TEST_F(TFrflashTest, ItsTimerClosesItAfterThreeSeconds)
{
    TFrflash splash;
    EXPECT_EQ(3000, splash.Timer1->interval());
    EXPECT_EQ(QStringLiteral("欢迎使用"), splash.Label1->text());
    lb::ui::ScriptedModals modals;
    qint64 open = 0;
    modals.then([&](QDialog& dialog) {
        QElapsedTimer clock;
        clock.start();
        while (dialog.isVisible() && clock.elapsed() < 6000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        open = clock.elapsed();
    });
    EXPECT_EQ(QDialog::Accepted, lb::ui::Modal::exec(splash));
    EXPECT_GE(open, 2500); // a coarse timer may fire a little early
    EXPECT_LT(open, 5000);
}

TEST_F(TFrflashTest, AnsweringNoSwitchesItOffAndTheTimerWaitsForTheAnswer)
{
    ASSERT_TRUE(flashOption());
    TFrflash splash;
    splash.show();
    TimerWatch watch(*splash.Timer1);
    watch.answer(lb::ui::DialogAnswer::Yes).answer(lb::ui::DialogAnswer::No);
    clickOn(splash.Image1);
    EXPECT_EQ(QStringList{"提示|以后启动时是否要显示此图示?"}, watch.captionsAndTexts());
    EXPECT_FALSE(watch.timerRanDuringQuestion);
    EXPECT_TRUE(flashOption());
    EXPECT_TRUE(splash.Timer1->isActive()); // it goes on after the answer
    clickOn(splash.Image1);
    EXPECT_FALSE(flashOption());
    EXPECT_FALSE(dm().ATCONFIG->active());
    EXPECT_TRUE(splash.isVisible()); // only the timer closes it
}
