// Payments without windows: the recalculation over account lines, posting, reversal and their
// refusals; the reversal of receipts and payments over an account closed since.
#include "documents/DocumentFixture.h"

using lb::documents::BillKind;
using lb::documents::DocumentKind;
using lb::documents::DocumentKinds;
using lb::documents::DocumentPosting;
using lb::documents::Outcome;

namespace {

class PaymentDocumentsTest : public DocumentFixture {
protected:
    void SetUp() override
    {
        DocumentFixture::SetUp();
        makeSupplier(QStringLiteral("S001"), QStringLiteral("粮油公司"),
                     {{"balance", 1000.0}, {"pay", 5.0}, {"deduck", 1.0}, {"pay_y", 50.0}, {"deduck_y", 2.0}});
        exec(QStringLiteral("update bank set balance=2000, pay=6, pay_y=60 where id='0000000001'"));
        makeAccount(QStringLiteral("0000000002"), QStringLiteral("工商银行"), {{"balance", 400.0}, {"pay", 4.0}, {"pay_y", 40.0}});
    }

    static const DocumentKind& payment() { return DocumentKinds::of(BillKind::Payment); }

    static Values line(const QString& account, const QString& name, double amount, double deduck = 0)
    {
        return {{"sphh", account}, {"spmc", name}, {"amount", amount}, {"deduck", deduck}};
    }

    // 300 in cash with 20 granted off and 100 from the bank, to a supplier owed 1000.
    QString makeOrdinaryPayment()
    {
        return makeDocument(payment(), QStringLiteral("S001"),
                            {line(QStringLiteral("0000000001"), QStringLiteral("现金"), 300, 20),
                             line(QStringLiteral("0000000002"), QStringLiteral("工商银行"), 100)});
    }

    Outcome post(const QString& intno, const QString& supplier = QStringLiteral("S001"))
    {
        return DocumentPosting::post(db(), payment(), intno, supplier, QString());
    }

    Outcome reverse(const QString& intno, const QString& supplier = QStringLiteral("S001"))
    {
        return DocumentPosting::reverse(db(), payment(), intno, supplier, QString());
    }
};

} // namespace

TEST_F(PaymentDocumentsTest, ANewPaymentStartsWithTheCarryOverLineAndACashLine)
{
    const QString intno = DocumentPosting::create(db(), payment(), QString());
    EXPECT_EQ(QStringLiteral("0000000001|False|"), row(QStringLiteral("select intno, pass, bankid from putlist")));
    EXPECT_EQ((QStringList{QStringLiteral("0000000001||上期结转"), QStringLiteral("0000000002|0000000001|现金")}),
              rows(QStringLiteral("select intno, sphh, spmc from putdetail where mainintno=:p1 order by intno"), {intno}));
}

TEST_F(PaymentDocumentsTest, PostingPaysTheSupplierOutOfEachAccountAndReversalGivesItBack)
{
    const QString intno = makeOrdinaryPayment();
    EXPECT_EQ(QStringLiteral("1000|680|580"), rows(QStringLiteral("select rest from putdetail where mainintno=:p1 order by intno"), {intno})
                                                  .join(QLatin1Char('|')));
    EXPECT_EQ(QStringLiteral("1000|400|20|580|付款的现金银行帐:现金、工商银行"),
              row(QStringLiteral("select balance, amount, deduck, rest, remark from putlist where intno=:p1"), {intno}));

    ASSERT_FALSE(post(intno).refused);
    EXPECT_EQ(QStringLiteral("580|405|21|450|22"), row(QStringLiteral("select balance, pay, deduck, pay_y, deduck_y from branch")));
    EXPECT_EQ((QStringList{QStringLiteral("1700|306|360"), QStringLiteral("300|104|140")}),
              rows(QStringLiteral("select balance, pay, pay_y from bank order by id")));

    // Another payment of 50 after this one stays counted when this one is reversed.
    exec(QStringLiteral("update branch set balance=balance-50"));
    ASSERT_FALSE(reverse(intno).refused);
    EXPECT_EQ(QStringLiteral("950|5|1|50|2"), row(QStringLiteral("select balance, pay, deduck, pay_y, deduck_y from branch")));
    EXPECT_EQ((QStringList{QStringLiteral("2000|6|60"), QStringLiteral("400|4|40")}),
              rows(QStringLiteral("select balance, pay, pay_y from bank order by id")));
}

TEST_F(PaymentDocumentsTest, TwoLinesOfOneAccountMoveItTwice)
{
    const QString intno = makeDocument(payment(), QStringLiteral("S001"),
                                       {line(QStringLiteral("0000000002"), QStringLiteral("工商银行"), 100),
                                        line(QStringLiteral("0000000002"), QStringLiteral("工商银行"), 30)});
    ASSERT_FALSE(post(intno).refused);
    EXPECT_EQ(QStringLiteral("270|134|170"), row(QStringLiteral("select balance, pay, pay_y from bank where id='0000000002'")));
}

