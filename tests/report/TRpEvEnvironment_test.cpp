// Named expressions of a report: look-up, report variables, recursion, deletion and the
// program-wide entries.
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "report/RpEvTestSupport.h"
#include "report/TRpEvEnvironment.h"
#include "report/TRpEvaluator.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lb::report {
namespace {

using test::describe;

std::string run(TRpEvEnvironment& environment, const QString& expression)
{
    TRpEvaluator evaluator;
    evaluator.setEnvironment(&environment);
    return describe(evaluator.calc(expression)).toStdString();
}

TEST(TRpEvEnvironment, ReportVariablesChangeWithoutCompilingAgain)
{
    TRpEvEnvironment functions;
    functions.addFunction(QStringLiteral("PageNumber"), QStringLiteral("0"));
    functions.addFunction(QStringLiteral("REPORTTITLE"), QStringLiteral("''"));
    functions.addFunction(QStringLiteral("pagenumber"), QStringLiteral("99")); // an existing name keeps its text
    ASSERT_EQ(2, functions.count());
    EXPECT_EQ(QStringLiteral("PAGENUMBER"), functions.name(0));
    EXPECT_EQ(QStringLiteral("0"), functions.expression(0));
    EXPECT_EQ(nullptr, functions.firstElement(QStringLiteral("PAGENUMBER"))); // not compiled yet

    functions.prepare();
    TRpEvaluator evaluator;
    evaluator.setEnvironment(&functions);
    evaluator.prepare(QStringLiteral("'第'+str(pagenumber+1)+'页 '+ReportTitle"));
    EXPECT_EQ("S:第1页 ", describe(evaluator.value()).toStdString());

    TRpEvEnvironment::setIntegerConstant(functions.firstElement(QStringLiteral("PAGENUMBER")), 4);
    TRpEvEnvironment::setStringConstant(functions.firstElement(QStringLiteral("REPORTTITLE")), QStringLiteral("销售单"));
    EXPECT_EQ("S:第5页 销售单", describe(evaluator.value()).toStdString());

    // A whole result into a constant; a string element takes only a string result.
    TRpEvEnvironment::setConstant(functions.firstElement(QStringLiteral("PAGENUMBER")), TRpEvResult::number(1.5));
    TRpEvEnvironment::setConstant(functions.firstElement(QStringLiteral("REPORTTITLE")), TRpEvResult::integer(3));
    EXPECT_EQ("S:第2.5页 销售单", describe(evaluator.value()).toStdString());
    EXPECT_EQ("D:1.5", describe(functions.value(QStringLiteral("pagenumber"))).toStdString());
    EXPECT_EQ("E:", describe(functions.value(QStringLiteral("nosuch"))).toStdString());

    evaluator.unprepare();
    functions.unprepare();
    EXPECT_FALSE(functions.prepared());
    EXPECT_EQ(nullptr, functions.firstElement(QStringLiteral("PAGENUMBER")));
}

TEST(TRpEvEnvironment, EntriesThatReachThemselvesAreErrors)
{
    TRpEvEnvironment functions;
    functions.addFunction(QStringLiteral("X"), QStringLiteral("X+1"));
    functions.addFunction(QStringLiteral("A"), QStringLiteral("B*2"));
    functions.addFunction(QStringLiteral("B"), QStringLiteral("A+1"));
    functions.addFunction(QStringLiteral("C"), QStringLiteral("D+D"));
    functions.addFunction(QStringLiteral("D"), QStringLiteral("21"));
    functions.prepare();
    EXPECT_EQ("E:Recursive calls not allowed", run(functions, QStringLiteral("X")));
    EXPECT_EQ("E:Recursive calls not allowed", run(functions, QStringLiteral("A")));
    // An entry used twice in one expression is not a recursion.
    EXPECT_EQ("I:42", run(functions, QStringLiteral("C")));
    functions.unprepare();
}

TEST(TRpEvEnvironment, DeletedOrUnpreparedEntriesGiveErrorsNotCrashes)
{
    TRpEvEnvironment functions;
    functions.addFunction(QStringLiteral("RATE"), QStringLiteral("0.13"));
    // Used before the environment is prepared: the entry has not been compiled.
    EXPECT_EQ("E:Evaluator not prepared", run(functions, QStringLiteral("RATE*100")));

    functions.prepare();
    TRpEvaluator evaluator;
    evaluator.setEnvironment(&functions);
    evaluator.prepare(QStringLiteral("RATE*100"));
    EXPECT_EQ("D:13", describe(evaluator.value()).toStdString());
    functions.deleteFunction(QStringLiteral("rate"));
    functions.deleteFunction(QStringLiteral("nosuch"));
    EXPECT_EQ(0, functions.count());
    EXPECT_EQ("E:Unknown function : RATE", describe(evaluator.value()).toStdString());

    // Added to a prepared environment: compiled at once.
    functions.addFunction(QStringLiteral("rate"), QStringLiteral("0.17"));
    EXPECT_EQ("D:17", run(functions, QStringLiteral("RATE*100")));
    functions.clear();
    EXPECT_EQ("E:Unknown function : RATE", run(functions, QStringLiteral("RATE")));
    functions.unprepare();
}

TEST(TRpEvEnvironment, EntryAggregatesSeeOnlyTheirOwnPasses)
{
    TRpEvEnvironment functions;
    functions.addFunction(QStringLiteral("LINES"), QStringLiteral("COUNT"));
    functions.prepare();
    TRpEvaluator evaluator;
    evaluator.setEnvironment(&functions);
    evaluator.prepare(QStringLiteral("COUNT*100+LINES"));
    evaluator.reset();
    for (int i = 0; i < 3; ++i)
        evaluator.doAggregate();
    EXPECT_EQ("I:300", describe(evaluator.value()).toStdString());
    evaluator.unprepare();
    functions.unprepare();
}

TEST(TRpEvEnvironment, EntriesReadTheEnvironmentsDatasets)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ledger.db"));
    db::Connection::createFile(path);
    db::Connection connection;
    connection.setDatabaseFile(path);
    connection.open();
    connection.execute(QStringLiteral("CREATE TABLE outlist (billno VARCHAR(20), total DOUBLE DEFAULT 0)"));
    connection.execute(QStringLiteral("INSERT INTO outlist (billno, total) VALUES ('XS0001', 88.8)"));
    db::Query header(connection);
    header.setObjectName(QStringLiteral("AQoutlist"));
    header.sql().setText(QStringLiteral("SELECT * FROM outlist"));
    header.open();

