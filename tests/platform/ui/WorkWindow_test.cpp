// Work windows: the opener is disabled while they are open and comes back however they close.
#include "platform/ui/WorkWindow.h"

#include "platform/sys/Errors.h"
#include "platform/ui/Modal.h"
#include "platform/ui/ScriptedModals.h"
#include "support/ReportedErrors.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <functional>

using lb::ui::WorkWindow;

namespace {

void processDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

class Window : public WorkWindow {
public:
    using WorkWindow::WorkWindow;
    using WorkWindow::leave;
    bool allowClose = true;
    bool failOnClose = false;
    int closings = 0;
    std::function<void()> way; // the window's way out; none when empty

protected:
    std::function<void()> wayOut() override { return way; }
    bool canClose() override { return allowClose; }
    void onClosing() override
    {
        ++closings;
        if (failOnClose)
            throw lb::DatabaseError("closing failed");
    }
};

TEST(WorkWindow, disablesItsOpenerAndEnablesItOnClose)
{
    QWidget main;
    main.show();
    QPointer<Window> list = new Window(&main);
    list->showWork();
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(list->isEnabled());          // no Qt parent, so not disabled with the main window
    EXPECT_EQ(nullptr, list->parentWidget());

    QPointer<Window> editor = new Window(list);
    editor->showWork();
    EXPECT_FALSE(list->isEnabled());
    EXPECT_TRUE(editor->isEnabled());

    editor->close();
    processDeletes();
    EXPECT_TRUE(editor.isNull());            // deleted on close
    EXPECT_TRUE(list->isEnabled());
    EXPECT_FALSE(main.isEnabled());

    list->close();
    processDeletes();
    EXPECT_TRUE(list.isNull());
    EXPECT_TRUE(main.isEnabled());
}

// Disabling the opener took the focus out of it; back, it has the focus in the box that had it,
// not in its first control.
TEST(WorkWindow, theOpenerGetsTheFocusBackWhereItWas)
{
    QWidget opener;
    new QLineEdit(&opener);
    auto* second = new QLineEdit(&opener);
    opener.show();
    QApplication::setActiveWindow(&opener);
    second->setFocus();
    QPointer<Window> window = new Window(&opener);
    window->showWork();
    QApplication::setActiveWindow(window);
    EXPECT_NE(second, opener.focusWidget());
    window->close();
    processDeletes();
    QApplication::setActiveWindow(&opener);
    EXPECT_EQ(second, QApplication::focusWidget());
}

TEST(WorkWindow, aRefusedCloseKeepsEverythingAsItWas)
{
    QWidget main;
    QPointer<Window> window = new Window(&main);
    window->showWork();
    window->allowClose = false;
    EXPECT_FALSE(window->close());
    processDeletes();
    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(main.isEnabled());
    EXPECT_EQ(0, window->closings);
    window->allowClose = true;
    window->close();
    processDeletes();
    EXPECT_TRUE(main.isEnabled());
}

TEST(WorkWindow, everyCloseRunsTheWayOutWhichLeavesOrKeepsTheWindowOpen)
{
    QWidget main;
    QPointer<Window> window = new Window(&main);
    int ways = 0;
    bool refuse = true;
    window->way = [&] {
        ++ways;
        if (!refuse)
            window->leave();
    };
    window->showWork();
    EXPECT_FALSE(window->close());
    EXPECT_EQ(0, window->closings);
    refuse = false;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(2, ways);
    EXPECT_EQ(1, window->closings);
    EXPECT_TRUE(main.isEnabled());
    processDeletes();
    EXPECT_TRUE(window.isNull());

    // A command that ends the window leaves it without the way out.
    window = new Window(&main);
    window->way = [&] { ++ways; };
    window->showWork();
    window->leave();
    EXPECT_EQ(2, ways);
    EXPECT_EQ(1, window->closings);
    processDeletes();
}

TEST(WorkWindow, aFailingCloseHookStillGivesTheOpenerBack)
{
    QWidget main;
    Window* window = new Window(&main);
    window->showWork();
    window->failOnClose = true;
    ReportedErrors errors;
    EXPECT_TRUE(window->close()); // reported, not thrown through Qt's close
    EXPECT_TRUE(errors.lastIs<lb::DatabaseError>());
    EXPECT_TRUE(main.isEnabled());
    delete window;
}

TEST(WorkWindow, anOpenerThatDiedFirstIsLeftAlone)
{
    auto* main = new QWidget;
    QPointer<Window> window = new Window(main);
    window->showWork();
    delete main;
    EXPECT_EQ(nullptr, window->opener());
    window->close();
    processDeletes();
    EXPECT_TRUE(window.isNull());
}

TEST(WorkWindow, closedIsSentOnce)
{
    QWidget main;
    Window* window = new Window(&main);
    int closed = 0;
    QObject::connect(window, &WorkWindow::closed, [&] { ++closed; });
    window->showWork(false);
    EXPECT_TRUE(main.isEnabled());
    window->close();
    processDeletes();
    EXPECT_EQ(1, closed);
}

TEST(Modal, scriptedStepsActOnTheDialogInsideItsLoop)
{
    lb::ui::ScriptedModals modals;
    QString typed;
    modals.then([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>()->setText("2024-03-05");
        dialog.accept();
    });
    modals.then([](QDialog&) {}); // leaves it open: rejected for the test

    QDialog picker;
    picker.setWindowTitle("选择日期");
    auto* edit = new QLineEdit(&picker);
    EXPECT_EQ(QDialog::Accepted, lb::ui::Modal::exec(picker));
    EXPECT_EQ(QString("2024-03-05"), edit->text());
    EXPECT_EQ(QDialog::Rejected, lb::ui::Modal::exec(picker));
    EXPECT_EQ(QDialog::Rejected, lb::ui::Modal::exec(picker)); // nothing scripted
    EXPECT_EQ(1, modals.unanswered());
    EXPECT_EQ(QStringList({"选择日期", "选择日期", "选择日期"}), modals.titles());
}

} // namespace
