// Posting, reversal, stock-only booking, voiding and copying of sales documents, without windows.
#include "documents/DocumentFixture.h"
#include "documents/DocumentPosting_p.h"
#include "platform/sys/ExactAmount.h"

using lb::documents::DocumentPosting;
using lb::documents::Outcome;

namespace {

class DocumentPostingTest : public DocumentFixture {
protected:
    void SetUp() override
    {
        DocumentFixture::SetUp();
        makeCustomer(QStringLiteral("C001"), QStringLiteral("张三"),
                     {{"balance", 200.0}, {"amount", 10.0}, {"pay", 3.0}, {"deduck", 1.0},
                      {"amount_y", 50.0}, {"pay_y", 30.0}, {"deduck_y", 2.0}});
        exec(QStringLiteral("update bank set balance=1000, amount=7, amount_y=70 where id='0000000001'"));
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 50.0}, {"sl_out_m", 1.0}, {"sl_out_y", 9.0}});
        rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 20.0}});
    }

    // A sale of 100 with a deduction of 5 and a payment of 30.
    QString makeOrdinarySale()
    {
        return makeSale(QStringLiteral("C001"), {{flour, QStringLiteral("面粉"), 4, 20, 5, 30}, {rice, QStringLiteral("大米"), 2, 10}});
    }

    Outcome post(const QString& intno, const QString& party = QStringLiteral("C001"),
                 const QString& account = QStringLiteral("0000000001"))
    {
        return DocumentPosting::post(db(), sales(), intno, party, account);
    }

    QString flour;
    QString rice;
};

// The rows of the customers, accounts and products, which posting and reversal move.
QStringList balancesOf(const QStringList& everyRow)
{
    QStringList kept;
    for (const QString& line : everyRow)
        if (line.startsWith(QLatin1String("customer|")) || line.startsWith(QLatin1String("bank|")) || line.startsWith(QLatin1String("product|")))
            kept << line;
    return kept;
}

} // namespace

TEST_F(DocumentPostingTest, PostingMovesTheCustomerTheAccountAndTheStockAndFlagsEveryLine)
{
    const QString sale = makeOrdinarySale();
    EXPECT_EQ(265, number(QStringLiteral("select rest from outlist where intno=:p1"), {sale}));

    const Outcome outcome = post(sale);
    EXPECT_FALSE(outcome.refused) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.notices.isEmpty());

    EXPECT_EQ(QStringLiteral("265|110|33|6|150|60|7"),
              row(QStringLiteral("select balance, amount, pay, deduck, amount_y, pay_y, deduck_y from customer where id='C001'")));
    EXPECT_EQ(QStringLiteral("1030|37|100"), row(QStringLiteral("select balance, amount, amount_y from bank where id='0000000001'")));
    EXPECT_EQ(QStringLiteral("46|5|13"), row(QStringLiteral("select sl, sl_out_m, sl_out_y from product where intno=:p1"), {flour}));
    EXPECT_EQ(QStringLiteral("18|2|2"), row(QStringLiteral("select sl, sl_out_m, sl_out_y from product where intno=:p1"), {rice}));
    EXPECT_EQ(QStringLiteral("True|False|销售单|01"),
              row(QStringLiteral("select pass, cancel, billname, billtype from outlist where intno=:p1"), {sale}));
    // Every line, the carry-over line included, carries the flags and the header's fields.
    EXPECT_EQ(QStringList({QStringLiteral("True|销售单|01|2026-06-15|C001|张三|0000000001")}),
              rows(QStringLiteral("select distinct pass, billname, billtype, billdate, customerid, customername, bankid from outdetail")));
    EXPECT_EQ(3, number(QStringLiteral("select count(*) from outdetail where pass=1")));
}

