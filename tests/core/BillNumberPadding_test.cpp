// Tests of record numbering: the next intno of a table and the steps of the nextno counter.
#include "core/CoreFixture.h"

#include "platform/sys/Errors.h"

using lb::core::BillNumberPadding;
using lb::core::nextIntno;
using lb::core::nextIntnoAfter;
using lb::core::takeNextNo;

namespace {
class Numbering : public CoreFixture {};
}

TEST_F(Numbering, PaddingAndTheNumberAfterAStoredOne)
{
    EXPECT_EQ(QStringLiteral("0000000001"), BillNumberPadding(1));
    EXPECT_EQ(QStringLiteral("0000000011"), BillNumberPadding(11));
    EXPECT_EQ(QStringLiteral("1234567890"), BillNumberPadding(1234567890));
    EXPECT_EQ(QStringLiteral("0000000001"), nextIntnoAfter(QString()));
    EXPECT_EQ(QStringLiteral("0000000042"), nextIntnoAfter(QStringLiteral(" 41 ")));
    EXPECT_THROW(nextIntnoAfter(QStringLiteral("00000000A1")), lb::ConvertError);
}

TEST_F(Numbering, NextIntnoFollowsTheHighestStoredNumber)
{
    EXPECT_EQ(QStringLiteral("0000000001"), nextIntno(db(), QStringLiteral("outlist")));
    insertRow(QStringLiteral("outdetail"), {{"intno", QStringLiteral("0000000009")}});
    insertRow(QStringLiteral("outdetail"), {{"intno", QStringLiteral("0000000010")}});
    // Blank lines (left by an entry form) do not disturb the numbering.
    exec(QStringLiteral("insert into outdetail (intno) values ('')"));
    exec(QStringLiteral("insert into outdetail (spmc) values ('x')"));
    EXPECT_EQ(QStringLiteral("0000000011"), nextIntno(db(), QStringLiteral("outdetail")));
    // The cash account shipped with the file counts like any row.
    EXPECT_EQ(QStringLiteral("0000000002"), nextIntno(db(), QStringLiteral("bank")));
}

TEST_F(Numbering, BadTablesAndNumbersAreRefused)
{
    insertRow(QStringLiteral("customer"), {{"intno", QStringLiteral("ABC")}});
    EXPECT_THROW(nextIntno(db(), QStringLiteral("customer")), lb::ConvertError);
    EXPECT_THROW(nextIntno(db(), QStringLiteral("config")), lb::Error);
    EXPECT_THROW(nextIntno(db(), QStringLiteral("customer; drop table product")), lb::Error);
}

TEST_F(Numbering, CounterStepsGiveTheStoredNumberAndStoreTheNext)
{
    EXPECT_EQ(QStringLiteral("0000000001"), takeNextNo(db(), QStringLiteral("cproduct")));
    EXPECT_EQ(QStringLiteral("0000000002"), takeNextNo(db(), QStringLiteral("cproduct")));
    EXPECT_EQ(QStringLiteral("3"), scalar(QStringLiteral("select intno from nextno where tablename='cproduct'")).toString());

    EXPECT_THROW(takeNextNo(db(), QStringLiteral("nosuch")), lb::Error);
    exec(QStringLiteral("update nextno set intno='x' where tablename='cproduct'"));
    EXPECT_THROW(takeNextNo(db(), QStringLiteral("cproduct")), lb::ConvertError);
    EXPECT_EQ(QStringLiteral("x"), scalar(QStringLiteral("select intno from nextno where tablename='cproduct'")).toString());
}
