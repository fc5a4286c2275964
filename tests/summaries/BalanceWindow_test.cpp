// The running-balance windows for real, offscreen: look-up, run, refusals, the journal's own
// opening and padding, pickers, statements on the header dataset, and closing.
#include "SummaryFixture.h"

#include "core/Tfrdm.h"
#include "masterdata/MasterDataWindows.h"
#include "masterdata/MasterListWindow.h"
#include "summaries/BalanceWindow.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using lb::core::PickCode;
using lb::documents::BillKind;
using lb::masterdata::MasterListWindow;
using lb::masterdata::registerMasterDataWindows;
using lb::summaries::BalanceWindow;

namespace {

class BalanceWindowTest : public SummaryFixture {
protected:
    void SetUp() override
    {
        SummaryFixture::SetUp();
        makeCustomer(QStringLiteral("0000000001"), QStringLiteral("张三"), {{"rest", 100.0}, {"remark", QStringLiteral("老客户")}});
        makeCustomer(QStringLiteral(""), QStringLiteral("无编号"), {{"rest", 5.0}});
        makeSupplier(QStringLiteral("0000000001"), QStringLiteral("粮油公司"), {{"rest", 50.0}});
        makeAccount(QStringLiteral("0000000012"), QStringLiteral("农行"), {{"rest", 20.0}});
        exec(QStringLiteral("update bank set rest=1000 where id='0000000001'"));
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 1000.0}});
        postSale(QStringLiteral("0000000001"), QStringLiteral("2026-03-05"), {{flour, "面粉", 5, 10, 0, 5, 10}});
        writePosted(BillKind::SalesReturn, QStringLiteral("0000000001"), QStringLiteral("2026-03-06"), {{flour, "面粉", 3, 10, 0, 2}});
        writePosted(BillKind::Receipt, QStringLiteral("0000000001"), QStringLiteral("2026-03-07"),
                    {{QStringLiteral("0000000001"), "现金", 0, 8}});
        rememberPeriod(QDate(2026, 3, 1), QDate(2026, 3, 31));
    }

    QStringList workTables()
    {
        return rows(QStringLiteral("select 'custtotal', * from custtotal")) + rows(QStringLiteral("select 'custtotal1', * from custtotal1"))
               + rows(QStringLiteral("select 'totallist', * from totallist")) + rows(QStringLiteral("select 'totallist1', * from totallist1"));
    }

    QString flour;
};

} // namespace

