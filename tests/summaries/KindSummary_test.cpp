// The document-kind summaries' runs without windows: which lines count, the sums row, the flow
// list, the grouping by product, and refills that fail part-way.
#include "SummaryFixture.h"

#include "core/Tfrdm.h"
#include "platform/db/Query.h"
#include "platform/sys/ExactAmount.h"
#include "report/TRpDBText.h"
#include "report/TRpReport.h"
#include "report/layouts/LayoutCatalog.h"
#include "summaries/KindSummary.h"
#include "summaries/KindSummaryCatalog.h"

using lb::documents::BillKind;
using lb::summaries::KindSummary;
using lb::summaries::KindSummaryCatalog;
using lb::summaries::KindSummaryConfig;
using lb::summaries::Period;
using lb::summaries::SummaryFilter;

namespace {

class KindSummaryTest : public SummaryFixture {
protected:
    void SetUp() override
    {
        SummaryFixture::SetUp();
        makeCustomer(QStringLiteral("0000000001"), QStringLiteral("张三"));
        makeCustomer(QStringLiteral("0000000002"), QStringLiteral("李四"));
        makeSupplier(QStringLiteral("0000000001"), QStringLiteral("粮油公司"));
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 1000.0}});
        rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 1000.0}});
    }

    static Period march() { return {QDate(2026, 3, 1), QDate(2026, 3, 31)}; }
    static KindSummaryConfig config(const char* key) { return KindSummaryCatalog::byKey(QLatin1String(key)); }

    // The sums row's columns, as text.
    QString sums(const QString& columns) { return row(QStringLiteral("select %1 from totallist").arg(columns)); }

    // The flow list of a summary: the lines' products and amounts in list order.
    QStringList flow(const char* key, const Period& period, const SummaryFilter& filter = {})
    {
        KindSummary::openFlow(*dm().AQoutdetail, config(key), period, filter);
        QStringList shown;
        lb::db::Query& lines = *dm().AQoutdetail;
        for (lines.first(); !lines.eof(); lines.next())
            shown << lines.fieldByName(QStringLiteral("billdate")).asString() + QLatin1Char(' ')
                         + lines.fieldByName(QStringLiteral("spmc")).asString() + QLatin1Char(' ')
                         + lines.fieldByName(QStringLiteral("amount")).asString();
        return shown;
    }

    QString flour;
    QString rice;
};

} // namespace

TEST_F(KindSummaryTest, OnlyPostedUnreversedLinesOfThePeriodCountBothEndsIncluded)
{
    const QString c1 = QStringLiteral("0000000001");
    postSale(c1, QStringLiteral("2026-02-28"), {{flour, "面粉", 1, 100, 90}});
    postSale(c1, QStringLiteral("2026-03-01"), {{flour, "面粉", 3, 12.5, 10, 1, 5}});
    postSale(c1, QStringLiteral("2026-03-31"), {{rice, "大米", 2, 4, 3}});
    postSale(c1, QStringLiteral("2026-04-01"), {{rice, "大米", 1, 1000, 1}});
    makeOpenSale(c1, QStringLiteral("2026-03-15"), {{flour, "面粉", 7, 7}});
    const QString reversed = postSale(c1, QStringLiteral("2026-03-10"), {{rice, "大米", 9, 9}});
    ASSERT_FALSE(lb::documents::DocumentPosting::reverse(db(), sales(), reversed, c1, QStringLiteral("0000000001")).refused);

    KindSummary::refreshSums(db(), config("Tfrouttotal"), march(), {});
    // Quantity 5; amounts 37.5 + 8; gross profit 3 x (12.5 - 10) + 2 x (4 - 3).
    EXPECT_EQ(QStringLiteral("5|45.5|1|5|9.5"), sums(QStringLiteral("hjsl,amount,deduck,pay,rest")));
    EXPECT_EQ((QStringList{"2026-03-01 面粉 37.5", "2026-03-31 大米 8"}), flow("Tfrouttotal", march()));

    // The gross profit of one line of 3 at 12.5 bought at 10.
    KindSummary::refreshSums(db(), config("Tfrouttotal"), {QDate(2026, 3, 1), QDate(2026, 3, 1)}, {});
    dm().AQtotallist->close();
    dm().AQtotallist->open();
    EXPECT_EQ(QStringLiteral("7.50"), KindSummary::totalText(dm().AQtotallist->fieldByName(QStringLiteral("rest")).value(), 2));
    EXPECT_EQ(QStringLiteral("3"), KindSummary::totalText(dm().AQtotallist->fieldByName(QStringLiteral("hjsl")).value(), 0));
}

