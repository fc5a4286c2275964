// The pick write-back: the table of codes per list, and what a pick writes into its opener.
#include "masterdata/PickWriteBack.h"

#include "masterdata/FakeOpener.h"
#include "masterdata/MasterDataFixture.h"

namespace {

std::vector<int> codesOf(PickList list)
{
    std::vector<int> codes;
    for (const PickRule& rule : PickWriteBack::rules()) {
        if (rule.list == list)
            codes.push_back(rule.code);
    }
    return codes;
}

} // namespace

TEST(PickWriteBackTable, CodesAndBoxesOfEachList)
{
    EXPECT_EQ((std::vector<int>{1, 3, 5, 11, 12, 13}), codesOf(PickList::Customer));
    EXPECT_EQ((std::vector<int>{2, 3, 4, 6, 11, 12, 14}), codesOf(PickList::Supplier));
    EXPECT_EQ((std::vector<int>{1, 2, 12, 13, 14}), codesOf(PickList::Account));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 5, 6, 13, 14}), codesOf(PickList::Employee));
    EXPECT_EQ((std::vector<int>{1, 2, 5, 6}), codesOf(PickList::Product));
    EXPECT_EQ((std::vector<int>{18}), codesOf(PickList::CustomerProduct));
    EXPECT_TRUE(codesOf(PickList::Store).empty());

    // Code 11 is the customer summary but the supplier statement; 12 the reverse.
    EXPECT_EQ(QStringLiteral("Tfrcusttotal"), QString::fromLatin1(PickWriteBack::find(PickList::Customer, 11)->opener));
    EXPECT_EQ(QStringLiteral("Tfrbrantotalist"), QString::fromLatin1(PickWriteBack::find(PickList::Supplier, 11)->opener));
    EXPECT_EQ(QStringLiteral("Tfrbrantotal"), QString::fromLatin1(PickWriteBack::find(PickList::Supplier, 12)->opener));
    EXPECT_EQ(PickBox::Edit9, PickWriteBack::find(PickList::Customer, 12)->box);
    EXPECT_EQ(PickBox::Edit2, PickWriteBack::find(PickList::Customer, 1)->box);
    EXPECT_EQ(PickBox::Edit3, PickWriteBack::find(PickList::Account, 12)->box);
    EXPECT_EQ(PickAction::HeaderAccount, PickWriteBack::find(PickList::Account, 2)->action);
    EXPECT_EQ(PickAction::LineAccount, PickWriteBack::find(PickList::Account, 13)->action);
    EXPECT_EQ(PickBox::Edit16, PickWriteBack::find(PickList::Employee, 14)->box);
    EXPECT_EQ(nullptr, PickWriteBack::find(PickList::Customer, 2));
}

class PickWriteBackApply : public MasterDataFixture {
protected:
    void SetUp() override
    {
        MasterDataFixture::SetUp();
        opener = std::make_unique<FakeOpener>(db());
    }
    void TearDown() override
    {
        opener.reset();
        MasterDataFixture::TearDown();
    }
    std::unique_ptr<FakeOpener> opener;
};

TEST_F(PickWriteBackApply, BoxesGetCodeUntrimmedAndNameTrimmed)
{
    makeCustomer("0012", "甲");
    makeEmployee("7", "  王五 ");
    lb::db::Query customers(db());
    customers.sql().add(QStringLiteral("select * from customer"));
    customers.open();
    EXPECT_TRUE(PickWriteBack::apply(PickList::Customer, 12, *opener, customers, QString(), QString()));
    EXPECT_EQ(QStringLiteral("0012"), opener->edit9->text());
    EXPECT_EQ(QString(), opener->edit2->text());

    lb::db::Query employees(db());
    employees.sql().add(QStringLiteral("select * from employee"));
    employees.open();
    EXPECT_TRUE(PickWriteBack::apply(PickList::Employee, 13, *opener, employees, QString(), QString()));
    EXPECT_EQ(QStringLiteral("王五"), opener->edit16->text());
    // A code the list has no branch for writes nothing.
    EXPECT_FALSE(PickWriteBack::apply(PickList::Employee, 4, *opener, employees, QString(), QString()));
}

TEST_F(PickWriteBackApply, AccountIntoHeaderOrLine)
{
    makeAccount("0000000002", "工行");
    insertRow("outlist", {{"intno", "0000000001"}});
    const QString line = makeLine();
    opener->header.open();
    opener->lines.open();
    lb::db::Query accounts(db());
    accounts.sql().add(QStringLiteral("select * from bank where id='0000000002'"));
    accounts.open();

    EXPECT_TRUE(PickWriteBack::apply(PickList::Account, 1, *opener, accounts, line, QString()));
    EXPECT_EQ(QStringLiteral("0000000002"), opener->edit10->text());
    EXPECT_EQ(QVariant("0000000002"), scalar("select bankid from outlist"));
    EXPECT_EQ(QVariant(""), scalar("select sphh from outdetail"));

    EXPECT_TRUE(PickWriteBack::apply(PickList::Account, 14, *opener, accounts, line, QString()));
    EXPECT_EQ(QVariant("工行"), scalar("select spmc from outdetail"));
    // The journal's code writes the account's code into its account box only.
    EXPECT_TRUE(PickWriteBack::apply(PickList::Account, 12, *opener, accounts, line, QString()));
    EXPECT_EQ(QStringLiteral("0000000002"), opener->edit3->text());
    EXPECT_EQ(QVariant("0000000002"), scalar("select bankid from outlist"));
}