TEST_F(BalanceWindowTest, CustomerSummaryLooksThePartnerUpAndShowsItsRunningBalance)
{
    BalanceWindow* window = open<BalanceWindow>("Tfrcusttotal");
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(QStringLiteral("1"), window->codeBox->text()); // nothing runs on opening
    EXPECT_EQ(QStringLiteral("Edit9"), window->codeBox->objectName());
    window->codeBox->setText(QStringLiteral("0000000001"));
    press(window->nameBox, Qt::Key_Return); // Enter in the name box runs
    EXPECT_EQ(QStringLiteral("张三"), window->nameBox->text());
    EXPECT_EQ(QStringLiteral("老客户"), window->DBMemo1->toPlainText());
    EXPECT_EQ((QStringList{"上期结余", "面粉", "面粉", "现金"}), gridColumn(window->DBGrid2, QStringLiteral("spmc")));
    EXPECT_EQ((QStringList{"100.00", "135.00", "103.00", "95.00"}), gridColumn(window->DBGrid2, QStringLiteral("rest")));
    EXPECT_EQ(QStringLiteral("0000000001|张三||老客户"), QStringList({window->lastPartner().id, window->lastPartner().name,
                                                                   window->lastPartner().tel, window->lastPartner().remark})
                                                          .join(QLatin1Char('|')));
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(BalanceWindowTest, AnEmptyOrUnknownCodeStopsTheRunBeforeTheWorkTablesAreTouched)
{
    BalanceWindow* window = open<BalanceWindow>("Tfrcusttotal");
    window->codeBox->setText(QStringLiteral("0000000001"));
    window->refreshClick();
    const QStringList before = workTables();
    for (const char* code : {"", "1", "0000000001 "}) {
        dialogs.clear();
        window->codeBox->setText(QLatin1String(code));
        window->refreshClick();
        EXPECT_EQ((QStringList{"查无此客户号！", "查无此客户号！"}), dialogs.texts()) << code;
        EXPECT_EQ(before, workTables()) << code;
        EXPECT_EQ(4, window->DBGrid2->model()->rowCount()) << code;
    }
}

TEST_F(BalanceWindowTest, StatementShowsDocumentsWithTheirBalanceBeforeAndAfter)
{
    BalanceWindow* window = open<BalanceWindow>("Tfrcusttotalist");
    window->codeBox->setText(QStringLiteral("0000000001"));
    window->refresh->click();
    EXPECT_EQ(&window->shown(), dm().AQoutlist);
    EXPECT_EQ((QStringList{"上期结余", "销售单", "销售退货单", "收款单"}), gridColumn(window->DBGrid2, QStringLiteral("billname")));
    EXPECT_EQ((QStringList{"100.00", "100.00", "135.00", "103.00"}), gridColumn(window->DBGrid2, QStringLiteral("balance")));
    EXPECT_EQ((QStringList{"100.00", "135.00", "103.00", "95.00"}), gridColumn(window->DBGrid2, QStringLiteral("rest")));
    EXPECT_EQ(QStringLiteral("摘要"), title(window->DBGrid2, QStringLiteral("remark")));
}

TEST_F(BalanceWindowTest, JournalOpensOnTheCashAccountAndPadsTypedCodes)
{
    BalanceWindow* window = open<BalanceWindow>("Tfrbanktotal");
    EXPECT_EQ(QStringLiteral("0000000001"), window->codeBox->text());
    EXPECT_EQ(QStringLiteral("现金"), window->nameBox->text());
    EXPECT_EQ(nullptr, window->DBMemo1);
    // The sale paid 10 into cash, the receipt 8.
    EXPECT_EQ((QStringList{"1000.00", "1010.00", "1018.00"}), gridColumn(window->DBGrid2, QStringLiteral("rest")));

    window->codeBox->setText(QStringLiteral("12"));
    window->lookUp();
    EXPECT_EQ(QStringLiteral("0000000012"), window->codeBox->text());
    EXPECT_EQ(QStringLiteral("农行"), window->nameBox->text());
    window->codeBox->setText(QStringLiteral("990000000003"));
    window->refreshClick();
    EXPECT_EQ(QStringLiteral("0000000003"), window->codeBox->text());
    EXPECT_EQ((QStringList{"查无此现金银行号！", "查无此编号！"}), dialogs.texts());
}

TEST_F(BalanceWindowTest, PickersWriteTheCodeAndClosingGivesEverythingBack)
{
    registerMasterDataWindows();
    BalanceWindow* journal = open<BalanceWindow>("Tfrbanktotal");
    doubleClick(journal->codeBox);
    MasterListWindow* accounts = MasterListWindow::instance(QStringLiteral("TFrbank"));
    ASSERT_NE(nullptr, accounts);
    EXPECT_EQ(PickCode::CashBankJournal, main->PickMode);
    accounts->dataSet().locate(QStringLiteral("id"), QStringLiteral("0000000012"));
    accounts->ToolButton7Click();
    EXPECT_EQ(QStringLiteral("0000000012"), journal->codeBox->text());
    journal->close();
    flush();

    // The customer summary's look-up leaves the open picker's list whole; the picker taking the
    // focus looks nothing up, leaving the box for the name box does.
    BalanceWindow* customers = open<BalanceWindow>("Tfrcusttotal");
    QApplication::setActiveWindow(customers);
    customers->codeBox->setFocus();
    doubleClick(customers->codeBox);
    MasterListWindow* list = MasterListWindow::instance(QStringLiteral("TFrcustomer"));
    ASSERT_NE(nullptr, list);
    const int partners = list->dataSet().recordCount();
    EXPECT_EQ(2, partners);
    QApplication::setActiveWindow(list);
    ASSERT_EQ(list, QApplication::focusWidget()->window());
    QApplication::setActiveWindow(customers);
    EXPECT_EQ(customers->codeBox, QApplication::focusWidget());
    EXPECT_TRUE(dialogs.texts().isEmpty());
    customers->codeBox->setText(QStringLiteral("0000000001"));
    customers->nameBox->setFocus();
    EXPECT_EQ(QStringLiteral("张三"), customers->nameBox->text());
    EXPECT_EQ(partners, list->dataSet().recordCount());
    customers->close();
    flush();

    // The supplier summary's code stays standing in the program's design; here it goes with
    // the window and its picker.
    BalanceWindow* suppliers = open<BalanceWindow>("Tfrbrantotal");
    doubleClick(suppliers->codeBox);
    QPointer<MasterListWindow> picker = MasterListWindow::instance(QStringLiteral("TFrbranch"));
    ASSERT_FALSE(picker.isNull());
    EXPECT_EQ(PickCode::SupplierSummary, main->PickMode);
    suppliers->close();
    flush();
    EXPECT_TRUE(picker.isNull());
    EXPECT_EQ(PickCode::None, main->PickMode);
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(QStringLiteral("SELECT * from branch"), dm().AQbranch->sql().text());
    EXPECT_EQ(QStringLiteral("SELECT * from outlist"), dm().AQoutlist->sql().text());
    EXPECT_TRUE(dm().ATcompany->active());
}
