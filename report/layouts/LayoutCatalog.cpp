// Every printed layout of the program, made by the name of its design class.
#include "report/layouts/LayoutCatalog.h"

#include "platform/sys/Errors.h"
#include "report/TRpReport.h"
#include "report/layouts/LayoutCatalog_p.h"

#include <utility>

namespace lb::layouts {

namespace {

using Declare = void (*)(report::TRpReport&);

const std::pair<const char*, Declare> layouts[] = {
    {"Tfrrproduct", &productList},
    {"Tfrrproducts", &productsAcross},
    {"Tfrrproduct_b", &openingProducts},
    {"Tfrrcustomer", &customerList},
    {"Tfrrbranch", &supplierList},
    {"Tfrroutdetail", &salesDocument},
    {"Tfrrindetail", &purchaseDocument},
    {"Tfrrgetdetail", &receiptDocument},
    {"Tfrrputdetail", &paymentDocument},
    {"Tfrroutbackdetail", &salesReturnDocument},
    {"Tfrrinbackdetail", &purchaseReturnDocument},
    {"Tfrrdhdetail", &purchaseOrderDocument},
    {"Tfrrouttotal", &salesSummary},
    {"Tfrroutbacktotal", &salesReturnSummary},
    {"Tfrrintotal", &purchaseSummary},
    {"Tfrrinbacktotal", &purchaseReturnSummary},
    {"Tfrrgettotal", &receiptSummary},
    {"Tfrrputtotal", &paymentSummary},
    {"Tfrrcusttotal", &customerBalances},
    {"Tfrrbrantotal", &supplierBalances},
    {"Tfrrcusttotalist", &customerStatement},
    {"Tfrrbrantotalist", &supplierStatement},
    {"Tfrrbanktotal", &cashJournal},
};

} // namespace

std::unique_ptr<report::TRpReport> LayoutCatalog::make(const QString& name)
{
    for (const auto& [layoutName, declare] : layouts) {
        if (name == QLatin1String(layoutName)) {
            auto report = std::make_unique<report::TRpReport>();
            declare(*report);
            return report;
        }
    }
    throw Error(QStringLiteral("No report layout %1").arg(name));
}

QStringList LayoutCatalog::names()
{
    QStringList result;
    for (const auto& entry : layouts)
        result << QLatin1String(entry.first);
    return result;
}

} // namespace lb::layouts
