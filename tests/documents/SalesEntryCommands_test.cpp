// The commands that end or copy a sales document in its entry form: 过帐, 记帐, 作废, 转抄,
// the history copy and 退回, with their questions, refusals and failures.
#include "documents/DocumentWindowFixture.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>

using lb::documents::DocumentEntryForm;
using lb::ui::DialogAnswer;

namespace {

class SalesEntryCommandsTest : public DocumentWindowFixture {
protected:
    void SetUp() override
    {
        DocumentWindowFixture::SetUp();
        makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 200.0}});
        flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"dj_n", 25.0}, {"sl", 10.0}});
    }

    // A form on a new document of customer C1 with one line of 4 bags of flour paid 30.
    DocumentEntryForm* formWithALine()
    {
        DocumentEntryForm* form = openSalesForm();
        form->box("Edit2")->setText(QStringLiteral("C1"));
        enterCode(*form, QStringLiteral("A01"));
        typeCell(*form, 1, 4, QStringLiteral("4"));
        typeCell(*form, 1, 8, QStringLiteral("30"));
        form->ToolButton1Click(); // a blank line left at the end, current
        return form;
    }

    void useStockOnlyBooking() { exec(QStringLiteral("update config set tallybj='F'")); }

    QString flour;
};

} // namespace

TEST_F(SalesEntryCommandsTest, PostingAsksRemovesTheBlankLinePostsAndClosesTheForm)
{
    QPointer<DocumentEntryForm> form = formWithALine();
    dialogs.answer(DialogAnswer::Cancel);
    form->ToolButton4Click();
    EXPECT_TRUE(form);
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from outlist where pass=1")));

    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok).answer(DialogAnswer::Ok); // the posting, the blank line's deletion
    form->ToolButton4Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("确实要删除当前记录吗?")}), dialogs.texts());
    EXPECT_EQ(QStringLiteral("270|100|30"), row(QStringLiteral("select balance, amount, pay from customer")));
    EXPECT_EQ(6, number(QStringLiteral("select sl from product")));
    EXPECT_EQ(QStringLiteral("True|销售单|01|270"), row(QStringLiteral("select pass, billname, billtype, rest from outlist")));
    EXPECT_EQ(2, number(QStringLiteral("select count(*) from outdetail where pass=1")));
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(QStringLiteral("SELECT * from outlist"), dm().AQoutlist->sql().text());
}

TEST_F(SalesEntryCommandsTest, RefusedPostingsShowTheirTextThenTheGeneralOneAndPostNothing)
{
    QPointer<DocumentEntryForm> form = formWithALine();
    typeCell(*form, 1, 4, QStringLiteral("11"));
    // A blank line that is not the current one stops the posting.
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("没有商品名,不能过帐！"),
                           QStringLiteral("该功能暂时不能执行，请重新操作！")}),
              dialogs.texts());

    // With the blank line current it goes (after its question); then the stock is short.
    dialogs.clear();
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(2, 4));
    dialogs.answer(DialogAnswer::Ok).answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("确实要删除当前记录吗?"),
                           QStringLiteral("面粉的库存数量不足,请检查是否已录进货单并过帐！"), QStringLiteral("该功能暂时不能执行，请重新操作！")}),
              dialogs.texts());
    EXPECT_TRUE(form);
    // Only the recalculation was stored.
    EXPECT_EQ(10, number(QStringLiteral("select sl from product")));
    EXPECT_EQ(QStringLiteral("200|0"), row(QStringLiteral("select balance, amount from customer")));
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from outdetail where pass=1")));

    dialogs.clear();
    form->box("Edit2")->setText(QStringLiteral("0000000000"));
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("没有选取客户,不能过帐！"),
                           QStringLiteral("该功能暂时不能执行，请重新操作！")}),
              dialogs.texts());
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from outlist where pass=1")));
}

