// The configuration of every document window, by its class name.
#include "documents/DocumentCatalog.h"

#include "platform/sys/Errors.h"

namespace {

// The texts the entry forms of products share: the status bar and the pop-up of the forms
// that have one.
const QString productStatus = QStringLiteral("商品明细表中的第一行为上期结转行,不能删除或输入商品,否则该单应作废。");
const QString productAddStatus = QStringLiteral("单击“新增或删除”按钮,则可在明细表中增加或删除商品。");

// The pop-up of the purchase and receipt forms: the tool bar's commands, 过帐 by the
// posting mode.
std::vector<CommandLook> documentPopup()
{
    return {{"N1", QStringLiteral("新增"), {}, "ToolButton1"}, {"N2", QStringLiteral("删除"), {}, "ToolButton2"},
            {"N3", QStringLiteral("刷新"), {}, "ToolButton3"}, {"N4", QStringLiteral("过帐"), {}, "posting"},
            {"N5", QStringLiteral("打印"), {}, "ToolButton5"}, {"N6", QStringLiteral("退回"), {}, "ToolButton7"}};
}

// The tool bar of the product forms that book stock only by the option; the forms that copy
// have 转抄 (with `copyHint`) before 退回.
std::vector<CommandLook> bookingFormTools(const QString& copyHint = QString())
{
    std::vector<CommandLook> tools = {{"ToolButton1", QStringLiteral("新增行&A"), QStringLiteral("新增")},
                                      {"ToolButton2", QStringLiteral("删除行&D"), QStringLiteral("删除")},
                                      {"ToolButton3", QStringLiteral("刷新&R"), QStringLiteral("刷新")},
                                      {"ToolButton8", QStringLiteral("记帐")},
                                      {"ToolButton4", QStringLiteral("过帐&O"), QStringLiteral("过帐")},
                                      {"ToolButton6", QStringLiteral("作废&C"), QStringLiteral("抹帐")},
                                      {"ToolButton5", QStringLiteral("打印&P"), QStringLiteral("打印")}};
    if (!copyHint.isEmpty())
        tools.push_back({"ToolButton9", QStringLiteral("转抄"), copyHint});
    tools.push_back({"ToolButton7", QStringLiteral("退回&Q"), QStringLiteral("退回")});
    return tools;
}

// Gives box `name` another label (and hint, where one is given).
void relabel(EntryFormConfig& config, const char* name, const QString& label, const QString& hint = QString())
{
    for (HeaderBox& entry : config.boxes) {
        if (entry.name != QLatin1String(name))
            continue;
        entry.label = label;
        if (!hint.isEmpty())
            entry.hint = hint;
        return;
    }
    throw lb::Error(QStringLiteral("No box '%1' to relabel").arg(QLatin1String(name)));
}

const QString supplierPickHint = QStringLiteral("双击进入供应商表选取");

// The line grid of a sales document; the posted view shows it read-only.
std::vector<lb::ui::GridColumn> salesLineColumns(bool editable)
{
    const QColor red(Qt::red);
    return {
        {"sphh", QStringLiteral("货品代码"), 80, true, true},
        {"spmc", QStringLiteral("货品名称"), 150, true, true},
        {"spgg", QStringLiteral("规格型号"), 80, true, true},
        {"unit", QStringLiteral("单位"), 40, true, true},
        {"sl", QStringLiteral("数量"), 60, true, !editable},
        {"dj_n", QStringLiteral("单价"), 70, true, !editable},
        {"amount", QStringLiteral("金额"), 80, true, true},
        {"deduck", QStringLiteral("扣除金额"), 70, true, !editable},
        {"pay", QStringLiteral("收款金额"), 70, true, !editable},
        {"rest", QStringLiteral("累计结余"), 80, true, true},
        {"remark", QStringLiteral("备注"), 100, true, !editable, red},
    };
}

// The header boxes of a sales document; the entry form's carry the hints of their pickers.
std::vector<HeaderBox> salesHeaderBoxes(bool entry)
{
    const auto hint = [entry](const char* text) { return entry ? QString::fromUtf8(text) : QString(); };
    return {
        {"Edit1", QStringLiteral("单号"), "intno", BoxStyle::ReadOnly},
        {"Edit2", QStringLiteral("客户号"), "customerid", BoxStyle::Text, hint("双击进入客户表选取")},
        {"Edit3", QStringLiteral("客户名"), "customername"},
        {"Edit4", QStringLiteral("联系人"), "persondeal"},
        {"Edit16", QStringLiteral("负责人"), "employeename", BoxStyle::Text, hint("双击进入员工表")},
        {"Edit6", QStringLiteral("日期"), "billdate", BoxStyle::ReadOnly, hint("双击某列可选取")},
        {"Edit10", QStringLiteral("银行编号"), "bankid", BoxStyle::Text, hint("双击进入银行表")},
        {"Edit7", QStringLiteral("上期结余"), "balance", BoxStyle::Money},
        {"Edit9", QStringLiteral("摘要"), "remark", BoxStyle::Text, QString(), true, 2},
        {"Memo1", QStringLiteral("备注"), "remark1", BoxStyle::Memo, QString(), true, 2},
        {"Edit5", QStringLiteral("金额合计"), "amount", BoxStyle::Money},
        {"Edit15", QStringLiteral("扣除金额"), "deduck", BoxStyle::Money},
        {"Edit13", QStringLiteral("收款合计"), "pay", BoxStyle::Money},
        {"Edit8", QStringLiteral("累计结余"), "rest", BoxStyle::Money},
        {"Edit14", QStringLiteral("合计数量"), "hjsl", BoxStyle::Quantity},
        {"Edit11", QStringLiteral("合计件数"), "hjjs", BoxStyle::Quantity, QString(), false},
    };
}

// A list of one kind's documents: search by number, date and the party's number and name
// (`partyNo`, `partyName`, also the titles of their columns), and the headers' grid.
DocumentListConfig kindList(const char* key, const QString& caption, lb::documents::BillKind kind, const QString& partyNo,
                            const QString& partyName)
{
    DocumentListConfig config;
    config.key = QString::fromLatin1(key);
    config.caption = caption;
    config.kind = kind;
    config.search.select = QStringLiteral("SELECT * from ") + lb::documents::DocumentKinds::of(kind).headerTable;
    config.search.options = {
        {QStringLiteral("单据号"), "intno", SearchMatch::PaddedEquals, QString(), false, QString()},
        {QStringLiteral("日期"), "billdate", SearchMatch::DateEquals, QString(), false, QString()},
        {partyNo, "customerid", SearchMatch::Equals, QString(), false, QString()},
        {partyName, "customername", SearchMatch::Contains, QString(), false, QString()},
    };
    config.initialOption = QStringLiteral("日期");
    config.dateOption = QStringLiteral("日期");
    config.columns = {
        {"intno", QStringLiteral("单据号"), 90},
        {"billdate", QStringLiteral("日期"), 90},
        {"customerid", partyNo, 90},
        {"customername", partyName, 160},
        {"persondeal", QStringLiteral("联系人"), 80},
        {"balance", QStringLiteral("上期结余"), 90},
        {"amount", QStringLiteral("本次金额"), 90},
        {"rest", QStringLiteral("累计结余"), 90},
    };
    return config;
}

// The header boxes of a posted view of the kinds other than sales: the common ones, then the
// kind's own `extra` ones.
std::vector<HeaderBox> postedBoxes(const QString& partyNo, const QString& partyName, std::vector<HeaderBox> extra)
{
    std::vector<HeaderBox> boxes = {
        {"Edit1", QStringLiteral("单号"), "intno", BoxStyle::ReadOnly},
        {"Edit2", partyNo, "customerid"},
        {"Edit3", partyName, "customername"},
        {"Edit4", QStringLiteral("联系人"), "persondeal"},
        {"Edit6", QStringLiteral("日期"), "billdate", BoxStyle::ReadOnly},
        {"Edit16", QStringLiteral("负责人"), "employeename"},
        {"Edit9", QStringLiteral("摘要"), "remark"},
        {"Edit7", QStringLiteral("上期结余"), "balance", BoxStyle::Money},
        {"Edit5", QStringLiteral("金额合计"), "amount", BoxStyle::Money},
        {"Edit8", QStringLiteral("累计结余"), "rest", BoxStyle::Money},
    };
    for (HeaderBox& entry : extra)
        boxes.push_back(std::move(entry));
    return boxes;
}

// The total and other boxes the posted views show after the common ones.
const HeaderBox accountBox{"Edit10", QStringLiteral("银行编号"), "bankid"};
const HeaderBox paperNoBox{"Edit10", QStringLiteral("单据号"), "djh", BoxStyle::Text, QString(), false};
const HeaderBox packsBox{"Edit11", QStringLiteral("合计件数"), "hjjs", BoxStyle::Quantity};
const HeaderBox boxesBox{"Edit13", QStringLiteral("合计箱数"), "hjss", BoxStyle::Quantity};
const HeaderBox paidBox{"Edit13", QStringLiteral("付款合计"), "pay", BoxStyle::Money};
const HeaderBox quantityBox{"Edit14", QStringLiteral("合计数量"), "hjsl", BoxStyle::Quantity};
const HeaderBox deductionBox{"Edit15", QStringLiteral("扣除金额"), "deduck", BoxStyle::Money};

// The line grid of an entry form, every column read-only, for the kind's posted view.
std::vector<lb::ui::GridColumn> readOnlyColumns(std::vector<lb::ui::GridColumn> columns)
{
    for (lb::ui::GridColumn& column : columns)
        column.readOnly = true;
    return columns;
}

// A posted view's pop-up: 打印 and 退回 as its tool bar runs them.
std::vector<CommandLook> viewPopup()
{
    return {{"N5", QStringLiteral("打印"), {}, "ToolButton5"}, {"N6", QStringLiteral("退回"), {}, "ToolButton7"}};
}

const CommandLook reverseLook{"ToolButton6", QStringLiteral(" 冲数 "), QStringLiteral("抹帐")};
const CommandLook unbookLook{"ToolButton1", QStringLiteral("冲帐")};
const CommandLook voidLook{"ToolButton2", QStringLiteral("作废&C")};
const CommandLook viewPrintLook{"ToolButton5", QStringLiteral(" 打印 "), QStringLiteral("打印")};
const CommandLook backLook{"ToolButton7", QStringLiteral("退回"), QStringLiteral("退回")};

} // namespace

