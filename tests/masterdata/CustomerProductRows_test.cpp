// Customer price rows: the counter, the single addition and the two imports.
#include "masterdata/CustomerProductRows.h"

#include "masterdata/MasterDataFixture.h"

using lb::masterdata::CustomerProductRows;

class CustomerProductRowsTest : public MasterDataFixture {
protected:
    void SetUp() override
    {
        MasterDataFixture::SetUp();
        customer = makeCustomer("0001", "甲");
        dm().Aqcustomer->open();
        dm().Aqcproduct->open();
    }
    void setCounter(int value) { exec("update nextno set intno=:p1 where tablename='cproduct'", {QString::number(value)}); }
    QVariant counter() { return scalar("select intno from nextno where tablename='cproduct'"); }
    QString customer;
};

TEST_F(CustomerProductRowsTest, AddOneTakesOneCounterStepAndRefusesATwin)
{
    const QString product = makeProduct("A1", "苹果", {{"dj_n", 9.5}, {"spbs", "斤"}, {"spmz", 11.0}});
    setCounter(57);
    lb::db::Query products(db());
    products.sql().add(QStringLiteral("select * from product"));
    products.open();
    EXPECT_TRUE(CustomerProductRows::addProduct(db(), *dm().Aqcustomer, products, *dm().Aqcproduct));
    EXPECT_EQ(QVariant("0000000057"), scalar("select intno1 from cproduct"));
    EXPECT_EQ(QVariant("58"), counter());
    EXPECT_EQ(QVariant(customer), scalar("select intno from cproduct"));
    EXPECT_EQ(QVariant("斤"), scalar("select spbzxh from cproduct"));
    EXPECT_EQ(QVariant(9.5), scalar("select dj_n from cproduct"));
    EXPECT_EQ(QVariant(0.0), scalar("select spmz from cproduct"));
    EXPECT_EQ(1, dm().Aqcproduct->recordCount());

    EXPECT_FALSE(CustomerProductRows::addProduct(db(), *dm().Aqcustomer, products, *dm().Aqcproduct));
    EXPECT_EQ(QVariant(1), scalar("select count(*) from cproduct"));
    EXPECT_EQ(QVariant("58"), counter());
    Q_UNUSED(product);
}

TEST_F(CustomerProductRowsTest, ImportAllNumbersEachRowAndImportMarkedSkipsTwins)
{
    makeProduct("A1", "苹果", {{"dj_n", 1.0}, {"spmz", 2.0}});
    makeProduct("A2", "梨", {{"dj_n", 3.0}, {"spmz", 4.0}, {"szbj", true}});
    makeProduct("A3", "桃", {{"dj_n", 5.0}, {"spmz", 6.0}, {"szbj", true}});
    setCounter(10);
    EXPECT_EQ(3, CustomerProductRows::import(db(), customer, true));
    EXPECT_EQ((QStringList{"0000000010", "0000000011", "0000000012"}), column("select intno1 from cproduct order by intno1"));
    EXPECT_EQ(QVariant("13"), counter());

    const QString other = makeCustomer("0002", "乙");
    exec("insert into cproduct(intno1,intno,spintno) select '0000000099',:p1,intno from product where sphh='A2'", {other});
    EXPECT_EQ(1, CustomerProductRows::import(db(), other, false));
    EXPECT_EQ(QVariant("14"), counter());
    EXPECT_EQ(QVariant(6.0), scalar("select spmz from cproduct where intno=:p1 and intno1='0000000013'", {other}));
    EXPECT_EQ(QVariant(0.0), scalar("select dj_n from cproduct where intno=:p1 and intno1='0000000013'", {other}));
}

TEST_F(CustomerProductRowsTest, AFailedImportLeavesCounterAndRowsAsTheyWere)
{
    makeProduct("A1", "苹果");
    exec("update nextno set intno='x' where tablename='cproduct'");
    EXPECT_THROW(CustomerProductRows::import(db(), customer, true), lb::ConvertError);
    EXPECT_EQ(QVariant(0), scalar("select count(*) from cproduct"));
    EXPECT_EQ(QVariant("x"), counter());
}
