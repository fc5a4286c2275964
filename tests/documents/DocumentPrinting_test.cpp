// Printing documents from their entry forms and posted views: the pages, the heading, the page
// total and the operator, the carry-over line, a note of several lines, and the lines the form
// shows afterwards.
#include "core/WindowRegistry.h"
#include "documents/DocumentPrinting.h"
#include "documents/DocumentWindowFixture.h"
#include "documents/DocumentWindows.h"
#include "documents/PostedDocumentView.h"

#include "platform/db/Table.h"
#include "support/PrintedPreview.h"

#include <QPrintDialog>
#include <QRegularExpression>

using lb::core::WindowRegistry;
using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::documents::DocumentWindow;
using lb::documents::EntryFormConfig;
using lb::documents::PostedDocumentView;
using lb::documents::registerDocumentWindows;

namespace {

using lb::documents::BillKind;
using lb::documents::DocumentKinds;
using lb::ui::DialogAnswer;

// The text printed right after `text` (the value a caption introduces).
QString after(const QStringList& page, const QString& text)
{
    const qsizetype at = page.indexOf(text);
    return at < 0 || at + 1 >= page.size() ? QString() : page[at + 1];
}

class DocumentPrintingTest : public DocumentWindowFixture {
protected:
    void SetUp() override
    {
        DocumentWindowFixture::SetUp();
        registerDocumentWindows();
        main->OperatorName = QStringLiteral("王会计");
        exec(QStringLiteral("update company set name=' 朔栎商行 ', addr='杭州市文一路8号'"));
        dm().applyDisplayFormats();
        dm().ATcompany->open();
        makeCustomer(QStringLiteral("1"), QStringLiteral("东方超市"), {{"balance", 500}});
        makeSupplier(QStringLiteral("1"), QStringLiteral("北方批发"), {{"balance", 300}});
        makeAccount(QStringLiteral("0000000001"), QStringLiteral("现金"));
        product = makeProduct(QStringLiteral("P1"), QStringLiteral("面粉"), {{"sl", 1000}, {"dj_n", 10}, {"dj_w", 8}});
    }

    // A sales document of `count` lines of quantity 1 at prices 1, 2, 3, ...
    QString saleOf(int count)
    {
        std::vector<SaleLine> lines;
        for (int i = 1; i <= count; ++i)
            lines.push_back({product, QStringLiteral("面粉%1").arg(i), 1, double(i)});
        lb::db::Transaction transaction(db());
        const QString intno = makeSale(QStringLiteral("1"), lines);
        transaction.commit();
        return intno;
    }

    // The spmc of the lines the form's line dataset holds, in its order.
    QStringList shownLines() const
    {
        QStringList names;
        lb::db::Query& lines = *frdm->AQoutdetail;
        const lb::db::Bookmark mark = lines.bookmark();
        for (lines.first(); !lines.eof(); lines.next())
            names << lines.fieldByName(QStringLiteral("spmc")).asString();
        lines.gotoBookmark(mark);
        return names;
    }

    // A document of `kind` with one line, for customer or supplier "1".
    QString documentOf(const lb::documents::DocumentKind& kind)
    {
        const Values line = kind.linesAreAccounts
                                ? Values{{"sphh", "0000000001"}, {"spmc", "现金"}, {"amount", 40}}
                                : Values{{"spintno", product}, {"sphh", "P1"}, {"spmc", "面粉"}, {"sl", 2}, {"dj_n", 10}, {"dj_w", 8}};
        return makeDocument(kind, QStringLiteral("1"), {line});
    }

    // Every tool and pop-up item of `window` whose caption, without its accelerator and
    // padding, is "打印".
    static std::vector<QAction*> printItems(const QWidget& window)
    {
        static const QRegularExpression decoration(QStringLiteral("&.|\\s"));
        std::vector<QAction*> items;
        for (QAction* action : window.findChildren<QAction*>())
            if (QString(action->text()).remove(decoration) == QStringLiteral("打印"))
                items.push_back(action);
        return items;
    }