TEST_F(PaymentDocumentsTest, PostingRefusesBeforeWritingAnything)
{
    struct Refusal {
        const char* title;
        std::function<QString()> make;
        QString supplier;
        QString message;
    };
    const QString posted = makeOrdinaryPayment();
    ASSERT_FALSE(post(posted).refused);
    const std::vector<Refusal> refusals = {
        {"posted already", [&] { return posted; }, "S001", QStringLiteral("该单据已过帐,不能再过帐！")},
        {"no supplier", [&] { return makeOrdinaryPayment(); }, "", QStringLiteral("没有选取供应商,不能过帐！")},
        {"unknown supplier", [&] { return makeOrdinaryPayment(); }, "S009", QStringLiteral("查无此供应商号,不能过帐！")},
        {"unknown account",
         [&] {
             return makeDocument(payment(), QStringLiteral("S001"),
                                 {line(QStringLiteral("0000000001"), QStringLiteral("现金"), 10), line(QStringLiteral("9"), QStringLiteral("?"), 0)});
         },
         "S001", QStringLiteral("查无此银行编号！")},
    };
    for (const Refusal& refusal : refusals) {
        const QString intno = refusal.make();
        const QStringList before = everyTable();
        const Outcome outcome = post(intno, refusal.supplier);
        EXPECT_TRUE(outcome.refused) << refusal.title;
        EXPECT_EQ(refusal.message, outcome.message) << refusal.title;
        EXPECT_EQ(before, everyTable()) << refusal.title;
    }
    EXPECT_EQ(QStringLiteral("查无此供应商号,不能冲数！"), reverse(posted, QStringLiteral("S009")).message);
}

namespace {

// Receipts and payments alike, over lines of two accounts.
class MoneyReversalTest : public DocumentFixture, public ::testing::WithParamInterface<BillKind> {};

} // namespace

TEST_P(MoneyReversalTest, AnAccountClosedSinceThePostingIsPassedOverWithOneNotice)
{
    const DocumentKind& kind = DocumentKinds::of(GetParam());
    if (kind.partyTable == QLatin1String("customer"))
        makeCustomer(QStringLiteral("P1"), QStringLiteral("甲"));
    else
        makeSupplier(QStringLiteral("P1"), QStringLiteral("甲"));
    exec(QStringLiteral("update %1 set balance=1000, pay=5, pay_y=50").arg(kind.partyTable));
    exec(QStringLiteral("update bank set balance=2000, amount=7, pay=6"));
    makeAccount(QStringLiteral("0000000002"), QStringLiteral("工商银行"), {{"balance", 400.0}});
    const QString intno = makeDocument(kind, QStringLiteral("P1"),
                                       {{{"sphh", "0000000001"}, {"spmc", QStringLiteral("现金")}, {"amount", 300}, {"deduck", 20}},
                                        {{"sphh", "0000000002"}, {"spmc", QStringLiteral("工商银行")}, {"amount", 100}},
                                        {{"sphh", "0000000002"}, {"spmc", QStringLiteral("工商银行")}, {"amount", 30}}});
    const QString partyRow = QStringLiteral("select * from %1").arg(kind.partyTable);
    const QStringList partyBefore = rows(partyRow);
    const QStringList cashBefore = rows(QStringLiteral("select * from bank where id='0000000001'"));
    ASSERT_FALSE(DocumentPosting::post(db(), kind, intno, QStringLiteral("P1"), QString()).refused);
    ASSERT_NE(partyBefore, rows(partyRow));

    // The bank account was closed after the posting: its money cannot go back, but the party
    // and the cash still do.
    exec(QStringLiteral("delete from bank where id='0000000002'"));
    const Outcome reversed = DocumentPosting::reverse(db(), kind, intno, QStringLiteral("P1"), QString());
    EXPECT_FALSE(reversed.refused) << reversed.message.toStdString();
    EXPECT_EQ(QStringList{QStringLiteral("查无此银行编号！")}, reversed.notices);
    EXPECT_EQ(partyBefore, rows(partyRow));
    EXPECT_EQ(cashBefore, rows(QStringLiteral("select * from bank")));
    EXPECT_EQ(QStringLiteral("True|True"), row(QStringLiteral("select pass, cancel from %1").arg(kind.headerTable)));
    EXPECT_EQ(QStringLiteral("该单据已冲数,不能再冲数！"), DocumentPosting::reverse(db(), kind, intno, QStringLiteral("P1"), QString()).message);
}

INSTANTIATE_TEST_SUITE_P(Kinds, MoneyReversalTest, ::testing::Values(BillKind::Receipt, BillKind::Payment),
                         [](const auto& info) { return info.param == BillKind::Receipt ? "Receipt" : "Payment"; });

TEST_F(PaymentDocumentsTest, AFailingWriteAnywhereLeavesEveryTableAsItWas)
{
    const QString posted = makeOrdinaryPayment();
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(post(posted).refused); }), 5);
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(reverse(posted).refused); }), 5);
    const QString voided = makeOrdinaryPayment();
    EXPECT_GE(failEachWrite([&] { (void)DocumentPosting::voidDocument(db(), payment(), voided, false); }), 1);
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from putlist where intno=:p1"), {voided}));
}