EntryFormConfig DocumentCatalog::salesEntryForm()
{
    EntryFormConfig config;
    config.key = QStringLiteral("Tfroutdetail");
    config.caption = QStringLiteral("销售明细单(打印纸张大小设置,请参考说明书或与提供商联系)");
    config.size = QSize(800, 552);
    config.kind = lb::documents::BillKind::Sales;
    config.boxes = salesHeaderBoxes(true);
    config.codeBoxHint = QStringLiteral("输入代码后按回车键则自动录入商品,单价为超市价");
    config.historyBoxHint = QStringLiteral("输入单号后按回车取回历史单");
    config.columns = salesLineColumns(true);
    config.specColumn = 2;
    config.gridHint = QStringLiteral("双击进入商品表,右击进入客户-商品表");
    config.recalcColumns = {4, 5, 7, 8};
    config.newLineColumn = 4;
    config.enterMoves = {{5, 7}, {7, 8}};
    config.nextLineColumn = 8;
    config.firstEntryColumn = 4;
    config.enterChain = {{"Edit1", "Edit2"}, {"Edit2", "Edit12"}, {"Edit3", "Edit4"}, {"Edit4", "Edit6"},
                         {"Edit6", "Edit9"}, {"Edit9", "Edit1"}};
    config.arrowBoxes = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9",
                         "Edit11", "Edit13", "Edit14", "Edit15", "Edit16"};
    config.partyList = QStringLiteral("TFrcustomer");
    config.statusPanels = {productStatus, productAddStatus};
    config.toolButtons = {{"ToolButton1", QStringLiteral("新增行&A")}, {"ToolButton2", QStringLiteral("删除行&D")},
                          {"ToolButton3", QStringLiteral("刷新&R")}, {"ToolButton8", QStringLiteral("记帐")},
                          {"ToolButton4", QStringLiteral("过帐&O")}, {"ToolButton6", QStringLiteral("作废&C"), QStringLiteral("抹帐")},
                          {"ToolButton9", QStringLiteral("转抄"), QStringLiteral("转抄生成新销售单")},
                          {"ToolButton5", QStringLiteral("打印&P")}, {"ToolButton7", QStringLiteral("退回&Q")}};
    config.popupItems = {{"N7", QStringLiteral("打印设置")}, {"N8", QStringLiteral("到客户-商品表选取资料")}};
    return config;
}

