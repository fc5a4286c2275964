// The lists and posted views of the receipt, purchase, return, payment and order kinds: each
// list's words, searches and colours, each view's commands by kind and posting route, and the
// reversal, un-booking, voiding, discarding and copying they run.
#include "core/WindowRegistry.h"
#include "documents/DocumentListWindow.h"
#include "documents/KindDocumentsFixture.h"
#include "documents/PostedDocumentView.h"
#include "support/PrintedPreview.h"

#include <QComboBox>

using lb::core::WindowRegistry;
using lb::documents::BillKind;
using lb::documents::DocumentEntryForm;
using lb::documents::DocumentKind;
using lb::documents::DocumentListWindow;
using lb::documents::DocumentPosting;
using lb::documents::PostedDocumentView;
using lb::ui::DialogAnswer;

namespace {

struct ListCase {
    const char* key;
    BillKind kind;
    const char* caption;
    const char* partyNo;   // the party's number word: search option and column title
    const char* partyName;
    const char* entryForm; // the windows an open and a posted document open in
    const char* postedView;
};

const ListCase listCases[] = {
    {"Tfrgetlist", BillKind::Receipt, "收款单据", "客户号", "客户名", "Tfrgetdetail", "Tfrfgetdetail"},
    {"Tfrinlist", BillKind::Purchase, "进货单据", "供应商号", "供应商名", "Tfrindetail", "Tfrfindetail"},
    {"Tfrinbacklist", BillKind::PurchaseReturn, "进货退货单据", "供应商号", "供应商名", "Tfrinbackdetail", "Tfrfinbackdetail"},
    {"Tfroutbacklist", BillKind::SalesReturn, "销售退货单据", "客户号", "客户名", "Tfroutbackdetail", "Tfrfoutbackdetail"},
    {"Tfrputlist", BillKind::Payment, "查询付款单", "供应商号", "供应商名", "Tfrputdetail", "Tfrfputdetail"},
    {"Tfrdhlist", BillKind::PurchaseOrder, "订货单据", "供应商号", "供应商名", "Tfrdhdetail", "Tfrfdhdetail"},
};

class KindListsAndViewsTest : public KindDocumentsFixture {
protected:
    // The list `key` as the menu opens it: AQoutlist on the whole header table.
    DocumentListWindow* openList(const QString& key, BillKind which)
    {
        main->NewBillFlag = false;
        frdm->AQoutlist->reopen(QStringLiteral("SELECT * from %1").arg(kind(which).headerTable));
        lb::ui::WorkWindow* window = WindowRegistry::instance().create(key, main.get());
        window->showWork(true);
        flush();
        return qobject_cast<DocumentListWindow*>(window);
    }

    // Opens the list's row of document `intno` as the user does.
    static void openRow(DocumentListWindow& list, const QString& intno)
    {
        for (int row = 0; row < list.DBGrid1->model()->rowCount(); ++row)
            if (list.DBGrid1->model()->index(row, 0).data().toString() == intno)
                list.DBGrid1->setCurrentIndex(list.DBGrid1->model()->index(row, 0));
        list.detailClick();
        flush();
    }

    static QStringList visibleTools(PostedDocumentView& view)
    {
        QStringList captions;
        for (const char* name : {"ToolButton6", "ToolButton1", "ToolButton2", "ToolButton3", "ToolButton5", "ToolButton7"})
            if (QAction* action = view.action(QString::fromLatin1(name)); action && action->isVisible())
                captions << action->text().trimmed();
        return captions;
    }
};

} // namespace

