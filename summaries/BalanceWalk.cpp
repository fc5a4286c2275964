// The running-balance refill of the customer and supplier summaries, statements and journal.
#include "summaries/BalanceWalk.h"

#include "core/Schema.h"
#include "documents/DocumentKinds.h"
#include "documents/DocumentPosting.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/Errors.h"
#include "platform/sys/ExactAmount.h"

namespace lb::summaries {

namespace {

double number(const QVariantList& row, int column)
{
    return column < 0 ? 0.0 : row[column].toDouble();
}

void set(QVariantList& row, int column, const QVariant& value)
{
    if (column >= 0)
        row[column] = value;
}

// Binds the values a statement names among :code, :fromdate and :name.
void bindRun(lb::db::Query& statement, const BalanceRun& run)
{
    for (const QString& name : statement.paramNames()) {
        lb::db::Param& param = statement.paramByName(name);
        if (name.compare(QLatin1String("code"), Qt::CaseInsensitive) == 0)
            param.setAsString(run.code);
        else if (name.compare(QLatin1String("fromdate"), Qt::CaseInsensitive) == 0)
            param.setAsDate(run.from);
        else if (name.compare(QLatin1String("name"), Qt::CaseInsensitive) == 0)
            param.setAsString(run.name);
    }
}

} // namespace

QStringList BalanceWalk::ruledColumns(const BalanceWalkConfig& config)
{
    QStringList ruled;
    for (const char* name : {"billtype", "spmc", "sphh", "amount", "deduck", "pay", "rest", "balance"})
        if (config.copied.contains(QLatin1String(name)))
            ruled << QLatin1String(name);
    return ruled;
}

QStringList BalanceWalk::writtenColumns(const BalanceWalkConfig& config)
{
    QStringList written{QStringLiteral("rest"), QStringLiteral("balance")};
    if (!config.rule.movedToPay.isEmpty())
        written << QStringLiteral("amount") << QStringLiteral("pay");
    if (!config.rule.moneyIn.isEmpty() || !config.rule.moneyOut.isEmpty())
        written << QStringLiteral("sphh") << QStringLiteral("spmc") << QStringLiteral("amount") << QStringLiteral("pay");
    QStringList present;
    for (const QString& column : ruledColumns(config))
        if (written.contains(column))
            present << column;
    return present;
}

BalanceWalk::BalanceWalk(const BalanceWalkConfig& config, const BalanceRun& run)
    : rule_(config.rule), run_(run), balance_(run.opening)
{
    const QStringList ruled = ruledColumns(config);
    const auto at = [&](const char* name) { return int(ruled.indexOf(QLatin1String(name))); };
    billtype_ = at("billtype");
    spmc_ = at("spmc");
    sphh_ = at("sphh");
    amount_ = at("amount");
    deduck_ = at("deduck");
    pay_ = at("pay");
    rest_ = at("rest");
    before_ = at("balance");
}

double BalanceWalk::step(QVariantList& row)
{
    const QString billtype = billtype_ < 0 ? QString() : row[billtype_].toString();
    if (!rule_.movedToPay.isEmpty() && billtype == rule_.movedToPay) {
        set(row, pay_, number(row, amount_));
        set(row, amount_, 0.0);
    }
    const bool paidIn = rule_.moneyIn.contains(billtype);
    if (paidIn || rule_.moneyOut.contains(billtype)) {
        set(row, sphh_, run_.code);
        set(row, spmc_, run_.name);
        set(row, amount_, paidIn ? number(row, pay_) : 0.0);
        if (paidIn)
            set(row, pay_, 0.0);
    }
    set(row, before_, balance_);
    const bool carryOver = spmc_ >= 0 && row[spmc_].toString() == lb::documents::DocumentKinds::CarryOverLine;
    if (!carryOver) {
        const double amount = number(row, amount_);
        const double deduck = rule_.deductCounts ? number(row, deduck_) : 0.0;
        const double pay = number(row, pay_);
        balance_ += rule_.adding.contains(billtype) ? amount - deduck - pay : -amount - deduck - pay;
    }
    set(row, rest_, balance_);
    return balance_;
}

int BalanceWalk::refill(lb::db::Connection& connection, const BalanceWalkConfig& config, const BalanceRun& run)
{
    lb::db::Transaction transaction(connection);
    lb::db::Query statement(connection);
    const auto execute = [&](const QString& sql) {
        statement.sql().setText(sql);
        bindRun(statement, run);
        statement.execSQL();
    };
    execute(QStringLiteral("delete from %1").arg(config.workTable));
    execute(QStringLiteral("delete from %1").arg(config.walkTable));
    execute(config.seed);
    for (const QString& gather : config.gathers)
        execute(gather);

    // The walk reads the columns its rule knows and writes some of them; every other value goes
    // from the work table into the walk table as it was read, unconverted, an empty number
    // becoming 0 (and an empty text the rule reads becoming the empty text it reads as). Rows
    // of one date and kind keep the order they were gathered in.
    const QStringList ruled = ruledColumns(config);
    const QStringList changed = writtenColumns(config);
    QStringList passedNames;
    QStringList passedValues;
    const lb::core::TableDef& work = lb::core::Schema::table(config.workTable);
    for (const QString& column : config.copied) {
        if (changed.contains(column))
            continue;
        passedNames << column;
        const lb::core::Column* def = work.find(column);
        if (def && def->type == lb::core::ColumnType::Double)
            passedValues << QStringLiteral("coalesce(%1,0)").arg(column);
        else if (ruled.contains(column))
            passedValues << QStringLiteral("coalesce(%1,'')").arg(column);
        else
            passedValues << column;
    }
    lb::db::Query rows(connection);
    rows.sql().add(QStringLiteral("select %1 from %2 order by %3, rowid")
                       .arg((passedValues + changed).join(QLatin1Char(',')), config.workTable, config.order));
    rows.open();

    QStringList marks;
    for (int i = 0; i < passedNames.size() + changed.size(); ++i)
        marks << QStringLiteral("?");
    lb::db::Query insert(connection);
    insert.sql().add(QStringLiteral("insert into %1(%2) values(%3)")
                         .arg(config.walkTable, (passedNames + changed).join(QLatin1Char(',')), marks.join(QLatin1Char(','))));

    // The fields the rule reads, each where the row holds it.
    std::vector<const lb::db::Field*> passed;
    for (int i = 0; i < passedNames.size(); ++i)
        passed.push_back(&rows.field(i));
    std::vector<const lb::db::Field*> read;
    for (const QString& column : ruled) {
        const qsizetype at = passedNames.indexOf(column);
        read.push_back(&rows.field(int(at >= 0 ? at : passedNames.size() + changed.indexOf(column))));
    }
    std::vector<qsizetype> changedAt;
    for (const QString& column : changed)
        changedAt.push_back(ruled.indexOf(column));
    QVariantList row(ruled.size());
    QVariantList values(changed.size());
    BalanceWalk walk(config, run);
    int written = 0;
    for (rows.first(); !rows.eof(); rows.next()) {
        for (std::size_t i = 0; i < read.size(); ++i) {
            const lb::db::Field& field = *read[i];
            row[qsizetype(i)] = field.dataType() == lb::db::FieldType::Float ? QVariant(field.asFloat()) : QVariant(field.asString());
        }
        walk.step(row);
        for (std::size_t i = 0; i < changedAt.size(); ++i) {
            values[qsizetype(i)] = row[changedAt[i]];
            // A balance run beyond the limit is no figure to show: nothing is written then.
            if (values[qsizetype(i)].typeId() == QMetaType::Double && !lb::isExactAmount(values[qsizetype(i)].toDouble()))
                throw lb::OverflowError(lb::documents::DocumentPosting::OutOfRange);
        }
        insert.execSQL(passed, values);
        ++written;
    }
    transaction.commit();
    return written;
}

void BalanceWalk::show(lb::db::Query& rows, const BalanceWalkConfig& config, const Period& period)
{
    rows.close();
    rows.sql().clear();
    rows.sql().add(QStringLiteral("select * from %1 where %2").arg(config.walkTable, config.shownRows));
    rows.sql().add(QStringLiteral("billdate>=:p1 and billdate <=:p2"));
    // The walk table holds its rows in walk order.
    rows.sql().add(QStringLiteral("order by rowid"));
    rows.paramByName(QStringLiteral("p1")).setAsDate(period.from);
    rows.paramByName(QStringLiteral("p2")).setAsDate(period.to);
    rows.open();
}

} // namespace lb::summaries
