// Where windows appear: transient for their owner, on top like an owner that stays on top,
// centred over a window or on the screen.
#include "platform/ui/WindowPlacement.h"

#include "platform/ui/WorkWindow.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>
#include <gtest/gtest.h>

using lb::ui::WindowPlacement;
using lb::ui::WorkWindow;

// A work window stays parentless (so disabling the opener leaves it usable) and is transient
// for its opener's window, which the window manager uses to keep it above the opener.
TEST(WindowPlacement, WorkWindowsAreTransientForTheirOpenerAndCentredWhenAsked)
{
    QWidget main;
    main.setGeometry(100, 80, 800, 600);
    main.show();
    QPointer<WorkWindow> list(new WorkWindow(&main));
    list->resize(300, 200);
    // Its layout makes it larger when it shows: centred at the size it shows with.
    auto* content = new QWidget(list);
    content->setMinimumSize(420, 260);
    (new QVBoxLayout(list))->addWidget(content);
    list->centreWhenShown(&main);
    list->showWork();
    EXPECT_EQ(nullptr, list->parentWidget());
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(list->isEnabled());
    ASSERT_NE(nullptr, list->windowHandle());
    EXPECT_EQ(main.windowHandle(), list->windowHandle()->transientParent());
    // Only a dialog-type window is kept above its owner by the window system.
    EXPECT_EQ(Qt::Dialog, list->windowType());
    EXPECT_TRUE(list->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(main.frameGeometry().center(), list->frameGeometry().center());

    // A picker opened over a child of the list belongs to the list's window.
    auto* inner = new QWidget(list);
    QPointer<WorkWindow> picker(new WorkWindow(inner));
    picker->showWork(false);
    EXPECT_EQ(list->windowHandle(), picker->windowHandle()->transientParent());
    picker->close();
    list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main.isEnabled());
}

TEST(WindowPlacement, BoxesStayOnTopExactlyWhenTheirOwnerDoes)
{
    QWidget editor;
    editor.setWindowFlag(Qt::WindowStaysOnTopHint);
    editor.show();
    QWidget list;
    list.show();

    QDialog box;
    WindowPlacement::raiseOver(box, &editor);
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowMaximizeButtonHint)); // still a box
    EXPECT_EQ(editor.windowHandle(), box.windowHandle()->transientParent());
    // The same long-lived form raised later by a plain window leaves the top layer.
    WindowPlacement::raiseOver(box, &list);
    EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(list.windowHandle(), box.windowHandle()->transientParent());
    WindowPlacement::raiseOver(box, nullptr);
    EXPECT_EQ(nullptr, box.windowHandle()->transientParent());
}

TEST(WindowPlacement, CentredOnTheScreenWithoutAWindowToCentreOver)
{
    QWidget splash;
    splash.resize(320, 200);
    QWidget hidden;
    WindowPlacement::centreOver(splash, &hidden);
    EXPECT_EQ(splash.screen()->availableGeometry().center(), splash.frameGeometry().center());

    // A window never sized is centred at the size it takes when shown, its own, not at the size
    // a window has before anything sizes it.
    QWidget form;
    auto* content = new QWidget(&form);
    content->setFixedSize(210, 130);
    (new QVBoxLayout(&form))->addWidget(content);
    WindowPlacement::centreOver(form, nullptr);
    form.show();
    EXPECT_EQ(form.sizeHint(), form.size());
    EXPECT_EQ(form.screen()->availableGeometry().center(), form.frameGeometry().center());
}
