// Purchase documents without windows: recalculation in packs and boxes, posting, booking, reversal, voiding, copying.
#include "documents/DocumentFixture.h"

using lb::documents::DocumentPosting;
using lb::documents::Outcome;

namespace {

// One product line of a test purchase.
struct Bought {
    QString product; // intno; empty: a line without product
    QString spmc;
    double js = 0;   // packs
    double sl_j = 0; // quantity per pack
    double dj_w = 0;
    double pay = 0;
    double ss = 0;   // boxes
    double sl_s = 0; // quantity per box
};

class PurchaseDocumentsTest : public DocumentFixture {
protected:
    void SetUp() override
    {
        DocumentFixture::SetUp();
        makeSupplier(QStringLiteral("S001"), QStringLiteral("粮油公司"),
                     {{"balance", 100.0}, {"amount", 10.0}, {"pay", 3.0}, {"deduck", 1.0}, {"amount_y", 50.0}, {"pay_y", 30.0},
                      {"persondeal", QStringLiteral("老王")}, {"tel", "8801"}, {"addr", QStringLiteral("南街5号")}});
        exec(QStringLiteral("update bank set balance=1000, pay=7, pay_y=70 where id='0000000001'"));
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 10.0}, {"sl_in_m", 1.0}, {"sl_in_y", 5.0}});
        rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 20.0}});
    }

    QString makePurchase(const std::vector<Bought>& lines, const QString& supplier = QStringLiteral("S001"),
                         const QString& account = QStringLiteral("0000000001"))
    {
        std::vector<Values> rows;
        for (const Bought& line : lines) {
            const QString code = scalar(QStringLiteral("select sphh from product where intno=:p1"), {line.product}).toString();
            rows.push_back({{"spintno", line.product}, {"sphh", code}, {"spmc", line.spmc}, {"js", line.js}, {"sl_j", line.sl_j},
                            {"dj_w", line.dj_w}, {"pay", line.pay}, {"ss", line.ss}, {"sl_s", line.sl_s}, {"dj_n", 99.0}});
        }
        return makeDocument(purchase(), supplier, rows, account);
    }

    // Three packs of twelve flour at 2.5, 50 paid: 90 bought, the supplier then owed 140.
    QString makeOrdinaryPurchase() { return makePurchase({{flour, QStringLiteral("面粉"), 3, 12, 2.5, 50}}); }

    Outcome post(const QString& intno, const QString& supplier = QStringLiteral("S001"),
                 const QString& account = QStringLiteral("0000000001"))
    {
        return DocumentPosting::post(db(), purchase(), intno, supplier, account);
    }

    QString flour;
    QString rice;
};

} // namespace

TEST_F(PurchaseDocumentsTest, TheRecalculationStoresQuantitiesAmountsTheSupplierBalanceAndTheBoxes)
{
    const QString intno = makeOrdinaryPurchase();
    EXPECT_EQ((QStringList{QStringLiteral("上期结转|0|100|100"), QStringLiteral("面粉|36|90|140")}),
              rows(QStringLiteral("select spmc, sl, amount, rest from indetail where mainintno=:p1 order by intno"), {intno}));
    EXPECT_EQ(QStringLiteral("100|90|50|140|3|36|进货商品:面粉|S001|粮油公司|老王|8801|南街5号|0000000001"),
              row(QStringLiteral("select balance, amount, pay, rest, hjjs, hjsl, remark, customerid, customername, persondeal, tel, addr,"
                                 " bankid from inlist where intno=:p1"),
                  {intno}));

    // Two loose boxes of ten are paid for and counted, but only the packs go into stock.
    exec(QStringLiteral("update indetail set ss=2, sl_s=10 where spmc='面粉'"));
    exec(QStringLiteral("update inlist set deduck=7, hjss=9"));
    recalculate(purchase(), intno, QStringLiteral("S001"));
    EXPECT_EQ(QStringLiteral("36|140|190"), row(QStringLiteral("select sl, amount, rest from indetail where spmc='面粉'")));
    // A purchase keeps no deduction or box count of its own in the header.
    EXPECT_EQ(QStringLiteral("140|56|190|7|9"), row(QStringLiteral("select amount, hjsl, rest, deduck, hjss from inlist")));
}

