// The printed summaries of the document kinds, the running balances, statements and journal.
#include "core/Tfrdm.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "report/TRpReport.h"
#include "report/layouts/LayoutBuilder.h"
#include "report/layouts/LayoutCatalog_p.h"

#include <vector>

namespace lb::layouts {

using namespace lb::report;

namespace {

Column col(const char* heading, const char* field, double left, double width, TRpAlignment align,
           const char* headingName = "")
{
    return Column(QString::fromUtf8(heading), QString::fromLatin1(field), left, width, align)
        .named(QString::fromLatin1(headingName));
}

// A total of the sums row (totallist) printed under the column of the list that holds `under`.
struct Sum {
    const char* field;
    const char* under;
};

struct KindSummarySpec {
    double headerHeight = 24;
    double headingSize = 20;
    double rightMargin = 10;
    bool lineOverSummary = false;
    std::vector<Column> columns;
    std::vector<Sum> sums;
    bool grossProfit = false;    // the sales summary's "毛利润：" with the sums row's rest
};

const Column& columnOf(const std::vector<Column>& columns, const char* field)
{
    for (const Column& column : columns) {
        if (column.field == QLatin1String(field))
            return column;
    }
    return columns.back();
}

// "第", the page number and "页".
void pageOf(LayoutBuilder& b, TRpCustomBand* band, double left, double top)
{
    b.text(band, QStringLiteral("第"), {left, top});
    b.pageNumber(band, {left + 4, top, 8, C});
    b.text(band, QStringLiteral("页"), {left + 13, top});
}

// The summaries of a document kind: the company and the report's name, the period, the date
// of printing, the period's lines and the sums row.
void kindSummary(TRpReport& report, const KindSummarySpec& spec)
{
    LayoutBuilder b(report);
    b.page(10, 10, 10, spec.rightMargin);
    report.SetDataSet(frdm->AQoutdetail);
    report.AddDataSet(frdm->AQtotallist);

    TRpCustomBand* header = b.band(rbPageHeader, spec.headerHeight);
    LayoutBuilder::frame(header, false, false, false, true);
    b.text(header, QString(), {2, 7, 186, C, spec.headingSize, true}, QStringLiteral("RpLabel15"));
    const double row = spec.headerHeight - 6;
    b.text(header, QString(), {2, row}, QStringLiteral("RpLabel7"));
    b.text(header, QStringLiteral("打印日期:"), {150, row});
    b.printDate(header, {167, row});

    b.ruledList(frdm->AQoutdetail, spec.columns, 6.6, 6.4, 1.2, 1.1);

    TRpCustomBand* summary = b.band(rbSummary, 7.4);
    LayoutBuilder::frame(summary, false, false, spec.lineOverSummary, false);
    b.text(summary, QStringLiteral("合计："), {8.5, 1.5});
    for (const Sum& sum : spec.sums) {
        const Column& under = columnOf(spec.columns, sum.under);
        b.field(summary, frdm->AQtotallist, QString::fromLatin1(sum.field), {under.left, 1.5, under.width, R});
    }
    if (spec.grossProfit) {
        b.text(summary, QStringLiteral("毛利润："), {42.3, 1.5});
        b.field(summary, frdm->AQtotallist, QStringLiteral("rest"), {57.1, 1.5, 17.2, R});
    }

    pageOf(b, b.band(rbPageFooter, 9.3), 7, 2.9);
}

// The page header of the landscape lists of one partner: the company, the report's name, the
// partner's code, name and telephone as the run found them, and the date of printing.
void partnerHeader(LayoutBuilder& b, const QString& title, const char* codeCaption, const char* nameCaption)
{
    TRpCustomBand* header = b.band(rbPageHeader, 26);
    LayoutBuilder::frame(header, false, false, false, true);
    b.field(header, frdm->ATcompany, QStringLiteral("name"), {0, 1.5, 277, C, 20, true});
    b.text(header, title, {0, 11, 277, C, 14, true});
    b.text(header, QString::fromUtf8(codeCaption), {2, 19.5});
    b.text(header, QString(), {20, 19.5}, QStringLiteral("PartyId"));
    b.text(header, QString::fromUtf8(nameCaption), {60, 19.5});
    b.text(header, QString(), {80, 19.5}, QStringLiteral("PartyName"));
    b.text(header, QStringLiteral("电话:"), {160, 19.5});
    b.text(header, QString(), {172, 19.5}, QStringLiteral("PartyTel"));
    b.text(header, QStringLiteral("打印日期:"), {225, 19.5});
    b.printDate(header, {242, 19.5});
}

// The running balances and statements of one partner: a landscape ruled list, the balance at
// its end under the balance column with the partner's note, and the page number.
void partnerList(TRpReport& report, db::DataSet* rows, const QString& title, const char* codeCaption,
                 const char* nameCaption, const std::vector<Column>& columns)
{
    LayoutBuilder b(report);
    b.page(10, 10, 10, 10, true);
    report.DocumentTitle = title;
    report.SetDataSet(rows);
    report.AddDataSet(frdm->ATcompany);
    partnerHeader(b, title, codeCaption, nameCaption);
    b.ruledList(rows, columns, 6.6, 6.4, 1.2, 1.1);

    TRpCustomBand* summary = b.band(rbSummary, 13);
    LayoutBuilder::frame(summary, false, false, true, false);
    const Column& balance = columns.back();
    b.text(summary, QStringLiteral("总计："), {balance.left - 14, 1.5});
    b.field(summary, rows, QStringLiteral("rest"), {balance.left, 1.5, balance.width, R});
    b.text(summary, QStringLiteral("备注："), {2, 7});
    b.text(summary, QString(), {14, 7}, QStringLiteral("PartyRemark"));

    pageOf(b, b.band(rbPageFooter, 8), 128, 2);
}

} // namespace

void salesSummary(TRpReport& report)
{
    KindSummarySpec spec;
    spec.headerHeight = 26;
    spec.columns = {col("日期", "billdate", 1.1, 19.3, L), col("单据名", "billname", 22.5, 17.2, L),
                    col("货品代码", "sphh", 41.5, 21.4, L), col("货品名称", "spmc", 65.1, 41.0, L),
                    col("单位", "unit", 108.0, 8.7, L), col("数量", "sl", 118.8, 8.5, R),
                    col("单价", "dj_n", 129.1, 13.0, R), col("金额", "amount", 145.0, 14.0, R),
                    col("扣除金额", "deduck", 161.1, 12.7, R), col("收款金额", "pay", 175.9, 12.7, R)};
    spec.sums = {{"hjsl", "sl"}, {"amount", "amount"}, {"deduck", "deduck"}, {"pay", "pay"}};
    spec.grossProfit = true;
    kindSummary(report, spec);
}

void salesReturnSummary(TRpReport& report)
{
    KindSummarySpec spec;
    spec.rightMargin = 8;
    spec.lineOverSummary = true;
    spec.columns = {col("日期", "billdate", 1.3, 19.3, L), col("单据名", "billname", 22.5, 17.2, L),
                    col("货品代码", "sphh", 41.5, 24.3, L), col("货品名称", "spmc", 68.3, 44.2, L),
                    col("规格型号", "spgg", 114.0, 23.8, L, "RpLabel16"), col("单位", "unit", 140.2, 10.3, L),
                    col("数量", "sl", 153.5, 8.2, R), col("单价", "dj_n", 163.8, 12.7, R),
                    col("金额", "amount", 177.8, 13.0, R)};
    spec.sums = {{"rest", "sl"}, {"amount", "amount"}};
    kindSummary(report, spec);
}

void purchaseSummary(TRpReport& report)
{
    KindSummarySpec spec;
    spec.lineOverSummary = true;
    spec.columns = {col("日期", "billdate", 1.1, 19.3, L), col("单据名", "billname", 22.8, 15.1, L),
                    col("货号", "sphh", 41.3, 27.5, L), col("品名", "spmc", 71.2, 47.6, L),
                    col("件数", "js", 123.3, 12.4, R), col("数量", "sl", 138.6, 11.9, R),
                    col("单价", "dj_w", 156.4, 11.1, R), col("金额", "amount", 172.2, 16.1, R)};
    spec.sums = {{"hjjs", "js"}, {"hjsl", "sl"}, {"amount", "amount"}};
    kindSummary(report, spec);
}

void purchaseReturnSummary(TRpReport& report)
{
    KindSummarySpec spec;
    spec.lineOverSummary = true;
    spec.columns = {col("日期", "billdate", 0.8, 19.3, L), col("单据名", "billname", 22.8, 15.6, L),
                    col("货号", "sphh", 41.0, 27.0, L), col("品名", "spmc", 70.9, 47.9, L),
                    col("数量", "sl", 124.6, 11.1, R), col("单价", "dj_w", 138.6, 14.0, R),
                    col("金额", "amount", 161.9, 24.6, R)};
    spec.sums = {{"rest", "sl"}, {"amount", "amount"}};
    kindSummary(report, spec);
}

void receiptSummary(TRpReport& report)
{
    KindSummarySpec spec;
    spec.columns = {col("日期", "billdate", 1.6, 26.2, L), col("单据号", "mainintno", 29.6, 25.7, L),
                    col("银行编号", "sphh", 57.4, 26.2, L), col("银行名称", "spmc", 86.8, 50.0, L),
                    col("金额", "amount", 138.6, 18.3, R), col("扣除金额", "deduck", 161.9, 20.4, R)};
    spec.sums = {{"amount", "amount"}, {"deduck", "deduck"}};
    kindSummary(report, spec);
}

void paymentSummary(TRpReport& report)
{
    KindSummarySpec spec;
    spec.headerHeight = 22;
    spec.headingSize = 22;
    spec.columns = {col("日期", "billdate", 1.6, 22.5, L), col("单据号", "mainintno", 27.3, 26.7, L),
                    col("银行编号", "sphh", 56.9, 25.9, L), col("银行名称", "spmc", 86.8, 49.7, L),
                    col("金额", "amount", 138.9, 18.3, R), col("扣除金额", "deduck", 164.0, 20.4, R)};
    spec.sums = {{"amount", "amount"}, {"deduck", "deduck"}};
    kindSummary(report, spec);
}

void customerBalances(TRpReport& report)
{
    partnerList(report, frdm->AQoutdetail, QStringLiteral("客户汇总表"), "客户号:", "客户名称:",
                {col("日期", "billdate", 1, 20, L), col("单据名", "billname", 23, 20, L),
                 col("货品代码", "sphh", 45, 25, L), col("货品名称", "spmc", 72, 55, L),
                 col("规格型号", "spgg", 129, 30, L, "RpLabel16"), col("单位", "unit", 161, 12, L),
                 col("单价", "dj_n", 175, 18, R), col("数量", "sl", 195, 16, R), col("金额", "amount", 213, 20, R),
                 col("扣除金额", "deduck", 235, 18, R), col("累计结余", "rest", 255, 21, R)});
}

void supplierBalances(TRpReport& report)
{
    partnerList(report, frdm->AQoutdetail, QStringLiteral("供应商汇总表"), "供应商号:", "供应商名称:",
                {col("日期", "billdate", 1, 20, L), col("单据名", "billname", 23, 18, L),
                 col("货品代码", "sphh", 43, 24, L), col("货品名称", "spmc", 69, 50, L),
                 col("单位", "unit", 121, 11, L), col("件数", "js", 134, 12, R), col("数量/件", "sl_j", 148, 13, R),
                 col("数量", "sl", 163, 14, R), col("进货价", "dj_w", 179, 16, R), col("金额", "amount", 197, 19, R),
                 col("扣除金额", "deduck", 218, 17, R), col("付款金额", "pay", 237, 18, R),
                 col("累计结余", "rest", 257, 19, R)});
}

void customerStatement(TRpReport& report)
{
    partnerList(report, frdm->AQoutlist, QStringLiteral("客户对帐表"), "客户号:", "客户名称:",
                {col("日期", "billdate", 1, 20, L), col("单据号", "intno", 23, 22, L),
                 col("单据名称", "billname", 47, 22, L), col("摘     要", "remark", 71, 60, L),
                 col("上期结转", "balance", 133, 22, R), col("数量", "hjsl", 157, 16, R),
                 col("金额", "amount", 175, 22, R), col("扣除金额", "deduck", 199, 22, R),
                 col("收款金额", "pay", 223, 22, R), col("累计结余", "rest", 247, 29, R)});
}

void supplierStatement(TRpReport& report)
{
    partnerList(report, frdm->AQoutlist, QStringLiteral("供应商对帐表"), "供应商号:", "供应商名:",
                {col("日期", "billdate", 1, 20, L), col("单据号", "intno", 23, 22, L),
                 col("单据名称", "billname", 47, 22, L), col("摘     要", "remark", 71, 60, L),
                 col("上期结转", "balance", 133, 22, R), col("件数", "hjjs", 157, 16, R),
                 col("数量", "hjsl", 175, 20, R), col("金额", "amount", 197, 24, R),
                 col("付款金额", "pay", 223, 22, R), col("累计结余", "rest", 247, 29, R)});
}

void cashJournal(TRpReport& report)
{
    LayoutBuilder b(report);
    b.page(10, 10, 10, 10);
    report.DocumentTitle = QStringLiteral("现金流水帐");
    report.SetDataSet(frdm->AQoutdetail);
    report.AddDataSet(frdm->ATcompany);

    TRpCustomBand* header = b.band(rbPageHeader, 34);
    LayoutBuilder::frame(header, false, false, false, true);
    b.field(header, frdm->ATcompany, QStringLiteral("name"), {0, 1.5, 190, C, 20, true});
    b.field(header, frdm->ATcompany, QStringLiteral("addr"), {0, 11, 190, C});
    b.field(header, frdm->ATcompany, QStringLiteral("tel"), {0, 15.5, 190, C});
    b.text(header, QStringLiteral("现金流水帐"), {0, 20.5, 190, C, 14, true});
    b.text(header, QStringLiteral("打印日期:"), {2, 28.5});
    b.printDate(header, {19, 28.5});
    pageOf(b, header, 165, 28.5);

    const std::vector<Column> columns = {
        col("日期", "billdate", 1, 22, L),  col("单据名", "billname", 25, 22, L), col("银行编号", "sphh", 49, 25, L),
        col("银行名称", "spmc", 76, 40, L), col("收款金额", "amount", 118, 22, L), col("付款金额", "pay", 142, 22, L),
        col("累计余额", "rest", 166, 23, L)};
    b.ruledList(frdm->AQoutdetail, columns, 6.6, 6.4, 1.2, 1.1);
    TRpCustomBand* summary = b.band(rbSummary, 7.4);
    b.field(summary, frdm->AQoutdetail, QStringLiteral("rest"), {columns.back().left, 1.5, columns.back().width});
}

} // namespace lb::layouts
