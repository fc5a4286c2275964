// LIKE patterns built from user text match only what the text says.
#include "TestDatabase.h"

#include "platform/db/Query.h"
#include "platform/db/SqlText.h"

namespace lb::db::test {

using SqlTextTest = TestDatabase;

TEST_F(SqlTextTest, PrefixAndContainsPatternsTreatWildcardsAsText)
{
    connection.execute(QStringLiteral("INSERT INTO customer (id) VALUES ('10%a'), ('10xa'), ('1_b'), ('12b'), ('a\\b'), ('中文名'), ('x10%')"));
    Query q(connection);
    q.sql().add(QStringLiteral("SELECT id FROM customer WHERE id LIKE :p1 ESCAPE '\\' ORDER BY id"));
    auto ids = [&](const QString& pattern) {
        q.close();
        q.paramByName(QStringLiteral("p1")).setAsString(pattern);
        q.open();
        QStringList out;
        for (; !q.eof(); q.next())
            out << q["id"].asString();
        return out;
    };
    EXPECT_EQ(QStringList{QStringLiteral("10%a")}, ids(SqlText::likePrefix(QStringLiteral("10%"))));
    EXPECT_EQ(QStringList{QStringLiteral("1_b")}, ids(SqlText::likePrefix(QStringLiteral("1_"))));
    EXPECT_EQ(QStringList{QStringLiteral("a\\b")}, ids(SqlText::likePrefix(QStringLiteral("a\\"))));
    EXPECT_EQ(QStringList{QStringLiteral("中文名")}, ids(SqlText::likePrefix(QStringLiteral("中文"))));
    EXPECT_EQ((QStringList{QStringLiteral("10%a"), QStringLiteral("x10%")}), ids(SqlText::likeContains(QStringLiteral("10%"))));
}

TEST(SqlText, ParameterNamesSkipQuotesAndComments)
{
    EXPECT_EQ((QStringList{QStringLiteral("p1"), QStringLiteral("p2")}),
              SqlText::parameterNames(QStringLiteral("select ':x', \":y\" -- :z\n from t where a=:p1 /* :w */ and b=:p2 or c=:P1")));
}

} // namespace lb::db::test
