// The configuration of every document window, by its class name.
#include "documents/DocumentCatalog.h"

EntryFormConfig DocumentCatalog::salesEntryForm()
{
    EntryFormConfig config;
    config.key = QStringLiteral("Tfroutdetail");
    config.caption = QStringLiteral("销售明细单(打印纸张大小设置,请参考说明书或与提供商联系)");
    config.size = QSize(800, 552);
    config.kind = lb::documents::BillKind::Sales;
    config.boxes = {
        {"Edit1", QStringLiteral("单号"), "intno", BoxStyle::ReadOnly},
        {"Edit2", QStringLiteral("客户号"), "customerid", BoxStyle::Text, QStringLiteral("双击进入客户表选取")},
        {"Edit3", QStringLiteral("客户名"), "customername"},
        {"Edit4", QStringLiteral("联系人"), "persondeal"},
        {"Edit16", QStringLiteral("负责人"), "employeename", BoxStyle::Text, QStringLiteral("双击进入员工表")},
        {"Edit6", QStringLiteral("日期"), "billdate", BoxStyle::ReadOnly, QStringLiteral("双击某列可选取")},
        {"Edit10", QStringLiteral("银行编号"), "bankid", BoxStyle::Text, QStringLiteral("双击进入银行表")},
        {"Edit7", QStringLiteral("上期结余"), "balance", BoxStyle::Money},
        {"Edit9", QStringLiteral("摘要"), "remark"},
        {"Memo1", QStringLiteral("备注"), "remark1", BoxStyle::Memo},
        {"Edit5", QStringLiteral("金额合计"), "amount", BoxStyle::Money},
        {"Edit15", QStringLiteral("扣除金额"), "deduck", BoxStyle::Money},
        {"Edit13", QStringLiteral("收款合计"), "pay", BoxStyle::Money},
        {"Edit8", QStringLiteral("累计结余"), "rest", BoxStyle::Money},
        {"Edit14", QStringLiteral("合计数量"), "hjsl", BoxStyle::Quantity},
        {"Edit11", QStringLiteral("合计件数"), "hjjs", BoxStyle::Quantity, QString(), false},
    };
    config.codeBoxHint = QStringLiteral("输入代码后按回车键则自动录入商品,单价为超市价");
    config.historyBoxHint = QStringLiteral("输入单号后按回车取回历史单");
    const QColor red(Qt::red);
    config.columns = {
        {"sphh", QStringLiteral("货品代码"), 80, true, true},
        {"spmc", QStringLiteral("货品名称"), 150, true, true},
        {"spgg", QStringLiteral("规格型号"), 80, true, true},
        {"unit", QStringLiteral("单位"), 40, true, true},
        {"sl", QStringLiteral("数量"), 60},
        {"dj_n", QStringLiteral("单价"), 70},
        {"amount", QStringLiteral("金额"), 80, true, true},
        {"deduck", QStringLiteral("扣除金额"), 70},
        {"pay", QStringLiteral("收款金额"), 70},
        {"rest", QStringLiteral("累计结余"), 80, true, true},
        {"remark", QStringLiteral("备注"), 100, true, false, red},
    };
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
    config.customerPrices = true;
    config.statusPanels = {QStringLiteral("商品明细表中的第一行为上期结转行,不能删除或输入商品,否则该单应作废。"),
                           QStringLiteral("单击“新增或删除”按钮,则可在明细表中增加或删除商品。")};
    return config;
}