EntryFormConfig DocumentCatalog::purchaseEntryForm()
{
    EntryFormConfig config;
    config.key = QStringLiteral("Tfrindetail");
    config.backReportsUnsaved = true;
    config.caption = QStringLiteral("进货明细单");
    config.size = QSize(800, 550);
    config.kind = lb::documents::BillKind::Purchase;
    config.boxes = {
        {"Edit1", QStringLiteral("单号"), "intno", BoxStyle::ReadOnly},
        {"Edit2", QStringLiteral("供应商号"), "customerid", BoxStyle::Text, QStringLiteral("双击进入供应商表选取")},
        {"Edit3", QStringLiteral("供货商名"), "customername"},
        {"Edit4", QStringLiteral("联系人"), "persondeal"},
        {"Edit16", QStringLiteral("负责人"), "employeename", BoxStyle::Text, QStringLiteral("双击进入员工表")},
        {"Edit6", QStringLiteral("日期"), "billdate", BoxStyle::ReadOnly, QStringLiteral("双击某列可选取")},
        {"Edit9", QStringLiteral("摘要"), "remark"},
        {"Edit10", QStringLiteral("银行编号"), "bankid", BoxStyle::Text, QStringLiteral("双击进入银行表")},
        {"Edit7", QStringLiteral("上期结余"), "balance", BoxStyle::Money},
        {"Edit5", QStringLiteral("合计金额"), "amount", BoxStyle::Money},
        {"Edit13", QStringLiteral("付款合计"), "pay", BoxStyle::Money},
        {"Edit8", QStringLiteral("累计结余"), "rest", BoxStyle::Money},
        {"Edit11", QStringLiteral("合计件数"), "hjjs", BoxStyle::Quantity},
        {"Edit14", QStringLiteral("合计数量"), "hjsl", BoxStyle::Quantity},
        {"Edit15", QStringLiteral("扣除金额"), "deduck", BoxStyle::Money, QString(), false},
    };
    config.codeBoxHint = QStringLiteral("输入货品代码后按回车键则自动录入商品,单价为默认进货价");
    config.codeEntryByOption = true;
    config.newProductButton = true;
    const QColor red(Qt::red);
    config.columns = {
        {"sphh", QStringLiteral("货品代码"), 80, true, true},
        {"spmc", QStringLiteral("货品名称"), 150, true, true},
        {"unit", QStringLiteral("单位"), 40, true, true},
        {"js", QStringLiteral("件数"), 50},
        {"sl_j", QStringLiteral("数量/件"), 60},
        {"sl", QStringLiteral("数量"), 60, true, true},
        {"dj_w", QStringLiteral("进货价"), 70},
        {"amount", QStringLiteral("金额"), 80, true, true},
        {"pay", QStringLiteral("付款金额"), 70},
        {"rest", QStringLiteral("累计结余"), 80, true, true},
        {"remark", QStringLiteral("备注"), 100, true, false, red},
    };
    config.gridHint = QStringLiteral("双击可进入商品表选取商品");
    config.recalcColumns = {3, 4, 6, 8};
    config.newLineColumn = 3;
    config.enterMoves = {{4, 6}, {6, 8}};
    config.nextLineColumn = 8;
    config.firstEntryColumn = 3;
    config.enterChain = {{"Edit1", "Edit2"}, {"Edit2", "Edit12"}, {"Edit3", "Edit4"}, {"Edit4", "Edit6"},
                         {"Edit6", "Edit9"}, {"Edit9", "Edit1"}};
    config.arrowBoxes = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9",
                         "Edit11", "Edit13", "Edit14", "Edit15", "Edit16"};
    config.tabOrder = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit6", "Edit9", "Edit7", "Edit5", "Edit8", "DBGrid1",
                       "Edit12", "Edit10", "Edit11", "Edit13", "Edit14", "Edit15", "Edit16", "Edit17"};
    config.partyList = QStringLiteral("TFrbranch");
    config.statusPanels = {productStatus, productAddStatus};
    config.toolButtons = bookingFormTools(QStringLiteral("转抄生成新进货单"));
    config.popupItems = documentPopup();
    return config;
}

