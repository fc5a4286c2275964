// The purchase entry form driven as a user drives it, offscreen: a new document, the supplier
// look-up, lines in packs, the posting mode of the tool bar and the pop-up, the new-product
// command, and the commands that end or copy the document.
#include "documents/DocumentWindowFixture.h"
#include "masterdata/MasterListWindow.h"
#include "masterdata/Tfrproductedit.h"

#include <QMenu>
#include <QPushButton>
#include <QToolBar>

using lb::core::PickCode;
using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::documents::EntryFormConfig;
using lb::masterdata::MasterListWindow;
using lb::masterdata::Tfrproductedit;
using lb::ui::DialogAnswer;

namespace {

enum Column { Code, Name, Unit, Packs, PerPack, Quantity, Price, Amount, Payment, Balance, Remark };

class PurchaseEntryFormTest : public DocumentWindowFixture {
protected:
    void SetUp() override
    {
        DocumentWindowFixture::SetUp();
        makeSupplier(QStringLiteral("0000000007"), QStringLiteral("粮油公司"),
                     {{"balance", 100.0}, {"persondeal", QStringLiteral("老王")}, {"tel", "8801"}, {"addr", QStringLiteral("南街5号")}});
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"),
                            {{"barcode", "6901"}, {"sl_j", 12.0}, {"dj_n", 4.0}, {"dj_w", 2.5}, {"sl", 10.0}, {"spbs", QStringLiteral("袋")}});
        main->EntryByProductCode = true;
    }

    DocumentEntryForm* openPurchaseForm(bool newBill = true, const QString& intno = QString())
    {
        return openEntryForm(DocumentCatalog::purchaseEntryForm(), newBill, intno);
    }

    // A new purchase of the supplier with 3 packs of 12 flour at 2.5, 50 paid.
    DocumentEntryForm* formWithALine()
    {
        DocumentEntryForm* form = openPurchaseForm();
        form->box("Edit2")->setText(QStringLiteral("0000000007"));
        enterCode(*form, QStringLiteral("A01"));
        typeCell(*form, 1, Packs, QStringLiteral("3"));
        typeCell(*form, 1, Payment, QStringLiteral("50"));
        form->ToolButton3Click();
        return form;
    }

    static QStringList captions(const QList<QAction*>& actions)
    {
        QStringList texts;
        for (const QAction* action : actions)
            texts << action->text();
        return texts;
    }

    QString flour;
};

} // namespace

TEST_F(PurchaseEntryFormTest, ANewPurchaseIsStoredAtOnceWithItsCarryOverLineAndABlankLine)
{
    QPointer<DocumentEntryForm> form = openPurchaseForm();
    EXPECT_EQ(QStringLiteral("进货明细单"), form->windowTitle());
    EXPECT_EQ(QStringLiteral("0000000001"), form->box("Edit1")->text());
    EXPECT_EQ(QStringLiteral("1"), form->box("Edit2")->text());
    EXPECT_EQ(QStringLiteral("0000000001"), form->box("Edit10")->text());
    EXPECT_EQ(QStringLiteral("2026-06-15"), form->box("Edit6")->text());
    EXPECT_EQ(QStringLiteral("0000000001|False|0000000001|现金|2026-06-15"),
              row(QStringLiteral("select intno, pass, bankid, bankname, billdate from inlist")));
    EXPECT_EQ((QStringList{QStringLiteral("0000000001|上期结转"), QStringLiteral("0000000002|")}),
              rows(QStringLiteral("select intno, spmc from indetail order by intno")));
    EXPECT_EQ(form->box("Edit2"), form->focusWidget());
    EXPECT_FALSE(form->box("Edit15")->isVisible());
    EXPECT_FALSE(form->Edit17->isVisible());
    ASSERT_NE(nullptr, form->Button1);
    EXPECT_EQ(QStringLiteral("新增商品"), form->Button1->text());
    // Full posting is the option of a fresh file: 过帐 shows, 记帐 does not; 打印 waits for printing.
    auto* bar = form->findChild<QToolBar*>();
    EXPECT_EQ((QStringList{"新增行&A", "删除行&D", "刷新&R", "记帐", "过帐&O", "作废&C", "打印&P", "转抄", "退回&Q"}), captions(bar->actions()));
    EXPECT_FALSE(form->action("ToolButton8")->isVisible());
    EXPECT_TRUE(form->action("ToolButton4")->isVisible());
    EXPECT_TRUE(form->action("ToolButton5")->isEnabled());
    EXPECT_EQ(QStringLiteral("转抄生成新进货单"), form->action("ToolButton9")->toolTip());
    EXPECT_EQ((QStringList{"新增", "删除", "刷新", "过帐", "打印", "退回"}), captions(form->popupMenu->actions()));
    EXPECT_EQ(QStringLiteral("单击“新增或删除”按钮,则可在明细表中增加或删除商品。"), form->statusText(1));
}

