// The lists' tool bars as their windows lay them out, and where the focus goes after a search.
#include "masterdata/MasterDataWindows.h"
#include "masterdata/MasterWindowFixture.h"
#include "masterdata/StockMenu.h"

#include <QToolBar>
#include <QToolButton>

using lb::masterdata::MasterListWindow;
using lb::masterdata::StockMenu;

class ListToolBars : public MasterWindowFixture {
protected:
    // The tool bar's buttons in order: their captions, "|" for a blank disabled spacer; the
    // search row that sits on the bar is left out.
    static QStringList buttons(MasterListWindow& list)
    {
        QStringList result;
        auto* bar = list.findChild<QToolBar*>();
        for (QAction* action : bar->actions()) {
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
            if (!button)
                continue;
            if (button->defaultAction())
                result << button->defaultAction()->text();
            else
                result << (button->isEnabled() || !button->text().isEmpty() ? QStringLiteral("?") : QStringLiteral("|"));
        }
        return result;
    }
};

TEST_F(ListToolBars, ListsShowTheirButtonsAndSpacersInTheirWindowsOrder)
{
    const QStringList partyBar = {"  新增  ", "修改", "删除", "打印", "选中", "|", "|", "|", "|", "查找", "退出"};
    for (const char* key : {"TFrcustomer", "TFrbranch", "TFrstore"}) {
        MasterListWindow* list = MasterListWindow::openFromMenu(QLatin1String(key), main.get());
        EXPECT_EQ(partyBar, buttons(*list)) << key;
        list->close();
    }
    MasterListWindow* accounts = MasterListWindow::openFromMenu(QStringLiteral("TFrbank"), main.get());
    EXPECT_EQ((QStringList{"  新增  ", "修改", "删除", "选中", "退出"}), buttons(*accounts));
    accounts->close();
    MasterListWindow* stock = StockMenu::stockTake();
    EXPECT_EQ((QStringList{"打印", "|", "|", "|", "|", "查找", "盘点录入", "退出"}), buttons(*stock));
    stock->close();
    for (const char* key : {"TFrcustomer_b", "TFrbranch_b", "TFrbank_b"}) {
        MasterListWindow* list = MasterListWindow::openFromMenu(QLatin1String(key), main.get());
        EXPECT_EQ((QStringList{"查找", "修改", "打印", "|", "|", "|", "|", "退出"}), buttons(*list)) << key;
        list->close();
    }
}

TEST_F(ListToolBars, WarehouseAndOpeningSearchesHandTheFocusToTheGrid)
{
    for (const char* key : {"TFrstore", "TFrcustomer_b", "TFrproduct_b"}) {
        MasterListWindow* list = MasterListWindow::openFromMenu(QLatin1String(key), main.get());
        list->Edit1->setFocus();
        list->ToolButton6Click();
        EXPECT_EQ(list->DBGrid1, list->focusWidget()) << key;
        list->close();
    }
    // The customer list keeps the focus where it was: its search runs as the text is left.
    MasterListWindow* customers = MasterListWindow::openFromMenu(QStringLiteral("TFrcustomer"), main.get());
    customers->Edit1->setFocus();
    customers->ToolButton6Click();
    EXPECT_EQ(customers->Edit1, customers->focusWidget());
}
