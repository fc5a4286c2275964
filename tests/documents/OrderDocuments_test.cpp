// Purchase orders without windows: a new order, its recalculation, posting that moves nothing, copying and failures.
#include "documents/DocumentFixture.h"

using lb::documents::BillKind;
using lb::documents::DocumentEditing;
using lb::documents::DocumentKind;
using lb::documents::DocumentKinds;
using lb::documents::DocumentPosting;
using lb::documents::Outcome;

namespace {

class OrderDocumentsTest : public DocumentFixture {
protected:
    void SetUp() override
    {
        DocumentFixture::SetUp();
        makeSupplier(QStringLiteral("S001"), QStringLiteral("粮油公司"), {{"balance", 100.0}});
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 50.0}, {"spgg", QStringLiteral("25kg")}, {"barcode", QStringLiteral("6901")}});
        rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 20.0}});
    }

    static const DocumentKind& order() { return DocumentKinds::of(BillKind::PurchaseOrder); }

    // 2 packs of 12 and a box of 5 flour at 2.5 with 10 paid ahead, and a pack of 6 rice at 4.
    QString makeOrder(const QString& supplier = QStringLiteral("S001"))
    {
        return makeDocument(order(), supplier,
                            {{{"spintno", flour}, {"sphh", "A01"}, {"spmc", QStringLiteral("面粉")}, {"js", 2}, {"sl_j", 12}, {"ss", 1},
                              {"sl_s", 5}, {"dj_w", 2.5}, {"pay", 10}, {"remark", QStringLiteral("加急")}},
                             {{"spintno", rice}, {"sphh", "B01"}, {"spmc", QStringLiteral("大米")}, {"js", 1}, {"sl_j", 6}, {"dj_w", 4}}});
    }

    QString flour;
    QString rice;
};

} // namespace

TEST_F(OrderDocumentsTest, ANewOrderHasOneBlankLineAndTheCashAccountButNoCarryOverLine)
{
    const QString intno = DocumentPosting::create(db(), order(), QString());
    EXPECT_EQ(QStringLiteral("0000000001|False|2026-06-15|0000000001|现金"),
              row(QStringLiteral("select intno, pass, billdate, bankid, bankname from dhlist")));
    EXPECT_EQ(QStringList{QStringLiteral("0000000001|0000000001|")}, rows(QStringLiteral("select intno, mainintno, spmc from dhdetail")));
}

TEST_F(OrderDocumentsTest, TheRecalculationRunsFromTheSuppliersBalanceThroughPacksAndBoxes)
{
    const QString intno = makeOrder();
    EXPECT_EQ((QStringList{QStringLiteral("24|72.5|162.5"), QStringLiteral("6|24|186.5")}),
              rows(QStringLiteral("select sl, amount, rest from dhdetail where mainintno=:p1 order by intno"), {intno}));
    EXPECT_EQ(QStringLiteral("100|96.5|10|3|35|186.5|订货商品:面粉、大米|0000000001"),
              row(QStringLiteral("select balance, amount, pay, hjjs, hjsl, rest, remark, bankid from dhlist where intno=:p1"), {intno}));

    // A supplier code that names no row leaves the stored balance to start from.
    exec(QStringLiteral("update dhlist set balance=40"));
    recalculate(order(), intno, QStringLiteral("S009"));
    EXPECT_EQ(QStringLiteral("40|126.5|S009"), row(QStringLiteral("select balance, rest, customerid from dhlist where intno=:p1"), {intno}));
}

TEST_F(OrderDocumentsTest, TheCodeEntryFindsAProductByCodeOrSpecificationButNotByBarcode)
{
    auto found = [&](const char* code) {
        const auto product = DocumentEditing::findProduct(db(), order(), QString::fromUtf8(code));
        return product ? product->fieldByName(QStringLiteral("intno")).asString() : QStringLiteral("none");
    };
    EXPECT_EQ(flour, found("A01"));
    EXPECT_EQ(flour, found("25kg"));
    EXPECT_EQ(QStringLiteral("none"), found("6901"));
    EXPECT_EQ(QStringLiteral("none"), found("25KG"));
}

