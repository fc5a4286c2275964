// The product list and editor driven offscreen: searches, marks, mass deletion, the price
// column option, the editor's pinyin and volume, and the pick into a sales line.
#include "masterdata/FakeOpener.h"
#include "masterdata/MasterWindowFixture.h"
#include "masterdata/Tfrproductedit.h"
#include "core/Tfrexport.h"

#include "platform/sys/Errors.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include "support/Typing.h"

using lb::core::PickCode;
using lb::core::Tfrexport;
using lb::masterdata::ListCommand;
using lb::masterdata::MasterListWindow;
using lb::masterdata::Tfrproductedit;
using lb::ui::DialogAnswer;

class ProductWindows : public MasterWindowFixture {
protected:
    MasterListWindow* openList()
    {
        return MasterListWindow::openFromMenu(QStringLiteral("TFrproduct"), main.get(), QStringLiteral("SELECT * from product "));
    }
    static Tfrproductedit* productEditor()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* editor = qobject_cast<Tfrproductedit*>(window); editor && editor->isVisible())
                return editor;
        }
        return nullptr;
    }
    static QColor rowColour(MasterListWindow& list, int row)
    {
        return list.DBGrid1->model()->index(row, 2).data(Qt::ForegroundRole).value<QColor>();
    }
};

TEST_F(ProductWindows, QuickAndFuzzySearchWhileTyping)
{
    makeProduct("A1", "苹果");
    makeProduct("A10", "梨");
    makeProduct("BA1", "桃");
    makeProduct("C2", "李");
    MasterListWindow* list = openList();
    EXPECT_EQ(QStringLiteral("记录数:4"), list->statusText(2));
    EXPECT_EQ(QStringLiteral("查找方式"), list->findChild<QGroupBox*>(QStringLiteral("RadioGroup1"))->title());
    EXPECT_EQ(QStringLiteral("添加"), list->command(ListCommand::Add)->toolTip());
    list->modeButtons[0]->setChecked(true); // 快速
    list->Edit1->setText(QStringLiteral("A1"));
    list->ToolButton6Click();
    EXPECT_EQ((QStringList{"A1", "A10"}), column("select sphh from product where sphh like 'A1%' order by sphh"));
    EXPECT_EQ(2, list->dataSet().recordCount());
    EXPECT_EQ(QStringLiteral("A1"), list->dataSet().fieldByName("sphh").asString());
    list->modeButtons[1]->setChecked(true); // 模糊
    list->ToolButton6Click();
    EXPECT_EQ(3, list->dataSet().recordCount());
    EXPECT_EQ(QStringLiteral("记录数:3"), list->statusText(2));
    list->Edit1->clear();
    list->ToolButton6Click();
    EXPECT_EQ(4, list->dataSet().recordCount());
}

// The list has no access keys: Alt with a letter types nothing into its search box, which
// would search for it at once.
TEST_F(ProductWindows, AltLettersTypeNothingIntoTheSearchBox)
{
    makeProduct("A1", "苹果");
    makeProduct("AXZ", "梨");
    MasterListWindow* list = openList();
    list->modeButtons[0]->setChecked(true); // 快速
    list->Edit1->setFocus();
    typeText(list->Edit1, QStringLiteral("A"));
    pressAccessKey(list, 'X');
    pressAccessKey(list, 'Z');
    EXPECT_EQ(QStringLiteral("A"), list->Edit1->text());
    EXPECT_EQ(2, list->dataSet().recordCount());
}

