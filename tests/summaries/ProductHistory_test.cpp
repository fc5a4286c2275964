// The product history: filled from the product list's and the stock windows' pop-up, narrowed to
// the period, opening the posted view of a line without its changing commands, and closing.
#include "SummaryFixture.h"

#include "core/Tfrdm.h"
#include "documents/DocumentWindows.h"
#include "documents/PostedDocumentView.h"
#include "masterdata/MasterDataWindows.h"
#include "masterdata/MasterListWindow.h"
#include "masterdata/StockMenu.h"
#include "platform/sys/Errors.h"
#include "summaries/ProductHistory.h"
#include "summaries/Tfrdetail.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>

using lb::core::PickCode;
using lb::core::WindowRegistry;
using lb::documents::BillKind;
using lb::documents::PostedDocumentView;
using lb::documents::registerDocumentWindows;
using lb::masterdata::MasterListWindow;
using lb::masterdata::StockMenu;
using lb::masterdata::registerMasterDataWindows;
using lb::summaries::Tfrdetail;
using lb::summaries::registerSummaryWindows;

namespace {

// A posted view as the document windows build theirs: the commands under their design names,
// the reversal buttons shown again by the posting option when it is shown, and what it found
// set when it was made.
class PostedView : public lb::ui::WorkWindow {
public:
    explicit PostedView(QWidget* owner) : lb::ui::WorkWindow(owner)
    {
        auto* bar = new QToolBar(this);
        for (const char* name : {"ToolButton6", "ToolButton1", "ToolButton2", "ToolButton3", "ToolButton5", "ToolButton7"})
            bar->addAction(QLatin1String(name))->setObjectName(QLatin1String(name));
        pickMode = frmain->PickMode;
        billNo = frmain->CurrentBillNo;
        header = frdm->AQoutlist->active() && !frdm->AQoutlist->isEmpty()
                     ? frdm->AQoutlist->fieldByName(QStringLiteral("intno")).asString() + QLatin1Char('|')
                           + frdm->AQoutlist->fieldByName(QStringLiteral("billname")).asString()
                     : QString();
    }

    QAction* command(const char* name) const { return findChild<QAction*>(QLatin1String(name)); }

    PickCode pickMode = PickCode::None;
    QString billNo;
    QString header;

protected:
    void showEvent(QShowEvent* event) override
    {
        lb::ui::WorkWindow::showEvent(event);
        command("ToolButton1")->setVisible(true);
        command("ToolButton2")->setVisible(true);
    }
};

class ProductHistoryTest : public SummaryFixture {
protected:
    void SetUp() override
    {
        SummaryFixture::SetUp();
        registerMasterDataWindows();
        registerSummaryWindows();
        // The returns' views stay unregistered; the other two are stand-ins unless a test
        // registers the document windows' own.
        for (const char* key : {"Tfrfoutbackdetail", "Tfrfinbackdetail"})
            WindowRegistry::instance().unregister(QLatin1String(key));
        for (const char* key : {"Tfrfoutdetail", "Tfrfindetail"}) {
            WindowRegistry::instance().registerWindow(QLatin1String(key), [this](QWidget* owner) {
                view = new PostedView(owner);
                return view.data();
            });
        }
        makeCustomer(QStringLiteral("0000000001"), QStringLiteral("张三"));
        makeSupplier(QStringLiteral("0000000001"), QStringLiteral("粮油公司"));
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 1000.0}});
        rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 1000.0}});
        const QString c1 = QStringLiteral("0000000001");
        sale = postSale(c1, QStringLiteral("2026-03-10"), {{flour, "面粉", 2, 10}, {rice, "大米", 1, 4}});
        purchase = writePosted(BillKind::Purchase, c1, QStringLiteral("2026-01-05"), {{flour, "面粉", 50, 6}});
        salesReturn = writePosted(BillKind::SalesReturn, c1, QStringLiteral("2026-03-20"), {{flour, "面粉", 1, 10}});
        purchaseReturn = writePosted(BillKind::PurchaseReturn, c1, QStringLiteral("2026-04-02"), {{flour, "面粉", 5, 6}});
        writePosted(BillKind::Receipt, c1, QStringLiteral("2026-03-11"), {{QStringLiteral("0000000001"), "现金", 0, 9}});
        makeOpenSale(c1, QStringLiteral("2026-03-12"), {{flour, "面粉", 7, 10}});
        const QString reversed = postSale(c1, QStringLiteral("2026-03-13"), {{flour, "面粉", 8, 10}});
        EXPECT_FALSE(lb::documents::DocumentPosting::reverse(db(), sales(), reversed, c1, QStringLiteral("0000000001")).refused);
        rememberPeriod(QDate(2026, 3, 1), QDate(2026, 3, 31));
    }

    void TearDown() override
    {
        for (const char* key : {"Tfrfoutdetail", "Tfrfindetail"})
            WindowRegistry::instance().unregister(QLatin1String(key));
        SummaryFixture::TearDown();
    }

    // The product list from the menu, on `product`.
    MasterListWindow* productList(const QString& product)
    {
        main->setEnabled(false);
        MasterListWindow* list = MasterListWindow::openFromMenu(QStringLiteral("TFrproduct"), main.get(), QStringLiteral("SELECT * from product"));
        list->dataSet().locate(QStringLiteral("intno"), product);
        return list;
    }

    static Tfrdetail* history()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<Tfrdetail*>(window); found && found->isVisible())
                return found;
        return nullptr;
    }

    // Puts the history's rows on the line of kind `billname`.
    static void selectLine(const QString& billname)
    {
        ASSERT_TRUE(frdm->AQdetail->locate(QStringLiteral("billname"), billname)) << billname.toStdString();
    }

    QString flour;
    QString rice;
    QString sale;
    QString purchase;
    QString salesReturn;
    QString purchaseReturn;
    QPointer<PostedView> view;
};

} // namespace

