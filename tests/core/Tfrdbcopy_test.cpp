// Tests of the administrator's data tool: free SQL as typed (one statement, no parameters, no
// transaction control, pragma or temporary object, undone whole when it fails), the free query
// in the grid (rows only), the two lists emptied, the destination table shown, and the batch
// move between external tables.
#include "CoreFixture.h"

#include "core/DataTool.h"
#include "core/Tfrdbcopy.h"
#include "platform/db/SqliteError.h"
#include "platform/office/ParadoxFile.h"
#include "platform/sys/Gbk.h"
#include "platform/ui/DataGrid.h"
#include "support/ReportedErrors.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <shapefil.h>

using lb::core::DataTool;
using lb::core::Tfrdbcopy;
using lb::office::ExternalFieldType;
using lb::office::ExternalTable;
using lb::office::ParadoxFile;

namespace {

class DataToolTest : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        makeProduct(QStringLiteral("P1"), QStringLiteral("苹果"),
                    {{QStringLiteral("dj_n"), 3.14159}, {QStringLiteral("dj_w"), 2.005}, {QStringLiteral("spmz"), 1.999},
                     {QStringLiteral("spzz"), 10}});
        window = new Tfrdbcopy();
        window->showWork();
    }

    void TearDown() override
    {
        delete window.data();
        CoreFixture::TearDown();
    }

    QVariantList prices()
    {
        lb::db::Query query(db());
        query.sql().add(QStringLiteral("select dj_n, dj_w, spmz, spzz from product"));
        query.open();
        return {query.field(0).value(), query.field(1).value(), query.field(2).value(), query.field(3).value()};
    }

    // The external tables of the batch move: a FoxPro source of two records, and a Paradox
    // destination that holds one old record.
    void makeTables()
    {
        ASSERT_TRUE(QDir().mkpath(lb::AppPaths::inProgramFolder(QStringLiteral("convert"))));
        DBFHandle dbf = DBFCreate(QFile::encodeName(DataTool::sourceTable()).constData());
        ASSERT_NE(nullptr, dbf);
        DBFAddField(dbf, "INTNO", FTString, 10, 0);
        DBFAddField(dbf, "SPMC", FTString, 40, 0);
        DBFAddField(dbf, "DJ_N", FTDouble, 12, 2);
        DBFWriteStringAttribute(dbf, 0, 0, "1");
        DBFWriteStringAttribute(dbf, 0, 1, lb::Gbk::toGbk(QStringLiteral("苹果汁")).constData());
        DBFWriteDoubleAttribute(dbf, 0, 2, 3.5);
        DBFWriteStringAttribute(dbf, 1, 0, " 12 ");
        DBFWriteStringAttribute(dbf, 1, 1, "tea");
        DBFWriteDoubleAttribute(dbf, 1, 2, 0.25);
        DBFClose(dbf);

        ExternalTable destination;
        destination.fields = {{QStringLiteral("INTNO"), ExternalFieldType::Text, 10, 0},
                              {QStringLiteral("SPMC"), ExternalFieldType::Text, 40, 0},
                              {QStringLiteral("DJ_N"), ExternalFieldType::Number, 0, 0}};
        destination.rows = {{QStringLiteral("9"), QStringLiteral("旧的"), 1.0}};
        ParadoxFile::write(DataTool::destinationTable(), destination);
    }

    // The texts of the grid showing the destination table, row by row.
    QStringList destinationShown() const
    {
        QStringList rows;
        const QTableWidget& grid = *window->destinationGrid;
        for (int row = 0; row < grid.rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < grid.columnCount(); ++column)
                cells << grid.item(row, column)->text();
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }

    void reopen()
    {
        delete window.data();
        window = new Tfrdbcopy();
        window->showWork();
    }

    QPointer<Tfrdbcopy> window;
};

} // namespace

TEST_F(DataToolTest, FreeSqlRunsTheMemoAsTypedSkippingBlankLines)
{
    EXPECT_EQ(QStringLiteral("成批数据转换、删除、合并"), window->windowTitle());
    // The memo's own statement cuts the four prices to two decimals.
    window->sqlButton->click();
    EXPECT_EQ(QStringList{"处理完毕！"}, dialogs.texts());
    EXPECT_EQ((QVariantList{3.14, 2.01, 2.0, 10.0}), prices());

    // Blank lines go; a colon inside a text is no parameter.
    dialogs.clear();
    window->Memo1->setPlainText(QStringLiteral("update product\n   \n set bz='时间 10:30'\n\n where sphh='P1'"));
    window->SqlExeClick();
    EXPECT_EQ(QStringLiteral("时间 10:30"), scalar(QStringLiteral("select bz from product")).toString());
    EXPECT_EQ((QStringList{"update product", " set bz='时间 10:30'", " where sphh='P1'"}),
              DataTool::statementLines(window->Memo1->toPlainText()));
}

