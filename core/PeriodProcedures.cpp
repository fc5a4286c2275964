// The database steps of month-end, year-end and system initialisation.
#include "core/PeriodProcedures.h"

#include "platform/db/Connection.h"
#include "platform/db/Query.h"

namespace lb::core {

void PeriodProcedures::run(lb::db::Query& command, const QString& sql)
{
    command.close();
    command.sql().clear();
    command.sql().add(sql);
    command.execSQL();
    command.close();
}

const QStringList& PeriodProcedures::documentTables()
{
    static const QStringList tables{
        QStringLiteral("outlist"),     QStringLiteral("outdetail"),     QStringLiteral("outbacklist"),
        QStringLiteral("outbackdetail"), QStringLiteral("getlist"),     QStringLiteral("getdetail"),
        QStringLiteral("putlist"),     QStringLiteral("putdetail"),     QStringLiteral("inlist"),
        QStringLiteral("indetail"),    QStringLiteral("inbacklist"),    QStringLiteral("inbackdetail"),
        QStringLiteral("dhlist"),      QStringLiteral("dhdetail"),
    };
    return tables;
}

void PeriodProcedures::resetCounters(lb::db::Query& command)
{
    // A row without a name is none of the master tables either.
    run(command, QStringLiteral("update nextno set intno='1' where upper(coalesce(tablename,'')) not in "
                                "('BANK','CUSTOMER','BRANCH','EMPLOYEE','STORE','CPRODUCT','PRODUCT')"));
}

void PeriodProcedures::emptyDocuments(lb::db::Query& command)
{
    for (const QString& table : documentTables())
        run(command, QStringLiteral("delete from ") + table);
}

void PeriodProcedures::monthEnd(lb::db::Query& command)
{
    lb::db::Transaction transaction(command.connection());
    run(command, QStringLiteral("update product set sl_out_m=0,sl_in_m=0"));
    run(command, QStringLiteral("update customer set amount=0,deduck=0,pay=0"));
    run(command, QStringLiteral("update branch set amount=0,deduck=0,pay=0"));
    run(command, QStringLiteral("update bank set amount=0,pay=0"));
    transaction.commit();
}

void PeriodProcedures::closeYear(lb::db::Query& command)
{
    lb::db::Transaction transaction(command.connection());
    resetCounters(command);
    run(command, QStringLiteral("update customer set rest=balance,amount_y=0,deduck_y=0,pay_y=0"));
    run(command, QStringLiteral("update branch set rest=balance,amount_y=0,deduck_y=0,pay_y=0"));
    run(command, QStringLiteral("update product set rest=sl,sl_out_y=0,sl_in_y=0"));
    run(command, QStringLiteral("update bank set rest=balance,amount_y=0,pay_y=0"));
    emptyDocuments(command);
    transaction.commit();
}

void PeriodProcedures::initialise(lb::db::Query& command)
{
    lb::db::Transaction transaction(command.connection());
    resetCounters(command);
    run(command, QStringLiteral("update customer set balance=rest,amount=0,deduck=0,pay=0,amount_y=0,deduck_y=0,pay_y=0"));
    run(command, QStringLiteral("update branch set balance=rest,amount=0,deduck=0,pay=0,amount_y=0,deduck_y=0,pay_y=0"));
    run(command, QStringLiteral("update product set sl=rest,sl_out_m=0,sl_in_m=0,sl_out_y=0,sl_in_y=0"));
    run(command, QStringLiteral("update bank set balance=rest,amount=0,pay=0,amount_y=0,pay_y=0"));
    emptyDocuments(command);
    transaction.commit();
}

QString PeriodProcedures::annualBackupYear(const QDate& today)
{
    return QString::number(today.addDays(-60).year());
}

} // namespace lb::core
