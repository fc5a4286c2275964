// The core test fixture with the main window's shared state, and helpers that make master rows.
#pragma once

#include "core/CoreFixture.h"

#include <QStringList>
#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QVariant& value, std::ostream* out) { *out << value.toString().toStdString(); }

class MasterDataFixture : public CoreFixture {
protected:
    QStringList column(const QString& sql)
    {
        lb::db::Query query(db());
        query.sql().add(sql);
        query.open();
        QStringList values;
        for (query.first(); !query.eof(); query.next())
            values << query.field(0).asString();
        return values;
    }

    QString makeEmployee(const QString& id, const QString& name, Values more = {})
    {
        more.emplace_back(QStringLiteral("id"), id);
        more.emplace_back(QStringLiteral("name"), name);
        return insertRow(QStringLiteral("employee"), std::move(more));
    }

    // While `refused`, every write into `table` fails with a database error, as books that
    // cannot be written for a moment; the other tables stay writable.
    void refuseWritesTo(const QString& table, bool refused)
    {
        for (const char* operation : {"insert", "update", "delete"}) {
            const QString trigger = QStringLiteral("\"lb_refused_%1_%2\"").arg(table, QLatin1String(operation));
            if (refused)
                exec(QStringLiteral("create temp trigger %1 before %2 on main.\"%3\" begin"
                                    " select raise(abort, 'the books cannot be written'); end")
                         .arg(trigger, QLatin1String(operation), table));
            else
                exec(QStringLiteral("drop trigger if exists %1").arg(trigger));
        }
    }

    // A document line of the sales line table.
    QString makeLine(const QString& spmc = QString())
    {
        return insertRow(QStringLiteral("outdetail"),
                         {{QStringLiteral("mainintno"), QStringLiteral("0000000001")}, {QStringLiteral("spmc"), spmc}});
    }
};