TEST_F(DataToolTest, FreeSqlRefusesWhatItMayNotRunAndUndoesAFailedStatementWhole)
{
    const struct {
        const char* sql;
        const char* refusal;
    } cases[] = {
        {"update product set bz='x';\ndelete from product", "一次只能执行一条SQL语句,请分开执行！"},
        {"delete from product where sphh=:p1", "SQL语句中不能带参数,请直接写入数值！"},
        {"delete from product where sphh=?", "SQL语句中不能带参数,请直接写入数值！"},
        {"begin", "SQL语句不能开始、结束事务,也不能附加或分离数据库文件！"},
        {"-- one more\nBEGIN IMMEDIATE TRANSACTION", "SQL语句不能开始、结束事务,也不能附加或分离数据库文件！"},
        {"end", "SQL语句不能开始、结束事务,也不能附加或分离数据库文件！"},
        {"rollback", "SQL语句不能开始、结束事务,也不能附加或分离数据库文件！"},
        {"savepoint a", "SQL语句不能开始、结束事务,也不能附加或分离数据库文件！"},
        {"release a", "SQL语句不能开始、结束事务,也不能附加或分离数据库文件！"},
        {"attach database 'other.db' as other", "SQL语句不能开始、结束事务,也不能附加或分离数据库文件！"},
        {"pragma query_only=1; select 1", "一次只能执行一条SQL语句,请分开执行！"},
        {"pragma query_only=1", "SQL语句不能修改数据库设置,也不能建立临时的表、视图或触发器！"},
        {"create temp trigger t after update on customer begin update customer set balance=0; end",
         "SQL语句不能修改数据库设置,也不能建立临时的表、视图或触发器！"},
        {"create trigger temp.t after update on customer begin update customer set balance=0; end",
         "SQL语句不能修改数据库设置,也不能建立临时的表、视图或触发器！"},
        {"create temp table product as select * from main.product where 0", "SQL语句不能修改数据库设置,也不能建立临时的表、视图或触发器！"},
    };
    for (const auto& c : cases) {
        dialogs.clear();
        window->Memo1->setPlainText(QString::fromUtf8(c.sql));
        window->SqlExeClick();
        EXPECT_EQ(QStringList{QString::fromUtf8(c.refusal)}, dialogs.texts()) << c.sql;
        window->QueryClick();
        EXPECT_EQ(QString::fromUtf8(c.refusal), dialogs.lastText()) << c.sql;
        EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from product")).toInt());
        EXPECT_EQ(QString(), scalar(QStringLiteral("select bz from product")).toString());
    }
    // The refused control statements left no transaction open, no pragma set and no temporary
    // table in the place of the books' one: posting runs in its own.
    window->packageButton->click();
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from units")).toInt());
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from sqlite_temp_master")).toInt());

    // An error of the statement itself reaches the error handler, with nothing changed, also
    // when the engine would keep the rows changed before the failing one ("or fail").
    makeProduct(QStringLiteral("P2"), QStringLiteral("梨"));
    for (const char* sql : {"delete form product",
                            "update or fail product set bz='x', szbj=case when sphh='P2' then null else 1 end"}) {
        dialogs.clear();
        window->Memo1->setPlainText(QString::fromUtf8(sql));
        EXPECT_THROW(window->SqlExeClick(), lb::DatabaseError) << sql;
        EXPECT_TRUE(dialogs.texts().isEmpty());
        EXPECT_EQ(2, scalar(QStringLiteral("select count(*) from product where bz='' and szbj=0")).toInt()) << sql;
    }
}

// 查表 opens rows; a statement that returns none is refused before it runs, so that nothing it
// would write is written.
TEST_F(DataToolTest, QueryRefusesAStatementThatReturnsNoRowsAndWritesNothing)
{
    for (const char* sql : {"update product set bz='x'", "delete from product", "insert into product (sphh) values ('P9')",
                            "create table extra (a)"}) {
        dialogs.clear();
        window->Memo1->setPlainText(QString::fromLatin1(sql));
        try {
            window->QueryClick();
            ADD_FAILURE() << "opened: " << sql;
        } catch (const lb::DatabaseError& e) {
            EXPECT_EQ(QStringLiteral("The statement returns no rows: ") + QString::fromLatin1(sql), e.message());
        }
        EXPECT_TRUE(dialogs.texts().isEmpty()) << sql;
        EXPECT_EQ(QStringLiteral("P1|"), scalar(QStringLiteral("select group_concat(sphh || '|' || bz) from product")).toString()) << sql;
        EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from sqlite_master where name='extra'")).toInt()) << sql;
    }
}

