// Tests of the period commands as the menu runs them: their rights checks, questions and
// messages, the year-end snapshot, the annual backup, the switch to last year's data and back,
// and the front-desk copy; each failure leaves the books and the backups as they were.
#include "PeriodFixture.h"

#include "core/NewDatabase.h"
#include "core/PeriodCommands.h"
#include "core/Tfrmain.h"
#include "support/FullDisk.h"
#include "support/WriteProtect.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

using lb::core::PeriodCommands;
using lb::core::Tfrmain;
using lb::ui::DialogAnswer;

namespace {

const QString prompt = QStringLiteral("请输入操作员密码:          ");
const QString wrongPassword = QStringLiteral("输入操作员密码错误,请重新操作！");
const QString noRight = QStringLiteral("该用户无此权限,请用999登录系统！");

class PeriodCommandsTest : public PeriodFixture {
protected:
    void SetUp() override
    {
        PeriodFixture::SetUp();
        main = std::make_unique<Tfrmain>();
        frmain = main.get();
        main->OperatorNo = QStringLiteral("999");
        main->OperatorPassword = QStringLiteral("888");
    }

    void TearDown() override
    {
        main.reset();
        PeriodFixture::TearDown();
    }

    QByteArray bytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A database file of its own: `rows` products, each with the code given.
    QString otherBooks(const QString& folder, const QStringList& codes, bool oldForm = false)
    {
        const QString path = folder + QStringLiteral("/kvdb.mdb");
        oldForm ? lb::core::NewDatabase::createOldForm(path) : lb::core::NewDatabase::create(path);
        lb::db::Connection other;
        other.setDatabaseFile(path);
        other.open();
        for (const QString& code : codes)
            other.execute(QStringLiteral("insert into product (intno, sphh) values ('0000000009', '%1')").arg(code));
        return path;
    }

    QStringList productCodes()
    {
        lb::db::Query query(db());
        query.sql().add(QStringLiteral("select sphh from product order by sphh"));
        query.open();
        QStringList codes;
        for (query.first(); !query.eof(); query.next())
            codes << query.field(0).asString();
        return codes;
    }

    QString home(const QString& name) { return lb::AppPaths::inProgramFolder(name); }

    // Every file in `folder`, hidden ones too, by name, with its bytes.
    QMap<QString, QByteArray> files(const QString& folder)
    {
        QMap<QString, QByteArray> found;
        for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
            found.insert(name, bytes(folder + QLatin1Char('/') + name));
        return found;
    }

    // Year-end on books that fail the full check: refused after the compaction's message, with
    // an earlier snapshot in LASTBAK and every document left as they were.
    void expectYearEndRefusedKeepingTheSnapshot()
    {
        const QByteArray earlier = bytes(otherBooks(home(QStringLiteral("LASTBAK")), {QStringLiteral("OLD")}));
        const int documents = documentRows();
        dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok);
        PeriodCommands::yearEnd();
        EXPECT_EQ((QStringList{prompt, "请先做年度数据备份，再做年终数据处理功能!",
                               "确实要进行年终数据处理吗?", "压缩数据库失败\r原因：可能此数据库正在被其他程序打开。",
                               "年终数据备份到LASTBAK没有成功,年终数据处理没有进行,数据没有改动！"}),
                  dialogs.texts());
        EXPECT_EQ(earlier, bytes(home(QStringLiteral("LASTBAK/kvdb.mdb"))));
        EXPECT_EQ(documents, documentRows());
    }

    std::unique_ptr<Tfrmain> main;
};

} // namespace