    QString currentLine() const { return frdm->AQoutdetail->fieldByName(QStringLiteral("spmc")).asString(); }

    lb::test::PrintedPreview preview;
    QString product;
};

TEST_F(DocumentPrintingTest, SalesFormPrintsTwoPagesWithoutTheCarryOverLineAndShowsEveryLineAfterwards)
{
    const QString sale = saleOf(50);
    DocumentEntryForm* form = openSalesForm(false, sale);
    form->ToolButton1Click(); // a blank line, current
    dialogs.answer(DialogAnswer::Ok); // its deletion before printing
    form->action(QStringLiteral("ToolButton5"))->trigger();
    flush();

    EXPECT_EQ(QStringList{QStringLiteral("确实要删除当前记录吗?")}, dialogs.texts());
    EXPECT_EQ(2, frmain->ReportPageCount);
    ASSERT_EQ(2u, preview.last().pages.size());
    double total = 0;
    for (int number = 1; number <= 2; ++number) {
        const QStringList page = preview.page(number);
        EXPECT_EQ(QStringLiteral("朔栎商行销售单"), page.first());
        EXPECT_EQ(QString::number(number), after(page, QStringLiteral("第")));
        EXPECT_EQ(QStringLiteral("2"), after(page, QStringLiteral("共")));
        EXPECT_FALSE(page.contains(QStringLiteral("上期结转")));
        double amounts = 0;
        for (int line = 1; line <= 50; ++line)
            if (page.contains(QStringLiteral("面粉%1").arg(line)))
                amounts += line;
        EXPECT_EQ(QString::number(amounts, 'f', 2), after(page, QStringLiteral("本页小计:")));
        total += amounts;
    }
    EXPECT_EQ(1275.0, total);
    const QStringList first = preview.page(1);
    EXPECT_EQ(QStringLiteral("1"), first.value(first.indexOf(QStringLiteral("P1")) - 1)); // numbered from the first product
    const QStringList last = preview.page(2);
    EXPECT_EQ(QStringLiteral("王会计"), after(last, QStringLiteral("制表人:")));
    EXPECT_EQ(QStringLiteral("500.00"), after(last, QStringLiteral("上期余额:")));
    EXPECT_EQ(QStringLiteral("1775.00"), after(last, QStringLiteral("结余:")));

    // The grid shows every line again, the carry-over line first, and no blank line.
    const QStringList lines = shownLines();
    ASSERT_EQ(51, lines.size());
    EXPECT_EQ(QStringLiteral("上期结转"), lines.first());
    EXPECT_EQ(QStringLiteral("面粉50"), lines.last());
    EXPECT_EQ(QStringLiteral("上期结转"), cell(*form, 0, form->DBGrid1->gridModel()->columnOf(QStringLiteral("spmc"))));
    EXPECT_EQ(QVariant(51), scalar(QStringLiteral("select count(*) from outdetail where mainintno=:p1"), {sale}));
}

TEST_F(DocumentPrintingTest, LinesComeBackWithTheirCurrentLineEvenWhenThePrintFails)
{
    const QString sale = saleOf(5);
    DocumentEntryForm* form = openSalesForm(false, sale);
    ASSERT_TRUE(frdm->AQoutdetail->locate(QStringLiteral("spmc"), QStringLiteral("面粉3")));
    form->ToolButton5Click();
    EXPECT_EQ(QStringLiteral("面粉3"), currentLine());
    EXPECT_EQ(6, shownLines().size());

    preview.failNext = QStringLiteral("The printer stopped");
    EXPECT_THROW(form->ToolButton5Click(), lb::Error);
    EXPECT_EQ(QStringLiteral("面粉3"), currentLine());
    EXPECT_EQ(QStringLiteral("上期结转"), shownLines().first());
    EXPECT_EQ(6, shownLines().size());
    // The first line is the carry-over line: the code entry refuses it as always.
    frdm->AQoutdetail->first();
    EXPECT_EQ(QStringLiteral("上期结转"), currentLine());
}

// Lines stored out of their number order (as a copied or compacted file may hold them) print in
// number order and come back in it, the carry-over line first, so it is never taken for a product.
TEST_F(DocumentPrintingTest, LinesStoredOutOfOrderPrintAndComeBackInNumberOrder)
{
    const QString sale = saleOf(3);
    exec(QStringLiteral("update outdetail set rowid=1000-rowid where mainintno=:p1"), {sale});
    DocumentEntryForm* form = openSalesForm(false, sale);
    ASSERT_EQ(QStringLiteral("上期结转"), shownLines().first());
    form->ToolButton5Click();
    const QStringList page = preview.page(1);
    const qsizetype first = page.indexOf(QStringLiteral("面粉1"));
    ASSERT_GE(first, 0);
    EXPECT_LT(first, page.indexOf(QStringLiteral("面粉2")));
    EXPECT_LT(page.indexOf(QStringLiteral("面粉2")), page.indexOf(QStringLiteral("面粉3")));
    EXPECT_EQ((QStringList{"上期结转", "面粉1", "面粉2", "面粉3"}), shownLines());
}

TEST_F(DocumentPrintingTest, PostedSalesViewPrintsFromItsPopUpAndKeepsItsLines)
{
    const QString sale = saleOf(3);
    ASSERT_FALSE(lb::documents::DocumentPosting::post(db(), sales(), sale, QStringLiteral("1"), QStringLiteral("0000000001")).refused);
    main->CurrentBillNo = sale;
    auto* view = new PostedDocumentView(DocumentCatalog::salesPostedView(), main.get());
    view->showWork(true);
    flush();
    ASSERT_TRUE(view->action(QStringLiteral("N5"))->isEnabled());
    view->action(QStringLiteral("N5"))->trigger();
    flush();
    const QStringList page = preview.page(1);
    EXPECT_EQ(QStringLiteral("朔栎商行销售单"), page.first());
    EXPECT_EQ(QStringLiteral("1"), after(page, QStringLiteral("共")));
    EXPECT_FALSE(page.contains(QStringLiteral("上期结转")));
    EXPECT_TRUE(page.contains(QStringLiteral("面粉3")));
    EXPECT_EQ(4, shownLines().size());
    EXPECT_EQ(QStringLiteral("朔栎打印预览"), preview.last().title);
}

// The note grows its band line by line: each line is clipped to the box grown so far, which holds
// it whole, not to the note's first line.
TEST_F(DocumentPrintingTest, ANoteOfSeveralLinesPrintsEveryLineWithinItsGrownBox)
{
    const QString sale = saleOf(3);
    ASSERT_FALSE(lb::documents::DocumentPosting::post(db(), sales(), sale, QStringLiteral("1"), QStringLiteral("0000000001")).refused);
    const QStringList note{QStringLiteral("送货上门"), QStringLiteral("下午三点前"), QStringLiteral("找王经理收款")};
    exec(QStringLiteral("update outlist set remark1=:p1 where intno=:p2"), {note.join(QStringLiteral("\r\n")), sale});
    main->CurrentBillNo = sale;
    auto* view = new PostedDocumentView(DocumentCatalog::salesPostedView(), main.get());
    view->showWork(true);
    flush();
    view->action(QStringLiteral("N5"))->trigger();
    flush();
    std::vector<lb::test::PrintedPreview::Placed> lines;
    for (const QString& text : note) {
        const std::optional<lb::test::PrintedPreview::Placed> placed = preview.find(1, text);
        ASSERT_TRUE(placed) << text.toStdString();
        lines.push_back(*placed);
    }
    const int lineHeight = lines[1].y - lines[0].y;
    ASSERT_GT(lineHeight, 0);
    for (const lb::test::PrintedPreview::Placed& line : lines) {
        SCOPED_TRACE(line.text.toStdString());
        EXPECT_TRUE(line.clip.contains(QRect(QPoint(line.left, line.y), QPoint(line.right, line.y + lineHeight - 1))))
            << line.clip.top() << ".." << line.clip.bottom() << " for the line at " << line.y;
    }
}

TEST_F(DocumentPrintingTest, EveryOtherEntryFormPrintsItsKindWithThePageTotalInWords)
{
    struct Case {
        const char* form;
        BillKind kind;
        const char* party;
        QStringList texts;
    };
    const std::vector<Case> cases = {
        {"Tfrindetail", BillKind::Purchase, "1", {"收货人：", "合计件数:"}},
        {"Tfrgetdetail", BillKind::Receipt, "1", {"收款人：", "银行编号"}},
        {"Tfrputdetail", BillKind::Payment, "1", {"付款人：", "银行名称"}},
        {"Tfroutbackdetail", BillKind::SalesReturn, "1", {"收货人：", "送货人：", "规格型号"}},
        {"Tfrinbackdetail", BillKind::PurchaseReturn, "1", {"退货人："}},
        {"Tfrdhdetail", BillKind::PurchaseOrder, "1", {"经手人：", "备   注"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        const lb::documents::DocumentKind& kind = DocumentKinds::of(c.kind);
        const bool accounts = kind.linesAreAccounts;
        const Values line = accounts ? Values{{"sphh", "0000000001"}, {"spmc", "现金"}, {"amount", 40}}
                                     : Values{{"spintno", product}, {"sphh", "P1"}, {"spmc", "面粉"}, {"sl", 2}, {"dj_n", 10}, {"dj_w", 8}};
        const QString intno = makeDocument(kind, QLatin1String(c.party), {line});
        DocumentEntryForm* form = openEntryForm(DocumentCatalog::entryForm(QLatin1String(c.form)), false, intno);
        form->ToolButton5Click();
        const QStringList page = preview.page(1);
        EXPECT_EQ(QStringLiteral("朔栎商行") + kind.billname, page.first());
        EXPECT_TRUE(page.contains(QStringLiteral("共  1 页")));
        EXPECT_EQ(QStringLiteral("王会计"), after(page, QStringLiteral("制表人:")));
        EXPECT_EQ(intno, after(page, QStringLiteral("单号:")));
        EXPECT_EQ(kind.carryOverLine, page.contains(QStringLiteral("上期结转")));
        EXPECT_TRUE(page.contains(accounts ? QStringLiteral("现金") : QStringLiteral("面粉")));
        for (const QString& text : c.texts)
            EXPECT_TRUE(page.contains(text)) << text.toStdString();
        form->ToolButton7Click();
        flush();
    }
    EXPECT_EQ(0, dialogs.unanswered());
}

// Each entry form and posted view: every item captioned 打印, on its tool bar or its pop-up, is
// enabled and previews the window's document with its heading, page total and operator.
TEST_F(DocumentPrintingTest, EveryPrintItemOfEveryDocumentWindowPrintsItsDocument)
{
    struct Window {
        QString key;
        BillKind kind;
        bool posted;
        std::size_t items; // tool bar and pop-up
    };
    std::vector<Window> windows;
    for (const QString& key : DocumentCatalog::entryFormKeys()) {
        const EntryFormConfig config = DocumentCatalog::entryForm(key);
        windows.push_back({key, config.kind, false, config.kind == BillKind::Sales ? 1u : 2u});
    }
    for (const QString& key : DocumentCatalog::postedViewKeys())
        windows.push_back({key, DocumentCatalog::postedView(key).kind, true, 2});
    ASSERT_EQ(14u, windows.size());

    for (const Window& window : windows) {
        SCOPED_TRACE(window.key.toStdString());
        const lb::documents::DocumentKind& kind = DocumentKinds::of(window.kind);
        const QString intno = documentOf(kind);
        DocumentWindow* opened = nullptr;
        if (window.posted) {
            ASSERT_FALSE(lb::documents::DocumentPosting::post(db(), kind, intno, QStringLiteral("1"), QStringLiteral("0000000001")).refused);
            main->CurrentBillNo = intno;
            opened = qobject_cast<DocumentWindow*>(WindowRegistry::instance().create(window.key, main.get()));
            ASSERT_NE(nullptr, opened);
            opened->showWork(true);
        } else {
            opened = openEntryForm(DocumentCatalog::entryForm(window.key), false, intno);
        }
        flush();
        const std::vector<QAction*> items = printItems(*opened);
        EXPECT_EQ(window.items, items.size());
        for (QAction* item : items) {
            SCOPED_TRACE(item->objectName().toStdString());
            ASSERT_TRUE(item->isEnabled());
            const std::size_t before = preview.previews.size();
            item->trigger();
            flush();
            ASSERT_EQ(before + 1, preview.previews.size());
            const QStringList page = preview.page(1);
            EXPECT_EQ(QStringLiteral("朔栎打印预览"), preview.last().title);
            EXPECT_EQ(QStringLiteral("朔栎商行") + kind.billname, page.value(0));
            EXPECT_EQ(intno, after(page, QStringLiteral("单号:")));
            EXPECT_TRUE(page.contains(window.kind == BillKind::Sales ? QStringLiteral("1") : QStringLiteral("共  1 页")));
            EXPECT_EQ(QStringLiteral("王会计"), after(page, QStringLiteral("制表人:")));
        }
        opened->action(QStringLiteral("ToolButton7"))->trigger();
        flush();
    }
    EXPECT_EQ(0, dialogs.unanswered());
}

TEST_F(DocumentPrintingTest, SalesReturnHeadsItsSpecificationColumnByTheOption)
{
    const QString intno = makeDocument(DocumentKinds::of(BillKind::SalesReturn), QStringLiteral("1"),
                                       {{{"spintno", product}, {"sphh", "P1"}, {"spmc", "面粉"}, {"spgg", "6901"}, {"sl", 1}}});
    main->SpecIsBarcode = true;
    DocumentEntryForm* form = openEntryForm(DocumentCatalog::salesReturnEntryForm(), false, intno);
    form->ToolButton5Click();
    EXPECT_TRUE(preview.page(1).contains(QStringLiteral("条形码")));
    EXPECT_FALSE(preview.page(1).contains(QStringLiteral("规格型号")));
    EXPECT_TRUE(preview.page(1).contains(QStringLiteral("6901")));
}

TEST_F(DocumentPrintingTest, ReceiptPrintsWithoutAskingAboutItsBlankLine)
{
    const QString intno = makeDocument(receipt(), QStringLiteral("1"), {{{"sphh", "0000000001"}, {"spmc", "现金"}, {"amount", 40}}});
    DocumentEntryForm* form = openEntryForm(DocumentCatalog::receiptEntryForm(), false, intno);
    form->ToolButton1Click();
    const int before = shownLines().size();
    form->ToolButton5Click();
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_EQ(before, shownLines().size());
    EXPECT_EQ(1u, preview.previews.size());
}

TEST_F(DocumentPrintingTest, CancelledBlankLineDeletionPrintsNothing)
{
    const QString sale = saleOf(2);
    DocumentEntryForm* form = openSalesForm(false, sale);
    form->ToolButton1Click();
    dialogs.answer(DialogAnswer::Cancel);
    form->action(QStringLiteral("ToolButton5"))->trigger();
    flush();
    EXPECT_TRUE(preview.previews.empty());
    EXPECT_EQ(4, shownLines().size());
}

TEST_F(DocumentPrintingTest, SalesFormPrinterSetUpShowsThePrintDialog)
{
    DocumentEntryForm* form = openSalesForm(false, saleOf(1));
    QString title;
    modals.then([&title](QDialog& dialog) {
        title = dialog.windowTitle();
        EXPECT_NE(nullptr, qobject_cast<QPrintDialog*>(&dialog));
        dialog.reject();
    });
    form->action(QStringLiteral("N7"))->trigger();
    flush();
    EXPECT_EQ(QStringLiteral("打印设置"), title);
    EXPECT_EQ(0, modals.pending());
}

} // namespace
