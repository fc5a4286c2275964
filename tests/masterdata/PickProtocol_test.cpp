// The pick protocol across windows: PickMode is reset by the menu, and a pick lands in the
// line that was current when the picker opened.
#include "masterdata/FakeOpener.h"
#include "masterdata/MasterDataWindows.h"
#include "masterdata/MasterWindowFixture.h"
#include "platform/db/Query.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <ostream>

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

namespace {

// A picker, the code its opener gives it, its row (by a field's value) and column, and a text
// the pick writes into the opener.
struct Picker {
    const char* key;
    PickCode code;
    const char* keyField;
    const char* keyValue;
    const char* column;
    const char* written;
};

void PrintTo(const Picker& picker, std::ostream* out) { *out << picker.key; }

class PickerKeys : public PickProtocol, public ::testing::WithParamInterface<Picker> {
protected:
    void SetUp() override
    {
        PickProtocol::SetUp();
        for (const char* id : {"0000000001", "0000000002"}) {
            makeCustomer(id, QStringLiteral("客户") + id);
            makeSupplier(id, QStringLiteral("供应商") + id);
        }
        makeAccount("0000000002", "工行");
        makeEmployee("1", "王五");
        makeEmployee("2", " 赵六 ");
        makeProduct("A1", "苹果", {{"dj_n", 10.0}, {"spmz", 12.5}});
        makeProduct("B1", "香蕉", {{"dj_n", 6.0}, {"spmz", 7.5}, {"spbs", "斤"}});
        dm().Aqproduct->reopen(QStringLiteral("SELECT * from product"));
        form = std::make_unique<FakeOpener>(db());
        line = makeLine();
    }

    void TearDown() override
    {
        form.reset();
        PickProtocol::TearDown();
    }

    // The picker over an opener as before any pick, its grid on the case's row and column.
    MasterListWindow* openPicker()
    {
        exec("update outdetail set sphh='', spmc='', dj_n=0, sl=0, unit='' where intno=:p1", {line});
        for (QLineEdit* box : {form->edit2, form->edit3, form->edit9, form->edit10, form->edit16})
            box->clear();
        form->lines.close();
        form->lines.open();
        MasterListWindow* list = MasterListWindow::openAsPicker(GetParam().key, GetParam().code, *form);
        QApplication::setActiveWindow(list);
        EXPECT_TRUE(list->dataSet().locate(GetParam().keyField, GetParam().keyValue));
        list->DBGrid1->setSelectedIndex(list->DBGrid1->gridModel()->columnOf(GetParam().column));
        list->DBGrid1->setFocus();
        return list;
    }

    // Its boxes and what a pick writes into a line.
    QString opener()
    {
        QStringList texts;
        for (QLineEdit* box : {form->edit2, form->edit3, form->edit9, form->edit10, form->edit16})
            texts << box->text();
        return texts.join('|') + " / "
               + scalar("select sphh||'|'||spmc||'|'||dj_n||'|'||sl||'|'||unit from outdetail where intno=:p1", {line}).toString();
    }

    static void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString())
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    }

    std::unique_ptr<FakeOpener> form;
    QString line;
};

QWidget* buttonOf(QAction* action)
{
    for (QObject* shown : action->associatedObjects())
        if (auto* button = qobject_cast<QToolButton*>(shown))
            return button;
    return nullptr;
}

} // namespace

// Enter on a row writes what a double-click writes and closes the picker; Esc closes it and
// writes nothing; Tab leads out of the grid to "选中" and "退出".
TEST_P(PickerKeys, EnterPicksAsADoubleClickDoesEscLeavesAndTabReachesTheButtons)
{
    QPointer<MasterListWindow> list(openPicker());
    lb::ui::DataGrid* grid = list->DBGrid1;
    grid->scrollTo(grid->currentIndex());
    const QPointF at = grid->visualRect(grid->currentIndex()).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick}) {
        QMouseEvent click(type, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &click);
    }
    flush();
    EXPECT_TRUE(list.isNull());
    const QString byDoubleClick = opener();
    EXPECT_TRUE(byDoubleClick.contains(QString::fromUtf8(GetParam().written))) << byDoubleClick.toStdString();

    list = openPicker();
    key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    flush();
    EXPECT_TRUE(list.isNull());
    EXPECT_EQ(byDoubleClick, opener());
    EXPECT_EQ(PickCode::None, main->PickMode);

    list = openPicker();
    const QString untouched = opener();
    key(Qt::Key_Escape);
    flush();
    EXPECT_TRUE(list.isNull());
    EXPECT_EQ(untouched, opener());
    EXPECT_EQ(PickCode::None, main->PickMode);

    // Tab reaches both buttons, also from the grid, which it leaves.
    list = openPicker();
    for (const auto command : {lb::masterdata::ListCommand::Pick, lb::masterdata::ListCommand::Close}) {
        QWidget* button = buttonOf(list->command(command));
        for (int tabs = 0; tabs < 12 && QApplication::focusWidget() != button; ++tabs)
            key(Qt::Key_Tab);
        EXPECT_EQ(button, QApplication::focusWidget());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PickerKeys,
    ::testing::Values(Picker{"TFrcustomer", PickCode::SalesEntry, "id", "0000000002", "name", "0000000002"},
                      Picker{"TFrbranch", PickCode::PurchaseEntry, "id", "0000000002", "name", "0000000002"},
                      Picker{"TFrbank", PickCode::ReceiptEntry, "id", "0000000002", "name", "0000000002|工行"},
                      Picker{"TFremployee", PickCode::PaymentEntry, "id", "2", "name", "赵六"},
                      Picker{"TFrproduct", PickCode::SalesEntry, "sphh", "B1", "spmz", "B1|香蕉|7.5|1.0|斤"}),
    [](const ::testing::TestParamInfo<Picker>& info) { return std::string(info.param.key); });

// The product list of the menu keeps Enter and Esc as they were: Enter opens no editor over
// it, and neither key closes it.
TEST_F(PickProtocol, AMenuListKeepsEnterAndEsc)
{
    makeProduct("A1", "苹果");
    QPointer<MasterListWindow> list(
        MasterListWindow::openFromMenu(QStringLiteral("TFrproduct"), main.get(), QStringLiteral("SELECT * from product ")));
    QApplication::setActiveWindow(list);
    for (const int key : {Qt::Key_Return, Qt::Key_Escape}) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Return ? QStringLiteral("\r") : QString());
        QApplication::sendEvent(list->DBGrid1, &event);
    }
    flush();
    ASSERT_FALSE(list.isNull());
    EXPECT_TRUE(list->isVisible());
    EXPECT_TRUE(list->isEnabled());
}