TEST_F(PurchaseDocumentsTest, AnUnknownSupplierCodeIsStoredAsTypedWithTheNameBoxAndTheCarryOverKeptAsItWas)
{
    const QString intno = makeOrdinaryPurchase();
    lb::db::Query header(db());
    header.sql().add(QStringLiteral("select * from inlist"));
    header.open();
    lb::db::Query lines(db());
    lines.sql().add(QStringLiteral("select * from indetail order by intno"));
    lines.open();
    lb::documents::HeaderBoxes boxes;
    boxes.partyCode = QStringLiteral("s001");
    boxes.partyName = QStringLiteral("手写的名字");
    boxes.persondeal = QStringLiteral("小李");
    boxes.billdate = QStringLiteral("2026-06-01");
    boxes.bankid = QStringLiteral("0000000001");
    boxes.employeename = QStringLiteral("王五");
    exec(QStringLiteral("update branch set balance=500"));
    const auto result = lb::documents::DocumentEditing::recalculate(purchase(), intno, header, lines, boxes);
    EXPECT_FALSE(result.party);
    EXPECT_EQ(QStringLiteral("s001|手写的名字|小李|王五|2026-06-01|100|140"),
              row(QStringLiteral("select customerid, customername, persondeal, employeename, billdate, balance, rest from inlist")));
}

TEST_F(PurchaseDocumentsTest, TheCodeEntryFillsOnePackWhoseQuantityTheRecalculationWorksOut)
{
    const QString cola = makeProduct(QStringLiteral("K01"), QStringLiteral("可乐"),
                                     {{"barcode", "6901"}, {"spgg", "2L"}, {"spbs", QStringLiteral("瓶")}, {"sl_j", 6.0}, {"sl_s", 24.0},
                                      {"dj_n", 5.0}, {"dj_w", 3.5}});
    const QString intno = makePurchase({{flour, QStringLiteral("面粉"), 3, 12, 2.5, 50, 2, 10}});
    lb::db::Query header(db());
    header.sql().add(QStringLiteral("select * from inlist"));
    header.open();
    lb::db::Query lines(db());
    lines.sql().add(QStringLiteral("select * from indetail order by intno"));
    lines.open();
    lines.last(); // the code entry overwrites the last line, whatever it holds

    auto product = lb::documents::DocumentEditing::findProduct(db(), purchase(), QStringLiteral("6901"));
    ASSERT_TRUE(product);
    lb::documents::DocumentEditing::fillFromProduct(purchase(), lines, *product);
    EXPECT_EQ(cola + QStringLiteral("|K01|可乐|2L|瓶|1|6|0|24|0|5|3.5|50"),
              row(QStringLiteral("select spintno, sphh, spmc, spgg, unit, js, sl_j, ss, sl_s, sl, dj_n, dj_w, pay from indetail"
                                 " where intno='0000000002'")));

    lb::documents::HeaderBoxes boxes;
    boxes.partyCode = QStringLiteral("S001");
    boxes.billdate = QStringLiteral("2026-06-15");
    lb::documents::DocumentEditing::recalculate(purchase(), intno, header, lines, boxes);
    EXPECT_EQ(QStringLiteral("6|21|71"), row(QStringLiteral("select sl, amount, rest from indetail where intno='0000000002'")));
}

