// A table dataset: a whole table in rowid order.
#pragma once

#include "platform/db/DataSet.h"

namespace lb::db {

class Table : public DataSet {
    Q_OBJECT
public:
    explicit Table(Connection& connection, QObject* parent = nullptr);
    void setTableName(const QString& name); // closes
    const QString& tableName() const { return table_; }

protected:
    Source source() const override;

private:
    QString table_;
};

} // namespace lb::db
