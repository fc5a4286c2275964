// Tests of the compaction window: only rows whose key is the empty text go, all in one
// transaction, then the file is compacted with the connection back afterwards.
#include "CoreFixture.h"

#include "core/KeylessRows.h"
#include "core/Tfrpack.h"
#include "support/FullDisk.h"
#include "support/ReportedErrors.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <ostream>

using lb::core::Tfrpack;

namespace {

class PackWindowTest : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        lb::db::Transaction seed(db());
        // A line begun but not filled has its key and no product name yet: it stays.
        insertRow(QStringLiteral("outdetail"), {{QStringLiteral("intno"), QStringLiteral("0000000001")}, {QStringLiteral("spmc"), QString()}});
        insertRow(QStringLiteral("outdetail"), {{QStringLiteral("intno"), QString()}, {QStringLiteral("spmc"), QStringLiteral("苹果")}});
        insertRow(QStringLiteral("outdetail"), {{QStringLiteral("intno"), QVariant()}, {QStringLiteral("spmc"), QStringLiteral("梨")}});
        insertRow(QStringLiteral("inlist"), {{QStringLiteral("intno"), QString()}});
        insertRow(QStringLiteral("inlist"), {{QStringLiteral("intno"), QStringLiteral("0000000001")}});
        insertRow(QStringLiteral("dhdetail"), {{QStringLiteral("intno"), QString()}});
        insertRow(QStringLiteral("cproduct"), {{QStringLiteral("intno1"), QString()}});
        insertRow(QStringLiteral("cproduct"), {{QStringLiteral("intno1"), QStringLiteral("0000000007")}});
        insertRow(QStringLiteral("customer"), {{QStringLiteral("intno"), QString()}, {QStringLiteral("name"), QStringLiteral("无号")}});
        makeCustomer(QStringLiteral("C1"), QStringLiteral("有号"));
        insertRow(QStringLiteral("store"), {{QStringLiteral("intno"), QString()}});
        seed.commit();
        dm().ATcompany->open();
    }

    void TearDown() override
    {
        delete window.data();
        CoreFixture::TearDown();
    }

    int count(const QString& table) { return scalar(QStringLiteral("select count(*) from ") + table).toInt(); }

    static QByteArray fileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QPointer<Tfrpack> window;
};

} // namespace

TEST_F(PackWindowTest, DeletesOnlyRowsWithAnEmptyKeyThenCompacts)
{
    window = new Tfrpack();
    window->showWork();
    EXPECT_EQ(QStringLiteral("数据整理"), window->windowTitle());
    EXPECT_EQ(QStringLiteral("准备数据整理……"), window->Label1->text());
    EXPECT_FALSE(window->Button3->isVisible());

    window->Button1->click();
    EXPECT_EQ(QStringLiteral("数据的压缩整理完毕！"), window->Label1->text());
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_EQ(2, count(QStringLiteral("outdetail")));
    EXPECT_EQ(1, count(QStringLiteral("outdetail where intno is null")));
    EXPECT_EQ(1, count(QStringLiteral("outdetail where intno='0000000001'")));
    EXPECT_EQ(1, count(QStringLiteral("inlist")));
    EXPECT_EQ(1, count(QStringLiteral("dhdetail"))); // purchase orders are not cleaned
    EXPECT_EQ(1, count(QStringLiteral("cproduct")));
    EXPECT_EQ(QStringLiteral("有号"), scalar(QStringLiteral("select name from customer")).toString());
    EXPECT_EQ(0, count(QStringLiteral("store")));
    EXPECT_TRUE(db().connected());
    EXPECT_TRUE(dm().ATcompany->active());
    EXPECT_TRUE(window->isVisible()); // it stays open until 退回

    window->Button3->click();
    EXPECT_EQ(QStringList{"请用ACCESS数据库中的工具进行修复!"}, dialogs.texts());
    window->Button2->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}