TEST_F(KindSummaryTest, AReversedPeriodOrAnEmptyOneGivesZeroTotalsAndNoLines)
{
    postSale(QStringLiteral("0000000001"), QStringLiteral("2026-03-05"), {{flour, "面粉", 3, 12.5, 10}});
    const Period reversedPeriod{QDate(2026, 3, 31), QDate(2026, 3, 1)};
    KindSummary::refreshSums(db(), config("Tfrouttotal"), reversedPeriod, {});
    EXPECT_EQ(1, number(QStringLiteral("select count(*) from totallist")));
    dm().AQtotallist->open();
    for (const char* column : {"amount", "deduck", "pay", "rest"})
        EXPECT_EQ(QStringLiteral("0.00"), KindSummary::totalText(dm().AQtotallist->fieldByName(QLatin1String(column)).value(), 2));
    EXPECT_EQ(QStringLiteral("0"), KindSummary::totalText(dm().AQtotallist->fieldByName(QStringLiteral("hjsl")).value(), 0));
    EXPECT_TRUE(flow("Tfrouttotal", reversedPeriod).isEmpty());
}

TEST_F(KindSummaryTest, PartyAndProductNarrowToTheStoredCodesExactly)
{
    postSale(QStringLiteral("0000000001"), QStringLiteral("2026-03-05"), {{flour, "面粉", 1, 10}, {rice, "大米", 1, 20}});
    postSale(QStringLiteral("0000000002"), QStringLiteral("2026-03-06"), {{flour, "面粉", 1, 40}});

    EXPECT_EQ((QStringList{"2026-03-05 面粉 10", "2026-03-05 大米 20"}), flow("Tfrouttotal", march(), {"0000000001", ""}));
    EXPECT_EQ((QStringList{"2026-03-05 面粉 10", "2026-03-06 面粉 40"}), flow("Tfrouttotal", march(), {"", "A01"}));
    EXPECT_EQ((QStringList{"2026-03-06 面粉 40"}), flow("Tfrouttotal", march(), {"0000000002", "A01"}));
    // A code typed without its leading zeros names no stored party.
    EXPECT_TRUE(flow("Tfrouttotal", march(), {"1", ""}).isEmpty());
    KindSummary::refreshSums(db(), config("Tfrouttotal"), march(), {"0000000001", "B01"});
    EXPECT_EQ(QStringLiteral("20"), sums(QStringLiteral("amount")));
}

