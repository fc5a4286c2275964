// Printing the summaries, statements and journal from their windows: the rows of the run, the
// period and partner the rows were made for, the headings, and the texts of each layout.
#include "SummaryFixture.h"

#include "core/Tfrdm.h"
#include "platform/db/Table.h"
#include "summaries/BalanceWindow.h"
#include "summaries/KindSummaryWindow.h"
#include "support/PrintedPreview.h"

#include <QLineEdit>
#include <QPushButton>

using lb::documents::BillKind;
using lb::summaries::BalanceWindow;
using lb::summaries::KindSummaryWindow;

namespace {

// The text printed right after `text` (the value a caption introduces).
QString after(const QStringList& page, const QString& text)
{
    const qsizetype at = page.indexOf(text);
    return at < 0 || at + 1 >= page.size() ? QString() : page[at + 1];
}

class SummaryPrintingTest : public SummaryFixture {
protected:
    void SetUp() override
    {
        SummaryFixture::SetUp();
        exec(QStringLiteral("update company set name=' 朔栎商行 ', addr='杭州市文一路8号', tel='0571-88886666'"));
        dm().applyDisplayFormats();
        dm().ATcompany->open();
        makeCustomer(QStringLiteral("0000000001"), QStringLiteral("张三"),
                     {{"rest", 100.0}, {"tel", "13800001111"}, {"remark", QStringLiteral("老客户")}});
        makeCustomer(QStringLiteral("0000000002"), QStringLiteral("李四"), {{"remark", QStringLiteral("新客户")}});
        makeSupplier(QStringLiteral("0000000001"), QStringLiteral("粮油公司"), {{"rest", 50.0}});
        exec(QStringLiteral("update bank set rest=1000 where id='0000000001'"));
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 1000.0}, {"spgg", "6901"}});
        march = postSale(QStringLiteral("0000000001"), QStringLiteral("2026-03-05"), {{flour, "面粉", 3, 12.5, 10, 0, 5}});
        april = postSale(QStringLiteral("0000000002"), QStringLiteral("2026-04-02"), {{flour, "面粉", 2, 20, 10}});
        writePosted(BillKind::SalesReturn, QStringLiteral("0000000001"), QStringLiteral("2026-03-06"), {{flour, "面粉", 1, 12.5}});
        receipt = writePosted(BillKind::Receipt, QStringLiteral("0000000001"), QStringLiteral("2026-03-07"),
                              {{QStringLiteral("0000000001"), "现金", 0, 8}});
        rememberPeriod(QDate(2026, 3, 1), QDate(2026, 3, 31));
    }

    lb::test::PrintedPreview preview;
    QString flour;
    QString march;
    QString april;
    QString receipt;
};

} // namespace

TEST_F(SummaryPrintingTest, SalesSummaryPrintsTheLastRunWithThePeriodItWasMadeFor)
{
    KindSummaryWindow* window = open<KindSummaryWindow>("Tfrouttotal");
    ASSERT_TRUE(window->report->isEnabled());
    // Boxes changed without a run: the print shows the rows of the last run and their period.
    window->MaskEdit1->setText(QStringLiteral("2026-01-01"));
    window->MaskEdit2->setText(QStringLiteral("2026-12-31"));
    window->report->click();
    QStringList page = preview.page(1);
    EXPECT_EQ(QStringLiteral("朔栎打印预览"), preview.last().title);
    EXPECT_EQ(QStringLiteral("朔栎商行销售汇总表"), page.value(0));
    EXPECT_EQ(QStringLiteral("汇总日期从2026-03-01到2026-03-31"), page.value(1));
    EXPECT_TRUE(page.contains(QStringLiteral("2026-03-05")));
    EXPECT_FALSE(page.contains(QStringLiteral("2026-04-02")));
    EXPECT_EQ(QStringLiteral("7.50"), after(page, QStringLiteral("毛利润：")));
    EXPECT_EQ(QStringLiteral("3.00"), after(page, QStringLiteral("合计：")));

    // After the grouping the print lists the groups, with the period of that run.
    window->groupButton->click();
    window->report->click();
    page = preview.page(1);
    EXPECT_EQ(QStringLiteral("汇总日期从2026-01-01到2026-12-31"), page.value(1));
    EXPECT_EQ(1, page.count(QStringLiteral("面粉")));
    EXPECT_FALSE(page.contains(QStringLiteral("2026-03-05")));
    EXPECT_TRUE(page.contains(QStringLiteral("77.50")));
}

TEST_F(SummaryPrintingTest, ReturnsSummaryRunsAgainBeforePrintingAndHeadsItsSpecificationColumn)
{
    main->SpecIsBarcode = true;
    KindSummaryWindow* window = open<KindSummaryWindow>("Tfroutbacktotal");
    window->MaskEdit1->setText(QStringLiteral("2026-04-01"));
    window->MaskEdit2->setText(QStringLiteral("2026-04-30"));
    window->report->click();
    QStringList page = preview.page(1);
    EXPECT_EQ(QStringLiteral("朔栎商行销售退货汇总"), page.value(0));
    EXPECT_EQ(QStringLiteral("汇总日期从2026-04-01到2026-04-30"), page.value(1));
    EXPECT_FALSE(page.contains(QStringLiteral("2026-03-06")));
    EXPECT_EQ(QStringLiteral("2026-04-01|2026-04-30"), rememberedPeriod());
    EXPECT_TRUE(page.contains(QStringLiteral("条形码"))) << page.join('|').toStdString();

    window->MaskEdit1->setText(QStringLiteral("2026-03-01"));
    window->report->click();
    page = preview.page(1);
    EXPECT_TRUE(page.contains(QStringLiteral("2026-03-06")));
}