TEST_F(PeriodCommandsTest, MonthEndChecksPasswordRightsAndModeBeforeItsQuestion)
{
    const QStringList before = snapshot();
    // Each refusal, and a declined question, changes nothing.
    dialogs.type(QStringLiteral("wrong"));
    PeriodCommands::monthEnd();
    EXPECT_EQ((QStringList{prompt, wrongPassword}), dialogs.texts());
    EXPECT_EQ(QStringLiteral("提示信息"), dialogs.shown()[0].caption);
    EXPECT_EQ(lb::ui::DialogRequest::Kind::Password, dialogs.shown()[0].kind);

    // Cancel is no password, even for an operator whose password is empty.
    dialogs.clear();
    main->OperatorPassword.clear();
    dialogs.cancelInput();
    PeriodCommands::monthEnd();
    EXPECT_EQ((QStringList{prompt, wrongPassword}), dialogs.texts());
    main->OperatorPassword = QStringLiteral("888");

    dialogs.clear();
    main->OperatorNo = QStringLiteral("002");
    dialogs.type(QStringLiteral(" 888 "));
    PeriodCommands::monthEnd();
    EXPECT_EQ((QStringList{prompt, noRight}), dialogs.texts());
    main->OperatorNo = QStringLiteral("999");

    dialogs.clear();
    main->LastYearMode = true;
    dialogs.type(QStringLiteral("888"));
    PeriodCommands::monthEnd();
    EXPECT_EQ((QStringList{prompt, "正在查去年数据，不能做月终数据处理功能"}), dialogs.texts());
    main->LastYearMode = false;

    dialogs.clear();
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Cancel);
    PeriodCommands::monthEnd();
    EXPECT_EQ((QStringList{prompt, "确实要月终数据处理?"}), dialogs.texts());
    EXPECT_EQ(QStringLiteral("提示！"), dialogs.shown()[1].caption);
    EXPECT_EQ(before, snapshot());
    EXPECT_EQ(0, dialogs.unanswered());

    dialogs.clear();
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok);
    PeriodCommands::monthEnd();
    EXPECT_EQ((QStringList{prompt, "确实要月终数据处理?", "已做完月终数据处理!"}), dialogs.texts());
    EXPECT_EQ((QVariantList{0.0, 0.0, 0.0, 9.0}), row(QStringLiteral("customer"), QStringLiteral("amount,deduck,pay,amount_y")));
}

TEST_F(PeriodCommandsTest, FailedProceduresSayThatNothingChanged)
{
    const QStringList before = snapshot();
    failWritesTo(QStringLiteral("bank"), QStringLiteral("UPDATE"));
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok);
    PeriodCommands::monthEnd();
    EXPECT_EQ(QStringLiteral("月终数据处理失败,数据没有改动！"), dialogs.texts().value(2));
    EXPECT_TRUE(dialogs.lastText().contains(QStringLiteral("injected fault"))); // the error's own report
    EXPECT_EQ(before, snapshot());

    exec(QStringLiteral("drop trigger injected_fault"));
    failWritesTo(QStringLiteral("dhdetail"));
    dialogs.clear();
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok);
    PeriodCommands::initialise();
    EXPECT_EQ((QStringList{prompt, "确实要初始化吗?", "初始化失败,数据没有改动！"}), dialogs.texts().mid(0, 3));
    EXPECT_EQ(before, snapshot());

    dialogs.clear();
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok);
    PeriodCommands::yearEnd();
    EXPECT_EQ(QStringLiteral("年终数据处理失败,数据没有改动！"), dialogs.texts().value(3));
    EXPECT_EQ(before, snapshot());
    EXPECT_TRUE(db().connected());
}

TEST_F(PeriodCommandsTest, InitialisationAsksAndReports)
{
    dialogs.type(QStringLiteral("888"));
    main->OperatorNo = QStringLiteral("1");
    PeriodCommands::initialise();
    EXPECT_EQ((QStringList{prompt, noRight}), dialogs.texts());
    main->OperatorNo = QStringLiteral("999");
    dialogs.clear();
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok);
    PeriodCommands::initialise();
    EXPECT_EQ((QStringList{prompt, "确实要初始化吗?", "初始化完成，请到数据维护中进行数据整理。"}), dialogs.texts());
    EXPECT_EQ(0, documentRows());
    EXPECT_EQ((QVariantList{3.0, 0.0}), row(QStringLiteral("customer"), QStringLiteral("balance,amount_y")));
}

