// The figures a command moves, on numbers: rows taken again, the limit, and the writing of each
// column by its name.
#include "documents/DocumentFixture.h"
#include "documents/Moves.h"
#include "platform/sys/ExactAmount.h"

#include <limits>

using lb::documents::Moves;

namespace {

const QString product = QStringLiteral("product");
const QString sl = QStringLiteral("sl");
const QString outMonth = QStringLiteral("sl_out_m");
const QString outYear = QStringLiteral("sl_out_y");

} // namespace

// A product on two lines, and a line read again by the join (once for each account its code
// names), bring the row again with what the table holds: it keeps what was moved so far and
// moves by every line.
TEST(Moves, ARowTakenAgainKeepsWhatWasMovedAndMovesByEveryLine)
{
    Moves moves;
    Moves::Row& first = moves.row(product, 7);
    first.take(sl, 50);
    first.take(outMonth, 1);
    first.add(sl, -4);
    first.add(outMonth, 4);
    Moves::Row& again = moves.row(product, 7);
    again.take(sl, 50);
    again.take(outYear, 9);
    again.add(sl, -2);
    again.add(outMonth, 2);
    again.add(outYear, 2);
    EXPECT_EQ(44, moves.row(product, 7).value(sl));
    EXPECT_EQ(7, moves.row(product, 7).value(outMonth));
    EXPECT_EQ(11, moves.row(product, 7).value(outYear));
    // The same rowid in another table is another row.
    moves.row(QStringLiteral("customer"), 7).take(QStringLiteral("balance"), 3);
    EXPECT_EQ(3, moves.row(QStringLiteral("customer"), 7).value(QStringLiteral("balance")));
    EXPECT_EQ(44, moves.row(product, 7).value(sl));
    EXPECT_THROW(moves.row(product, 7).add(QStringLiteral("sl_s"), 1), lb::Error);
    EXPECT_THROW(moves.row(product, 8).set(sl, 1), lb::Error);
}

// Every figure is checked before anything is written: one that reaches the limit either way,
// or is no number, makes the moves inexact, whether it was taken so or moved there.
TEST(Moves, AFigureAtTheLimitOrNoNumberIsNotExact)
{
    const double limit = lb::kMaxExactAmount;
    const double belowLimit = std::nextafter(limit, 0.0);
    const struct {
        double taken;
        double moved;
        bool exact;
    } cases[] = {
        {0, belowLimit, true},
        {0, -belowLimit, true},
        {belowLimit - 1, 1, true},
        {belowLimit, 0, true},
        {limit - 1, 1, false},
        {-limit + 1, -1, false},
        {limit, -limit, true}, // moved back below
        {limit, 0, false},
        {0, std::numeric_limits<double>::quiet_NaN(), false},
        {0, std::numeric_limits<double>::infinity(), false},
    };
    for (const auto& c : cases) {
        Moves moves;
        moves.row(product, 1).take(outMonth, 5);
        Moves::Row& row = moves.row(product, 2);
        row.take(sl, c.taken);
        row.add(sl, c.moved);
        EXPECT_EQ(c.exact, moves.exact()) << c.taken << " + " << c.moved;
    }
}

class MovesWriteTest : public DocumentFixture {};

// Each column is written by its name into its own row, also where rows of one table take their
// columns in another order or the statement is the one kept from the command before.
TEST_F(MovesWriteTest, EveryColumnGoesIntoItsOwnRowByName)
{
    const QString flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 50.0}, {"sl_out_m", 1.0}});
    const QString rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 20.0}, {"sl_out_m", 2.0}});
    const auto rowId = [&](const QString& intno) {
        return scalar(QStringLiteral("select _rowid_ from product where intno=:p1"), {intno}).toLongLong();
    };
    for (int command = 0; command < 2; ++command) {
        Moves moves;
        Moves::Row& first = moves.row(product, rowId(flour));
        first.take(sl, 50 - command * 3);
        first.take(outMonth, 1 + command * 3);
        first.add(sl, -3);
        first.add(outMonth, 3);
        Moves::Row& second = moves.row(product, rowId(rice));
        second.take(outMonth, 2);
        second.take(sl, 20);
        second.set(outMonth, 8);
        second.set(sl, 12);
        moves.write(db());
        EXPECT_EQ(QStringLiteral("%1|%2").arg(47 - command * 3).arg(4 + command * 3),
                  row(QStringLiteral("select sl, sl_out_m from product where intno=:p1"), {flour}));
        EXPECT_EQ(QStringLiteral("12|8"), row(QStringLiteral("select sl, sl_out_m from product where intno=:p1"), {rice}));
    }
}

// Rows of one table that take other columns, of the same number and the same lengths of name,
// are written by a statement of their own: each figure goes into its own column.
TEST_F(MovesWriteTest, RowsOfOneTableWithOtherColumnsEachWriteTheirOwn)
{
    const QString flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 50.0}, {"sl_out_m", 1.0}, {"sl_out_y", 9.0}});
    const QString rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 20.0}, {"sl_out_m", 2.0}, {"sl_out_y", 6.0}});
    const auto rowId = [&](const QString& intno) {
        return scalar(QStringLiteral("select _rowid_ from product where intno=:p1"), {intno}).toLongLong();
    };
    Moves moves;
    Moves::Row& first = moves.row(product, rowId(flour));
    first.take(sl, 50);
    first.take(outMonth, 1);
    first.add(sl, -3);
    first.add(outMonth, 3);
    Moves::Row& second = moves.row(product, rowId(rice));
    second.take(sl, 20);
    second.take(outYear, 6);
    second.add(sl, -5);
    second.add(outYear, 5);
    moves.write(db());
    const QString select = QStringLiteral("select sl, sl_out_m, sl_out_y from product where intno=:p1");
    EXPECT_EQ(QStringLiteral("47|4|9"), row(select, {flour}));
    EXPECT_EQ(QStringLiteral("15|2|11"), row(select, {rice}));
}