TEST_F(OrderDocumentsTest, PostingMarksTheOrderAndItsLinesAndMovesNothing)
{
    struct Refusal {
        const char* title;
        std::function<QString()> make;
        QString supplier;
        QString message;
    };
    const QString posted = makeOrder();
    const QStringList before = everyTable();
    ASSERT_FALSE(DocumentPosting::post(db(), order(), posted, QStringLiteral("S001"), QString()).refused);
    QStringList changed = everyTable();
    for (const QString& line : before)
        changed.removeOne(line);
    // Only the order's own header and lines were written.
    EXPECT_EQ(3, changed.size());
    for (const QString& line : changed)
        EXPECT_TRUE(line.startsWith(QLatin1String("dhlist|")) || line.startsWith(QLatin1String("dhdetail|"))) << line.toStdString();
    EXPECT_EQ(QStringList{QStringLiteral("True|订货单|03|2026-06-15|S001|粮油公司|0000000001")},
              rows(QStringLiteral("select distinct pass, billname, billtype, billdate, customerid, customername, bankid from dhdetail")));

    const std::vector<Refusal> refusals = {
        {"posted already", [&] { return posted; }, "S001", QStringLiteral("该单据已过帐,不能再过帐！")},
        {"supplier 0", [&] { return makeOrder(); }, " 0 ", QStringLiteral("没有选取供应商,不能过帐！")},
        {"no supplier", [&] { return makeOrder(); }, "", QStringLiteral("没有选取供应商,不能过帐！")},
        {"unknown supplier", [&] { return makeOrder(); }, "0000000000", QStringLiteral("查无此供应商号！")},
        {"nameless line",
         [&] { return makeDocument(order(), QStringLiteral("S001"), {{{"spmc", QStringLiteral("面粉")}}, {{"js", 1}}}); }, "S001",
         QStringLiteral("没有商品名,不能过帐！")},
    };
    for (const Refusal& refusal : refusals) {
        const QString intno = refusal.make();
        const QStringList unchanged = everyTable();
        const Outcome outcome = DocumentPosting::post(db(), order(), intno, refusal.supplier, QString());
        EXPECT_TRUE(outcome.refused) << refusal.title;
        EXPECT_EQ(refusal.message, outcome.message) << refusal.title;
        EXPECT_EQ(unchanged, everyTable()) << refusal.title;
    }
}

TEST_F(OrderDocumentsTest, ACopyIsANewOpenOrderOfTodayWithEveryLineAndTheSourceStaysAsItWas)
{
    const QString source = makeOrder();
    ASSERT_FALSE(DocumentPosting::post(db(), order(), source, QStringLiteral("S001"), QString()).refused);
    const QStringList sourceRows = rows(QStringLiteral("select * from dhdetail where mainintno=:p1 order by intno"), {source});
    lb::Clock::set(QDateTime(QDate(2026, 7, 1), QTime(9, 0)));

    const QString copy = DocumentPosting::copy(db(), order(), source,
                                               {QStringLiteral("S001"), QStringLiteral("粮油公司"), QStringLiteral("李四"), QStringLiteral("备货"),
                                                QString(), QStringLiteral("0000000001"), QStringLiteral("王五")});
    EXPECT_EQ(QStringLiteral("0000000002"), copy);
    EXPECT_EQ(QStringLiteral("False|2026-07-01|S001|粮油公司|李四|备货|0000000001|王五"),
              row(QStringLiteral("select pass, billdate, customerid, customername, persondeal, remark, bankid, employeename from dhlist"
                                 " where intno=:p1"),
                  {copy}));
    EXPECT_EQ((QStringList{QStringLiteral("0000000003|A01|面粉|加急|2.5|2|24|12|10|0|False"),
                           QStringLiteral("0000000004|B01|大米||4|1|6|6|0|0|False")}),
              rows(QStringLiteral("select intno, sphh, spmc, remark, dj_w, js, sl, sl_j, pay, amount, pass from dhdetail"
                                  " where mainintno=:p1 order by intno"),
                   {copy}));
    EXPECT_EQ(sourceRows, rows(QStringLiteral("select * from dhdetail where mainintno=:p1 order by intno"), {source}));
}

TEST_F(OrderDocumentsTest, AFailingWriteAnywhereLeavesEveryTableAsItWas)
{
    const QString posted = makeOrder();
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::post(db(), order(), posted, QStringLiteral("S001"), QString()).refused); }), 2);
    EXPECT_GE(failEachWrite([&] { DocumentPosting::copy(db(), order(), posted, {}); }), 3);
    EXPECT_GE(failEachWrite([&] { (void)DocumentPosting::voidDocument(db(), order(), posted, false); }), 2);
}
