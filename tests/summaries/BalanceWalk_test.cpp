// The running-balance refills without windows: customer and supplier summaries, statements and
// the cash/bank journal, their order, what they leave out, and refills that fail part-way.
#include "SummaryFixture.h"

#include "core/Tfrdm.h"
#include "platform/db/Query.h"
#include "summaries/BalanceCatalog.h"
#include "summaries/BalanceWalk.h"

using lb::documents::BillKind;
using lb::summaries::BalanceCatalog;
using lb::summaries::BalanceConfig;
using lb::summaries::BalanceRun;
using lb::summaries::BalanceWalk;
using lb::summaries::Period;

namespace {

class BalanceWalkTest : public SummaryFixture {
protected:
    void SetUp() override
    {
        SummaryFixture::SetUp();
        makeCustomer(customer, QStringLiteral("张三"), {{"rest", 100.0}});
        makeCustomer(QStringLiteral("0000000002"), QStringLiteral("李四"), {{"rest", 7.0}});
        makeSupplier(supplier, QStringLiteral("粮油公司"), {{"rest", 50.0}});
        makeAccount(QStringLiteral("0000000002"), QStringLiteral("工行"), {{"rest", 500.0}});
        exec(QStringLiteral("update bank set rest=1000 where id='0000000001'"));
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 1000.0}});
        rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 1000.0}});
    }

    static Period march() { return {QDate(2026, 3, 1), QDate(2026, 3, 31)}; }

    // Refills the window's tables for the partner and returns the rows it shows for the
    // period, each as the values of `columns` joined by "|".
    QStringList run(const char* key, const QString& code, const QString& columns, const Period& period = march())
    {
        const BalanceConfig config = BalanceCatalog::byKey(QLatin1String(key));
        const QString table = config.partyTable;
        BalanceRun partner;
        partner.code = code;
        partner.name = scalar(QStringLiteral("select name from %1 where id=:p1").arg(table), {code}).toString();
        partner.opening = number(QStringLiteral("select rest from %1 where id=:p1").arg(table), {code});
        partner.from = period.from;
        BalanceWalk::refill(db(), config.walk, partner);
        lb::db::Query shown(db());
        BalanceWalk::show(shown, config.walk, period);
        QStringList result;
        for (shown.first(); !shown.eof(); shown.next()) {
            QStringList values;
            for (const QString& column : columns.split(QLatin1Char(',')))
                values << shown.fieldByName(column).asString();
            result << values.join(QLatin1Char('|'));
        }
        return result;
    }

    const QString customer = QStringLiteral("0000000001");
    const QString supplier = QStringLiteral("0000000001");
    const QString cash = QStringLiteral("0000000001");
    QString flour;
    QString rice;
};

} // namespace

TEST_F(BalanceWalkTest, CustomerSummaryRunsFromTheOpeningBalanceThroughEveryLine)
{
    postSale(customer, QStringLiteral("2026-03-05"), {{flour, "面粉", 5, 10, 0, 5, 10}});
    writePosted(BillKind::SalesReturn, customer, QStringLiteral("2026-03-06"), {{flour, "面粉", 3, 10, 0, 2}});
    writePosted(BillKind::Receipt, customer, QStringLiteral("2026-03-07"), {{cash, "现金", 0, 8}});
    // An empty name reads as the empty text and an empty number as 0: the line is shown.
    exec(QStringLiteral("update outbackdetail set spmc=null, deduck=null, remark=null where spmc='面粉'"));

    EXPECT_EQ((QStringList{"2026-03-01|上期结余||0|0|0|100", "2026-03-05|面粉|销售单|50|5|10|135",
                           "2026-03-06||销售退货单|30|0|0|105", "2026-03-07|现金|收款单|8|0|0|97"}),
              run("Tfrcusttotal", customer, QStringLiteral("billdate,spmc,billname,amount,deduck,pay,rest")));
    // Texts the rule does not read are copied as they are.
    EXPECT_EQ(QStringLiteral("''|0|NULL"),
              row(QStringLiteral("select quote(spmc), deduck, quote(remark) from custtotal1 where billtype='05' and amount<>0")));
}

