// The print commands of the product, customer and supplier lists, the opening-balance lists and
// the stock window.
#include "masterdata/ListPrinting.h"

#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "masterdata/MasterCatalog.h"
#include "masterdata/MasterListWindow.h"
#include "masterdata/ProductCommands.h"
#include "masterdata/StockCommands.h"
#include "platform/db/Query.h"
#include "report/layouts/PrintSequence.h"

namespace lb::masterdata {

using lb::layouts::PrintJob;

namespace {

const QString allProducts = QStringLiteral("SELECT * from product");

// The product layout with its 规格型号 column titled by the option (条形码 or 规格型号).
PrintJob productJob()
{
    PrintJob job;
    job.layout = QStringLiteral("Tfrrproduct");
    job.captions = {{QStringLiteral("RpLabel12"), MasterCatalog::specTitle()}};
    return job;
}

// The product layout under another title than 库存商品.
void retitle(PrintJob& job, const QString& title)
{
    job.captions.emplace_back(QStringLiteral("RpLabel3"), title);
    job.title = title;
}

// The value of every product in sptj and the totals row, as the rows to print.
void stockValueRows(MasterListWindow& list)
{
    StockCommands::stockValue(frdm->ADOCon);
    frdm->AQtotallist->close();
    frdm->AQtotallist->open();
    list.requery(QStringLiteral("SELECT * from product\nORDER BY sptj"));
}

PrintJob stockValueJob()
{
    PrintJob job = productJob();
    retitle(job, QStringLiteral("商品资产表"));
    job.captions.emplace_back(QStringLiteral("RpLabel8"), QStringLiteral("金额"));
    job.fields = {{QStringLiteral("RpDBText8"), QStringLiteral("sptj")}};
    return job;
}

} // namespace

void ListPrinting::products(MasterListWindow& list)
{
    list.requery(allProducts);
    PrintJob job = productJob();
    job.summary = false; // the totals are those of the stock value
    lb::layouts::printLayout(job);
}

void ListPrinting::productsAcross(MasterListWindow& list)
{
    list.requery(allProducts);
    lb::layouts::printLayout(PrintJob{QStringLiteral("Tfrrproducts"), {}, {}, {}, {}});
}

void ListPrinting::stockValue(MasterListWindow& list)
{
    stockValueRows(list);
    lb::layouts::printLayout(stockValueJob());
}

void ListPrinting::stockWindow(MasterListWindow& list)
{
    PrintJob job = productJob();
    switch (frmain->PickMode) {
    case lb::core::PickCode::StockGainLoss:
        retitle(job, QStringLiteral("库存损益表"));
        job.captions.emplace_back(QStringLiteral("RpLabel14"), QStringLiteral("实库存量"));
        job.captions.emplace_back(QStringLiteral("RpLabel8"), QStringLiteral("库存损益"));
        job.summary = false; // the totals are those of the stock value
        job.fields.emplace_back(QStringLiteral("RpDBText11"), QStringLiteral("ysl"));
        job.fields.emplace_back(QStringLiteral("RpDBText8"), QStringLiteral("sptj"));
        lb::layouts::printLayout(job);
        list.requery(allProducts);
        return;
    case lb::core::PickCode::StockValue:
        retitle(job, QStringLiteral("库存资产表"));
        job.captions.emplace_back(QStringLiteral("RpLabel8"), QStringLiteral("库存金额"));
        job.fields = {{QStringLiteral("RpDBText8"), QStringLiteral("sptj")}};
        lb::layouts::printLayout(job);
        return;
    default:
        job.summary = false; // the totals are those of the stock value
        lb::layouts::printLayout(job);
        return;
    }
}

void ListPrinting::parties(MasterListWindow& list, const QString& table, const QString& layout)
{
    list.requery(QStringLiteral("SELECT * from %1").arg(table));
    lb::layouts::printLayout(PrintJob{layout, {}, {}, {}, {}});
}

void ListPrinting::openingParties(MasterListWindow& list, const QString& table, const QString& layout)
{
    list.requery(QStringLiteral("SELECT * from %1\nWHERE balance<>0 or rest<>0").arg(table));
    lb::layouts::printLayout(PrintJob{layout, {}, {}, {}, {}});
}

void ListPrinting::openingProducts(MasterListWindow& list)
{
    ProductCommands::fillCartonVolumes(frdm->ADOCon);
    list.requery(QStringLiteral("SELECT * from product\nWHERE rest<>0.0 "));
    lb::layouts::printLayout(PrintJob{QStringLiteral("Tfrrproduct_b"), {}, {}, {}, {}});
    list.requery(allProducts);
}

} // namespace lb::masterdata