TEST_F(PurchaseEntryFormTest, LeavingTheSupplierBoxLooksTheSupplierUpExactlyAsTyped)
{
    QPointer<DocumentEntryForm> form = openPurchaseForm();
    form->box("Edit2")->setText(QStringLiteral("7"));
    form->Edit12->setFocus();
    flush();
    EXPECT_EQ(QStringList({QStringLiteral("查无此供应商号！")}), dialogs.texts());
    EXPECT_EQ(QString(), form->box("Edit3")->text());

    form->box("Edit2")->setFocus();
    form->box("Edit2")->setText(QStringLiteral("0000000007"));
    pressEnter(form->box("Edit2")); // Enter leaves for the code box
    EXPECT_EQ(form->Edit12, form->focusWidget());
    EXPECT_EQ(QStringLiteral("粮油公司"), form->box("Edit3")->text());
    EXPECT_EQ(QStringLiteral("老王"), form->box("Edit4")->text());
    EXPECT_EQ(QStringLiteral("100.00"), form->box("Edit7")->text());
    EXPECT_EQ(QStringLiteral("0000000007|8801|南街5号|100"), row(QStringLiteral("select customerid, tel, addr, balance from inlist")));
    EXPECT_EQ(QStringLiteral("100|100"), row(QStringLiteral("select amount, rest from indetail where spmc='上期结转'")));
}

TEST_F(PurchaseEntryFormTest, PacksTypedIntoTheGridGiveQuantityAmountAndTheSupplierBalance)
{
    QPointer<DocumentEntryForm> form = openPurchaseForm();
    form->box("Edit2")->setText(QStringLiteral("0000000007"));
    // By code: one pack, no quantity yet; the packs column gets the cursor.
    enterCode(*form, QStringLiteral("A01"));
    EXPECT_EQ(QStringLiteral("A01|面粉|袋|1|12|12|2.5|30"),
              row(QStringLiteral("select sphh, spmc, unit, js, sl_j, sl, dj_w, amount from indetail where intno='0000000002'")));
    EXPECT_EQ(Packs, form->DBGrid1->currentIndex().column());

    // Enter in the packs column recalculates and adds a line for the code box.
    typeCell(*form, 1, Packs, QStringLiteral("3"));
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(1, Packs));
    pressEnter(form->DBGrid1);
    EXPECT_EQ(3, form->DBGrid1->model()->rowCount());
    EXPECT_EQ(form->Edit12, form->focusWidget());
    // Leaving the payment column recalculates.
    typeCell(*form, 1, Payment, QStringLiteral("50"));
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(1, Remark));
    flush();
    EXPECT_EQ(QStringLiteral("36"), cell(*form, 1, Quantity));
    EXPECT_EQ(QStringLiteral("90.00"), form->box("Edit5")->text());
    EXPECT_EQ(QStringLiteral("50.00"), form->box("Edit13")->text());
    EXPECT_EQ(QStringLiteral("140.00"), form->box("Edit8")->text());
    EXPECT_EQ(QStringLiteral("3"), form->box("Edit11")->text());
    EXPECT_EQ(QStringLiteral("36"), form->box("Edit14")->text());
    EXPECT_EQ(QStringLiteral("进货商品:面粉"), form->box("Edit9")->text());

    // Enter walks per pack, price and payment, then the next line's packs.
    for (const auto& [from, to] : std::vector<std::pair<int, int>>{{PerPack, Price}, {Price, Payment}, {Payment, Packs}}) {
        form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(1, from));
        pressEnter(form->DBGrid1);
        EXPECT_EQ(to, form->DBGrid1->currentIndex().column()) << from;
    }
    EXPECT_EQ(2, form->DBGrid1->currentIndex().row());

    // Two loose boxes of ten count in the amount and the total quantity, not in stock.
    exec(QStringLiteral("update indetail set ss=2, sl_s=10 where spmc='面粉'"));
    dm().AQoutdetail->close();
    dm().AQoutdetail->open();
    form->ToolButton3Click();
    EXPECT_EQ(QStringLiteral("140.00"), form->box("Edit5")->text());
    EXPECT_EQ(QStringLiteral("56"), form->box("Edit14")->text());
    EXPECT_EQ(QStringLiteral("36"), cell(*form, 1, Quantity));
}

