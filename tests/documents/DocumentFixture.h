// Fixture of the document tests: the master-data fixture with sales documents, their state and
// whole-table snapshots, and statements made to fail on purpose.
#pragma once

#include "documents/DocumentEditing.h"
#include "documents/DocumentKinds.h"
#include "documents/DocumentPosting.h"
#include "masterdata/MasterDataFixture.h"

#include <vector>

// One product line of a test document.
struct SaleLine {
    QString product; // intno of the product; empty: a line without product
    QString spmc;
    double sl = 0;
    double dj_n = 0;
    double deduck = 0;
    double pay = 0;
};

class DocumentFixture : public MasterDataFixture {
protected:
    static const lb::documents::DocumentKind& sales() { return lb::documents::DocumentKinds::of(lb::documents::BillKind::Sales); }
    static const lb::documents::DocumentKind& purchase() { return lb::documents::DocumentKinds::of(lb::documents::BillKind::Purchase); }
    static const lb::documents::DocumentKind& receipt() { return lb::documents::DocumentKinds::of(lb::documents::BillKind::Receipt); }

    // A recalculated open sales document of the customer: its carry-over line and `lines`,
    // dated 2026-06-15, paid into `account`. Returns its number.
    QString makeSale(const QString& customerId, const std::vector<SaleLine>& lines,
                     const QString& account = QStringLiteral("0000000001"))
    {
        std::vector<Values> rows;
        for (const SaleLine& line : lines) {
            const QString code = scalar(QStringLiteral("select sphh from product where intno=:p1"), {line.product}).toString();
            rows.push_back({{"spintno", line.product}, {"sphh", code}, {"spmc", line.spmc}, {"sl", line.sl},
                            {"dj_n", line.dj_n}, {"deduck", line.deduck}, {"pay", line.pay}});
        }
        return makeDocument(sales(), customerId, rows, account);
    }

    // A recalculated open document of `kind` for the party: its carry-over line and then one
    // line of each of `lines` (column values), dated 2026-06-15, with `account` in the
    // account box. Returns its number.
    QString makeDocument(const lb::documents::DocumentKind& kind, const QString& partyId, const std::vector<Values>& lines,
                         const QString& account = QStringLiteral("0000000001"))
    {
        const QString intno = lb::documents::DocumentPosting::create(db(), kind, QString());
        exec(QStringLiteral("delete from %1 where mainintno=:p1 and spmc<>'上期结转'").arg(kind.lineTable), {intno});
        for (Values line : lines) {
            line.emplace_back(QStringLiteral("mainintno"), intno);
            insertRow(kind.lineTable, std::move(line));
        }
        recalculate(kind, intno, partyId, account);
        return intno;
    }

    // The entry form's 刷新 on a stored sales document, with the boxes given.
    lb::documents::RecalcResult recalculate(const QString& intno, const QString& customerId,
                                            const QString& account = QStringLiteral("0000000001"),
                                            const QString& date = QStringLiteral("2026-06-15"))
    {
        return recalculate(sales(), intno, customerId, account, date);
    }

    // The entry form's 刷新 on a stored document of `kind`: the party box, the account box
    // (the paper number where the kind keeps one), the date box, the rest empty.
    lb::documents::RecalcResult recalculate(const lb::documents::DocumentKind& kind, const QString& intno, const QString& partyId,
                                            const QString& account = QStringLiteral("0000000001"),
                                            const QString& date = QStringLiteral("2026-06-15"))
    {
        lb::db::Query header(db());
        header.sql().add(QStringLiteral("select * from %1 where intno=:p1").arg(kind.headerTable));
        header.paramByName(QStringLiteral("p1")).setAsString(intno);
        header.open();
        lb::db::Query lines(db());
        lines.sql().add(QStringLiteral("select * from %1 where mainintno=:p1 order by intno").arg(kind.lineTable));
        lines.paramByName(QStringLiteral("p1")).setAsString(intno);
        lines.open();
        lb::documents::HeaderBoxes boxes;
        boxes.partyCode = partyId;
        boxes.billdate = date;
        boxes.bankid = account;
        boxes.djh = account;
        return lb::documents::DocumentEditing::recalculate(kind, intno, header, lines, boxes);
    }

