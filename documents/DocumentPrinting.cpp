// Printing a document through its kind's layout, from its entry form or its posted view.
#include "documents/DocumentPrinting.h"

#include "masterdata/MasterCatalog.h"
#include "platform/db/Query.h"
#include "platform/sys/Errors.h"
#include "report/layouts/PrintSequence.h"

using lb::masterdata::MasterCatalog;

namespace lb::documents {

namespace {

using layouts::PageTotal;

struct KindLayout {
    BillKind kind;
    const char* layout;
    PageTotal pageTotal;
    bool hidesCarryOver;  // the lines print from the first product line
    const char* specHeading; // the label heading the 规格型号 column; empty: none
};

const KindLayout kindLayouts[] = {
    {BillKind::Sales, "Tfrroutdetail", PageTotal::Digits, true, ""},
    {BillKind::Purchase, "Tfrrindetail", PageTotal::Words, false, ""},
    {BillKind::PurchaseOrder, "Tfrrdhdetail", PageTotal::Words, false, ""},
    {BillKind::SalesReturn, "Tfrroutbackdetail", PageTotal::Words, false, "RpLabel19"},
    {BillKind::PurchaseReturn, "Tfrrinbackdetail", PageTotal::Words, false, ""},
    {BillKind::Receipt, "Tfrrgetdetail", PageTotal::Words, false, ""},
    {BillKind::Payment, "Tfrrputdetail", PageTotal::Words, false, ""},
};

const KindLayout& layoutFor(BillKind kind)
{
    for (const KindLayout& entry : kindLayouts) {
        if (entry.kind == kind)
            return entry;
    }
    throw Error(QStringLiteral("No layout for document kind %1").arg(int(kind)));
}

void showLines(db::Query& lines, const DocumentKind& kind, const QString& intno, bool withCarryOver)
{
    lines.close();
    lines.sql().setText(QStringLiteral("select * from %1 where mainintno=:p1%2 order by intno")
                            .arg(kind.lineTable, withCarryOver ? QString() : QStringLiteral(" and spmc<>'上期结转'")));
    lines.paramByName(QStringLiteral("p1")).setAsString(intno);
    lines.open();
}

// Puts the lines back as the form shows them, with the line that was current, when printing
// ends in any way.
class LinesRestored {
public:
    LinesRestored(db::Query& lines, const DocumentKind& kind, const QString& intno)
        : lines_(lines), kind_(kind), intno_(intno)
    {
        if (lines_.active() && !lines_.isEmpty())
            current_ = lines_.fieldByName(QStringLiteral("intno")).asString();
    }
    ~LinesRestored()
    {
        try {
            showLines(lines_, kind_, intno_, true);
            if (!current_.isEmpty())
                lines_.locate(QStringLiteral("intno"), current_);
        } catch (const std::exception&) {
            // The print's own failure, if any, is what the user is told; the form reads its
            // lines again on its next step.
        }
    }
    LinesRestored(const LinesRestored&) = delete;
    LinesRestored& operator=(const LinesRestored&) = delete;

private:
    db::Query& lines_;
    const DocumentKind& kind_;
    QString intno_;
    QString current_;
};

} // namespace

QString DocumentPrinting::layoutOf(BillKind kind)
{
    return QLatin1String(layoutFor(kind).layout);
}

void DocumentPrinting::print(const DocumentKind& kind, const QString& intno, db::Query& lines)
{
    const KindLayout& entry = layoutFor(kind.kind);
    const LinesRestored restored(lines, kind, intno);
    showLines(lines, kind, intno, !entry.hidesCarryOver);
    layouts::PrintJob job{QLatin1String(entry.layout), kind.billname, entry.pageTotal, {}, {}};
    if (*entry.specHeading)
        job.captions.emplace_back(QLatin1String(entry.specHeading), MasterCatalog::specTitle());
    layouts::printLayout(job);
}

} // namespace lb::documents
