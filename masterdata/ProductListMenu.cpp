// The product list's pop-up commands: marks, sorting, the price column, imports, mass deletion.
#include "masterdata/ProductListMenu.h"

#include "core/PasswordBox.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "core/WindowRegistry.h"
#include "masterdata/CustomerProductRows.h"
#include "masterdata/ListPrinting.h"
#include "masterdata/MasterListWindow.h"
#include "masterdata/ProductCommands.h"
#include "platform/db/Query.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/WorkWindow.h"

#include <QAction>

namespace lb::masterdata {

using lb::core::WindowRegistry;

namespace {

const int purchasePriceColumn = 6;

void reopenProducts(MasterListWindow& list, const QString& sql)
{
    lb::db::Query& products = list.dataSet();
    products.disableControls();
    products.close();
    products.sql().setText(sql);
    products.open();
    products.enableControls();
}

} // namespace

std::vector<ListMenuItem> ProductListMenu::items()
{
    return {
        {QStringLiteral("N1"), QStringLiteral("隐藏进货价"), [](MasterListWindow& l) { togglePurchasePrice(l); }},
        {QStringLiteral("N15"), QStringLiteral("单个导入客户-商品表"), [](MasterListWindow& l) { l.ToolButton7Click(); }},
        {QStringLiteral("N2"), QStringLiteral("选中商品导入客户商品表"), [](MasterListWindow& l) { importIntoCustomer(l, false); }},
        {QStringLiteral("N16"), QStringLiteral("全部导入客户-商品表"), [](MasterListWindow& l) { importIntoCustomer(l, true); }},
        {QStringLiteral("N17"), QStringLiteral("按货品类型排序"), [](MasterListWindow& l) { sort(l, true); }},
        {QStringLiteral("N18"), QStringLiteral("取消货品类型排序"), [](MasterListWindow& l) { sort(l, false); }},
        {QStringLiteral("N20"), QStringLiteral("选择所有商品"), [](MasterListWindow& l) { setAllMarks(l, true); }},
        {QStringLiteral("N19"), QStringLiteral("清除选择标记"), [](MasterListWindow& l) { setAllMarks(l, false); }},
        {QStringLiteral("N3"), QStringLiteral("显示被选中的商品"), [](MasterListWindow& l) { showMarked(l); }},
        {QStringLiteral("N25"), QStringLiteral("删除被选中的商品"), [](MasterListWindow& l) { deleteMarked(l); }},
        {QStringLiteral("N21"), QStringLiteral("多栏打印"), &ListPrinting::productsAcross},
        {QStringLiteral("N23"), QStringLiteral("库存资产表"), &ListPrinting::stockValue},
        {QStringLiteral("N24"), QStringLiteral("查商品历史明细单"), [](MasterListWindow& l) { productHistory(l); }},
    };
}

void ProductListMenu::applyPurchasePrice(MasterListWindow& list)
{
    const bool hidden = ProductCommands::purchasePriceHidden(frdm->ADOCon);
    list.DBGrid1->setColumnVisible(purchasePriceColumn, !hidden);
    if (QAction* item = list.menuItem(QStringLiteral("N1")))
        item->setText(hidden ? QStringLiteral("显示进货价") : QStringLiteral("隐藏进货价"));
}

void ProductListMenu::togglePurchasePrice(MasterListWindow& list)
{
    ProductCommands::togglePurchasePrice(frdm->ADOCon);
    applyPurchasePrice(list);
}

void ProductListMenu::importIntoCustomer(MasterListWindow& list, bool all)
{
    // Only a product list opened by the customer price table knows which customer to fill.
    if (frmain->CustProductPick != 7) {
        lb::ui::Dialogs::message(QStringLiteral("该状态不能将数据导入客户商品表"));
        return;
    }
    if (!frdm->Aqcustomer->active() || frdm->Aqcustomer->isEmpty())
        return; // no customer to fill
    lb::db::Query& cproducts = *frdm->Aqcproduct;
    if (all && cproducts.active() && !cproducts.isEmpty()) {
        lb::ui::Dialogs::message(QStringLiteral("必须先清空该客户相应的商品表,否则不能用此方式导入！"));
        return;
    }
    if (!lb::ui::Dialogs::confirm(QStringLiteral("商品记录不能太多，否则要等好长时间,确认导入吗?")))
        return;
    list.setStatusText(0, QStringLiteral("正在导入数据到客户商品表,稍候..."));
    lb::ui::Dialogs::message(all ? QStringLiteral("下面全部数据导入到客户商品表！") : QStringLiteral("将选中部分的商品导入到客户商品表！"));
    CustomerProductRows::import(frdm->ADOCon, frdm->Aqcustomer->fieldByName(QStringLiteral("intno")).asString(), all);
    cproducts.close();
    cproducts.open();
    list.close();
    if (all)
        lb::ui::Dialogs::message(QStringLiteral("数据导入完毕,请到数据维护菜单中进行数据压缩整理！"));
}

void ProductListMenu::sort(MasterListWindow& list, bool byType)
{
    reopenProducts(list, byType ? QStringLiteral("select * from product\nORDER BY name collate GBK") : QStringLiteral("select * from product"));
    frmain->SortMode = byType ? 1 : 0;
}

void ProductListMenu::setAllMarks(MasterListWindow& list, bool marked)
{
    ProductCommands::setAllMarks(frdm->ADOCon, marked);
    list.reopen();
}

void ProductListMenu::showMarked(MasterListWindow& list)
{
    reopenProducts(list, QStringLiteral("SELECT * from product where szbj=true\norder by sphh collate GBK"));
}

void ProductListMenu::deleteMarked(MasterListWindow& list)
{
    const QString typed = lb::core::PasswordBox(QStringLiteral("提示信息"), QStringLiteral("请输入操作员密码,以防误操作..........."));
    if (typed.trimmed() != frmain->OperatorPassword) {
        lb::ui::Dialogs::warning(QStringLiteral("输入操作员密码错误,请重新操作！"));
        return;
    }
    reopenProducts(list, QStringLiteral("SELECT * from product\nWHERE szbj=true"));
    list.dataSet().first();
    if (list.dataSet().isEmpty()) {
        lb::ui::Dialogs::message(QStringLiteral("没有选定要删除记录!"));
        list.ToolButton6Click();
        return;
    }
    if (!lb::ui::Dialogs::confirm(QStringLiteral("确实要删除所选如下记录吗?"))) {
        list.ToolButton6Click();
        return;
    }
    list.dataSet().close();
    ProductCommands::deleteMarked(frdm->ADOCon);
    list.ToolButton6Click();
}

void ProductListMenu::productHistory(MasterListWindow& list)
{
    // The history holds PickMode while it is open; a pick for a document needs it too.
    if (frmain->PickMode != lb::core::PickCode::None) {
        lb::ui::Dialogs::message(QStringLiteral("由单据转到商品表的状态不能查明细帐！"));
        return;
    }
    if (!list.dataSet().active() || list.dataSet().isEmpty())
        return;
    WindowRegistry::instance().create(QStringLiteral("Tfrdetail"), &list)->showWork(true);
}

} // namespace lb::masterdata
