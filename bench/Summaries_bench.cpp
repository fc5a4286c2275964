// The summaries' refills: a customer's running balance over 20,000 lines and a year of 100,000
// sales lines summed by kind and by product, each set against plain SQLite in the same run.
#include "bench/BenchFile.h"
#include "core/NewDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "summaries/BalanceCatalog.h"
#include "summaries/BalanceWalk.h"
#include "summaries/KindSummary.h"
#include "summaries/KindSummaryCatalog.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace lb::db;
using lb::summaries::BalanceRun;
using lb::summaries::BalanceWalk;
using lb::summaries::KindSummary;
using lb::summaries::Period;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// A fresh database of posted sales documents of `lines` product lines, 20 to a document and
// each with its carry-over line, spread over 2026 among `customers` customers and `products`
// products; with a plain connection beside the program's.
class SalesYear : public lb::bench::BenchFile {
public:
    SalesYear(int lines, int customers, int products) : BenchFile(&lb::core::NewDatabase::create)
    {
        Transaction transaction(connection());
        Query statement(connection());
        for (int c = 1; c <= customers; ++c)
            run(statement, QStringLiteral("insert into customer (intno,id,name,rest) values ('%1','%1','客户%2',100)").arg(number(c)).arg(c));
        for (int p = 1; p <= products; ++p)
            run(statement, QStringLiteral("insert into product (intno,sphh,spmc) values ('%1','P%2','商品%2')").arg(number(p)).arg(p));
        Query header(connection());
        header.sql().add(QStringLiteral("insert into outlist (intno,billdate,customerid,customername,bankid,pass,cancel,billtype,billname)"
                                        " values (:p1,:p2,:p3,'客户','0000000001',1,0,'01','销售单')"));
        Query line(connection());
        line.sql().add(QStringLiteral("insert into outdetail (intno,mainintno,spintno,sphh,spmc,sl,dj_n,dj_w,amount,deduck,pay,"
                                      "billdate,customerid,bankid,pass,cancel,billtype,billname)"
                                      " values (:p1,:p2,:p3,:p4,:p5,:p6,12.5,10,:p7,0.5,1,:p8,:p9,'0000000001',1,0,'01','销售单')"));
        int lineNo = 0;
        for (int document = 0; document * 20 < lines; ++document) {
            const QString intno = number(document + 1);
            const QString date = QDate(2026, 1, 1).addDays(document * 365 / (lines / 20)).toString(Qt::ISODate);
            const QString customer = number(document % customers + 1);
            setAll(header, {intno, date, customer});
            header.execSQL();
            setAll(line, {number(++lineNo), intno, QString(), QString(), QStringLiteral("上期结转"), 0.0, 0.0, date, customer});
            line.execSQL();
            for (int i = 0; i < 20; ++i) {
                const int product = (document * 20 + i) % products + 1;
                const double quantity = 1 + i % 5;
                setAll(line, {number(++lineNo), intno, number(product), QStringLiteral("P%1").arg(product),
                              QStringLiteral("商品%1").arg(product), quantity, quantity * 12.5, date, customer});
                line.execSQL();
            }
        }
        transaction.commit();
        openRaw();
    }

private:
    static QString number(int n) { return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0')); }
    static void run(Query& statement, const QString& sql)
    {
        statement.sql().setText(sql);
        statement.execSQL();
    }
    static void setAll(Query& statement, const QVariantList& values)
    {
        for (int i = 0; i < values.size(); ++i)
            statement.paramByName(QStringLiteral("p%1").arg(i + 1)).setValue(values[i]);
    }
};

// The customer summary's refill with plain prepared statements: the same deletes, seed and
// gathers, then the ordered rows read, their balances computed and each row inserted.
class RawRefill {
public:
    RawRefill(SalesYear& file, const BalanceWalkConfig& config, const BalanceRun& run) : file_(file), run_(run)
    {
        const QString columns = config.copied.join(QLatin1Char(','));
        for (const QString& sql : QStringList{QStringLiteral("delete from custtotal"), QStringLiteral("delete from custtotal1"), config.seed}
                                      + config.gathers)
            statements_.push_back(file.prepare(sql));
        read_ = file.prepare(QStringLiteral("select %1 from custtotal order by %2, rowid").arg(columns, config.order));
        QStringList marks;
        for (int i = 1; i <= config.copied.size(); ++i)
            marks << QStringLiteral("?%1").arg(i);
        insert_ = file.prepare(QStringLiteral("insert into custtotal1(%1) values(%2)").arg(columns, marks.join(QLatin1Char(','))));
        for (int i = 0; i < config.copied.size(); ++i)
            numeric_.push_back(!QStringList{"billdate", "billname", "djh", "sphh", "spmc", "unit", "remark", "billtype"}.contains(config.copied[i]));
        billtype_ = int(config.copied.indexOf(QStringLiteral("billtype")));
        spmc_ = int(config.copied.indexOf(QStringLiteral("spmc")));
        amount_ = int(config.copied.indexOf(QStringLiteral("amount")));
        deduck_ = int(config.copied.indexOf(QStringLiteral("deduck")));
        pay_ = int(config.copied.indexOf(QStringLiteral("pay")));
        rest_ = int(config.copied.indexOf(QStringLiteral("rest")));
    }
    ~RawRefill()
    {
        for (sqlite3_stmt* stmt : statements_)
            sqlite3_finalize(stmt);
        sqlite3_finalize(read_);
        sqlite3_finalize(insert_);
    }
    RawRefill(const RawRefill&) = delete;
    RawRefill& operator=(const RawRefill&) = delete;

