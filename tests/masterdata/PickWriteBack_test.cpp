// The pick write-back: the table of codes per list, and what a pick writes into its opener.
#include "masterdata/PickWriteBack.h"

#include "masterdata/FakeOpener.h"
#include "masterdata/MasterDataFixture.h"

using lb::core::PickCode;
using lb::masterdata::PickAction;
using lb::masterdata::PickBox;
using lb::masterdata::PickList;
using lb::masterdata::PickRule;
using lb::masterdata::PickWriteBack;

namespace {

std::vector<PickCode> codesOf(PickList list)
{
    std::vector<PickCode> codes;
    for (const PickRule& rule : PickWriteBack::rules()) {
        if (rule.list == list)
            codes.push_back(rule.code);
    }
    return codes;
}

} // namespace

TEST(PickWriteBackTable, CodesAndBoxesOfEachList)
{
    using P = PickCode;
    EXPECT_EQ((std::vector<P>{P::SalesEntry, P::SalesSummary, P::SalesReturnEntry, P::CustomerSummary,
                              P::CustomerStatement, P::ReceiptEntry}),
              codesOf(PickList::Customer));
    EXPECT_EQ((std::vector<P>{P::PurchaseEntry, P::PurchaseOrderEntry, P::PurchaseSummary, P::PurchaseReturnEntry,
                              P::SupplierStatement, P::SupplierSummary, P::PaymentEntry}),
              codesOf(PickList::Supplier));
    EXPECT_EQ((std::vector<P>{P::SalesEntry, P::PurchaseEntry, P::CashBankJournal, P::ReceiptEntry, P::PaymentEntry}),
              codesOf(PickList::Account));
    EXPECT_EQ((std::vector<P>{P::SalesEntry, P::PurchaseEntry, P::PurchaseOrderEntry, P::SalesReturnEntry,
                              P::PurchaseReturnEntry, P::ReceiptEntry, P::PaymentEntry}),
              codesOf(PickList::Employee));
    EXPECT_EQ((std::vector<P>{P::SalesEntry, P::PurchaseEntry, P::SalesReturnEntry, P::PurchaseReturnEntry}),
              codesOf(PickList::Product));
    EXPECT_EQ((std::vector<P>{P::SalesEntryPriceTable}), codesOf(PickList::CustomerProduct));
    EXPECT_TRUE(codesOf(PickList::Store).empty());

    // The customer summary shares its number with the supplier statement, the customer
    // statement with the supplier summary.
    auto opener = [](PickList list, P code) { return QString::fromLatin1(PickWriteBack::find(list, code)->opener); };
    EXPECT_EQ(QStringLiteral("Tfrcusttotal"), opener(PickList::Customer, P::CustomerSummary));
    EXPECT_EQ(QStringLiteral("Tfrbrantotalist"), opener(PickList::Supplier, P::SupplierStatement));
    EXPECT_EQ(QStringLiteral("Tfrbrantotal"), opener(PickList::Supplier, P::SupplierSummary));
    EXPECT_EQ(PickBox::Edit9, PickWriteBack::find(PickList::Customer, P::CustomerStatement)->box);
    EXPECT_EQ(PickBox::Edit2, PickWriteBack::find(PickList::Customer, P::SalesEntry)->box);
    EXPECT_EQ(PickBox::Edit3, PickWriteBack::find(PickList::Account, P::CashBankJournal)->box);
    EXPECT_EQ(PickAction::HeaderAccount, PickWriteBack::find(PickList::Account, P::PurchaseEntry)->action);
    EXPECT_EQ(PickAction::LineAccount, PickWriteBack::find(PickList::Account, P::ReceiptEntry)->action);
    EXPECT_EQ(PickBox::Edit16, PickWriteBack::find(PickList::Employee, P::PaymentEntry)->box);
    EXPECT_EQ(nullptr, PickWriteBack::find(PickList::Customer, P::PurchaseEntry));
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
    EXPECT_TRUE(PickWriteBack::apply(PickList::Customer, PickCode::CustomerStatement, *opener, customers, QString(), QString()));
    EXPECT_EQ(QStringLiteral("0012"), opener->edit9->text());
    EXPECT_EQ(QString(), opener->edit2->text());

    lb::db::Query employees(db());
    employees.sql().add(QStringLiteral("select * from employee"));
    employees.open();
    EXPECT_TRUE(PickWriteBack::apply(PickList::Employee, PickCode::ReceiptEntry, *opener, employees, QString(), QString()));
    EXPECT_EQ(QStringLiteral("王五"), opener->edit16->text());
    // A code the list has no branch for writes nothing.
    EXPECT_FALSE(PickWriteBack::apply(PickList::Employee, PickCode::PurchaseSummary, *opener, employees, QString(), QString()));
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

    EXPECT_TRUE(PickWriteBack::apply(PickList::Account, PickCode::SalesEntry, *opener, accounts, line, QString()));
    EXPECT_EQ(QStringLiteral("0000000002"), opener->edit10->text());
    EXPECT_EQ(QVariant("0000000002"), scalar("select bankid from outlist"));
    EXPECT_EQ(QVariant(""), scalar("select sphh from outdetail"));

    EXPECT_TRUE(PickWriteBack::apply(PickList::Account, PickCode::PaymentEntry, *opener, accounts, line, QString()));
    EXPECT_EQ(QVariant("工行"), scalar("select spmc from outdetail"));
    // The journal's code writes the account's code into its account box only.
    EXPECT_TRUE(PickWriteBack::apply(PickList::Account, PickCode::CashBankJournal, *opener, accounts, line, QString()));
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

    EXPECT_TRUE(PickWriteBack::apply(PickList::Product, PickCode::SalesEntry, *opener, products, first, QStringLiteral("spmz")));
    EXPECT_EQ(QVariant(12.5), scalar("select dj_n from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant(1.0), scalar("select sl from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant(0.0), scalar("select ss from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant(product), scalar("select spintno from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant("斤"), scalar("select unit from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant(8.0), scalar("select dj_w from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant(""), scalar("select spmc from outdetail where intno=:p1", {second}));

    EXPECT_TRUE(PickWriteBack::apply(PickList::Product, PickCode::PurchaseEntry, *opener, products, second, QStringLiteral("spzz")));
    EXPECT_EQ(QVariant(15.0), scalar("select dj_n from outdetail where intno=:p1", {second}));
    EXPECT_TRUE(PickWriteBack::apply(PickList::Product, PickCode::PurchaseEntry, *opener, products, second, QStringLiteral("sphh")));
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

    EXPECT_TRUE(PickWriteBack::apply(PickList::CustomerProduct, PickCode::SalesEntryPriceTable, *opener, prices, line,
                                     QStringLiteral("spzz")));
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

    EXPECT_FALSE(PickWriteBack::apply(PickList::Product, PickCode::SalesEntry, *opener, products, carry, QString()));
    EXPECT_EQ(QVariant("上期结转"), scalar("select spmc from outdetail where intno=:p1", {carry}));

    exec("delete from outdetail where intno=:p1", {line});
    opener->lines.close();
    opener->lines.open();
    EXPECT_FALSE(PickWriteBack::apply(PickList::Product, PickCode::SalesEntry, *opener, products, line, QString()));
    EXPECT_EQ(QVariant(0.0), scalar("select dj_n from outdetail where intno=:p1", {carry}));

    lb::db::Query none(db());
    none.sql().add(QStringLiteral("select * from product where 0"));
    none.open();
    const QString other = makeLine();
    opener->lines.close();
    opener->lines.open();
    EXPECT_FALSE(PickWriteBack::apply(PickList::Product, PickCode::SalesEntry, *opener, none, other, QString()));
    EXPECT_EQ(QVariant(""), scalar("select sphh from outdetail where intno=:p1", {other}));
}