TEST_F(KindSummaryTest, GroupingAddsUpEachProductAndAgreesWithTheFlowTotals)
{
    const QString c1 = QStringLiteral("0000000001");
    postSale(c1, QStringLiteral("2026-03-02"), {{flour, "面粉", 2, 10}, {rice, "大米", 1, 5, 0, 0, 0, QStringLiteral("赠品")}});
    postSale(c1, QStringLiteral("2026-03-09"), {{flour, "面粉", 3, 11}, {rice, "大米", 4, 5}});
    const QString reversed = postSale(c1, QStringLiteral("2026-03-10"), {{flour, "面粉", 6, 10}});
    ASSERT_FALSE(lb::documents::DocumentPosting::reverse(db(), sales(), reversed, c1, QStringLiteral("0000000001")).refused);
    const KindSummaryConfig sales = config("Tfrouttotal");

    KindSummary::refreshSums(db(), sales, march(), {});
    const QString flowTotals = sums(QStringLiteral("hjsl,amount"));
    KindSummary::group(db(), *dm().AQoutdetail, sales, march(), {});
    EXPECT_EQ(flowTotals, sums(QStringLiteral("hjsl,amount")));
    // Two sales of flour, 2 and 3, for 20 and 33 (the reversed one left out); rice apart by its
    // remark, in product order.
    EXPECT_EQ((QStringList{QStringLiteral("%1|A01|面粉||5|53").arg(flour), QStringLiteral("%1|B01|大米||4|20").arg(rice),
                           QStringLiteral("%1|B01|大米|赠品|1|5").arg(rice)}),
              rows(QStringLiteral("select spintno, sphh, spmc, remark, sl, amount from custtotal order by spintno, remark")));
    EXPECT_EQ(3, dm().AQoutdetail->recordCount());
    EXPECT_EQ(flour, dm().AQoutdetail->fieldByName(QStringLiteral("spintno")).asString());
    // A group has no one price: the grid and the print show it empty, not "0.000".
    EXPECT_EQ(QString(), dm().AQoutdetail->fieldByName(QStringLiteral("dj_n")).displayText());

    // The purchase summary groups without the remark; carry-over lines never form a group.
    writePosted(BillKind::Purchase, c1, QStringLiteral("2026-03-03"),
                {{rice, "大米", 2, 3, 0, 0, 0, QStringLiteral("甲")}, {rice, "大米", 5, 3, 0, 0, 0, QStringLiteral("乙")}});
    KindSummary::group(db(), *dm().AQoutdetail, config("Tfrintotal"), march(), {});
    EXPECT_EQ((QStringList{QStringLiteral("%1|B01|大米|7|21").arg(rice)}),
              rows(QStringLiteral("select spintno, sphh, spmc, sl, amount from custtotal")));
    EXPECT_EQ(QString(), dm().AQoutdetail->fieldByName(QStringLiteral("dj_w")).displayText());
    EXPECT_EQ(QString(), dm().AQoutdetail->fieldByName(QStringLiteral("sl_j")).displayText());
}

// A year of lines is held without the columns nobody sees: the flow reads what the grid and the
// print show, and every line field the kind's layout prints is among them.
TEST_F(KindSummaryTest, TheFlowReadsTheColumnsItsGridAndItsPrintShow)
{
    for (const QString& key : KindSummaryCatalog::keys()) {
        const KindSummaryConfig kind = KindSummaryCatalog::byKey(key);
        const QStringList read = KindSummary::flowColumns(kind);
        const auto layout = lb::layouts::LayoutCatalog::make(kind.layoutClass);
        for (lb::report::TRpCustomBand* band : layout->AllBands()) {
            for (const auto& control : band->Controls()) {
                const auto* text = dynamic_cast<const lb::report::TRpDBText*>(control.get());
                if (text && text->DataSet() == dm().AQoutdetail) {
                    EXPECT_TRUE(read.contains(text->DataField())) << key.toStdString() << ": " << text->DataField().toStdString();
                }
            }
        }
    }
    postSale(QStringLiteral("0000000001"), QStringLiteral("2026-03-05"), {{flour, "面粉", 2, 10}});
    EXPECT_EQ((QStringList{"2026-03-05 面粉 20"}), flow("Tfrouttotal", march()));
    EXPECT_EQ(QStringLiteral("销售单"), dm().AQoutdetail->fieldByName(QStringLiteral("billname")).asString());
    EXPECT_TRUE(dm().AQoutdetail->fieldByName(QStringLiteral("mainintno")).isNull());
}

