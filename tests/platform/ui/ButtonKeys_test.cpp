// Enter and Esc at the window: a box that takes no Enter presses no button, and Esc presses only
// the button a window named, whatever the captions of its buttons.
#include "platform/ui/ButtonKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>

using lb::ui::ButtonKeys;

namespace {

void press(QWidget* widget, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Return ? QStringLiteral("\r") : QString());
    QApplication::sendEvent(widget, &event);
}

// A plain window as the program's editors are: a box, then push and tool buttons that count
// their clicks.
struct Window {
    QWidget window;
    QLineEdit* box = new QLineEdit(&window);
    QPushButton* save = new QPushButton(QStringLiteral("保存"), &window);
    QPushButton* cancel = new QPushButton(QStringLiteral("取消"), &window);
    QToolButton* pick = new QToolButton(&window);
    int clicks = 0;

    Window()
    {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* widget : std::initializer_list<QWidget*>{box, save, cancel, pick})
            layout->addWidget(widget);
        for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{save, cancel, pick})
            QObject::connect(button, &QAbstractButton::clicked, [this] { ++clicks; });
        window.show();
        QApplication::setActiveWindow(&window);
    }
};

} // namespace

// Enter in a box that takes none reaches the window untaken: it presses neither the window's
// default button nor the one that had the focus before the box, nor a button focused in another
// window while the key went to this one.
TEST(ButtonKeys, EnterInAPlainBoxPressesNoButton)
{
    Window form;
    form.save->setDefault(true);
    form.save->setFocus();
    form.box->setFocus();
    press(form.box, Qt::Key_Return);
    press(form.box, Qt::Key_Enter);
    EXPECT_EQ(0, form.clicks);

    Window other;
    other.save->setFocus();
    ASSERT_EQ(other.save, QApplication::focusWidget());
    press(form.box, Qt::Key_Return);
    EXPECT_EQ(0, form.clicks);
    EXPECT_EQ(0, other.clicks);
}

// Esc presses the button a window named, whatever its caption, and no button by its caption; a
// named button deleted since is not pressed.
TEST(ButtonKeys, EscPressesTheNamedButtonNotOneFoundByItsCaption)
{
    Window form;
    form.box->setFocus();
    press(form.box, Qt::Key_Escape);
    EXPECT_EQ(0, form.clicks);

    auto leave = std::make_unique<QPushButton>(QStringLiteral("退出"), &form.window);
    int left = 0;
    QObject::connect(leave.get(), &QPushButton::clicked, [&left] { ++left; });
    leave->show();
    ButtonKeys::setCancelButton(form.window, *leave);
    press(form.box, Qt::Key_Escape);
    EXPECT_EQ(1, left);
    EXPECT_EQ(0, form.clicks);

    leave.reset();
    press(form.box, Qt::Key_Escape);
    EXPECT_EQ(0, form.clicks);
}

// The named button is the way out of what is shown: hidden, or on a page not shown (another
// tab's), it is not pressed and Esc does nothing, though it is enabled; shown, it is pressed.
TEST(ButtonKeys, EscPassesOverTheNamedButtonWhileItIsNotShown)
{
    Window form;
    auto* page = new QWidget(&form.window);
    auto* leave = new QPushButton(QStringLiteral("退出"), page);
    form.window.layout()->addWidget(page);
    int left = 0;
    QObject::connect(leave, &QPushButton::clicked, [&left] { ++left; });
    ButtonKeys::setCancelButton(form.window, *leave);
    form.box->setFocus();
    for (const bool pageShown : {false, true}) {
        page->setVisible(pageShown);
        leave->setVisible(!pageShown);
        ASSERT_FALSE(leave->isVisible());
        ASSERT_TRUE(leave->isEnabled());
        press(form.box, Qt::Key_Escape);
        EXPECT_EQ(0, left) << (pageShown ? "button hidden" : "page hidden");
    }
    leave->show();
    press(form.box, Qt::Key_Escape);
    EXPECT_EQ(1, left);
    EXPECT_EQ(0, form.clicks);
}