TEST_F(ProductWindows, MarksByClickAndSpaceDrawBlueAndMassDeleteNeedsThePassword)
{
    makeProduct("A1", "苹果");
    makeProduct("A2", "梨");
    makeProduct("A3", "桃");
    MasterListWindow* list = openList();
    list->ToolButton6Click();
    selectCell(*list, 0, "szbj");
    emit list->DBGrid1->clicked(list->DBGrid1->currentIndex());
    EXPECT_EQ(QVariant(1), scalar("select count(*) from product where szbj=true and sphh='A1'"));
    EXPECT_EQ(QColor(Qt::blue), rowColour(*list, 0));
    EXPECT_NE(QColor(Qt::blue), rowColour(*list, 1));
    selectCell(*list, 1, "szbj");
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(list->DBGrid1, &space);
    EXPECT_EQ(QVariant(2), scalar("select count(*) from product where szbj=true"));

    dialogs.type(QStringLiteral("wrong"));
    list->menuItem("N25")->trigger();
    EXPECT_EQ(QStringLiteral("输入操作员密码错误,请重新操作！"), dialogs.lastText());
    EXPECT_EQ(QVariant(3), scalar("select count(*) from product"));
    EXPECT_EQ(lb::ui::DialogRequest::Kind::Password, dialogs.shown().front().kind);

    dialogs.type(QStringLiteral(" pw ")).answer(DialogAnswer::Ok);
    list->menuItem("N25")->trigger();
    EXPECT_EQ((QStringList{"A3"}), column("select sphh from product"));
    EXPECT_EQ(1, list->dataSet().recordCount());

    list->menuItem("N20")->trigger();
    EXPECT_EQ(QVariant(1), scalar("select count(*) from product where szbj=true"));
    EXPECT_EQ(QColor(Qt::blue), rowColour(*list, 0));
    list->menuItem("N19")->trigger();
    EXPECT_EQ(QVariant(0), scalar("select count(*) from product where szbj=true"));
    dialogs.clear();
    dialogs.type(QStringLiteral("pw"));
    list->menuItem("N25")->trigger();
    EXPECT_EQ(QStringLiteral("没有选定要删除记录!"), dialogs.lastText());
    EXPECT_EQ(QVariant(1), scalar("select count(*) from product"));
}

TEST_F(ProductWindows, PurchasePriceColumnStateSurvivesTheWindow)
{
    MasterListWindow* list = openList();
    EXPECT_FALSE(list->DBGrid1->isColumnHidden(6));
    list->menuItem("N1")->trigger();
    EXPECT_TRUE(list->DBGrid1->isColumnHidden(6));
    EXPECT_EQ(QStringLiteral("显示进货价"), list->menuItem("N1")->text());
    EXPECT_EQ(QVariant(true), scalar("select bz from dateconfig"));
    list->close();
    list = openList();
    EXPECT_TRUE(list->DBGrid1->isColumnHidden(6));
    list->menuItem("N1")->trigger();
    EXPECT_FALSE(list->DBGrid1->isColumnHidden(6));
    EXPECT_EQ(QStringLiteral("隐藏进货价"), list->menuItem("N1")->text());
}

TEST_F(ProductWindows, EditorFollowsTheNameWithPinyinAndStoresTheVolume)
{
    MasterListWindow* list = openList();
    list->ToolButton1Click();
    Tfrproductedit* editor = productEditor();
    ASSERT_NE(nullptr, editor);
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(QStringLiteral("货品单位和类型的下拉式内容可在系统设置中预先录入."), editor->statusText->text());
    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(editor->box("Edit8"), &focusIn);
    EXPECT_EQ(QColor(Qt::cyan), editor->box("Edit8")->palette().color(QPalette::Base));
    QFocusEvent focusOut(QEvent::FocusOut);
    QApplication::sendEvent(editor->box("Edit8"), &focusOut);
    EXPECT_NE(QColor(Qt::cyan), editor->box("Edit8")->palette().color(QPalette::Base));
    editor->box("Edit7")->setText(QStringLiteral("Z01"));
    editor->box("Edit8")->setText(QStringLiteral("中国"));
    EXPECT_EQ(QStringLiteral("ZG"), editor->box("Edit22")->text());
    editor->box("Edit18")->setText(QStringLiteral("12.5"));
    editor->Button1Click();
    EXPECT_EQ(QStringLiteral("数据保存完毕！ "), dialogs.lastText());
    EXPECT_EQ(QVariant("ZG"), scalar("select spbzxh from product where sphh='Z01'"));
    EXPECT_EQ(QVariant(12.5), scalar("select dj_n from product where sphh='Z01'"));
    EXPECT_EQ(QVariant(0.0), scalar("select sptj from product where sphh='Z01'"));
    EXPECT_FALSE(scalar("select ysl from product where sphh='Z01'").isValid()); // not counted yet

    // A product carrying dimensions gets its volume on the next save.
    exec("update product set l=100, w=50, h=20 where sphh='Z01'");
    editor->close();
    list->ToolButton6Click();
    list->ToolButton2Click();
    editor = productEditor();
    ASSERT_NE(nullptr, editor);
    EXPECT_TRUE(editor->box("Edit8")->isReadOnly());
    EXPECT_FALSE(editor->box("Edit13")->isReadOnly());
    editor->Button1Click();
    EXPECT_EQ(QVariant(3.532), scalar("select sptj from product where sphh='Z01'"));

    editor->Button2Click();
    editor->box("Edit7")->setText(QStringLiteral("Z01"));
    editor->Button1Click();
    EXPECT_EQ(QStringLiteral("该商品代码已存在,不能再录入！ "), dialogs.lastText());
    editor->box("Edit7")->setText(QStringLiteral("Z02"));
    editor->box("Edit13")->setText(QStringLiteral("1..2"));
    EXPECT_THROW(editor->Button1Click(), lb::ConvertError);
    EXPECT_EQ(QVariant(1), scalar("select count(*) from product"));
    EXPECT_EQ(lb::db::DataSetState::Browse, dm().Aqproduct->state());
    editor->close();
    EXPECT_TRUE(list->isEnabled());
}

