// The running-balance refill of the customer and supplier summaries, statements and journal.
#include "summaries/BalanceWalk.h"

#include "documents/DocumentKinds.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"

namespace lb::summaries {

namespace {

double number(const std::vector<QVariant>& row, int column)
{
    return column < 0 ? 0.0 : row[std::size_t(column)].toDouble();
}

void set(std::vector<QVariant>& row, int column, const QVariant& value)
{
    if (column >= 0)
        row[std::size_t(column)] = value;
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

BalanceWalk::BalanceWalk(const BalanceWalkConfig& config, const BalanceRun& run)
    : rule_(config.rule), run_(run), balance_(run.opening)
{
    const auto at = [&](const char* name) { return int(config.copied.indexOf(QLatin1String(name))); };
    billtype_ = at("billtype");
    spmc_ = at("spmc");
    sphh_ = at("sphh");
    amount_ = at("amount");
    deduck_ = at("deduck");
    pay_ = at("pay");
    rest_ = at("rest");
    before_ = at("balance");
}

double BalanceWalk::step(std::vector<QVariant>& row)
{
    const QString billtype = billtype_ < 0 ? QString() : row[std::size_t(billtype_)].toString();
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
    const bool carryOver = spmc_ >= 0 && row[std::size_t(spmc_)].toString() == lb::documents::DocumentKinds::CarryOverLine;
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

    // Rows of one date and kind keep the order they were gathered in.
    const QString columns = config.copied.join(QLatin1Char(','));
    lb::db::Query rows(connection);
    rows.sql().add(QStringLiteral("select %1 from %2 order by %3, rowid").arg(columns, config.workTable, config.order));
    rows.open();

    QStringList marks;
    for (int i = 0; i < config.copied.size(); ++i)
        marks << QStringLiteral(":v%1").arg(i);
    lb::db::Query insert(connection);
    insert.sql().add(QStringLiteral("insert into %1(%2) values(%3)").arg(config.walkTable, columns, marks.join(QLatin1Char(','))));
    std::vector<lb::db::Param*> params;
    for (const QString& mark : marks)
        params.push_back(&insert.paramByName(mark.mid(1)));

    std::vector<lb::db::Field*> fields;
    for (int i = 0; i < rows.fieldCount(); ++i)
        fields.push_back(&rows.field(i));
    std::vector<QVariant> row(fields.size());
    BalanceWalk walk(config, run);
    int written = 0;
    for (rows.first(); !rows.eof(); rows.next()) {
        // Empty numbers are copied as 0, texts as texts.
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const lb::db::Field& field = *fields[i];
            switch (field.dataType()) {
            case lb::db::FieldType::Float:
            case lb::db::FieldType::Integer: row[i] = field.asFloat(); break;
            case lb::db::FieldType::Text:
            case lb::db::FieldType::Memo: row[i] = field.asString(); break;
            default: row[i] = field.value(); break;
            }
        }
        walk.step(row);
        for (std::size_t i = 0; i < row.size(); ++i)
            params[i]->setValue(row[i]);
        insert.execSQL();
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
