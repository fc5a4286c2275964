// A benchmark's database file: open through the program's connection and, once filled, through a
// plain SQLite handle beside it, so that a benchmark sets the program's way against the bare
// engine on the same file.
#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <QTemporaryDir>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace lb::bench {

class BenchFile {
public:
    // `create` makes the file at the path given: an empty file, the program's fresh books or a
    // copy of books made before.
    explicit BenchFile(const std::function<void(const QString& path)>& create)
    {
        path_ = dir_.filePath(QStringLiteral("kvdb.mdb"));
        create(path_);
        connection_.setDatabaseFile(path_);
        connection_.open();
    }
    ~BenchFile() { sqlite3_close_v2(raw_); }
    BenchFile(const BenchFile&) = delete;
    BenchFile& operator=(const BenchFile&) = delete;

    lb::db::Connection& connection() { return connection_; }
    sqlite3* raw() const { return raw_; }

    // Opened as Connection opens its file, so that both sides pay the same engine overhead.
    void openRaw()
    {
        check(sqlite3_open_v2(path_.toUtf8().constData(), &raw_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr));
    }

    // The plain loops abort the run on any failure: a benchmark that silently did less work
    // would report a ratio that means nothing.
    void check(int rc) const
    {
        if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
            std::fprintf(stderr, "sqlite: %s\n", raw_ ? sqlite3_errmsg(raw_) : sqlite3_errstr(rc));
            std::abort();
        }
    }
    sqlite3_stmt* prepare(const QString& sql) const
    {
        sqlite3_stmt* stmt = nullptr;
        check(sqlite3_prepare_v2(raw_, sql.toUtf8().constData(), -1, &stmt, nullptr));
        return stmt;
    }
    void exec(const char* sql) const { check(sqlite3_exec(raw_, sql, nullptr, nullptr, nullptr)); }

private:
    QTemporaryDir dir_;
    QString path_;
    lb::db::Connection connection_;
    sqlite3* raw_ = nullptr;
};

} // namespace lb::bench
