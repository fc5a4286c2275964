// Report expressions over a real outdetail table: grammar, operators, every built-in function,
// the aggregates, field reading and the error texts.
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"
#include "report/RpEvTestSupport.h"
#include "report/TRpEvaluator.h"
#include "report/TRpFunctionLibrary.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lb::report {
namespace {

using test::describe;

class EvaluatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        const QString path = dir_.filePath(QStringLiteral("ledger.db"));
        db::Connection::createFile(path);
        connection_.setDatabaseFile(path);
        connection_.open();
        connection_.execute(QStringLiteral(
            "CREATE TABLE outdetail (id INTEGER PRIMARY KEY, code VARCHAR(20), amount DOUBLE DEFAULT 0, "
            "qty INTEGER DEFAULT 0, paid BOOLEAN DEFAULT 0, billdate DATE, notes VARCHAR(40), memo MEMO, \"net-amount\" DOUBLE)"));
        connection_.execute(QStringLiteral(
            "INSERT INTO outdetail (code, amount, qty, paid, billdate, notes, memo, \"net-amount\") VALUES "
            "('b', 1.5, 2, 0, '2026-03-01', '急件', 'x', 1.25), ('a', 2.5, 4, 1, '2026-03-02', '', 'y', 2), "
            "('c', 1230.5, 9, 0, '2026-03-03', '', 'z', 1000)"));
        detail_ = std::make_unique<db::Query>(connection_);
        detail_->setObjectName(QStringLiteral("AQoutdetail"));
        detail_->sql().setText(QStringLiteral("SELECT * FROM outdetail ORDER BY id"));
        detail_->open();
        Clock::set(QDateTime(QDate(2026, 3, 1), QTime(8, 30, 5)));
    }
    void TearDown() override { Clock::reset(); }

    // Prepares and resets as a printed expression does; with `accumulate` runs one
    // accumulation pass per record first; otherwise evaluates on the first record.
    QString evaluate(const QString& expression, bool accumulate)
    {
        TRpEvaluator evaluator;
        evaluator.setDataSets({detail_.get()});
        evaluator.prepare(expression);
        evaluator.reset();
        if (accumulate) {
            for (detail_->first(); !detail_->eof(); detail_->next())
                evaluator.doAggregate();
        } else {
            detail_->first();
        }
        return describe(evaluator.value());
    }

    QTemporaryDir dir_;
    db::Connection connection_;
    std::unique_ptr<db::Query> detail_;
};

struct Case {
    const char* expression;
    const char* expected;
    bool accumulate = false;
};