EntryFormConfig DocumentCatalog::receiptEntryForm()
{
    EntryFormConfig config;
    config.key = QStringLiteral("Tfrgetdetail");
    config.caption = QStringLiteral("收款明细单");
    config.size = QSize(800, 547);
    config.kind = lb::documents::BillKind::Receipt;
    config.boxes = {
        {"Edit1", QStringLiteral("单号"), "intno", BoxStyle::ReadOnly},
        {"Edit2", QStringLiteral("客户号"), "customerid", BoxStyle::Text, QStringLiteral("双击进入客户表选取")},
        {"Edit3", QStringLiteral("客户名"), "customername"},
        {"Edit4", QStringLiteral("联系人"), "persondeal"},
        {"Edit6", QStringLiteral("日期"), "billdate", BoxStyle::ReadOnly, QStringLiteral("双击某列可选取")},
        {"Edit16", QStringLiteral("负责人"), "employeename", BoxStyle::Text, QStringLiteral("双击进入员工表")},
        {"Edit9", QStringLiteral("摘要"), "remark"},
        {"Edit7", QStringLiteral("上期结余"), "balance", BoxStyle::Money},
        {"Edit5", QStringLiteral("金额合计"), "amount", BoxStyle::Money},
        {"Edit15", QStringLiteral("扣除金额"), "deduck", BoxStyle::Money},
        {"Edit8", QStringLiteral("累计结余"), "rest", BoxStyle::Money},
        {"Edit10", QStringLiteral("单据号"), "djh", BoxStyle::Text, QString(), false},
    };
    const QColor red(Qt::red);
    config.columns = {
        {"mainintno", QString(), 95, true, true},
        {"sphh", QStringLiteral("银行编号"), 95, true, true},
        {"spmc", QStringLiteral("银行名称"), 150, true, true},
        {"amount", QStringLiteral("金额"), 80},
        {"deduck", QStringLiteral("扣除金额"), 80},
        {"rest", QStringLiteral("累计结余"), 80, true, true},
        {"remark", QStringLiteral("备注"), 120, true, false, red},
    };
    config.gridHint = QStringLiteral("双击可选取现金银行资料到明细表");
    config.linePicker = QStringLiteral("TFrbank");
    config.recalcColumns = {3, 4, 6};
    config.enterMoves = {{3, 4}};
    config.nextLineColumn = 4;
    config.firstEntryColumn = 3;
    config.enterChain = {{"Edit1", "Edit2"}, {"Edit3", "Edit4"}, {"Edit4", "Edit6"}, {"Edit6", "Edit9"}, {"Edit9", "Edit1"}};
    config.enterToLines = QStringLiteral("Edit2");
    config.arrowBoxes = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Edit15", "Edit16"};
    config.partyList = QStringLiteral("TFrcustomer");
    config.printRemovesBlankLine = false;
    config.statusPanels = {QStringLiteral("收款明细表中的第一行为上期结转行,不能删除或输入现金银行名,否则该单应作废。"),
                           QStringLiteral("单击“新增或删除”按钮,则在明细表中增加或删除现金银行名。")};
    config.toolButtons = {{"ToolButton1", QStringLiteral("  新增&A  "), QStringLiteral("新增")},
                          {"ToolButton2", QStringLiteral("删除&D"), QStringLiteral("删除")},
                          {"ToolButton3", QStringLiteral("刷新&R"), QStringLiteral("刷新")},
                          {"ToolButton4", QStringLiteral("过帐&O"), QStringLiteral("过帐")},
                          {"ToolButton6", QStringLiteral("作废&C"), QStringLiteral("抹帐")},
                          {"ToolButton5", QStringLiteral("打印&P"), QStringLiteral("打印")},
                          {"ToolButton7", QStringLiteral("退回&Q"), QStringLiteral("退回")}};
    config.popupItems = documentPopup();
    return config;
}

