// Record numbers, proposed codes and the save checks shared by the master-data editors.
#include "masterdata/MasterRecordRules.h"

#include "core/BillNumberPadding.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"

namespace lb::masterdata {

MasterRecordRules::MasterRecordRules(lb::db::Connection& connection, MasterTableRules rules)
    : connection_(connection), rules_(std::move(rules))
{
}

QString MasterRecordRules::nextRecordNumber() const
{
    return lb::core::nextIntno(connection_, rules_.table);
}

QString MasterRecordRules::proposedCode() const
{
    return nextRecordNumber().right(rules_.codeWidth);
}

bool MasterRecordRules::exists(const QString& column, const QString& value, const QString& exceptIntno) const
{
    lb::db::Query query(connection_);
    query.sql().add(QStringLiteral("SELECT %1 from %2 where %1=:p1").arg(column, rules_.table));
    if (!exceptIntno.isEmpty())
        query.sql().add(QStringLiteral("and intno<>:p2"));
    query.paramByName(QStringLiteral("p1")).setAsString(value);
    if (!exceptIntno.isEmpty())
        query.paramByName(QStringLiteral("p2")).setAsString(exceptIntno);
    query.open();
    // The columns compare Latin letters without regard to case, as every search of the lists
    // does: "a1" and "A1" are one code, and one could not be told from the other when picked.
    return !query.isEmpty();
}

MasterRecordRules::Check MasterRecordRules::checkCode(const QString& code, const QString& editIntno) const
{
    // A code of blanks is no code: stored, it could never be typed into a search or a document.
    if (code.trimmed().isEmpty())
        return Check::EmptyCode;
    if (exists(rules_.codeColumn, storedCode(code), editIntno))
        return Check::DuplicateCode;
    return Check::Ok;
}

MasterRecordRules::Check MasterRecordRules::check(bool adding, const QString& code, const QString& name,
                                                  const QString& editIntno) const
{
    const Check codeCheck = checkCode(code, adding ? QString() : editIntno);
    if (codeCheck != Check::Ok || rules_.nameColumn.isEmpty())
        return codeCheck;
    if (adding)
        return exists(rules_.nameColumn, name, QString()) ? Check::DuplicateName : Check::Ok;
    return exists(rules_.nameColumn, name, editIntno) ? Check::NameTaken : Check::Ok;
}

QString MasterRecordRules::message(Check check) const
{
    switch (check) {
    case Check::EmptyCode: return rules_.emptyCodeMessage;
    case Check::DuplicateCode: return rules_.duplicateCodeMessage;
    case Check::DuplicateName: return rules_.duplicateNameMessage;
    case Check::NameTaken: return rules_.nameTakenQuestion;
    case Check::Ok: break;
    }
    return {};
}

QString MasterRecordRules::insert(lb::db::Query& list, const MasterValues& values) const
{
    lb::db::Transaction transaction(connection_);
    const QString intno = nextRecordNumber();
    list.close();
    list.sql().clear();
    list.sql().add(QStringLiteral("SELECT * from %1 ").arg(rules_.table));
    list.open();
    list.append();
    try {
        list.fieldByName(QStringLiteral("intno")).setAsString(intno);
        write(list, values);
        list.post();
    } catch (...) {
        list.cancel(); // no half-filled row stays behind in the shared dataset
        throw;
    }
    transaction.commit();
    return intno;
}

void MasterRecordRules::update(lb::db::DataSet& list, const MasterValues& values)
{
    list.edit();
    try {
        write(list, values);
        list.post();
    } catch (...) {
        list.cancel();
        throw;
    }
}

void MasterRecordRules::write(lb::db::DataSet& list, const MasterValues& values)
{
    for (const auto& [column, value] : values) {
        if (value.isNull())
            list.fieldByName(column).clear();
        else if (value.typeId() == QMetaType::QString)
            list.fieldByName(column).setAsString(value.toString());
        else
            list.fieldByName(column).setValue(value);
    }
}

void MasterRecordRules::deleteWithRows(lb::db::Connection& connection, lb::db::DataSet& list,
                                       const QString& dependentTable)
{
    lb::db::Transaction transaction(connection);
    lb::db::Query statement(connection);
    statement.sql().add(QStringLiteral("delete from %1 where intno=:p1").arg(dependentTable));
    statement.paramByName(QStringLiteral("p1")).setAsString(list.fieldByName(QStringLiteral("intno")).asString());
    statement.execSQL();
    list.deleteRecord();
    transaction.commit();
}

} // namespace lb::masterdata