TEST_F(PurchaseEntryFormTest, TheCodeBoxFillsALineOnlyWhenTheEntryOptionSaysSo)
{
    main->EntryByProductCode = false;
    QPointer<DocumentEntryForm> form = openPurchaseForm();
    form->box("Edit2")->setText(QStringLiteral("0000000007"));
    enterCode(*form, QStringLiteral("A01"));
    EXPECT_EQ(QString(), cell(*form, 1, Name));
    EXPECT_EQ(form->DBGrid1, form->focusWidget());
    EXPECT_EQ(Packs, form->DBGrid1->currentIndex().column());

    main->EntryByProductCode = true;
    enterCode(*form, QStringLiteral("6901"));
    EXPECT_EQ(QStringLiteral("面粉"), cell(*form, 1, Name));
    enterCode(*form, QStringLiteral("X9"));
    EXPECT_EQ(QStringLiteral("查无该货品代码或条形码！"), dialogs.lastText());
    EXPECT_EQ(QStringLiteral("面粉"), cell(*form, 1, Name));
}

TEST_F(PurchaseEntryFormTest, PostingFromTheToolBarOrThePopUpPostsInFullAndClosesTheForm)
{
    QPointer<DocumentEntryForm> form = formWithALine();
    dialogs.answer(DialogAnswer::Ok);
    form->action("N4")->trigger();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringList({QStringLiteral("单据确实要过帐吗?")}), dialogs.texts());
    EXPECT_EQ(QStringLiteral("140|90|50"), row(QStringLiteral("select balance, amount, pay from branch")));
    EXPECT_EQ(QStringLiteral("-50|50"), row(QStringLiteral("select balance, pay from bank")));
    EXPECT_EQ(QStringLiteral("46|36"), row(QStringLiteral("select sl, sl_in_m from product")));
    EXPECT_EQ(QStringLiteral("True|进货单|02"), row(QStringLiteral("select pass, billname, billtype from inlist")));
    EXPECT_EQ(QStringLiteral("SELECT * from inlist"), dm().AQoutlist->sql().text());
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(PurchaseEntryFormTest, InStockOnlyModeThePopUpBooksLikeTheToolBar)
{
    exec(QStringLiteral("update config set tallybj='F'"));
    QPointer<DocumentEntryForm> form = formWithALine();
    EXPECT_TRUE(form->action("ToolButton8")->isVisible());
    EXPECT_FALSE(form->action("ToolButton4")->isVisible());
    dialogs.answer(DialogAnswer::Ok);
    form->action("N4")->trigger();
    flush();
    EXPECT_FALSE(form);
    // The stock only: no purchase counter, the supplier and the account as they were.
    EXPECT_EQ(QStringLiteral("46|0"), row(QStringLiteral("select sl, sl_in_m from product")));
    EXPECT_EQ(QStringLiteral("100|0"), row(QStringLiteral("select balance, amount from branch")));
    EXPECT_EQ(QStringLiteral("0"), row(QStringLiteral("select balance from bank")));
    EXPECT_EQ(QStringLiteral("True|进货单"), row(QStringLiteral("select pass, billname from inlist")));
}

