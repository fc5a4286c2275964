// The sales list and the posted sales view, driven from the main menu as a user drives them:
// searches, state colours, opening documents, reversal, un-booking, voiding and copying.
#include "core/WindowRegistry.h"
#include "documents/DocumentListWindow.h"
#include "documents/DocumentWindowFixture.h"
#include "documents/DocumentWindows.h"
#include "documents/PostedDocumentView.h"
#include "support/FullDisk.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QWindow>

using lb::core::WindowRegistry;
using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::documents::DocumentListWindow;
using lb::documents::DocumentPosting;
using lb::documents::PostedDocumentView;
using lb::documents::registerDocumentWindows;
using lb::ui::DialogAnswer;

namespace {

class SalesListAndViewTest : public DocumentWindowFixture {
protected:
    void SetUp() override
    {
        DocumentWindowFixture::SetUp();
        registerDocumentWindows();
        main->buildMenus();
        makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 200.0}});
        makeCustomer(QStringLiteral("0000000002"), QStringLiteral("李四"), {{"balance", 0.0}});
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"dj_n", 25.0}, {"sl", 10.0}});
    }

    void TearDown() override
    {
        WindowRegistry::instance().unregister(QStringLiteral("Tfroutlist"));
        DocumentWindowFixture::TearDown();
    }

    // The main window's 单据录入 menu item 销售单, as the user chooses it.
    DocumentListWindow* openList()
    {
        for (QAction* action : main->findChildren<QAction*>()) {
            if (action->text() == QStringLiteral("销售单") && action->isEnabled() && action->isVisible()) {
                action->trigger();
                break;
            }
        }
        flush();
        return top<DocumentListWindow>(QStringLiteral("Tfroutlist"));
    }

    QStringList shownNumbers(DocumentListWindow& list)
    {
        QStringList numbers;
        for (int row = 0; row < list.DBGrid1->model()->rowCount(); ++row)
            numbers << list.DBGrid1->model()->index(row, 0).data().toString();
        return numbers;
    }

    void search(DocumentListWindow& list, const QString& option, const QString& text)
    {
        list.ComboBox1->setEditText(option);
        list.Edit12->setText(text);
        list.findbillClick();
    }

    QString flour;
};

// Stands in for the desktop while it lives: a window that closes gives the front to the window
// it belongs to, as the window managers do (the request waits its turn with the others).
class OwnerTakesTheFront : public QObject {
public:
    OwnerTakesTheFront() { qApp->installEventFilter(this); }
    ~OwnerTakesTheFront() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && watched->isWidgetType()) {
            const QWindow* closing = static_cast<QWidget*>(watched)->windowHandle();
            if (closing && closing->transientParent())
                closing->transientParent()->requestActivate();
        }
        return false;
    }
};

} // namespace

TEST_F(SalesListAndViewTest, TheListShowsEveryDocumentColouredByItsState)
{
    const QString open = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 1, 25}});
    const QString posted = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 1, 25}});
    const QString reversed = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 1, 25}});
    ASSERT_FALSE(DocumentPosting::post(db(), sales(), posted, QStringLiteral("C1"), QStringLiteral("0000000001")).refused);
    ASSERT_FALSE(DocumentPosting::post(db(), sales(), reversed, QStringLiteral("C1"), QStringLiteral("0000000001")).refused);
    ASSERT_FALSE(DocumentPosting::reverse(db(), sales(), reversed, QStringLiteral("C1"), QStringLiteral("0000000001")).refused);

    DocumentListWindow* list = openList();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(QStringLiteral("销售单据"), list->windowTitle());
    EXPECT_FALSE(main->isEnabled());
    EXPECT_EQ((QStringList{open, posted, reversed}), shownNumbers(*list));
    EXPECT_EQ(QStringLiteral("日期"), list->ComboBox1->currentText());
    auto colour = [&](int row) { return list->DBGrid1->model()->index(row, 0).data(Qt::ForegroundRole).value<QColor>(); };
    EXPECT_FALSE(colour(0).isValid());
    EXPECT_EQ(QColor(Qt::blue), colour(1));
    EXPECT_EQ(QColor(Qt::red), colour(2));

    list->close();
    flush();
    EXPECT_TRUE(main->isEnabled());
    EXPECT_FALSE(dm().AQoutlist->active());
    EXPECT_EQ(QStringLiteral("SELECT * from outlist"), dm().AQoutlist->sql().text());
    EXPECT_TRUE(dm().ADOCon.connected());
    EXPECT_TRUE(dm().ATcompany->active());
}