// Each row: the expression as written in a layout, and its exact result.
const Case cases[] = {
    // Grammar and grouping.
    {"", "S: "},
    {"1+2*3", "I:7"},
    {"(1+2)*3", "I:9"},
    {"10-2+3", "I:11"},
    {"10-2-3", "I:5"},
    {"8/2*4", "D:16"},
    {"7/2", "D:3.5"},
    {"10--2", "I:12"},
    {"10--2+3", "I:15"},
    {"1 + -2", "I:-1"},
    {"10 - -2", "I:12"},
    {"2*-3", "E:Illegal character in numeric contant \"2*\""},
    {"2*(-3)", "I:-6"},
    {"-5", "I:-5"},
    {"+5", "I:5"},
    {"-2*3", "I:-6"},
    {"2147483647+1", "I:-2147483648"},
    {"2147483648", "D:2147483648"},
    {"1E3", "D:1000"},
    {"1.2.3", "E:Illegal character in numeric contant \"1.2.3\""},
    {"@", "E:Error in expression : @"},
    {"'abc", "E:Missing '"},
    {"(1+2", "E:Missing )"},
    {"[amount", "E:Missing ]"},
    {"sum(1", "E:Missing )"},
    {"xyz", "E:Unknown function : xyz"},
    {"xyz(1)", "E:Unknown function : xyz"},
    {"foo(1)", "E:Unknown function : foo"},
    {"SUM (1)", "E:Unknown function : SUM "},
    // Operators and kinds.
    {"'abc'+'def'", "S:abcdef"},
    {"'abc'<'abd'", "B:true"},
    {"'a'='A'", "B:false"},
    {"10<'9'", "B:true"},
    {"'张三'<'李四'", "B:false"},
    {"1=1 and 2=2", "E:Illegal character in numeric contant \"2=2\""},
    {"(1=1) and (2=2)", "B:true"},
    {"(1=1) or (1=2)", "B:true"},
    {"3 or 5", "I:7"},
    {"6 and 3", "I:2"},
    {"1.5 or 2", "E:Operator OR is not compatible with numeric expressions"},
    {"'a' and 'b'", "E:Operator AND is not compatible with string expressions"},
    {"true<false", "E:Operator < is not compatible with boolean expressions"},
    {"true+false", "E:Cannot add boolean expressions"},
    {"'a'-'b'", "E:Cannot subtract string expressions"},
    {"'a'*2", "E:Cannot multiply string expressions"},
    {"true+1", "S:True1"},
    {"1.5+1", "D:2.5"},
    {"1/0", "E:Cannot divide by 0"},
    {"1.5/0", "E:Cannot divide by 0"},
    {"(1/0)+xyz", "E:Cannot divide by 0"},
    {"not (1=1)", "B:false"},
    {"not 5", "E:Invalid use of NOT"},
    {"1<>2", "B:true"},
    {"2>=2", "B:true"},
    {"2<=2", "B:true"},
    {"3<=2", "B:false"},
    {"2<=2.5", "B:true"},
    // Fields of the current (first) record.
    {"AQoutdetail.amount", "D:1.5"},
    {"amount", "D:1.5"},
    {"[AQoutdetail.amount]", "D:1.5"},
    {"aqoutdetail.QTY*2", "I:4"},
    {"code+'-'+str(qty)", "S:b-2"},
    {"paid", "B:false"},
    {"billdate", "S:2026-03-01"},
    {"notes", "S:急件"},
    {"memo", "E:Field memo is of unknown type"},
    {"other.amount", "E:Unknown function : other.amount"},
    {"10-[net-amount]", "D:8.75"},
    {"10-2+[net-amount]", "D:9.25"},
    {"if(1=1,[net-amount],0)", "D:1.25"},
    // Functions, in the library's order.
    {"if(1=1,'yes','no')", "S:yes"},
    {"if(amount>1,qty,'none')", "I:2"},
    {"if(1,'yes','no')", "E:Wrong arguments for IF"},
    {"str(12)", "S:12"},
    {"str(2.5)", "S:2.5"},
    {"str(1=1)", "S:True"},
    {"str('a')", "E:Conversion error"},
    {"upper('abc')", "S:ABC"},
    {"upper(1/0)", "E:Cannot divide by 0"},
    {"upper()", "E:Missing argument for UPPER"},
    {"lower('AbC')", "S:abc"},
    {"pretty('hELLO')", "S:Hello"},
    {"pretty('')", "S:"},
    {"pretty('a','b')", "E:Missing argument for PRETTY"},
    {"time", "S:08:30:05"},
    {"date", "S:2026-03-01"},
    {"date(1)", "E:Wrong arguments for DATE"},
    {"copy('abcdef',0,3)", "S:abc"},
    {"copy('abcdef',2,3)", "S:bcd"},
    {"copy('中文字符',2,2)", "S:文字"},
    {"copy('abc',2.0,1)", "E:Wrong arguments for COPY"},
    {"true", "B:true"},
    {"true()", "B:true"},
    {"true(1)", "E:Too many arguments"},
    {"FALSE", "B:false"},
    {"int(-2.7)", "I:-2"},
    {"int(7)", "I:7"},
    {"int('7')", "E:Wrong arguments for INT"},
    {"int(1E20)", "E:Wrong arguments for INT"},
    {"int(4294967297.5)", "E:Wrong arguments for INT"},
    {"int(-2147483649.0)", "E:Wrong arguments for INT"},
    {"int(2147483647.9)", "I:2147483647"},
    {"int(-2147483648.5)", "I:-2147483648"},
    {"frac(2.75)", "D:0.75"},
    {"frac(3)", "D:0"},
    {"sqrt(16)", "D:4"},
    {"sqrt(-1)", "E:Invalid argument to SQRT function"},
    {"div(7,2)", "I:3"},
    {"div(-7,2)", "I:-3"},
    {"div(7,0)", "E:Division by Zero"},
    {"div(2.5,1)", "I:2"},
    {"div(3.5,1)", "I:4"},
    {"div(-2.5,1)", "I:-2"},
    {"div(-2147483648,-1)", "I:-2147483648"},
    {"div('7',2)", "E:Wrong arguments for DIV"},
    {"typeof(1)", "S:INTEGER"},
    {"typeof(1.5)", "S:FLOAT"},
    {"typeof('a')", "S:STRING"},
    {"typeof(1=1)", "S:BOOLEAN"},
    {"typeof(xyz)", "S:ERROR"},
    {"typeof()", "E:Wrong arguments for TypeOf"},
    {"formatnumeric('0.00',1234.5)", "S:1234.50"},
    {"formatnumeric('#,##0.00',1234567.5)", "S:1,234,567.50"},
    {"formatnumeric('0.00',0.125)", "S:0.13"},
    {"formatnumeric('0.00',-0.125)", "S:-0.13"},
    {"formatnumeric('0',7)", "S:7"},
    {"formatnumeric(5,'0.00')", "E:Wrong arguments for FORMATNUMERIC"},
    {"arccos(1)", "D:0"},
    {"cos(0)", "D:1"},
    {"sin(0)", "D:0"},
    {"tan(0)", "D:0"},
    {"cotan(1)", "D:0.642092615934331"},
    {"secant(0)", "D:1"},
    {"cosecant(1)", "D:1.18839510577812"},
    {"cos('a')", "E:Wrong arguments for COS"},
    {"hypot(3.0,4.0)", "D:5"},
    {"hypot(3,4)", "E:Wrong arguments for HYPOT"},
    {"radtodeg(0.5)", "D:28.6478897565412"},
    {"radtograd(1.0)", "D:63.6619772367581"},
    {"radtocycle(1.0)", "D:0.159154943091895"},
    {"degtorad(180.0)", "D:3.14159265358979"},
    {"degtograd(90.0)", "D:100"},
    {"degtocycle(90.0)", "D:0.25"},
    {"gradtorad(200.0)", "D:3.14159265358979"},
    {"gradtodeg(100.0)", "D:90"},
    {"gradtocycle(100.0)", "D:0.25"},
    {"cycletorad(0.5)", "D:3.14159265358979"},
    {"cycletodeg(0.25)", "D:90"},
    {"cycletograd(0.25)", "D:100"},
    {"cosh(0.0)", "D:1"},
    {"sinh(0.0)", "D:0"},
    {"tanh(0.0)", "D:0"},
    {"coth(1.0)", "D:1.31303528549933"},
    {"sech(0.0)", "D:1"},
    {"csch(1.0)", "D:0.850918128239322"},
    {"arccot(1.0)", "D:0.785398163397448"},
    {"arcsec(1.0)", "D:0"},
    {"arccsch(1.0)", "D:1.5707963267949"}, // the inverse cosecant: its name comes first
    {"arccosh(1.0)", "D:0"},
    {"arcsinh(1.0)", "D:0.881373587019543"},
    {"arctanh(0.0)", "D:0"},
    {"arccoth(2.0)", "D:0.549306144334055"},
    {"arcsech(1.0)", "D:0"},
    {"sinh(1.0,2.0)", "E:Wrong arguments for SINH"},
    {"power(2,10)", "D:1024"},
    {"power(2)", "E:Wrong arguments for POWER"},
    {"rightstr('abcdef',2)", "S:ef"},
    {"leftstr('abcdef',2)", "S:ab"},
    {"leftstr('ab',5)", "S:ab"},
    {"leftstr('中文abc',2)", "S:中文"},
    {"rightstr('abc中文',3)", "S:c中文"},
    {"leftstr('abc',1.0)", "E:Wrong arguments for LEFTSTR"},
    // Aggregates, after one accumulation pass per record (amounts 1.5, 2.5, 1230.5; qty 2, 4, 9).
    {"formatnumeric('0.00',SUM(AQoutdetail.amount))", "S:1234.50", true},
    {"SUM(AQoutdetail.amount)", "D:1234.5", true},
    {"SUM(qty)", "I:15", true},
    {"SUM(amount)+SUM(qty)", "D:1249.5", true},
    {"SUM(code)", "E:Wrong arguments for SUM", true},
    {"SUM(amount)", "I:0"},
    {"COUNT", "I:3", true},
    {"COUNT", "I:0"},
    {"count(1)", "E:COUNT - Too many arguments", true},
    {"AVERAGE(qty)", "D:5", true},
    {"AVERAGE(amount)", "D:0"},
    {"MAX(code)", "S:c", true},
    {"MIN(code)", "S:a", true},
    {"MAX(amount)", "D:1230.5", true},
    {"MIN(qty)", "I:2", true},
    {"MAX(paid)", "B:true", true},
    {"MIN(paid)", "B:false", true},
    {"MAX(1,2)", "E:Wrong arguments for MAX", true},
    {"MAX(amount)", "I:0"},
    {"MAX(if(qty>5,amount,qty))", "D:1230.5", true},
    {"SUM(if(qty=4,code,amount))", "E:Wrong arguments for SUM", true},
};

