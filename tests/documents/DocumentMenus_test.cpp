// Every document item of the main window's menus, tool bar and dashboard is enabled and opens its real window.
#include "core/Dashboard.h"
#include "core/MainWindowFixture.h"
#include "core/PictureButton.h"
#include "documents/DocumentWindows.h"
#include "platform/ui/WorkWindow.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QToolBar>

using lb::core::Dashboard;
using lb::core::PictureButton;

namespace {

class DocumentMenusTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        lb::documents::registerDocumentWindows();
        start();
        QApplication::setActiveWindow(window.get());
    }

    void TearDown() override
    {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != window.get() && top->isVisible())
                top->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        MainWindowFixture::TearDown();
    }

    // The work window of class `key` that is showing, or nullptr.
    static lb::ui::WorkWindow* shown(const QString& key)
    {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == key && top->isVisible())
                return qobject_cast<lb::ui::WorkWindow*>(top);
        return nullptr;
    }

    QAction* item(const QString& menuTitle, const QString& text)
    {
        for (QAction* menu : window->menuBar()->actions())
            if (menu->text() == menuTitle)
                for (QAction* a : menu->menu()->actions())
                    if (a->text() == text)
                        return a;
        return nullptr;
    }

    QAction* tool(const QString& text)
    {
        for (QAction* a : window->findChild<QToolBar*>(QStringLiteral("ToolBar1"))->actions())
            if (a->text() == text)
                return a;
        return nullptr;
    }

    PictureButton* picture(int page, const QString& caption)
    {
        for (PictureButton* b : window->findChild<Dashboard*>(QStringLiteral("Dashboard"))->buttons(page))
            if (b->caption() == caption)
                return b;
        return nullptr;
    }
};

struct Door {
    const char* place; // a menu's title, "tool", or "PAN" and the dashboard page
    const char* text;
    const char* window;
};

const Door doors[] = {
    {"&C 查录单据", "进货单", "Tfrinlist"},       {"&C 查录单据", "进货退货单", "Tfrinbacklist"},
    {"&C 查录单据", "销售单", "Tfroutlist"},      {"&C 查录单据", "销售退货单", "Tfroutbacklist"},
    {"&C 查录单据", "收款单", "Tfrgetlist"},      {"&C 查录单据", "付款单", "Tfrputlist"},
    {"&L 录帐", "销售退货单", "Tfroutbackdetail"}, {"&L 录帐", "进货单", "Tfrindetail"},
    {"&L 录帐", "进货退货单", "Tfrinbackdetail"}, {"&L 录帐", "收款单", "Tfrgetdetail"},
    {"&L 录帐", "付款单", "Tfrputdetail"},
    {"tool", "订货单", "Tfrdhlist"},              {"tool", "进货单", "Tfrinlist"},
    {"tool", "销售单", "Tfroutlist"},             {"tool", "销售退货", "Tfroutbacklist"},
    {"tool", "进货退货", "Tfrinbacklist"},        {"tool", "收款单", "Tfrgetlist"},
    {"tool", "付款单", "Tfrputlist"},
    {"PAN2", "进货单", "Tfrinlist"},              {"PAN2", "付款单", "Tfrputlist"},
    {"PAN2", "进货退货单", "Tfrinbacklist"},      {"PAN3", "销售单", "Tfroutlist"},
    {"PAN3", "销售退货单", "Tfroutbacklist"},     {"PAN3", "收款单", "Tfrgetlist"},
};

} // namespace

TEST_F(DocumentMenusTest, EveryDocumentItemIsEnabledAndOpensItsWindow)
{
    for (const Door& door : doors) {
        const QString place = QString::fromUtf8(door.place);
        const QString text = QString::fromUtf8(door.text);
        SCOPED_TRACE((place + QStringLiteral(" / ") + text).toStdString());
        if (place.startsWith(QLatin1String("PAN"))) {
            PictureButton* button = picture(place.mid(3).toInt() - 1, text);
            ASSERT_NE(nullptr, button);
            EXPECT_TRUE(button->isEnabled());
            emit button->clicked();
        } else {
            QAction* action = place == QLatin1String("tool") ? tool(text) : item(place, text);
            ASSERT_NE(nullptr, action);
            EXPECT_TRUE(action->isEnabled());
            action->trigger();
        }
        QApplication::processEvents();
        QPointer<lb::ui::WorkWindow> opened = shown(QString::fromUtf8(door.window));
        ASSERT_TRUE(opened);
        EXPECT_FALSE(window->isEnabled());
        opened->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window->isEnabled());
    }
}

// The receipt form is centred on the main window. Over a main window whose middle is near the
// top of the screen (one pushed up, or not yet at its final place), it keeps its frame and title
// bar on the screen, the first form of the session as every later one.
TEST_F(DocumentMenusTest, ReceiptFormsOpenFromF5WithTheirTitleBarOnTheScreen)
{
    const QRect available = window->screen()->availableGeometry();
    window->move(available.left(), available.top() + 100 - window->frameGeometry().height() / 2);
    QApplication::processEvents();
    QRect first;
    for (int opened = 0; opened < 2; ++opened) {
        item(QStringLiteral("&L 录帐"), QStringLiteral("收款单"))->trigger();
        QApplication::processEvents();
        QPointer<lb::ui::WorkWindow> form = shown(QStringLiteral("Tfrgetdetail"));
        ASSERT_TRUE(form);
        const QRect frame = form->frameGeometry();
        EXPECT_TRUE(available.contains(frame.topLeft())) << frame.x() << "," << frame.y();
        EXPECT_LT(frame.top(), form->geometry().top()); // the title bar is above the window's inside
        if (opened == 0)
            first = frame;
        EXPECT_EQ(first, frame);
        form->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
