// The remembered period and the text of the date boxes: what is stored, read back and refused.
#include "SummaryFixture.h"

#include "platform/sys/Errors.h"

using lb::summaries::Period;
using lb::summaries::ReportPeriod;

namespace {

using ReportPeriodTest = SummaryFixture;

} // namespace

TEST_F(ReportPeriodTest, TheStoredPeriodIsReadBackAndTheProductListsOptionStays)
{
    exec(QStringLiteral("update dateconfig set bz=1"));
    ReportPeriod::store(db(), {QDate(2024, 3, 1), QDate(2024, 3, 31)});
    const Period read = ReportPeriod::load(db());
    EXPECT_EQ(QDate(2024, 3, 1), read.from);
    EXPECT_EQ(QDate(2024, 3, 31), read.to);
    EXPECT_EQ(QStringLiteral("2024-03-01|2024-03-31|True"), row(QStringLiteral("select ksdate, jsdate, bz from dateconfig")));
    EXPECT_EQ(1, number(QStringLiteral("select count(*) from dateconfig")));
}

TEST_F(ReportPeriodTest, WithoutARowBothDatesAreTheZeroDateAndStoringAddsTheRow)
{
    exec(QStringLiteral("delete from dateconfig"));
    const Period read = ReportPeriod::load(db());
    EXPECT_EQ(QDate(1899, 12, 30), read.from);
    EXPECT_EQ(QDate(1899, 12, 30), read.to);
    ReportPeriod::store(db(), {QDate(2024, 5, 1), QDate(2024, 5, 2)});
    EXPECT_EQ((QStringList{"2024-05-01|2024-05-02|False"}), rows(QStringLiteral("select ksdate, jsdate, bz from dateconfig")));
}

TEST_F(ReportPeriodTest, BoxTextsAreDatesOrRefused)
{
    EXPECT_EQ(QDate(2024, 3, 1), ReportPeriod::parse(QStringLiteral("2024-03-01")));
    EXPECT_EQ(QDate(2024, 3, 1), ReportPeriod::parse(QStringLiteral("2024-3 -1 ")));
    for (const char* bad : {"    -  -  ", "", "2024-02-30", "2024-13-01", "2024-03-  ", "24-03-01"})
        EXPECT_THROW(ReportPeriod::parse(QLatin1String(bad)), lb::ConvertError) << bad;
    // The from-box is read first: a bad one stops the run whatever the to-box holds.
    EXPECT_THROW(ReportPeriod::parse(QStringLiteral("2024-03-01"), QStringLiteral("2024-04-31")), lb::ConvertError);
    EXPECT_TRUE(ReportPeriod::isEmptyBox(ReportPeriod::EmptyBox));
    EXPECT_FALSE(ReportPeriod::isEmptyBox(QStringLiteral("2024-03-01")));

    lb::Clock::set(QDateTime(QDate(2024, 5, 31), QTime(23, 59)));
    EXPECT_EQ(QDate(2024, 5, 31), ReportPeriod::today().from);
    EXPECT_EQ(QDate(2024, 6, 1), ReportPeriod::today().to);
}
