// The stock menu driven offscreen: rights, count entry, the stock-take marks, gain and loss,
// stock value, the update.
#include "masterdata/MasterWindowFixture.h"
#include "masterdata/StockMenu.h"
#include "masterdata/ValueEditor.h"

#include "platform/sys/Errors.h"
#include "platform/ui/ScriptedModals.h"
#include "support/ReportedErrors.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <functional>

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

namespace {

// A way of clicking the stock-take list's 选择 box of the current row.
struct MarkClick {
    const char* name;
    std::function<void(MasterListWindow& list)> click;
};

void PrintTo(const MarkClick& click, std::ostream* out) { *out << click.name; }

void mouseClick(QWidget* viewport, const QPoint& at)
{
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
}

class StockTakeMark : public StockWindows, public ::testing::WithParamInterface<MarkClick> {
protected:
    static constexpr int markColumn = 0; // 选择

    // Puts the list on the row of product `sphh`, the 选择 box chosen.
    static void chooseBox(MasterListWindow& list, const QString& sphh)
    {
        lb::db::Query& rows = list.dataSet();
        ASSERT_TRUE(rows.locate(QStringLiteral("sphh"), sphh));
        list.DBGrid1->setCurrentIndex(list.DBGrid1->model()->index(rows.recNo() - 1, markColumn));
    }
    static Qt::CheckState shownMark(MasterListWindow& list)
    {
        return list.DBGrid1->model()->index(list.DBGrid1->currentIndex().row(), markColumn).data(Qt::CheckStateRole).value<Qt::CheckState>();
    }
    QVariant storedMark(const QString& intno) { return scalar("select szbj from product where intno=:p1", {intno}); }
    void updateStock()
    {
        dialogs.type(QStringLiteral("pw")).answer(DialogAnswer::Ok);
        StockMenu::updateStock();
    }
};

} // namespace

// A click on the mark that the books cannot take is said and taken back: the box shows the
// mark that is stored, and 更新库存量 passes the product by as it looks. Clicked again once the
// books take it, the box is ticked, the mark stored, and the update takes the count.
TEST_P(StockTakeMark, AMarkTheBooksCannotTakeShowsWhatIsStored)
{
    MasterListWindow* list = StockMenu::stockTake();
    ASSERT_NE(nullptr, list);
    QApplication::setActiveWindow(list);
    list->DBGrid1->setFocus();
    chooseBox(*list, QStringLiteral("A1"));
    ASSERT_EQ(Qt::Unchecked, shownMark(*list));
    ReportedErrors errors;

    refuseWritesTo(QStringLiteral("product"), true);
    GetParam().click(*list);
    refuseWritesTo(QStringLiteral("product"), false);
    ASSERT_EQ(1, errors.count());
    EXPECT_EQ(QStringLiteral("TFrproductp"), errors.reports().front().sender ? errors.reports().front().sender->objectName() : QString());
    EXPECT_EQ(Qt::Unchecked, shownMark(*list));
    EXPECT_EQ(lb::db::DataSetState::Browse, list->dataSet().state());
    EXPECT_EQ(QVariant(false), storedMark(counted));
    updateStock();
    EXPECT_EQ(QVariant(10.0), scalar("select sl from product where intno=:p1", {counted}));

    chooseBox(*list, QStringLiteral("A1"));
    GetParam().click(*list);
    EXPECT_EQ(Qt::Checked, shownMark(*list));
    EXPECT_EQ(QVariant(true), storedMark(counted));
    EXPECT_EQ(QVariant(false), storedMark(even));
    updateStock();
    EXPECT_EQ(QVariant(8.0), scalar("select sl from product where intno=:p1", {counted}));
    EXPECT_EQ(1, errors.count());
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, StockTakeMark,
    ::testing::Values(MarkClick{"Mouse",
                                [](MasterListWindow& list) {
                                    mouseClick(list.DBGrid1->viewport(), list.DBGrid1->visualRect(list.DBGrid1->currentIndex()).center());
                                }},
                      MarkClick{"Space",
                                [](MasterListWindow& list) {
                                    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
                                    QApplication::sendEvent(list.DBGrid1, &press);
                                }}),
    [](const auto& info) { return std::string(info.param.name); });