TEST_F(ProductHistoryTest, ThePopUpListsEveryPostedLineOfTheProductAndRefreshNarrowsToThePeriod)
{
    main->SpecIsBarcode = true;
    // Purchase lines carry the product's selling price beside the price they were bought at;
    // the history's 单价 is the price of the line's own trade.
    exec(QStringLiteral("update indetail set dj_n=9"));
    exec(QStringLiteral("update inbackdetail set dj_n=9"));
    MasterListWindow* list = productList(flour);
    list->menuItem(QStringLiteral("N24"))->trigger();
    Tfrdetail* window = history();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(QStringLiteral("明细表查询"), window->windowTitle());
    EXPECT_EQ((QStringList{"6", "10", "10", "6"}), rows(QStringLiteral("select dj_n from custtotal order by billdate")));
    EXPECT_EQ(PickCode::ProductListHistory, main->PickMode);
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(QStringLiteral("2026-03-01"), window->MaskEdit1->text());
    // Every date, in date order; no unposted or reversed line, no other product.
    EXPECT_EQ((QStringList{"2026-01-05", "2026-03-10", "2026-03-20", "2026-04-02"}), gridColumn(window->DBGrid2, QStringLiteral("billdate")));
    EXPECT_EQ((QStringList{"进货单", "销售单", "销售退货单", "进货退货单"}), gridColumn(window->DBGrid2, QStringLiteral("billname")));
    EXPECT_EQ(QStringLiteral("条形码"), title(window->DBGrid2, QStringLiteral("spgg")));

    press(window->MaskEdit2, Qt::Key_Return);
    EXPECT_EQ((QStringList{"销售单", "销售退货单"}), gridColumn(window->DBGrid2, QStringLiteral("billname")));

    window->cancel->click();
    flush();
    EXPECT_EQ(PickCode::None, main->PickMode);
    EXPECT_TRUE(list->isEnabled());
    EXPECT_FALSE(main->isEnabled()); // the product list is still open
    EXPECT_EQ(QStringLiteral("SELECT * from outlist"), dm().AQoutlist->sql().text());
}

TEST_F(ProductHistoryTest, APickingProductListRefusesAndTheStockWindowsDoNotOfferIt)
{
    MasterListWindow* list = productList(flour);
    main->PickMode = PickCode::SalesEntry;
    list->menuItem(QStringLiteral("N24"))->trigger();
    EXPECT_EQ((QStringList{"由单据转到商品表的状态不能查明细帐！"}), dialogs.texts());
    EXPECT_EQ(nullptr, history());
    list->close();
    flush();

    MasterListWindow* stock = StockMenu::gainAndLoss();
    EXPECT_EQ(nullptr, stock->menuItem(QStringLiteral("N24")));
    stock->close();
    flush();
}