TEST_F(EvaluatorTest, ExpressionTable)
{
    for (const Case& c : cases) {
        const QString expression = QString::fromUtf8(c.expression);
        EXPECT_EQ(std::string(c.expected), evaluate(expression, c.accumulate).toStdString())
            << expression.toStdString() << (c.accumulate ? " (accumulated)" : "");
    }
}

TEST_F(EvaluatorTest, EveryBuiltinFunctionHasARow)
{
    const TRpFunctionLibrary& library = functionLibrary();
    ASSERT_EQ(59, library.count());
    for (int i = 0; i < library.count(); ++i) {
        const QString name = library.getEntry(i).name.toLower();
        const QRegularExpression call(QStringLiteral("\\b") + name + QStringLiteral("\\("));
        bool found = false;
        for (const Case& c : cases) {
            const QString expression = QString::fromUtf8(c.expression).toLower();
            found = found || expression == name || expression.contains(call);
        }
        EXPECT_TRUE(found) << name.toStdString();
    }
}

TEST_F(EvaluatorTest, AggregatesHoldTheirValueUntilReset)
{
    TRpEvaluator evaluator;
    evaluator.setDataSets({detail_.get()});
    evaluator.prepare(QStringLiteral("COUNT*10+SUM(qty)"));
    EXPECT_TRUE(evaluator.isAggregate());
    evaluator.reset();
    for (detail_->first(); !detail_->eof(); detail_->next())
        evaluator.doAggregate();
    // Plain evaluations do not count.
    EXPECT_EQ(QStringLiteral("I:45"), describe(evaluator.value()));
    EXPECT_EQ(QStringLiteral("I:45"), describe(evaluator.value()));
    evaluator.reset();
    EXPECT_EQ(QStringLiteral("I:0"), describe(evaluator.value()));
    detail_->first();
    evaluator.doAggregate();
    EXPECT_EQ(QStringLiteral("I:12"), describe(evaluator.value()));

    evaluator.prepare(QStringLiteral("amount*2"));
    EXPECT_FALSE(evaluator.isAggregate());
}

