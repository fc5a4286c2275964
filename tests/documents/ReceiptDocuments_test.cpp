// Receipts without windows: a new receipt, its recalculation over account lines, posting and its refusals.
#include "documents/DocumentFixture.h"

using lb::documents::DocumentEditing;
using lb::documents::DocumentPosting;
using lb::documents::Outcome;

namespace {

class ReceiptDocumentsTest : public DocumentFixture {
protected:
    void SetUp() override
    {
        DocumentFixture::SetUp();
        makeCustomer(QStringLiteral("C001"), QStringLiteral("张三"),
                     {{"balance", 500.0}, {"amount", 40.0}, {"pay", 3.0}, {"deduck", 1.0}, {"pay_y", 30.0}, {"deduck_y", 2.0}});
        exec(QStringLiteral("update bank set balance=1000, amount=7, amount_y=70 where id='0000000001'"));
        makeAccount(QStringLiteral("0000000002"), QStringLiteral("工商银行"), {{"balance", 400.0}, {"amount", 4.0}, {"amount_y", 40.0}});
    }

    static Values line(const QString& account, const QString& name, double amount, double deduck = 0)
    {
        return {{"sphh", account}, {"spmc", name}, {"amount", amount}, {"deduck", deduck}};
    }

    // 200 in cash and 100 into the bank with 20 written off, on a balance of 500.
    QString makeOrdinaryReceipt()
    {
        return makeDocument(receipt(), QStringLiteral("C001"),
                            {line(QStringLiteral("0000000001"), QStringLiteral("现金"), 200),
                             line(QStringLiteral("0000000002"), QStringLiteral("工商银行"), 100, 20)},
                            QStringLiteral("NO-7"));
    }

    Outcome post(const QString& intno, const QString& customer = QStringLiteral("C001"))
    {
        return DocumentPosting::post(db(), receipt(), intno, customer, QString());
    }
};

} // namespace

TEST_F(ReceiptDocumentsTest, ANewReceiptStartsWithTheCarryOverLineAndACashLineAndNoHeaderAccount)
{
    const QString intno = DocumentPosting::create(db(), receipt(), QString());
    EXPECT_EQ(QStringLiteral("0000000001|2026-06-15|False||"), row(QStringLiteral("select intno, billdate, pass, bankid, bankname from getlist")));
    EXPECT_EQ((QStringList{QStringLiteral("0000000001||上期结转|0"), QStringLiteral("0000000002|0000000001|现金|0")}),
              rows(QStringLiteral("select intno, sphh, spmc, amount from getdetail where mainintno=:p1 order by intno"), {intno}));

    lb::db::Query lines(db());
    lines.sql().add(QStringLiteral("select * from getdetail where mainintno=:p1 order by intno"));
    lines.paramByName(QStringLiteral("p1")).setAsString(intno);
    lines.open();
    DocumentEditing::appendLine(receipt(), intno, lines);
    EXPECT_EQ(QStringLiteral("0000000003|0000000001|现金"), row(QStringLiteral("select intno, sphh, spmc from getdetail where intno='0000000003'")));
}

TEST_F(ReceiptDocumentsTest, TheRecalculationAndPostingClearTheCustomerIntoEachAccount)
{
    const QString intno = makeOrdinaryReceipt();
    EXPECT_EQ((QStringList{QStringLiteral("上期结转|500|500"), QStringLiteral("现金|200|300"), QStringLiteral("工商银行|100|180")}),
              rows(QStringLiteral("select spmc, amount, rest from getdetail where mainintno=:p1 order by intno"), {intno}));
    EXPECT_EQ(QStringLiteral("500|300|20|180|收款的现金银行帐:现金、工商银行|NO-7|C001|张三|"),
              row(QStringLiteral("select balance, amount, deduck, rest, remark, djh, customerid, customername, bankid from getlist")));

    const Outcome outcome = post(intno);
    EXPECT_FALSE(outcome.refused) << outcome.message.toStdString();
    // Received money and write-offs count as the customer's payments and deductions; the
    // amounts sold are not touched.
    EXPECT_EQ(QStringLiteral("180|40|303|21|330|22"),
              row(QStringLiteral("select balance, amount, pay, deduck, pay_y, deduck_y from customer where id='C001'")));
    EXPECT_EQ((QStringList{QStringLiteral("0000000001|1200|207|270|0"), QStringLiteral("0000000002|500|104|140|0")}),
              rows(QStringLiteral("select id, balance, amount, amount_y, pay from bank order by id")));
    EXPECT_EQ(QStringLiteral("True|收款单|13"), row(QStringLiteral("select pass, billname, billtype from getlist")));
    // The carry-over line too is flagged, and carries the paper number.
    EXPECT_EQ(QStringList({QStringLiteral("True|收款单|13|2026-06-15|C001|张三|NO-7")}),
              rows(QStringLiteral("select distinct pass, billname, billtype, billdate, customerid, customername, djh from getdetail")));
}