// A dataset left open while the administrator renames or drops one of its columns fails to read
// its rows again, with the engine's reason, rather than showing the column's name (or 0) as
// every row's value.
TEST_F(DataToolTest, AColumnRenamedOrDroppedUnderAnOpenDatasetFailsItsRefresh)
{
    const struct {
        const char* select;
        const char* change;
        const char* reason;
    } cases[] = {
        {"select sphh, spmc, dj_n from product", "alter table product rename column spmc to spmc2", "no such column: spmc"},
        {"select sphh, spmc2, dj_n from product", "alter table product drop column dj_n", "no such column: dj_n"},
    };
    for (const auto& c : cases) {
        lb::db::Query rows(db());
        rows.sql().add(QString::fromLatin1(c.select));
        rows.open();
        ASSERT_EQ(QStringLiteral("苹果"), rows.field(1).asString());
        dialogs.clear();
        window->Memo1->setPlainText(QString::fromLatin1(c.change));
        window->SqlExeClick();
        ASSERT_EQ(QStringList{"处理完毕！"}, dialogs.texts()) << c.change;
        try {
            rows.refresh();
            ADD_FAILURE() << "read again after: " << c.change << "; the row shows " << rows.field(1).asString().toStdString()
                          << ", " << rows.field(2).asFloat();
        } catch (const lb::db::SqliteError& e) {
            EXPECT_EQ(QString::fromLatin1(c.reason), e.engineMessage()) << c.change;
        }
    }
}

// The engine's renaming rewrites the temporary schema too; that is no temporary object of the
// user's, so the administrator's changes of the books' tables run like any other statement
// (temporary objects stay refused: FreeSqlRefusesWhatItMayNotRunAndUndoesAFailedStatementWhole).
TEST_F(DataToolTest, FreeSqlChangesTheTablesOfTheBooks)
{
    for (const char* sql : {"create table extra (a, b, c)", "alter table extra rename column b to bb",
                            "alter table extra rename to extra2", "alter table extra2 drop column c",
                            "alter table product rename column bz to remark9"}) {
        dialogs.clear();
        window->Memo1->setPlainText(QString::fromLatin1(sql));
        window->SqlExeClick();
        EXPECT_EQ(QStringList{"处理完毕！"}, dialogs.texts()) << sql;
    }
    EXPECT_EQ(QStringLiteral("a,bb"), scalar(QStringLiteral("select group_concat(name) from pragma_table_info('extra2')")).toString());
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from sqlite_master where name='extra'")).toInt());
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from pragma_table_info('product') where name='remark9'")).toInt());
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from sqlite_temp_master")).toInt());
}

TEST_F(DataToolTest, QueryShowsItsRowsAndPackageEmptiesBothLists)
{
    makeProduct(QStringLiteral("P2"), QStringLiteral("梨"));
    window->Memo1->setPlainText(QStringLiteral("select sphh, spmc\nfrom product order by sphh desc"));
    window->queryButton->click();
    EXPECT_EQ(QStringList{"可查看数据表了."}, dialogs.texts());
    EXPECT_EQ(window->DBGrid1, window->grids->currentWidget());
    ASSERT_EQ(2, window->DBGrid1->model()->rowCount());
    EXPECT_EQ(QStringLiteral("P2"), window->DBGrid1->model()->index(0, 0).data().toString());
    EXPECT_EQ(QStringLiteral("苹果"), window->DBGrid1->model()->index(1, 1).data().toString());

    ASSERT_GT(scalar(QStringLiteral("select count(*) from package")).toInt(), 0);
    ASSERT_GT(scalar(QStringLiteral("select count(*) from units")).toInt(), 0);
    window->packageButton->click();
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from package")).toInt());
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from units")).toInt());

    window->close();
    EXPECT_FALSE(dm().AQcom->active());
}