TEST_F(DocumentPostingTest, ReversalRestoresEveryBalanceExactlyAndMarksTheDocumentReversed)
{
    const QString sale = makeOrdinarySale();
    const QStringList before = balancesOf(everyTable());
    ASSERT_FALSE(post(sale).refused);
    ASSERT_NE(before, balancesOf(everyTable()));

    const Outcome outcome = DocumentPosting::reverse(db(), sales(), sale, QStringLiteral("C001"), QStringLiteral("0000000001"));
    EXPECT_FALSE(outcome.refused);
    EXPECT_EQ(before, balancesOf(everyTable()));
    EXPECT_EQ(QStringLiteral("True|True|销售单"), row(QStringLiteral("select pass, cancel, billname from outlist where intno=:p1"), {sale}));
    EXPECT_EQ(QStringList({QStringLiteral("True|True")}), rows(QStringLiteral("select distinct pass, cancel from outdetail")));

    const QStringList reversed = everyTable();
    const Outcome again = DocumentPosting::reverse(db(), sales(), sale, QStringLiteral("C001"), QStringLiteral("0000000001"));
    EXPECT_TRUE(again.refused);
    EXPECT_EQ(QStringLiteral("该单据已冲数,不能再冲数！"), again.message);
    EXPECT_EQ(reversed, everyTable());
}

TEST_F(DocumentPostingTest, RefusedPostingsNameTheirReasonAndLeaveEveryTableUnchanged)
{
    struct Refusal {
        const char* title;
        std::function<QString()> make; // the document to post
        QString party;
        QString account;
        QString message;
    };
    const QString posted = makeOrdinarySale();
    ASSERT_FALSE(post(posted).refused);
    const std::vector<Refusal> refusals = {
        {"posted already", [&] { return posted; }, "C001", "0000000001", QStringLiteral("该单据已过帐,不能再过帐！")},
        {"no customer", [&] { return makeOrdinarySale(); }, "  ", "0000000001", QStringLiteral("没有选取客户,不能过帐！")},
        {"customer zero", [&] { return makeOrdinarySale(); }, "0000000000", "0000000001", QStringLiteral("没有选取客户,不能过帐！")},
        {"stock short",
         [&] { return makeSale(QStringLiteral("C001"), {{rice, QStringLiteral("大米"), 2, 1}, {flour, QStringLiteral(" 面粉 "), 51, 1}}); },
         "C001", "0000000001", QStringLiteral("面粉的库存数量不足,请检查是否已录进货单并过帐！")},
        {"nameless line", [&] { return makeSale(QStringLiteral("C001"), {{flour, QStringLiteral("面粉"), 1, 1}, {QString(), QString(), 0, 0},
                                                                         {rice, QStringLiteral("大米"), 1, 1}}); },
         "C001", "0000000001", QStringLiteral("没有商品名,不能过帐！")},
        {"unknown customer", [&] { return makeOrdinarySale(); }, "C999", "0000000001", QStringLiteral("查无此客户号！")},
        {"customer in other case", [&] { return makeOrdinarySale(); }, "c001", "0000000001", QStringLiteral("查无此客户号！")},
        {"payment into no account", [&] { return makeOrdinarySale(); }, "C001", "9", QStringLiteral("查无此银行编号！")},
        {"refund out of no account", [&] { return makeSale(QStringLiteral("C001"), {{flour, QStringLiteral("面粉"), 1, 10, 0, -50}}); },
         "C001", "9", QStringLiteral("查无此银行编号！")},
    };
    for (const Refusal& refusal : refusals) {
        const QString intno = refusal.make();
        const QStringList before = everyTable();
        const Outcome outcome = post(intno, refusal.party, refusal.account);
        EXPECT_TRUE(outcome.refused) << refusal.title;
        EXPECT_EQ(refusal.message, outcome.message) << refusal.title;
        EXPECT_EQ(before, everyTable()) << refusal.title;
    }
}

TEST_F(DocumentPostingTest, TheStockCheckAddsUpTheLinesOfOneProduct)
{
    exec(QStringLiteral("update product set sl=5 where intno=:p1"), {flour});
    const QString tooMuch = makeSale(QStringLiteral("C001"), {{flour, QStringLiteral("面粉"), 3, 1}, {flour, QStringLiteral("面粉"), 4, 1}});
    EXPECT_EQ(QStringLiteral("面粉的库存数量不足,请检查是否已录进货单并过帐！"), post(tooMuch).message);

    const QString exactly = makeSale(QStringLiteral("C001"), {{flour, QStringLiteral("面粉"), 2, 1}, {flour, QStringLiteral("面粉"), 3, 1}});
    EXPECT_FALSE(post(exactly).refused);
    EXPECT_EQ(0, number(QStringLiteral("select sl from product where intno=:p1"), {flour}));
}