TEST_F(BalanceWalkTest, EarlierLinesMakeTheBalanceBroughtForwardAndOneDayRunsByKind)
{
    postSale(customer, QStringLiteral("2026-02-10"), {{flour, "面粉", 2, 10}});
    writePosted(BillKind::Receipt, customer, QStringLiteral("2026-03-01"), {{cash, "现金", 0, 5}});
    postSale(customer, QStringLiteral("2026-03-01"), {{rice, "大米", 1, 10}});
    postSale(customer, QStringLiteral("2026-04-01"), {{rice, "大米", 1, 1000}});
    postSale(QStringLiteral("0000000002"), QStringLiteral("2026-03-02"), {{rice, "大米", 1, 70}});
    makeOpenSale(customer, QStringLiteral("2026-03-03"), {{rice, "大米", 1, 300}});
    const QString reversed = postSale(customer, QStringLiteral("2026-03-04"), {{rice, "大米", 1, 400}});
    ASSERT_FALSE(lb::documents::DocumentPosting::reverse(db(), sales(), reversed, customer, cash).refused);

    // The sale of the first day comes before its receipt; carry-over lines are never shown.
    EXPECT_EQ((QStringList{"2026-03-01|上期结余|120", "2026-03-01|大米|130", "2026-03-01|现金|125"}),
              run("Tfrcusttotal", customer, QStringLiteral("billdate,spmc,rest")));
    // Every line of the year is in the walk table, the April sale after the period's.
    EXPECT_EQ(QStringLiteral("1125"), row(QStringLiteral("select rest from custtotal1 order by rowid desc limit 1")));
    // A period that ends before it starts shows nothing, not even the balance brought forward.
    EXPECT_TRUE(run("Tfrcusttotal", customer, QStringLiteral("rest"), {QDate(2026, 3, 31), QDate(2026, 3, 1)}).isEmpty());
    // A partner without lines: only the opening balance.
    makeCustomer(QStringLiteral("0000000003"), QStringLiteral("王五"), {{"rest", 7.0}});
    EXPECT_EQ((QStringList{"2026-03-01|上期结余|7"}), run("Tfrcusttotal", "0000000003", QStringLiteral("billdate,spmc,rest")));
}

TEST_F(BalanceWalkTest, SupplierSummaryTakesNoDeductionFromPurchasesAndNoPaymentFromReturns)
{
    writePosted(BillKind::Purchase, supplier, QStringLiteral("2026-03-05"), {{rice, "大米", 10, 3, 0, 7, 4}});
    writePosted(BillKind::PurchaseReturn, supplier, QStringLiteral("2026-03-06"), {{rice, "大米", 2, 3, 0, 1, 2}});
    writePosted(BillKind::Payment, supplier, QStringLiteral("2026-03-07"), {{cash, "现金", 0, 20, 0, 1}});

    EXPECT_EQ((QStringList{"上期结余|0|0|50", "大米|30|4|76", "大米|6|0|69", "现金|20|0|48"}),
              run("Tfrbrantotal", supplier, QStringLiteral("spmc,amount,pay,rest")));
}

TEST_F(BalanceWalkTest, StatementsPairTheBalanceBeforeAndAfterEachDocument)
{
    postSale(customer, QStringLiteral("2026-03-05"), {{flour, "面粉", 5, 10, 0, 5, 10}});
    writePosted(BillKind::SalesReturn, customer, QStringLiteral("2026-03-06"), {{flour, "面粉", 3, 10, 0, 2}});
    writePosted(BillKind::Receipt, customer, QStringLiteral("2026-03-07"), {{cash, "现金", 0, 8}});
    // A receipt shows its sum as paid.
    EXPECT_EQ((QStringList{"上期结余|2026-03-01|100|0|0|0|100", "销售单|2026-03-05|100|50|5|10|135",
                           "销售退货单|2026-03-06|135|30|2|0|103", "收款单|2026-03-07|103|0|0|8|95"}),
              run("Tfrcusttotalist", customer, QStringLiteral("billname,billdate,balance,amount,deduck,pay,rest")));

    writePosted(BillKind::Purchase, supplier, QStringLiteral("2026-03-05"), {{rice, "大米", 10, 3, 0, 0, 4}});
    writePosted(BillKind::Payment, supplier, QStringLiteral("2026-03-08"), {{cash, "现金", 0, 20, 0, 1}});
    EXPECT_EQ((QStringList{"上期结余|50|0|0|50", "进货单|50|30|4|76", "付款单|76|0|20|55"}),
              run("Tfrbrantotalist", supplier, QStringLiteral("billname,balance,amount,pay,rest")));
}

TEST_F(BalanceWalkTest, JournalRunsThroughSalesPaymentsAndReceiptsOfTheAccount)
{
    postSale(customer, QStringLiteral("2026-03-05"), {{flour, "面粉", 3, 100, 0, 0, 200}});
    writePosted(BillKind::Payment, supplier, QStringLiteral("2026-03-06"), {{cash, "现金", 0, 150}});
    writePosted(BillKind::Receipt, customer, QStringLiteral("2026-03-07"), {{cash, "现金", 0, 30}});

    EXPECT_EQ((QStringList{"0000000001|上期结余|0|0|1000", "0000000001|现金|200|0|1200", "0000000001|现金|0|150|1050",
                           "0000000001|现金|30|0|1080"}),
              run("Tfrbanktotal", cash, QStringLiteral("sphh,spmc,amount,pay,rest")));
}

