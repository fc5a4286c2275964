// Sales and purchase returns without windows: recalculation, the stock checks of posting and reversal, refusals and failures.
#include "documents/DocumentFixture.h"

using lb::documents::BillKind;
using lb::documents::DocumentKind;
using lb::documents::DocumentKinds;
using lb::documents::DocumentPosting;
using lb::documents::Outcome;

namespace {

class ReturnDocumentsTest : public DocumentFixture {
protected:
    void SetUp() override
    {
        DocumentFixture::SetUp();
        makeCustomer(QStringLiteral("C001"), QStringLiteral("张三"), {{"balance", 500.0}, {"amount", 900.0}, {"amount_y", 3000.0}});
        makeSupplier(QStringLiteral("S001"), QStringLiteral("粮油公司"), {{"balance", 1000.0}, {"amount", 2000.0}, {"amount_y", 5000.0}});
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 50.0}, {"sl_s", 5.0}, {"sl_out_m", 8.0}, {"sl_in_m", 60.0}});
        rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 2.0}, {"sl_s", 1.0}});
    }

    static const DocumentKind& salesReturn() { return DocumentKinds::of(BillKind::SalesReturn); }
    static const DocumentKind& purchaseReturn() { return DocumentKinds::of(BillKind::PurchaseReturn); }

    Values line(const QString& product, const QString& name, double sl, const char* priceColumn, double price)
    {
        const QString code = scalar(QStringLiteral("select sphh from product where intno=:p1"), {product}).toString();
        return {{"spintno", product}, {"sphh", code}, {"spmc", name}, {"sl", sl}, {QString::fromLatin1(priceColumn), price}};
    }

    // The customer brings back 2 × 30 of flour and 1 × 40 of rice on a balance of 500.
    QString makeSalesReturn()
    {
        return makeDocument(salesReturn(), QStringLiteral("C001"),
                            {line(flour, QStringLiteral("面粉"), 2, "dj_n", 30), line(rice, QStringLiteral("大米"), 1, "dj_n", 40)});
    }

    // 3 × 50 of flour and 2 × 25 of rice go back to the supplier, owed 1000.
    QString makePurchaseReturn(double riceQuantity = 2)
    {
        return makeDocument(purchaseReturn(), QStringLiteral("S001"),
                            {line(flour, QStringLiteral("面粉"), 3, "dj_w", 50), line(rice, QStringLiteral("大米"), riceQuantity, "dj_w", 25)});
    }

    QString flour;
    QString rice;
};

} // namespace

TEST_F(ReturnDocumentsTest, TheRecalculationCountsTheReturnDownFromThePartysBalance)
{
    struct Case {
        const DocumentKind& kind;
        std::function<QString()> make;
        QString lineRests;
        QString header; // amount, rest, balance, hjsl, hjjs, hjss, deduck, remark
    };
    const std::vector<Case> cases = {
        // A sales return stores no deduction; a purchase return stores 0 and leaves the boxes.
        {salesReturn(), [&] { return makeSalesReturn(); }, "500|440|400", "100|400|500|3|0|0|9|退货商品:面粉、大米"},
        {purchaseReturn(), [&] { return makePurchaseReturn(); }, "1000|850|800", "200|800|1000|5|0|7|0|退货商品:面粉、大米"},
    };
    for (const Case& c : cases) {
        // Packs and boxes on the lines never reach the totals these kinds keep at 0.
        const QString intno = c.make();
        exec(QStringLiteral("update %1 set js=4, ss=3 where mainintno=:p1").arg(c.kind.lineTable), {intno});
        exec(QStringLiteral("update %1 set deduck=9, hjss=7, hjjs=6 where intno=:p1").arg(c.kind.headerTable), {intno});
        recalculate(c.kind, intno, c.kind.partyTable == QLatin1String("customer") ? QStringLiteral("C001") : QStringLiteral("S001"));
        EXPECT_EQ(c.lineRests, rows(QStringLiteral("select rest from %1 where mainintno=:p1 order by intno").arg(c.kind.lineTable), {intno})
                                   .join(QLatin1Char('|')))
            << c.kind.billname.toStdString();
        EXPECT_EQ(c.header, row(QStringLiteral("select amount, rest, balance, hjsl, hjjs, hjss, deduck, remark from %1 where intno=:p1")
                                    .arg(c.kind.headerTable),
                                {intno}))
            << c.kind.billname.toStdString();
    }
}