    double number(const QString& sql, const QVariantList& params = {}) { return scalar(sql, params).toDouble(); }

    // The rows of a query (parameters :p1, :p2, ...), each as its values' text joined by "|":
    // numbers in their shortest form ("265", "0.5"), flags "True" or "False", dates "yyyy-mm-dd".
    QStringList rows(const QString& sql, const QVariantList& params = {})
    {
        lb::db::Query query(db());
        query.sql().add(sql);
        for (int i = 0; i < params.size(); ++i)
            query.paramByName(QStringLiteral("p%1").arg(i + 1)).setValue(params[i]);
        query.open();
        QStringList result;
        for (query.first(); !query.eof(); query.next()) {
            QStringList values;
            for (int i = 0; i < query.fieldCount(); ++i)
                values << query.field(i).asString();
            result << values.join(QLatin1Char('|'));
        }
        return result;
    }
    QString row(const QString& sql, const QVariantList& params = {}) { return rows(sql, params).value(0); }

    // Every row of every table, as text: what a command that fails must leave unchanged. The
    // error log, where a window records the failure, is left out.
    QStringList everyTable()
    {
        QStringList rows;
        for (const auto& table : lb::core::Schema::tables()) {
            if (table.name == QLatin1String("apperror"))
                continue;
            lb::db::Query all(db());
            all.sql().add(QStringLiteral("select * from \"%1\" order by rowid").arg(table.name));
            all.open();
            for (all.first(); !all.eof(); all.next()) {
                QStringList values{table.name};
                for (int i = 0; i < all.fieldCount(); ++i)
                    values << all.field(i).asString();
                rows << values.join(QLatin1Char('|'));
            }
        }
        return rows;
    }

    // From now on the write after the first `writes` row writes (inserts, updates, deletes of
    // any table) fails; every write counts, and the failing one raises a database error.
    void failAfterWrites(int writes)
    {
        if (!faultsInstalled_) {
            exec(QStringLiteral("create temp table lb_fault (n integer)"));
            exec(QStringLiteral("insert into lb_fault values (-1)"));
            for (const auto& table : lb::core::Schema::tables()) {
                for (const char* operation : {"insert", "update", "delete"}) {
                    exec(QStringLiteral("create temp trigger \"lb_fault_%1_%2\" before %2 on main.\"%1\" begin"
                                        " select raise(abort, 'injected fault') where (select n from lb_fault) = 0;"
                                        " update lb_fault set n = n - 1; end")
                             .arg(table.name, QLatin1String(operation)));
                }
            }
            faultsInstalled_ = true;
        }
        exec(QStringLiteral("update lb_fault set n=:p1"), {writes});
    }

    // Every write into `table` fails from now on (other tables stay writable).
    void failWritesTo(const QString& table)
    {
        for (const char* operation : {"insert", "update", "delete"}) {
            exec(QStringLiteral("create temp trigger \"lb_broken_%1_%2\" before %2 on main.\"%1\" begin"
                                " select raise(abort, 'injected fault'); end")
                     .arg(table, QLatin1String(operation)));
        }
    }

    // Writes into `table` go through again.
    void mendWritesTo(const QString& table)
    {
        for (const char* operation : {"insert", "update", "delete"})
            exec(QStringLiteral("drop trigger temp.\"lb_broken_%1_%2\"").arg(table, QLatin1String(operation)));
    }

    // Runs `command` with the first, second, ... write made to fail until it runs through,
    // checking each time that a failure leaves every table as it was. Returns the number of
    // writes the command made.
    template <class Command>
    int failEachWrite(Command command)
    {
        for (int writes = 0; writes < 1000; ++writes) {
            const QStringList before = everyTable();
            failAfterWrites(writes);
            try {
                command();
            } catch (const lb::DatabaseError&) {
                failAfterWrites(-1);
                EXPECT_EQ(before, everyTable()) << "after failing write " << writes + 1;
                continue;
            }
            failAfterWrites(-1);
            return writes;
        }
        ADD_FAILURE() << "the command never ran through";
        return -1;
    }

private:
    bool faultsInstalled_ = false;
};