TEST_F(KindListsAndViewsTest, EachListSearchesByItsPartysWordsAndColoursAndOpensByState)
{
    for (const ListCase& c : listCases) {
        SCOPED_TRACE(c.key);
        const DocumentKind& listed = kind(c.kind);
        const QString party = partyOf(c.kind);
        const QString open = makeDocument(listed, party, {});
        const QString posted = postedDocument(c.kind);
        const QString reversed = postedDocument(c.kind);
        ASSERT_FALSE(DocumentPosting::reverse(db(), listed, reversed, party, QStringLiteral("0000000001")).refused);

        DocumentListWindow* list = openList(QString::fromLatin1(c.key), c.kind);
        ASSERT_NE(nullptr, list);
        EXPECT_EQ(QString::fromUtf8(c.caption), list->windowTitle());
        EXPECT_EQ(3, list->DBGrid1->model()->rowCount());
        EXPECT_EQ(QString::fromUtf8(c.partyName), list->DBGrid1->model()->headerData(3, Qt::Horizontal).toString());
        EXPECT_EQ((QStringList{QStringLiteral("单据号"), QStringLiteral("日期"), QString::fromUtf8(c.partyNo), QString::fromUtf8(c.partyName)}),
                  [&] {
                      QStringList items;
                      for (int i = 0; i < list->ComboBox1->count(); ++i)
                          items << list->ComboBox1->itemText(i);
                      return items;
                  }());
        auto colour = [&](int r) { return list->DBGrid1->model()->index(r, 0).data(Qt::ForegroundRole).value<QColor>(); };
        EXPECT_FALSE(colour(0).isValid());
        EXPECT_EQ(QColor(Qt::blue), colour(1));
        EXPECT_EQ(QColor(Qt::red), colour(2));

        list->ComboBox1->setEditText(QString::fromUtf8(c.partyName));
        list->Edit12->setText(listed.partyTable == QLatin1String("customer") ? QStringLiteral("三") : QStringLiteral("粮油"));
        list->findbillClick();
        EXPECT_EQ(3, list->DBGrid1->model()->rowCount());
        list->ComboBox1->setEditText(QString::fromUtf8(c.partyNo));
        list->Edit12->setText(QStringLiteral("X9"));
        list->findbillClick();
        EXPECT_EQ(0, list->DBGrid1->model()->rowCount());
        list->ComboBox1->setEditText(QStringLiteral("单据号"));
        list->Edit12->setText(QString::number(posted.toInt()));
        list->findbillClick();
        ASSERT_EQ(1, list->DBGrid1->model()->rowCount());

        openRow(*list, posted);
        QPointer<PostedDocumentView> view = top<PostedDocumentView>(QString::fromLatin1(c.postedView));
        ASSERT_TRUE(view);
        EXPECT_FALSE(list->isEnabled());
        view->ToolButton7Click();
        flush();
        EXPECT_TRUE(list->isEnabled());
        list->Edit12->setText(QString::number(open.toInt()));
        list->findbillClick();
        openRow(*list, open);
        QPointer<lb::ui::WorkWindow> form = top<lb::ui::WorkWindow>(QString::fromLatin1(c.entryForm));
        ASSERT_TRUE(form);
        form->close();
        flush();
        list->close();
        flush();
        EXPECT_TRUE(main->isEnabled());
    }
}

TEST_F(KindListsAndViewsTest, EachViewOffersTheCommandsOfItsKindAndPostingMode)
{
    struct ViewCase {
        BillKind kind;
        const char* key;
        QStringList full;      // visible with tallybj "T"
        QStringList stockOnly; // with any other value
    };
    const std::vector<ViewCase> cases = {
        {BillKind::Receipt, "Tfrfgetdetail", {"冲数", "打印", "退回"}, {"冲数", "打印", "退回"}},
        {BillKind::Payment, "Tfrfputdetail", {"冲数", "打印", "退回"}, {"冲数", "打印", "退回"}},
        {BillKind::Purchase, "Tfrfindetail", {"冲数", "转抄", "打印", "退回"}, {"冲帐", "作废&C", "转抄", "打印", "退回"}},
        {BillKind::PurchaseReturn, "Tfrfinbackdetail", {"冲数", "打印", "退回"}, {"冲帐", "作废&C", "打印", "退回"}},
        {BillKind::SalesReturn, "Tfrfoutbackdetail", {"冲数", "打印", "退回"}, {"冲帐", "作废&C", "打印", "退回"}},
        {BillKind::PurchaseOrder, "Tfrfdhdetail", {"废弃", "转抄", "打印", "退回"}, {"废弃", "转抄", "打印", "退回"}},
    };
    lb::test::PrintedPreview preview;
    for (const char* option : {"T", "F"}) {
        exec(QStringLiteral("update config set tallybj=:p1"), {QString::fromLatin1(option)});
        for (const ViewCase& c : cases) {
            SCOPED_TRACE(std::string(c.key) + " " + option);
            // Posted the way the option says: booked for stock only where it is not "T".
            main->CurrentBillNo = postedDocument(c.kind, QLatin1String(option) == QLatin1String("F") && kind(c.kind).followsPostingMode);
            QPointer<lb::ui::WorkWindow> window = WindowRegistry::instance().create(QString::fromLatin1(c.key), main.get());
            ASSERT_TRUE(window);
            window->showWork(true);
            flush();
            auto* view = qobject_cast<PostedDocumentView*>(window.data());
            ASSERT_NE(nullptr, view);
            EXPECT_EQ(QLatin1String(option) == QLatin1String("T") ? c.full : c.stockOnly, visibleTools(*view));
            EXPECT_EQ(main->CurrentBillNo, view->box("Edit1")->text());
            // 打印 prints the kind's layout headed by the company and the kind's name.
            view->action("ToolButton5")->trigger();
            flush();
            const QStringList page = preview.page(1);
            EXPECT_EQ(kind(c.kind).billname, page.value(0));
            EXPECT_TRUE(page.contains(QStringLiteral("共  1 页")));
            view->ToolButton7Click();
            flush();
            EXPECT_TRUE(main->isEnabled());
        }
    }
}