TEST_F(PeriodCommandsTest, YearEndKeepsASoundSnapshotBeforeClosingTheYear)
{
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok);
    PeriodCommands::yearEnd();
    EXPECT_EQ((QStringList{prompt, "请先做年度数据备份，再做年终数据处理功能!", "确实要进行年终数据处理吗?",
                           "年终数据处理完成，请到数据维护中进行数据压缩整理。"}),
              dialogs.texts());
    EXPECT_EQ(0, documentRows());
    EXPECT_EQ((QVariantList{7.0, 0.0}), row(QStringLiteral("customer"), QStringLiteral("rest,amount_y")));
    // The snapshot holds the year as it was.
    lb::db::Connection snapshot;
    snapshot.setDatabaseFile(home(QStringLiteral("LASTBAK/kvdb.mdb")));
    snapshot.open();
    lb::db::Query documents(snapshot);
    documents.sql().add(QStringLiteral("select count(*) from outlist"));
    documents.open();
    EXPECT_EQ(1, documents.field(0).asInteger());
    EXPECT_TRUE(db().connected());
    EXPECT_TRUE(dm().ATcompany->active());

    // The notice comes even to an operator who is then refused.
    dialogs.clear();
    main->OperatorNo = QStringLiteral("002");
    dialogs.type(QStringLiteral("888"));
    PeriodCommands::yearEnd();
    EXPECT_EQ((QStringList{prompt, "请先做年度数据备份，再做年终数据处理功能!", noRight}), dialogs.texts());
}

TEST_F(PeriodCommandsTest, YearEndStopsWithNothingDeletedWhenTheSnapshotFails)
{
    // A file stands where the snapshot folder would go: the copy cannot be made.
    QFile blocker(home(QStringLiteral("LASTBAK")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.write("last year's notes");
    blocker.close();
    const QStringList before = snapshot();

    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok);
    PeriodCommands::yearEnd();
    EXPECT_EQ(QStringLiteral("年终数据备份到LASTBAK没有成功,年终数据处理没有进行,数据没有改动！"), dialogs.lastText());
    EXPECT_EQ(before, snapshot());
    EXPECT_EQ(QByteArray("last year's notes"), bytes(home(QStringLiteral("LASTBAK"))));
    // The user is told what was left undone; the text log also keeps why.
    EXPECT_TRUE(errorLogText().contains(QStringLiteral("年终数据备份到LASTBAK没有成功,年终数据处理没有进行,数据没有改动！\n")
                                        + QStringLiteral("Cannot make the folder ") + home(QStringLiteral("LASTBAK"))))
        << errorLogText().toStdString();
    EXPECT_TRUE(db().connected());
}

TEST_F(PeriodCommandsTest, YearEndChecksBooksItCouldNotCompactBeforeTheirSnapshot)
{
    // Books the compaction cannot read are checked and refused before they are copied.
    damageTable(QStringLiteral("product"));
    expectYearEndRefusedKeepingTheSnapshot();
}

TEST_F(PeriodCommandsTest, YearEndOnBooksWhoseIndexDisagreesWithTheirRowsKeepsLastbakAndTheYear)
{
    // Such books pass every check but the full one, which both their compacted copy and the
    // books themselves must pass before LASTBAK is replaced.
    db().close();
    makeIndexDisagree(lb::AppPaths::databaseFile());
    db().open();
    expectYearEndRefusedKeepingTheSnapshot();
}

TEST_F(PeriodCommandsTest, AnnualBackupGoesToTheYearOfSixtyDaysAgoAndAsksBeforeOverwriting)
{
    lb::Clock::set(QDateTime(QDate(2026, 2, 28), QTime(9, 0)));
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok);
    PeriodCommands::annualBackup();
    const QString year = home(QStringLiteral("2025"));
    EXPECT_EQ((QStringList{prompt, "年度数据备份以备今后查数,请确认是否备份?", "年度数据将备份到:" + year,
                           "继续进行年度数据备份！ ", "年度数据备份完毕！ "}),
              dialogs.texts());
    // The program's own file, whatever it is called, and the database.
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    EXPECT_EQ(QFileInfo(QCoreApplication::applicationFilePath()).size(), QFileInfo(year + QLatin1Char('/') + program).size());
    EXPECT_EQ(bytes(lb::AppPaths::databaseFile()), bytes(year + QStringLiteral("/works/kvdb.mdb")));
    EXPECT_TRUE(db().connected());

    // The folder exists now: No (the default) keeps it as it is.
    const QByteArray kept = bytes(year + QStringLiteral("/works/kvdb.mdb"));
    exec(QStringLiteral("delete from product"));
    dialogs.clear();
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok).answer(DialogAnswer::No);
    PeriodCommands::annualBackup();
    EXPECT_EQ(QStringLiteral("年度数据备份") + year + QStringLiteral("已经存在,是否覆盖?"), dialogs.lastText());
    EXPECT_TRUE(dialogs.shown().back().negativeDefault);
    EXPECT_EQ(kept, bytes(year + QStringLiteral("/works/kvdb.mdb")));

    // In March the year is this one. The administrator is asked for after the question.
    lb::Clock::set(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
    dialogs.clear();
    main->OperatorNo = QStringLiteral("002");
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok);
    PeriodCommands::annualBackup();
    EXPECT_EQ((QStringList{prompt, "年度数据备份以备今后查数,请确认是否备份?", noRight}), dialogs.texts());
    EXPECT_FALSE(QFileInfo::exists(home(QStringLiteral("2026"))));
}