EntryFormConfig DocumentCatalog::salesReturnEntryForm()
{
    EntryFormConfig config;
    config.key = QStringLiteral("Tfroutbackdetail");
    config.backReportsUnsaved = true;
    config.caption = QStringLiteral("销售退货明细单");
    config.size = QSize(800, 550);
    config.kind = lb::documents::BillKind::SalesReturn;
    config.boxes = {
        {"Edit1", QStringLiteral("单号"), "intno", BoxStyle::ReadOnly},
        {"Edit2", QStringLiteral("客户号"), "customerid", BoxStyle::Text, QStringLiteral("双击进入客户表选取")},
        {"Edit3", QStringLiteral("客户名"), "customername"},
        {"Edit4", QStringLiteral("联系人"), "persondeal"},
        {"Edit16", QStringLiteral("负责人"), "employeename", BoxStyle::Text, QStringLiteral("双击进入员工表")},
        {"Edit6", QStringLiteral("日期"), "billdate", BoxStyle::ReadOnly, QStringLiteral("双击某列可选取")},
        {"Edit9", QStringLiteral("摘要"), "remark"},
        {"Edit10", QStringLiteral("单据号"), "djh", BoxStyle::Text, QString(), false},
        {"Edit7", QStringLiteral("上期结余"), "balance", BoxStyle::Money},
        {"Edit14", QStringLiteral("合计数量"), "hjsl", BoxStyle::Quantity},
        {"Edit5", QStringLiteral("金额合计"), "amount", BoxStyle::Money},
        {"Edit8", QStringLiteral("累计结余"), "rest", BoxStyle::Money},
        {"Edit11", QStringLiteral("合计件数"), "hjjs", BoxStyle::Quantity, QString(), false},
        {"Edit13", QStringLiteral("合计箱数"), "hjss", BoxStyle::Quantity, QString(), false},
    };
    config.codeBoxHint = QStringLiteral("输入货品代码后按回车键则自动录入商品,单价为默认超市价");
    const QColor red(Qt::red);
    config.columns = {
        {"sphh", QStringLiteral("货品代码"), 80, true, true},
        {"spmc", QStringLiteral("货品名称"), 150, true, true},
        {"spgg", QStringLiteral("规格型号"), 80, true, true},
        {"unit", QStringLiteral("单位"), 40, true, true},
        {"sl", QStringLiteral("数量"), 60},
        {"dj_n", QStringLiteral("单价"), 70},
        {"amount", QStringLiteral("金额"), 80, true, true},
        {"rest", QStringLiteral("累计结余"), 80, true, true},
        {"remark", QStringLiteral("备注"), 100, true, false, red},
    };
    config.specColumn = 2;
    config.gridHint = QStringLiteral("双击可进入商品表选取商品");
    config.recalcColumns = {4, 5, 7};
    config.newLineColumn = 4;
    config.nextLineColumn = 5;
    config.firstEntryColumn = 4;
    config.codeDownColumn = 2;
    config.enterChain = {{"Edit1", "Edit2"}, {"Edit2", "Edit12"}, {"Edit3", "Edit4"}, {"Edit4", "Edit6"},
                         {"Edit6", "Edit9"}, {"Edit9", "Edit1"}};
    config.arrowBoxes = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9",
                         "Edit11", "Edit13", "Edit14", "Edit16"};
    config.partyList = QStringLiteral("TFrcustomer");
    // A line without a name refuses the posting instead of being deleted on the way.
    config.postingRemovesBlankLine = false;
    config.statusPanels = {productStatus, productAddStatus};
    config.toolButtons = bookingFormTools();
    config.popupItems = documentPopup();
    return config;
}

EntryFormConfig DocumentCatalog::purchaseReturnEntryForm()
{
    EntryFormConfig config = salesReturnEntryForm();
    config.key = QStringLiteral("Tfrinbackdetail");
    config.caption = QStringLiteral("进货退货明细单");
    config.kind = lb::documents::BillKind::PurchaseReturn;
    relabel(config, "Edit2", QStringLiteral("供应商号"), supplierPickHint);
    relabel(config, "Edit3", QStringLiteral("供应商名"));
    relabel(config, "Edit5", QStringLiteral("合计金额"));
    config.boxes.push_back({"Edit15", QStringLiteral("扣除金额"), "deduck", BoxStyle::Money, QString(), false});
    config.codeBoxHint = QStringLiteral("输入货品代码后按回车键则自动录入商品,单价为默认进货价");
    const QColor red(Qt::red);
    config.columns = {
        {"sphh", QStringLiteral("货品代码"), 80, true, true},
        {"spmc", QStringLiteral("货品名称"), 150, true, true},
        {"unit", QStringLiteral("单位"), 40, true, true},
        {"sl", QStringLiteral("数量"), 60},
        {"dj_w", QStringLiteral("进货价"), 70},
        {"amount", QStringLiteral("金额"), 80, true, true},
        {"rest", QStringLiteral("累计结余"), 80, true, true},
        {"remark", QStringLiteral("备注"), 100, true, false, red},
    };
    config.specColumn = -1;
    config.recalcColumns = {3, 4};
    config.newLineColumn = 3;
    config.nextLineColumn = 4;
    config.firstEntryColumn = 3;
    config.codeDownColumn = -1;
    config.partyList = QStringLiteral("TFrbranch");
    config.postingRemovesBlankLine = true;
    config.toolButtons[1].caption = QStringLiteral("删除&D");
    return config;
}