TEST_F(KindListsAndViewsTest, ThePaymentViewReversesInFullWhateverTheOption)
{
    exec(QStringLiteral("update config set tallybj='F'"));
    const QString payment = postedDocument(BillKind::Payment);
    EXPECT_EQ(QStringLiteral("900|300"), row(QStringLiteral("select (select balance from branch), balance from bank where id='0000000002'")));
    DocumentListWindow* list = openList(QStringLiteral("Tfrputlist"), BillKind::Payment);
    openRow(*list, payment);
    QPointer<PostedDocumentView> view = top<PostedDocumentView>(QStringLiteral("Tfrfputdetail"));
    ASSERT_TRUE(view);
    dialogs.answer(DialogAnswer::Ok);
    view->ToolButton6Click();
    flush();
    EXPECT_FALSE(view);
    EXPECT_EQ(QStringLiteral("1000|400"), row(QStringLiteral("select (select balance from branch), balance from bank where id='0000000002'")));
    EXPECT_EQ(QColor(Qt::red), list->DBGrid1->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>());
}

TEST_F(KindListsAndViewsTest, APurchasesReversalRefundsTheAccountTheDocumentStores)
{
    const QString purchase = makeDocument(kind(BillKind::Purchase), QStringLiteral("S1"),
                                          {{{"spintno", flour}, {"sphh", "A01"}, {"spmc", QStringLiteral("面粉")}, {"js", 1}, {"sl_j", 2},
                                            {"dj_w", 5}, {"pay", 10}}},
                                          QStringLiteral("0000000002"));
    ASSERT_FALSE(DocumentPosting::post(db(), kind(BillKind::Purchase), purchase, QStringLiteral("S1"), QStringLiteral("0000000002")).refused);
    EXPECT_EQ(390, number(QStringLiteral("select balance from bank where id='0000000002'")));
    DocumentListWindow* list = openList(QStringLiteral("Tfrinlist"), BillKind::Purchase);
    openRow(*list, purchase);
    QPointer<PostedDocumentView> view = top<PostedDocumentView>(QStringLiteral("Tfrfindetail"));
    ASSERT_TRUE(view);
    EXPECT_EQ(QStringLiteral("0000000002"), view->box("Edit10")->text());
    view->box("Edit10")->setText(QStringLiteral("0000000001")); // whatever the box shows
    dialogs.answer(DialogAnswer::Ok);
    view->ToolButton6Click();
    flush();
    EXPECT_FALSE(view);
    EXPECT_EQ((QStringList{QStringLiteral("0000000001|0"), QStringLiteral("0000000002|400")}),
              rows(QStringLiteral("select id, balance from bank order by id")));
    EXPECT_EQ(10, number(QStringLiteral("select sl from product")));
}

TEST_F(KindListsAndViewsTest, InStockOnlyModeAReturnsViewUnbooksAndVoidsWithTheStockGivenBack)
{
    exec(QStringLiteral("update config set tallybj='F'"));
    const QString unbooked = postedDocument(BillKind::SalesReturn, true);
    const QString voided = postedDocument(BillKind::SalesReturn, true);
    EXPECT_EQ(14, number(QStringLiteral("select sl from product")));
    DocumentListWindow* list = openList(QStringLiteral("Tfroutbacklist"), BillKind::SalesReturn);

    openRow(*list, unbooked);
    QPointer<PostedDocumentView> view = top<PostedDocumentView>(QStringLiteral("Tfrfoutbackdetail"));
    ASSERT_TRUE(view);
    dialogs.answer(DialogAnswer::Ok);
    view->ToolButton1Click();
    flush();
    EXPECT_FALSE(view);
    EXPECT_EQ(12, number(QStringLiteral("select sl from product")));
    EXPECT_EQ(QStringLiteral("True|True"), row(QStringLiteral("select pass, cancel from outbacklist where intno=:p1"), {unbooked}));

    openRow(*list, voided);
    view = top<PostedDocumentView>(QStringLiteral("Tfrfoutbackdetail"));
    ASSERT_TRUE(view);
    dialogs.answer(DialogAnswer::Ok);
    view->ToolButton2Click();
    flush();
    EXPECT_FALSE(view);
    EXPECT_EQ(10, number(QStringLiteral("select sl from product")));
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from outbackdetail where mainintno=:p1"), {voided}));
    EXPECT_EQ(QStringList{unbooked}, rows(QStringLiteral("select intno from outbacklist")));
}

