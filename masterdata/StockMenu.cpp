// The stock menu's commands: stock-take, gain and loss, stock value, and the update from the count.
#include "masterdata/StockMenu.h"

#include "core/PasswordBox.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "masterdata/MasterListWindow.h"
#include "masterdata/StockCommands.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Dialogs.h"

#include <QAction>

namespace lb::masterdata {

namespace {

const int figureColumn = 14; // sptj

MasterListWindow* openStockWindow(lb::core::PickCode mode, const QString& sql)
{
    MasterListWindow* list = MasterListWindow::openFromMenu(QStringLiteral("TFrproductp"), frmain, sql);
    list->dataSet().first();
    frmain->PickMode = mode; // the window's mode, read by its print
    list->command(ListCommand::CountEntry)->setVisible(mode == lb::core::PickCode::StockTake);
    return list;
}

} // namespace

MasterListWindow* StockMenu::stockTake()
{
    if (frmain->OperatorNo != QLatin1String("999")) {
        lb::ui::Dialogs::message(QStringLiteral("该用户无权使用此功能！"));
        return nullptr;
    }
    MasterListWindow* list = openStockWindow(lb::core::PickCode::StockTake, QStringLiteral("SELECT * from product"));
    list->DBGrid1->setColumnVisible(figureColumn, false);
    return list;
}

MasterListWindow* StockMenu::gainAndLoss()
{
    StockCommands::gainAndLoss(frdm->ADOCon);
    // Products never counted have no difference; they follow every counted one.
    MasterListWindow* list = openStockWindow(lb::core::PickCode::StockGainLoss, QStringLiteral("SELECT * from product\nORDER BY sptj is null, sptj"));
    list->setWindowTitle(QStringLiteral("库存损益表"));
    return list;
}

MasterListWindow* StockMenu::stockValue()
{
    StockCommands::stockValue(frdm->ADOCon);
    frdm->AQtotallist->close();
    frdm->AQtotallist->open();
    MasterListWindow* list = openStockWindow(lb::core::PickCode::StockValue, QStringLiteral("SELECT * from product\nORDER BY sptj"));
    list->setWindowTitle(QStringLiteral("库存资产表"));
    list->DBGrid1->setColumnTitle(figureColumn, QStringLiteral("库存金额"));
    return list;
}

void StockMenu::updateStock()
{
    if (frmain->OperatorNo != QLatin1String("999")) {
        lb::ui::Dialogs::message(QStringLiteral("该用户无此权限,请用999登录！"));
        return;
    }
    // The password is asked in the masked box of the other privileged commands.
    const QString typed = lb::core::PasswordBox(QStringLiteral("提示信息"), QStringLiteral("请输入您的操作员密码,以防误操作..........."));
    if (typed.isEmpty() || typed.trimmed() != frmain->OperatorPassword) {
        lb::ui::Dialogs::warning(QStringLiteral("输入操作员密码错误！"));
        return;
    }
    if (!lb::ui::Dialogs::confirm(
            QStringLiteral("更新库存量是对被选中的商品,用盘点的实际库存量\r\r替换原来的库存量!确实要更新商品库存量吗?")))
        return;
    StockCommands::updateFromCount(frdm->ADOCon);
    frdm->Aqproduct->reopen(QStringLiteral("SELECT * from product"));
    frdm->Aqproduct->first();
}

void StockMenu::closeStockWindow()
{
    frdm->AQtotallist->close();
    frdm->ATcompany->close();
    frdm->ADOCon.close();
    frdm->ADOCon.open();
    frdm->ATcompany->open();
}

} // namespace lb::masterdata
