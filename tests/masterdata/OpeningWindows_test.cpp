// The opening-balance lists and editors driven offscreen through the main window's menu.
#include "masterdata/MasterDataWindows.h"
#include "masterdata/MasterWindowFixture.h"
#include "masterdata/ValueEditor.h"

#include "platform/sys/Errors.h"
#include "platform/ui/ScriptedModals.h"
#include "support/Typing.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>

using lb::masterdata::MasterListWindow;
using lb::masterdata::ValueEditor;
using lb::masterdata::registerMasterDataWindows;

class OpeningWindows : public MasterWindowFixture {
protected:
    void SetUp() override
    {
        MasterWindowFixture::SetUp();
        registerMasterDataWindows();
    }
    void triggerMenu(const QString& text)
    {
        for (QAction* action : main->findChildren<QAction*>()) {
            if (action->text() == text) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << text.toStdString();
    }
    // The value editor run on the list's current row; `step` acts on it.
    void editRow(MasterListWindow& list, const std::function<void(ValueEditor&)>& step)
    {
        lb::ui::ScriptedModals steps;
        steps.then([step](QDialog& dialog) { step(static_cast<ValueEditor&>(dialog)); });
        list.ToolButton2Click();
    }
};

TEST_F(OpeningWindows, OnlyTheAdministratorOpensThem)
{
    main->OperatorNo = QStringLiteral("001");
    triggerMenu(QStringLiteral("期初客户应收"));
    EXPECT_EQ((QStringList{"该用户无权使用此功能！"}), dialogs.texts());
    EXPECT_EQ(nullptr, MasterListWindow::instance(QStringLiteral("TFrcustomer_b")));
    EXPECT_TRUE(main->isEnabled());
    main->OperatorNo = QStringLiteral("999");
    triggerMenu(QStringLiteral("期初客户应收"));
    ASSERT_NE(nullptr, MasterListWindow::instance(QStringLiteral("TFrcustomer_b")));
    EXPECT_FALSE(main->isEnabled());
}

TEST_F(OpeningWindows, CodeSearchPadsAndMatchesTheBeginning)
{
    makeCustomer("0000000012", "甲", {{"rest", 5.0}});
    makeCustomer("0000000120", "乙");
    makeCustomer("0000001200", "丙");
    triggerMenu(QStringLiteral("期初客户应收"));
    MasterListWindow* list = MasterListWindow::instance(QStringLiteral("TFrcustomer_b"));
    ASSERT_NE(nullptr, list);
    list->Edit1->setText(QStringLiteral("12"));
    list->ToolButton6Click();
    EXPECT_EQ(QStringLiteral("0000000012"), list->Edit1->text());
    EXPECT_EQ(1, list->dataSet().recordCount());
    list->Edit1->clear();
    list->ToolButton6Click();
    EXPECT_EQ(3, list->dataSet().recordCount());
    // With the option box emptied, the opening value column searches nothing.
    list->ComboBox1->setEditText(QString());
    selectCell(*list, 0, "rest");
    list->Edit1->setText(QStringLiteral("5"));
    list->ToolButton6Click();
    EXPECT_EQ(3, list->dataSet().recordCount());
}

TEST_F(OpeningWindows, EditorSavesTheValueAndRefusesBadCodesAndNumbers)
{
    makeCustomer("0001", "甲");
    makeCustomer("0002", "乙");
    triggerMenu(QStringLiteral("期初客户应收"));
    MasterListWindow* list = MasterListWindow::instance(QStringLiteral("TFrcustomer_b"));
    list->dataSet().first();
    editRow(*list, [](ValueEditor& editor) {
        EXPECT_EQ(QStringLiteral("0001"), editor.box(0)->text());
        // The value box takes no minus sign; typed "-12.5" is 12.5.
        editor.box(3)->clear();
        typeText(editor.box(3), QStringLiteral("-12.5"));
        EXPECT_EQ(QStringLiteral("12.5"), editor.box(3)->text());
        editor.save();
        editor.box(0)->setText(QStringLiteral("0002"));
        editor.box(3)->setText(QStringLiteral("20"));
        editor.save();
        editor.box(0)->clear();
        editor.save();
        editor.reject();
    });
    EXPECT_EQ((QStringList{"该编号已存在,不能再录入！ ", "编号不能为空!"}), dialogs.texts());
    EXPECT_EQ(QVariant(12.5), scalar("select rest from customer where id='0001'"));
    EXPECT_EQ(QVariant(0.0), scalar("select balance from customer where id='0001'"));

    ValueEditor editor(*list->config().valueEditor, list);
    editor.box(3)->setText(QStringLiteral("."));
    EXPECT_THROW(editor.save(), lb::ConvertError);
    EXPECT_EQ(lb::db::DataSetState::Browse, dm().Aqcustomer->state());
    EXPECT_EQ(QVariant(12.5), scalar("select rest from customer where id='0001'"));
}

TEST_F(OpeningWindows, ArrowOnABlankRowDeletesIt)
{
    makeCustomer("0001", "甲");
    exec("insert into customer(intno,id,name) values('','','')");
    triggerMenu(QStringLiteral("期初客户应收"));
    MasterListWindow* list = MasterListWindow::instance(QStringLiteral("TFrcustomer_b"));
    list->dataSet().locate("intno", QString());
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(list->DBGrid1, &down);
    EXPECT_EQ(QVariant(1), scalar("select count(*) from customer"));
}

TEST_F(OpeningWindows, ProductListFindsNonZeroOpeningQuantities)
{
    makeProduct("A1", "苹果", {{"rest", 3.0}});
    makeProduct("A2", "梨");
    triggerMenu(QStringLiteral("期初商品库存"));
    MasterListWindow* list = MasterListWindow::instance(QStringLiteral("TFrproduct_b"));
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(2, list->dataSet().recordCount());
    list->ComboBox1->setEditText(QStringLiteral("初值非0"));
    list->ToolButton6Click();
    EXPECT_EQ(1, list->dataSet().recordCount());
    editRow(*list, [](ValueEditor& editor) {
        EXPECT_EQ(QStringLiteral("规格型号"), editor.label(2)->text());
        editor.box(3)->setText(QStringLiteral("9"));
        editor.save();
        editor.reject();
    });
    EXPECT_EQ(QVariant(9.0), scalar("select rest from product where sphh='A1'"));
    EXPECT_EQ(QVariant(0.0), scalar("select sl from product where sphh='A1'"));
}

// A code of blanks could never be found again: it is refused as an empty one.
TEST_F(OpeningWindows, AProductCodeOfBlanksIsRefusedAsAnEmptyOne)
{
    makeProduct("A1", "苹果");
    triggerMenu(QStringLiteral("期初商品库存"));
    MasterListWindow* list = MasterListWindow::instance(QStringLiteral("TFrproduct_b"));
    ASSERT_NE(nullptr, list);
    editRow(*list, [](ValueEditor& editor) {
        editor.box(0)->setText(QStringLiteral("   "));
        editor.box(3)->setText(QStringLiteral("9"));
        editor.save();
        editor.reject();
    });
    EXPECT_EQ((QStringList{"商品货码不能为空!"}), dialogs.texts());
    EXPECT_EQ(QVariant("A1"), scalar("select sphh from product"));
    EXPECT_EQ(QVariant(0.0), scalar("select rest from product"));
}

// The editor's boxes keep what their columns keep, so what is typed is what is stored.
TEST_F(OpeningWindows, EditorBoxesTakeNoMoreThanTheirColumns)
{
    makeCustomer("0001", "甲");
    triggerMenu(QStringLiteral("期初客户应收"));
    MasterListWindow* list = MasterListWindow::instance(QStringLiteral("TFrcustomer_b"));
    ASSERT_NE(nullptr, list);
    QString typedName;
    editRow(*list, [&](ValueEditor& editor) {
        typeText(editor.box(1), QString(45, QChar(u'名')));
        typeText(editor.box(2), QString(15, QLatin1Char('8')));
        typedName = editor.box(1)->text();
        EXPECT_EQ(12, editor.box(2)->text().size());
        editor.save();
        editor.reject();
    });
    EXPECT_EQ(40, typedName.size());
    EXPECT_EQ(QVariant(typedName), scalar("select name from customer where id='0001'"));
}