TEST_F(KindListsAndViewsTest, CopiesFromAViewOpenInTheEntryFormThroughTheListAndOnlyThere)
{
    struct CopyCase {
        BillKind kind;
        const char* list;
        const char* view;
        const char* entryForm;
        const char* copyButton;
        const char* refusal;
    };
    const CopyCase cases[] = {
        {BillKind::Purchase, "Tfrinlist", "Tfrfindetail", "Tfrindetail", "ToolButton3", "没有打开进货单据,不能转抄！"},
        {BillKind::PurchaseOrder, "Tfrdhlist", "Tfrfdhdetail", "Tfrdhdetail", "ToolButton1", "没有打开订货单据,不能转抄！"},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.view);
        const DocumentKind& copied = kind(c.kind);
        const QString source = postedDocument(c.kind);
        DocumentListWindow* list = openList(QString::fromLatin1(c.list), c.kind);
        openRow(*list, source);
        QPointer<PostedDocumentView> view = top<PostedDocumentView>(QString::fromLatin1(c.view));
        ASSERT_TRUE(view);
        view->action(QString::fromLatin1(c.copyButton))->trigger();
        flush();
        EXPECT_FALSE(view);
        QPointer<DocumentEntryForm> form = top<DocumentEntryForm>(QString::fromLatin1(c.entryForm));
        ASSERT_TRUE(form);
        const QString copy = form->box("Edit1")->text();
        EXPECT_NE(source, copy);
        EXPECT_EQ(QStringLiteral("False|2026-06-15"), row(QStringLiteral("select pass, billdate from %1 where intno=:p1").arg(copied.headerTable), {copy}));
        EXPECT_EQ(number(QStringLiteral("select count(*) from %1 where mainintno=:p1").arg(copied.lineTable), {source}),
                  number(QStringLiteral("select count(*) from %1 where mainintno=:p1").arg(copied.lineTable), {copy}));
        form->ToolButton7Click();
        flush();
        EXPECT_TRUE(list->isEnabled());
        list->close();
        flush();

        // Opened from elsewhere (the product history), the view has no list to open a copy in.
        main->CurrentBillNo = source;
        view = qobject_cast<PostedDocumentView*>(WindowRegistry::instance().create(QString::fromLatin1(c.view), main.get()));
        ASSERT_TRUE(view);
        view->showWork(true);
        flush();
        const QStringList before = everyTable();
        dialogs.clear();
        view->action(QString::fromLatin1(c.copyButton))->trigger();
        EXPECT_EQ(QStringList{QString::fromUtf8(c.refusal)}, dialogs.texts());
        EXPECT_EQ(before, everyTable());
        view->ToolButton7Click();
        flush();
    }
}

TEST_F(KindListsAndViewsTest, AnOrdersViewDiscardsItWithoutAReversal)
{
    const QString order = postedDocument(BillKind::PurchaseOrder);
    DocumentListWindow* list = openList(QStringLiteral("Tfrdhlist"), BillKind::PurchaseOrder);
    openRow(*list, order);
    QPointer<PostedDocumentView> view = top<PostedDocumentView>(QStringLiteral("Tfrfdhdetail"));
    ASSERT_TRUE(view);
    dialogs.answer(DialogAnswer::Cancel);
    view->action("ToolButton6")->trigger();
    EXPECT_TRUE(view);
    dialogs.answer(DialogAnswer::Ok);
    view->action("ToolButton6")->trigger();
    flush();
    EXPECT_FALSE(view);
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from dhlist")));
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from dhdetail")));
    EXPECT_EQ(10, number(QStringLiteral("select sl from product")));
    EXPECT_EQ(0, list->DBGrid1->model()->rowCount());
}

namespace {

struct RouteCase {
    BillKind kind;
    const char* view;
};

void PrintTo(const RouteCase& c, std::ostream* out)
{
    *out << c.view;
}


// The trading kinds, whose posting mode chooses between 过帐 and 记帐.
class PostingRouteTest : public KindListsAndViewsTest, public ::testing::WithParamInterface<RouteCase> {
protected:
    // Every row of the books: every table but the document's own and the options row.
    QStringList books()
    {
        const DocumentKind& shown = kind(GetParam().kind);
        QStringList kept;
        for (const QString& line : everyTable()) {
            const QString table = line.section(QLatin1Char('|'), 0, 0);
            if (table != shown.headerTable && table != shown.lineTable && table != QLatin1String("config"))
                kept << line;
        }
        return kept;
    }

