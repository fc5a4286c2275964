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

namespace {

RecalcLine packs(const char* name, double js, double sl_j, double price, double pay = 0, double ss = 0, double sl_s = 0)
{
    RecalcLine l;
    l.spmc = QString::fromUtf8(name);
    l.js = js;
    l.sl_j = sl_j;
    l.ss = ss;
    l.sl_s = sl_s;
    l.dj_w = price;
    l.pay = pay;
    l.sl = 99;   // replaced: the quantity is worked out from the packs
    l.dj_n = 7;  // the selling price plays no part in a purchase
    l.deduck = 3; // nor does a deduction
    return l;
}

struct PurchaseCase {
    const char* title;
    double opening;
    std::vector<RecalcLine> lines;
    std::vector<double> quantities;
    std::vector<double> amounts;
    std::vector<double> rests;
    double amount, pay, hjjs, hjsl, rest;
    const char* remark;
};

} // namespace

TEST(LineRecalcTest, PurchaseLinesCountPacksIntoStockAndPacksAndBoxesIntoTheAmount)
{
    const std::vector<PurchaseCase> cases = {
        {"three packs of twelve", 100, {packs("面粉", 3, 12, 2.5, 50)}, {36}, {90}, {140}, 90, 50, 3, 36, 140, "进货商品:面粉"},
        {"and two boxes of ten", 100, {packs("面粉", 3, 12, 2.5, 50, 2, 10)}, {36}, {140}, {190}, 140, 50, 3, 56, 190,
         "进货商品:面粉"},
        {"two lines and a trailing blank", -10, {packs("甲", 1, 6, 1), packs("乙", 2, 5, 0.5, 4), packs("", 0, 0, 0)}, {6, 10, 0},
         {6, 5, 0}, {-4, -3, -3}, 11, 4, 3, 16, -3, "进货商品:甲、乙"},
        {"only the carry-over line", 25, {}, {}, {}, {}, 0, 0, 0, 0, 25, "进货商品:"},
    };
    for (const PurchaseCase& c : cases) {
        std::vector<RecalcLine> lines = c.lines;
        const auto totals = LineRecalc::recalculate(LineRecalc::purchase(), c.opening, lines);
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(c.quantities[i], lines[i].sl) << c.title << " line " << i;
            EXPECT_EQ(c.amounts[i], lines[i].amount) << c.title << " line " << i;
            EXPECT_EQ(c.rests[i], lines[i].rest) << c.title << " line " << i;
        }
        EXPECT_EQ(c.amount, totals.amount) << c.title;
        EXPECT_EQ(c.pay, totals.pay) << c.title;
        EXPECT_EQ(c.hjjs, totals.hjjs) << c.title;
        EXPECT_EQ(c.hjsl, totals.hjsl) << c.title;
        EXPECT_EQ(c.rest, totals.rest) << c.title;
        EXPECT_EQ(QString::fromUtf8(c.remark), totals.remark) << c.title;
    }
    // Only the totals a purchase has reach its header.
    EXPECT_EQ((QStringList{"amount", "rest", "pay", "hjjs", "hjsl"}), LineRecalc::purchase().headerColumns);
}

TEST(LineRecalcTest, ReceiptLinesLowerTheBalanceByWhatWasReceivedAndWrittenOff)
{
    RecalcLine cash;
    cash.spmc = QStringLiteral("现金");
    cash.amount = 200;
    RecalcLine bank;
    bank.spmc = QStringLiteral("工商银行");
    bank.amount = 100;
    bank.deduck = 20;
    bank.sl = 5; // a receipt has no quantities
    std::vector<RecalcLine> lines{cash, bank};
    const auto totals = LineRecalc::recalculate(LineRecalc::receipt(), 500, lines);
    EXPECT_EQ(200, lines[0].amount);
    EXPECT_EQ(300, lines[0].rest);
    EXPECT_EQ(100, lines[1].amount);
    EXPECT_EQ(180, lines[1].rest);
    EXPECT_EQ(300, totals.amount);
    EXPECT_EQ(20, totals.deduck);
    EXPECT_EQ(180, totals.rest);
    EXPECT_EQ(QStringLiteral("收款的现金银行帐:现金、工商银行"), totals.remark);
    EXPECT_EQ((QStringList{"amount", "rest", "deduck"}), LineRecalc::receipt().headerColumns);
}