TEST_F(ReturnDocumentsTest, PostingSetsThePartysBalanceToTheDocumentsRest)
{
    ASSERT_FALSE(DocumentPosting::post(db(), salesReturn(), makeSalesReturn(), QStringLiteral("C001"), QString()).refused);
    EXPECT_EQ(QStringLiteral("400|800|2900"), row(QStringLiteral("select balance, amount, amount_y from customer where id='C001'")));
    EXPECT_EQ(QStringLiteral("52|6"), row(QStringLiteral("select sl, sl_out_m from product where intno=:p1"), {flour}));

    ASSERT_FALSE(DocumentPosting::post(db(), purchaseReturn(), makePurchaseReturn(), QStringLiteral("S001"), QString()).refused);
    EXPECT_EQ(QStringLiteral("800|1800|4800"), row(QStringLiteral("select balance, amount, amount_y from branch where id='S001'")));
    EXPECT_EQ(QStringLiteral("49|57"), row(QStringLiteral("select sl, sl_in_m from product where intno=:p1"), {flour}));
    EXPECT_EQ(QStringLiteral("1"), row(QStringLiteral("select sl from product where intno=:p1"), {rice}));
}

TEST_F(ReturnDocumentsTest, RefusalsNameTheirReasonAndLeaveEveryTableUnchanged)
{
    struct Refusal {
        const char* title;
        const DocumentKind& kind;
        std::function<QString()> make;
        QString party;
        QString message;
    };
    const std::vector<Refusal> refusals = {
        {"sales return without customer", salesReturn(), [&] { return makeSalesReturn(); }, "0000000000",
         QStringLiteral("没有选取客户,不能过帐！")},
        {"unknown customer", salesReturn(), [&] { return makeSalesReturn(); }, "C009", QStringLiteral("查无此客户号！")},
        {"nameless line", salesReturn(),
         [&] { return makeDocument(salesReturn(), QStringLiteral("C001"), {line(flour, QString(), 1, "dj_n", 1)}); }, "C001",
         QStringLiteral("没有商品名,不能过帐！")},
        {"purchase return without supplier", purchaseReturn(), [&] { return makePurchaseReturn(); }, " ",
         QStringLiteral("没有选取供应商,不能过帐！")},
        {"unknown supplier", purchaseReturn(), [&] { return makePurchaseReturn(); }, "S009", QStringLiteral("查无此供应商号！")},
        {"more than in stock", purchaseReturn(), [&] { return makePurchaseReturn(3); }, "S001", QStringLiteral("大米的库存数量不足！")},
        // Each line alone is within the stock of 2; together they would leave -1.
        {"two lines of one product", purchaseReturn(),
         [&] {
             return makeDocument(purchaseReturn(), QStringLiteral("S001"),
                                 {line(rice, QStringLiteral("大米"), 2, "dj_w", 1), line(rice, QStringLiteral(" 大米 "), 1, "dj_w", 1)});
         },
         "S001", QStringLiteral("大米的库存数量不足！")},
        // Nothing can be sent back out of the stock of a product that no longer exists.
        {"product gone", purchaseReturn(),
         [&] {
             const QString intno = makePurchaseReturn(1);
             exec(QStringLiteral("delete from product where intno=:p1"), {flour});
             return intno;
         },
         "S001", QStringLiteral("面粉的库存数量不足！")},
    };
    for (const Refusal& refusal : refusals) {
        const QString intno = refusal.make();
        const QStringList before = everyTable();
        const Outcome outcome = DocumentPosting::post(db(), refusal.kind, intno, refusal.party, QString());
        EXPECT_TRUE(outcome.refused) << refusal.title;
        EXPECT_EQ(refusal.message, outcome.message) << refusal.title;
        EXPECT_EQ(before, everyTable()) << refusal.title;
    }
}