    // The view of document `intno` with the option now `option`: its undo commands shown.
    PostedDocumentView* openView(const QString& intno, const char* option)
    {
        exec(QStringLiteral("update config set tallybj=:p1"), {QString::fromLatin1(option)});
        return openPostedView(QString::fromLatin1(GetParam().view), intno);
    }

    static QStringList undoCommands(PostedDocumentView& view)
    {
        QStringList shown;
        for (const QString& command : visibleTools(view))
            if (QStringList{QStringLiteral("冲数"), QStringLiteral("冲帐"), QStringLiteral("作废&C")}.contains(command))
                shown << command;
        return shown;
    }
};

} // namespace

TEST_P(PostingRouteTest, ADocumentIsUndoneByTheRouteThatPostedItWhateverTheOptionSaysNow)
{
    const DocumentKind& shown = kind(GetParam().kind);
    const QString party = partyOf(GetParam().kind);

    // Booked with 记帐, then the option turned to full posting: 冲帐 and 作废, never 冲数, and
    // 冲帐 gives back only the stock the booking moved.
    exec(QStringLiteral("update config set tallybj='F'"));
    const QString booked = postedDocument(GetParam().kind, true);
    EXPECT_EQ(QStringLiteral("F"), row(QStringLiteral("select postroute from %1 where intno=:p1").arg(shown.headerTable), {booked}));
    exec(QStringLiteral("update product set sl=10"));
    const QStringList beforeBooking = books();
    QPointer<PostedDocumentView> view = openView(booked, "T");
    EXPECT_EQ((QStringList{QStringLiteral("冲帐"), QStringLiteral("作废&C")}), undoCommands(*view));
    dialogs.answer(DialogAnswer::Ok);
    view->ToolButton1Click();
    flush();
    EXPECT_FALSE(view);
    EXPECT_EQ(10 + (shown.kind == BillKind::Sales || shown.kind == BillKind::PurchaseReturn ? 2 : -2),
              number(QStringLiteral("select sl from product")));
    exec(QStringLiteral("update product set sl=10"));
    EXPECT_EQ(beforeBooking, books());

    // Posted with 过帐, then the option turned to stock only: 冲数 alone, never 冲帐 or 作废,
    // and 冲数 takes back the party, the account and the stock.
    exec(QStringLiteral("update config set tallybj='T'"));
    const QString unposted = makeDocument(shown, party, {{{"spintno", flour}, {"sphh", "A01"}, {"spmc", QStringLiteral("面粉")},
                                                          {"sl", 2}, {"js", 1}, {"sl_j", 2}, {"dj_n", 5}, {"dj_w", 5}, {"pay", 3}}});
    const QStringList beforePosting = books();
    ASSERT_FALSE(DocumentPosting::post(db(), shown, unposted, party, QStringLiteral("0000000001")).refused);
    ASSERT_NE(beforePosting, books());
    view = openView(unposted, "F");
    EXPECT_EQ(QStringList{QStringLiteral("冲数")}, undoCommands(*view));
    dialogs.answer(DialogAnswer::Ok);
    view->ToolButton6Click();
    flush();
    EXPECT_FALSE(view);
    EXPECT_EQ(beforePosting, books());
    EXPECT_EQ(QStringLiteral("True|True|T"),
              row(QStringLiteral("select pass, cancel, postroute from %1 where intno=:p1").arg(shown.headerTable), {unposted}));
}

TEST_P(PostingRouteTest, ADocumentPostedBeforeRoutesWereRecordedFollowsTheOption)
{
    const QString posted = postedDocument(GetParam().kind);
    exec(QStringLiteral("update %1 set postroute=null").arg(kind(GetParam().kind).headerTable));
    for (const auto& [option, commands] : {std::pair{"T", QStringList{QStringLiteral("冲数")}},
                                           std::pair{"F", QStringList{QStringLiteral("冲帐"), QStringLiteral("作废&C")}}}) {
        PostedDocumentView* view = openView(posted, option);
        EXPECT_EQ(commands, undoCommands(*view)) << option;
        view->ToolButton7Click();
        flush();
    }
}

INSTANTIATE_TEST_SUITE_P(TradingKinds, PostingRouteTest,
                         ::testing::Values(RouteCase{BillKind::Sales, "Tfrfoutdetail"}, RouteCase{BillKind::Purchase, "Tfrfindetail"},
                                           RouteCase{BillKind::SalesReturn, "Tfrfoutbackdetail"},
                                           RouteCase{BillKind::PurchaseReturn, "Tfrfinbackdetail"}),
                         [](const auto& info) { return std::string(info.param.view); });
