// The summaries on the books of a busy shop's year: a customer's running balance over 20,000
// lines, and the sales summary over the year through its window, each set against plain SQLite
// in the same run.
#include "bench/BenchFile.h"
#include "bench/BigBooks.h"
#include "bench/PeakMemory.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "core/WindowRegistry.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "summaries/BalanceCatalog.h"
#include "summaries/BalanceWalk.h"
#include "summaries/KindSummary.h"
#include "summaries/KindSummaryCatalog.h"
#include "summaries/KindSummaryWindow.h"
#include "summaries/SummaryWindows.h"

#include <QApplication>
#include <QFile>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using lb::bench::peakMemoryMb;
using lb::bench::resetPeakMemory;
using lb::core::WindowRegistry;
using lb::summaries::BalanceCatalog;
using lb::summaries::BalanceConfig;
using lb::summaries::BalanceRun;
using lb::summaries::BalanceWalk;
using lb::summaries::BalanceWalkConfig;
using lb::summaries::KindSummary;
using lb::summaries::KindSummaryCatalog;
using lb::summaries::KindSummaryConfig;
using lb::summaries::KindSummaryWindow;
using lb::summaries::Period;
using lb::summaries::registerSummaryWindows;
using namespace lb::db;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// A copy of the big books at `scale` with a plain connection beside the program's.
class BooksFile : public lb::bench::BenchFile {
public:
    explicit BooksFile(int scale)
        : BenchFile([scale](const QString& path) { QFile::copy(lb::bench::BigBooks::cachedFile(scale), path); })
    {
        openRaw();
    }
};

// The customer summary's refill with plain prepared statements: the same deletes, seed and
// gathers, then the ordered rows read, their balances computed and each row inserted.
class RawRefill {
public:
    RawRefill(BooksFile& file, const BalanceWalkConfig& config, const BalanceRun& run) : file_(file), run_(run)
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
    BooksFile& file_;
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

// The busy customer's running balance over its 20,000 lines on the big books (scale 1 or 2):
// BalanceWalk::refill against the plain loop in one transaction every iteration, and against
// the plain loop in autocommit (every statement its own transaction, flushed to disk). Each
// autocommit insert costs the same flush, so the autocommit run is timed over its first 200
// rows once and scaled to all of them: the whole run takes minutes on a busy disk.
void BM_CustomerSummaryRefill(benchmark::State& state)
{
    const int autocommitSample = 200;
    BooksFile file(int(state.range(0)));
    const BalanceConfig config = BalanceCatalog::byKey(QStringLiteral("Tfrcusttotal"));
    const BalanceRun run{lb::bench::BigBooks::busyCustomer(), QStringLiteral("客户1"), 1000, QDate(2026, 6, 1)};
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

// The bare queries behind the sales summary over a year, stepped through the C API: the sums,
// the flow list's shown columns (each read once) and the grouping by product.
class BareSalesSummary {
public:
    BareSalesSummary(const QString& database, const KindSummaryConfig& sales, const QStringList& shown)
    {
        check(sqlite3_open_v2(database.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr));
        const QString counted = QStringLiteral(" where %1 billdate>=?1 and billdate <=?2").arg(KindSummary::CountedLines);
        sums_ = prepare(QStringLiteral("select %1 from outdetail%2").arg(sales.sumsSelect, counted));
        flow_ = prepare(QStringLiteral("select %1 from outdetail%2 order by billdate, intno").arg(shown.join(QLatin1Char(',')), counted));
        groups_ = prepare(QStringLiteral("select %1 from outdetail%2 group by %3").arg(sales.groupSelect, counted, sales.groupBy));
    }
    ~BareSalesSummary()
    {
        for (sqlite3_stmt* stmt : {sums_, flow_, groups_})
            sqlite3_finalize(stmt);
        sqlite3_close_v2(db_);
    }
    BareSalesSummary(const BareSalesSummary&) = delete;
    BareSalesSummary& operator=(const BareSalesSummary&) = delete;

    // The sums and the flow list; returns the flow's rows.
    int flow()
    {
        step(sums_);
        return step(flow_);
    }
    // The flow list alone, every shown value of every line read once; returns its rows.
    int readFlow() { return step(flow_); }
    // The sums and the groups; returns the groups.
    int group()
    {
        step(sums_);
        return step(groups_);
    }

private:
    void check(int rc) const
    {
        if (rc != SQLITE_OK) {
            std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db_));
            std::abort();
        }
    }
    sqlite3_stmt* prepare(const QString& sql) const
    {
        sqlite3_stmt* stmt = nullptr;
        check(sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &stmt, nullptr));
        return stmt;
    }
    // Every value of every row read once, as text or as a number.
    static int step(sqlite3_stmt* stmt)
    {
        sqlite3_reset(stmt);
        sqlite3_bind_text(stmt, 1, "2026-01-01", -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 2, "2026-12-31", -1, SQLITE_STATIC);
        int rows = 0;
        double sink = 0;
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < columns; ++c) {
                if (sqlite3_column_type(stmt, c) == SQLITE_TEXT)
                    sink += sqlite3_column_bytes(stmt, c) + *sqlite3_column_text(stmt, c);
                else
                    sink += sqlite3_column_double(stmt, c);
            }
        }
        benchmark::DoNotOptimize(sink);
        sqlite3_reset(stmt);
        return rows;
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* sums_ = nullptr;
    sqlite3_stmt* flow_ = nullptr;
    sqlite3_stmt* groups_ = nullptr;
};