EntryFormConfig DocumentCatalog::paymentEntryForm()
{
    EntryFormConfig config = receiptEntryForm();
    config.key = QStringLiteral("Tfrputdetail");
    config.caption = QStringLiteral("付款明细单");
    config.kind = lb::documents::BillKind::Payment;
    relabel(config, "Edit2", QStringLiteral("供应商号"), supplierPickHint);
    relabel(config, "Edit3", QStringLiteral("供应商名"));
    config.partyList = QStringLiteral("TFrbranch");
    config.deleteAsks = false;
    config.statusPanels = {QStringLiteral("付款明细表中的第一行为上期结转行,不能删除或输入现金银行名,否则该单应作废。"),
                           QStringLiteral("单击“新增或删除”按钮,则在明细表中增加或删除现金银行名。")};
    return config;
}

EntryFormConfig DocumentCatalog::orderEntryForm()
{
    EntryFormConfig config;
    config.key = QStringLiteral("Tfrdhdetail");
    config.backReportsUnsaved = true;
    config.caption = QStringLiteral("订货明细单");
    config.size = QSize(800, 550);
    config.kind = lb::documents::BillKind::PurchaseOrder;
    config.boxes = {
        {"Edit1", QStringLiteral("单号"), "intno", BoxStyle::ReadOnly},
        {"Edit2", QStringLiteral("供应商号"), "customerid", BoxStyle::Text, QStringLiteral("双击进入供应商表")},
        {"Edit3", QStringLiteral("供货商名"), "customername"},
        {"Edit4", QStringLiteral("联系人"), "persondeal"},
        {"Edit6", QStringLiteral("日期"), "billdate", BoxStyle::ReadOnly, QStringLiteral("双击某列可选取")},
        {"Edit9", QStringLiteral("摘要"), "remark"},
        {"Edit16", QStringLiteral("负责人"), "employeename", BoxStyle::Text, QStringLiteral("双击进入员工表")},
        {"Edit11", QStringLiteral("合计件数"), "hjjs", BoxStyle::Quantity},
        {"Edit14", QStringLiteral("合计数量"), "hjsl", BoxStyle::Quantity},
        {"Edit5", QStringLiteral("合计金额"), "amount", BoxStyle::Money, QString(), false},
        {"Edit7", QStringLiteral("上期结余"), "balance", BoxStyle::Money, QString(), false},
        {"Edit8", QStringLiteral("累计结余"), "rest", BoxStyle::Money, QString(), false},
        {"Edit13", QStringLiteral("付款合计"), "pay", BoxStyle::Money, QString(), false},
        {"Edit15", QStringLiteral("扣除金额"), "deduck", BoxStyle::Money, QString(), false},
        {"Edit10", QStringLiteral("银行编号"), "bankid", BoxStyle::Text, QStringLiteral("双击进入银行表"), false},
    };
    config.codeBoxHint = QStringLiteral("输入货品代码后按回车键则自动录入商品,单价为默认进货价");
    const QColor red(Qt::red);
    config.columns = {
        {"sphh", QStringLiteral("货品代码"), 80, true, true},
        {"spmc", QStringLiteral("货品名称"), 150, true, true},
        {"unit", QStringLiteral("单位"), 40, true, true},
        {"js", QStringLiteral("件数"), 50},
        {"sl_j", QStringLiteral("数量/件"), 60},
        {"sl", QStringLiteral("数量"), 60, true, true},
        {"remark", QStringLiteral("备注"), 150, true, false, red},
    };
    config.gridHint = QStringLiteral("双击某列可进入下级表");
    config.recalcColumns = {3, 4};
    config.newLineColumn = 3;
    config.enterMoves = {{4, 6}};
    config.nextLineColumn = 6;
    config.firstEntryColumn = 3;
    config.enterChain = {{"Edit1", "Edit2"}, {"Edit2", "Edit12"}, {"Edit3", "Edit4"}, {"Edit4", "Edit6"},
                         {"Edit6", "Edit9"}, {"Edit9", "Edit1"}};
    config.arrowBoxes = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit6", "Edit9", "Edit16", "Edit11", "Edit14"};
    config.partyList = QStringLiteral("TFrbranch");
    // An order is recalculated as it opens, marked posted without a question, and refuses a
    // line without a name rather than deleting it.
    config.recalcOnOpen = true;
    config.confirmPosting = false;
    config.postingRemovesBlankLine = false;
    config.printRemovesBlankLine = false;
    config.noLineRefusal = QStringLiteral("明细表中没有记录,请按新增按钮!");
    config.statusPanels = {QString(), productAddStatus};
    config.toolButtons = {{"ToolButton1", QStringLiteral("  新增&A  "), QStringLiteral("新增")},
                          {"ToolButton2", QStringLiteral("删除&D")},
                          {"ToolButton3", QStringLiteral("刷新&R")},
                          {"ToolButton4", QStringLiteral("过帐&O")},
                          {"ToolButton6", QStringLiteral("作废&C"), QStringLiteral("抹帐")},
                          {"ToolButton8", QStringLiteral("转抄"), QString(), QStringLiteral("ToolButton9")},
                          {"ToolButton5", QStringLiteral("打印&P")},
                          {"ToolButton7", QStringLiteral("退回&Q")}};
    config.popupItems = documentPopup();
    return config;
}