TEST_F(PurchaseEntryFormTest, RefusalsShowTheirTextAndTheFormStaysOnTheUnpostedDocument)
{
    QPointer<DocumentEntryForm> form = formWithALine();
    form->box("Edit2")->setText(QStringLiteral("0000000000"));
    const QStringList before = everyTable();
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("没有选取供应商,不能过帐！"),
                           QStringLiteral("该功能暂时不能执行，请重新操作！")}),
              dialogs.texts());
    EXPECT_EQ(before, everyTable());

    // Booking a document with a nameless line that is not the current one.
    exec(QStringLiteral("update config set tallybj='F'"));
    form->box("Edit2")->setText(QStringLiteral("0000000007"));
    form->ToolButton1Click();
    enterCode(*form, QStringLiteral("A01"));
    form->ToolButton1Click();
    exec(QStringLiteral("update indetail set spmc='' where intno='0000000004'"));
    dm().AQoutdetail->close();
    dm().AQoutdetail->open();
    dm().AQoutdetail->first();
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton8Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("没有商品名,不能记帐！"),
                           QStringLiteral("该功能暂时不能执行，请重新操作！")}),
              dialogs.texts());
    EXPECT_TRUE(form);
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from indetail where pass=1")));
    EXPECT_EQ(10, number(QStringLiteral("select sl from product")));
}

TEST_F(PurchaseEntryFormTest, ACopyReplacesTheShownDocumentAndVoidingDeletesIt)
{
    QPointer<DocumentEntryForm> form = formWithALine();
    const QString source = form->box("Edit1")->text();
    form->ToolButton9Click();
    EXPECT_EQ(QStringLiteral("0000000002"), form->box("Edit1")->text());
    EXPECT_EQ(QStringLiteral("0000000002"), main->CurrentBillNo);
    EXPECT_EQ(2, form->DBGrid1->model()->rowCount());
    EXPECT_EQ(QStringLiteral("140.00"), form->box("Edit8")->text());
    EXPECT_EQ(QStringLiteral("0000000007|粮油公司|90|140|False"),
              row(QStringLiteral("select customerid, customername, amount, rest, pass from inlist where intno='0000000002'")));

    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton6Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringList({source}), column(QStringLiteral("select intno from inlist")));
    EXPECT_EQ(QStringList({source}), column(QStringLiteral("select distinct mainintno from indetail")));
}

TEST_F(PurchaseEntryFormTest, LeavingAnEmptiedDocumentDeletesItAndClosingRemovesEveryBlankPurchaseLine)
{
    const QString other = makeDocument(purchase(), QStringLiteral("0000000007"), {{{"spmc", QString()}}});
    QPointer<DocumentEntryForm> form = openPurchaseForm();
    const QString shown = form->box("Edit1")->text();
    dialogs.answer(DialogAnswer::Ok).answer(DialogAnswer::Ok);
    form->ToolButton2Click(); // the blank line
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(0, Name));
    form->ToolButton2Click(); // the carry-over line is refused
    EXPECT_EQ(QStringLiteral("明细表中的第一行为上期结转行,不能删除或修改"), dialogs.lastText());
    exec(QStringLiteral("delete from indetail where mainintno=:p1"), {shown});
    dm().AQoutdetail->close();
    dm().AQoutdetail->open();
    form->ToolButton7Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringList({other}), column(QStringLiteral("select intno from inlist")));
    EXPECT_EQ(QStringList({QStringLiteral("上期结转")}), column(QStringLiteral("select spmc from indetail")));
}