void flushEvents()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The flow list walked once from its first line to its last with every shown field read as the
// text it prints (displayText), the controls held back, as its print walks it.
qsizetype walkFlow(Query& lines, const QStringList& columns)
{
    std::vector<Field*> fields;
    for (const QString& column : columns)
        fields.push_back(&lines.fieldByName(column));
    qsizetype characters = 0;
    lines.disableControls();
    for (lines.first(); !lines.eof(); lines.next()) {
        for (const Field* field : fields)
            characters += field->displayText().size();
    }
    lines.enableControls();
    return characters;
}

// The sales summary over 2026 on the big books (scale 1 or 2) as the user meets it, through its
// window: opening (it runs the flow list at once), 刷新 ("流水帐") and 分类汇总, each against
// the bare queries it needs in the same iteration. The reported time is the three together.
// rss_MB is the process's peak resident size during 刷新, the highest of all iterations (run
// the benchmark alone for it); walk_ms the flow list walked once as its print walks it, and
// walk_vs_bare that walk's time over the bare read of the same lines and columns.
void BM_SalesSummaryWindow(benchmark::State& state)
{
    lb::bench::BookFolder books(int(state.range(0)));
    lb::summaries::ReportPeriod::store(frdm->ADOCon, {QDate(2026, 1, 1), QDate(2026, 12, 31)});
    registerSummaryWindows();
    const KindSummaryConfig sales = KindSummaryCatalog::byKey(QStringLiteral("Tfrouttotal"));
    const QStringList shown = KindSummary::flowColumns(sales);
    BareSalesSummary bare(books.database(), sales, shown);
    Clock::duration spent[3]{};
    Clock::duration bareSpent[2]{};
    Clock::duration walkSpent{};
    Clock::duration bareReadSpent{};
    int flowRows = 0;
    int groups = 0;
    double peakMb = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        flowRows = bare.flow();
        bareSpent[0] += Clock::now() - start;
        start = Clock::now();
        groups = bare.group();
        bareSpent[1] += Clock::now() - start;

        frmain->setEnabled(false);
        start = Clock::now();
        auto* window = qobject_cast<KindSummaryWindow*>(WindowRegistry::instance().create(sales.key, frmain));
        window->showWork();
        const Clock::duration opening = Clock::now() - start;
        resetPeakMemory();
        start = Clock::now();
        window->refreshClick();
        const Clock::duration refreshing = Clock::now() - start;
        peakMb = std::max(peakMb, peakMemoryMb());
        if (frdm->AQoutdetail->recordCount() != flowRows) {
            fprintf(stderr, "flow differs: bare %d, window %d\n", flowRows, frdm->AQoutdetail->recordCount());
            std::abort();
        }
        start = Clock::now();
        benchmark::DoNotOptimize(walkFlow(*frdm->AQoutdetail, shown));
        walkSpent += Clock::now() - start;
        start = Clock::now();
        if (bare.readFlow() != flowRows) {
            fprintf(stderr, "bare read differs from the flow\n");
            std::abort();
        }
        bareReadSpent += Clock::now() - start;
        start = Clock::now();
        window->groupClick();
        const Clock::duration grouping = Clock::now() - start;
        if (frdm->AQoutdetail->recordCount() != groups) {
            fprintf(stderr, "groups differ: bare %d, window %d\n", groups, frdm->AQoutdetail->recordCount());
            std::abort();
        }
        window->close();
        flushEvents();
        spent[0] += opening;
        spent[1] += refreshing;
        spent[2] += grouping;
        state.SetIterationTime(seconds(opening + refreshing + grouping));
    }
    const double iterations = double(state.iterations());
    state.counters["lines"] = flowRows;
    state.counters["open_ms"] = seconds(spent[0]) * 1000 / iterations;
    state.counters["refresh_ms"] = seconds(spent[1]) * 1000 / iterations;
    state.counters["group_ms"] = seconds(spent[2]) * 1000 / iterations;
    state.counters["bare_flow_ms"] = seconds(bareSpent[0]) * 1000 / iterations;
    state.counters["bare_group_ms"] = seconds(bareSpent[1]) * 1000 / iterations;
    state.counters["open_vs_bare"] = seconds(spent[0]) / seconds(bareSpent[0]);
    state.counters["refresh_vs_bare"] = seconds(spent[1]) / seconds(bareSpent[0]);
    state.counters["group_vs_bare"] = seconds(spent[2]) / seconds(bareSpent[1]);
    state.counters["walk_ms"] = seconds(walkSpent) * 1000 / iterations;
    state.counters["bare_read_ms"] = seconds(bareReadSpent) * 1000 / iterations;
    state.counters["walk_vs_bare"] = seconds(walkSpent) / seconds(bareReadSpent);
    state.counters["rss_MB"] = peakMb;
}

} // namespace

BENCHMARK(BM_CustomerSummaryRefill)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SalesSummaryWindow)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
