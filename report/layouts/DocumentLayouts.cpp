// The printed documents: sales, purchase, receipt, payment, both returns and the purchase order.
#include "core/Tfrdm.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "report/TRpDBText.h"
#include "report/TRpExpr.h"
#include "report/TRpLabel.h"
#include "report/TRpReport.h"
#include "report/layouts/LayoutBuilder.h"
#include "report/layouts/LayoutCatalog_p.h"

#include <vector>

namespace lb::layouts {

using namespace lb::report;

namespace {

// A caption of the summary band and the header field it names.
struct Total {
    const char* caption;
    double left;
    const char* field;
};

// A document layout on A4 with 10 mm margins: the heading, the company's address, the party
// and the document's number, date and pages, a ruled list of lines, the totals, the operator,
// the signatures and the company's telephone.
struct DocumentSpec {
    const char* party;             // "供应商名:"
    double firstRow = 13.2;        // tops of the page header's two rows of the party
    double secondRow = 17.7;
    double headingSize = 16;
    double addressSize = 12;
    std::vector<Column> columns;   // headings at headingLeft, fields at left
    std::vector<double> rules;     // vertical rules between the columns
    std::vector<Total> totals;     // the summary's first row
    std::vector<std::pair<const char*, double>> signatures;
};

// The sales, purchase and receipt documents are previewed without thumbnails and search.
void withoutThumbsAndSearch(TRpReport& report)
{
    report.PrevShowThumbs = false;
    report.PrevShowSearch = false;
}

// The header fields print from the current document, the lines from the line dataset.
void documentHeader(LayoutBuilder& b, TRpCustomBand* header, const DocumentSpec& spec)
{
    db::DataSet* document = frdm->AQoutlist;
    b.text(header, QStringLiteral("销售单"), {2.1, 0.8, 185.2, C, spec.headingSize, true}, QStringLiteral("RpLabel15"));
    b.field(header, frdm->ATcompany, QStringLiteral("addr"), {2.6, 7.4, 181.8, C, spec.addressSize});
    b.captioned(header, QString::fromUtf8(spec.party), 2.6, spec.firstRow, document, QStringLiteral("customername"));
    b.captioned(header, QStringLiteral("联系电话:"), 48.7, spec.firstRow, document, QStringLiteral("tel"));
    b.captioned(header, QStringLiteral("单号:"), 136.5, spec.firstRow, document, QStringLiteral("intno"));
    b.text(header, QStringLiteral("第"), {169.1, spec.firstRow});
    b.pageNumber(header, {173.0, spec.firstRow, 6.9, C});
    b.text(header, QStringLiteral("页"), {180.4, spec.firstRow});
    b.captioned(header, QStringLiteral("联系地址:"), 2.6, spec.secondRow, document, QStringLiteral("addr"));
    b.captioned(header, QStringLiteral("日期:"), 136.5, spec.secondRow, document, QStringLiteral("billdate"));
    b.text(header, QStringLiteral("共  1 页"), {169.3, spec.secondRow}, QStringLiteral("RpLabel22"));
}

void document(TRpReport& report, const DocumentSpec& spec)
{
    LayoutBuilder b(report);
    b.page(10, 10, 10, 10);
    report.Options.LastPageFooter = false;
    report.SetDataSet(frdm->AQoutdetail);
    report.AddDataSet(frdm->AQoutlist);
    report.AddDataSet(frdm->ATcompany);
    db::DataSet* document = frdm->AQoutlist;

    documentHeader(b, b.band(rbPageHeader, 22.0), spec);

    TRpCustomBand* columns = b.band(rbColumnHeader, 5.6);
    TRpCustomBand* detail = b.band(rbDetail, 5.6);
    LayoutBuilder::frame(columns, true, true, false, false);
    LayoutBuilder::frame(detail, true, true, false, false);
    b.hrule(columns, 0, 0, 190.0);
    b.hrule(columns, 5.3, 0, 190.0);
    b.hrule(detail, 5.0, 0, 190.0);
    b.columns(columns, detail, frdm->AQoutdetail, spec.columns, 1.0, 0.8);
    b.rules({columns, detail}, spec.rules);

    TRpCustomBand* summary = b.band(rbSummary, 15.9);
    for (const Total& total : spec.totals)
        b.captioned(summary, QString::fromUtf8(total.caption), total.left, 1.6, document, QString::fromLatin1(total.field));
    b.text(summary, QStringLiteral("制表人:"), {0.8, 8.4});
    b.text(summary, QString(), {13.8, 8.4}, QStringLiteral("RpLabel25"));
    for (const auto& [caption, left] : spec.signatures)
        b.text(summary, QString::fromUtf8(caption), {left, 8.4});
    b.field(summary, frdm->ATcompany, QStringLiteral("tel"), {72.0, 8.4, 116.7, R});
}

Column line(const char* heading, double headingLeft, const char* field, double left, double width, TRpAlignment align)
{
    return Column(QString::fromUtf8(heading), QString::fromLatin1(field), left, width, align).headingAt(headingLeft);
}

// Receipts and payments list accounts: the money, its write-off and the running balance.
DocumentSpec accountDocument(const char* party, const char* signature)
{
    DocumentSpec spec;
    spec.party = party;
    spec.firstRow = 13.5;
    spec.secondRow = 18.0;
    spec.columns = {line("银行编号", 6.3, "sphh", 2.1, 25.7, L), line("银行名称", 36.0, "spmc", 29.1, 55.8, L),
                    line("金额", 95.2, "amount", 91.0, 21.2, R), line("扣除金额", 124.6, "deduck", 122.8, 19.3, R),
                    line("累计结余", 155.8, "rest", 154.5, 21.4, R)};
    spec.rules = {28.3, 85.2, 115.6, 147.4};
    spec.totals = {{"上期余额:", 0.8, "balance"}, {"本次金额:", 72.8, "amount"}, {"扣除金额:", 111.9, "deduck"},
                   {"结余:", 158.8, "rest"}};
    spec.signatures = {{signature, 41.0}};
    return spec;
}

} // namespace

void salesDocument(TRpReport& report)
{
    LayoutBuilder b(report);
    b.page(10, 10, 13, 10);
    report.SetPreviewSize(900, 680);
    withoutThumbsAndSearch(report);
    report.SetDataSet(frdm->AQoutdetail);
    report.AddDataSet(frdm->AQoutlist);
    report.AddDataSet(frdm->ATcompany);
    db::DataSet* document = frdm->AQoutlist;
    const double width = 187.1;

    TRpCustomBand* header = b.band(rbPageHeader, 26.2);
    b.text(header, QStringLiteral("销售单"), {0.5, 4.5, 186.0, C, 16, true}, QStringLiteral("RpLabel15"));
    b.field(header, frdm->ATcompany, QStringLiteral("addr"), {2.6, 11.1, 181.8, C, 12});
    b.text(header, QStringLiteral("顾客名称:"), {1.3, 17.2});
    b.field(header, document, QStringLiteral("customername"), {17.2, 17.2, 60.1});
    b.text(header, QStringLiteral("单号:"), {140.5, 17.2});
    b.field(header, document, QStringLiteral("intno"), {150.0, 17.2, 19.6});
    b.text(header, QStringLiteral("第"), {170.4, 17.2});
    b.pageNumber(header, {174.6, 17.2, 5.8, R});
    b.text(header, QStringLiteral("页"), {181.5, 17.2});
    b.text(header, QStringLiteral("联系地址:"), {1.3, 21.8});
    b.field(header, document, QStringLiteral("addr"), {17.2, 21.8, 59.8});
    b.text(header, QStringLiteral("联系电话:"), {78.3, 21.8});
    b.field(header, document, QStringLiteral("tel"), {94.7, 21.8, 45.2});
    b.text(header, QStringLiteral("日期:"), {140.5, 21.8});
    b.field(header, document, QStringLiteral("billdate"), {150.0, 21.8, 19.6});
    b.text(header, QStringLiteral("共"), {170.7, 21.8});
    b.text(header, QStringLiteral("1"), {174.6, 21.8, 5.8, R}, QStringLiteral("RpLabel22"));
    b.text(header, QStringLiteral("页"), {181.5, 21.8});

    TRpCustomBand* columns = b.band(rbColumnHeader, 5.6);
    TRpCustomBand* detail = b.band(rbDetail, 5.6);
    LayoutBuilder::frame(columns, true, true, false, false);
    LayoutBuilder::frame(detail, true, true, false, false);
    b.hrule(columns, 0, 0, width);
    b.hrule(columns, 5.3, 0, width);
    b.hrule(detail, 5.0, 0, width);
    b.text(columns, QStringLiteral("行号"), {2.1, 1.3});
    b.lineNumber(detail, {1.6, 0.8, 7.7, C});
    b.columns(columns, detail, frdm->AQoutdetail,
              {line("货品代码", 12.4, "sphh", 10.8, 16.7, L), line("货品名称", 58.5, "spmc", 30.2, 69.6, L),
               line("单位", 102.4, "unit", 102.1, 7.7, C), line("数量", 114.6, "sl", 112.2, 13.0, R),
               line("单价", 132.3, "dj_n", 128.3, 14.6, R), line("金额", 154.0, "amount", 146.3, 20.1, R),
               line("备注", 172.2, "remark", 167.7, 18.3, L)},
              1.3, 0.8);
    b.rules({columns, detail}, {9.8, 28.3, 100.5, 111.1, 127.0, 145.5, 166.7});

    TRpCustomBand* summary = b.band(rbSummary, 22.5);
    const Total totals[] = {{"上期余额:", 0.3, "balance"}, {"合计数量:", 34.7, "hjsl"}, {"本次金额:", 62.4, "amount"},
                            {"扣除金额:", 95.8, "deduck"}, {"本次收款:", 128.1, "pay"}, {"结余:", 159.8, "rest"}};
    const double valueLefts[] = {16.9, 51.1, 79.1, 111.9, 144.2, 169.3};
    const double valueWidths[] = {17.5, 11.0, 16.3, 15.9, 15.3, 17.5};
    for (int i = 0; i < 6; ++i) {
        b.text(summary, QString::fromUtf8(totals[i].caption), {totals[i].left, 0.8});
        b.field(summary, document, QString::fromLatin1(totals[i].field), {valueLefts[i], 0.8, valueWidths[i]});
    }
    b.text(summary, QStringLiteral("制表人:"), {0.3, 5.6});
    b.text(summary, QString(), {13.2, 5.6}, QStringLiteral("RpLabel25"));
    b.text(summary, QStringLiteral("开单员："), {35.2, 5.6});
    b.text(summary, QStringLiteral("配货人："), {64.8, 5.6});
    b.field(summary, frdm->ATcompany, QStringLiteral("tel"), {97.4, 5.6, 88.9});
    // The note grows the band with its lines.
    TRpDBText* note = b.field(summary, document, QStringLiteral("remark1"), {0.3, 10.6, 186.0});
    note->WordWrap = true;
    note->AutoStretch = true;

    TRpCustomBand* footer = b.band(rbPageFooter, 4.5);
    b.text(footer, QStringLiteral("本页小计:"), {0.8, 0.3});
    TRpExpr* subtotal = b.expression(footer, QStringLiteral("formatnumeric('0.00',SUM(AQoutdetail.amount))"),
                                     {141.0, 0.3, 25.7, R});
    subtotal->ResetAfterPrint = true;
}

void purchaseDocument(TRpReport& report)
{
    DocumentSpec spec;
    spec.party = "供应商名:";
    spec.columns = {line("货品代码", 10.6, "sphh", 2.1, 25.7, L), line("货品名称", 35.7, "spmc", 29.1, 72.0, L),
                    line("单位", 106.1, "unit", 105.8, 8.7, C), line("件数", 120.4, "js", 118.8, 8.7, R),
                    line("数量/件", 133.6, "sl_j", 133.3, 13.0, R), line("单价", 150.8, "dj_w", 150.0, 13.2, R),
                    line("金额", 168.8, "amount", 167.5, 21.2, R)};
    spec.rules = {28.3, 101.9, 115.6, 131.5, 147.4, 165.1};
    spec.totals = {{"上期余额:", 0.8, "balance"}, {"合计件数:", 37.3, "hjjs"}, {"合计数量:", 66.4, "hjsl"},
                   {"本次金额:", 99.2, "amount"}, {"本次付款:", 131.8, "pay"}, {"结余:", 165.1, "rest"}};
    spec.signatures = {{"收货人：", 41.0}};
    document(report, spec);
    withoutThumbsAndSearch(report);
}

void receiptDocument(TRpReport& report)
{
    document(report, accountDocument("顾客名称:", "收款人："));
    withoutThumbsAndSearch(report);
}

void paymentDocument(TRpReport& report)
{
    document(report, accountDocument("供应商名:", "付款人："));
}

void salesReturnDocument(TRpReport& report)
{
    DocumentSpec spec;
    spec.party = "顾客名称:";
    spec.columns = {line("货品代码", 6.3, "sphh", 2.1, 25.7, L), line("货品名称", 40.0, "spmc", 29.1, 48.5, L),
                    line("规格型号", 85.0, "spgg", 79.3, 30.3, L).named(QStringLiteral("RpLabel19")),
                    line("单位", 111.5, "unit", 111.2, 9.8, C), line("数量", 125.6, "sl", 122.4, 16.5, R),
                    line("单价", 145.2, "dj_n", 140.6, 19.2, R), line("金额", 169.0, "amount", 161.6, 27.0, R)};
    spec.rules = {28.3, 78.3, 110.3, 121.7, 139.7, 160.6};
    spec.totals = {{"上期余额:", 0.8, "balance"}, {"合计数量:", 37.3, "hjsl"}, {"本次金额:", 72.8, "amount"},
                   {"扣除金额:", 111.9, "deduck"}, {"结余:", 158.8, "rest"}};
    spec.signatures = {{"收货人：", 41.0}, {"送货人：", 56.5}};
    document(report, spec);
}

void purchaseReturnDocument(TRpReport& report)
{
    DocumentSpec spec;
    spec.party = "供应商名:";
    spec.columns = {line("货品代码", 10.6, "sphh", 2.1, 25.7, L), line("货品名称", 50.0, "spmc", 29.1, 72.0, L),
                    line("单位", 106.1, "unit", 105.8, 8.7, C), line("数量", 122.5, "sl", 116.6, 16.5, R),
                    line("单价", 143.5, "dj_w", 135.6, 20.0, R), line("金额", 170.0, "amount", 159.9, 29.0, R)};
    spec.rules = {28.3, 101.9, 115.6, 134.6, 158.0};
    spec.totals = {{"上期余额:", 0.8, "balance"}, {"合计数量:", 37.3, "hjsl"}, {"本次金额:", 72.8, "amount"},
                   {"结余:", 158.8, "rest"}};
    spec.signatures = {{"退货人：", 41.0}};
    document(report, spec);
}

void purchaseOrderDocument(TRpReport& report)
{
    DocumentSpec spec;
    spec.party = "供应商名:";
    spec.headingSize = 21 * 72.0 / 96;
    spec.addressSize = 16 * 72.0 / 96;
    spec.columns = {line("货品代码", 10.6, "sphh", 2.1, 25.7, L), line("货品名称", 50.0, "spmc", 29.1, 72.0, L),
                    line("单位", 106.1, "unit", 105.8, 8.7, C), line("件数", 121.0, "js", 116.6, 14.0, R),
                    line("数量/件", 136.0, "sl_j", 132.6, 16.0, R), line("备   注", 160.0, "remark", 150.6, 38.4, L)};
    spec.rules = {28.3, 101.9, 115.6, 131.5, 149.6};
    spec.totals = {{"合计数量:", 0.8, "hjsl"}, {"合计件数:", 37.3, "hjjs"}};
    spec.signatures = {{"经手人：", 41.0}};
    document(report, spec);
}

} // namespace lb::layouts