TEST_F(ReceiptDocumentsTest, TwoLinesOnOneAccountAddTwiceAndReversalTakesBothBack)
{
    const QString intno = makeDocument(receipt(), QStringLiteral("C001"),
                                       {line(QStringLiteral("0000000002"), QStringLiteral("工商银行"), 60),
                                        line(QStringLiteral("0000000002"), QStringLiteral("工商银行"), 40, 5)});
    const QStringList before = everyTable();
    ASSERT_FALSE(post(intno).refused);
    EXPECT_EQ(QStringLiteral("500|104|140"), row(QStringLiteral("select balance, amount, amount_y from bank where id='0000000002'")));
    EXPECT_EQ(395, number(QStringLiteral("select balance from customer")));

    ASSERT_FALSE(DocumentPosting::reverse(db(), receipt(), intno, QStringLiteral("C001"), QString()).refused);
    EXPECT_EQ(QStringLiteral("400|4|40"), row(QStringLiteral("select balance, amount, amount_y from bank where id='0000000002'")));
    EXPECT_EQ(QStringLiteral("500|3|1|30|2"), row(QStringLiteral("select balance, pay, deduck, pay_y, deduck_y from customer")));
}

TEST_F(ReceiptDocumentsTest, RefusalsComeBeforeAnyWriteAndAnAccountCodeThatNamesNoAccountIsOne)
{
    struct Refusal {
        const char* title;
        std::function<QString()> make;
        QString customer;
        QString message;
    };
    const QString posted = makeOrdinaryReceipt();
    ASSERT_FALSE(post(posted).refused);
    const std::vector<Refusal> refusals = {
        {"posted already", [&] { return posted; }, "C001", QStringLiteral("该单据已过帐,不能再过帐！")},
        {"no customer", [&] { return makeOrdinaryReceipt(); }, "", QStringLiteral("没有选取客户,不能过帐！")},
        {"customer zero", [&] { return makeOrdinaryReceipt(); }, "0000000000", QStringLiteral("没有选取客户,不能过帐！")},
        {"unknown customer", [&] { return makeOrdinaryReceipt(); }, "C002", QStringLiteral("查无此客户号！")},
        {"second line into no account",
         [&] {
             return makeDocument(receipt(), QStringLiteral("C001"),
                                 {line(QStringLiteral("0000000001"), QStringLiteral("现金"), 200),
                                  line(QStringLiteral("0000000009"), QStringLiteral("旧帐户"), 100)});
         },
         "C001", QStringLiteral("查无此银行编号！")},
        {"account code in other case, nothing received",
         [&] {
             exec(QStringLiteral("update bank set id='B1' where id='0000000002'"));
             return makeDocument(receipt(), QStringLiteral("C001"), {line(QStringLiteral("b1"), QStringLiteral("工商银行"), 0, 0)});
         },
         "C001", QStringLiteral("查无此银行编号！")},
    };
    for (const Refusal& refusal : refusals) {
        const QString intno = refusal.make();
        const QStringList before = everyTable();
        const Outcome outcome = post(intno, refusal.customer);
        EXPECT_TRUE(outcome.refused) << refusal.title;
        EXPECT_EQ(refusal.message, outcome.message) << refusal.title;
        EXPECT_EQ(before, everyTable()) << refusal.title;
    }
}

TEST_F(ReceiptDocumentsTest, AFailingWriteAnywhereLeavesEveryTableAsItWas)
{
    const QString intno = makeOrdinaryReceipt();
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(post(intno).refused); }), 5);
    EXPECT_GE(failEachWrite([&] { ASSERT_FALSE(DocumentPosting::reverse(db(), receipt(), intno, QStringLiteral("C001"), QString()).refused); }),
              5);
    EXPECT_GE(failEachWrite([&] { DocumentPosting::create(db(), receipt(), QString()); }), 3);
}