TEST_F(PurchaseEntryFormTest, TheNewProductCommandGivesTheFormBackHoweverTheEditorIsClosed)
{
    QPointer<DocumentEntryForm> form = openPurchaseForm();
    const QStringList lines = rows(QStringLiteral("select * from indetail"));
    auto openEditor = [&]() -> QPointer<Tfrproductedit> {
        form->Button1->click();
        flush();
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<Tfrproductedit*>(window); editor && editor->isVisible())
                return editor;
        return nullptr;
    };

    // Saved and left through its button.
    QPointer<Tfrproductedit> editor = openEditor();
    ASSERT_TRUE(editor);
    EXPECT_EQ(PickCode::PurchaseEntryNewProduct, main->PickMode);
    EXPECT_FALSE(form->isEnabled());
    editor->box("Edit7")->setText(QStringLiteral("N1"));
    editor->box("Edit8")->setText(QStringLiteral("新货"));
    editor->Button1Click();
    editor->Button5->click();
    flush();
    EXPECT_FALSE(editor);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(PickCode::None, main->PickMode);
    EXPECT_EQ(1, number(QStringLiteral("select count(*) from product where sphh='N1'")));

    // Closed by the window manager, without saving; then destroyed without a close.
    editor = openEditor();
    ASSERT_TRUE(editor);
    editor->close();
    flush();
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(PickCode::None, main->PickMode);
    editor = openEditor();
    ASSERT_TRUE(editor);
    delete editor.data();
    flush();
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(lines, rows(QStringLiteral("select * from indetail")));

    // The form's own picker works as before: the new product goes into the blank line.
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(1, Name));
    form->DBGrid1DblClick();
    MasterListWindow* products = MasterListWindow::instance(QStringLiteral("TFrproduct"));
    ASSERT_NE(nullptr, products);
    EXPECT_EQ(PickCode::PurchaseEntry, main->PickMode);
    ASSERT_TRUE(products->dataSet().locate(QStringLiteral("sphh"), QStringLiteral("N1")));
    products->ToolButton7Click();
    flush();
    EXPECT_EQ(QStringLiteral("新货"), cell(*form, 1, Name));
    EXPECT_EQ(PickCode::None, main->PickMode);
}

// Up and Down follow the form's own tab order (the totals after the remark, then the grid),
// not the order the boxes are laid out in.
TEST_F(PurchaseEntryFormTest, ArrowsFollowTheFormsTabOrderThroughTheTotalsToTheGrid)
{
    QPointer<DocumentEntryForm> form = openPurchaseForm();
    auto press = [](Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
        flush();
        return QApplication::focusWidget();
    };
    form->box("Edit9")->setFocus();
    flush();
    EXPECT_EQ(form->box("Edit7"), press(Qt::Key_Down));
    EXPECT_EQ(form->box("Edit5"), press(Qt::Key_Down));
    EXPECT_EQ(form->box("Edit8"), press(Qt::Key_Down));
    EXPECT_EQ(form->DBGrid1, press(Qt::Key_Down));

    form->box("Edit13")->setFocus();
    flush();
    EXPECT_EQ(form->box("Edit11"), press(Qt::Key_Up));
    EXPECT_EQ(form->box("Edit10"), press(Qt::Key_Up));
}

TEST_F(PurchaseEntryFormTest, BackThatCannotStoreTheDocumentSaysSoAndStaysOpenWithNothingWritten)
{
    // The purchase and order forms and the return forms built on the sales-return one.
    for (const EntryFormConfig& config : {DocumentCatalog::purchaseEntryForm(), DocumentCatalog::orderEntryForm(),
                                          DocumentCatalog::salesReturnEntryForm(), DocumentCatalog::purchaseReturnEntryForm()}) {
        SCOPED_TRACE(config.key.toStdString());
        QPointer<DocumentEntryForm> form = openEntryForm(config);
        form->box("Edit9")->setText(QStringLiteral("改过的摘要"));
        failWritesTo(lb::documents::DocumentKinds::of(config.kind).headerTable);
        dialogs.clear();
        const QStringList before = everyTable();
        form->ToolButton7Click();
        flush();
        EXPECT_EQ(QStringList{QStringLiteral("单据不能保存！")}, dialogs.texts());
        EXPECT_TRUE(form && form->isVisible());
        EXPECT_EQ(before, everyTable());
        EXPECT_EQ(0, errors.count());
        // The error log keeps the window's words above the engine's.
        EXPECT_EQ(QStringLiteral("单据不能保存！\ninjected fault"),
                  row(QStringLiteral("select mess from apperror order by rowid desc")).left(22));
        form->close();
        flush();
    }
}
