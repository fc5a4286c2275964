// Product marks, deletions with their price rows, the price-column option, volume and stock figures.
#include "masterdata/ProductCommands.h"
#include "masterdata/StockCommands.h"

#include "masterdata/MasterDataFixture.h"
#include "platform/sys/Errors.h"

using lb::masterdata::ProductCommands;
using lb::masterdata::StockCommands;

using ProductCommandsTest = MasterDataFixture;

TEST_F(ProductCommandsTest, MarksAndMassDeletionTakePriceRowsAlong)
{
    const QString apple = makeProduct("A1", "苹果");
    const QString pear = makeProduct("A2", "梨");
    const QString customer = makeCustomer("0001", "甲");
    exec("insert into cproduct(intno1,intno,spintno) values('0000000001',:p1,:p2)", {customer, apple});
    exec("insert into cproduct(intno1,intno,spintno) values('0000000002',:p1,:p2)", {customer, pear});

    lb::db::Query& products = *dm().Aqproduct;
    products.open();
    ProductCommands::toggleMark(products);
    EXPECT_EQ(1, scalar("select count(*) from product where szbj=true").toInt());
    ProductCommands::toggleMark(products);
    EXPECT_EQ(0, scalar("select count(*) from product where szbj=true").toInt());
    EXPECT_EQ(0, ProductCommands::deleteMarked(db()));
    ProductCommands::setAllMarks(db(), true);
    EXPECT_EQ(2, scalar("select count(*) from product where szbj=true").toInt());
    ProductCommands::setAllMarks(db(), false);
    exec("update product set szbj=true where intno=:p1", {apple});
    EXPECT_EQ(1, ProductCommands::deleteMarked(db()));
    EXPECT_EQ((QStringList{"A2"}), column("select sphh from product"));
    EXPECT_EQ((QStringList{pear}), column("select spintno from cproduct"));
}

TEST_F(ProductCommandsTest, DeletingOneAsksAndKeepsEverythingOnCancel)
{
    const QString apple = makeProduct("A1", "苹果");
    exec("insert into cproduct(intno1,intno,spintno) values('0000000001','0000000001',:p1)", {apple});
    lb::db::Query& products = *dm().Aqproduct;
    products.open();
    dialogs.answer(lb::ui::DialogAnswer::Cancel);
    EXPECT_THROW(ProductCommands::deleteCurrent(db(), products), lb::Abort);
    EXPECT_EQ(QVariant(1), scalar("select count(*) from cproduct"));
    EXPECT_EQ(QVariant(1), scalar("select count(*) from product"));
    dialogs.answer(lb::ui::DialogAnswer::Ok);
    ProductCommands::deleteCurrent(db(), products);
    EXPECT_EQ(QVariant(0), scalar("select count(*) from cproduct"));
    EXPECT_EQ(QVariant(0), scalar("select count(*) from product"));
    EXPECT_EQ(QStringLiteral("确实要删除当前记录吗?"), dialogs.lastText());
}

TEST_F(ProductCommandsTest, PurchasePriceOptionAndVolume)
{
    const bool before = ProductCommands::purchasePriceHidden(db());
    EXPECT_EQ(!before, ProductCommands::togglePurchasePrice(db()));
    EXPECT_EQ(!before, ProductCommands::purchasePriceHidden(db()));
    EXPECT_EQ(before, ProductCommands::togglePurchasePrice(db()));
    EXPECT_DOUBLE_EQ(3.532, ProductCommands::volume(100, 50, 20));
    EXPECT_DOUBLE_EQ(0.0, ProductCommands::volume(0, 0, 0));
}

TEST_F(ProductCommandsTest, GainLossValueAndUpdateFromTheCount)
{
    const QString counted = makeProduct("A1", "苹果", {{"sl", 10.0}, {"ysl", 8.0}, {"dj_w", 2.5}, {"szbj", true}});
    const QString same = makeProduct("A2", "梨", {{"sl", 4.0}, {"ysl", 4.0}, {"dj_w", 2.5}});
    const QString neverCounted = makeProduct("A3", "桃", {{"sl", 6.0}, {"szbj", true}});
    exec("update product set ysl=null where intno=:p1", {neverCounted});

    StockCommands::gainAndLoss(db());
    EXPECT_EQ(QVariant(-2.0), scalar("select sptj from product where intno=:p1", {counted}));
    EXPECT_EQ(QVariant(0.0), scalar("select sptj from product where intno=:p1", {same}));

    StockCommands::stockValue(db());
    EXPECT_EQ(QVariant(25.0), scalar("select sptj from product where intno=:p1", {counted}));
    EXPECT_EQ(QVariant(1), scalar("select count(*) from totallist"));
    EXPECT_EQ(QVariant(20.0), scalar("select hjsl from totallist"));
    EXPECT_EQ(QVariant(35.0), scalar("select rest from totallist"));

    EXPECT_EQ(1, StockCommands::updateFromCount(db()));
    EXPECT_EQ(QVariant(8.0), scalar("select sl from product where intno=:p1", {counted}));
    EXPECT_EQ(QVariant(6.0), scalar("select sl from product where intno=:p1", {neverCounted}));
}