TEST_F(PickWriteBackApply, ProductIntoTheLineThatWasCurrent)
{
    const QString product = makeProduct("A1", "苹果", {{"dj_n", 10.0}, {"dj_w", 8.0}, {"spmz", 12.5}, {"spzz", 15.0},
                                                       {"spbs", "斤"}, {"sl_s", 3.0}, {"sl_j", 6.0}});
    const QString first = makeLine();
    const QString second = makeLine();
    opener->lines.open();
    opener->lines.last(); // the user moved on after opening the picker on the first line
    lb::db::Query products(db());
    products.sql().add(QStringLiteral("select * from product"));
    products.open();

    EXPECT_TRUE(PickWriteBack::apply(PickList::Product, 1, *opener, products, first, QStringLiteral("spmz")));
    EXPECT_EQ(QVariant(12.5), scalar("select dj_n from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant(1.0), scalar("select sl from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant(0.0), scalar("select ss from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant(product), scalar("select spintno from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant("斤"), scalar("select unit from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant(8.0), scalar("select dj_w from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant(""), scalar("select spmc from outdetail where intno=:p1", {second}));

    EXPECT_TRUE(PickWriteBack::apply(PickList::Product, 2, *opener, products, second, QStringLiteral("spzz")));
    EXPECT_EQ(QVariant(15.0), scalar("select dj_n from outdetail where intno=:p1", {second}));
    EXPECT_TRUE(PickWriteBack::apply(PickList::Product, 2, *opener, products, second, QStringLiteral("sphh")));
    EXPECT_EQ(QVariant(10.0), scalar("select dj_n from outdetail where intno=:p1", {second}));
}

TEST_F(PickWriteBackApply, ACustomerPriceRowGivesItsPriceAndTheProductsPurchasePrice)
{
    const QString product = makeProduct("A1", "苹果", {{"dj_w", 8.0}, {"spbs", "斤"}});
    insertRow("cproduct", {{"intno1", "0000000001"}, {"spintno", product}, {"intno", "0000000001"}, {"sphh", "A1"},
                           {"spmc", "苹果"}, {"spbzxh", "斤"}, {"dj_n", 11.0}, {"spzz", 13.0}});
    const QString line = makeLine();
    opener->lines.open();
    lb::db::Query prices(db());
    prices.sql().add(QStringLiteral("select * from cproduct"));
    prices.open();

    EXPECT_TRUE(PickWriteBack::apply(PickList::CustomerProduct, 18, *opener, prices, line, QStringLiteral("spzz")));
    EXPECT_EQ(QVariant(13.0), scalar("select dj_n from outdetail where intno=:p1", {line}));
    EXPECT_EQ(QVariant(8.0), scalar("select dj_w from outdetail where intno=:p1", {line}));
    EXPECT_EQ(QVariant("斤"), scalar("select unit from outdetail where intno=:p1", {line}));
}

TEST_F(PickWriteBackApply, NothingIntoAGoneLineTheCarryOverLineOrFromAnEmptyList)
{
    makeProduct("A1", "苹果", {{"dj_n", 10.0}});
    const QString carry = makeLine(QStringLiteral("上期结转"));
    const QString line = makeLine();
    opener->lines.open();
    lb::db::Query products(db());
    products.sql().add(QStringLiteral("select * from product"));
    products.open();

    EXPECT_FALSE(PickWriteBack::apply(PickList::Product, 1, *opener, products, carry, QString()));
    EXPECT_EQ(QVariant("上期结转"), scalar("select spmc from outdetail where intno=:p1", {carry}));

    exec("delete from outdetail where intno=:p1", {line});
    opener->lines.close();
    opener->lines.open();
    EXPECT_FALSE(PickWriteBack::apply(PickList::Product, 1, *opener, products, line, QString()));
    EXPECT_EQ(QVariant(0.0), scalar("select dj_n from outdetail where intno=:p1", {carry}));

    lb::db::Query none(db());
    none.sql().add(QStringLiteral("select * from product where 0"));
    none.open();
    const QString other = makeLine();
    opener->lines.close();
    opener->lines.open();
    EXPECT_FALSE(PickWriteBack::apply(PickList::Product, 1, *opener, none, other, QString()));
    EXPECT_EQ(QVariant(""), scalar("select sphh from outdetail where intno=:p1", {other}));
}