TEST_F(PeriodCommandsTest, AnnualBackupThatCannotCopyTheDatabaseSaysSo)
{
    lb::Clock::set(QDateTime(QDate(2026, 6, 15), QTime(9, 0)));
    // A folder stands where the copy of the database would go.
    ASSERT_TRUE(QDir().mkpath(home(QStringLiteral("2026/works/kvdb.mdb/x"))));
    const QByteArray live = bytes(lb::AppPaths::databaseFile());
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok).answer(DialogAnswer::Yes);
    PeriodCommands::annualBackup();
    EXPECT_EQ(QStringLiteral("年度数据备份失败,请通过手工备份！ "), dialogs.lastText());
    EXPECT_EQ(live, bytes(lb::AppPaths::databaseFile()));
    EXPECT_TRUE(QFileInfo(home(QStringLiteral("2026/works/kvdb.mdb/x"))).isDir());
    EXPECT_TRUE(db().connected());
}

// A copy that finds its disk full or the quota used up says so with the folder, in place of the
// command's message that would send the user looking for another cause; the books stay.
TEST_F(PeriodCommandsTest, ACopyOnAFullDiskSaysSoWithTheFolder)
{
    const QString full = QStringLiteral("磁盘已满,不能写入文件夹: ");
    const QString quota = QStringLiteral("磁盘配额已用完,不能写入文件夹: ");
    const QString works = QDir::toNativeSeparators(lb::AppPaths::worksFolder());

    // The annual backup's program, then its database.
    const QString annual = home(QStringLiteral("2026"));
    ASSERT_TRUE(QDir().mkpath(annual + QStringLiteral("/works")));
    const std::pair<QString, QStringList> annualCases[] = {
        {annual, {"年度程序备份失败,请通过手工备份！ \n" + full + annual, "年度数据备份完毕！ "}},
        {annual + QStringLiteral("/works"), {"继续进行年度数据备份！ ", "年度数据备份失败,请通过手工备份！ \n" + full + annual + QStringLiteral("/works")}},
    };
    for (const auto& [filled, told] : annualCases) {
        dialogs.clear();
        dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok).answer(DialogAnswer::Yes);
        FullDisk disk(filled);
        PeriodCommands::annualBackup();
        EXPECT_EQ(told, dialogs.texts().mid(4));
    }

    otherBooks(home(QStringLiteral("LASTBAK")), {QStringLiteral("OLD")});
    ASSERT_TRUE(QDir().mkpath(home(QStringLiteral("THISYEAR"))));
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    {
        FullDisk disk(home(QStringLiteral("THISYEAR")));
        PeriodCommands::copyLastYear();
    }
    EXPECT_EQ((QStringList{"确实要复制去年数据?", "今年数据保存到THISYEAR没有成功,没有复制去年数据！\n" + full + home(QStringLiteral("THISYEAR"))}),
              dialogs.texts());
    EXPECT_FALSE(main->LastYearMode);

    // The copy of last year's books cannot be written beside this year's.
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    {
        FullDisk disk(lb::AppPaths::worksFolder(), 0, EDQUOT);
        PeriodCommands::copyLastYear();
    }
    EXPECT_EQ((QStringList{"确实要复制去年数据?", "不能复制去年数据,今年数据没有改动！\n" + quota + works}), dialogs.texts());

    main->LastYearMode = true;
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    {
        FullDisk disk(lb::AppPaths::worksFolder());
        PeriodCommands::restoreThisYear();
    }
    EXPECT_EQ((QStringList{"确实要恢复今年数据?", full + works}), dialogs.texts());
    EXPECT_TRUE(main->LastYearMode);

    const QString frontDesk = folder.filePath(QStringLiteral("front"));
    ASSERT_TRUE(QDir().mkpath(frontDesk));
    otherBooks(frontDesk, {QStringLiteral("FRONT")});
    exec(QStringLiteral("update config set toppath=:p1"), {frontDesk + QLatin1Char('/')});
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    {
        FullDisk disk(lb::AppPaths::worksFolder(), 4096, EDQUOT);
        PeriodCommands::frontDeskCopy();
    }
    EXPECT_EQ((QStringList{"确实要复制前台数据?", quota + works}), dialogs.texts());

    EXPECT_EQ(QStringList{"P1"}, productCodes());
    EXPECT_EQ(QStringList{"kvdb.mdb"}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files | QDir::Hidden));
}