TEST_F(SalesListAndViewTest, TheListSearchesByNumberDateCustomerCodeAndName)
{
    for (int i = 1; i <= 8; ++i)
        makeSale(i == 7 ? QStringLiteral("0000000002") : QStringLiteral("C1"), {});
    exec(QStringLiteral("update outlist set billdate='2026-06-14' where intno in ('0000000002','0000000003')"));
    DocumentListWindow* list = openList();
    ASSERT_NE(nullptr, list);

    search(*list, QStringLiteral("单据号"), QStringLiteral("7"));
    EXPECT_EQ(QStringList({QStringLiteral("0000000007")}), shownNumbers(*list));
    EXPECT_EQ(QStringLiteral("0000000007"), list->Edit12->text());
    search(*list, QStringLiteral("单据号"), QString());
    EXPECT_EQ(8, shownNumbers(*list).size());
    EXPECT_EQ(QStringLiteral("0000000000"), list->Edit12->text());

    search(*list, QStringLiteral("日期"), QStringLiteral("2026-06-14"));
    EXPECT_EQ((QStringList{QStringLiteral("0000000002"), QStringLiteral("0000000003")}), shownNumbers(*list));
    // A date that is no date is reported and leaves the list as it was.
    EXPECT_THROW(search(*list, QStringLiteral("日期"), QStringLiteral("2026-13-01")), lb::ConvertError);
    EXPECT_EQ((QStringList{QStringLiteral("0000000002"), QStringLiteral("0000000003")}), shownNumbers(*list));
    list->Edit12->setText(QStringLiteral("2026-13-01"));
    list->Edit12->setFocus();
    list->DBGrid1->setFocus(); // leaving the box searches
    flush();
    EXPECT_EQ(1, errors.count());
    EXPECT_TRUE(errors.lastIs<lb::ConvertError>());
    EXPECT_TRUE(dm().AQoutlist->active());
    EXPECT_EQ((QStringList{QStringLiteral("0000000002"), QStringLiteral("0000000003")}), shownNumbers(*list));

    // The customer code as typed, no zeros added and no part of it; the name anywhere in it.
    search(*list, QStringLiteral("客户号"), QStringLiteral("2"));
    EXPECT_TRUE(shownNumbers(*list).isEmpty());
    search(*list, QStringLiteral("客户号"), QStringLiteral(" 0000000002 "));
    EXPECT_EQ(QStringList({QStringLiteral("0000000007")}), shownNumbers(*list));
    search(*list, QStringLiteral("客户名"), QStringLiteral("三"));
    EXPECT_EQ(7, shownNumbers(*list).size());

    // Choosing an option empties the box; under 日期 typing does nothing.
    list->ComboBox1->setCurrentIndex(1);
    list->ComboBox1Select();
    EXPECT_EQ(QString(), list->Edit12->text());
    typeText(list->Edit12, QStringLiteral("12"));
    EXPECT_EQ(QString(), list->Edit12->text());
    list->ComboBox1->setCurrentIndex(3);
    typeText(list->Edit12, QStringLiteral("李"));
    EXPECT_EQ(QStringLiteral("李"), list->Edit12->text());
}