// Another program may have written a product number twice: the lines of that number count once
// against the first row's stock, and posting moves each row once.
TEST_F(DocumentPostingTest, AProductNumberWrittenTwiceIsCheckedOnceAndEachOfItsRowsMovedOnce)
{
    makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"intno", flour}, {"sl", 5.0}});
    const QString sale = makeSale(QStringLiteral("C001"), {{flour, QStringLiteral("面粉"), 30, 1}});
    ASSERT_FALSE(post(sale).refused);
    EXPECT_EQ((QStringList{QStringLiteral("20|31"), QStringLiteral("-25|30")}),
              rows(QStringLiteral("select sl, sl_out_m from product where intno=:p1 order by rowid"), {flour}));
}

TEST_F(DocumentPostingTest, AnUnknownAccountWithNothingPaidPostsEverythingElseWithANotice)
{
    const QString sale = makeSale(QStringLiteral("C001"), {{flour, QStringLiteral("面粉"), 1, 10}}, QStringLiteral("9"));
    const QStringList banks = column(QStringLiteral("select balance||'/'||amount from bank"));
    const Outcome outcome = post(sale, QStringLiteral("C001"), QStringLiteral("9"));
    EXPECT_FALSE(outcome.refused);
    EXPECT_EQ(QStringList({QStringLiteral("查无此银行编号！")}), outcome.notices);
    EXPECT_EQ(210, number(QStringLiteral("select balance from customer where id='C001'")));
    EXPECT_EQ(banks, column(QStringLiteral("select balance||'/'||amount from bank")));
}

TEST_F(DocumentPostingTest, BookingAndUnbookingMoveOnlyTheStockAndEndWhereTheyStarted)
{
    const QString sale = makeOrdinarySale();
    const QStringList before = balancesOf(everyTable());
    const QStringList parties = column(QStringLiteral("select balance||'/'||amount||'/'||pay from customer"));

    Outcome booked = DocumentPosting::book(db(), sales(), sale, QStringLiteral("C001"));
    EXPECT_FALSE(booked.refused);
    EXPECT_EQ(46, number(QStringLiteral("select sl from product where intno=:p1"), {flour}));
    // Stock only: no counter of the product, no customer, no account.
    EXPECT_EQ(1, number(QStringLiteral("select sl_out_m from product where intno=:p1"), {flour}));
    EXPECT_EQ(parties, column(QStringLiteral("select balance||'/'||amount||'/'||pay from customer")));
    EXPECT_EQ(QStringLiteral("True|False|销售单|01"),
              row(QStringLiteral("select pass, cancel, billname, billtype from outlist where intno=:p1"), {sale}));
    EXPECT_EQ(QStringList({QStringLiteral("True|01|2026-06-15|C001|张三|0000000001")}),
              rows(QStringLiteral("select distinct pass, billtype, billdate, customerid, customername, bankid from outdetail")));
    EXPECT_EQ(QStringLiteral("该单据已记帐,不能再记帐！"), DocumentPosting::book(db(), sales(), sale, QStringLiteral("C001")).message);

    Outcome unbooked = DocumentPosting::unbook(db(), sales(), sale, QStringLiteral("C001"));
    EXPECT_FALSE(unbooked.refused);
    EXPECT_EQ(before, balancesOf(everyTable()));
    EXPECT_EQ(QStringLiteral("True|True|销售单"), row(QStringLiteral("select pass, cancel, billname from outlist where intno=:p1"), {sale}));
    EXPECT_EQ(3, number(QStringLiteral("select count(*) from outdetail where cancel=1")));
    EXPECT_EQ(QStringLiteral("该单据已冲数,不能再冲数！"), DocumentPosting::unbook(db(), sales(), sale, QStringLiteral("C001")).message);
}