// Books from before a restore that are damaged leave the sound older copies in LASTBAK and
// THISYEAR as they were, every file of them: year-end and the copy of last year's data stop
// before anything is copied, and the user learns which file it is and what to do with it.
TEST_F(PeriodCommandsTest, ADamagedPrevLeavesLastbakAndThisyearAsTheyWereAndSaysWhatToDo)
{
    const QString previous = lb::AppPaths::databaseFile() + QStringLiteral(".prev");
    const QByteArray books = bytes(lb::AppPaths::databaseFile());
    QFile prev(previous);
    ASSERT_TRUE(prev.open(QIODevice::WriteOnly));
    prev.write(books.left(4096)); // cut short
    prev.close();
    const QString damaged = QStringLiteral("\n") + damagedPrevious();

    // Sound older copies: last year's books, and this year's as they were parked before.
    QMap<QString, QMap<QString, QByteArray>> before;
    for (const auto& [kept, code] : {std::pair{QStringLiteral("LASTBAK"), QStringLiteral("OLD")}, std::pair{QStringLiteral("THISYEAR"), QStringLiteral("PARKED")}}) {
        ASSERT_TRUE(QDir().mkpath(home(kept)));
        otherBooks(home(kept), {code});
        ASSERT_TRUE(QFile::copy(lb::AppPaths::databaseFile(), home(kept + QStringLiteral("/kvdb.mdb.prev"))));
        before[kept] = files(home(kept));
    }
    const int documents = documentRows();
    dialogs.type(QStringLiteral("888")).answer(DialogAnswer::Ok);
    PeriodCommands::yearEnd();
    EXPECT_EQ((QStringLiteral("年终数据备份到LASTBAK没有成功,年终数据处理没有进行,数据没有改动！") + damaged).toStdString(),
              dialogs.lastText().toStdString());
    EXPECT_EQ(before[QStringLiteral("LASTBAK")], files(home(QStringLiteral("LASTBAK"))));
    EXPECT_EQ(documents, documentRows());
    EXPECT_EQ(QStringList{"P1"}, productCodes());

    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::copyLastYear(); // LASTBAK still holds last year's sound books
    EXPECT_EQ((QStringLiteral("今年数据保存到THISYEAR没有成功,没有复制去年数据！") + damaged).toStdString(), dialogs.lastText().toStdString());
    EXPECT_EQ(before[QStringLiteral("THISYEAR")], files(home(QStringLiteral("THISYEAR"))));
    EXPECT_EQ(before[QStringLiteral("LASTBAK")], files(home(QStringLiteral("LASTBAK"))));
    EXPECT_EQ(QStringList{"P1"}, productCodes());
    EXPECT_FALSE(main->LastYearMode);
}

