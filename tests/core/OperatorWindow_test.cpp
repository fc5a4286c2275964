// Tests of what the operator windows share: Enter and arrow keys along their edits, and a
// close by "取消" that enables the list and drops an unposted change.
#include "core/CoreFixture.h"
#include "core/TFropadd.h"
#include "core/Tfropedit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

using lb::core::TFropadd;
using lb::core::Tfropedit;

namespace {

void press(QWidget* widget, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Return ? QStringLiteral("\r") : QString());
    QApplication::sendEvent(widget, &event);
}

class OperatorWindowTest : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        dm().ATopcrl->open();
        list.setEnabled(false); // as the list is while one of its windows shows
    }

    // Shows the window active, as the user sees it, so that the focus moves for real.
    void activate(QWidget& window)
    {
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        QApplication::processEvents();
    }

    QWidget list;
};

} // namespace

TEST_F(OperatorWindowTest, EnterAndArrowsWalkTheAddWindow)
{
    TFropadd add(&list);
    add.showAdd();
    activate(add);
    ASSERT_TRUE(add.Edit3->hasFocus());
    const QList<QWidget*> order{add.Edit3, add.Edit4, add.Edit1, add.Edit2, add.Button1};
    for (int i = 0; i + 1 < order.size(); ++i) {
        press(order[i], Qt::Key_Return);
        EXPECT_TRUE(order[i + 1]->hasFocus()) << i;
    }
    press(add.Edit2, Qt::Key_Up);
    EXPECT_TRUE(add.Edit1->hasFocus());
    press(add.Edit1, Qt::Key_Up);
    EXPECT_TRUE(add.Edit4->hasFocus());
    press(add.Edit4, Qt::Key_Down);
    EXPECT_TRUE(add.Edit1->hasFocus());
    EXPECT_EQ(QStringLiteral("新增操作员"), add.windowTitle());
}

TEST_F(OperatorWindowTest, EnterWalksThePasswordWindowFromTheName)
{
    Tfropedit edit(&list);
    edit.showEdit();
    activate(edit);
    ASSERT_TRUE(edit.Edit1->hasFocus());
    EXPECT_EQ(QStringLiteral("系统管理员"), edit.Edit3->text());
    edit.Edit3->setFocus();
    press(edit.Edit3, Qt::Key_Return);
    EXPECT_TRUE(edit.Edit1->hasFocus());
    press(edit.Edit1, Qt::Key_Return);
    EXPECT_TRUE(edit.Edit2->hasFocus());
    press(edit.Edit2, Qt::Key_Return);
    EXPECT_TRUE(edit.Button1->hasFocus());
    EXPECT_EQ(QStringLiteral("修改操作员密码"), edit.windowTitle());
    EXPECT_EQ(QLineEdit::Password, edit.Edit1->echoMode());
    EXPECT_EQ(6, edit.Edit2->maxLength());
}

TEST_F(OperatorWindowTest, CancelEnablesTheListAndDropsAnUnpostedChange)
{
    Tfropedit edit(&list);
    edit.showEdit();
    dm().ATopcrl->edit();
    dm().ATopcrl->fieldByName(QStringLiteral("xm")).setAsString(QStringLiteral("改了一半"));
    edit.Button2->click();
    EXPECT_FALSE(edit.isVisible());
    EXPECT_TRUE(list.isEnabled());
    EXPECT_EQ(lb::db::DataSetState::Browse, dm().ATopcrl->state());
    EXPECT_EQ(QStringLiteral("系统管理员"), scalar(QStringLiteral("select xm from opcrl where bh='999'")).toString());
    EXPECT_TRUE(dialogs.shown().empty());
}

// Esc closes the window as its "取消" does.
TEST_F(OperatorWindowTest, EscClosesAsCancelDoes)
{
    TFropadd add(&list);
    add.showAdd();
    activate(add);
    press(add.Edit3, Qt::Key_Escape);
    EXPECT_FALSE(add.isVisible());
    EXPECT_TRUE(list.isEnabled());
}