TEST_F(ProductWindows, PickIntoASalesLineByPriceColumnThenPickModeIsNone)
{
    makeProduct("A1", "苹果", {{"dj_n", 10.0}, {"spmz", 12.5}, {"spzz", 15.0}});
    FakeOpener opener(db());
    const QString line = makeLine();
    opener.lines.open();
    dm().Aqproduct->reopen(QStringLiteral("SELECT * from product"));
    QPointer<MasterListWindow> list(MasterListWindow::openAsPicker(QStringLiteral("TFrproduct"), PickCode::SalesEntry, opener));
    selectCell(*list, 0, "spmz");
    list->ToolButton7Click();
    flush();
    EXPECT_TRUE(list.isNull());
    EXPECT_EQ(PickCode::None, main->PickMode);
    EXPECT_EQ(QVariant(12.5), scalar("select dj_n from outdetail where intno=:p1", {line}));
    EXPECT_EQ(QVariant(1.0), scalar("select sl from outdetail where intno=:p1", {line}));

    // From the menu the pick opens the product in the editor instead.
    MasterListWindow* menuList = openList();
    menuList->ToolButton7Click();
    ASSERT_NE(nullptr, productEditor());
    EXPECT_EQ(QStringLiteral("A1"), productEditor()->box("Edit7")->text());
}

TEST_F(ProductWindows, EditorFromThePurchaseFormLeavesNoPickModeBehind)
{
    FakeOpener purchase(db());
    purchase.show();
    Tfrproductedit* editor = Tfrproductedit::openForPurchase(&purchase);
    EXPECT_EQ(PickCode::PurchaseEntryNewProduct, main->PickMode);
    EXPECT_FALSE(purchase.isEnabled());
    editor->box("Edit7")->setText(QStringLiteral("N1"));
    editor->Button1Click();
    editor->close();
    EXPECT_EQ(PickCode::None, main->PickMode);
    EXPECT_TRUE(purchase.isEnabled());
    EXPECT_EQ(QVariant(1), scalar("select count(*) from product where sphh='N1'"));
}

TEST_F(ProductWindows, EditorShowsPricesWithTheOptionsDecimalsAndCopiesThePreviousOnNew)
{
    makeProduct("A1", "苹果", {{"dj_n", 12.5}, {"spbs", "斤"}, {"name", "水果"}, {"spbzxh", "PG"}});
    exec("update config set priceformat='0,.000'");
    MasterListWindow* list = openList();
    list->ToolButton2Click();
    Tfrproductedit* editor = productEditor();
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(QStringLiteral("12.500"), editor->box("Edit18")->text());
    editor->close();
    exec("update config set priceformat='0.00'");
    list->ToolButton2Click();
    editor = productEditor();
    EXPECT_EQ(QStringLiteral("12.50"), editor->box("Edit18")->text());

    editor->CheckBox2->setChecked(true);
    editor->Button2Click();
    EXPECT_EQ(QString(), editor->box("Edit7")->text());
    EXPECT_EQ(QStringLiteral("苹果"), editor->box("Edit8")->text());
    EXPECT_EQ(QStringLiteral("12.50"), editor->box("Edit18")->text());
    editor->CheckBox2->setChecked(false);
    editor->Button2Click();
    EXPECT_EQ(QString(), editor->box("Edit8")->text());
    EXPECT_EQ(QStringLiteral("0"), editor->box("Edit18")->text());
    EXPECT_EQ(QStringLiteral("斤"), editor->ComboBox1->currentText()); // unit and category stay

    // Navigating leaves the new record and shows the row reached, read-only.
    editor->BitBtn1Click();
    EXPECT_FALSE(main->AddMode);
    EXPECT_EQ(QStringLiteral("A1"), editor->box("Edit7")->text());
    EXPECT_EQ(dm().Aqproduct->fieldByName("intno").asString(), main->EditIntno);
    EXPECT_TRUE(editor->box("Edit8")->isReadOnly());
}