TEST_F(DocumentPostingTest, AnUndoCommandOfTheOtherRouteIsRefusedWithEveryTableUnchanged)
{
    const auto reverse = [&](const QString& s) {
        return DocumentPosting::reverse(db(), sales(), s, QStringLiteral("C001"), QStringLiteral("0000000001"));
    };
    const auto unbook = [&](const QString& s) { return DocumentPosting::unbook(db(), sales(), s, QStringLiteral("C001")); };
    const auto voidIt = [&](const QString& s) { return DocumentPosting::voidDocument(db(), sales(), s, true); };
    struct Case {
        const char* title;
        bool booked;  // 记帐 with the option "F", else 过帐 with "T"; then the option turned
        std::function<Outcome(const QString&)> undo;
        QString message;
    };
    const std::vector<Case> cases = {
        // It would take the customer's amount and payment, the account's payment and the
        // product's month-out counter back, none of which the booking moved.
        {"冲数 of a booked sale", true, reverse, QStringLiteral("该单据已记帐,只能冲帐或作废！")},
        // It would give the stock back and delete the document, the balances keeping the posting.
        {"作废 of a posted sale", false, voidIt, QStringLiteral("该单据已过帐,只能冲数！")},
        // It would move only the stock back.
        {"冲帐 of a posted sale", false, unbook, QStringLiteral("该单据已过帐,只能冲数！")},
    };
    for (const Case& c : cases) {
        const QString sale = makeOrdinarySale();
        if (c.booked) {
            ASSERT_FALSE(DocumentPosting::book(db(), sales(), sale, QStringLiteral("C001")).refused) << c.title;
        } else {
            ASSERT_FALSE(post(sale).refused) << c.title;
        }
        exec(QStringLiteral("update config set tallybj=:p1"), {c.booked ? QStringLiteral("T") : QStringLiteral("F")});
        const QStringList before = everyTable();
        const Outcome outcome = c.undo(sale);
        EXPECT_TRUE(outcome.refused) << c.title;
        EXPECT_EQ(c.message, outcome.message) << c.title;
        EXPECT_EQ(before, everyTable()) << c.title;
        if (!c.booked) {
            EXPECT_EQ(c.message, DocumentPosting::refuseBeforeUnbooking(db(), sales(), sale, QStringLiteral("C001")).message) << c.title;
        }
    }

    // A document booked before headers recorded their route follows the option as it is now.
    const QString old = makeOrdinarySale();
    ASSERT_FALSE(DocumentPosting::book(db(), sales(), old, QStringLiteral("C001")).refused);
    exec(QStringLiteral("update outlist set postroute=null"));
    exec(QStringLiteral("update config set tallybj='T'"));
    const QStringList before = everyTable();
    EXPECT_EQ(QStringLiteral("该单据已过帐,只能冲数！"), unbook(old).message);
    EXPECT_EQ(before, everyTable());
    exec(QStringLiteral("update config set tallybj='F'"));
    EXPECT_FALSE(unbook(old).refused);
}

TEST_F(DocumentPostingTest, AFigureExactlyAtTheLimitIsRefusedAsOneBeyondIt)
{
    const double half = lb::kMaxExactAmount / 2;
    exec(QStringLiteral("update customer set balance=0"));
    // Two lines of half the limit each: the second line's running balance and the header's
    // total come to the limit exactly.
    const QString halves = makeSale(QStringLiteral("C001"), {{flour, QStringLiteral("面粉"), 1, half}, {rice, QStringLiteral("大米"), 1, half}});
    QStringList before = everyTable();
    const auto recalculated = recalculate(halves, QStringLiteral("C001"));
    EXPECT_EQ(DocumentPosting::OutOfRange, recalculated.outcome.message);
    EXPECT_EQ(before, everyTable());

    // Half the limit paid into an account holding the other half.
    exec(QStringLiteral("update bank set balance=:p1 where id='0000000001'"), {half});
    const QString paid = makeSale(QStringLiteral("C001"), {{flour, QStringLiteral("面粉"), 1, 10, 0, half}});
    before = everyTable();
    EXPECT_EQ(DocumentPosting::OutOfRange, post(paid).message);
    EXPECT_EQ(before, everyTable());
}

