// Record numbers, proposed codes and the save checks shared by the master-data editors.
#pragma once

#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

namespace lb::db {
class Connection;
class DataSet;
class Query;
}

namespace lb::masterdata {

// What one table's editor checks and writes.
struct MasterTableRules {
    QString table;               // "customer"
    QString codeColumn = QStringLiteral("id");
    int codeWidth = 10;          // characters the code column stores
    QString nameColumn = QStringLiteral("name"); // empty: names are not checked
    QString emptyCodeMessage = QStringLiteral("编号不能为空!");
    QString duplicateCodeMessage = QStringLiteral("该编号已存在,不能再录入！ ");
    QString duplicateNameMessage = QStringLiteral("该名称已存在,不能再录入！ ");
    QString nameTakenQuestion = QStringLiteral("该名称已存在,是否要保存这次修改?");
};

// Column values as typed (text, converted by the column's type), in the order they are
// written; a null value empties the column.
using MasterValues = std::vector<std::pair<QString, QVariant>>;

class MasterRecordRules {
public:
    enum class Check {
        Ok,
        EmptyCode,     // refuse: emptyCodeMessage, focus on the code
        DuplicateCode, // refuse: duplicateCodeMessage, focus on the code
        DuplicateName, // refuse on add: duplicateNameMessage, focus on the name
        NameTaken,     // on modify: ask nameTakenQuestion; Cancel focuses the name
    };

    MasterRecordRules(lb::db::Connection& connection, MasterTableRules rules);
    const MasterTableRules& rules() const { return rules_; }

    // Highest intno of the table + 1 as ten digits ("0000000001" for an empty table).
    // ConvertError when a stored intno is not a number.
    QString nextRecordNumber() const;
    // The code proposed for a new record: the next record number as the code column stores it.
    QString proposedCode() const;
    // The code as the code column stores it.
    QString storedCode(const QString& typed) const { return typed.left(rules_.codeWidth); }

    // The checks of a save, in their order. `editIntno` is the record being changed (empty when
    // adding); it is left out of the duplicate tests.
    Check check(bool adding, const QString& code, const QString& name, const QString& editIntno) const;
    // Code checks only (empty or blanks only, used by another record than editIntno).
    Check checkCode(const QString& code, const QString& editIntno) const;
    QString message(Check check) const;

    // Adds a record: reopens `list` on the whole table (a search in force is dropped), appends
    // a row with the next record number and the values, posts, in one transaction. Returns the
    // new intno.
    QString insert(lb::db::Query& list, const MasterValues& values) const;
    // Deletes the current row of `list` through the dataset together with the rows of
    // `dependentTable` whose intno is the record's (a customer's price rows), in one transaction.
    static void deleteWithRows(lb::db::Connection& connection, lb::db::DataSet& list, const QString& dependentTable);
    // Writes the values into the current row of `list` and posts.
    static void update(lb::db::DataSet& list, const MasterValues& values);

private:
    static void write(lb::db::DataSet& list, const MasterValues& values);
    bool exists(const QString& column, const QString& value, const QString& exceptIntno) const;
    lb::db::Connection& connection_;
    MasterTableRules rules_;
};

} // namespace lb::masterdata