TEST_F(SalesListAndViewTest, OpeningADocumentChoosesTheWindowByItsStateAndDisablesTheList)
{
    DocumentListWindow* list = openList();
    ASSERT_NE(nullptr, list);
    list->detailClick();
    EXPECT_EQ(QStringList({QStringLiteral("查无单据不能进入明细表!")}), dialogs.texts());

    // 新开单: a new document in the entry form; back in the list when it is left.
    list->ToolButton5Click();
    QPointer<DocumentEntryForm> form = top<DocumentEntryForm>(QStringLiteral("Tfroutdetail"));
    ASSERT_TRUE(form);
    EXPECT_FALSE(list->isEnabled());
    form->box("Edit2")->setText(QStringLiteral("C1"));
    enterCode(*form, QStringLiteral("A01"));
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(QStringList({QStringLiteral("0000000001")}), shownNumbers(*list));

    // A posted document opens in the posted view, read-only, with its stored header.
    list->DBGrid1->setCurrentIndex(list->DBGrid1->model()->index(0, 0));
    list->detailClick();
    QPointer<PostedDocumentView> view = top<PostedDocumentView>(QStringLiteral("Tfrfoutdetail"));
    ASSERT_TRUE(view);
    EXPECT_EQ(QStringLiteral("销售明细单(已过帐)"), view->windowTitle());
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(QStringLiteral("225.00"), view->box("Edit8")->text());
    EXPECT_TRUE(view->box("Edit2")->isReadOnly());
    EXPECT_EQ(2, view->DBGrid1->model()->rowCount());
    EXPECT_TRUE(view->action("ToolButton6")->isVisible());
    EXPECT_FALSE(view->action("ToolButton1")->isVisible());
    EXPECT_FALSE(view->action("ToolButton2")->isVisible());
    // The entry form's pop-up items are there, disabled; 打印 and 退回 run.
    QStringList popup;
    for (QAction* item : view->popupMenu->actions())
        popup << item->text() + (item->isEnabled() ? QStringLiteral("+") : QStringLiteral("-"));
    EXPECT_EQ((QStringList{"新增-", "删除-", "刷新-", "过帐-", "打印+", "退回+"}), popup);
    view->ToolButton7Click();
    flush();
    EXPECT_FALSE(view);
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(QStringLiteral("SELECT * from outlist"), dm().AQoutlist->sql().text());

    // An open document opens in the entry form with its own number.
    makeSale(QStringLiteral("C1"), {});
    search(*list, QStringLiteral("单据号"), QStringLiteral("2"));
    list->detailClick();
    form = top<DocumentEntryForm>(QStringLiteral("Tfroutdetail"));
    ASSERT_TRUE(form);
    EXPECT_FALSE(main->NewBillFlag);
    EXPECT_EQ(QStringLiteral("0000000002"), form->box("Edit1")->text());
}

TEST_F(SalesListAndViewTest, ReversingFromThePostedViewRestoresTheBooksAndTheListShowsItRed)
{
    const QString sale = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 4, 25, 0, 30}});
    const QStringList before = rows(QStringLiteral("select * from customer")) + rows(QStringLiteral("select * from bank"));
    ASSERT_FALSE(DocumentPosting::post(db(), sales(), sale, QStringLiteral("C1"), QStringLiteral("0000000001")).refused);
    DocumentListWindow* list = openList();
    ASSERT_NE(nullptr, list);
    list->detailClick();
    QPointer<PostedDocumentView> view = top<PostedDocumentView>(QStringLiteral("Tfrfoutdetail"));
    ASSERT_TRUE(view);

    dialogs.answer(DialogAnswer::Cancel);
    view->ToolButton6Click();
    EXPECT_TRUE(view);
    dialogs.answer(DialogAnswer::Ok);
    view->ToolButton6Click();
    flush();
    EXPECT_FALSE(view);
    EXPECT_EQ(before, rows(QStringLiteral("select * from customer")) + rows(QStringLiteral("select * from bank")));
    EXPECT_EQ(10, number(QStringLiteral("select sl from product")));
    EXPECT_EQ(QColor(Qt::red), list->DBGrid1->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>());

    list->detailClick();
    view = top<PostedDocumentView>(QStringLiteral("Tfrfoutdetail"));
    ASSERT_TRUE(view);
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    view->ToolButton6Click();
    EXPECT_EQ((QStringList{QStringLiteral("确实要冲数该单据吗?"), QStringLiteral("该单据已冲数,不能再冲数！")}), dialogs.texts());
    EXPECT_TRUE(view);
}

