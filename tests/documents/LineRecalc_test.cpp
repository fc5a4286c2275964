// The recalculation of sales lines: amounts, running balances, totals and the summary text.
#include "documents/LineRecalc.h"

#include <gtest/gtest.h>

using lb::documents::LineRecalc;
using lb::documents::RecalcLine;

namespace {

RecalcLine line(const char* name, double sl, double price, double deduck = 0, double pay = 0)
{
    RecalcLine l;
    l.spmc = QString::fromUtf8(name);
    l.sl = sl;
    l.dj_n = price;
    l.deduck = deduck;
    l.pay = pay;
    return l;
}

struct Case {
    const char* title;
    double opening;
    std::vector<RecalcLine> lines;
    std::vector<double> amounts;
    std::vector<double> rests;
    double amount, deduck, pay, hjsl, rest;
    const char* remark;
};

} // namespace

TEST(LineRecalcTest, SalesLinesGiveAmountsRunningBalancesTotalsAndSummary)
{
    const std::vector<Case> cases = {
        {"carry-over line only", 100, {}, {}, {}, 0, 0, 0, 0, 100, "销售商品:"},
        {"deduction and payment", 100, {line("面粉", 2, 10, 1, 5), line("大米", 3, 4)}, {20, 12}, {114, 126}, 32, 1, 5, 5, 126,
         "销售商品:面粉、大米"},
        {"blank line between", 0, {line("甲", 1, 1), line("", 0, 0), line("乙", 1, 2)}, {1, 0, 2}, {1, 1, 3}, 3, 0, 0, 2, 3,
         "销售商品:甲、乙"},
        {"blank lines first and last", -50, {line("", 0, 0), line("甲", 2, 3), line("  ", 0, 0)}, {0, 6, 0}, {-50, -44, -44},
         6, 0, 0, 2, -44, "销售商品:甲"},
        {"payment larger than the goods", 10, {line("甲", 1, 5, 0, 20)}, {5}, {-5}, 5, 0, 20, 1, -5, "销售商品:甲"},
    };
    for (const Case& c : cases) {
        std::vector<RecalcLine> lines = c.lines;
        const auto totals = LineRecalc::recalculate(LineRecalc::sales(), c.opening, lines);
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(c.amounts[i], lines[i].amount) << c.title << " line " << i;
            EXPECT_EQ(c.rests[i], lines[i].rest) << c.title << " line " << i;
        }
        EXPECT_EQ(c.amount, totals.amount) << c.title;
        EXPECT_EQ(c.deduck, totals.deduck) << c.title;
        EXPECT_EQ(c.pay, totals.pay) << c.title;
        EXPECT_EQ(c.hjsl, totals.hjsl) << c.title;
        EXPECT_EQ(c.rest, totals.rest) << c.title;
        EXPECT_EQ(QString::fromUtf8(c.remark), totals.remark) << c.title;
    }
}

TEST(LineRecalcTest, PacksAndBoxesAreSummedAndTheRunningBalanceIsAddedInTheLinesOrder)
{
    std::vector<RecalcLine> lines{line("甲", 0.1, 1, 0.2, 0.3)};
    lines[0].js = 2;
    lines[0].ss = 3;
    const auto totals = LineRecalc::recalculate(LineRecalc::sales(), 0.7, lines);
    EXPECT_EQ(2, totals.hjjs);
    EXPECT_EQ(3, totals.hjss);
    // Stored as computed: balance + amount - deduction - payment, from left to right.
    const double expected = 0.7 + 0.1 - 0.2 - 0.3;
    EXPECT_EQ(expected, lines[0].rest);
    EXPECT_EQ(expected, totals.rest);
}