TEST_F(EvaluatorTest, AggregatesOfIntegersAndFractionsKeepTheFractions)
{
    connection_.execute(QStringLiteral("CREATE TABLE pair (n INTEGER, x DOUBLE)"));
    connection_.execute(QStringLiteral("INSERT INTO pair VALUES (2, 1.5), (3, 2.25)"));
    detail_->close();
    detail_->sql().setText(QStringLiteral("SELECT * FROM pair ORDER BY n"));
    detail_->open();
    EXPECT_EQ(QStringLiteral("D:2.5"), evaluate(QStringLiteral("AVERAGE(n)"), true));
    EXPECT_EQ(QStringLiteral("I:5"), evaluate(QStringLiteral("SUM(n)"), true));
    // An integer on the first row, a fraction on the second: the sum is not cut to an integer.
    EXPECT_EQ(QStringLiteral("D:4.25"), evaluate(QStringLiteral("SUM(IF(n=2,n,x))"), true));
    EXPECT_EQ(QStringLiteral("D:4.5"), evaluate(QStringLiteral("SUM(IF(n=2,x,n))"), true));
    // A fraction, then an integer that is neither larger nor smaller: 2.5 then 1, 0.5 then 3.
    EXPECT_EQ(QStringLiteral("D:2.5"), evaluate(QStringLiteral("MAX(IF(n=2,x+1,n-2))"), true));
    EXPECT_EQ(QStringLiteral("D:0.5"), evaluate(QStringLiteral("MIN(IF(n=2,x-1,n))"), true));
}

