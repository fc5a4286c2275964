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

// A picker, the code its opener gives it, the row picked (by a field's value), the grid's
// column and a text the pick writes into the opener.
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
        makeCustomer("0000000001", "甲");
        makeCustomer("0000000002", "乙");
        makeSupplier("0000000001", "粮油公司");
        makeSupplier("0000000002", "面粉厂");
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

    // The opener's boxes and line as before any pick.
    void resetOpener()
    {
        exec("update outdetail set sphh='', spmc='', dj_n=0, sl=0, unit='' where intno=:p1", {line});
        for (QLineEdit* box : {form->edit2, form->edit3, form->edit9, form->edit10, form->edit16})
            box->clear();
        form->lines.close();
        form->lines.open();
    }

    // The picker opened over an untouched opener, active, its grid on the case's row and
    // column and with the focus.
    MasterListWindow* openPicker()
    {
        resetOpener();
        MasterListWindow* list = MasterListWindow::openAsPicker(GetParam().key, GetParam().code, *form);
        QApplication::setActiveWindow(list);
        EXPECT_TRUE(list->dataSet().locate(GetParam().keyField, GetParam().keyValue));
        list->DBGrid1->setSelectedIndex(list->DBGrid1->gridModel()->columnOf(GetParam().column));
        list->DBGrid1->setFocus();
        return list;
    }

    // What the opener holds: its boxes and what a pick writes into a line.
    QString opener()
    {
        QStringList texts;
        for (QLineEdit* box : {form->edit2, form->edit3, form->edit9, form->edit10, form->edit16})
            texts << box->text();
        return texts.join('|') + " / "
               + scalar("select sphh||'|'||spmc||'|'||dj_n||'|'||sl||'|'||unit from outdetail where intno=:p1", {line}).toString();
    }

    static void press(QWidget* widget, int key, const QString& text = QString())
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(widget, &event);
    }

    static void doubleClick(lb::ui::DataGrid* grid)
    {
        grid->scrollTo(grid->currentIndex());
        const QPointF at = grid->visualRect(grid->currentIndex()).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                        QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(grid->viewport(), &event);
        }
    }

    // What the opener holds after `key` on the picker's row, which closes the picker.
    QString afterKeyOnRow(int key, const QString& text = QString())
    {
        QPointer<MasterListWindow> list(openPicker());
        press(list->DBGrid1, key, text);
        flush();
        EXPECT_TRUE(list.isNull());
        EXPECT_EQ(PickCode::None, main->PickMode);
        return opener();
    }

    static QWidget* buttonOf(QAction* action)
    {
        for (QObject* shown : action->associatedObjects())
            if (auto* button = qobject_cast<QToolButton*>(shown))
                return button;
        return nullptr;
    }

    std::unique_ptr<FakeOpener> form;
    QString line;
};

} // namespace

TEST_P(PickerKeys, EnterOnARowPicksItAsADoubleClickDoes)
{
    QPointer<MasterListWindow> list(openPicker());
    doubleClick(list->DBGrid1);
    flush();
    EXPECT_TRUE(list.isNull());
    const QString byDoubleClick = opener();
    EXPECT_TRUE(byDoubleClick.contains(QString::fromUtf8(GetParam().written))) << byDoubleClick.toStdString();

    EXPECT_EQ(byDoubleClick, afterKeyOnRow(Qt::Key_Return, QStringLiteral("\r")));
}

TEST_P(PickerKeys, EscOnARowLeavesWithoutWriting)
{
    resetOpener();
    const QString untouched = opener();
    EXPECT_EQ(untouched, afterKeyOnRow(Qt::Key_Escape));
}

// Out of the grid Tab goes to "选中", then to "退出"; Space there presses it.
TEST_P(PickerKeys, TabReachesPickAndClose)
{
    QPointer<MasterListWindow> list(openPicker());
    QWidget* pick = buttonOf(list->command(lb::masterdata::ListCommand::Pick));
    QWidget* close = buttonOf(list->command(lb::masterdata::ListCommand::Close));
    QKeyEvent leave(QEvent::KeyPress, Qt::Key_Tab, Qt::ControlModifier);
    QApplication::sendEvent(list->DBGrid1, &leave);
    EXPECT_EQ(pick, QApplication::focusWidget());
    press(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(close, QApplication::focusWidget());
    press(close, Qt::Key_Space, QStringLiteral(" "));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(close, &release);
    flush();
    EXPECT_TRUE(list.isNull());
    EXPECT_FALSE(opener().contains(QString::fromUtf8(GetParam().written)));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PickerKeys,
    ::testing::Values(Picker{"TFrcustomer", PickCode::SalesEntry, "id", "0000000002", "name", "0000000002"},
                      Picker{"TFrbranch", PickCode::PurchaseEntry, "id", "0000000002", "name", "0000000002"},
                      Picker{"TFrbank", PickCode::ReceiptEntry, "id", "0000000002", "name", "0000000002|工行"},
                      Picker{"TFremployee", PickCode::PaymentEntry, "id", "2", "name", "赵六"},
                      Picker{"TFrproduct", PickCode::SalesEntry, "sphh", "B1", "spmz", "B1|香蕉|7.5|1.0|斤"}),
    [](const ::testing::TestParamInfo<Picker>& info) { return std::string(info.param.key); });

// A list of the menu keeps Enter and Esc as they were: the product list's Enter opens no
// editor, and neither key closes a list.
TEST_F(PickProtocol, AMenuListKeepsEnterAndEsc)
{
    makeProduct("A1", "苹果");
    makeCustomer("0000000001", "甲");
    const std::pair<const char*, const char*> lists[] = {{"TFrproduct", "SELECT * from product "}, {"TFrcustomer", ""}};
    for (const auto& [key, sql] : lists) {
        QPointer<MasterListWindow> list(MasterListWindow::openFromMenu(QString::fromLatin1(key), main.get(), QString::fromLatin1(sql)));
        QApplication::setActiveWindow(list);
        list->DBGrid1->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(list->DBGrid1, &enter);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(list->DBGrid1, &escape);
        flush();
        ASSERT_FALSE(list.isNull()) << key;
        EXPECT_TRUE(list->isVisible()) << key;
        EXPECT_TRUE(list->isEnabled()) << key; // no editor opened over it
        list->close();
        flush();
    }
}
