// A fixture with one row of every kind the period procedures change, and a snapshot of the
// whole database to prove that a failed procedure left it as it was.
#pragma once

#include "CoreFixture.h"

#include "core/PeriodProcedures.h"
#include "core/Schema.h"

class PeriodFixture : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        // One commit for the whole seed: a commit per row waits for the disk each time.
        lb::db::Transaction seed(db());
        makeCustomer(QStringLiteral("C1"), QStringLiteral("客户一"), money());
        makeSupplier(QStringLiteral("S1"), QStringLiteral("供应商一"), money());
        makeAccount(QStringLiteral("B1"), QStringLiteral("银行一"), money());
        makeProduct(QStringLiteral("P1"), QStringLiteral("货品一"),
                    {{QStringLiteral("rest"), 20}, {QStringLiteral("sl"), 17}, {QStringLiteral("sl_out_m"), 3},
                     {QStringLiteral("sl_in_m"), 1}, {QStringLiteral("sl_out_y"), 8}, {QStringLiteral("sl_in_y"), 5}});
        for (const QString& table : lb::core::PeriodProcedures::documentTables())
            insertRow(table, {{QStringLiteral("customerid"), QStringLiteral("C1")}});
        exec(QStringLiteral("update nextno set intno='57' where tablename='cproduct'"));
        for (const auto& [name, number] : std::vector<std::pair<QVariant, QString>>{
                 {QStringLiteral("Cproduct"), QStringLiteral("31")}, {QStringLiteral("CUSTOMER"), QStringLiteral("12")},
                 {QStringLiteral("outlist"), QStringLiteral("88")}, {QVariant(), QStringLiteral("5")},
                 {QStringLiteral("product "), QStringLiteral("9")}, {QStringLiteral("bank"), QStringLiteral("21")},
                 {QStringLiteral("Branch"), QStringLiteral("22")}, {QStringLiteral("EMPLOYEE"), QStringLiteral("23")},
                 {QStringLiteral("store"), QStringLiteral("24")}, {QStringLiteral("PRODUCT"), QStringLiteral("25")}})
            insertRow(QStringLiteral("nextno"), {{QStringLiteral("tablename"), name}, {QStringLiteral("intno"), number}});
        seed.commit();
    }

    // The party money columns: rest 3, amount 5, deduck 1, pay 2, amount_y 9, deduck_y 4,
    // pay_y 6, balance 7.
    static Values money()
    {
        return {{QStringLiteral("rest"), 3},     {QStringLiteral("amount"), 5},   {QStringLiteral("deduck"), 1},
                {QStringLiteral("pay"), 2},      {QStringLiteral("amount_y"), 9}, {QStringLiteral("deduck_y"), 4},
                {QStringLiteral("pay_y"), 6},    {QStringLiteral("balance"), 7}};
    }

    // The values of `columns` in the row seeded last.
    QVariantList row(const QString& table, const QString& columns)
    {
        lb::db::Query query(db());
        query.sql().add(QStringLiteral("select %1 from %2 order by rowid desc").arg(columns, table));
        query.open();
        QVariantList values;
        for (int i = 0; i < query.fieldCount(); ++i)
            values << query.field(i).value();
        return values;
    }

    // Every row of every table as text, in storage order.
    QStringList snapshot()
    {
        QStringList lines;
        for (const auto& table : lb::core::Schema::tables()) {
            lb::db::Query query(db());
            query.sql().add(QStringLiteral("select * from \"%1\" order by rowid").arg(table.name));
            query.open();
            for (query.first(); !query.eof(); query.next()) {
                QStringList values;
                for (int i = 0; i < query.fieldCount(); ++i)
                    values << (query.field(i).isNull() ? QStringLiteral("<null>") : query.field(i).asString());
                lines << table.name + QLatin1Char(':') + values.join(QLatin1Char('|'));
            }
        }
        return lines;
    }

    int documentRows()
    {
        int rows = 0;
        for (const QString& table : lb::core::PeriodProcedures::documentTables())
            rows += scalar(QStringLiteral("select count(*) from ") + table).toInt();
        return rows;
    }

    QStringList counters()
    {
        lb::db::Query query(db());
        query.sql().add(QStringLiteral("select coalesce(tablename,'<null>') || '=' || intno from nextno order by rowid"));
        query.open();
        QStringList lines;
        for (query.first(); !query.eof(); query.next())
            lines << query.field(0).asString();
        return lines;
    }

    // Makes the statement that writes `table` fail from now on (a failure part-way).
    void failWritesTo(const QString& table, const QString& what = QStringLiteral("DELETE"))
    {
        exec(QStringLiteral("create trigger injected_fault before %1 on %2 begin select raise(abort, 'injected fault'); end")
                 .arg(what, table));
    }
};
