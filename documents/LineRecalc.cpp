// The recalculation of a document: line amounts, running balances, header totals and summary.
#include "documents/LineRecalc.h"

#include "platform/sys/Errors.h"
#include "platform/sys/ExactAmount.h"

#include <QStringList>
#include <algorithm>

namespace lb::documents {

namespace {

double salesLine(RecalcLine& line, double balance)
{
    line.amount = line.sl * line.dj_n;
    return balance + line.amount - line.deduck - line.pay;
}

double lineQuantity(const RecalcLine& line)
{
    return line.sl;
}

double purchaseQuantity(const RecalcLine& line)
{
    return line.js * line.sl_j + line.ss * line.sl_s;
}

double purchaseLine(RecalcLine& line, double balance)
{
    line.sl = line.js * line.sl_j;
    line.amount = purchaseQuantity(line) * line.dj_w;
    return balance + line.amount - line.pay;
}

double receiptLine(RecalcLine& line, double balance)
{
    return balance - line.amount - line.deduck;
}

double salesReturnLine(RecalcLine& line, double balance)
{
    line.amount = line.sl * line.dj_n;
    return balance - line.amount;
}

double purchaseReturnLine(RecalcLine& line, double balance)
{
    line.amount = line.sl * line.dj_w;
    return balance - line.amount;
}

double noQuantity(const RecalcLine&)
{
    return 0;
}

// Another kind's `rule` under the summary prefix `prefix`.
RecalcRule retitled(RecalcRule rule, const QString& prefix)
{
    rule.remarkPrefix = prefix;
    return rule;
}

} // namespace

double RecalcTotals::value(const QString& column) const
{
    const QString name = column.toLower();
    if (name == QLatin1String("amount"))
        return amount;
    if (name == QLatin1String("deduck"))
        return deduck;
    if (name == QLatin1String("pay"))
        return pay;
    if (name == QLatin1String("hjjs"))
        return hjjs;
    if (name == QLatin1String("hjss"))
        return hjss;
    if (name == QLatin1String("hjsl"))
        return hjsl;
    if (name == QLatin1String("rest"))
        return rest;
    throw lb::Error(QStringLiteral("No total for the header column '%1'").arg(column));
}

const RecalcRule& LineRecalc::sales()
{
    static const RecalcRule rule{QStringLiteral("销售商品:"), salesLine, lineQuantity, {"amount", "rest"},
                                 {"amount", "rest", "deduck", "pay", "hjjs", "hjss", "hjsl"}};
    return rule;
}

const RecalcRule& LineRecalc::purchase()
{
    static const RecalcRule rule{QStringLiteral("进货商品:"), purchaseLine, purchaseQuantity, {"sl", "amount", "rest"},
                                 {"amount", "rest", "pay", "hjjs", "hjsl"}};
    return rule;
}

const RecalcRule& LineRecalc::receipt()
{
    static const RecalcRule rule{QStringLiteral("收款的现金银行帐:"), receiptLine, noQuantity, {"rest"},
                                 {"amount", "rest", "deduck"}};
    return rule;
}

const RecalcRule& LineRecalc::purchaseOrder()
{
    static const RecalcRule rule = retitled(purchase(), QStringLiteral("订货商品:"));
    return rule;
}

const RecalcRule& LineRecalc::salesReturn()
{
    static const RecalcRule rule{QStringLiteral("退货商品:"), salesReturnLine, lineQuantity, {"amount", "rest"},
                                 {"amount", "rest", "hjsl"}};
    return rule;
}

const RecalcRule& LineRecalc::purchaseReturn()
{
    static const RecalcRule rule{QStringLiteral("退货商品:"), purchaseReturnLine, lineQuantity, {"amount", "rest"},
                                 {"amount", "rest", "hjsl"}};
    return rule;
}

const RecalcRule& LineRecalc::payment()
{
    static const RecalcRule rule = retitled(receipt(), QStringLiteral("付款的现金银行帐:"));
    return rule;
}

RecalcTotals LineRecalc::recalculate(const RecalcRule& rule, double openingRest, std::vector<RecalcLine>& lines)
{
    RecalcTotals totals;
    double r = openingRest;
    QStringList names;
    for (RecalcLine& line : lines) {
        r = rule.line(line, r);
        totals.amount += line.amount;
        totals.deduck += line.deduck;
        totals.pay += line.pay;
        totals.hjjs += line.js;
        totals.hjss += line.ss;
        totals.hjsl += rule.quantity(line);
        line.rest = r;
        // Blank lines leave no trace: a leading blank line gives no stray separator either.
        const QString name = line.spmc.trimmed();
        if (!name.isEmpty())
            names << name;
    }
    totals.rest = r;
    totals.remark = rule.remarkPrefix + names.join(QStringLiteral("、"));
    totals.exact = lb::isExactAmount(openingRest)
        && std::all_of(lines.begin(), lines.end(),
                       [](const RecalcLine& line) {
                           return lb::isExactAmount(line.amount) && lb::isExactAmount(line.sl) && lb::isExactAmount(line.rest);
                       })
        && std::all_of(rule.headerColumns.begin(), rule.headerColumns.end(),
                       [&](const QString& column) { return lb::isExactAmount(totals.value(column)); });
    return totals;
}

} // namespace lb::documents
