// Enter along a fixed order, Up and Down through the tab order, Enter clicking the last button.
#include "platform/ui/FocusChain.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using lb::ui::FocusChain;

namespace {

void press(QWidget* widget, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Return ? QStringLiteral("\r") : QString());
    QApplication::sendEvent(widget, &event);
}

// An editor like the program's: code, name, phone boxes and a save button.
struct Editor {
    QWidget window;
    QLineEdit* code = new QLineEdit(&window);
    QLineEdit* name = new QLineEdit(&window);
    QLineEdit* hidden = new QLineEdit(&window);
    QLineEdit* phone = new QLineEdit(&window);
    QPushButton* save = new QPushButton("保存", &window);
    FocusChain* chain = new FocusChain(&window);
    int saved = 0;

    Editor()
    {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : {static_cast<QWidget*>(code), static_cast<QWidget*>(name), static_cast<QWidget*>(hidden),
                           static_cast<QWidget*>(phone), static_cast<QWidget*>(save)})
            layout->addWidget(w);
        hidden->hide();
        QObject::connect(save, &QPushButton::clicked, [this] { ++saved; });
        window.show();
        window.activateWindow();
        QApplication::processEvents();
        code->setFocus();
    }
};

TEST(FocusChain, enterFollowsTheOrderAndClicksTheButtonAtItsEnd)
{
    Editor e;
    // Enter goes name -> code order on purpose, unlike the tab order.
    e.chain->setOrder({e.name, e.code, e.phone, e.save});
    e.name->setFocus();
    press(e.name, Qt::Key_Return);
    EXPECT_TRUE(e.code->hasFocus());
    press(e.code, Qt::Key_Return);
    EXPECT_TRUE(e.phone->hasFocus());
    press(e.phone, Qt::Key_Return);
    EXPECT_TRUE(e.save->hasFocus());
    EXPECT_EQ(0, e.saved);
    press(e.save, Qt::Key_Return);
    EXPECT_EQ(1, e.saved);
}

TEST(FocusChain, wrappedOrderLeadsBackToTheFirst)
{
    Editor e;
    e.chain->setOrder({e.code, e.name, e.phone}, true);
    e.phone->setFocus();
    press(e.phone, Qt::Key_Return);
    EXPECT_TRUE(e.code->hasFocus());
}

TEST(FocusChain, arrowsMoveThroughTheTabOrderSkippingHiddenControls)
{
    Editor e;
    e.chain->setArrowKeys({e.code, e.name, e.phone});
    e.name->setFocus();
    press(e.name, Qt::Key_Down);
    EXPECT_TRUE(e.phone->hasFocus());
    press(e.phone, Qt::Key_Up);
    EXPECT_TRUE(e.name->hasFocus());
    press(e.name, Qt::Key_Up);
    EXPECT_TRUE(e.code->hasFocus());
}

TEST(FocusChain, upOnlyLeavesDownToTheWidget)
{
    Editor e;
    e.chain->setArrowKeys({e.phone}, FocusChain::Up);
    e.phone->setFocus();
    press(e.phone, Qt::Key_Down);
    EXPECT_TRUE(e.phone->hasFocus());
    press(e.phone, Qt::Key_Up);
    EXPECT_TRUE(e.name->hasFocus());
}

} // namespace