TEST_F(SummaryPrintingTest, EverySummaryWindowPrintsItsOwnLayout)
{
    const std::vector<std::pair<const char*, const char*>> summaries = {
        {"Tfrouttotal", "朔栎商行销售汇总表"},    {"Tfroutbacktotal", "朔栎商行销售退货汇总"},
        {"Tfrintotal", "朔栎商行进货汇总表"},     {"Tfrinbacktotal", "朔栎商行进货退货汇总"},
        {"Tfrgettotal", "朔栎商行收款汇总表"},    {"Tfrputtotal", "朔栎商行付款汇总表"},
    };
    for (const auto& [key, heading] : summaries) {
        SCOPED_TRACE(key);
        KindSummaryWindow* window = open<KindSummaryWindow>(key);
        ASSERT_TRUE(window->report->isEnabled());
        window->report->click();
        const QStringList page = preview.page(1);
        EXPECT_EQ(QString::fromUtf8(heading), page.value(0));
        EXPECT_EQ(QStringLiteral("汇总日期从2026-03-01到2026-03-31"), page.value(1));
        EXPECT_TRUE(page.contains(QStringLiteral("合计：")));
        window->close();
    }
    // The receipts' list carries the document's number.
    EXPECT_EQ(6u, preview.previews.size());
    EXPECT_TRUE(preview.previews[4].pages[0].contains(receipt));
}

TEST_F(SummaryPrintingTest, CustomerSummaryPrintsThePartnerItsRowsWereMadeFor)
{
    BalanceWindow* window = open<BalanceWindow>("Tfrcusttotal");
    window->codeBox->setText(QStringLiteral("0000000001"));
    window->refresh->click();
    // Another partner looked up afterwards does not become the printed one.
    window->codeBox->setText(QStringLiteral("0000000002"));
    window->lookUp();
    ASSERT_EQ(QStringLiteral("李四"), window->nameBox->text());
    window->report->click();
    const QStringList page = preview.page(1);
    EXPECT_EQ(QStringLiteral("朔栎商行"), page.value(0).trimmed());
    EXPECT_EQ(QStringLiteral("客户汇总表"), page.value(1));
    EXPECT_EQ(QStringLiteral("0000000001"), after(page, QStringLiteral("客户号:")));
    EXPECT_EQ(QStringLiteral("张三"), after(page, QStringLiteral("客户名称:")));
    EXPECT_EQ(QStringLiteral("13800001111"), after(page, QStringLiteral("电话:")));
    EXPECT_EQ(QStringLiteral("老客户"), after(page, QStringLiteral("备注：")));
    EXPECT_TRUE(page.contains(QStringLiteral("规格型号")));
    // 100 + 37.5 - 5, then the return of 12.5 and the receipt of 8.
    EXPECT_EQ(QStringLiteral("112.00"), after(page, QStringLiteral("总计：")));
    EXPECT_FALSE(page.contains(QStringLiteral("李四")));
}

TEST_F(SummaryPrintingTest, StatementsPrintTheDocumentNumbers)
{
    BalanceWindow* window = open<BalanceWindow>("Tfrcusttotalist");
    window->codeBox->setText(QStringLiteral("0000000001"));
    window->refresh->click();
    window->report->click();
    const QStringList page = preview.page(1);
    EXPECT_EQ(QStringLiteral("客户对帐表"), page.value(1));
    EXPECT_EQ(QStringLiteral("单据号"), after(page, QStringLiteral("日期")));
    EXPECT_EQ(march, after(page, QStringLiteral("2026-03-05")));
    EXPECT_EQ(receipt, after(page, QStringLiteral("2026-03-07")));
    EXPECT_EQ(QStringLiteral("上期结余"), after(page, QStringLiteral("2026-03-01")));
    EXPECT_EQ(QStringLiteral("112.00"), after(page, QStringLiteral("总计：")));
    window->close();

    window = open<BalanceWindow>("Tfrbrantotalist");
    window->codeBox->setText(QStringLiteral("0000000001"));
    window->refresh->click();
    window->report->click();
    EXPECT_EQ(QStringLiteral("供应商对帐表"), preview.page(1).value(1));
    EXPECT_EQ(QStringLiteral("粮油公司"), after(preview.page(1), QStringLiteral("供应商名:")));
    window->close();

    window = open<BalanceWindow>("Tfrbrantotal");
    window->codeBox->setText(QStringLiteral("0000000001"));
    window->refresh->click();
    window->report->click();
    EXPECT_EQ(QStringLiteral("供应商汇总表"), preview.page(1).value(1));
    EXPECT_EQ(QStringLiteral("50.00"), after(preview.page(1), QStringLiteral("总计：")));
}

TEST_F(SummaryPrintingTest, JournalPrintsTheCompanyAndTheLastBalance)
{
    BalanceWindow* window = open<BalanceWindow>("Tfrbanktotal");
    window->report->click();
    const QStringList page = preview.page(1);
    for (const char* text : {"杭州市文一路8号", "0571-88886666", "现金流水帐", "收款金额", "付款金额", "累计余额"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(text))) << text;
    // The sale paid 5 into cash, the receipt 8.
    EXPECT_EQ(QStringLiteral("1013.00"), page.last());
}