QStringList DocumentCatalog::entryFormKeys()
{
    return {QStringLiteral("Tfroutdetail"), QStringLiteral("Tfrindetail"), QStringLiteral("Tfrgetdetail"),
            QStringLiteral("Tfroutbackdetail"), QStringLiteral("Tfrinbackdetail"), QStringLiteral("Tfrputdetail"),
            QStringLiteral("Tfrdhdetail")};
}

EntryFormConfig DocumentCatalog::entryForm(const QString& key)
{
    if (key == QLatin1String("Tfroutdetail"))
        return salesEntryForm();
    if (key == QLatin1String("Tfrindetail"))
        return purchaseEntryForm();
    if (key == QLatin1String("Tfrgetdetail"))
        return receiptEntryForm();
    if (key == QLatin1String("Tfroutbackdetail"))
        return salesReturnEntryForm();
    if (key == QLatin1String("Tfrinbackdetail"))
        return purchaseReturnEntryForm();
    if (key == QLatin1String("Tfrputdetail"))
        return paymentEntryForm();
    if (key == QLatin1String("Tfrdhdetail"))
        return orderEntryForm();
    throw lb::Error(QStringLiteral("No entry form '%1'").arg(key));
}

PostedViewConfig DocumentCatalog::salesPostedView()
{
    PostedViewConfig config;
    config.key = QStringLiteral("Tfrfoutdetail");
    config.caption = QStringLiteral("销售明细单(已过帐)");
    config.size = QSize(800, 560);
    config.kind = lb::documents::BillKind::Sales;
    config.boxes = salesHeaderBoxes(false);
    config.columns = salesLineColumns(false);
    config.specColumn = 2;
    // The pop-up runs 打印 and 退回 as the tool bar does; its other items do nothing here.
    config.toolButtons = {{"ToolButton6", QStringLiteral("   冲数   "), QStringLiteral("抹帐")}, {"ToolButton1", QStringLiteral("冲帐")},
                          {"ToolButton2", QStringLiteral("作废&C")}, {"ToolButton3", QStringLiteral("转抄"), QStringLiteral("转抄生成新销售单")},
                          {"ToolButton5", QStringLiteral("  打印  ")}, {"ToolButton7", QStringLiteral("退回")}};
    config.popupItems = {{"N1", QStringLiteral("新增"), {}, "none"}, {"N2", QStringLiteral("删除"), {}, "none"},
                         {"N3", QStringLiteral("刷新"), {}, "none"}, {"N4", QStringLiteral("过帐"), {}, "none"},
                         {"N5", QStringLiteral("打印"), {}, "ToolButton5"}, {"N6", QStringLiteral("退回"), {}, "ToolButton7"}};
    config.noListForCopy = QStringLiteral("没有打开销售单据,不能转抄！");
    return config;
}

DocumentListConfig DocumentCatalog::salesList()
{
    DocumentListConfig config = kindList("Tfroutlist", QStringLiteral("销售单据"), lb::documents::BillKind::Sales,
                                         QStringLiteral("客户号"), QStringLiteral("客户名"));
    config.entryForm = salesEntryForm();
    config.postedView = salesPostedView();
    return config;
}

PostedViewConfig DocumentCatalog::receiptPostedView()
{
    PostedViewConfig config;
    config.key = QStringLiteral("Tfrfgetdetail");
    config.caption = QStringLiteral("收款明细单(已过帐)");
    config.size = QSize(800, 547);
    config.kind = lb::documents::BillKind::Receipt;
    config.boxes = postedBoxes(QStringLiteral("客户号"), QStringLiteral("客户名"), {deductionBox, paperNoBox});
    config.columns = readOnlyColumns(receiptEntryForm().columns);
    config.toolButtons = {reverseLook, {"ToolButton5", QStringLiteral("打印"), QStringLiteral("打印")}, backLook};
    config.popupItems = viewPopup();
    return config;
}

PostedViewConfig DocumentCatalog::paymentPostedView()
{
    PostedViewConfig config = receiptPostedView();
    config.key = QStringLiteral("Tfrfputdetail");
    config.caption = QStringLiteral("付款明细单(已过帐)");
    config.kind = lb::documents::BillKind::Payment;
    config.boxes = postedBoxes(QStringLiteral("供应商号"), QStringLiteral("供应商名"), {deductionBox, paperNoBox});
    return config;
}

PostedViewConfig DocumentCatalog::purchasePostedView()
{
    PostedViewConfig config;
    config.key = QStringLiteral("Tfrfindetail");
    config.caption = QStringLiteral("进货明细单(已过帐)");
    config.size = QSize(800, 550);
    config.kind = lb::documents::BillKind::Purchase;
    config.boxes = postedBoxes(QStringLiteral("供应商号"), QStringLiteral("供应商名"),
                               {accountBox, packsBox, paidBox, quantityBox, deductionBox});
    config.columns = readOnlyColumns(purchaseEntryForm().columns);
    config.toolButtons = {reverseLook, unbookLook, voidLook, {"ToolButton3", QStringLiteral("转抄"), QStringLiteral("转抄生成新进货单")},
                          viewPrintLook, backLook};
    config.popupItems = viewPopup();
    config.noListForCopy = QStringLiteral("没有打开进货单据,不能转抄！");
    return config;
}

