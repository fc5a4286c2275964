// The document-kind summary windows for real, offscreen: opening on the remembered period, the
// boxes and buttons, the period boxes, bad dates, the party picker and closing.
#include "SummaryFixture.h"

#include "core/Tfrdm.h"
#include "masterdata/MasterDataWindows.h"
#include "masterdata/MasterListWindow.h"
#include "platform/sys/Errors.h"
#include "summaries/KindSummaryWindow.h"
#include "support/Typing.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QPushButton>

using lb::core::PickCode;
using lb::core::Tfrpickdate;
using lb::masterdata::MasterListWindow;
using lb::masterdata::registerMasterDataWindows;
using lb::summaries::KindSummaryWindow;

namespace {

class KindSummaryWindowTest : public SummaryFixture {
protected:
    void SetUp() override
    {
        SummaryFixture::SetUp();
        makeCustomer(QStringLiteral("0000000001"), QStringLiteral("张三"));
        makeCustomer(QStringLiteral("0000000002"), QStringLiteral("李四"));
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 1000.0}});
        rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 1000.0}});
        postSale(QStringLiteral("0000000001"), QStringLiteral("2026-03-01"), {{flour, "面粉", 3, 12.5, 10, 1, 5}});
        postSale(QStringLiteral("0000000002"), QStringLiteral("2026-03-31"), {{rice, "大米", 2, 4, 3}, {flour, "面粉", 1, 9}});
        postSale(QStringLiteral("0000000001"), QStringLiteral("2026-04-01"), {{rice, "大米", 1, 1000}});
        rememberPeriod(QDate(2026, 3, 1), QDate(2026, 3, 31));
    }

    static QStringList totals(const KindSummaryWindow* window)
    {
        QStringList texts;
        for (const QLineEdit* box : window->totalBoxes)
            texts << box->text();
        return texts;
    }

    QString flour;
    QString rice;
};

} // namespace

TEST_F(KindSummaryWindowTest, OpensOnTheRememberedPeriodsLinesAndSums)
{
    main->SpecIsBarcode = true;
    KindSummaryWindow* window = open<KindSummaryWindow>("Tfrouttotal");
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(QStringLiteral("销售汇总表"), window->windowTitle());
    EXPECT_EQ(QStringLiteral("2026-03-01"), window->MaskEdit1->text());
    EXPECT_EQ(QStringLiteral("2026-03-31"), window->MaskEdit2->text());
    EXPECT_EQ((QStringList{"面粉", "大米", "面粉"}), gridColumn(window->DBGrid2, QStringLiteral("spmc")));
    // Quantity 6; amount 37.5 + 8 + 9; gross profit 7.5 + 2 + 9.
    EXPECT_EQ((QStringList{"6", "54.50", "1.00", "5.00", "18.50"}), totals(window));
    EXPECT_EQ(QStringLiteral("条形码"), title(window->DBGrid2, QStringLiteral("spgg")));
    EXPECT_EQ(QStringLiteral("客户号"), title(window->DBGrid2, QStringLiteral("customerid")));
    EXPECT_TRUE(window->report->isEnabled());
    EXPECT_FALSE(main->isEnabled());

    // The returns summary has no party box and sums its own table: nothing here.
    KindSummaryWindow* returns = open<KindSummaryWindow>("Tfroutbacktotal");
    EXPECT_EQ(nullptr, returns->Edit2);
    EXPECT_EQ((QStringList{"0.00", "0.00"}), totals(returns));
    EXPECT_EQ(0, returns->DBGrid2->model()->rowCount());
}

TEST_F(KindSummaryWindowTest, PartyProductGroupingAndTodayWorkFromTheirBoxesAndButtons)
{
    KindSummaryWindow* window = open<KindSummaryWindow>("Tfrouttotal");
    window->Edit2->setText(QStringLiteral(" 0000000002 "));
    press(window->MaskEdit2, Qt::Key_Return); // Enter in the to-box runs the summary
    EXPECT_EQ((QStringList{"大米", "面粉"}), gridColumn(window->DBGrid2, QStringLiteral("spmc")));
    EXPECT_EQ(QStringLiteral("17.00"), window->totalBoxes[1]->text());

    window->Edit2->clear();
    window->Edit3->setText(QStringLiteral("A01"));
    window->groupButton->click();
    EXPECT_EQ((QStringList{"面粉"}), gridColumn(window->DBGrid2, QStringLiteral("spmc")));
    EXPECT_EQ((QStringList{"46.50"}), gridColumn(window->DBGrid2, QStringLiteral("amount")));
    EXPECT_EQ(QStringLiteral("46.50"), window->totalBoxes[1]->text());

    window->todayButton->click(); // the clock stands at 2026-06-15
    EXPECT_EQ(QStringLiteral("2026-06-15"), window->MaskEdit1->text());
    EXPECT_EQ(QStringLiteral("2026-06-16"), window->MaskEdit2->text());
    EXPECT_EQ(1, window->DBGrid2->model()->rowCount()); // nothing ran
    window->refresh->click();
    EXPECT_EQ(0, window->DBGrid2->model()->rowCount());
    EXPECT_EQ(QStringLiteral("2026-06-15|2026-06-16"), rememberedPeriod());
}