TEST_F(BalanceWalkTest, JournalTakesDocumentPaymentsByTheAccountTheDocumentNames)
{
    const QString bank = QStringLiteral("0000000002");
    postSale(customer, QStringLiteral("2026-02-20"), {{flour, "面粉", 1, 100, 0, 0, 11}}, bank);
    postSale(customer, QStringLiteral("2026-03-05"), {{flour, "面粉", 1, 100, 0, 0, 70}}, bank);
    postSale(customer, QStringLiteral("2026-03-05"), {{flour, "面粉", 1, 100, 0, 0, 40}}, cash);
    writePosted(BillKind::Purchase, supplier, QStringLiteral("2026-03-06"), {{rice, "大米", 10, 3, 0, 0, 25}}, bank);
    writePosted(BillKind::Receipt, customer, QStringLiteral("2026-03-07"), {{cash, "现金", 0, 9}});

    // The account a document names is matched trimmed: blanks around it keep nothing out.
    exec(QStringLiteral("update outlist set bankid=' '||bankid"));
    exec(QStringLiteral("update inlist set bankid=bankid||'  '"));
    EXPECT_EQ((QStringList{"0000000002|上期结余|0|0|511", "0000000002|工行|70|0|581", "0000000002|工行|0|25|556"}),
              run("Tfrbanktotal", bank, QStringLiteral("sphh,spmc,amount,pay,rest")));
    EXPECT_EQ((QStringList{"1000", "1040", "1049"}), run("Tfrbanktotal", cash, QStringLiteral("rest")));
}

TEST_F(BalanceWalkTest, StoredCodesMatchTrimmedAndToTheLetterThroughTheirIndex)
{
    const QString code = QStringLiteral("A1");
    makeCustomer(code, QStringLiteral("王五"), {{"rest", 10.0}});
    postSale(code, QStringLiteral("2026-03-05"), {{flour, "面粉", 1, 10}});
    writePosted(BillKind::SalesReturn, code, QStringLiteral("2026-03-06"), {{flour, "面粉", 1, 3}});
    writePosted(BillKind::Receipt, code, QStringLiteral("2026-03-07"), {{cash, "现金", 0, 2}});
    postSale(code, QStringLiteral("2026-03-08"), {{rice, "大米", 1, 100}});
    // Codes stored with blanks around them count as the partner's; another case does not.
    for (const char* table : {"outlist", "outdetail"}) {
        exec(QStringLiteral("update %1 set customerid=' A1' where billdate='2026-03-05'").arg(QLatin1String(table)));
        exec(QStringLiteral("update %1 set customerid='a1' where billdate='2026-03-08'").arg(QLatin1String(table)));
    }
    exec(QStringLiteral("update outbacklist set customerid='A1  '"));
    exec(QStringLiteral("update outbackdetail set customerid='A1  '"));

    EXPECT_EQ((QStringList{"上期结余|10", "面粉|20", "面粉|17", "现金|15"}), run("Tfrcusttotal", code, QStringLiteral("spmc,rest")));
    EXPECT_EQ((QStringList{"上期结余|10", "销售单|20", "销售退货单|17", "收款单|15"}),
              run("Tfrcusttotalist", code, QStringLiteral("billname,rest")));
    for (const QString& key : BalanceCatalog::keys()) {
        for (const QString& gather : BalanceCatalog::byKey(key).walk.gathers) {
            const QString plan = queryPlan(gather);
            EXPECT_TRUE(!gather.contains(QLatin1String("trim(")) || plan.contains(QLatin1String("_trim_"))) << plan.toStdString();
        }
    }
}

// A balance that would run to the limit is no figure to show: the summary and the statement
// are refused and their tables keep what they held.
TEST_F(BalanceWalkTest, ABalanceRunBeyondTheLimitIsRefused)
{
    writePosted(BillKind::Sales, customer, QStringLiteral("2026-03-05"), {{flour, "面粉", 1, 2e13}});
    run("Tfrcusttotal", customer, QStringLiteral("rest"));
    run("Tfrcusttotalist", customer, QStringLiteral("rest"));
    const QString tables = QStringLiteral("select * from %1");
    QStringList before;
    for (const char* table : {"custtotal", "custtotal1", "totallist", "totallist1"})
        before += rows(tables.arg(QLatin1String(table)));
    exec(QStringLiteral("update customer set rest=8e13 where id=:p1"), {customer});
    EXPECT_THROW(run("Tfrcusttotal", customer, QStringLiteral("rest")), lb::OverflowError);
    EXPECT_THROW(run("Tfrcusttotalist", customer, QStringLiteral("rest")), lb::OverflowError);
    QStringList after;
    for (const char* table : {"custtotal", "custtotal1", "totallist", "totallist1"})
        after += rows(tables.arg(QLatin1String(table)));
    EXPECT_EQ(before, after);
}

TEST_F(BalanceWalkTest, ARefillThatFailsLeavesTheTablesAsTheyWere)
{
    postSale(customer, QStringLiteral("2026-03-05"), {{flour, "面粉", 5, 10, 0, 5, 10}});
    writePosted(BillKind::Receipt, customer, QStringLiteral("2026-03-07"), {{cash, "现金", 0, 8}});
    run("Tfrcusttotal", QStringLiteral("0000000002"), QStringLiteral("rest"));
    const BalanceConfig config = BalanceCatalog::byKey(QStringLiteral("Tfrcusttotal"));
    const BalanceRun partner{customer, QStringLiteral("张三"), 100, QDate(2026, 3, 1)};
    // One row out of each table; the seed, two sales lines and two receipt lines (carry-over
    // lines included) in, then the same five in order.
    EXPECT_EQ(12, failEachWrite([&] { BalanceWalk::refill(db(), config.walk, partner); }));
}
