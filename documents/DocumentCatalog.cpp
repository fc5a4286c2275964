// The configuration of every document window, by its class name.
#include "documents/DocumentCatalog.h"

#include "platform/sys/Errors.h"

#include <iterator>

using lb::masterdata::SearchMatch;

namespace lb::documents {
namespace {

// `config` (empty, or another kind's that this window repeats) as the window of `kind` named
// by its class name `key`, with its caption and size.
template <class Config>
Config window(Config config, const char* key, const QString& caption, QSize size, BillKind kind)
{
    config.key = QString::fromLatin1(key);
    config.caption = caption;
    config.size = size;
    config.kind = kind;
    return config;
}

// The texts the entry forms of products share: the status bar and the pop-up of the forms
// that have one.
const QString productStatus = QStringLiteral("商品明细表中的第一行为上期结转行,不能删除或输入商品,否则该单应作废。");
const QString productAddStatus = QStringLiteral("单击“新增或删除”按钮,则可在明细表中增加或删除商品。");

// Enter through the header of the product forms: from the number to the party, from the party
// to the code box; from the name on to the contact, the date, the summary and the number.
const std::vector<std::pair<QString, QString>> productEnterChain = {
    {"Edit1", "Edit2"}, {"Edit2", "Edit12"}, {"Edit3", "Edit4"}, {"Edit4", "Edit6"}, {"Edit6", "Edit9"}, {"Edit9", "Edit1"}};

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

// The party a header names: the labels of its boxes Edit2 and Edit3, and the hint of the picker
// Edit2 opens in an entry form.
struct PartySide {
    QString numberLabel;
    QString nameLabel;
    QString pickHint;
};
const PartySide customerSide{QStringLiteral("客户号"), QStringLiteral("客户名"), QStringLiteral("双击进入客户表选取")};
const PartySide supplierSide{QStringLiteral("供应商号"), QStringLiteral("供应商名"), QStringLiteral("双击进入供应商表选取")};

// The header boxes that read alike wherever a kind has them, by what they show; the hints are
// those of the pickers an entry form opens from them.
const HeaderBox handlerBox{"Edit16", QStringLiteral("负责人"), "employeename", BoxStyle::Text, QStringLiteral("双击进入员工表")};
const HeaderBox dateBox{"Edit6", QStringLiteral("日期"), "billdate", BoxStyle::ReadOnly, QStringLiteral("双击某列可选取")};
const HeaderBox summaryBox{"Edit9", QStringLiteral("摘要"), "remark"};
const HeaderBox noteBox{"Memo1", QStringLiteral("备注"), "remark1", BoxStyle::Memo, QString(), true, 2};
const HeaderBox accountBox{"Edit10", QStringLiteral("银行编号"), "bankid", BoxStyle::Text, QStringLiteral("双击进入银行表")};
const HeaderBox paperNoBox{"Edit10", QStringLiteral("单据号"), "djh", BoxStyle::Text, QString(), false};
const HeaderBox balanceBox{"Edit7", QStringLiteral("上期结余"), "balance", BoxStyle::Money};
const HeaderBox amountBox{"Edit5", QStringLiteral("金额合计"), "amount", BoxStyle::Money};
const HeaderBox deductionBox{"Edit15", QStringLiteral("扣除金额"), "deduck", BoxStyle::Money};
const HeaderBox receivedBox{"Edit13", QStringLiteral("收款合计"), "pay", BoxStyle::Money};
const HeaderBox paidBox{"Edit13", QStringLiteral("付款合计"), "pay", BoxStyle::Money};
const HeaderBox boxesBox{"Edit13", QStringLiteral("合计箱数"), "hjss", BoxStyle::Quantity};
const HeaderBox restBox{"Edit8", QStringLiteral("累计结余"), "rest", BoxStyle::Money};
const HeaderBox packsBox{"Edit11", QStringLiteral("合计件数"), "hjjs", BoxStyle::Quantity};
const HeaderBox quantityBox{"Edit14", QStringLiteral("合计数量"), "hjsl", BoxStyle::Quantity};

// A box present and kept up to date but not shown; one as wide as two places; one labelled
// otherwise.
HeaderBox hidden(HeaderBox box)
{
    box.visible = false;
    return box;
}

HeaderBox wide(HeaderBox box)
{
    box.span = 2;
    return box;
}

HeaderBox labelled(HeaderBox box, const QString& label)
{
    box.label = label;
    return box;
}

// The header boxes of a document in layout order: 单号, the side's party number and name,
// 联系人, then the kind's `others`.
std::vector<HeaderBox> headerBoxes(const PartySide& side, std::vector<HeaderBox> others)
{
    std::vector<HeaderBox> boxes = {
        {"Edit1", QStringLiteral("单号"), "intno", BoxStyle::ReadOnly},
        {"Edit2", side.numberLabel, "customerid", BoxStyle::Text, side.pickHint},
        {"Edit3", side.nameLabel, "customername"},
        {"Edit4", QStringLiteral("联系人"), "persondeal"},
    };
    boxes.insert(boxes.end(), std::make_move_iterator(others.begin()), std::make_move_iterator(others.end()));
    return boxes;
}

// The header of the kinds whose lines are accounts (receipt, payment).
std::vector<HeaderBox> accountLinesBoxes(const PartySide& side)
{
    return headerBoxes(side, {dateBox, handlerBox, summaryBox, balanceBox, amountBox, deductionBox, restBox, paperNoBox});
}

// Boxes as a posted view shows them: it opens no picker, so they have no hints.
std::vector<HeaderBox> withoutHints(std::vector<HeaderBox> boxes)
{
    for (HeaderBox& box : boxes)
        box.hint.clear();
    return boxes;
}

// The header of a posted view of the kinds other than sales: the boxes all of them show, then
// the kind's `extra` ones.
std::vector<HeaderBox> postedBoxes(const PartySide& side, const std::vector<HeaderBox>& extra)
{
    std::vector<HeaderBox> others = {dateBox, handlerBox, summaryBox, balanceBox, amountBox, restBox};
    others.insert(others.end(), extra.begin(), extra.end());
    return withoutHints(headerBoxes(side, std::move(others)));
}

// The columns that read alike wherever a product form's line grid has them.
const lb::ui::GridColumn codeColumn{"sphh", QStringLiteral("货品代码"), 80, true, true};
const lb::ui::GridColumn nameColumn{"spmc", QStringLiteral("货品名称"), 150, true, true};
const lb::ui::GridColumn specificationColumn{"spgg", QStringLiteral("规格型号"), 80, true, true};
const lb::ui::GridColumn unitColumn{"unit", QStringLiteral("单位"), 40, true, true};
const lb::ui::GridColumn packsColumn{"js", QStringLiteral("件数"), 50};
const lb::ui::GridColumn perPackColumn{"sl_j", QStringLiteral("数量/件"), 60};
const lb::ui::GridColumn quantityColumn{"sl", QStringLiteral("数量"), 60};
const lb::ui::GridColumn derivedQuantityColumn{"sl", QStringLiteral("数量"), 60, true, true}; // packs × quantity per pack
const lb::ui::GridColumn priceColumn{"dj_n", QStringLiteral("单价"), 70};
const lb::ui::GridColumn purchasePriceColumn{"dj_w", QStringLiteral("进货价"), 70};
const lb::ui::GridColumn amountColumn{"amount", QStringLiteral("金额"), 80, true, true};
const lb::ui::GridColumn restColumn{"rest", QStringLiteral("累计结余"), 80, true, true};

// The free text of a line, titled in red.
lb::ui::GridColumn remarkColumn(int width)
{
    return {"remark", QStringLiteral("备注"), width, true, false, QColor(Qt::red)};
}

// A list of one kind's documents: search by number, date and the party's number and name
// (labelled as the side's boxes, also the titles of their columns), and the headers' grid.
DocumentListConfig kindList(const char* key, const QString& caption, BillKind kind, const PartySide& side)
{
    DocumentListConfig config;
    config.key = QString::fromLatin1(key);
    config.caption = caption;
    config.kind = kind;
    config.search.select = QStringLiteral("SELECT * from ") + DocumentKinds::of(kind).headerTable;
    config.search.options = {
        {QStringLiteral("单据号"), "intno", SearchMatch::PaddedEquals, QString(), false, QString()},
        {QStringLiteral("日期"), "billdate", SearchMatch::DateEquals, QString(), false, QString()},
        {side.numberLabel, "customerid", SearchMatch::Equals, QString(), false, QString()},
        {side.nameLabel, "customername", SearchMatch::Contains, QString(), false, QString()},
    };
    config.initialOption = QStringLiteral("日期");
    config.dateOption = QStringLiteral("日期");
    config.columns = {
        {"intno", QStringLiteral("单据号"), 90},
        {"billdate", QStringLiteral("日期"), 90},
        {"customerid", side.numberLabel, 90},
        {"customername", side.nameLabel, 160},
        {"persondeal", QStringLiteral("联系人"), 80},
        {"balance", QStringLiteral("上期结余"), 90},
        {"amount", QStringLiteral("本次金额"), 90},
        {"rest", QStringLiteral("累计结余"), 90},
    };
    return config;
}

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
    auto config = window(EntryFormConfig(), "Tfroutdetail",
                         QStringLiteral("销售明细单(打印纸张大小设置,请参考说明书或与提供商联系)"), QSize(800, 552), BillKind::Sales);
    config.boxes = headerBoxes(customerSide, {handlerBox, dateBox, accountBox, balanceBox, wide(summaryBox), noteBox, amountBox,
                                              deductionBox, receivedBox, restBox, quantityBox, hidden(packsBox)});
    config.codeBoxHint = QStringLiteral("输入代码后按回车键则自动录入商品,单价为批发价");
    config.historyBoxHint = QStringLiteral("输入单号后按回车取回历史单");
    config.columns = {codeColumn, nameColumn, specificationColumn, unitColumn, quantityColumn, priceColumn, amountColumn,
                      {"deduck", QStringLiteral("扣除金额"), 70}, {"pay", QStringLiteral("收款金额"), 70}, restColumn,
                      remarkColumn(100)};
    config.specColumn = 2;
    config.gridHint = QStringLiteral("双击进入商品表,右击进入客户-商品表");
    config.recalcColumns = {4, 5, 7, 8};
    config.newLineColumn = 4;
    config.enterMoves = {{5, 7}, {7, 8}};
    config.nextLineColumn = 8;
    config.firstEntryColumn = 4;
    config.enterChain = productEnterChain;
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
    auto config = window(EntryFormConfig(), "Tfrindetail", QStringLiteral("进货明细单"), QSize(800, 550), BillKind::Purchase);
    config.backReportsUnsaved = true;
    const PartySide supplier{QStringLiteral("供应商号"), QStringLiteral("供货商名"), QStringLiteral("双击进入供应商表选取")};
    config.boxes = headerBoxes(supplier, {handlerBox, dateBox, summaryBox, accountBox, balanceBox,
                                          labelled(amountBox, QStringLiteral("合计金额")), paidBox, restBox, packsBox, quantityBox,
                                          hidden(deductionBox)});
    config.codeBoxHint = QStringLiteral("输入货品代码后按回车键则自动录入商品,单价为默认进货价");
    config.codeEntryByOption = true;
    config.newProductButton = true;
    config.columns = {codeColumn, nameColumn, unitColumn, packsColumn, perPackColumn, derivedQuantityColumn, purchasePriceColumn,
                      amountColumn, {"pay", QStringLiteral("付款金额"), 70}, restColumn, remarkColumn(100)};
    config.gridHint = QStringLiteral("双击可进入商品表选取商品");
    config.recalcColumns = {3, 4, 6, 8};
    config.newLineColumn = 3;
    config.enterMoves = {{4, 6}, {6, 8}};
    config.nextLineColumn = 8;
    config.firstEntryColumn = 3;
    config.enterChain = productEnterChain;
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
    auto config = window(EntryFormConfig(), "Tfrgetdetail", QStringLiteral("收款明细单"), QSize(800, 547), BillKind::Receipt);
    config.boxes = accountLinesBoxes(customerSide);
    config.columns = {
        {"mainintno", QString(), 95, true, true},
        {"sphh", QStringLiteral("银行编号"), 95, true, true},
        {"spmc", QStringLiteral("银行名称"), 150, true, true},
        {"amount", QStringLiteral("金额"), 80},
        {"deduck", QStringLiteral("扣除金额"), 80},
        restColumn,
        remarkColumn(120),
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
    auto config = window(EntryFormConfig(), "Tfroutbackdetail",
                         QStringLiteral("销售退货明细单"), QSize(800, 550), BillKind::SalesReturn);
    config.backReportsUnsaved = true;
    config.boxes = headerBoxes(customerSide, {handlerBox, dateBox, summaryBox, paperNoBox, balanceBox, quantityBox, amountBox, restBox,
                                              hidden(packsBox), hidden(boxesBox)});
    config.codeBoxHint = QStringLiteral("输入货品代码后按回车键则自动录入商品,单价为默认批发价");
    config.columns = {codeColumn, nameColumn, specificationColumn, unitColumn, quantityColumn, priceColumn, amountColumn, restColumn,
                      remarkColumn(100)};
    config.specColumn = 2;
    config.gridHint = QStringLiteral("双击可进入商品表选取商品");
    config.recalcColumns = {4, 5, 7};
    config.newLineColumn = 4;
    config.nextLineColumn = 5;
    config.firstEntryColumn = 4;
    config.codeDownColumn = 2;
    config.enterChain = productEnterChain;
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
    auto config = window(salesReturnEntryForm(), "Tfrinbackdetail",
                         QStringLiteral("进货退货明细单"), QSize(800, 550), BillKind::PurchaseReturn);
    config.boxes = headerBoxes(supplierSide, {handlerBox, dateBox, summaryBox, paperNoBox, balanceBox, quantityBox,
                                              labelled(amountBox, QStringLiteral("合计金额")), restBox, hidden(packsBox),
                                              hidden(boxesBox), hidden(deductionBox)});
    config.codeBoxHint = QStringLiteral("输入货品代码后按回车键则自动录入商品,单价为默认进货价");
    config.columns = {codeColumn, nameColumn, unitColumn, quantityColumn, purchasePriceColumn, amountColumn, restColumn,
                      remarkColumn(100)};
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
    auto config = window(receiptEntryForm(), "Tfrputdetail", QStringLiteral("付款明细单"), QSize(800, 547), BillKind::Payment);
    config.boxes = accountLinesBoxes(supplierSide);
    config.partyList = QStringLiteral("TFrbranch");
    config.deleteAsks = false;
    config.statusPanels = {QStringLiteral("付款明细表中的第一行为上期结转行,不能删除或输入现金银行名,否则该单应作废。"),
                           QStringLiteral("单击“新增或删除”按钮,则在明细表中增加或删除现金银行名。")};
    return config;
}

EntryFormConfig DocumentCatalog::orderEntryForm()
{
    auto config = window(EntryFormConfig(), "Tfrdhdetail",
                         QStringLiteral("订货明细单"), QSize(800, 550), BillKind::PurchaseOrder);
    config.backReportsUnsaved = true;
    const PartySide supplier{QStringLiteral("供应商号"), QStringLiteral("供货商名"), QStringLiteral("双击进入供应商表")};
    config.boxes = headerBoxes(supplier, {dateBox, summaryBox, handlerBox, packsBox, quantityBox,
                                          hidden(labelled(amountBox, QStringLiteral("合计金额"))), hidden(balanceBox), hidden(restBox),
                                          hidden(paidBox), hidden(deductionBox), hidden(accountBox)});
    config.codeBoxHint = QStringLiteral("输入货品代码后按回车键则自动录入商品,单价为默认进货价");
    config.columns = {codeColumn, nameColumn, unitColumn, packsColumn, perPackColumn, derivedQuantityColumn, remarkColumn(150)};
    config.gridHint = QStringLiteral("双击某列可进入下级表");
    config.recalcColumns = {3, 4};
    config.newLineColumn = 3;
    config.enterMoves = {{4, 6}};
    config.nextLineColumn = 6;
    config.firstEntryColumn = 3;
    config.enterChain = productEnterChain;
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
    auto config = window(PostedViewConfig(), "Tfrfoutdetail",
                         QStringLiteral("销售明细单(已过帐)"), QSize(800, 560), BillKind::Sales);
    const EntryFormConfig entry = salesEntryForm();
    config.boxes = withoutHints(entry.boxes);
    config.columns = readOnlyColumns(entry.columns);
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
    DocumentListConfig config = kindList("Tfroutlist", QStringLiteral("销售单据"), BillKind::Sales, customerSide);
    config.entryForm = salesEntryForm();
    config.postedView = salesPostedView();
    return config;
}

PostedViewConfig DocumentCatalog::receiptPostedView()
{
    auto config = window(PostedViewConfig(), "Tfrfgetdetail",
                         QStringLiteral("收款明细单(已过帐)"), QSize(800, 547), BillKind::Receipt);
    config.boxes = postedBoxes(customerSide, {deductionBox, paperNoBox});
    config.columns = readOnlyColumns(receiptEntryForm().columns);
    config.toolButtons = {reverseLook, {"ToolButton5", QStringLiteral("打印"), QStringLiteral("打印")}, backLook};
    config.popupItems = viewPopup();
    return config;
}

PostedViewConfig DocumentCatalog::paymentPostedView()
{
    auto config = window(receiptPostedView(), "Tfrfputdetail",
                         QStringLiteral("付款明细单(已过帐)"), QSize(800, 547), BillKind::Payment);
    config.boxes = postedBoxes(supplierSide, {deductionBox, paperNoBox});
    return config;
}

PostedViewConfig DocumentCatalog::purchasePostedView()
{
    auto config = window(PostedViewConfig(), "Tfrfindetail",
                         QStringLiteral("进货明细单(已过帐)"), QSize(800, 550), BillKind::Purchase);
    config.boxes = postedBoxes(supplierSide, {accountBox, packsBox, paidBox, quantityBox, deductionBox});
    config.columns = readOnlyColumns(purchaseEntryForm().columns);
    config.toolButtons = {reverseLook, unbookLook, voidLook, {"ToolButton3", QStringLiteral("转抄"), QStringLiteral("转抄生成新进货单")},
                          viewPrintLook, backLook};
    config.popupItems = viewPopup();
    config.noListForCopy = QStringLiteral("没有打开进货单据,不能转抄！");
    return config;
}

PostedViewConfig DocumentCatalog::salesReturnPostedView()
{
    auto config = window(PostedViewConfig(), "Tfrfoutbackdetail",
                         QStringLiteral("销售退货明细单(已过帐)"), QSize(800, 550), BillKind::SalesReturn);
    config.boxes = postedBoxes(customerSide, {packsBox, boxesBox, quantityBox, paperNoBox});
    config.columns = readOnlyColumns(salesReturnEntryForm().columns);
    config.specColumn = 2;
    config.toolButtons = {reverseLook, unbookLook, voidLook, viewPrintLook, backLook};
    config.popupItems = viewPopup();
    return config;
}

PostedViewConfig DocumentCatalog::purchaseReturnPostedView()
{
    auto config = window(salesReturnPostedView(), "Tfrfinbackdetail",
                         QStringLiteral("进货退货明细单(已过帐)"), QSize(800, 550), BillKind::PurchaseReturn);
    config.boxes = postedBoxes(supplierSide, {packsBox, boxesBox, quantityBox, deductionBox, paperNoBox});
    config.columns = readOnlyColumns(purchaseReturnEntryForm().columns);
    config.specColumn = -1;
    return config;
}

PostedViewConfig DocumentCatalog::orderPostedView()
{
    auto config = window(PostedViewConfig(), "Tfrfdhdetail",
                         QStringLiteral("订货明细单(已过帐)"), QSize(800, 550), BillKind::PurchaseOrder);
    config.boxes = postedBoxes(supplierSide, {accountBox, packsBox, paidBox, quantityBox, deductionBox});
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
    std::vector<DocumentListConfig> lists{salesList()};
    // The lists of the other kinds have four blank buttons before their commands.
    auto add = [&](const char* key, const QString& caption, BillKind kind, const PartySide& side, EntryFormConfig entry,
                   PostedViewConfig view) {
        DocumentListConfig config = kindList(key, caption, kind, side);
        config.spacers = 4;
        config.entryForm = std::move(entry);
        config.postedView = std::move(view);
        lists.push_back(std::move(config));
    };
    add("Tfrgetlist", QStringLiteral("收款单据"), BillKind::Receipt, customerSide, receiptEntryForm(), receiptPostedView());
    add("Tfrinlist", QStringLiteral("进货单据"), BillKind::Purchase, supplierSide, purchaseEntryForm(), purchasePostedView());
    add("Tfrinbacklist", QStringLiteral("进货退货单据"), BillKind::PurchaseReturn, supplierSide, purchaseReturnEntryForm(),
        purchaseReturnPostedView());
    add("Tfroutbacklist", QStringLiteral("销售退货单据"), BillKind::SalesReturn, customerSide, salesReturnEntryForm(),
        salesReturnPostedView());
    add("Tfrputlist", QStringLiteral("查询付款单"), BillKind::Payment, supplierSide, paymentEntryForm(), paymentPostedView());
    add("Tfrdhlist", QStringLiteral("订货单据"), BillKind::PurchaseOrder, supplierSide, orderEntryForm(), orderPostedView());
    return lists;
}

} // namespace lb::documents