TEST_F(KindSummaryWindowTest, ABadDateStopsTheRunWithTheStoredPeriodAndTheListUnchanged)
{
    KindSummaryWindow* window = open<KindSummaryWindow>("Tfrouttotal");
    const QStringList before = everyTable();
    window->MaskEdit1->setText(QStringLiteral("2026-01-01"));
    window->MaskEdit2->setText(QStringLiteral("2026-02-30"));
    window->refresh->click();
    EXPECT_EQ(1, errors.count());
    EXPECT_TRUE(errors.lastIs<lb::ConvertError>());
    EXPECT_EQ(before, everyTable());
    EXPECT_EQ(3, window->DBGrid2->model()->rowCount());
    EXPECT_EQ(QStringLiteral("54.50"), window->totalBoxes[1]->text());

    // Only digits and "-" can be typed.
    window->MaskEdit1->clear();
    window->MaskEdit1->setFocus();
    window->MaskEdit1->setCursorPosition(0);
    typeText(window->MaskEdit1, QStringLiteral("a/ 2"));
    EXPECT_EQ(QStringLiteral("2   -  -  "), window->MaskEdit1->displayText());
}

TEST_F(KindSummaryWindowTest, ADoubleClickedPeriodBoxTakesThePickedDateAndCancelLeavesIt)
{
    KindSummaryWindow* window = open<KindSummaryWindow>("Tfrouttotal");
    QDate shownFirst;
    modals.then([&](QDialog& dialog) {
        auto& picker = static_cast<Tfrpickdate&>(dialog);
        shownFirst = picker.GetDate();
        picker.SetDate(QDate(2026, 2, 14));
        picker.accept();
    });
    doubleClick(window->MaskEdit2);
    EXPECT_EQ(QDate(2026, 3, 31), shownFirst);
    EXPECT_EQ(QStringLiteral("2026-02-14"), window->MaskEdit2->text());

    window->MaskEdit1->clear();
    modals.then([&](QDialog& dialog) {
        shownFirst = static_cast<Tfrpickdate&>(dialog).GetDate();
        dialog.reject();
    });
    doubleClick(window->MaskEdit1);
    EXPECT_EQ(QDate(2026, 6, 15), shownFirst); // an empty box starts on today
    EXPECT_EQ(lb::summaries::ReportPeriod::EmptyBox, window->MaskEdit1->displayText());
    EXPECT_EQ(0, modals.pending());
}

TEST_F(KindSummaryWindowTest, ClosingClosesItsPickerAndGivesTheMainWindowBack)
{
    registerMasterDataWindows();
    KindSummaryWindow* window = open<KindSummaryWindow>("Tfrouttotal");
    doubleClick(window->Edit2);
    MasterListWindow* picker = MasterListWindow::instance(QStringLiteral("TFrcustomer"));
    ASSERT_NE(nullptr, picker);
    EXPECT_EQ(PickCode::SalesSummary, main->PickMode);
    picker->dataSet().locate(QStringLiteral("id"), QStringLiteral("0000000002"));
    picker->ToolButton7Click();
    EXPECT_EQ(QStringLiteral("0000000002"), window->Edit2->text());
    EXPECT_EQ(PickCode::None, main->PickMode);

    doubleClick(window->Edit2);
    QPointer<MasterListWindow> open = MasterListWindow::instance(QStringLiteral("TFrcustomer"));
    window->close();
    flush();
    EXPECT_TRUE(open.isNull());
    EXPECT_EQ(PickCode::None, main->PickMode);
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(QStringLiteral("SELECT * from outlist"), dm().AQoutlist->sql().text());
    EXPECT_FALSE(dm().AQoutdetail->active());
    EXPECT_TRUE(dm().ATcompany->active());
}
