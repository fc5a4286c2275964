// Work windows: the opener is disabled while they are open and comes back however they close.
#include "platform/ui/WorkWindow.h"

#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/Errors.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Modal.h"
#include "platform/ui/ScriptedModals.h"
#include "support/ReportedErrors.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
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
    using WorkWindow::command;
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

// A window with a price grid over a real file: a command and the close box take the price being
// typed first; a price that cannot be stored keeps the window open and the command unrun.
TEST(WorkWindow, aCommandAndACloseTakeTheTypingFirst)
{
    QTemporaryDir dir;
    lb::db::Connection connection;
    lb::db::Connection::createFile(dir.filePath("prices.db"));
    connection.setDatabaseFile(dir.filePath("prices.db"));
    connection.open();
    connection.execute("CREATE TABLE price (code VARCHAR(10), dj DOUBLE DEFAULT 0)");
    connection.execute("INSERT INTO price VALUES ('P1', 7)");
    lb::db::Query prices(connection);
    prices.reopen("SELECT * FROM price");
    const auto stored = [&connection] {
        lb::db::Query check(connection);
        check.reopen("SELECT dj FROM price");
        return check.field(0).asFloat();
    };
    ReportedErrors errors;
    QWidget main;
    for (const bool failing : {false, true}) {
        SCOPED_TRACE(failing ? "the price cannot be stored" : "the price is stored");
        connection.execute("UPDATE price SET dj = 7");
        prices.reopen("SELECT * FROM price");
        if (failing)
            connection.execute("CREATE TEMP TRIGGER broken BEFORE UPDATE ON main.price BEGIN SELECT RAISE(ABORT, 'full'); END");
        QPointer<Window> window = new Window(&main);
        auto* grid = new lb::ui::DataGrid(window);
        grid->setColumns({{"code", "代码", 0, true}, {"dj", "零售价"}});
        grid->setDataSet(&prices);
        auto* command = new QPushButton("类型排序", window);
        auto* layout = new QVBoxLayout(window);
        layout->addWidget(grid);
        layout->addWidget(command);
        int ran = 0;
        QObject::connect(command, &QPushButton::clicked, window, window->command([&ran] { ++ran; }));
        window->showWork();
        QApplication::setActiveWindow(window);
        const auto typePrice = [&](const char* text) {
            grid->setFocus();
            grid->setCurrentIndex(grid->model()->index(0, 1));
            grid->edit(grid->currentIndex());
            qobject_cast<QLineEdit*>(QApplication::focusWidget())->setText(text);
        };
        typePrice("66");
        command->click();
        typePrice("77");
        EXPECT_EQ(!failing, window->close());
        processDeletes();
        EXPECT_EQ(failing ? 0 : 1, ran);
        EXPECT_EQ(failing ? 7.0 : 77.0, stored());
        EXPECT_EQ(failing ? 2 : 0, errors.count());
        if (failing) {
            ASSERT_FALSE(window.isNull());
            EXPECT_EQ(QString("77"), grid->model()->index(0, 1).data().toString()); // on screen, for the next try
            connection.execute("DROP TRIGGER temp.broken");
            EXPECT_TRUE(window->close());
            EXPECT_EQ(77.0, stored());
            processDeletes();
        }
        EXPECT_TRUE(window.isNull());
    }
}

// The program's end: every work window goes, each before the window that opened it, its way out
// run once whatever it does (leave, refuse, fail), and every other window shown goes too but the
// one kept.
TEST(WorkWindow, theEndClosesEveryWindowEachBeforeItsOpenerAndNoneCanStayOpen)
{
    ReportedErrors errors;
    QWidget main;
    main.show();
    QStringList order;
    QPointer<Window> list = new Window(&main);
    QPointer<Window> form = new Window(list);
    QPointer<Window> picker = new Window(form);
    QPointer<Window> other = new Window(&main);
    QPointer<QDialog> settings = new QDialog;
    settings->setAttribute(Qt::WA_DeleteOnClose);
    for (auto [window, name] : {std::pair{list, "list"}, std::pair{form, "form"}, std::pair{picker, "picker"}, std::pair{other, "other"}})
        QObject::connect(window, &WorkWindow::closed, [&order, name = QString(name)] { order << name; });
    form->way = [&] { order << "form refuses"; };
    picker->way = [] { throw lb::DatabaseError("the books cannot be written"); };
    list->way = [&] { list->leave(); };
    // Shown in the order that a walk of the windows would close the list before its form.
    list->showWork();
    other->showWork(false);
    form->showWork();
    picker->showWork();
    settings->show();
    WorkWindow::endAll(&main);
    processDeletes();
    EXPECT_TRUE(list.isNull() && form.isNull() && picker.isNull() && other.isNull());
    EXPECT_TRUE(settings.isNull());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(1, errors.count());
    ASSERT_EQ(5, order.size()) << order.join(' ').toStdString();
    EXPECT_LT(order.indexOf("picker"), order.indexOf("form refuses"));
    EXPECT_LT(order.indexOf("form"), order.indexOf("list"));
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