TEST_F(PurchaseDocumentsTest, PostingRaisesStockAndTheSupplierAndPaysFromTheAccount)
{
    const QString intno = makePurchase({{flour, QStringLiteral("面粉"), 2, 6, 1.5, 10, 4, 5}, {rice, QStringLiteral("大米"), 3, 12, 2.5, 40}});
    EXPECT_EQ(188, number(QStringLiteral("select rest from inlist"))); // 100 + (32 × 1.5 + 36 × 2.5) - 50

    const Outcome outcome = post(intno);
    EXPECT_FALSE(outcome.refused) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.notices.isEmpty());
    // The supplier owes the document's closing balance; the month and year take its totals.
    EXPECT_EQ(QStringLiteral("188|148|53|1|188|80"),
              row(QStringLiteral("select balance, amount, pay, deduck, amount_y, pay_y from branch where id='S001'")));
    EXPECT_EQ(QStringLiteral("950|57|120|0"), row(QStringLiteral("select balance, pay, pay_y, amount from bank where id='0000000001'")));
    // Each line's packs go into stock, whatever its boxes.
    EXPECT_EQ(QStringLiteral("22|13|17"), row(QStringLiteral("select sl, sl_in_m, sl_in_y from product where intno=:p1"), {flour}));
    EXPECT_EQ(QStringLiteral("56|36|36"), row(QStringLiteral("select sl, sl_in_m, sl_in_y from product where intno=:p1"), {rice}));
    EXPECT_EQ(QStringLiteral("True|False|进货单|02"), row(QStringLiteral("select pass, cancel, billname, billtype from inlist")));
    EXPECT_EQ(QStringList({QStringLiteral("True|进货单|02|2026-06-15|S001|粮油公司|0000000001")}),
              rows(QStringLiteral("select distinct pass, billname, billtype, billdate, customerid, customername, bankid from indetail")));
}

TEST_F(PurchaseDocumentsTest, RefusedPostingsNameTheirReasonAndLeaveEveryTableUnchanged)
{
    struct Refusal {
        const char* title;
        std::function<QString()> make;
        QString supplier;
        QString account;
        QString message;
    };
    const QString posted = makeOrdinaryPurchase();
    ASSERT_FALSE(post(posted).refused);
    const std::vector<Refusal> refusals = {
        {"posted already", [&] { return posted; }, "S001", "0000000001", QStringLiteral("该单据已过帐,不能再过帐！")},
        {"no supplier", [&] { return makeOrdinaryPurchase(); }, " ", "0000000001", QStringLiteral("没有选取供应商,不能过帐！")},
        {"supplier zero", [&] { return makeOrdinaryPurchase(); }, "0000000000", "0000000001", QStringLiteral("没有选取供应商,不能过帐！")},
        {"nameless line",
         [&] { return makePurchase({{flour, QStringLiteral("面粉"), 1, 1, 1}, {QString(), QString()}, {rice, QStringLiteral("大米"), 1, 1, 1}}); },
         "S001", "0000000001", QStringLiteral("没有商品名,不能过帐！")},
        {"unknown supplier", [&] { return makeOrdinaryPurchase(); }, "S002", "0000000001", QStringLiteral("查无此供应商号！")},
        {"supplier code as customer", [&] { return makeOrdinaryPurchase(); }, "C001", "0000000001", QStringLiteral("查无此供应商号！")},
        {"payment from no account", [&] { return makeOrdinaryPurchase(); }, "S001", "0000000009", QStringLiteral("查无此银行编号！")},
    };
    makeCustomer(QStringLiteral("C001"), QStringLiteral("客户"));
    for (const Refusal& refusal : refusals) {
        const QString intno = refusal.make();
        const QStringList before = everyTable();
        const Outcome outcome = post(intno, refusal.supplier, refusal.account);
        EXPECT_TRUE(outcome.refused) << refusal.title;
        EXPECT_EQ(refusal.message, outcome.message) << refusal.title;
        EXPECT_EQ(before, everyTable()) << refusal.title;
    }

    // Nothing paid: an unknown account moves no money and the purchase posts with a notice.
    const QString unpaid = makePurchase({{flour, QStringLiteral("面粉"), 1, 12, 2}});
    const QStringList banks = column(QStringLiteral("select balance||'/'||pay from bank"));
    const Outcome outcome = post(unpaid, QStringLiteral("S001"), QStringLiteral("0000000009"));
    EXPECT_FALSE(outcome.refused);
    EXPECT_EQ(QStringList({QStringLiteral("查无此银行编号！")}), outcome.notices);
    EXPECT_EQ(banks, column(QStringLiteral("select balance||'/'||pay from bank")));
    EXPECT_EQ(QStringLiteral("True"), row(QStringLiteral("select pass from inlist where intno=:p1"), {unpaid}));
}