// A 冲帐 the full disk of the books refuses says why and leaves the view open on the document as
// stored; the text log keeps the failure, since the error table cannot take it.
TEST_F(SalesListAndViewTest, UnbookingOnAFullDiskSaysWhyAndTheTextLogKeepsIt)
{
    exec(QStringLiteral("update config set tallybj='F'"));
    const QString sale = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 4, 25}});
    ASSERT_FALSE(DocumentPosting::book(db(), sales(), sale, QStringLiteral("C1")).refused);
    DocumentListWindow* list = openList();
    ASSERT_NE(nullptr, list);
    list->detailClick();
    QPointer<PostedDocumentView> view = top<PostedDocumentView>(QStringLiteral("Tfrfoutdetail"));
    ASSERT_TRUE(view);
    const QString books = QFileInfo(lb::AppPaths::databaseFile()).absolutePath();
    const QString failure = QStringLiteral("该功能暂时不能执行，请重新操作！\n磁盘已满,不能写入文件夹: ")
                            + QDir::toNativeSeparators(QFileInfo(books).canonicalFilePath());
    const QStringList before = everyTable();
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    {
        FullDisk disk(books);
        view->ToolButton1Click();
    }
    flush();
    EXPECT_EQ((QStringList{QStringLiteral("确实要冲数该单据吗?"), failure}), dialogs.texts());
    EXPECT_TRUE(view);
    EXPECT_EQ(before, everyTable());
    const QString logged = errorLogText();
    EXPECT_TRUE(logged.contains(failure + QStringLiteral("\ndatabase or disk is full"))) << logged.toStdString();
}

TEST_F(SalesListAndViewTest, InStockOnlyModeTheViewUnbooksAndVoidsWithTheStockGivenBack)
{
    exec(QStringLiteral("update config set tallybj='F'"));
    const QString unbooked = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 4, 25}});
    const QString voided = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 3, 25}});
    ASSERT_FALSE(DocumentPosting::book(db(), sales(), unbooked, QStringLiteral("C1")).refused);
    ASSERT_FALSE(DocumentPosting::book(db(), sales(), voided, QStringLiteral("C1")).refused);
    EXPECT_EQ(3, number(QStringLiteral("select sl from product")));
    DocumentListWindow* list = openList();
    ASSERT_NE(nullptr, list);

    list->detailClick();
    QPointer<PostedDocumentView> view = top<PostedDocumentView>(QStringLiteral("Tfrfoutdetail"));
    ASSERT_TRUE(view);
    EXPECT_FALSE(view->action("ToolButton6")->isVisible());
    EXPECT_TRUE(view->action("ToolButton1")->isVisible());
    EXPECT_TRUE(view->action("ToolButton2")->isVisible());
    dialogs.answer(DialogAnswer::Ok);
    view->ToolButton1Click();
    flush();
    EXPECT_FALSE(view);
    EXPECT_EQ(7, number(QStringLiteral("select sl from product")));
    EXPECT_EQ(QStringLiteral("True"), row(QStringLiteral("select cancel from outlist where intno=:p1"), {unbooked}));

    search(*list, QStringLiteral("单据号"), voided);
    list->detailClick();
    view = top<PostedDocumentView>(QStringLiteral("Tfrfoutdetail"));
    ASSERT_TRUE(view);
    // A refused 作废 says why and leaves the view open: the stock given back would pass the limit.
    exec(QStringLiteral("update product set sl=90071992547409.92-2"));
    const QStringList before = everyTable();
    dialogs.answer(DialogAnswer::Ok);
    view->ToolButton2Click();
    flush();
    EXPECT_TRUE(view);
    EXPECT_EQ(DocumentPosting::OutOfRange, dialogs.lastText());
    EXPECT_EQ(before, everyTable());
    exec(QStringLiteral("update product set sl=7"));
    dialogs.answer(DialogAnswer::Ok);
    view->ToolButton2Click();
    flush();
    EXPECT_FALSE(view);
    EXPECT_EQ(10, number(QStringLiteral("select sl from product")));
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from outdetail where mainintno=:p1"), {voided}));
    EXPECT_EQ(QStringList({unbooked}), shownNumbers(*list));
}