TEST_F(DocumentPostingTest, BookingRefusesANamelessLineOrNoPartyBeforeWritingAnything)
{
    const QString sale = makeSale(QStringLiteral("C001"), {{QString(), QString(), 0, 0}, {flour, QStringLiteral("面粉"), 1, 1}});
    const QStringList before = everyTable();
    EXPECT_EQ(QStringLiteral("没有商品名,不能记帐！"), DocumentPosting::book(db(), sales(), sale, QStringLiteral("C001")).message);
    EXPECT_EQ(QStringLiteral("没有选取供应商或客户,不能记帐！"), DocumentPosting::book(db(), sales(), sale, QStringLiteral("0000000000")).message);
    EXPECT_EQ(before, everyTable());

    const QString booked = makeSale(QStringLiteral("C001"), {{flour, QStringLiteral("面粉"), 1, 1}});
    ASSERT_FALSE(DocumentPosting::book(db(), sales(), booked, QStringLiteral("C001")).refused);
    EXPECT_EQ(QStringLiteral("没有选取供应商或客户,不能冲数！"), DocumentPosting::unbook(db(), sales(), booked, QString()).message);
}

TEST_F(DocumentPostingTest, StockBeyondALimitAfterBookingIsNoticedAndAnEmptyUpperLimitIsNoLimitNorOneReachedExactly)
{
    const QString biscuit = makeProduct(QStringLiteral("C01 "), QStringLiteral("饼干"), {{"sl", 12.0}, {"sl_sw", 10.0}, {"sl_s", 3.0}});
    const QString salt = makeProduct(QStringLiteral("D01"), QStringLiteral("盐"), {{"sl", 500.0}, {"sl_sw", 0.0}, {"sl_s", 1.0}});
    // Booked down exactly to its lower limit and back exactly to its upper one: no notice.
    const QString sugar = makeProduct(QStringLiteral("E01"), QStringLiteral("糖"), {{"sl", 8.0}, {"sl_sw", 8.0}, {"sl_s", 5.0}});
    exec(QStringLiteral("update product set sl_sw=null where intno=:p1"), {rice});
    const QString sale = makeSale(QStringLiteral("C001"), {{biscuit, QStringLiteral("饼干"), 10, 1}, {salt, QStringLiteral("盐"), 1, 1},
                                                          {rice, QStringLiteral("大米"), 1, 1}, {sugar, QStringLiteral("糖"), 3, 1}});

    const Outcome booked = DocumentPosting::book(db(), sales(), sale, QStringLiteral("C001"));
    EXPECT_EQ(QStringList({QStringLiteral("C01饼干库存缺货！")}), booked.notices);
    const Outcome unbooked = DocumentPosting::unbook(db(), sales(), sale, QStringLiteral("C001"));
    EXPECT_EQ(QStringList({QStringLiteral("C01饼干库存超量！")}), unbooked.notices);
}

// Each line is looked at after its own move: the first of two adjacent lines of one product
// leaves the stock above the lower limit, the second takes it below.
TEST_F(DocumentPostingTest, StockTakenBelowItsLowerLimitOnlyByTheSecondOfTwoLinesOfOneProductIsNoticed)
{
    const QString biscuit = makeProduct(QStringLiteral("C01"), QStringLiteral("饼干"), {{"sl", 12.0}, {"sl_sw", 20.0}, {"sl_s", 3.0}});
    const QString sale = makeSale(QStringLiteral("C001"), {{biscuit, QStringLiteral("饼干"), 5, 1}, {biscuit, QStringLiteral("饼干"), 5, 1}});
    EXPECT_EQ(QStringList({QStringLiteral("C01饼干库存缺货！")}), DocumentPosting::book(db(), sales(), sale, QStringLiteral("C001")).notices);
    EXPECT_EQ(2, number(QStringLiteral("select sl from product where intno=:p1"), {biscuit}));
}