TEST_F(PurchaseDocumentsTest, BookingMovesOnlyTheStockAndASecondBookingIsRefused)
{
    const QString intno = makeOrdinaryPurchase();
    const QStringList suppliers = column(QStringLiteral("select balance||'/'||amount||'/'||pay from branch"));
    const QStringList banks = column(QStringLiteral("select balance||'/'||pay from bank"));

    const Outcome booked = DocumentPosting::book(db(), purchase(), intno, QStringLiteral("S001"));
    EXPECT_FALSE(booked.refused);
    EXPECT_EQ(QStringLiteral("46|1|5"), row(QStringLiteral("select sl, sl_in_m, sl_in_y from product where intno=:p1"), {flour}));
    EXPECT_EQ(suppliers, column(QStringLiteral("select balance||'/'||amount||'/'||pay from branch")));
    EXPECT_EQ(banks, column(QStringLiteral("select balance||'/'||pay from bank")));
    EXPECT_EQ(QStringList({QStringLiteral("True|进货单|02|S001|0000000001")}),
              rows(QStringLiteral("select distinct pass, billname, billtype, customerid, bankid from indetail")));

    const QStringList before = everyTable();
    EXPECT_EQ(QStringLiteral("该单据已记帐,不能再记帐！"), DocumentPosting::book(db(), purchase(), intno, QStringLiteral("S001")).message);
    EXPECT_EQ(before, everyTable());

    EXPECT_FALSE(DocumentPosting::unbook(db(), purchase(), intno, QStringLiteral("S001")).refused);
    EXPECT_EQ(10, number(QStringLiteral("select sl from product where intno=:p1"), {flour}));
}

TEST_F(PurchaseDocumentsTest, ReversalTakesBackEveryEffectUnlessTheGoodsHaveBeenSold)
{
    const QString intno = makeOrdinaryPurchase();
    const QStringList start = column(QStringLiteral("select balance||'/'||amount||'/'||pay||'/'||amount_y||'/'||pay_y from branch"));
    ASSERT_FALSE(post(intno).refused);

    // 36 came in; with only 35 left, taking them out again is refused.
    exec(QStringLiteral("update product set sl=35 where intno=:p1"), {flour});
    const QStringList before = everyTable();
    const Outcome refused = DocumentPosting::reverse(db(), purchase(), intno, QStringLiteral("S001"), QStringLiteral("0000000001"));
    EXPECT_EQ(QStringLiteral("面粉的库存数量不足！"), refused.message);
    EXPECT_EQ(before, everyTable());

    exec(QStringLiteral("update product set sl=46 where intno=:p1"), {flour});
    EXPECT_EQ(QStringLiteral("查无此供应商号,不能冲数！"),
              DocumentPosting::reverse(db(), purchase(), intno, QStringLiteral("S9"), QStringLiteral("0000000001")).message);
    EXPECT_FALSE(DocumentPosting::reverse(db(), purchase(), intno, QStringLiteral("S001"), QStringLiteral("0000000001")).refused);
    EXPECT_EQ(start, column(QStringLiteral("select balance||'/'||amount||'/'||pay||'/'||amount_y||'/'||pay_y from branch")));
    EXPECT_EQ(QStringLiteral("1000|7|70"), row(QStringLiteral("select balance, pay, pay_y from bank")));
    EXPECT_EQ(QStringLiteral("10|1|5"), row(QStringLiteral("select sl, sl_in_m, sl_in_y from product where intno=:p1"), {flour}));
}