TEST_F(SalesListAndViewTest, ACopyFromTheViewOpensInTheEntryFormWithItsProductsAndGivesTheListBackLater)
{
    const QString sale = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 4, 25}});
    ASSERT_FALSE(DocumentPosting::post(db(), sales(), sale, QStringLiteral("C1"), QStringLiteral("0000000001")).refused);
    DocumentListWindow* list = openList();
    ASSERT_NE(nullptr, list);
    list->detailClick();
    QPointer<PostedDocumentView> view = top<PostedDocumentView>(QStringLiteral("Tfrfoutdetail"));
    ASSERT_TRUE(view);
    view->ToolButton3Click();
    flush();
    EXPECT_FALSE(view);
    QPointer<DocumentEntryForm> form = top<DocumentEntryForm>(QStringLiteral("Tfroutdetail"));
    ASSERT_TRUE(form);
    EXPECT_EQ(QStringLiteral("0000000002"), form->box("Edit1")->text());
    EXPECT_FALSE(list->isEnabled());
    // The copy keeps each line's product, so posting it moves stock.
    EXPECT_EQ(QStringList({QString(), flour}), rows(QStringLiteral("select spintno from outdetail where mainintno='0000000002' order by intno")));
    form->ToolButton7Click();
    flush();
    EXPECT_TRUE(list->isEnabled());

    // A view with no sales list behind it refuses to copy and writes nothing.
    main->CurrentBillNo = sale;
    auto* alone = new PostedDocumentView(DocumentCatalog::salesPostedView(), main.get());
    alone->showWork(true);
    const QStringList before = everyTable();
    alone->ToolButton3Click();
    EXPECT_EQ(QStringLiteral("没有打开销售单据,不能转抄！"), dialogs.lastText());
    EXPECT_EQ(before, everyTable());
    alone->close();
}

TEST_F(SalesListAndViewTest, AfterACopyTheNewEntryFormIsTheActiveWindowNotTheListBehindIt)
{
    const QString sale = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 4, 25}});
    ASSERT_FALSE(DocumentPosting::post(db(), sales(), sale, QStringLiteral("C1"), QStringLiteral("0000000001")).refused);
    OwnerTakesTheFront desktop;
    DocumentListWindow* list = openList();
    ASSERT_NE(nullptr, list);
    list->detailClick();
    flush();
    QPointer<PostedDocumentView> view = top<PostedDocumentView>(QStringLiteral("Tfrfoutdetail"));
    ASSERT_TRUE(view);
    ASSERT_EQ(view.data(), QApplication::activeWindow());
    view->action(QStringLiteral("ToolButton3"))->trigger();
    flush();
    EXPECT_FALSE(view);
    DocumentEntryForm* form = top<DocumentEntryForm>(QStringLiteral("Tfroutdetail"));
    ASSERT_NE(nullptr, form);
    EXPECT_EQ(form, QApplication::activeWindow());
    EXPECT_FALSE(list->isEnabled());
}