TEST_F(ProductWindows, EditorSavesAProductWhoseCarriedNumbersAreEmptyInTheFile)
{
    const QString apple = makeProduct("A1", "苹果", {{"spccxh", "X9"}});
    exec("update product set l=null, w=null, h=null, spds=null, spnh=null where intno=:p1", {apple});
    MasterListWindow* list = openList();
    list->ToolButton2Click();
    Tfrproductedit* editor = productEditor();
    ASSERT_NE(nullptr, editor);
    editor->Button1Click();
    EXPECT_EQ(QStringLiteral("数据保存完毕！ "), dialogs.lastText());
    EXPECT_EQ(QVariant(0.0), scalar("select l+w+h+spds+spnh+sptj from product where intno=:p1", {apple}));
    EXPECT_EQ(QVariant("X9"), scalar("select spccxh from product where intno=:p1", {apple}));
}

// What is typed is what is stored: a box takes no more than its column keeps, and the tab
// order ends with the unit and then the category.
TEST_F(ProductWindows, EditorBoxesHoldWhatTheirColumnsKeepAndTabEndsUnitThenCategory)
{
    MasterListWindow* list = openList();
    list->ToolButton1Click();
    Tfrproductedit* editor = productEditor();
    ASSERT_NE(nullptr, editor);
    editor->box("Edit7")->setText(QStringLiteral("C1"));
    typeText(editor->box("Edit8"), QString(45, QChar(u'梨')));
    typeText(editor->box("Edit6"), QString(35, QLatin1Char('r')));
    EXPECT_EQ(40, editor->box("Edit8")->text().size());
    editor->Button1Click();
    EXPECT_EQ(QVariant(editor->box("Edit8")->text()), scalar("select spmc from product where sphh='C1'"));
    EXPECT_EQ(QVariant(editor->box("Edit6")->text()), scalar("select bz from product where sphh='C1'"));

    auto nextByTab = [](QWidget* from) {
        for (QWidget* next = from->nextInFocusChain(); next != from; next = next->nextInFocusChain()) {
            if (next->focusPolicy() & Qt::TabFocus)
                return qobject_cast<QComboBox*>(next->parentWidget()) ? next->parentWidget() : next;
        }
        return from;
    };
    QWidget* afterRemark = nextByTab(editor->box("Edit6"));
    EXPECT_EQ(editor->ComboBox1, afterRemark);
    EXPECT_EQ(editor->ComboBox3, nextByTab(editor->ComboBox1->lineEdit()));
}

TEST_F(ProductWindows, ExportButtonOpensTheExportWindowOverTheList)
{
    makeProduct("A1", "苹果", {{"szbj", true}});
    MasterListWindow* list = openList();
    QAction* exportButton = list->command(ListCommand::Export);
    ASSERT_NE(nullptr, exportButton);
    EXPECT_EQ(QStringLiteral("导出"), exportButton->text());
    EXPECT_TRUE(exportButton->isEnabled());
    exportButton->trigger();
    QPointer<Tfrexport> window;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<Tfrexport*>(top); found && found->isVisible())
            window = found;
    ASSERT_TRUE(window);
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(13, frdm->AQexport->recordCount());
    window->Button1->click();
    flush();
    EXPECT_FALSE(window);
    EXPECT_TRUE(list->isEnabled());
}