TEST_F(PackWindowTest, AFailingDeleteLeavesEveryRow)
{
    exec(QStringLiteral("create trigger injected_fault before delete on store begin select raise(abort, 'injected fault'); end"));
    window = new Tfrpack();
    window->showWork();
    EXPECT_THROW(window->Button1Click(), lb::DatabaseError);
    EXPECT_EQ(3, count(QStringLiteral("outdetail")));
    EXPECT_EQ(2, count(QStringLiteral("inlist")));
    EXPECT_EQ(2, count(QStringLiteral("customer")));
    EXPECT_EQ(QStringLiteral("数据的压缩整理没有完成！"), window->Label1->text());
}

// A compaction that finds the disk full says so with the folder, in place of another program
// holding the books, and the window does not say it was done; the books stay as they were.
TEST_F(PackWindowTest, ACompactionOnAFullDiskNamesItAndIsNotReportedDone)
{
    window = new Tfrpack();
    window->showWork();
    window->Button1->click(); // the rows without a key go, which needs room of its own
    ASSERT_EQ(QStringLiteral("数据的压缩整理完毕！"), window->Label1->text());
    const QByteArray books = fileBytes(lb::AppPaths::databaseFile());
    const QString works = QDir::toNativeSeparators(lb::AppPaths::worksFolder());
    for (const auto& [code, cause] : {std::pair{ENOSPC, "磁盘已满,不能写入文件夹: "}, std::pair{EDQUOT, "磁盘配额已用完,不能写入文件夹: "}}) {
        dialogs.clear();
        {
            FullDisk disk(lb::AppPaths::worksFolder(), 0, code);
            window->Button1->click();
        }
        EXPECT_EQ(QStringList{QStringLiteral("压缩数据库失败\r原因：") + QString::fromUtf8(cause) + works}, dialogs.texts()) << code;
        EXPECT_EQ(QStringLiteral("数据的压缩整理没有完成！"), window->Label1->text()) << code;
        EXPECT_TRUE(db().connected());
        EXPECT_EQ(books, fileBytes(lb::AppPaths::databaseFile())) << code;
        EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files | QDir::Hidden)) << code;
        // The text log keeps the failure, the cause with the engine's words.
        EXPECT_TRUE(errorLogText().contains(QStringLiteral("压缩数据库失败\n") + QString::fromUtf8(cause) + works)) << code;
    }
}

namespace {

// The step of 压缩整理 that fails: the removal of the rows without a key, or the compaction.
enum class FailingStep { CleanUp, Compaction };

void PrintTo(FailingStep step, std::ostream* out) { *out << (step == FailingStep::CleanUp ? "CleanUp" : "Compaction"); }

class PackWindowFailure : public PackWindowTest, public ::testing::WithParamInterface<FailingStep> {};

} // namespace

// Whichever step fails, once the failure has been told the label says the work was not done,
// and the window stays open.
TEST_P(PackWindowFailure, LeavesTheLabelSayingTheWorkWasNotDone)
{
    window = new Tfrpack();
    window->showWork();
    ReportedErrors reported; // in place of the error form
    if (GetParam() == FailingStep::CleanUp) {
        exec(QStringLiteral("create trigger injected_fault before delete on store begin select raise(abort, 'injected fault'); end"));
        window->Button1->click();
        ASSERT_EQ(1, reported.count());
        EXPECT_TRUE(reported.lastMessage().contains(QStringLiteral("injected fault"))) << reported.lastMessage().toStdString();
    } else {
        window->Button1->click(); // the rows without a key go first, which needs room of its own
        ASSERT_EQ(QStringLiteral("数据的压缩整理完毕！"), window->Label1->text());
        FullDisk disk(lb::AppPaths::worksFolder());
        window->Button1->click();
        EXPECT_EQ(0, reported.count());
        EXPECT_EQ(1, dialogs.texts().size()); // the compaction's own message
    }
    EXPECT_EQ(QStringLiteral("数据的压缩整理没有完成！"), window->Label1->text());
    EXPECT_TRUE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(CleanUpAndCompaction, PackWindowFailure, ::testing::Values(FailingStep::CleanUp, FailingStep::Compaction),
                         [](const ::testing::TestParamInfo<FailingStep>& info) {
                             return std::string(info.param == FailingStep::CleanUp ? "CleanUp" : "Compaction");
                         });
