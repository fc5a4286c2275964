// Test fixture of every folder's tests: a program folder with a fresh database and a connected
// data module, scripted message boxes, a fixed clock, and small helpers that make rows.
#pragma once

#include "core/BillNumberPadding.h"
#include "core/NewDatabase.h"
#include "core/Schema.h"
#include "core/Tfrdm.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"
#include "platform/ui/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

// Header only, so that the test programs of every folder can use it.
//
// SetUp: a temporary program folder (lb::AppPaths points there), works/kvdb.mdb made by the
// schema code, the data module `frdm` created and ADOCon connected to that file, the clock
// fixed at 2026-06-15 10:00, and `dialogs` answering message boxes (queue answers on it;
// unexpected questions get Cancel/No and count in dialogs.unanswered()).
// TearDown undoes all of it. Fixtures that need another database override makeDatabase().
class CoreFixture : public ::testing::Test {
public:
    using Values = std::vector<std::pair<QString, QVariant>>;

protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        lb::AppPaths::setProgramFolder(folder.path());
        lb::Clock::set(QDateTime(QDate(2026, 6, 15), QTime(10, 0)));
        makeDatabase(lb::AppPaths::databaseFile());
        module = std::make_unique<lb::core::Tfrdm>();
        frdm = module.get();
        dm().ADOCon.setDatabaseFile(lb::AppPaths::databaseFile());
        dm().ADOCon.open();
    }

    void TearDown() override
    {
        module.reset();
        lb::Clock::reset();
        lb::AppPaths::setProgramFolder(QString());
    }

    // The database the test starts with; the fresh file of an installation by default.
    virtual void makeDatabase(const QString& path) { lb::core::NewDatabase::create(path); }

    lb::core::Tfrdm& dm() { return *module; }
    lb::db::Connection& db() { return module->ADOCon; }

    // Runs one statement (no rows) with parameters :p1, :p2, ... bound in order.
    int exec(const QString& sql, const QVariantList& params = {})
    {
        lb::db::Query query(db());
        query.sql().add(sql);
        bind(query, params);
        return query.execSQL();
    }

    // The first column of the first row of a query; an invalid QVariant when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& params = {})
    {
        lb::db::Query query(db());
        query.sql().add(sql);
        bind(query, params);
        query.open();
        return query.isEmpty() ? QVariant() : query.field(0).value();
    }

    // The text log beside the books (the error log when the error table cannot take an entry,
    // and that of the commands that copy the books' files); empty when there is none.
    static QString errorLogText()
    {
        QFile log(lb::AppPaths::errorLogFile());
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    // The engine's plan of a statement (its parameters unbound), the steps joined: it names
    // the indexes the statement uses.
    QString queryPlan(const QString& sql)
    {
        lb::db::Query explain(db());
        explain.sql().setText(QStringLiteral("explain query plan ") + sql);
        explain.open();
        QString plan;
        for (explain.first(); !explain.eof(); explain.next())
            plan += explain.fieldByName(QStringLiteral("detail")).asString() + QLatin1Char(';');
        return plan;
    }

    // Overwrites the first page of `table` in the books' file with garbage, as a failing disk
    // does: the file still opens, but reading that table fails. Every connection to the file
    // must be closed before it is read again.
    void damageTable(const QString& table)
    {
        const qint64 page = scalar(QStringLiteral("select rootpage from sqlite_master where type='table' and name=:p1"), {table}).toLongLong();
        const qint64 size = scalar(QStringLiteral("pragma page_size")).toLongLong();
        QFile file(lb::AppPaths::databaseFile());
        ASSERT_TRUE(page > 1 && file.open(QIODevice::ReadWrite));
        file.seek((page - 1) * size);
        file.write(QByteArray(size, '\xAB'));
    }

    // Makes the index of product codes in the database file at `path` (every other connection
    // to it closed) disagree with the rows, as a failing disk can leave books: the index is
    // declared over the product names while its entries hold the codes of the products, one of
    // which is added here. The file opens and every page reads and passes the engine's quick
    // check; only its full integrity check finds the fault.
    static void makeIndexDisagree(const QString& path)
    {
        lb::db::Connection books;
        books.setDatabaseFile(path);
        books.open();
        books.execute(QStringLiteral("insert into product (intno, sphh, spmc) values ('0000009999', 'IX1', '索引不符')"));
        books.execute(QStringLiteral("PRAGMA writable_schema=ON"));
        books.execute(QStringLiteral("update sqlite_master set sql='CREATE INDEX \"ix_product_sphh\" ON \"product\" (\"spmc\")'"
                                     " where name='ix_product_sphh'"));
    }

    // What a copy of the works folder says of damaged books from before a restore: which file,
    // where it lies and what the user does with it.
    static QString damagedPrevious()
    {
        return QStringLiteral("恢复前的数据kvdb.mdb.prev已损坏,没有复制\nkvdb.mdb.prev是上次数据恢复前保存的数据,已经损坏。请把它从文件夹 ")
               + QDir::toNativeSeparators(lb::AppPaths::worksFolder()) + QStringLiteral(" 中移走(或删除),然后重新操作。");
    }

    // Appends a row to a schema table; a table with an intno column gets the next intno unless
    // one is given. Returns that intno (empty for tables without one).
    QString insertRow(const QString& table, Values values)
    {
        const lb::core::TableDef& def = lb::core::Schema::table(table);
        QString intno;
        if (def.find(QStringLiteral("intno"))) {
            for (const auto& [name, value] : values)
                if (name == QLatin1String("intno"))
                    intno = value.toString();
            if (intno.isEmpty()) {
                intno = lb::core::nextIntno(db(), def.name);
                values.emplace_back(QStringLiteral("intno"), intno);
            }
        }
        QStringList names;
        QStringList marks;
        QVariantList params;
        for (const auto& [name, value] : values) {
            names << QStringLiteral("\"%1\"").arg(name);
            marks << QStringLiteral(":p%1").arg(marks.size() + 1);
            params << value;
        }
        exec(QStringLiteral("insert into \"%1\" (%2) values (%3)")
                 .arg(def.name, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
             params);
        return intno;
    }

    QString makeProduct(const QString& sphh, const QString& spmc, Values more = {})
    {
        more.emplace_back(QStringLiteral("sphh"), sphh);
        more.emplace_back(QStringLiteral("spmc"), spmc);
        return insertRow(QStringLiteral("product"), std::move(more));
    }
    QString makeCustomer(const QString& id, const QString& name, Values more = {})
    {
        return makeParty(QStringLiteral("customer"), id, name, std::move(more));
    }
    QString makeSupplier(const QString& id, const QString& name, Values more = {})
    {
        return makeParty(QStringLiteral("branch"), id, name, std::move(more));
    }
    QString makeAccount(const QString& id, const QString& name, Values more = {})
    {
        return makeParty(QStringLiteral("bank"), id, name, std::move(more));
    }

    QTemporaryDir folder;
    lb::ui::ScriptedDialogs dialogs;
    std::unique_ptr<lb::core::Tfrdm> module;

private:
    static void bind(lb::db::Query& query, const QVariantList& params)
    {
        for (int i = 0; i < params.size(); ++i)
            query.paramByName(QStringLiteral("p%1").arg(i + 1)).setValue(params[i]);
    }

    QString makeParty(const QString& table, const QString& id, const QString& name, Values more)
    {
        more.emplace_back(QStringLiteral("id"), id);
        more.emplace_back(QStringLiteral("name"), name);
        return insertRow(table, std::move(more));
    }
};