TEST_F(ReturnDocumentsTest, ReversalRefusesAReturnWhoseGoodsHaveLeftTheStockAgain)
{
    const QString returned = makeSalesReturn();
    ASSERT_FALSE(DocumentPosting::post(db(), salesReturn(), returned, QStringLiteral("C001"), QString()).refused);
    exec(QStringLiteral("update product set sl=0 where intno=:p1"), {rice}); // sold again since

    const QStringList before = everyTable();
    const Outcome refused = DocumentPosting::reverse(db(), salesReturn(), returned, QStringLiteral("C001"), QString());
    EXPECT_EQ(QStringLiteral("大米的库存数量不足！"), refused.message);
    EXPECT_EQ(before, everyTable());

    exec(QStringLiteral("update product set sl=1 where intno=:p1"), {rice});
    const Outcome unknown = DocumentPosting::reverse(db(), salesReturn(), returned, QStringLiteral("C009"), QString());
    EXPECT_EQ(QStringLiteral("查无此客户号,不能冲数！"), unknown.message);

    const QString sentBack = makePurchaseReturn(1);
    ASSERT_FALSE(DocumentPosting::post(db(), purchaseReturn(), sentBack, QStringLiteral("S001"), QString()).refused);
    EXPECT_EQ(QStringLiteral("查无此供应商号,不能冲数！"),
              DocumentPosting::reverse(db(), purchaseReturn(), sentBack, QStringLiteral("S009"), QString()).message);
    // A payment to the supplier after the return stays counted.
    exec(QStringLiteral("update branch set balance=balance-50 where id='S001'"));
    ASSERT_FALSE(DocumentPosting::reverse(db(), purchaseReturn(), sentBack, QStringLiteral("S001"), QString()).refused);
    EXPECT_EQ(950, number(QStringLiteral("select balance from branch where id='S001'")));
}

TEST_F(ReturnDocumentsTest, StockOnlyBookingOfAPurchaseReturnChecksNoStockButWarnsBelowTheLowerLimit)
{
    const QString intno = makePurchaseReturn(3);
    const Outcome booked = DocumentPosting::book(db(), purchaseReturn(), intno, QStringLiteral("S001"));
    ASSERT_FALSE(booked.refused) << booked.message.toStdString();
    EXPECT_EQ(QStringList{QStringLiteral("B01大米库存缺货！")}, booked.notices);
    EXPECT_EQ(-1, number(QStringLiteral("select sl from product where intno=:p1"), {rice}));
    // Booking moves only the stock.
    EXPECT_EQ(QStringLiteral("1000|2000|60"),
              row(QStringLiteral("select balance, amount, (select sl_in_m from product where sphh='A01') from branch where id='S001'")));
}

TEST_F(ReturnDocumentsTest, AFailingWriteAnywhereLeavesEveryTableAsItWas)
{
    for (const DocumentKind* kind : {&salesReturn(), &purchaseReturn()}) {
        const QString party = kind->partyTable == QLatin1String("customer") ? QStringLiteral("C001") : QStringLiteral("S001");
        auto make = [&] { return kind->kind == BillKind::SalesReturn ? makeSalesReturn() : makePurchaseReturn(1); };
        const QString posted = make();
        EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::post(db(), *kind, posted, party, QString()).refused); }), 4);
        EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::reverse(db(), *kind, posted, party, QString()).refused); }), 4);
        const QString booked = make();
        EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::book(db(), *kind, booked, party).refused); }), 3);
        EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::unbook(db(), *kind, booked, party).refused); }), 3);
        const QString voided = make();
        ASSERT_FALSE(DocumentPosting::book(db(), *kind, voided, party).refused);
        EXPECT_GE(failEachWrite([&] { (void)DocumentPosting::voidDocument(db(), *kind, voided, true); }), 3);
        EXPECT_EQ(0, number(QStringLiteral("select count(*) from %1 where mainintno=:p1").arg(kind->lineTable), {voided}));
    }
}