TEST_F(PeriodCommandsTest, LastYearsDataIsLoadedAndThisYearsRestoredAcrossARestart)
{
    // Nothing to restore while this year's data is loaded; nothing to load without a snapshot.
    PeriodCommands::restoreThisYear();
    EXPECT_EQ(QStringList{"没有在查去年数据,不需要恢复今年数据！"}, dialogs.texts());
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::copyLastYear();
    EXPECT_EQ(QStringLiteral("没有找到完好的去年数据(LASTBAK),不能复制去年数据！"), dialogs.lastText());
    EXPECT_EQ(QStringList{"P1"}, productCodes());

    otherBooks(home(QStringLiteral("LASTBAK")), {QStringLiteral("OLD")}, true);
    makeProduct(QStringLiteral("P2"), QStringLiteral("今年的"));
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::copyLastYear();
    EXPECT_EQ(QStringList{"确实要复制去年数据?"}, dialogs.texts());
    EXPECT_EQ(QStringList{"OLD"}, productCodes());
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from sqlite_master where name='totallist1'")).toInt()); // upgraded
    EXPECT_TRUE(main->LastYearMode);
    EXPECT_TRUE(PeriodCommands::lastYearLoaded());

    // Month-end and a second copy are refused; a restart keeps the mode, and its close
    // leaves BAK alone.
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::copyLastYear();
    EXPECT_EQ(QStringList{"正在查去年数据，不能再复制去年数据"}, dialogs.texts());
    main.reset();
    main = std::make_unique<Tfrmain>();
    frmain = main.get();
    EXPECT_TRUE(main->LastYearMode);

    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::restoreThisYear();
    EXPECT_EQ(QStringList{"确实要恢复今年数据?"}, dialogs.texts());
    EXPECT_EQ((QStringList{"P1", "P2"}), productCodes());
    EXPECT_FALSE(main->LastYearMode);
    EXPECT_FALSE(PeriodCommands::lastYearLoaded());
    EXPECT_FALSE(QFileInfo::exists(home(QStringLiteral("BAK"))));
}

// A marker of last year's data that cannot be written or removed is said with what to do; the
// text log keeps why.
TEST_F(PeriodCommandsTest, AMarkerOfLastYearThatCannotBeWrittenSaysSoAndTheLogKeepsWhy)
{
    otherBooks(home(QStringLiteral("LASTBAK")), {QStringLiteral("OLD")}, true);
    ASSERT_TRUE(QDir().mkpath(PeriodCommands::lastYearMarker() + QStringLiteral("/in the way")));
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::copyLastYear();
    const QString unmarked = QStringLiteral("不能记下正在查去年数据,退出本系统前请先恢复今年数据！");
    EXPECT_EQ(unmarked, dialogs.lastText());
    EXPECT_EQ(QStringList{"OLD"}, productCodes());
    EXPECT_TRUE(errorLogText().contains(unmarked + QStringLiteral("\nCannot write ") + PeriodCommands::lastYearMarker()))
        << errorLogText().toStdString();

    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::restoreThisYear();
    const QString kept = QStringLiteral("不能清除正在查去年数据的记号,请删除文件") + PeriodCommands::lastYearMarker();
    EXPECT_EQ(kept, dialogs.lastText());
    EXPECT_EQ(QStringList{"P1"}, productCodes());
    EXPECT_TRUE(errorLogText().contains(kept + QStringLiteral("\nCannot remove ") + PeriodCommands::lastYearMarker()))
        << errorLogText().toStdString();
}

