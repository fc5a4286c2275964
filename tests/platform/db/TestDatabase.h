// Test helper: a fresh database file in a temporary folder with a small product/customer schema.
#pragma once

#include "platform/db/Connection.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lb::db::test {

class TestDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("kvdb.db"));
        Connection::createFile(path);
        connection.setDatabaseFile(path);
        connection.open();
        connection.execute(QStringLiteral(
            "CREATE TABLE product (intno VARCHAR(10), sphh VARCHAR(15), spmc VARCHAR(40), "
            "dj_n DOUBLE DEFAULT 0, sl DOUBLE DEFAULT 0, szbj BOOLEAN DEFAULT 0, remark TEXT, "
            "billdate DATE, rq DATETIME, qty INTEGER DEFAULT 7)"));
        connection.execute(QStringLiteral(
            "CREATE TABLE customer (intno VARCHAR(10), id VARCHAR(10), name VARCHAR(40), balance DOUBLE)"));
        connection.execute(QStringLiteral(
            "CREATE TABLE cproduct (intno1 VARCHAR(10), intno VARCHAR(10), spmc VARCHAR(40))"));
    }

    void addProduct(const QString& intno, const QString& sphh, const QString& spmc, double price)
    {
        connection.execute(QStringLiteral("INSERT INTO product (intno, sphh, spmc, dj_n) VALUES ('%1', '%2', '%3', %4)")
                               .arg(intno, sphh, spmc).arg(price));
    }

    QTemporaryDir dir;
    QString path;
    Connection connection;
};

} // namespace lb::db::test