PostedViewConfig DocumentCatalog::salesReturnPostedView()
{
    PostedViewConfig config;
    config.key = QStringLiteral("Tfrfoutbackdetail");
    config.caption = QStringLiteral("销售退货明细单(已过帐)");
    config.size = QSize(800, 550);
    config.kind = lb::documents::BillKind::SalesReturn;
    config.boxes = postedBoxes(QStringLiteral("客户号"), QStringLiteral("客户名"), {packsBox, boxesBox, quantityBox, paperNoBox});
    config.columns = readOnlyColumns(salesReturnEntryForm().columns);
    config.specColumn = 2;
    config.toolButtons = {reverseLook, unbookLook, voidLook, viewPrintLook, backLook};
    config.popupItems = viewPopup();
    return config;
}

PostedViewConfig DocumentCatalog::purchaseReturnPostedView()
{
    PostedViewConfig config = salesReturnPostedView();
    config.key = QStringLiteral("Tfrfinbackdetail");
    config.caption = QStringLiteral("进货退货明细单(已过帐)");
    config.kind = lb::documents::BillKind::PurchaseReturn;
    config.boxes = postedBoxes(QStringLiteral("供应商号"), QStringLiteral("供应商名"),
                               {packsBox, boxesBox, quantityBox, deductionBox, paperNoBox});
    config.columns = readOnlyColumns(purchaseReturnEntryForm().columns);
    config.specColumn = -1;
    return config;
}

PostedViewConfig DocumentCatalog::orderPostedView()
{
    PostedViewConfig config;
    config.key = QStringLiteral("Tfrfdhdetail");
    config.caption = QStringLiteral("订货明细单(已过帐)");
    config.size = QSize(800, 550);
    config.kind = lb::documents::BillKind::PurchaseOrder;
    config.boxes = postedBoxes(QStringLiteral("供应商号"), QStringLiteral("供应商名"),
                               {accountBox, packsBox, paidBox, quantityBox, deductionBox});
    config.columns = readOnlyColumns(orderEntryForm().columns);
    // An order is never reversed: its view discards (deletes) it or copies it.
    config.toolButtons = {{"ToolButton6", QStringLiteral(" 废弃 "), QString(), QStringLiteral("discard")},
                          {"ToolButton1", QStringLiteral("转抄"), QString(), QStringLiteral("ToolButton3")},
                          {"ToolButton5", QStringLiteral("打印"), QStringLiteral("打印")}, backLook};
    config.popupItems = viewPopup();
    config.noListForCopy = QStringLiteral("没有打开订货单据,不能转抄！");
    return config;
}

QStringList DocumentCatalog::postedViewKeys()
{
    QStringList keys;
    for (const DocumentListConfig& list : lists())
        keys << list.postedView.key;
    return keys;
}

PostedViewConfig DocumentCatalog::postedView(const QString& key)
{
    for (const DocumentListConfig& list : lists())
        if (list.postedView.key == key)
            return list.postedView;
    throw lb::Error(QStringLiteral("No posted view '%1'").arg(key));
}

std::vector<DocumentListConfig> DocumentCatalog::lists()
{
    using lb::documents::BillKind;
    const QString customerNo = QStringLiteral("客户号");
    const QString customerName = QStringLiteral("客户名");
    const QString supplierNo = QStringLiteral("供应商号");
    const QString supplierName = QStringLiteral("供应商名");
    std::vector<DocumentListConfig> lists{salesList()};
    // The lists of the other kinds have four blank buttons before their commands.
    auto add = [&](const char* key, const QString& caption, BillKind kind, bool customers, EntryFormConfig entry,
                   PostedViewConfig view) {
        DocumentListConfig config = kindList(key, caption, kind, customers ? customerNo : supplierNo, customers ? customerName : supplierName);
        config.spacers = 4;
        config.entryForm = std::move(entry);
        config.postedView = std::move(view);
        lists.push_back(std::move(config));
    };
    add("Tfrgetlist", QStringLiteral("收款单据"), BillKind::Receipt, true, receiptEntryForm(), receiptPostedView());
    add("Tfrinlist", QStringLiteral("进货单据"), BillKind::Purchase, false, purchaseEntryForm(), purchasePostedView());
    add("Tfrinbacklist", QStringLiteral("进货退货单据"), BillKind::PurchaseReturn, false, purchaseReturnEntryForm(),
        purchaseReturnPostedView());
    add("Tfroutbacklist", QStringLiteral("销售退货单据"), BillKind::SalesReturn, true, salesReturnEntryForm(), salesReturnPostedView());
    add("Tfrputlist", QStringLiteral("查询付款单"), BillKind::Payment, false, paymentEntryForm(), paymentPostedView());
    add("Tfrdhlist", QStringLiteral("订货单据"), BillKind::PurchaseOrder, false, orderEntryForm(), orderPostedView());
    return lists;
}