// A LASTBAK/kvdb.mdb that is no database at all is found wanting before this year's books are
// parked: the copy parked earlier in THISYEAR stays as it was.
TEST_F(PeriodCommandsTest, LastYearsFileThatIsNoDatabaseIsRefusedBeforeThisYearIsParked)
{
    QDir().mkpath(home(QStringLiteral("LASTBAK")));
    QFile text(home(QStringLiteral("LASTBAK/kvdb.mdb")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    const QByteArray line("last year's figures, typed by hand\n");
    text.write(line.repeated(4096 / line.size() + 1).left(4096)); // 4 KB of text
    text.close();
    const QByteArray parked = bytes(otherBooks(home(QStringLiteral("THISYEAR")), {QStringLiteral("EARLIER")}));
    const QByteArray books = bytes(lb::AppPaths::databaseFile());
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::copyLastYear();
    EXPECT_EQ((QStringList{"确实要复制去年数据?", "没有找到完好的去年数据(LASTBAK),不能复制去年数据！"}), dialogs.texts());
    EXPECT_EQ(parked, bytes(home(QStringLiteral("THISYEAR/kvdb.mdb"))));
    EXPECT_EQ(books, bytes(lb::AppPaths::databaseFile()));
    EXPECT_FALSE(main->LastYearMode);
}

TEST_F(PeriodCommandsTest, ThisYearsDataStaysWhenItCannotBeParked)
{
    otherBooks(home(QStringLiteral("LASTBAK")), {QStringLiteral("OLD")});
    QFile blocker(home(QStringLiteral("THISYEAR")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QStringList before = snapshot();
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::copyLastYear();
    EXPECT_EQ(QStringLiteral("今年数据保存到THISYEAR没有成功,没有复制去年数据！"), dialogs.lastText());
    EXPECT_EQ(before, snapshot());
    EXPECT_FALSE(main->LastYearMode);
    EXPECT_FALSE(PeriodCommands::lastYearLoaded());
}

TEST_F(PeriodCommandsTest, BooksWhoseIndexDisagreesWithTheirRowsAreNotParkedOverThisYearsCopy)
{
    otherBooks(home(QStringLiteral("LASTBAK")), {QStringLiteral("OLD")});
    const QByteArray parked = bytes(otherBooks(home(QStringLiteral("THISYEAR")), {QStringLiteral("P1")}));
    db().close();
    makeIndexDisagree(lb::AppPaths::databaseFile());
    const QByteArray books = bytes(lb::AppPaths::databaseFile());
    db().open();
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::copyLastYear();
    EXPECT_EQ(QStringLiteral("今年数据保存到THISYEAR没有成功,没有复制去年数据！"), dialogs.lastText());
    EXPECT_EQ(parked, bytes(home(QStringLiteral("THISYEAR/kvdb.mdb"))));
    EXPECT_EQ(books, bytes(lb::AppPaths::databaseFile()));
    EXPECT_FALSE(main->LastYearMode);
}

TEST_F(PeriodCommandsTest, ClosingWhileLastYearIsLoadedAsksNoBackup)
{
    main->LastYearMode = true;
    main->close();
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(home(QStringLiteral("BAK"))));
}

TEST_F(PeriodCommandsTest, FrontDeskCopyReplacesTheBooksOnlyWithASoundFile)
{
    main->OperatorNo = QStringLiteral("002");
    PeriodCommands::frontDeskCopy();
    EXPECT_EQ(QStringList{"该用户无权使用此功能！"}, dialogs.texts());
    main->OperatorNo = QStringLiteral("999");

    // No folder set, and a folder without a database.
    const QString frontDesk = folder.filePath(QStringLiteral("front"));
    ASSERT_TRUE(QDir().mkpath(frontDesk));
    for (const QString& path : {QString(), frontDesk + QLatin1Char('/')}) {
        exec(QStringLiteral("update config set toppath=:p1"), {path});
        dialogs.clear();
        dialogs.answer(DialogAnswer::Ok);
        PeriodCommands::frontDeskCopy();
        EXPECT_EQ((QStringList{"确实要复制前台数据?", "数据没有成功复制,请检查前台连接线路及前台数据位置的设置！ "}), dialogs.texts());
    }
    // A damaged file leaves the books as they were.
    QFile damaged(frontDesk + QStringLiteral("/kvdb.mdb"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(8192, 'x'));
    damaged.close();
    const QByteArray live = bytes(lb::AppPaths::databaseFile());
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::frontDeskCopy();
    EXPECT_EQ(QStringLiteral("不能复制数据,请检查系统的前台数据位置的设置是否正确！ "), dialogs.lastText());
    EXPECT_EQ(live, bytes(lb::AppPaths::databaseFile()));
    EXPECT_EQ(QStringList{"kvdb.mdb"}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files | QDir::Hidden));

    // A sound file of an older installation takes their place, upgraded; the old file stays as .prev.
    QFile::remove(frontDesk + QStringLiteral("/kvdb.mdb"));
    otherBooks(frontDesk, {QStringLiteral("FRONT")}, true);
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    PeriodCommands::frontDeskCopy();
    EXPECT_EQ((QStringList{"确实要复制前台数据?", "数据备份完毕！ "}), dialogs.texts());
    EXPECT_EQ(QStringList{"FRONT"}, productCodes());
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from sqlite_master where name='totallist1'")).toInt());
    EXPECT_EQ(live, bytes(lb::AppPaths::databaseFile() + QStringLiteral(".prev")));
}

namespace {

// The marker of last year's data written by the copy of last year's data, or removed by the
// restore of this year's, in a program folder the user may not write; `message` is the
// command's own words.
struct MarkerChange {
    const char* name;
    bool loading;
    const char* message;
};

void PrintTo(const MarkerChange& change, std::ostream* os) { *os << change.name; }

class MarkerInAFolderThatMayNotBeWritten : public PeriodCommandsTest, public ::testing::WithParamInterface<MarkerChange> {};

} // namespace

// The books change; the marker cannot: the user is told why, with the folder to get the right for.
TEST_P(MarkerInAFolderThatMayNotBeWritten, NamesTheFolder)
{
    const MarkerChange& change = GetParam();
    otherBooks(home(QStringLiteral("LASTBAK")), {QStringLiteral("OLD")});
    ASSERT_TRUE(QDir().mkpath(home(QStringLiteral("THISYEAR"))));
    if (!change.loading) {
        otherBooks(home(QStringLiteral("THISYEAR")), {QStringLiteral("THIS")});
        QFile marker(PeriodCommands::lastYearMarker());
        ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
        marker.close();
        main->LastYearMode = true;
    }
    dialogs.answer(DialogAnswer::Ok);
    {
        WriteProtect locked(folder.path());
        if (!locked.ok())
            GTEST_SKIP() << "this file system lets every folder be written";
        change.loading ? PeriodCommands::copyLastYear() : PeriodCommands::restoreThisYear();
    }
    const QString message = QString::fromUtf8(change.message) + (change.loading ? QString() : PeriodCommands::lastYearMarker());
    EXPECT_EQ((message + QStringLiteral("\n没有写入权限,不能写入文件夹: ") + QDir::toNativeSeparators(folder.path())).toStdString(),
              dialogs.lastText().toStdString());
    EXPECT_EQ(QStringList{change.loading ? "OLD" : "THIS"}, productCodes());
    EXPECT_EQ(!change.loading, PeriodCommands::lastYearLoaded());
}

INSTANTIATE_TEST_SUITE_P(Changes, MarkerInAFolderThatMayNotBeWritten,
                         ::testing::Values(MarkerChange{"Written", true, "不能记下正在查去年数据,退出本系统前请先恢复今年数据！"},
                                           MarkerChange{"Removed", false, "不能清除正在查去年数据的记号,请删除文件"}),
                         [](const ::testing::TestParamInfo<MarkerChange>& info) { return std::string(info.param.name); });