TEST_F(SalesEntryCommandsTest, AFailingWriteWhilePostingLeavesEveryTableAndTheFormShowsWhatIsStored)
{
    QPointer<DocumentEntryForm> form = formWithALine();
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton2Click(); // the blank line
    form->ToolButton3Click();
    dialogs.clear();
    const QStringList before = everyTable();
    // The product is the last row the posting writes: customer, account, header and lines
    // have been written when it fails.
    failWritesTo(QStringLiteral("product"));
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("该功能暂时不能执行，请重新操作！")}), dialogs.texts());
    EXPECT_TRUE(form);
    QStringList after = everyTable();
    after.removeIf([](const QString& line) { return line.startsWith(QLatin1String("apperror|")); });
    EXPECT_EQ(before, after);
    // The cause is logged for whoever looks after the books; the form shows what is stored.
    EXPECT_TRUE(row(QStringLiteral("select mess from apperror")).contains(QStringLiteral("injected fault")));
    EXPECT_EQ(2, form->DBGrid1->model()->rowCount());
    EXPECT_EQ(QStringLiteral("270.00"), form->box("Edit8")->text());
    EXPECT_EQ(QStringLiteral("False"), row(QStringLiteral("select pass from outlist")));
}

TEST_F(SalesEntryCommandsTest, BookingInStockOnlyModeMovesTheStockAndClosesTheForm)
{
    useStockOnlyBooking();
    QPointer<DocumentEntryForm> form = formWithALine();
    EXPECT_TRUE(form->action("ToolButton8")->isVisible());
    EXPECT_FALSE(form->action("ToolButton4")->isVisible());

    form->box("Edit2")->setText(QString());
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton8Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("没有选取供应商或客户,不能记帐！")}), dialogs.texts());

    dialogs.clear();
    form->box("Edit2")->setText(QStringLiteral("C1"));
    dialogs.answer(DialogAnswer::Ok).answer(DialogAnswer::Ok);
    form->ToolButton8Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(6, number(QStringLiteral("select sl from product")));
    EXPECT_EQ(200, number(QStringLiteral("select balance from customer")));
    EXPECT_EQ(QStringLiteral("True|销售单"), row(QStringLiteral("select pass, billname from outlist")));
}

TEST_F(SalesEntryCommandsTest, VoidingDeletesTheDocumentAndItsLines)
{
    const QString kept = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 1, 1}});
    QPointer<DocumentEntryForm> form = formWithALine();
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton6Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringList({kept}), rows(QStringLiteral("select intno from outlist")));
    EXPECT_EQ(QStringList({kept}), rows(QStringLiteral("select distinct mainintno from outdetail")));
}

TEST_F(SalesEntryCommandsTest, CopyingSwitchesTheFormToANewDocumentOfTodayAndTheOldOneStays)
{
    QPointer<DocumentEntryForm> form = formWithALine();
    form->Memo1->setPlainText(QStringLiteral("送货上门"));
    exec(QStringLiteral("update customer set balance=500"));
    form->ToolButton9Click();
    EXPECT_EQ(QStringLiteral("0000000002"), form->box("Edit1")->text());
    EXPECT_EQ(QStringLiteral("0000000002"), main->CurrentBillNo);
    EXPECT_EQ(3, form->DBGrid1->model()->rowCount());
    // The copy is recalculated from the customer's balance of now.
    EXPECT_EQ(QStringLiteral("False|500|100|570|送货上门|2026-06-15"),
              row(QStringLiteral("select pass, balance, amount, rest, remark1, billdate from outlist where intno='0000000002'")));
    EXPECT_EQ(QStringLiteral("False|100"), row(QStringLiteral("select pass, amount from outlist where intno='0000000001'")));
    EXPECT_EQ(3, number(QStringLiteral("select count(*) from outdetail where mainintno='0000000001'")));
}

TEST_F(SalesEntryCommandsTest, TheHistoryCopyPullsTheLinesOfAnEarlierDocument)
{
    makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"dj_n", 3.0}});
    const QString earlier = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 2, 25}, {QString(), QStringLiteral("运费"), 1, 5}});
    QPointer<DocumentEntryForm> form = openSalesForm();
    form->Edit17->setText(QStringLiteral("1"));
    pressEnter(form->Edit17);
    EXPECT_EQ(QStringLiteral("查无该历史单号！"), dialogs.lastText());
    EXPECT_EQ(QStringLiteral("1"), form->Edit17->selectedText());

    form->Edit17->setText(earlier);
    pressEnter(form->Edit17);
    EXPECT_EQ(3, form->DBGrid1->model()->rowCount());
    EXPECT_EQ(QStringLiteral("面粉"), cell(*form, 1, 1));
    EXPECT_EQ(QStringLiteral("运费"), cell(*form, 2, 1));
    EXPECT_EQ(2, form->DBGrid1->currentIndex().row());
}