    // Returns the rows written; with `limit` stops after that many.
    int refill(bool inTransaction, int limit = -1)
    {
        if (inTransaction)
            file_.exec("BEGIN IMMEDIATE");
        const QByteArray code = run_.code.toUtf8();
        const QByteArray from = run_.from.toString(Qt::ISODate).toUtf8();
        for (sqlite3_stmt* stmt : statements_) {
            sqlite3_reset(stmt);
            if (int index = sqlite3_bind_parameter_index(stmt, ":code"))
                sqlite3_bind_text(stmt, index, code.constData(), -1, SQLITE_STATIC);
            if (int index = sqlite3_bind_parameter_index(stmt, ":fromdate"))
                sqlite3_bind_text(stmt, index, from.constData(), -1, SQLITE_STATIC);
            file_.check(sqlite3_step(stmt));
        }
        // The rows in order, into memory, the read ended before the first write.
        const std::size_t columns = numeric_.size();
        rows_.clear();
        sqlite3_reset(read_);
        while (sqlite3_step(read_) == SQLITE_ROW) {
            Row row{std::vector<std::string>(columns), std::vector<double>(columns)};
            for (std::size_t i = 0; i < columns; ++i) {
                if (numeric_[i]) {
                    row.numbers[i] = sqlite3_column_double(read_, int(i));
                } else {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(read_, int(i)));
                    row.texts[i] = text ? text : "";
                }
            }
            rows_.push_back(std::move(row));
        }
        sqlite3_reset(read_);
        double balance = run_.opening;
        int written = 0;
        for (Row& row : rows_) {
            if (written == limit)
                break;
            if (row.texts[std::size_t(spmc_)] != "上期结转") {
                const double amount = row.numbers[std::size_t(amount_)];
                const double others = row.numbers[std::size_t(deduck_)] + row.numbers[std::size_t(pay_)];
                balance += row.texts[std::size_t(billtype_)] == "01" ? amount - others : -amount - others;
            }
            row.numbers[std::size_t(rest_)] = balance;
            sqlite3_reset(insert_);
            for (std::size_t i = 0; i < columns; ++i) {
                if (numeric_[i])
                    sqlite3_bind_double(insert_, int(i) + 1, row.numbers[i]);
                else
                    sqlite3_bind_text(insert_, int(i) + 1, row.texts[i].c_str(), -1, SQLITE_STATIC);
            }
            file_.check(sqlite3_step(insert_));
            ++written;
        }
        sqlite3_reset(insert_);
        if (inTransaction)
            file_.exec("COMMIT");
        return written;
    }

private:
    SalesYear& file_;
    const BalanceRun& run_;
    std::vector<sqlite3_stmt*> statements_;
    sqlite3_stmt* read_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    std::vector<bool> numeric_;
    int billtype_, spmc_, amount_, deduck_, pay_, rest_;
    struct Row {
        std::vector<std::string> texts;
        std::vector<double> numbers;
    };
    std::vector<Row> rows_;
};

