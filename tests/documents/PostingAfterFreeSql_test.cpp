// The administrator's free SQL leaves the session the program posts in as it was: a statement
// that would set a pragma or make a temporary trigger is refused, and the next sale posts right.
#include "documents/DocumentFixture.h"

#include "core/DataTool.h"

using lb::core::DataTool;
using lb::documents::DocumentPosting;

// query_only is set while the statement is merely prepared: it made every later posting fail
// until a restart. A temporary trigger outlived the statement and zeroed the balance a sale sets.
TEST_F(DocumentFixture, ASalePostsRightAfterFreeSqlThatWouldChangeTheSession)
{
    makeCustomer(QStringLiteral("C001"), QStringLiteral("张三"), {{"balance", 200.0}});
    const QString flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 50.0}});
    const QString sale = makeSale(QStringLiteral("C001"), {{flour, QStringLiteral("面粉"), 4, 20, 5, 30}});

    EXPECT_EQ(DataTool::Refusal::SeveralStatements,
              DataTool::execute(*dm().AQcom, {QStringLiteral("pragma query_only=1; select 1")}));
    EXPECT_EQ(DataTool::Refusal::SessionSettings,
              DataTool::execute(*dm().AQcom, {QStringLiteral("create temp trigger zero after update on customer"),
                                              QStringLiteral("begin update customer set balance=0; end")}));

    const lb::documents::Outcome outcome = DocumentPosting::post(db(), sales(), sale, QStringLiteral("C001"), QStringLiteral("0000000001"));
    EXPECT_FALSE(outcome.refused) << outcome.message.toStdString();
    EXPECT_EQ(245, number(QStringLiteral("select balance from customer where id='C001'")));
    EXPECT_EQ(46, number(QStringLiteral("select sl from product where intno=:p1"), {flour}));
}