    TRpEvEnvironment functions;
    functions.addFunction(QStringLiteral("BILL"), QStringLiteral("AQoutlist.billno+' '+formatnumeric('0.00',total)"));
    functions.setDataSets({&header});
    functions.prepare();
    EXPECT_EQ("S:XS0001 88.80", run(functions, QStringLiteral("bill")));
    functions.unprepare();
}

TEST(TRpEvEnvironment, ProgramWideEntriesAndTheirCount)
{
    TRpEvEnvironment& global = globalEnvironment();
    ASSERT_EQ(3, global.count());
    EXPECT_EQ(QStringLiteral("APPSTARTTIME"), global.name(0));
    EXPECT_EQ(QStringLiteral("APPSTARTDATE"), global.name(1));
    EXPECT_EQ(QStringLiteral("APPNAME"), global.name(2));
    EXPECT_FALSE(global.prepared());

    TRpEvEnvironment functions;
    functions.addFunction(QStringLiteral("APPNAME"), QStringLiteral("'报表'"));
    functions.prepare();
    TRpEvaluator evaluator;
    evaluator.setEnvironment(&functions);
    evaluator.prepare(QStringLiteral("AppName"));
    EXPECT_TRUE(global.prepared());
    // The report's own entries come before the program's.
    EXPECT_EQ("S:报表", describe(evaluator.value()).toStdString());
    evaluator.setEnvironment(nullptr);
    evaluator.prepare(QStringLiteral("AppName"));
    EXPECT_EQ(("S:" + QCoreApplication::applicationName()).toStdString(), describe(evaluator.value()).toStdString());
    EXPECT_EQ(global.expression(1), QStringLiteral("'") + evaluator.calc(QStringLiteral("appstartdate")).strValue() + QStringLiteral("'"));

    evaluator.unprepare();
    functions.unprepare();
    EXPECT_FALSE(global.prepared());
}

} // namespace
} // namespace lb::report