TEST_F(EvaluatorTest, FieldFollowsTheCurrentRecord)
{
    TRpEvaluator evaluator;
    evaluator.setDataSets({detail_.get()});
    evaluator.prepare(QStringLiteral("code+':'+formatnumeric('0.00',amount)"));
    QStringList seen;
    for (detail_->first(); !detail_->eof(); detail_->next())
        seen << evaluator.value().strValue();
    EXPECT_EQ((QStringList{QStringLiteral("b:1.50"), QStringLiteral("a:2.50"), QStringLiteral("c:1230.50")}), seen);
}

TEST_F(EvaluatorTest, FieldIsFoundByNameAfterTheDatasetIsReopened)
{
    TRpEvaluator evaluator;
    evaluator.setDataSets({detail_.get()});
    evaluator.prepare(QStringLiteral("AQoutdetail.amount"));

    // The same dataset re-pointed at other SQL: the column moves and the fields are rebuilt.
    detail_->close();
    detail_->sql().setText(QStringLiteral("SELECT qty, code, amount FROM outdetail ORDER BY id DESC"));
    detail_->open();
    EXPECT_EQ(QStringLiteral("D:1230.5"), describe(evaluator.value()));

    detail_->close();
    detail_->sql().setText(QStringLiteral("SELECT qty FROM outdetail"));
    detail_->open();
    EXPECT_EQ(QStringLiteral("E:Unknown function : AQoutdetail.amount"), describe(evaluator.value()));
}

TEST_F(EvaluatorTest, FieldOfADeletedDatasetIsAnErrorNotACrash)
{
    TRpEvaluator evaluator;
    evaluator.setDataSets({detail_.get()});
    evaluator.prepare(QStringLiteral("amount+1"));
    detail_.reset();
    EXPECT_EQ(QStringLiteral("E:Unknown function : amount"), describe(evaluator.value()));
}

TEST_F(EvaluatorTest, DatasetNameChoosesAmongSeveralDatasets)
{
    db::Query header(connection_);
    header.setObjectName(QStringLiteral("AQoutlist"));
    header.sql().setText(QStringLiteral("SELECT 99.5 AS amount, 'H' AS code"));
    header.open();
    TRpEvaluator evaluator;
    evaluator.setDataSets({&header, detail_.get()});
    detail_->first();
    // A bare name takes the first dataset in the list that has the field.
    EXPECT_EQ(QStringLiteral("D:99.5"), describe(evaluator.calc(QStringLiteral("amount"))));
    EXPECT_EQ(QStringLiteral("D:1.5"), describe(evaluator.calc(QStringLiteral("aqoutdetail.amount"))));
    EXPECT_EQ(QStringLiteral("I:2"), describe(evaluator.calc(QStringLiteral("qty"))));
}

TEST_F(EvaluatorTest, LongTextsAreCutTo255BytesBetweenCharacters)
{
    TRpEvaluator evaluator;
    // 127 Chinese characters are 254 bytes; one more byte fits, another character does not.
    const QString chinese = QString(127, QChar(0x4E2D));
    EXPECT_EQ(chinese + QLatin1Char('x'), evaluator.calc(QLatin1Char('\'') + chinese + QStringLiteral("'+'x'")).strValue());
    EXPECT_EQ(chinese, evaluator.calc(QLatin1Char('\'') + chinese + QStringLiteral("'+'中'")).strValue());
    EXPECT_EQ(255, evaluator.calc(QStringLiteral("'%1'+'%1'").arg(QString(200, QLatin1Char('a')))).strValue().size());
}

TEST_F(EvaluatorTest, UnpreparedEvaluatorRaisesAndErrorTextRaises)
{
    TRpEvaluator evaluator;
    try {
        evaluator.value();
        FAIL() << "no exception";
    } catch (const lb::Error& e) {
        EXPECT_EQ(QStringLiteral("Evaluator not prepared"), e.message());
    }
    try {
        evaluator.calc(QStringLiteral("1/0")).toText();
        FAIL() << "no exception";
    } catch (const lb::Error& e) {
        EXPECT_EQ(QStringLiteral("Error in expression : Cannot divide by 0"), e.message());
    }
    EXPECT_FALSE(evaluator.prepared());
}

} // namespace
} // namespace lb::report
