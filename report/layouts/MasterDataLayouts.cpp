// The printed lists of products, customers and suppliers.
#include "core/Tfrdm.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "report/TRpLabel.h"
#include "report/TRpReport.h"
#include "report/TRpSysData.h"
#include "report/layouts/LayoutBuilder.h"
#include "report/layouts/LayoutCatalog_p.h"

namespace lb::layouts {

using namespace lb::report;

namespace {

const QString heading = QStringLiteral("楷体_GB2312");

// The three products of one band of the three-across list: the labels of each slot (code,
// name, price, remark), left and width in millimetres.
struct Slot {
    const char* names[4];
    double lefts[4];
    double widths[4];
};

const Slot acrossSlots[3] = {
    {{"RpLabel10", "RpLabel11", "RpLabel12", "RpLabel13"}, {1.1, 19.1, 49.7, 61.9}, {16.1, 27.8, 8.7, 6.6}},
    {{"RpLabel14", "RpLabel15", "RpLabel16", "RpLabel17"}, {70.6, 90.2, 120.9, 131.8}, {16.9, 28.6, 9.3, 6.6}},
    {{"RpLabel18", "RpLabel19", "RpLabel20", "RpLabel21"}, {139.7, 157.2, 184.9, 194.7}, {16.4, 26.5, 8.2, 5.8}},
};

// The customer and supplier lists: one layout with the party's words.
void partyList(TRpReport& report, db::DataSet* parties, const QString& title, const QString& nameHeading,
               const QString& restHeading, const QString& balanceHeading)
{
    LayoutBuilder b(report);
    b.page(10, 10, 10, 10);
    report.DocumentTitle = title;
    report.SetDataSet(parties);
    report.AddDataSet(frdm->ATcompany);
    TRpCustomBand* header = b.band(rbPageHeader, 22);
    b.field(header, frdm->ATcompany, QStringLiteral("name"), {0, 2, 190, C, 20, true, heading});
    b.text(header, title, {2, 15.5});
    b.ruledList(parties,
                {Column(QStringLiteral("编号"), QStringLiteral("id"), 1, 22, L),
                 Column(nameHeading, QStringLiteral("name"), 25, 70, L),
                 Column(QStringLiteral("电话"), QStringLiteral("tel"), 97, 35, L),
                 Column(restHeading, QStringLiteral("rest"), 134, 26, R),
                 Column(balanceHeading, QStringLiteral("balance"), 162, 26, R)},
                7, 6.5, 1.5, 1.2);
    report.FirstBand(rbColumnHeader)->Frame.DrawTop = true;
}

} // namespace

void productList(TRpReport& report)
{
    LayoutBuilder b(report);
    b.page(10, 10, 8, 8);
    report.PreviewMaximized = true;
    report.DocumentTitle = QStringLiteral("库存商品");
    report.SetDataSet(frdm->Aqproduct);
    report.AddDataSet(frdm->ATcompany);
    report.AddDataSet(frdm->AQtotallist);

    TRpCustomBand* header = b.band(rbPageHeader, 30.2);
    b.field(header, frdm->ATcompany, QStringLiteral("name"), {2.1, 2, 190.8, C, 28, true, heading},
            QStringLiteral("RpDBText15"));
    b.text(header, QStringLiteral("库存商品"), {1.6, 24.6}, QStringLiteral("RpLabel3"));
    b.printDate(header, {173.6, 23.3})->SetName(QStringLiteral("RpSysData1"));

    TRpCustomBand* columns = b.band(rbColumnHeader, 7.9);
    TRpCustomBand* detail = b.band(rbDetail, 7.9);
    LayoutBuilder::frame(columns, true, true, true, true);
    LayoutBuilder::frame(detail, true, true, false, true);
    const auto column = [](const char* caption, const char* captionName, const char* field, const char* fieldName,
                           double left, double width, TRpAlignment align) {
        return Column(QString::fromUtf8(caption), QString::fromLatin1(field), left, width, align)
            .named(QString::fromLatin1(captionName), QString::fromLatin1(fieldName));
    };
    b.columns(columns, detail, frdm->Aqproduct,
              {column("货品代码", "RpLabel1", "sphh", "RpDBText1", 1.1, 21.4, C),
               column("货品名称", "RpLabel2", "spmc", "RpDBText2", 24.6, 34.4, C),
               column("条形码", "RpLabel12", "spgg", "RpDBText9", 60.6, 30.2, C),
               column("进货量", "RpLabel7", "sl_in_y", "RpDBText7", 92.1, 11.4, R),
               column("出货量", "RpLabel5", "sl_out_y", "RpDBText6", 105.0, 11.1, R),
               column("库存量", "RpLabel4", "sl", "RpDBText4", 118.5, 10.8, R),
               column("进货价", "RpLabel10", "dj_w", "RpDBText12", 133.4, 10.8, R),
               column("批发价", "RpLabel13", "dj_n", "RpDBText10", 148.2, 10.8, R),
               column("超市价", "RpLabel14", "spmz", "RpDBText11", 162.5, 11.4, R),
               column("零售价", "RpLabel8", "spzz", "RpDBText8", 177.0, 15.9, R)},
              2.1, 1.9);
    b.rules({columns, detail}, {23.3, 59.5, 91.3, 103.5, 116.9, 130.7, 146.3, 160.6, 176.0});

    TRpCustomBand* summary = b.band(rbSummary, 7.4);
    b.text(summary, QStringLiteral("库存数量合计:"), {5.8, 1.6}, QStringLiteral("RpLabel6"));
    b.field(summary, frdm->AQtotallist, QStringLiteral("hjsl"), {29.4, 1.6}, QStringLiteral("RpDBText18"));
    b.text(summary, QStringLiteral("库存金额合计:"), {48.7, 1.6}, QStringLiteral("RpLabel9"));
    b.field(summary, frdm->AQtotallist, QStringLiteral("rest"), {72.5, 1.6}, QStringLiteral("RpDBText3"));
}

void productsAcross(TRpReport& report)
{
    LayoutBuilder b(report);
    b.page(10, 10, 4, 4);
    report.DocumentTitle = QStringLiteral("商品资料");
    report.AddDataSet(frdm->ATcompany);
    // The rows the bands are filled from, named so that the print holds back their grid.
    report.AddDataSet(frdm->Aqproduct);

    TRpCustomBand* header = b.band(rbPageHeader, 13.5);
    b.field(header, frdm->ATcompany, QStringLiteral("name"), {4.2, 1, 182.3, C, 20, true, heading},
            QStringLiteral("RpDBText15"));
    b.text(header, QStringLiteral("商品资料"), {5.8, 9.0}, QStringLiteral("RpLabel3"));

    TRpCustomBand* columns = b.band(rbColumnHeader, 6.1);
    LayoutBuilder::frame(columns, false, false, false, true);
    const char* captions[4] = {"货品代码", "货品名称", "价格", "备注"};
    TRpCustomBand* detail = b.band(rbDetail, 6.1);
    LayoutBuilder::frame(detail, true, true, false, true);
    for (const Slot& slot : acrossSlots) {
        for (int i = 0; i < 4; ++i) {
            b.text(columns, QString::fromUtf8(captions[i]), {slot.lefts[i], 1.2});
            b.text(detail, QString(), {slot.lefts[i], 0.8, slot.widths[i], L, 8}, QString::fromLatin1(slot.names[i]));
        }
    }
    b.rules({detail}, {17.7, 48.4, 59.8, 69.3, 88.6, 119.6, 130.7, 138.9, 156.4, 184.2, 193.7});

    // Without a dataset of its own the report asks for each band: three products side by side.
    report.BeforePrint = [](TCustomRpReport&, bool&) { frdm->Aqproduct->first(); };
    report.OnNeedData = [&report](TRpComponent*, bool& more) {
        db::DataSet& products = *frdm->Aqproduct;
        more = products.active() && !products.eof();
        for (const Slot& slot : acrossSlots) {
            for (const char* name : slot.names)
                report.Find<TRpLabel>(QString::fromLatin1(name))->SetCaption(QString());
        }
        for (const Slot& slot : acrossSlots) {
            if (!products.active() || products.eof())
                break;
            const QStringList values = {products.fieldByName(QStringLiteral("sphh")).asString(),
                                        products.fieldByName(QStringLiteral("spmc")).asString(),
                                        products.fieldByName(QStringLiteral("spmz")).displayText(),
                                        products.fieldByName(QStringLiteral("bz")).asString()};
            for (int i = 0; i < 4; ++i)
                report.Find<TRpLabel>(QString::fromLatin1(slot.names[i]))->SetCaption(values[i]);
            products.next();
        }
    };
}

void openingProducts(TRpReport& report)
{
    LayoutBuilder b(report);
    b.page(10, 10, 10, 10);
    report.DocumentTitle = QStringLiteral("期初商品库存");
    report.SetDataSet(frdm->Aqproduct);
    report.AddDataSet(frdm->ATcompany);
    TRpCustomBand* header = b.band(rbPageHeader, 24);
    b.field(header, frdm->ATcompany, QStringLiteral("name"), {0, 2, 190, C, 20, true, heading});
    b.field(header, frdm->ATcompany, QStringLiteral("addr"), {0, 12, 190, C, 12});
    b.printDate(header, {160, 18.5});
    b.ruledList(frdm->Aqproduct,
                {Column(QStringLiteral("货号"), QStringLiteral("sphh"), 1, 20, L),
                 Column(QStringLiteral("品名"), QStringLiteral("spmc"), 22.5, 37, L),
                 Column(QStringLiteral("包装"), QStringLiteral("spbzxh"), 61, 14, L),
                 Column(QStringLiteral("单价"), QStringLiteral("dj_w"), 76.5, 13, R),
                 Column(QStringLiteral("打数"), QStringLiteral("spds"), 91, 10, R),
                 Column(QStringLiteral("数量/箱"), QStringLiteral("sl_sw"), 102.5, 13, R),
                 Column(QStringLiteral("内盒"), QStringLiteral("spnh"), 117, 10, R),
                 Column(QStringLiteral("规格"), QStringLiteral("spgg"), 128.5, 21, L),
                 Column(QStringLiteral("材尺"), QStringLiteral("sptj"), 151, 12, R),
                 Column(QStringLiteral("毛重"), QStringLiteral("spmz"), 164.5, 10, R),
                 Column(QStringLiteral("期初数"), QStringLiteral("rest"), 176, 13, R)},
                6.6, 6.4, 1.4, 1.2);
    report.FirstBand(rbColumnHeader)->Frame.DrawTop = true;
}

void customerList(TRpReport& report)
{
    partyList(report, frdm->Aqcustomer, QStringLiteral("客户资料"), QStringLiteral("客户名称"),
              QStringLiteral("期初应收"), QStringLiteral("应收累计"));
}

void supplierList(TRpReport& report)
{
    partyList(report, frdm->AQbranch, QStringLiteral("供应商资料"), QStringLiteral("供应商名称"),
              QStringLiteral("期初应付"), QStringLiteral("应付累计"));
}

} // namespace lb::layouts