TEST_F(ProductHistoryTest, OpensThePostedViewOfTheLinesDocumentWithoutItsChangingCommands)
{
    productList(flour)->menuItem(QStringLiteral("N24"))->trigger();
    Tfrdetail* window = history();
    selectLine(QStringLiteral("进货单"));
    window->report->click();
    ASSERT_FALSE(view.isNull());
    EXPECT_EQ(window, view->opener());
    EXPECT_EQ(purchase + QStringLiteral("|进货单"), view->header);
    EXPECT_EQ(purchase, view->billNo);
    EXPECT_EQ(PickCode::ProductListHistory, view->pickMode);
    EXPECT_TRUE(view->isVisible());
    EXPECT_FALSE(window->isEnabled());
    for (const char* name : {"ToolButton6", "ToolButton1", "ToolButton2"}) {
        EXPECT_FALSE(view->command(name)->isVisible()) << name;
        EXPECT_FALSE(view->command(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(view->command("ToolButton7")->isVisible());
    view->close();
    flush();
    EXPECT_TRUE(window->isEnabled());

    selectLine(QStringLiteral("销售单"));
    window->report->click();
    ASSERT_FALSE(view.isNull());
    EXPECT_EQ(sale + QStringLiteral("|销售单"), view->header);
}

TEST_F(ProductHistoryTest, TheDocumentWindowsPostedViewsOpenWithoutTheirChangingCommands)
{
    registerDocumentWindows();
    productList(flour)->menuItem(QStringLiteral("N24"))->trigger();
    Tfrdetail* window = history();
    // Each line opens the view of its own kind.
    const std::tuple<QString, QString, const char*> lines[] = {{QStringLiteral("销售单"), sale, "Tfrfoutdetail"},
                                                               {QStringLiteral("进货单"), purchase, "Tfrfindetail"},
                                                               {QStringLiteral("销售退货单"), salesReturn, "Tfrfoutbackdetail"},
                                                               {QStringLiteral("进货退货单"), purchaseReturn, "Tfrfinbackdetail"}};
    for (const auto& [billname, document, viewKey] : lines) {
        selectLine(billname);
        window->report->click();
        QPointer<PostedDocumentView> posted;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<PostedDocumentView*>(top); found && found->isVisible())
                posted = found;
        ASSERT_FALSE(posted.isNull()) << billname.toStdString();
        EXPECT_EQ(QLatin1String(viewKey), posted->config().key);
        EXPECT_EQ(document, posted->documentNo());
        EXPECT_FALSE(window->isEnabled());
        for (const char* name : {"ToolButton6", "ToolButton1", "ToolButton2"})
            EXPECT_FALSE(posted->findChild<QAction*>(QLatin1String(name))->isVisible()) << name;
        posted->ToolButton7Click(); // 退回
        flush();
        EXPECT_TRUE(posted.isNull());
        EXPECT_TRUE(window->isEnabled());
        EXPECT_EQ(PickCode::ProductListHistory, main->PickMode);
    }
}

TEST_F(ProductHistoryTest, AGoneDocumentAKindWithoutViewOrABadCodeOpensNothing)
{
    productList(flour)->menuItem(QStringLiteral("N24"))->trigger();
    Tfrdetail* window = history();

    exec(QStringLiteral("delete from inlist where intno=:p1"), {purchase});
    selectLine(QStringLiteral("进货单"));
    window->report->click();
    EXPECT_TRUE(view.isNull());
    // The sales return's view is not built here.
    selectLine(QStringLiteral("销售退货单"));
    window->report->click();
    EXPECT_TRUE(view.isNull());
    EXPECT_TRUE(window->isEnabled());

    exec(QStringLiteral("update custtotal set billtype='X1'"));
    lb::summaries::ProductHistory::openAll(*dm().AQdetail, flour);
    window->report->click();
    EXPECT_EQ(1, errors.count());
    EXPECT_TRUE(errors.lastIs<lb::ConvertError>());
    EXPECT_TRUE(view.isNull());
    EXPECT_TRUE(window->isEnabled());

    // No rows: nothing, silently.
    exec(QStringLiteral("delete from custtotal"));
    lb::summaries::ProductHistory::openAll(*dm().AQdetail, flour);
    window->report->click();
    EXPECT_EQ(1, errors.count());
}

TEST_F(ProductHistoryTest, AFillThatFailsLeavesTheHistoryTableAsItWas)
{
    lb::summaries::ProductHistory::fill(db(), rice);
    // One row out; the sale, purchase, return and purchase return lines of flour in.
    EXPECT_EQ(5, failEachWrite([&] { lb::summaries::ProductHistory::fill(db(), flour); }));
}