TEST_F(DocumentPostingTest, VoidingDeletesTheDocumentAndABookedOneGivesItsStockBack)
{
    const QString kept = makeOrdinarySale();
    const QString open = makeOrdinarySale();
    const QStringList keptLines = column(QStringLiteral("select intno from outdetail where mainintno=:p1"));
    EXPECT_FALSE(DocumentPosting::voidDocument(db(), sales(), open, false).refused);
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from outlist where intno=:p1"), {open}));
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from outdetail where mainintno=:p1"), {open}));
    EXPECT_EQ(3, number(QStringLiteral("select count(*) from outdetail where mainintno=:p1"), {kept}));

    ASSERT_FALSE(DocumentPosting::book(db(), sales(), kept, QStringLiteral("C001")).refused);
    EXPECT_EQ(46, number(QStringLiteral("select sl from product where intno=:p1"), {flour}));
    EXPECT_FALSE(DocumentPosting::voidDocument(db(), sales(), kept, true).refused);
    EXPECT_EQ(50, number(QStringLiteral("select sl from product where intno=:p1"), {flour}));

    // A reversed document has given its stock back already.
    const QString reversed = makeOrdinarySale();
    ASSERT_FALSE(DocumentPosting::book(db(), sales(), reversed, QStringLiteral("C001")).refused);
    ASSERT_FALSE(DocumentPosting::unbook(db(), sales(), reversed, QStringLiteral("C001")).refused);
    EXPECT_FALSE(DocumentPosting::voidDocument(db(), sales(), reversed, true).refused);
    EXPECT_EQ(50, number(QStringLiteral("select sl from product where intno=:p1"), {flour}));
}

TEST_F(DocumentPostingTest, ACopyIsANewOpenDocumentOfTodayWithEveryLineAndItsProduct)
{
    const QString sale = makeOrdinarySale();
    exec(QStringLiteral("update outlist set billdate='2026-01-02'"));
    exec(QStringLiteral("update outdetail set remark='快', dj_w=16 where spmc='面粉'"));
    ASSERT_FALSE(post(sale).refused);
    makeSale(QStringLiteral("C001"), {{rice, QStringLiteral("大米"), 1, 1}}); // lines numbered after the source's

    const QString copy = DocumentPosting::copy(db(), sales(), sale,
                                               {QStringLiteral("C001"), QStringLiteral("张三"), QStringLiteral("李"), QStringLiteral("摘"),
                                                QStringLiteral("备注"), QStringLiteral("0000000001"), QStringLiteral("王")});
    EXPECT_EQ(QStringLiteral("0000000003"), copy);
    EXPECT_EQ(QStringLiteral("False|False|2026-06-15|C001|张三|李|摘|备注|0000000001|王|0|"),
              row(QStringLiteral("select pass, cancel, billdate, customerid, customername, persondeal, remark, remark1, bankid,"
                                 " employeename, amount, billtype from outlist where intno=:p1"),
                  {copy}));
    // Every line, the carry-over line first, with its product, quantity, price, purchase price
    // (the gross profit needs it), deduction, payment and note; amounts and posting fields are
    // left to the recalculation and posting.
    EXPECT_EQ((QStringList{QStringLiteral("0000000006||上期结转|0|0|0|0|0|||False"),
                           QStringLiteral("0000000007|") + flour + QStringLiteral("|面粉|4|20|16|5|30|快||False"),
                           QStringLiteral("0000000008|") + rice + QStringLiteral("|大米|2|10|0|0|0|||False")}),
              rows(QStringLiteral("select intno, spintno, spmc, sl, dj_n, dj_w, deduck, pay, remark, billtype, pass from outdetail"
                                  " where mainintno=:p1 order by intno"),
                   {copy}));
    EXPECT_EQ(QStringList({QStringLiteral("0|0")}),
              rows(QStringLiteral("select distinct amount, rest from outdetail where mainintno=:p1 and spmc<>'上期结转'"), {copy}));
}

TEST_F(DocumentPostingTest, TheHistoryCopyFillsTheLastLineAndAppendsTheOthers)
{
    const QString source = makeOrdinarySale();
    const QString target = lb::documents::DocumentPosting::create(db(), sales(), QString());
    const QString onlyCarryOver = makeSale(QStringLiteral("C001"), {});

    EXPECT_EQ(QStringLiteral("查无该历史单号！"), DocumentPosting::copyLines(db(), sales(), QStringLiteral("1"), target).message);
    EXPECT_EQ(QStringLiteral("查无该历史单号！"), DocumentPosting::copyLines(db(), sales(), onlyCarryOver, target).message);
    EXPECT_EQ(QStringLiteral("明细表中的没有记录,请先按新增！"), DocumentPosting::copyLines(db(), sales(), source, onlyCarryOver).message);

    exec(QStringLiteral("update outdetail set dj_w=7.5 where spmc='大米'"));
    EXPECT_FALSE(DocumentPosting::copyLines(db(), sales(), source, target).refused);
    EXPECT_EQ((QStringList{QStringLiteral("上期结转||0|0|0"), QStringLiteral("面粉|") + flour + QStringLiteral("|4|20|0"),
                           QStringLiteral("大米|") + rice + QStringLiteral("|2|10|7.5")}),
              rows(QStringLiteral("select spmc, spintno, sl, dj_n, dj_w from outdetail where mainintno=:p1 order by intno"), {target}));
}

