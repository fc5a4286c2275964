// The configuration of every record list and editor of master data and stock, by window class.
#include "masterdata/MasterCatalog.h"

#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "masterdata/ListPrinting.h"
#include "masterdata/MasterListWindow.h"
#include "masterdata/ProductListMenu.h"
#include "masterdata/StockMenu.h"
#include "platform/ui/DataGrid.h"
#include "masterdata/Tfrproductedit.h"
#include "platform/sys/Errors.h"

namespace lb::masterdata {

namespace {

using C = ListCommand;

SearchOption contains(const QString& option, const QString& field)
{
    return SearchOption{option, field, SearchMatch::Contains, QString(), false, QString()};
}

// The six options the party lists offer, matched one way, on the columns they name.
std::vector<SearchOption> partyOptions(const QString& nameOption, SearchMatch match)
{
    const QStringList options = {QStringLiteral("编号"), nameOption, QStringLiteral("电话"),
                                 QStringLiteral("传真"), QStringLiteral("手机"), QStringLiteral("联系人")};
    const QStringList fields = {QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("tel"),
                                QStringLiteral("fax"), QStringLiteral("movetel"), QStringLiteral("persondeal")};
    std::vector<SearchOption> result;
    for (int i = 0; i < options.size(); ++i)
        result.push_back(SearchOption{options[i], fields[i], match, QString(), false, QString()});
    return result;
}

const QStringList sixPartyFields = {QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("tel"),
                                    QStringLiteral("fax"), QStringLiteral("movetel"), QStringLiteral("persondeal")};

// The four blank disabled buttons these lists' tool bars carry between their commands.
const std::vector<ListCommand> spacers(4, ListCommand::Spacer);

std::vector<ListCommand> commandsWithSpacers(std::vector<ListCommand> before, std::vector<ListCommand> after)
{
    before.insert(before.end(), spacers.begin(), spacers.end());
    before.insert(before.end(), after.begin(), after.end());
    return before;
}

const QString pickHint = QStringLiteral("若要选取资料到某单据，单击“选中”或双击某行即可。");
const QString columnSearchHint = QStringLiteral("要模糊查找,先点击查找列");

std::vector<lb::ui::GridColumn> partyColumns(const QString& nameTitle, const QString& payTitle, const QString& payYearTitle)
{
    return {
        {"id", "编号"}, {"name", nameTitle}, {"tel", "电话"}, {"fax", "传真"}, {"movetel", "手机"},
        {"persondeal", "联系人"}, {"email", "email"}, {"addr", "地址"}, {"amount", "本月货款"},
        {"deduck", "本月扣除"}, {"pay", payTitle}, {"amount_y", "本年货款"}, {"deduck_y", "本年扣除"},
        {"pay_y", payYearTitle}, {"balance", "余额"},
    };
}

EditorBox box(const char* name, const char* label, const char* column, KeyFilter filter = KeyFilter::Any,
              bool ime = false)
{
    return EditorBox{QString::fromLatin1(name), QString::fromUtf8(label), QString::fromLatin1(column), filter, ime};
}

// The customer editor's boxes; suppliers share them.
std::vector<EditorBox> partyBoxes()
{
    return {
        box("Edit2", "编号", "id", KeyFilter::Digits),
        box("Edit3", "名称", "name", KeyFilter::Any, true),
        box("Edit1", "电话", "tel", KeyFilter::Phone),
        box("Edit5", "传真", "fax", KeyFilter::Phone),
        box("Edit4", "手机", "movetel", KeyFilter::Phone),
        box("Edit6", "E-mail", "Email"),
        box("Edit7", "地址", "addr", KeyFilter::Any, true),
        box("Edit8", "联系人", "persondeal", KeyFilter::Any, true),
    };
}

MasterTableRules tableRules(const QString& table)
{
    MasterTableRules rules;
    rules.table = table;
    return rules;
}

// The opening-balance family: the same list and editor on four tables.
MasterListConfig openingList(const QString& key, const QString& caption, std::function<lb::db::Query*()> dataSet)
{
    MasterListConfig config;
    config.key = key;
    config.caption = caption;
    config.dataSet = dataSet;
    config.gridHint = columnSearchHint;
    config.commands = commandsWithSpacers({C::Search, C::Modify, C::Print}, {C::Close});
    config.initialOption = QStringLiteral("编号");
    config.focusGridAfterSearch = true;
    config.removeBlankRows = true;
    ValueEditorConfig editor;
    editor.dataSet = dataSet;
    editor.editable = {true, true, true, true};
    config.valueEditor = editor;
    return config;
}

void openingPartySearch(MasterListConfig& config, const QString& table, const QStringList& fallback)
{
    config.search.select = QStringLiteral("SELECT * from %1").arg(table);
    config.search.options = partyOptions(QStringLiteral("名称"), SearchMatch::Prefix);
    config.search.options.front().match = SearchMatch::PaddedPrefix;
    config.search.selectedColumnFields = fallback;
}

} // namespace

MasterTableRules MasterCatalog::productCodeRules()
{
    MasterTableRules rules;
    rules.table = QStringLiteral("product");
    rules.codeColumn = QStringLiteral("sphh");
    rules.codeWidth = 15;
    rules.nameColumn.clear();
    rules.emptyCodeMessage = QStringLiteral("商品货码不能为空!");
    rules.duplicateCodeMessage = QStringLiteral("该商品代码已存在,不能再录入！ ");
    return rules;
}

QString MasterCatalog::specTitle()
{
    return frmain && frmain->SpecIsBarcode ? QStringLiteral("条形码") : QStringLiteral("规格型号");
}

MasterListConfig MasterCatalog::customerList()
{
    MasterListConfig config;
    config.key = QStringLiteral("TFrcustomer");
    config.caption = QStringLiteral("客户资料");
    config.dataSet = [] { return frdm->Aqcustomer; };
    config.columns = partyColumns(QStringLiteral("客户名"), QStringLiteral("本月收款"), QStringLiteral("本年收款"));
    config.gridHint = QStringLiteral("双击可选取客户到明细单");
    config.commands = commandsWithSpacers({C::Add, C::Modify, C::Delete, C::Print, C::Pick}, {C::Search, C::Close});
    config.print = [](MasterListWindow& l) { ListPrinting::parties(l, QStringLiteral("customer"), QStringLiteral("Tfrrcustomer")); };
    config.search.select = QStringLiteral("SELECT * from customer ");
    config.search.options = partyOptions(QStringLiteral("客户名"), SearchMatch::Contains);
    config.initialOption = QStringLiteral("编号");
    config.imeOptions = {QStringLiteral("客户名"), QStringLiteral("联系人")};
    config.searchOnShow = true;
    config.statusPanels = {pickHint};
    config.showCount = true;
    config.pickList = PickList::Customer;
    config.deletion.balanceQuestion = QStringLiteral("该客户的余额不为0,是否要删除?");
    config.deletion.ownQuestion = QStringLiteral("确实要删除记录吗?");
    config.deletion.alsoDeleteRowsOf = QStringLiteral("cproduct");
    MasterEditorConfig editor;
    editor.key = QStringLiteral("Tfrcustomeredit");
    editor.caption = QStringLiteral("客户资料录入修改");
    editor.dataSet = config.dataSet;
    editor.rules = tableRules(QStringLiteral("customer"));
    editor.boxes = partyBoxes();
    config.editor = editor;
    return config;
}

MasterListConfig MasterCatalog::supplierList()
{
    MasterListConfig config = customerList();
    config.key = QStringLiteral("TFrbranch");
    config.caption = QStringLiteral("供应商信息");
    config.maximised = true;
    config.dataSet = [] { return frdm->AQbranch; };
    config.columns = partyColumns(QStringLiteral("供应商名"), QStringLiteral("本月付款"), QStringLiteral("本年付款"));
    config.gridHint = QStringLiteral("双击可选取供应商到明细单");
    config.print = [](MasterListWindow& l) { ListPrinting::parties(l, QStringLiteral("branch"), QStringLiteral("Tfrrbranch")); };
    config.search.select = QStringLiteral("SELECT * from branch");
    config.search.options = partyOptions(QStringLiteral("名称"), SearchMatch::Contains);
    config.search.selectedColumnFields = sixPartyFields;
    config.imeOptions = {QStringLiteral("名称"), QStringLiteral("联系人")};
    config.showCount = false;
    config.pickList = PickList::Supplier;
    config.deletion = DeletePolicy{QStringLiteral("该供应商的余额不为0,是否要删除?"), QString(), QString(), false};
    config.editor->key = QStringLiteral("Tfrbranchedit");
    config.editor->caption = QStringLiteral("供应商信息录入修改");
    config.editor->dataSet = config.dataSet;
    config.editor->rules = tableRules(QStringLiteral("branch"));
    return config;
}

MasterListConfig MasterCatalog::accountList()
{
    MasterListConfig config;
    config.key = QStringLiteral("TFrbank");
    config.caption = QStringLiteral("现金银行帐");
    config.dataSet = [] { return frdm->AQbank; };
    config.columns = {{"id", "编号"}, {"name", "名称"}, {"accno", "帐号"}, {"tel", "电话"}, {"persondeal", "联系人"},
                      {"email", "email"}, {"addr", "地址"}, {"remark", "备注"}, {"amount", "最近发生额"},
                      {"balance", "余额"}};
    config.gridHint = columnSearchHint;
    config.commands = {C::Add, C::Modify, C::Delete, C::Pick, C::Close};
    config.statusPanels = {QStringLiteral("若要选取现金银行资料到某单据，单击“选中”或双击某行即可。")};
    config.pickList = PickList::Account;
    MasterEditorConfig editor;
    editor.key = QStringLiteral("Tfrbankedit");
    editor.caption = QStringLiteral("现金银行资料录入修改");
    editor.dataSet = config.dataSet;
    editor.rules = tableRules(QStringLiteral("bank"));
    // The description is free text, Chinese included.
    editor.boxes = {
        box("Edit2", "编号", "id", KeyFilter::Digits),
        box("Edit1", "电话", "tel", KeyFilter::Phone),
        box("Edit3", "名称", "name", KeyFilter::Any, true),
        box("Edit4", "帐号", "accno", KeyFilter::Phone),
        box("Edit5", "说明", "remark", KeyFilter::Any, true),
        box("Edit6", "E-mail", "Email"),
        box("Edit7", "地址", "addr", KeyFilter::Any, true),
        box("Edit8", "联系人", "persondeal", KeyFilter::Any, true),
    };
    config.editor = editor;
    return config;
}

MasterListConfig MasterCatalog::employeeList()
{
    MasterListConfig config;
    config.key = QStringLiteral("TFremployee");
    config.caption = QStringLiteral("员工资料");
    config.maximised = true;
    config.dataSet = [] { return frdm->AQemployee; };
    config.columns = {{"id", "编号"}, {"name", "姓名"}, {"tel", "电话"}, {"movetel", "手机"}, {"fax", "传真"},
                      {"email", "email"}, {"addr", "地址"}};
    config.gridHint = columnSearchHint;
    config.commands = {C::Add, C::Modify, C::Delete, C::Print, C::Pick, C::Search, C::Close};
    config.disabledCommands = {C::Print};
    config.search.select = QStringLiteral("SELECT * from employee");
    config.search.options = partyOptions(QStringLiteral("客户名"), SearchMatch::Prefix);
    // With the option box empty the selected grid column's own field is searched.
    config.search.selectedColumnFields = {QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("tel"),
                                          QStringLiteral("movetel"), QStringLiteral("fax")};
    config.initialOption = QStringLiteral("编号");
    config.statusPanels = {pickHint};
    config.pickList = PickList::Employee;
    MasterEditorConfig editor;
    editor.key = QStringLiteral("Tfremployeeedit");
    editor.caption = QStringLiteral("员工资料录入修改");
    editor.dataSet = config.dataSet;
    editor.rules = tableRules(QStringLiteral("employee"));
    editor.boxes = partyBoxes();
    editor.boxes.pop_back(); // no contact person
    config.editor = editor;
    return config;
}

MasterListConfig MasterCatalog::storeList()
{
    MasterListConfig config;
    config.key = QStringLiteral("TFrstore");
    config.caption = QStringLiteral("仓库设置");
    config.maximised = true;
    config.dataSet = [] { return frdm->AQstore; };
    config.columns = {{"id", "编号"}, {"name", "名称"}, {"tel", "电话"}, {"persondeal", "联系人"},
                      {"email", "email"}, {"remark", "备注"}};
    config.gridHint = columnSearchHint;
    config.commands = commandsWithSpacers({C::Add, C::Modify, C::Delete, C::Print, C::Pick}, {C::Search, C::Close});
    config.disabledCommands = {C::Print};
    config.search.select = QStringLiteral("SELECT * from store");
    config.search.options = partyOptions(QStringLiteral("客户名"), SearchMatch::Contains);
    config.search.selectedColumnFields = {QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("tel"),
                                          QStringLiteral("persondeal"), QStringLiteral("email"), QStringLiteral("remark")};
    config.initialOption = QStringLiteral("编号");
    config.focusGridAfterSearch = true;
    config.pickList = PickList::Store;
    MasterEditorConfig editor;
    editor.key = QStringLiteral("Tfrstoreedit");
    editor.caption = QStringLiteral("仓库信息录入修改");
    editor.dataSet = config.dataSet;
    editor.rules = tableRules(QStringLiteral("store"));
    editor.rules.codeWidth = 3; // store.id holds three characters
    editor.boxes = partyBoxes();
    editor.boxes[5].column = QStringLiteral("email");
    config.editor = editor;
    return config;
}

MasterListConfig MasterCatalog::openingCustomerList()
{
    MasterListConfig config = openingList(QStringLiteral("TFrcustomer_b"), QStringLiteral("往来单位_期初建帐"),
                                          [] { return frdm->Aqcustomer; });
    config.columns = {{"id", "编号"}, {"name", "客户名"}, {"tel", "电话"}, {"fax", "传真"}, {"movetel", "手机"},
                      {"persondeal", "联系人"}, {"rest", "期初金额"}};
    openingPartySearch(config, QStringLiteral("customer"), sixPartyFields);
    config.print = [](MasterListWindow& l) { ListPrinting::openingParties(l, QStringLiteral("customer"), QStringLiteral("Tfrrcustomer")); };
    config.valueEditor->key = QStringLiteral("Tfrcustomeredit_b");
    config.valueEditor->caption = QStringLiteral("修改客户应付期初值");
    config.valueEditor->boxes = {box("Edit1", "编号", "id", KeyFilter::Digits), box("Edit2", "名称", "name"),
                                 box("Edit3", "电话", "tel", KeyFilter::Phone),
                                 box("Edit4", "期初值", "rest", KeyFilter::Price)};
    config.valueEditor->rules = tableRules(QStringLiteral("customer"));
    return config;
}

MasterListConfig MasterCatalog::openingSupplierList()
{
    MasterListConfig config = openingCustomerList();
    config.key = QStringLiteral("TFrbranch_b");
    config.caption = QStringLiteral("供应商信息_期初建帐");
    config.maximised = true;
    config.dataSet = [] { return frdm->AQbranch; };
    config.columns[1].title = QStringLiteral("供应商名");
    openingPartySearch(config, QStringLiteral("branch"), sixPartyFields);
    config.print = [](MasterListWindow& l) { ListPrinting::openingParties(l, QStringLiteral("branch"), QStringLiteral("Tfrrbranch")); };
    config.valueEditor->key = QStringLiteral("Tfrbranchedit_b");
    config.valueEditor->caption = QStringLiteral("修改供应商应付期初值");
    config.valueEditor->dataSet = config.dataSet;
    config.valueEditor->rules = tableRules(QStringLiteral("branch"));
    return config;
}

MasterListConfig MasterCatalog::openingAccountList()
{
    MasterListConfig config = openingList(QStringLiteral("TFrbank_b"), QStringLiteral("现金银行帐_期初建帐"),
                                          [] { return frdm->AQbank; });
    config.columns = {{"id", "编号"}, {"name", "名称"}, {"accno", "帐号"}, {"rest", "期初结余"}, {"remark", "备注"}};
    openingPartySearch(config, QStringLiteral("bank"),
                       {QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("accno")});
    config.initialOption.clear();
    config.disabledCommands = {C::Print}; // nothing is printed of the accounts' opening balances
    config.valueEditor->key = QStringLiteral("Tfrbankedit_b");
    config.valueEditor->caption = QStringLiteral("修改现金银行期初值");
    config.valueEditor->boxes = {box("Edit1", "编号", "id", KeyFilter::Digits), box("Edit2", "名称", "name"),
                                 box("Edit3", "帐号", "accno", KeyFilter::Phone),
                                 box("Edit4", "期初值", "rest", KeyFilter::Price)};
    config.valueEditor->rules = tableRules(QStringLiteral("bank"));
    return config;
}

MasterListConfig MasterCatalog::openingProductList()
{
    MasterListConfig config = openingList(QStringLiteral("TFrproduct_b"), QStringLiteral("产品资料_期初建帐"),
                                          [] { return frdm->Aqproduct; });
    config.columns = {{"sphh", "货品代码"}, {"spmc", "货品名称"}, {"spgg", QString()}, {"spbzxh", "拼音首字"},
                      {"rest", "期初数量"}};
    config.commands = commandsWithSpacers({C::Search, C::Modify, C::Print}, {C::Close});
    config.hiddenCommands = {C::Print}; // present, never shown
    config.print = &ListPrinting::openingProducts;
    config.search.select = QStringLiteral("SELECT * from product");
    config.search.options = {contains(QStringLiteral("货号"), QStringLiteral("sphh")),
                             contains(QStringLiteral("品名"), QStringLiteral("spmc")),
                             SearchOption{QStringLiteral("初值非0"), QString(), SearchMatch::Fixed, QString(), false,
                                          QStringLiteral("rest<>0.0 ")}};
    config.initialOption = QStringLiteral("货号");
    config.valueEditor->key = QStringLiteral("Tfrproductedit_b");
    config.valueEditor->caption = QStringLiteral("修改商品期初库存量");
    config.valueEditor->boxes = {box("Edit1", "货号", "sphh"), box("Edit2", "名称", "spmc"),
                                 box("Edit3", "规格型号", "spgg"), box("Edit4", "期初库存量", "rest", KeyFilter::Price)};
    config.valueEditor->thirdLabel = &MasterCatalog::specTitle;
    config.onShow = [](MasterListWindow& list) { list.DBGrid1->setColumnTitle(2, specTitle()); };
    config.valueEditor->rules = productCodeRules();
    return config;
}

MasterListConfig MasterCatalog::stockList()
{
    MasterListConfig config;
    config.key = QStringLiteral("TFrproductp");
    config.caption = QStringLiteral("商品库存管理");
    config.dataSet = [] { return frdm->Aqproduct; };
    config.columns = {{"szbj", "选择"}, {"sphh", "货品代码"}, {"spmc", "品名规格"}, {"spbzxh", "拼音首字"},
                      {"dj_w", "自定进价"}, {"dj_n", "批发价"}, {"spmz", "超市价"}, {"spzz", "零售价"},
                      {"sl_in_m", "月进货量"}, {"sl_out_m", "月出货量"}, {"sl_in_y", "年进货量"},
                      {"sl_out_y", "年出货量"}, {"sl", "库存数量"}, {"ysl", "实库存量"}, {"sptj", "差额数量"},
                      {"bz", "备注"}};
    config.commands = commandsWithSpacers({C::Print}, {C::Search, C::CountEntry, C::Close});
    config.print = &ListPrinting::stockWindow;
    config.search.select = QStringLiteral("SELECT * from product");
    const QString bySphh = QStringLiteral("order by sphh collate GBK");
    config.search.options = {
        SearchOption{QStringLiteral("拼音首字"), QStringLiteral("spbzxh"), SearchMatch::Contains, bySphh, false, QString()},
        SearchOption{QStringLiteral("货品代码"), QStringLiteral("sphh"), SearchMatch::QuickOrFuzzy, bySphh, true, QString()},
        SearchOption{QStringLiteral("品名规格"), QStringLiteral("spmc"), SearchMatch::QuickOrFuzzy, bySphh, true, QString()},
    };
    config.initialOption = QStringLiteral("拼音首字");
    config.modes = {QStringLiteral("精确"), QStringLiteral("模糊")};
    config.searchOnType = true;
    config.searchOnLeave = false;
    config.markColumn = true;
    ValueEditorConfig editor;
    editor.key = QStringLiteral("Tfrproductpedit");
    editor.caption = QStringLiteral("录入实际库存量");
    editor.dataSet = config.dataSet;
    editor.boxes = {box("Edit1", "货品代码", "sphh"), box("Edit2", "品名规格", "spmc"), box("Edit3", "帐面库存量", "sl"),
                    box("Edit4", "实际库存量", "ysl", KeyFilter::Price)};
    editor.editable = {false, false, false, true};
    editor.writeAllBoxes = false;
    editor.checkCode = false;
    config.valueEditor = editor;
    config.menu = {
        {QStringLiteral("N17"), QStringLiteral("按货品类型排序"), [](MasterListWindow& l) { ProductListMenu::sort(l, true); }, false},
        {QStringLiteral("N18"), QStringLiteral("取消货品类型排序"), [](MasterListWindow& l) { ProductListMenu::sort(l, false); }, false},
        {QStringLiteral("N19"), QStringLiteral("清除选择标记"), [](MasterListWindow& l) { ProductListMenu::setAllMarks(l, false); }},
        {QStringLiteral("N20"), QStringLiteral("选择所有商品"), [](MasterListWindow& l) { ProductListMenu::setAllMarks(l, true); }},
    };
    config.onClose = [](MasterListWindow&) { StockMenu::closeStockWindow(); };
    return config;
}

MasterListConfig MasterCatalog::productList()
{
    MasterListConfig config;
    config.key = QStringLiteral("TFrproduct");
    config.caption = QStringLiteral("商品资料");
    config.dataSet = [] { return frdm->Aqproduct; };
    config.columns = {{"szbj", "选择"}, {"name", "货品类型"}, {"sphh", "货品代码"}, {"spmc", "货品名称"},
                      {"spgg", QString()}, {"spbzxh", "拼音首字"}, {"dj_w", "进货价"}, {"dj_n", "批发价"},
                      {"spmz", "超市价"}, {"spzz", "零售价"}, lb::ui::GridColumn("sl", "库存数量", 0, true, false, Qt::red), {"orderid", "厂家"},
                      {"spbs", "单位"}, {"sl_j", "数量/件"}, {"rest", "期初数量"}, {"sl_in_m", "月进货量"},
                      {"sl_in_y", "年进货量"}, {"sl_out_m", "月出货量"}, {"sl_out_y", "年出货量"}, {"bz", "备注"}};
    config.gridHint = QStringLiteral("双击所在价格列,则选取该价格到销售单的单价。");
    config.commands = {C::Add, C::Modify, C::Delete, C::Print, C::Pick, C::Search, C::Export, C::Close};
    config.print = &ListPrinting::products;
    config.search.select = QStringLiteral("SELECT * from product");
    const QString bySphh = QStringLiteral("order by sphh collate GBK");
    config.search.options = {
        SearchOption{QStringLiteral("货品代码"), QStringLiteral("sphh"), SearchMatch::QuickOrFuzzy, bySphh, true, QString()},
        SearchOption{QStringLiteral("货品名称"), QStringLiteral("spmc"), SearchMatch::QuickOrFuzzy, bySphh, true, QString()},
        SearchOption{QStringLiteral("规格型号"), QStringLiteral("spgg"), SearchMatch::Contains, bySphh, false, QString()},
        SearchOption{QStringLiteral("拼音首字"), QStringLiteral("spbzxh"), SearchMatch::Contains, bySphh, false, QString()},
        SearchOption{QStringLiteral("货品类型"), QStringLiteral("name"), SearchMatch::Contains, QStringLiteral("order by name collate GBK"), false, QString()},
        SearchOption{QStringLiteral("厂家"), QStringLiteral("orderid"), SearchMatch::Contains, bySphh, false, QString()},
    };
    config.initialOption = QStringLiteral("货品代码");
    config.imeOptions = {QStringLiteral("货品名称"), QStringLiteral("厂家"), QStringLiteral("货品类型")};
    config.modes = {QStringLiteral("快速"), QStringLiteral("模糊")};
    config.initialMode = 1;
    config.searchOnType = true;
    config.searchOnLeave = false;
    config.statusPanels = {QStringLiteral("双击某价格列,则选取该价格到相应单据的单价。"), QStringLiteral("右击可显示或隐藏进货价。")};
    config.showCount = true;
    config.markColumn = true;
    config.pickList = PickList::Product;
    config.deletion.products = true;
    config.openEditor = [](MasterListWindow& list, bool) { (new Tfrproductedit(&list))->showWork(true); };
    config.menu = ProductListMenu::items();
    config.onShow = [](MasterListWindow& list) {
        list.DBGrid1->setColumnTitle(4, specTitle());
        ProductListMenu::applyPurchasePrice(list);
    };
    config.onClose = [](MasterListWindow&) {
        frdm->AQpackage->close();
        frdm->AQunits->close();
    };
    return config;
}

QStringList MasterCatalog::keys()
{
    return {QStringLiteral("TFrcustomer"), QStringLiteral("TFrbranch"), QStringLiteral("TFrbank"),
            QStringLiteral("TFremployee"), QStringLiteral("TFrstore"), QStringLiteral("TFrproduct"),
            QStringLiteral("TFrproductp"), QStringLiteral("TFrcustomer_b"), QStringLiteral("TFrbranch_b"),
            QStringLiteral("TFrbank_b"), QStringLiteral("TFrproduct_b")};
}

MasterListConfig MasterCatalog::byKey(const QString& key)
{
    using Maker = MasterListConfig (*)();
    const std::vector<std::pair<QString, Maker>> makers = {
        {QStringLiteral("TFrcustomer"), &customerList}, {QStringLiteral("TFrbranch"), &supplierList},
        {QStringLiteral("TFrbank"), &accountList}, {QStringLiteral("TFremployee"), &employeeList},
        {QStringLiteral("TFrstore"), &storeList}, {QStringLiteral("TFrproduct"), &productList},
        {QStringLiteral("TFrproductp"), &stockList}, {QStringLiteral("TFrcustomer_b"), &openingCustomerList},
        {QStringLiteral("TFrbranch_b"), &openingSupplierList}, {QStringLiteral("TFrbank_b"), &openingAccountList},
        {QStringLiteral("TFrproduct_b"), &openingProductList},
    };
    for (const auto& [name, make] : makers) {
        if (name == key)
            return make();
    }
    throw lb::Error(QStringLiteral("No list window %1").arg(key));
}

} // namespace lb::masterdata
