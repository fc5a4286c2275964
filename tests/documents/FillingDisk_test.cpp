// The commands that write a long document, and a master save, on a disk that fills at every
// point of them and has room again at once: a refused run leaves every table as it was.
#include "documents/DocumentWindowFixture.h"
#include "documents/PostedDocumentView.h"
#include "masterdata/Tfrproductedit.h"
#include "support/FullDisk.h"

#include <QFileInfo>
#include <functional>

using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::documents::DocumentPosting;
using lb::documents::PostedDocumentView;
using lb::ui::DialogAnswer;

namespace {

constexpr int lineCount = 150;

// One command as a user gives it: `prepare` makes the document and the window it runs from,
// `run` gives the command there once (questions answered), `done` says whether it went through.
struct Command {
    const char* name;
    std::function<void()> prepare;
    std::function<void()> run;
    std::function<bool()> done;
};

class FillingDiskTest : public DocumentWindowFixture, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        DocumentWindowFixture::SetUp();
        makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 200.0}});
        for (int i = 0; i < 20; ++i)
            products << makeProduct(QStringLiteral("A%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("面粉%1").arg(i),
                                    {{"dj_n", 25.0 + i}, {"sl", 1000.0}});
        std::vector<SaleLine> lines;
        for (int i = 0; i < lineCount; ++i)
            lines.push_back({products[i % products.size()], QStringLiteral("面粉%1").arg(i % products.size()), 1.0 + i % 7,
                             25.0 + i % 20, 0, i % 3 == 0 ? 10.0 : 0});
        sale = makeSale(QStringLiteral("C1"), lines);
    }

    // The sale's lines changed behind the form, so that its recalculation has work to do.
    void staleLines() { exec(QStringLiteral("update outdetail set sl=sl+1 where mainintno=:p1 and spmc<>'上期结转'"), {sale}); }

    void openForm()
    {
        form = openSalesForm(false, sale);
        ASSERT_TRUE(form);
    }

    void openPostedView()
    {
        main->CurrentBillNo = sale;
        view = new PostedDocumentView(DocumentCatalog::salesPostedView(), main.get());
        view->showWork(true);
        flush();
    }

    bool saleIs(const QString& state) { return row(QStringLiteral("select pass, cancel from outlist where intno=:p1"), {sale}) == state; }

    Command command(const QString& name)
    {
        const std::vector<Command> commands = {
            {"recalculation", [&] { staleLines(); openForm(); }, [&] { form->ToolButton3Click(); },
             [&] {
                 return number(QStringLiteral("select count(*) from outdetail where mainintno=:p1 and spmc<>'上期结转' "
                                              "and abs(amount-sl*dj_n)>0.001"),
                               {sale})
                        == 0;
             }},
            {"posting",
             [&] {
                 staleLines();
                 openForm();
             },
             [&] {
                 dialogs.answer(DialogAnswer::Ok);
                 form->ToolButton4Click();
             },
             [&] { return saleIs(QStringLiteral("True|False")); }},
            {"booking",
             [&] {
                 exec(QStringLiteral("update config set tallybj='F'"));
                 staleLines();
                 openForm();
             },
             [&] {
                 dialogs.answer(DialogAnswer::Ok);
                 form->ToolButton8Click();
             },
             [&] { return saleIs(QStringLiteral("True|False")); }},
            {"reversal",
             [&] {
                 ASSERT_FALSE(DocumentPosting::post(db(), sales(), sale, QStringLiteral("C1"), QStringLiteral("0000000001")).refused);
                 openPostedView();
             },
             [&] {
                 dialogs.answer(DialogAnswer::Ok);
                 view->ToolButton6Click();
             },
             [&] { return saleIs(QStringLiteral("True|True")); }},
            {"productSave",
             [&] {
                 openForm();
                 editor = lb::masterdata::Tfrproductedit::openForPurchase(form);
                 editor->box(QStringLiteral("Edit7"))->setText(QStringLiteral("Z01"));
                 editor->box(QStringLiteral("Edit8"))->setText(QStringLiteral("中国"));
             },
             [&] { editor->Button1Click(); },
             [&] { return number(QStringLiteral("select count(*) from product where sphh='Z01'")) == 1; }},
        };
        for (const Command& c : commands)
            if (name == QLatin1String(c.name))
                return c;
        throw std::invalid_argument("no such command");
    }

    QStringList products;
    QString sale;
    QPointer<DocumentEntryForm> form;
    QPointer<PostedDocumentView> view;
    QPointer<lb::masterdata::Tfrproductedit> editor;
};

} // namespace

// The disk takes `room` more bytes and refuses the next write, then has room again (another
// program freed some): the engine may have rolled the whole transaction back by itself, and
// nothing the command does after that may be stored.
TEST_P(FillingDiskTest, ARefusedRunLeavesEveryTableAsItWas)
{
    const Command c = command(QString::fromLatin1(GetParam()));
    c.prepare();
    const QString books = QFileInfo(lb::AppPaths::databaseFile()).absolutePath();
    const qint64 step = 997; // lands in every page's write at another place
    int refused = 0;
    for (qint64 room = 0;; room += step) {
        SCOPED_TRACE(room);
        const QStringList before = everyTable();
        const size_t boxes = dialogs.shown().size();
        const size_t reports = errors.reports().size();
        QString told;
        {
            FullDisk disk(books, room, ENOSPC, 1);
            try {
                c.run();
            } catch (const lb::Error& error) {
                // a window without a failure message of its own hands it to the error form
                told = error.shownText();
            }
        }
        flush();
        if (c.done())
            break;
        ++refused;
        // What the user is told is the full disk and its folder, whichever write met it first,
        // not a refusal of the writes that came after it.
        for (size_t box = boxes; box < dialogs.shown().size(); ++box)
            told += dialogs.shown()[box].text;
        for (size_t report = reports; report < errors.reports().size(); ++report)
            told += errors.reports()[report].message;
        ASSERT_TRUE(told.contains(QStringLiteral("磁盘已满,不能写入文件夹: ") + books)) << told.toStdString();
        const QStringList after = everyTable();
        ASSERT_EQ(before.size(), after.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            ASSERT_EQ(before[i], after[i]) << "row " << i;
        ASSERT_LT(room, 4 << 20) << "never went through";
    }
    EXPECT_GT(refused, 10);
}

INSTANTIATE_TEST_SUITE_P(Commands, FillingDiskTest,
                         ::testing::Values("recalculation", "posting", "booking", "reversal", "productSave"),
                         [](const auto& info) { return std::string(info.param); });
