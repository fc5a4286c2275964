// Tests of month-end, year-end and initialisation on the database: what each moves in every
// money and stock column, the documents and counters, and rollback when a statement fails.
#include "PeriodFixture.h"

using lb::core::PeriodProcedures;

namespace {

class PeriodProceduresTest : public PeriodFixture {};

// One column of the seeded rows: its value before, and after each procedure.
struct Change {
    const char* table;
    const char* column;
    double before;
    double monthEnd;
    double yearEnd;
    double initialise;
};

// Parties: rest 3, amount 5, deduck 1, pay 2, amount_y 9, deduck_y 4, pay_y 6, balance 7.
const Change changes[] = {
    {"customer", "rest", 3, 3, 7, 3},      {"customer", "amount", 5, 0, 5, 0},
    {"customer", "deduck", 1, 0, 1, 0},    {"customer", "pay", 2, 0, 2, 0},
    {"customer", "amount_y", 9, 9, 0, 0},  {"customer", "deduck_y", 4, 4, 0, 0},
    {"customer", "pay_y", 6, 6, 0, 0},     {"customer", "balance", 7, 7, 7, 3},
    {"branch", "rest", 3, 3, 7, 3},        {"branch", "amount", 5, 0, 5, 0},
    {"branch", "deduck", 1, 0, 1, 0},      {"branch", "pay", 2, 0, 2, 0},
    {"branch", "amount_y", 9, 9, 0, 0},    {"branch", "deduck_y", 4, 4, 0, 0},
    {"branch", "pay_y", 6, 6, 0, 0},       {"branch", "balance", 7, 7, 7, 3},
    // Accounts never lose their deductions.
    {"bank", "rest", 3, 3, 7, 3},          {"bank", "amount", 5, 0, 5, 0},
    {"bank", "deduck", 1, 1, 1, 1},        {"bank", "pay", 2, 0, 2, 0},
    {"bank", "amount_y", 9, 9, 0, 0},      {"bank", "deduck_y", 4, 4, 4, 4},
    {"bank", "pay_y", 6, 6, 0, 0},         {"bank", "balance", 7, 7, 7, 3},
    {"product", "rest", 20, 20, 17, 20},   {"product", "sl", 17, 17, 17, 20},
    {"product", "sl_out_m", 3, 0, 3, 0},   {"product", "sl_in_m", 1, 0, 1, 0},
    {"product", "sl_out_y", 8, 8, 0, 0},   {"product", "sl_in_y", 5, 5, 0, 0},
};

enum class Step { Before, MonthEnd, YearEnd, Initialise };

double expected(const Change& change, Step step)
{
    switch (step) {
    case Step::Before: return change.before;
    case Step::MonthEnd: return change.monthEnd;
    case Step::YearEnd: return change.yearEnd;
    case Step::Initialise: return change.initialise;
    }
    return 0;
}

// The counters as seeded: cproduct 57, Cproduct 31, CUSTOMER 12, outlist 88, a nameless 5,
// "product " (a trailing blank: not the name PRODUCT) 9, and one of each other master table in
// any letter case, which keep theirs.
const QStringList seededCounters{"cproduct=57", "Cproduct=31", "CUSTOMER=12", "outlist=88", "<null>=5", "product =9",
                                 "bank=21",     "Branch=22",   "EMPLOYEE=23", "store=24",   "PRODUCT=25"};
const QStringList resetCounters{"cproduct=57", "Cproduct=31", "CUSTOMER=12", "outlist=1", "<null>=1", "product =1",
                                "bank=21",     "Branch=22",   "EMPLOYEE=23", "store=24",  "PRODUCT=25"};

} // namespace

class PeriodColumns : public PeriodProceduresTest, public ::testing::WithParamInterface<Step> {};

TEST_P(PeriodColumns, ProcedureMovesEveryColumnAsItsTableSays)
{
    const Step step = GetParam();
    for (const Change& c : changes)
        ASSERT_EQ(expected(c, Step::Before), row(QString::fromLatin1(c.table), QString::fromLatin1(c.column)).value(0).toDouble());

    switch (step) {
    case Step::MonthEnd: PeriodProcedures::monthEnd(*dm().AQcom); break;
    case Step::YearEnd: PeriodProcedures::closeYear(*dm().AQcom); break;
    case Step::Initialise: PeriodProcedures::initialise(*dm().AQcom); break;
    case Step::Before: break;
    }
    for (const Change& c : changes)
        EXPECT_EQ(expected(c, step), row(QString::fromLatin1(c.table), QString::fromLatin1(c.column)).value(0).toDouble())
            << c.table << "." << c.column;
    EXPECT_EQ(step == Step::MonthEnd ? 14 : 0, documentRows());
    EXPECT_EQ(step == Step::MonthEnd ? seededCounters : resetCounters, counters());
    // Master data rows stay.
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from customer")).toInt());
    EXPECT_EQ(2, scalar(QStringLiteral("select count(*) from bank")).toInt()); // the cash account too
    EXPECT_FALSE(dm().AQcom->active());
}

INSTANTIATE_TEST_SUITE_P(Procedures, PeriodColumns, ::testing::Values(Step::MonthEnd, Step::YearEnd, Step::Initialise));

TEST_F(PeriodProceduresTest, MonthEndTwiceChangesNothingMore)
{
    PeriodProcedures::monthEnd(*dm().AQcom);
    EXPECT_EQ((QVariantList{0.0, 0.0, 0.0, 9.0}), row(QStringLiteral("customer"), QStringLiteral("amount,deduck,pay,amount_y")));
    const QStringList once = snapshot();
    PeriodProcedures::monthEnd(*dm().AQcom);
    EXPECT_EQ(once, snapshot());
}

TEST_F(PeriodProceduresTest, AStatementFailingPartWayLeavesTheDatabaseAsItWas)
{
    // Each procedure's last statement fails, after every other one has run.
    const QStringList before = snapshot();
    failWritesTo(QStringLiteral("bank"), QStringLiteral("UPDATE"));
    EXPECT_THROW(PeriodProcedures::monthEnd(*dm().AQcom), lb::DatabaseError);
    EXPECT_EQ(before, snapshot());
    exec(QStringLiteral("drop trigger injected_fault"));

    failWritesTo(QStringLiteral("dhdetail"));
    EXPECT_THROW(PeriodProcedures::closeYear(*dm().AQcom), lb::DatabaseError);
    EXPECT_EQ(before, snapshot());
    EXPECT_THROW(PeriodProcedures::initialise(*dm().AQcom), lb::DatabaseError);
    EXPECT_EQ(before, snapshot());
    EXPECT_FALSE(dm().AQcom->active());

    // The connection is usable afterwards: the same procedure succeeds once the fault is gone.
    exec(QStringLiteral("drop trigger injected_fault"));
    PeriodProcedures::closeYear(*dm().AQcom);
    EXPECT_EQ(0, documentRows());
}

TEST_F(PeriodProceduresTest, AnnualBackupYearIsTheYearOfSixtyDaysAgo)
{
    const struct {
        QDate today;
        const char* year;
    } cases[] = {
        {QDate(2026, 2, 28), "2025"}, {QDate(2026, 3, 1), "2025"}, {QDate(2026, 3, 2), "2026"},
        {QDate(2024, 2, 29), "2023"}, {QDate(2024, 3, 1), "2024"}, {QDate(2026, 12, 31), "2026"},
        {QDate(2026, 1, 1), "2025"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QString::fromLatin1(c.year), PeriodProcedures::annualBackupYear(c.today)) << c.today.toString().toStdString();
}
