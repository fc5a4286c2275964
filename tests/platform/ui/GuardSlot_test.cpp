// Guarded slots: errors reach the handler, aborts stay silent, arguments arrive as Qt gives them.
#include "platform/ui/GuardSlot.h"

#include "platform/sys/Errors.h"
#include "platform/ui/ScriptedDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include <stdexcept>

using lb::ui::guardSlot;
using lb::ui::LbApplication;

namespace {

class GuardSlotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LbApplication::setErrorHandler([this](QObject* sender, const std::exception& error) {
            ++count;
            lastSender = sender;
            lastMessage = QString::fromUtf8(error.what());
        });
    }
    void TearDown() override { LbApplication::setErrorHandler(nullptr); }

    int count = 0;
    QObject* lastSender = nullptr;
    QString lastMessage;
};

// A button whose handler fails the way a command does.
class FailingButton : public QPushButton {
public:
    int clicks = 0;
    void failingClick()
    {
        ++clicks;
        throw lb::DatabaseError("该功能暂时不能执行，请重新操作！");
    }
};

} // namespace

TEST_F(GuardSlotTest, errorsReachTheHandlerWithTheContextAndTheLoopGoesOn)
{
    QPushButton button;
    QObject context;
    int after = 0;
    QObject::connect(&button, &QPushButton::clicked, &context,
                     guardSlot(&context, [] { throw std::runtime_error("disk full"); }));
    QObject::connect(&button, &QPushButton::clicked, &context, guardSlot(&context, [&] { ++after; }));
    button.click();
    button.click();
    EXPECT_EQ(2, count);
    EXPECT_EQ(&context, lastSender);
    EXPECT_EQ(QString("disk full"), lastMessage);
    EXPECT_EQ(2, after); // the second slot still runs after the first one failed
}

TEST_F(GuardSlotTest, abortIsSilent)
{
    lb::ui::ScriptedDialogs dialogs;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, &button, guardSlot(&button, [] { throw lb::Abort(); }));
    button.click();
    EXPECT_EQ(0, count);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(GuardSlotTest, slotsTakeAsManyOfTheSignalsArgumentsAsTheyAsk)
{
    QComboBox box;
    box.addItems({"a", "b", "c"});
    int index = -1;
    QString text;
    int bare = 0;
    QObject::connect(&box, &QComboBox::currentIndexChanged, &box, guardSlot(&box, [&](int i) { index = i; }));
    QObject::connect(&box, &QComboBox::currentTextChanged, &box,
                     guardSlot(&box, [&](const QString& t) { text = t; }));
    QObject::connect(&box, &QComboBox::currentIndexChanged, &box, guardSlot(&box, [&] { ++bare; }));
    box.setCurrentIndex(2);
    EXPECT_EQ(2, index);
    EXPECT_EQ(QString("c"), text);
    EXPECT_EQ(1, bare);

    QCheckBox check;
    bool checked = false;
    QObject::connect(&check, &QCheckBox::toggled, &check, guardSlot(&check, [&](bool on) { checked = on; }));
    check.setChecked(true);
    EXPECT_TRUE(checked);
}

TEST_F(GuardSlotTest, memberFunctionsReportWithTheirObjectAsSender)
{
    FailingButton button;
    QObject::connect(&button, &QPushButton::clicked, &button, guardSlot(&button, &FailingButton::failingClick));
    button.click();
    EXPECT_EQ(1, button.clicks);
    EXPECT_EQ(1, count);
    EXPECT_EQ(&button, lastSender);
}