TEST_F(DataToolTest, BatchMoveReplacesTheDestinationsRecordsAndProcessPadsTheirNumbers)
{
    makeTables();
    window->mergeButton->click();
    EXPECT_EQ((QStringList{"1|苹果汁|3.5", "12|tea|0.25"}), destinationShown());
    ExternalTable moved = ParadoxFile::read(DataTool::destinationTable());
    ASSERT_EQ(3u, moved.fields.size());
    EXPECT_EQ(ExternalFieldType::Number, moved.fields[2].type);
    ASSERT_EQ(2u, moved.rows.size());
    EXPECT_EQ((std::vector<QVariant>{QStringLiteral("1"), QStringLiteral("苹果汁"), 3.5}), moved.rows[0]);
    EXPECT_EQ((std::vector<QVariant>{QStringLiteral("12"), QStringLiteral("tea"), 0.25}), moved.rows[1]);

    window->processButton->click();
    EXPECT_EQ((QStringList{"0000000001|苹果汁|3.5", "0000000012|tea|0.25"}), destinationShown());
    moved = ParadoxFile::read(DataTool::destinationTable());
    EXPECT_EQ(QStringLiteral("0000000001"), moved.rows[0][0]);
    EXPECT_EQ(QStringLiteral("0000000012"), moved.rows[1][0]);
    EXPECT_EQ(QStringLiteral("苹果汁"), moved.rows[0][1]);

    // Without its source the move fails with the destination as it was.
    QFile::remove(DataTool::sourceTable());
    try {
        window->MergeClick();
        ADD_FAILURE() << "merged without a source";
    } catch (const lb::FileOpenError& e) {
        EXPECT_EQ(QStringLiteral("文件 %1 不能打开。\ndBase table: there is no such file").arg(QDir::toNativeSeparators(DataTool::sourceTable())),
                  e.message());
    }
    EXPECT_EQ(moved.rows, ParadoxFile::read(DataTool::destinationTable()).rows);
    EXPECT_EQ(QStringList{"product.DB"}, QDir(lb::AppPaths::inProgramFolder(QStringLiteral("convert"))).entryList(QDir::Files));
}

// A source brought from a machine whose file names ignore case is found under any case.
TEST_F(DataToolTest, BatchMoveTakesTheSourceWhateverTheCaseOfItsName)
{
    makeTables();
    const QString convert = lb::AppPaths::inProgramFolder(QStringLiteral("convert"));
    ASSERT_TRUE(QFile::rename(DataTool::sourceTable(), convert + QStringLiteral("/LW.DBF")));
    EXPECT_EQ(convert + QStringLiteral("/LW.DBF"), DataTool::sourceTable());
    window->mergeButton->click();
    EXPECT_EQ((QStringList{"1|苹果汁|3.5", "12|tea|0.25"}), destinationShown());
}

// The window opens on the destination table; the buttons of its design that have no action
// change nothing in the books, the tables or on screen.
TEST_F(DataToolTest, OpensOnTheDestinationTableAndItsOtherButtonsDoNothing)
{
    EXPECT_EQ(0, window->destinationGrid->rowCount()); // no table yet: an empty grid
    makeTables();
    reopen();
    EXPECT_EQ(window->destinationGrid, window->grids->currentWidget());
    ASSERT_EQ(3, window->destinationGrid->columnCount());
    EXPECT_EQ(QStringLiteral("SPMC"), window->destinationGrid->horizontalHeaderItem(1)->text());
    EXPECT_EQ(QStringList{"9|旧的|1"}, destinationShown());

    QStringList captions;
    for (const QPushButton* button : window->findChildren<QPushButton*>())
        captions << button->text();
    EXPECT_EQ((QStringList{"SQlexe", "查表", "package", "合并", "处理", "删除", "转换", "product", "customer", "branch",
                           "bank", "store", "outlist", "outdetail", "cproduct"}),
              captions);
    const auto bytes = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray books = bytes(lb::AppPaths::databaseFile());
    const QByteArray source = bytes(DataTool::sourceTable());
    const QByteArray destination = bytes(DataTool::destinationTable());
    ReportedErrors errors;
    for (QPushButton* button : window->findChildren<QPushButton*>().mid(5)) {
        button->click();
        EXPECT_TRUE(dialogs.texts().isEmpty()) << button->text().toStdString();
        EXPECT_EQ(books, bytes(lb::AppPaths::databaseFile())) << button->text().toStdString();
        EXPECT_EQ(source, bytes(DataTool::sourceTable()));
        EXPECT_EQ(destination, bytes(DataTool::destinationTable()));
        EXPECT_EQ(QStringList{"9|旧的|1"}, destinationShown());
    }
    EXPECT_EQ(0, errors.count());

    // A damaged table is reported when the window opens, with the grid empty.
    QFile damaged(DataTool::destinationTable());
    ASSERT_TRUE(damaged.resize(129));
    reopen();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(1, errors.count());
    // The message of ours names the file; the technical reason follows it into the error log.
    EXPECT_EQ(QStringLiteral("文件 %1 已损坏或不是有效的数据表,不能读取。\nParadox table: a header of 2048 bytes and 1 "
                             "blocks of 2048 bytes do not fit its 129 bytes")
                  .arg(QDir::toNativeSeparators(DataTool::destinationTable())),
              errors.lastMessage());
    EXPECT_EQ(0, window->destinationGrid->rowCount());
}