TEST_F(DocumentPostingTest, AFailingWriteAnywhereLeavesEveryTableAsItWas)
{
    const QString sale = makeOrdinarySale();
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(post(sale).refused); }), 8);
    EXPECT_GE(failEachWrite([&] {
                  ASSERT_FALSE(DocumentPosting::reverse(db(), sales(), sale, QStringLiteral("C001"), QStringLiteral("0000000001")).refused);
              }),
              8);

    const QString booked = makeOrdinarySale();
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::book(db(), sales(), booked, QStringLiteral("C001")).refused); }), 6);
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::unbook(db(), sales(), booked, QStringLiteral("C001")).refused); }), 6);
    EXPECT_GE(failEachWrite([&] { DocumentPosting::copy(db(), sales(), booked, {}); }), 4);
    const QString voided = makeOrdinarySale();
    ASSERT_FALSE(DocumentPosting::book(db(), sales(), voided, QStringLiteral("C001")).refused);
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::voidDocument(db(), sales(), voided, true).refused); }), 6);
    EXPECT_GE(failEachWrite([&] { DocumentPosting::create(db(), sales(), QString()); }), 3);
}

// The commands bind each value of their writes by the name of its parameter: a header write with
// a value left out, with a name its text does not hold or with one name given twice is refused
// before it runs, every table as it was, rather than flagging the document with NULL beside it.
TEST_F(DocumentPostingTest, AHeaderWriteWithAValueLeftOutIsRefusedAndWritesNothing)
{
    const QString sale = makeOrdinarySale();
    const QString update = QStringLiteral("update outlist set pass=1,billname=:lb_name,billtype=:lb_type where intno=:lb_doc");
    const lb::db::NamedValue doc{QStringLiteral("lb_doc"), sale};
    const lb::db::NamedValue name{QStringLiteral("lb_name"), sales().billname};
    const lb::db::NamedValue type{QStringLiteral("lb_type"), sales().billtype};
    const struct {
        std::vector<lb::db::NamedValue> values;
        QString message;
    } cases[] = {
        {{doc, name}, QStringLiteral("2 values for the 3 parameters of: ") + update},
        {{doc, name, {QStringLiteral("lb_kind"), sales().billtype}}, QStringLiteral("Parameter 'lb_kind' not found")},
        {{doc, name, name}, QStringLiteral("Parameter 'lb_name' is given two values: ") + update},
    };
    const QStringList before = everyTable();
    for (const auto& c : cases) {
        try {
            lb::documents::runStatement(db(), update, c.values);
            ADD_FAILURE() << "ran: " << c.message.toStdString();
        } catch (const lb::DatabaseError& e) {
            EXPECT_EQ(c.message, e.message());
        }
        EXPECT_EQ(before, everyTable()) << c.message.toStdString();
    }
    lb::documents::runStatement(db(), update, {type, doc, name});
    EXPECT_EQ(QStringLiteral("True|销售单|01"), row(QStringLiteral("select pass, billname, billtype from outlist where intno=:p1"), {sale}));
}