TEST_F(SalesEntryCommandsTest, LeavingRecalculatesKeepsTheDocumentAndRemovesBlankLinesOfEveryDocument)
{
    const QString other = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 1, 1}});
    insertRow(QStringLiteral("outdetail"), {{"mainintno", other}});
    QPointer<DocumentEntryForm> form = formWithALine();
    form->ToolButton7Click();
    flush();
    EXPECT_FALSE(form);
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(0, number(QStringLiteral("select count(*) from outdetail where spmc=''")));
    EXPECT_EQ(QStringLiteral("False|270"), row(QStringLiteral("select pass, rest from outlist where intno='0000000002'")));
    EXPECT_EQ(QStringLiteral("SELECT * from outlist"), dm().AQoutlist->sql().text());
    EXPECT_EQ(2, dm().AQoutlist->recordCount());
}

TEST_F(SalesEntryCommandsTest, FiguresPastTheLimitStopTheRecalculationAndThePostingWithOurTextAndWriteNothing)
{
    QPointer<DocumentEntryForm> form = formWithALine();
    typeCell(*form, 1, 4, QStringLiteral("10000000"));
    typeCell(*form, 1, 5, QStringLiteral("10000000")); // an amount of 1e14
    dialogs.clear();
    const QStringList before = everyTable();
    form->action("ToolButton3")->trigger();
    EXPECT_EQ(QStringList{lb::documents::DocumentPosting::OutOfRange}, dialogs.texts());
    EXPECT_EQ(before, everyTable());

    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), lb::documents::DocumentPosting::OutOfRange,
                           QStringLiteral("该功能暂时不能执行，请重新操作！")}),
              dialogs.texts());
    EXPECT_TRUE(form);
    EXPECT_EQ(before, everyTable());
}

// A posting and a new line that meet a disk without room say the form's general failure and,
// on a line of its own, the full folder of the books; nothing is written but the text log, and
// the posting tried again with room goes through.
TEST_F(SalesEntryCommandsTest, OnAFullDiskTheGeneralFailureNamesTheFullFolderAndNothingIsWritten)
{
    QPointer<DocumentEntryForm> form = formWithALine();
    const QString books = QFileInfo(lb::AppPaths::databaseFile()).absolutePath();
    const QString failure = QStringLiteral("该功能暂时不能执行，请重新操作！\n磁盘已满,不能写入文件夹: ")
                            + QDir::toNativeSeparators(QFileInfo(books).canonicalFilePath());
    const QStringList posting{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("确实要删除当前记录吗?")}; // the blank line
    for (const auto& [command, questions] : {std::pair{&DocumentEntryForm::ToolButton4Click, posting},
                                             std::pair{&DocumentEntryForm::ToolButton1Click, QStringList{}}}) {
        dialogs.clear();
        for (qsizetype i = 0; i < questions.size(); ++i)
            dialogs.answer(DialogAnswer::Ok);
        const QStringList before = everyTable();
        QFile::remove(lb::AppPaths::errorLogFile());
        {
            FullDisk disk(books);
            (form->*command)();
        }
        EXPECT_EQ(questions + QStringList{failure}, dialogs.texts());
        EXPECT_EQ(before, everyTable());
        // The error table on the full disk cannot take the row: the text log beside the books
        // keeps the failure as the user saw it, above the engine's words.
        const QString logged = errorLogText();
        EXPECT_TRUE(logged.contains(failure + QStringLiteral("\ndatabase or disk is full"))) << logged.toStdString();
        EXPECT_EQ(0, number(QStringLiteral("select count(*) from apperror")));
    }
    ASSERT_TRUE(form);

    // With room again the posting goes as it would have gone: the failures left the blank line
    // the current one, which it offers to delete before it posts.
    dialogs.clear();
    for (qsizetype i = 0; i < posting.size(); ++i)
        dialogs.answer(DialogAnswer::Ok);
    form->ToolButton4Click();
    flush();
    EXPECT_EQ(posting, dialogs.texts());
    EXPECT_FALSE(form);
}
