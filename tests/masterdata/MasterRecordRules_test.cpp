// Record numbers, proposed codes and the save checks of the master-data editors.
#include "masterdata/MasterRecordRules.h"

#include "masterdata/MasterDataFixture.h"

using lb::masterdata::MasterRecordRules;
using lb::masterdata::MasterTableRules;

namespace {

MasterTableRules rulesOf(const QString& table, int codeWidth = 10)
{
    MasterTableRules rules;
    rules.table = table;
    rules.codeWidth = codeWidth;
    return rules;
}

} // namespace

using MasterRecordRulesTest = MasterDataFixture;
using Check = MasterRecordRules::Check;

TEST_F(MasterRecordRulesTest, NumbersAndProposedCodes)
{
    const MasterRecordRules customers(db(), rulesOf("customer"));
    EXPECT_EQ(QStringLiteral("0000000001"), customers.proposedCode());
    insertRow("customer", {{"intno", "0000000009"}, {"id", "9"}});
    insertRow("customer", {{"intno", "0000000010"}, {"id", "10"}});
    EXPECT_EQ(QStringLiteral("0000000011"), customers.nextRecordNumber());

    // A warehouse code holds three characters: the proposal is what the column keeps.
    const MasterRecordRules stores(db(), rulesOf("store", 3));
    EXPECT_EQ(QStringLiteral("001"), stores.proposedCode());
    insertRow("store", {{"intno", "0000000012"}, {"id", "012"}});
    EXPECT_EQ(QStringLiteral("013"), stores.proposedCode());
    EXPECT_EQ(Check::DuplicateCode, stores.check(true, QStringLiteral("0120"), QStringLiteral("x"), QString()));
}

TEST_F(MasterRecordRulesTest, SaveChecksInBothModes)
{
    const QString first = makeCustomer("0001", "甲");
    makeCustomer("0002", "乙");
    const MasterRecordRules rules(db(), rulesOf("customer"));
    EXPECT_EQ(Check::EmptyCode, rules.check(true, QString(), QStringLiteral("丙"), QString()));
    EXPECT_EQ(Check::DuplicateCode, rules.check(true, QStringLiteral("0002"), QStringLiteral("丙"), QString()));
    EXPECT_EQ(Check::DuplicateName, rules.check(true, QStringLiteral("0003"), QStringLiteral("乙"), QString()));
    EXPECT_EQ(Check::Ok, rules.check(true, QStringLiteral("0003"), QStringLiteral("丙"), QString()));
    // Codes and names that differ only in the case of Latin letters are twins.
    const QString latin = makeCustomer("A1", "Acme");
    EXPECT_EQ(Check::DuplicateCode, rules.check(true, QStringLiteral("a1"), QStringLiteral("丙"), QString()));
    EXPECT_EQ(Check::DuplicateName, rules.check(true, QStringLiteral("0003"), QStringLiteral("ACME"), QString()));
    EXPECT_EQ(Check::Ok, rules.check(false, QStringLiteral("a1"), QStringLiteral("acme"), latin));
    // Modifying: the record's own code and name do not count; another's name is a question.
    EXPECT_EQ(Check::Ok, rules.check(false, QStringLiteral("0001"), QStringLiteral("甲"), first));
    EXPECT_EQ(Check::DuplicateCode, rules.check(false, QStringLiteral("0002"), QStringLiteral("甲"), first));
    EXPECT_EQ(Check::NameTaken, rules.check(false, QStringLiteral("0001"), QStringLiteral("乙"), first));
    EXPECT_EQ(QStringLiteral("该名称已存在,是否要保存这次修改?"), rules.message(Check::NameTaken));
    EXPECT_EQ(QStringLiteral("该编号已存在,不能再录入！ "), rules.message(Check::DuplicateCode));
}

TEST_F(MasterRecordRulesTest, InsertDropsTheSearchAndNumbersTheRow)
{
    makeCustomer("0001", "甲");
    const MasterRecordRules rules(db(), rulesOf("customer"));
    lb::db::Query& list = *dm().Aqcustomer;
    list.close();
    list.sql().clear();
    list.sql().add(QStringLiteral("SELECT * from customer where id='none'"));
    list.open();
    const QString intno = rules.insert(list, {{"id", "0002"}, {"name", "乙"}, {"Email", "a@b"}});
    EXPECT_EQ(QStringLiteral("0000000002"), intno);
    EXPECT_EQ(2, list.recordCount());
    EXPECT_EQ(QVariant("a@b"), scalar("select email from customer where intno=:p1", {intno}));
}
