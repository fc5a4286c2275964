// The pick protocol across windows: PickMode is reset by the menu, and a pick lands in the
// line that was current when the picker opened.
#include "masterdata/FakeOpener.h"
#include "masterdata/MasterDataWindows.h"
#include "masterdata/MasterWindowFixture.h"

using lb::core::PickCode;
using lb::masterdata::MasterListWindow;
using lb::masterdata::registerMasterDataWindows;
using lb::ui::DialogAnswer;

class PickProtocol : public MasterWindowFixture {
protected:
    void SetUp() override
    {
        MasterWindowFixture::SetUp();
        registerMasterDataWindows();
    }
};

TEST_F(PickProtocol, MenuCommandsStartFromPickModeNone)
{
    makeCustomer("0001", "甲");
    main->PickMode = PickCode::ReceiptEntry; // left over by a window that is gone
    for (QAction* action : main->findChildren<QAction*>()) {
        if (action->text() == QStringLiteral("客户资料")) {
            action->trigger();
            break;
        }
    }
    MasterListWindow* list = MasterListWindow::instance(QStringLiteral("TFrcustomer"));
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(PickCode::None, main->PickMode);
    list->ToolButton7Click(); // a menu list writes nothing and stays
    EXPECT_TRUE(list->isVisible());
    list->close();

    main->PickMode = PickCode::PurchaseEntry;
    for (QAction* action : main->findChildren<QAction*>()) {
        if (action->text() == QStringLiteral("期初客户应收")) {
            action->trigger();
            break;
        }
    }
    ASSERT_NE(nullptr, MasterListWindow::instance(QStringLiteral("TFrcustomer_b")));
    EXPECT_EQ(PickCode::None, main->PickMode);
}

TEST_F(PickProtocol, ProductPickWritesTheLineCurrentAtOpeningOrNothing)
{
    makeProduct("A1", "苹果", {{"dj_n", 10.0}});
    FakeOpener form(db());
    const QString first = makeLine();
    const QString second = makeLine();
    form.lines.open();
    form.lines.first();
    dm().Aqproduct->reopen(QStringLiteral("SELECT * from product"));
    MasterListWindow* list = MasterListWindow::openAsPicker(QStringLiteral("TFrproduct"), PickCode::SalesEntry, form);
    form.lines.last(); // the user moved to another line meanwhile
    list->ToolButton7Click();
    EXPECT_EQ(QVariant("A1"), scalar("select sphh from outdetail where intno=:p1", {first}));
    EXPECT_EQ(QVariant(""), scalar("select sphh from outdetail where intno=:p1", {second}));

    // The line deleted while the picker was open: nothing is written, the list closes.
    QPointer<MasterListWindow> again(MasterListWindow::openAsPicker(QStringLiteral("TFrproduct"), PickCode::SalesEntry, form));
    exec("delete from outdetail where intno=:p1", {second});
    form.lines.close();
    form.lines.open();
    again->ToolButton7Click();
    flush();
    EXPECT_TRUE(again.isNull());
    EXPECT_EQ(QVariant(1), scalar("select count(*) from outdetail where sphh='A1'"));
    EXPECT_EQ(PickCode::None, main->PickMode);
}

// A party list closes on a pick from an empty list; the product picker stays open for a product.
TEST_F(PickProtocol, PickFromAnEmptyListWritesNothing)
{
    FakeOpener form(db());
    QPointer<MasterListWindow> list(MasterListWindow::openAsPicker(QStringLiteral("TFrcustomer"), PickCode::SalesEntry, form));
    form.edit2->setText(QStringLiteral("keep"));
    list->ToolButton7Click();
    flush();
    EXPECT_TRUE(list.isNull());
    EXPECT_EQ(QStringLiteral("keep"), form.edit2->text());

    const QString line = makeLine();
    form.lines.open();
    dm().Aqproduct->reopen(QStringLiteral("SELECT * from product"));
    QPointer<MasterListWindow> products(MasterListWindow::openAsPicker(QStringLiteral("TFrproduct"), PickCode::SalesEntry, form));
    products->ToolButton7Click();
    flush();
    ASSERT_FALSE(products.isNull());
    EXPECT_EQ(PickCode::SalesEntry, main->PickMode);
    EXPECT_EQ(QVariant(""), scalar("select sphh from outdetail where intno=:p1", {line}));
    products->close();
    EXPECT_EQ(PickCode::None, main->PickMode);
}

TEST_F(PickProtocol, DeletingAProductAsksAboutStockAndTakesItsPriceRows)
{
    const QString apple = makeProduct("A1", "苹果", {{"sl", 3.0}});
    exec("insert into cproduct(intno1,intno,spintno) values('0000000001','0000000001',:p1)", {apple});
    MasterListWindow* list =
        MasterListWindow::openFromMenu(QStringLiteral("TFrproduct"), main.get(), QStringLiteral("SELECT * from product "));
    dialogs.answer(DialogAnswer::Cancel);
    list->ToolButton3Click();
    EXPECT_EQ((QStringList{"该商品库存量不为0,是否要删除?"}), dialogs.texts());
    EXPECT_EQ(QVariant(1), scalar("select count(*) from product"));
    dialogs.answer(DialogAnswer::Ok).answer(DialogAnswer::Ok);
    list->ToolButton3Click();
    EXPECT_EQ(QVariant(0), scalar("select count(*) from product"));
    EXPECT_EQ(QVariant(0), scalar("select count(*) from cproduct"));
    EXPECT_EQ(QStringLiteral("记录数:0"), list->statusText(2));
}