TEST_F(PurchaseDocumentsTest, VoidingDeletesTheDocumentAndABookedOneTakesItsStockBackOut)
{
    const QString open = makeOrdinaryPurchase();
    const QString booked = makeOrdinaryPurchase();
    EXPECT_FALSE(DocumentPosting::voidDocument(db(), purchase(), open, false).refused);
    EXPECT_EQ(QStringList({booked}), column(QStringLiteral("select intno from inlist")));
    EXPECT_EQ(QStringList({booked}), column(QStringLiteral("select distinct mainintno from indetail")));

    ASSERT_FALSE(DocumentPosting::book(db(), purchase(), booked, QStringLiteral("S001")).refused);
    EXPECT_EQ(46, number(QStringLiteral("select sl from product where intno=:p1"), {flour}));
    EXPECT_FALSE(DocumentPosting::voidDocument(db(), purchase(), booked, true).refused);
    EXPECT_EQ(10, number(QStringLiteral("select sl from product where intno=:p1"), {flour}));
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from indetail")));
}

TEST_F(PurchaseDocumentsTest, ACopyCarriesThePacksPricesAndPaymentsOfEveryLineIntoANewOpenDocument)
{
    const QString source = makePurchase({{flour, QStringLiteral("面粉"), 3, 12, 2.5, 50, 2, 10}, {rice, QStringLiteral("大米"), 1, 6, 4}});
    exec(QStringLiteral("update indetail set remark='急', unit='袋', spgg='25kg' where spmc='面粉'"));
    exec(QStringLiteral("update inlist set billdate='2026-01-02'"));
    ASSERT_FALSE(post(source).refused);

    const QString copy = DocumentPosting::copy(db(), purchase(), source,
                                               {QStringLiteral("S001"), QStringLiteral("粮油公司"), QStringLiteral("老王"),
                                                QStringLiteral("进货商品:面粉、大米"), QString(), QStringLiteral("0000000001"), QStringLiteral("王五")});
    EXPECT_EQ(QStringLiteral("0000000002"), copy);
    EXPECT_EQ(QStringLiteral("False|2026-06-15|S001|粮油公司|老王|进货商品:面粉、大米|0000000001|王五|0|"),
              row(QStringLiteral("select pass, billdate, customerid, customername, persondeal, remark, bankid, employeename, amount,"
                                 " billtype from inlist where intno=:p1"),
                  {copy}));
    // Packs, price and payment go with each line; boxes, the selling price and the
    // specification do not, and the amounts wait for the recalculation.
    EXPECT_EQ((QStringList{QStringLiteral("0000000004||上期结转||0|0|0|0|0|0|0|0|||False"),
                           QStringLiteral("0000000005|") + flour + QStringLiteral("|面粉|袋|3|12|36|2.5|50|0|0|0|急||False"),
                           QStringLiteral("0000000006|") + rice + QStringLiteral("|大米||1|6|6|4|0|0|0|0|||False")}),
              rows(QStringLiteral("select intno, spintno, spmc, unit, js, sl_j, sl, dj_w, pay, ss, sl_s, dj_n, remark, spgg, pass"
                                  " from indetail where mainintno=:p1 order by intno"),
                   {copy}));
}

TEST_F(PurchaseDocumentsTest, AFailingWriteAnywhereLeavesEveryTableAsItWas)
{
    const QString posted = makePurchase({{flour, QStringLiteral("面粉"), 3, 12, 2.5, 50}, {rice, QStringLiteral("大米"), 1, 6, 4}});
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(post(posted).refused); }), 5);
    EXPECT_GE(failEachWrite([&] {
                  ASSERT_FALSE(DocumentPosting::reverse(db(), purchase(), posted, QStringLiteral("S001"), QStringLiteral("0000000001")).refused);
              }),
              5);
    const QString booked = makeOrdinaryPurchase();
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::book(db(), purchase(), booked, QStringLiteral("S001")).refused); }), 3);
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::unbook(db(), purchase(), booked, QStringLiteral("S001")).refused); }), 3);
    EXPECT_GE(failEachWrite([&] { DocumentPosting::copy(db(), purchase(), posted, {}); }), 4);
    const QString voided = makeOrdinaryPurchase();
    ASSERT_FALSE(DocumentPosting::book(db(), purchase(), voided, QStringLiteral("S001")).refused);
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::voidDocument(db(), purchase(), voided, true).refused); }), 3);
}
