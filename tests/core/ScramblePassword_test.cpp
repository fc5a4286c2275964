// Tests of the password transform: its frozen output, its shape, and the factory password.
#include "core/ScramblePassword.h"

#include <QStringList>
#include <gtest/gtest.h>

using lb::core::ScramblePassword;

TEST(ScramblePassword, FrozenVectors)
{
    // Stored passwords depend on these: changing the transform locks every operator out.
    EXPECT_EQ(QStringLiteral("QqRtSw"), ScramblePassword(QStringLiteral("888")));
    EXPECT_EQ(QStringLiteral("OtQdRnSxUhVr"), ScramblePassword(QStringLiteral("123456")));
    EXPECT_EQ(QString(), ScramblePassword(QString()));
    EXPECT_EQ(QStringLiteral("QqRtSw"), ScramblePassword(lb::core::FactoryAdminPassword));
}

TEST(ScramblePassword, ShapeAndSeparation)
{
    EXPECT_EQ(3, lb::core::FactoryAdminPassword.size());
    EXPECT_EQ(12, ScramblePassword(QStringLiteral("000000")).size());
    // Position matters, so a repeated digit does not repeat its pair.
    const QString zeros = ScramblePassword(QStringLiteral("000000"));
    EXPECT_NE(zeros.mid(0, 2), zeros.mid(2, 2));
    // Every six-digit password differing in one place gives a different result.
    for (int position = 0; position < 6; ++position) {
        QStringList seen;
        for (char digit = '0'; digit <= '9'; ++digit) {
            QString password = QStringLiteral("555555");
            password[position] = QLatin1Char(digit);
            seen << ScramblePassword(password);
        }
        seen.removeDuplicates();
        EXPECT_EQ(10, seen.size());
    }
}