TEST_F(DocumentPostingTest, ARecalculationWhoseFiguresCannotKeepWholeCentsWritesNothing)
{
    struct Case {
        const char* title;
        QString lineValues; // what a file from elsewhere holds in the flour line
        QString customerValues;
    };
    const std::vector<Case> cases = {
        {"quantity 2 at 1e308", "sl=2, dj_n=1e308", ""},
        {"quantity 2 at -1e308", "sl=2, dj_n=-1e308", ""},
        {"a quantity of 1e308 alone", "sl=1e308, dj_n=0", ""},
        {"a running balance just past the limit", "sl=4, dj_n=20", "balance=90071992547409.92-50"},
    };
    for (const Case& c : cases) {
        const QString sale = makeOrdinarySale();
        exec(QStringLiteral("update outdetail set %1 where mainintno=:p1 and spintno=:p2").arg(c.lineValues), {sale, flour});
        if (!c.customerValues.isEmpty())
            exec(QStringLiteral("update customer set %1").arg(c.customerValues));
        const QStringList before = everyTable();
        const auto result = recalculate(sale, QStringLiteral("C001"));
        EXPECT_TRUE(result.outcome.refused) << c.title;
        EXPECT_EQ(DocumentPosting::OutOfRange, result.outcome.message) << c.title;
        EXPECT_EQ(before, everyTable()) << c.title;
        exec(QStringLiteral("update customer set balance=200"));
    }
    // Just below the limit the balance still recalculates.
    const QString sale = makeOrdinarySale();
    exec(QStringLiteral("update customer set balance=90071992547409.92-100"));
    EXPECT_FALSE(recalculate(sale, QStringLiteral("C001")).outcome.refused);
}

TEST_F(DocumentPostingTest, ACommandThatWouldMoveAFigurePastTheLimitWritesNothing)
{
    const auto reverse = [&](const QString& intno) {
        return DocumentPosting::reverse(db(), sales(), intno, QStringLiteral("C001"), QStringLiteral("0000000001"));
    };
    struct Case {
        const char* title;
        QString setUp;                 // run after the sale is made (and posted or booked)
        std::function<Outcome(const QString&)> command;
        bool posted = false;           // the command undoes a posting
        bool booked = false;           // the command undoes a booking
    };
    const std::vector<Case> cases = {
        {"account balance just past", "update bank set balance=90071992547409.92-10", [&](const QString& s) { return post(s); }},
        {"customer's year total past", "update customer set amount_y=90071992547409.92-50", [&](const QString& s) { return post(s); }},
        {"a stored header that is no number", "update outlist set rest=9e999", [&](const QString& s) { return post(s); }},
        {"stock sold past", "update product set sl_out_y=90071992547409.92-2", [&](const QString& s) { return post(s); }},
        {"stock reversed past", "update product set sl=90071992547409.92-2", reverse, true},
        {"stock booked past", "update product set sl=2-90071992547409.92",
         [&](const QString& s) { return DocumentPosting::book(db(), sales(), s, QStringLiteral("C001")); }},
        {"stock un-booked past", "update product set sl=90071992547409.92-2",
         [&](const QString& s) { return DocumentPosting::unbook(db(), sales(), s, QStringLiteral("C001")); }, false, true},
        {"stock voided past", "update product set sl=90071992547409.92-2",
         [&](const QString& s) { return DocumentPosting::voidDocument(db(), sales(), s, true); }, false, true},
    };
    for (const Case& c : cases) {
        const QString sale = makeOrdinarySale();
        if (c.posted) {
            EXPECT_FALSE(post(sale).refused) << c.title;
        }
        if (c.booked) {
            EXPECT_FALSE(DocumentPosting::book(db(), sales(), sale, QStringLiteral("C001")).refused) << c.title;
        }
        exec(c.setUp);
        const QStringList before = everyTable();
        const Outcome outcome = c.command(sale);
        EXPECT_TRUE(outcome.refused) << c.title;
        EXPECT_EQ(DocumentPosting::OutOfRange, outcome.message) << c.title;
        EXPECT_EQ(before, everyTable()) << c.title;
        exec(QStringLiteral("update bank set balance=0"));
        exec(QStringLiteral("update customer set amount_y=0"));
        exec(QStringLiteral("update product set sl=50, sl_out_y=0"));
    }
    // An account balance that stays below the limit posts.
    exec(QStringLiteral("update bank set balance=90071992547409.92-40"));
    EXPECT_FALSE(post(makeOrdinarySale()).refused);
}

TEST_F(DocumentPostingTest, PostingSetsTheCustomersBalanceToTheHeadersRestEvenWhenItIsStale)
{
    const QString sale = makeOrdinarySale();
    // The rest of a header stored by an earlier recalculation, with the customer moved since.
    exec(QStringLiteral("update outlist set rest=777 where intno=:p1"), {sale});
    ASSERT_FALSE(post(sale).refused);
    EXPECT_EQ(QStringLiteral("777|110"), row(QStringLiteral("select balance, amount from customer where id='C001'")));
}