TEST_F(KindSummaryTest, EachSummarySumsItsOwnKindOnly)
{
    const QString c1 = QStringLiteral("0000000001");
    postSale(c1, QStringLiteral("2026-03-05"), {{flour, "面粉", 1, 100}});
    writePosted(BillKind::SalesReturn, c1, QStringLiteral("2026-03-05"), {{flour, "面粉", 2, 20}});
    writePosted(BillKind::Purchase, c1, QStringLiteral("2026-03-05"), {{flour, "面粉", 1, 300, 0, 0, 40}});
    writePosted(BillKind::PurchaseReturn, c1, QStringLiteral("2026-03-05"), {{flour, "面粉", 4, 100}});
    writePosted(BillKind::Receipt, c1, QStringLiteral("2026-03-05"), {{"0000000001", "现金", 0, 500, 0, 6}});
    writePosted(BillKind::Payment, c1, QStringLiteral("2026-03-05"), {{"0000000001", "现金", 0, 600, 0, 7}});

    const std::pair<const char*, const char*> expected[] = {
        {"Tfrouttotal", "100|0|0|100"},   {"Tfroutbacktotal", "40|0|0|2"}, {"Tfrintotal", "300|0|40|0"},
        {"Tfrinbacktotal", "400|0|0|4"}, {"Tfrgettotal", "500|6|0|-406"},   {"Tfrputtotal", "600|7|0|0"},
    };
    for (const auto& [key, sum] : expected) {
        KindSummary::refreshSums(db(), config(key), march(), {});
        // The returns' rest is their total quantity; the purchase summary has no deduction; the
        // receipts' rest adds up the balances their lines carried (100 - 500 - 6).
        EXPECT_EQ(QLatin1String(sum), sums(QStringLiteral("amount, deduck, pay, rest"))) << key;
        EXPECT_EQ(1, flow(key, march()).size()) << key;
    }
}

// Lines each below the limit that add up beyond it give no sums row and no group: the run is
// refused and the work tables keep what they held.
TEST_F(KindSummaryTest, SumsBeyondTheLimitAreRefused)
{
    const KindSummaryConfig sales = config("Tfrouttotal");
    postSale(QStringLiteral("0000000001"), QStringLiteral("2026-03-05"), {{flour, "面粉", 2, 10}});
    KindSummary::refreshSums(db(), sales, march(), {});
    KindSummary::group(db(), *dm().AQoutdetail, sales, march(), {});
    const QStringList before = rows(QStringLiteral("select * from totallist")) + rows(QStringLiteral("select * from custtotal"));
    for (int i = 0; i < 2; ++i)
        insertRow(QStringLiteral("outdetail"), {{"spintno", flour}, {"sphh", "A01"}, {"spmc", "面粉"}, {"sl", 1.0}, {"amount", 5e13},
                                                {"billdate", "2026-03-06"}, {"pass", true}, {"cancel", false}});
    EXPECT_THROW(KindSummary::refreshSums(db(), sales, march(), {}), lb::OverflowError);
    EXPECT_THROW(KindSummary::group(db(), *dm().AQoutdetail, sales, march(), {}), lb::OverflowError);
    EXPECT_EQ(before, rows(QStringLiteral("select * from totallist")) + rows(QStringLiteral("select * from custtotal")));
}

// The limit itself is no figure either: two lines of half of it reach it exactly.
TEST_F(KindSummaryTest, ASumExactlyAtTheLimitIsRefusedAsOneBeyondIt)
{
    const KindSummaryConfig sales = config("Tfrouttotal");
    for (int i = 0; i < 2; ++i)
        insertRow(QStringLiteral("outdetail"), {{"spintno", flour}, {"sphh", "A01"}, {"spmc", "面粉"}, {"sl", 1.0},
                                                {"amount", lb::kMaxExactAmount / 2}, {"billdate", "2026-03-06"},
                                                {"pass", true}, {"cancel", false}});
    EXPECT_THROW(KindSummary::refreshSums(db(), sales, march(), {}), lb::OverflowError);
    EXPECT_THROW(KindSummary::group(db(), *dm().AQoutdetail, sales, march(), {}), lb::OverflowError);
}

TEST_F(KindSummaryTest, ARefillThatFailsLeavesTheWorkTablesAsTheyWere)
{
    postSale(QStringLiteral("0000000001"), QStringLiteral("2026-03-05"), {{flour, "面粉", 2, 10}});
    KindSummary::refreshSums(db(), config("Tfrouttotal"), march(), {});
    KindSummary::group(db(), *dm().AQoutdetail, config("Tfrouttotal"), march(), {});
    dm().AQoutdetail->close();
    // The sums row replaced (one row out, one in); the groups emptied (one row out, none in).
    EXPECT_EQ(2, failEachWrite([&] { KindSummary::refreshSums(db(), config("Tfrouttotal"), march(), {"0000000002", ""}); }));
    EXPECT_EQ(1, failEachWrite([&] { KindSummary::group(db(), *dm().AQoutdetail, config("Tfrouttotal"), march(), {"0000000002", ""}); }));
}
