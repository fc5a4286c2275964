// The stock menu driven offscreen: rights, count entry, gain and loss, stock value, the update.
#include "masterdata/MasterWindowFixture.h"
#include "masterdata/StockMenu.h"
#include "masterdata/ValueEditor.h"

#include "platform/sys/Errors.h"
#include "platform/ui/ScriptedModals.h"

#include <QDialog>
#include <QPushButton>

using lb::core::PickCode;
using lb::masterdata::ListCommand;
using lb::masterdata::MasterListWindow;
using lb::masterdata::StockMenu;
using lb::masterdata::ValueEditor;
using lb::ui::DialogAnswer;

class StockWindows : public MasterWindowFixture {
protected:
    void SetUp() override
    {
        MasterWindowFixture::SetUp();
        counted = makeProduct("A1", "苹果", {{"sl", 10.0}, {"ysl", 8.0}, {"dj_w", 2.5}});
        even = makeProduct("A2", "梨", {{"sl", 4.0}, {"ysl", 4.0}, {"dj_w", 1.0}});
    }
    QString counted, even;
};

TEST_F(StockWindows, OnlyTheAdministratorCountsAndUpdates)
{
    main->OperatorNo = QStringLiteral("001");
    EXPECT_EQ(nullptr, StockMenu::stockTake());
    EXPECT_TRUE(main->isEnabled());
    StockMenu::updateStock();
    EXPECT_EQ((QStringList{"该用户无权使用此功能！", "该用户无此权限,请用999登录！"}), dialogs.texts());
    EXPECT_EQ(QVariant(10.0), scalar("select sl from product where intno=:p1", {counted}));
}

TEST_F(StockWindows, CountEntryWritesOnlyTheCountAndChecksItFirst)
{
    MasterListWindow* list = StockMenu::stockTake();
    ASSERT_NE(nullptr, list);
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(list->command(ListCommand::CountEntry)->isVisible());
    EXPECT_TRUE(list->DBGrid1->isColumnHidden(14));
    lb::ui::ScriptedModals steps;
    steps.then([](QDialog& dialog) {
        auto& editor = static_cast<ValueEditor&>(dialog);
        EXPECT_EQ(QStringLiteral("A1"), editor.box(0)->text());
        EXPECT_TRUE(editor.box(2)->isReadOnly());
        editor.box(0)->setText(QStringLiteral("changed"));
        editor.box(2)->setText(QStringLiteral("99"));
        editor.box(3)->setText(QStringLiteral("7"));
        editor.save();
        editor.reject();
    });
    list->countEntry();
    EXPECT_EQ(QVariant(7.0), scalar("select ysl from product where intno=:p1", {counted}));
    EXPECT_EQ(QVariant(10.0), scalar("select sl from product where intno=:p1", {counted}));
    EXPECT_EQ(QVariant("A1"), scalar("select sphh from product where intno=:p1", {counted}));

    ValueEditor editor(*list->config().valueEditor, list);
    editor.box(3)->setText(QString());
    EXPECT_THROW(editor.save(), lb::ConvertError);
    EXPECT_EQ(lb::db::DataSetState::Browse, dm().Aqproduct->state());
    editor.box(3)->setText(QStringLiteral("1..2"));
    EXPECT_THROW(editor.save(), lb::ConvertError);
    EXPECT_EQ(QVariant(7.0), scalar("select ysl from product where intno=:p1", {counted}));

    list->close();
    EXPECT_TRUE(main->isEnabled());
    EXPECT_TRUE(dm().ADOCon.connected());
    EXPECT_TRUE(dm().ATcompany->active());
}

TEST_F(StockWindows, GainAndLossAndStockValue)
{
    MasterListWindow* list = StockMenu::gainAndLoss();
    EXPECT_EQ(PickCode::StockGainLoss, main->PickMode);
    EXPECT_EQ(QStringLiteral("库存损益表"), list->windowTitle());
    EXPECT_FALSE(list->command(ListCommand::CountEntry)->isVisible());
    EXPECT_EQ(QStringLiteral("A1"), dm().Aqproduct->fieldByName("sphh").asString()); // the loss first
    EXPECT_DOUBLE_EQ(-2.0, dm().Aqproduct->fieldByName("sptj").asFloat());
    list->close();
    EXPECT_EQ(PickCode::None, main->PickMode);

    list = StockMenu::stockValue();
    EXPECT_EQ(PickCode::StockValue, main->PickMode);
    EXPECT_EQ(QStringLiteral("库存金额"), list->DBGrid1->model()->headerData(14, Qt::Horizontal, Qt::DisplayRole).toString());
    EXPECT_EQ(QVariant(25.0), scalar("select sptj from product where intno=:p1", {counted}));
    EXPECT_DOUBLE_EQ(29.0, dm().AQtotallist->fieldByName("rest").asFloat());
    EXPECT_DOUBLE_EQ(14.0, dm().AQtotallist->fieldByName("hjsl").asFloat());
    list->close();
}

TEST_F(StockWindows, GainAndLossListsProductsNeverCountedLastWithoutADifference)
{
    const QString uncounted = makeProduct("A0", "桃", {{"sl", 6.0}});
    exec("update product set ysl=null where intno=:p1", {uncounted});
    makeProduct("A9", "李", {{"sl", 1.0}, {"ysl", 4.0}});
    MasterListWindow* list = StockMenu::gainAndLoss();
    QStringList order;
    lb::db::Query& rows = list->dataSet();
    for (rows.first(); !rows.eof(); rows.next())
        order << rows.fieldByName("sphh").asString() + QLatin1Char('=') + list->DBGrid1->model()->index(rows.recNo() - 1, 14).data().toString();
    EXPECT_EQ((QStringList{"A1=-2.00", "A2=0.00", "A9=3.00", "A0="}), order);
}

TEST_F(StockWindows, UpdateTakesTheCountOfMarkedCountedProducts)
{
    const QString uncounted = makeProduct("A3", "桃", {{"sl", 6.0}, {"szbj", true}});
    exec("update product set ysl=null where intno=:p1", {uncounted});
    exec("update product set szbj=true where intno=:p1", {counted});

    dialogs.type(QStringLiteral("bad"));
    StockMenu::updateStock();
    EXPECT_EQ(QStringLiteral("输入操作员密码错误！"), dialogs.lastText());
    EXPECT_EQ(lb::ui::DialogRequest::Kind::Password, dialogs.shown().front().kind);
    dialogs.type(QStringLiteral("pw")).answer(DialogAnswer::Cancel);
    StockMenu::updateStock();
    EXPECT_EQ(QVariant(10.0), scalar("select sl from product where intno=:p1", {counted}));

    dialogs.type(QStringLiteral("pw")).answer(DialogAnswer::Ok);
    StockMenu::updateStock();
    EXPECT_EQ(QVariant(8.0), scalar("select sl from product where intno=:p1", {counted}));
    EXPECT_EQ(QVariant(4.0), scalar("select sl from product where intno=:p1", {even}));
    EXPECT_EQ(QVariant(6.0), scalar("select sl from product where intno=:p1", {uncounted}));
    EXPECT_EQ(0, dialogs.unanswered());
}