// A customer with 20,000 lines (1,000 documents): BalanceWalk::refill against the plain loop in
// one transaction every iteration, and against the plain loop in autocommit (every statement
// its own transaction, flushed to disk). Each autocommit insert costs the same flush, so the
// autocommit run is timed over its first 1,000 rows once and scaled to all of them: the whole
// run takes minutes on a busy disk.
void BM_CustomerSummaryRefill(benchmark::State& state)
{
    const int autocommitSample = 1000;
    SalesYear file(20000, 1, 200);
    const BalanceConfig config = BalanceCatalog::byKey(QStringLiteral("Tfrcusttotal"));
    const BalanceRun run{QStringLiteral("0000000001"), QStringLiteral("客户1"), 100, QDate(2026, 6, 1)};
    RawRefill raw(file, config.walk, run);
    Clock::duration rawSpent{};
    Clock::duration walkSpent{};
    Clock::duration autocommitSpent{};
    int rawRows = 0;
    int walkRows = 0;
    for (auto _ : state) {
        if (autocommitSpent == Clock::duration{}) {
            const auto start = Clock::now();
            const int timed = raw.refill(false, autocommitSample);
            autocommitSpent = (Clock::now() - start) * (raw.refill(true) / timed);
        }
        auto start = Clock::now();
        rawRows = raw.refill(true);
        rawSpent += Clock::now() - start;

        start = Clock::now();
        walkRows = BalanceWalk::refill(file.connection(), config.walk, run);
        const Clock::duration spent = Clock::now() - start;
        walkSpent += spent;
        state.SetIterationTime(seconds(spent));
    }
    if (rawRows != walkRows) {
        fprintf(stderr, "rows differ: plain %d, refill %d\n", rawRows, walkRows);
        std::abort();
    }
    const double iterations = double(state.iterations());
    state.counters["rows"] = walkRows;
    state.counters["raw_tx_ms"] = seconds(rawSpent) * 1000 / iterations;
    state.counters["autocommit_ms"] = seconds(autocommitSpent) * 1000;
    state.counters["vs_raw_tx"] = seconds(walkSpent) / seconds(rawSpent);
    state.counters["autocommit_vs"] = seconds(autocommitSpent) / (seconds(walkSpent) / iterations);
}

// A year of 100,000 sales lines: the sales summary's sums row and its grouping by product
// against the same two aggregate queries stepped bare, in the same run.
void BM_SalesSumsAndGrouping(benchmark::State& state)
{
    SalesYear file(100000, 50, 500);
    const KindSummaryConfig sales = KindSummaryCatalog::byKey(QStringLiteral("Tfrouttotal"));
    const Period year{QDate(2026, 1, 1), QDate(2026, 12, 31)};
    const QString counted = QStringLiteral(" where %1 billdate>=?1 and billdate <=?2").arg(KindSummary::CountedLines);
    sqlite3_stmt* sums = file.prepare(QStringLiteral("select %1 from outdetail%2").arg(sales.sumsSelect, counted));
    sqlite3_stmt* groups = file.prepare(QStringLiteral("select %1 from outdetail%2 group by %3").arg(sales.groupSelect, counted, sales.groupBy));
    Query lines(file.connection());
    Clock::duration bareSpent{};
    Clock::duration summarySpent{};
    int groupRows = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        for (sqlite3_stmt* stmt : {sums, groups}) {
            sqlite3_reset(stmt);
            sqlite3_bind_text(stmt, 1, "2026-01-01", -1, SQLITE_STATIC);
            sqlite3_bind_text(stmt, 2, "2026-12-31", -1, SQLITE_STATIC);
            groupRows = 0;
            while (sqlite3_step(stmt) == SQLITE_ROW)
                ++groupRows;
        }
        bareSpent += Clock::now() - start;

        start = Clock::now();
        KindSummary::refreshSums(file.connection(), sales, year, {});
        KindSummary::group(file.connection(), lines, sales, year, {});
        const Clock::duration spent = Clock::now() - start;
        summarySpent += spent;
        state.SetIterationTime(seconds(spent));
    }
    if (lines.recordCount() != groupRows) {
        fprintf(stderr, "groups differ: bare %d, summary %d\n", groupRows, lines.recordCount());
        std::abort();
    }
    sqlite3_finalize(sums);
    sqlite3_finalize(groups);
    const double iterations = double(state.iterations());
    state.counters["groups"] = groupRows;
    state.counters["bare_ms"] = seconds(bareSpent) * 1000 / iterations;
    state.counters["vs_bare"] = seconds(summarySpent) / seconds(bareSpent);
}

} // namespace

BENCHMARK(BM_CustomerSummaryRefill)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SalesSumsAndGrouping)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
