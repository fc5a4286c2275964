// What users wait for around datasets: a window walking a long product list and a command
// posting many edited rows in one transaction, each set against a plain SQLite prepared-statement
// loop doing the same work in the same run (counter "vs_raw").
#include "bench/BenchFile.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>

using namespace lb::db;

namespace {

constexpr int kRows = 100000;
constexpr int kPosts = 10000;

const QString productSql = QStringLiteral("SELECT intno, sphh, spmc, unit, spgg, dj_w, dj_n, kcsl FROM product");

// A product table of `kRows` rows in a temporary file, with Chinese names as the shop has them.
class ProductFile : public lb::bench::BenchFile {
public:
    ProductFile() : BenchFile(&Connection::createFile)
    {
        connection().execute(QStringLiteral(
            "CREATE TABLE product (intno VARCHAR(10), sphh VARCHAR(15), spmc VARCHAR(40), unit VARCHAR(6),"
            " spgg VARCHAR(20), dj_w DOUBLE, dj_n DOUBLE, kcsl DOUBLE)"));
        Transaction transaction(connection());
        Query insert(connection());
        insert.sql().setText(QStringLiteral(
            "INSERT INTO product VALUES (:intno, :sphh, :spmc, '个', :spgg, :dj_w, :dj_n, :kcsl)"));
        const QString names[] = {QStringLiteral("不锈钢螺丝"), QStringLiteral("镀锌六角螺母"),
                                 QStringLiteral("平垫圈"), QStringLiteral("膨胀螺栓"), QStringLiteral("自攻钉")};
        for (int i = 0; i < kRows; ++i) {
            insert.paramByName(QStringLiteral("intno")).setAsString(QStringLiteral("P%1").arg(i, 8, 10, QChar('0')));
            insert.paramByName(QStringLiteral("sphh")).setAsString(QStringLiteral("HH-%1").arg(i, 6, 10, QChar('0')));
            insert.paramByName(QStringLiteral("spmc"))
                .setAsString(QStringLiteral("%1 M%2×%3").arg(names[i % 5]).arg(i % 24 + 3).arg(i % 90 + 10));
            insert.paramByName(QStringLiteral("spgg")).setAsString(QStringLiteral("GB/T %1").arg(5780 + i % 40));
            insert.paramByName(QStringLiteral("dj_w")).setAsFloat(0.35 + (i % 500) * 0.01);
            insert.paramByName(QStringLiteral("dj_n")).setAsFloat(0.5 + (i % 500) * 0.013);
            insert.paramByName(QStringLiteral("kcsl")).setAsFloat(i % 1000);
            insert.execSQL();
        }
        transaction.commit();
        openRaw();
    }
};

ProductFile& products()
{
    static ProductFile file;
    return file;
}

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// The plain loop of a walk: the same SELECT stepped to the end, reading the same columns
// into the same kinds of values the window reads.
double rawWalk(ProductFile& file)
{
    double sum = 0;
    qsizetype length = 0;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = productSql.toUtf8();
    file.check(sqlite3_prepare_v2(file.raw(), sql.constData(), int(sql.size()), &stmt, nullptr));
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const QString code = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)),
                                               sqlite3_column_bytes(stmt, 1));
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)),
                                               sqlite3_column_bytes(stmt, 2));
        length += code.size() + name.size();
        sum += sqlite3_column_double(stmt, 6) + sqlite3_column_double(stmt, 7);
    }
    file.check(rc);
    sqlite3_finalize(stmt);
    benchmark::DoNotOptimize(length);
    return sum;
}

// What a list window does: open the query (the snapshot load), First, then Next until Eof,
// reading fields by name on every row; closing frees the snapshot. `loading` takes the time of
// the opening.
double queryWalk(ProductFile& file, Clock::duration& loading)
{
    double sum = 0;
    qsizetype length = 0;
    Query query(file.connection());
    query.sql().setText(productSql);
    const auto start = Clock::now();
    query.open();
    loading += Clock::now() - start;
    for (query.first(); !query.eof(); query.next()) {
        length += query.fieldByName(QStringLiteral("sphh")).asString().size()
            + query.fieldByName(QStringLiteral("spmc")).asString().size();
        sum += query.fieldByName(QStringLiteral("dj_n")).asFloat() + query.fieldByName(QStringLiteral("kcsl")).asFloat();
    }
    query.close();
    benchmark::DoNotOptimize(length);
    return sum;
}

// The plain loop of posting: one prepared UPDATE by rowid run for every row in one transaction.
// Returns the time spent committing.
Clock::duration rawPosts(ProductFile& file, double price)
{
    sqlite3* db = file.raw();
    file.check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
    sqlite3_stmt* stmt = nullptr;
    file.check(sqlite3_prepare_v2(db, "UPDATE product SET dj_n = ? WHERE rowid = ?", -1, &stmt, nullptr));
    for (int row = 1; row <= kPosts; ++row) {
        file.check(sqlite3_bind_double(stmt, 1, price + row * 0.001));
        file.check(sqlite3_bind_int64(stmt, 2, row));
        file.check(sqlite3_step(stmt));
        file.check(sqlite3_reset(stmt));
    }
    sqlite3_finalize(stmt);
    const auto start = Clock::now();
    file.check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
    return Clock::now() - start;
}

// What a command over an open list does: Edit, assign, Post on each of the first rows, all in
// one transaction. Returns the time spent committing.
Clock::duration queryPosts(ProductFile& file, Query& query, double price)
{
    Transaction transaction(file.connection());
    int row = 1;
    for (query.first(); row <= kPosts; query.next(), ++row) {
        query.edit();
        query.fieldByName(QStringLiteral("dj_n")).setAsFloat(price + row * 0.001);
        query.post();
    }
    const auto start = Clock::now();
    transaction.commit();
    return Clock::now() - start;
}

// Each iteration runs the plain loop and the dataset loop one after the other, so that both
// see the same machine state; the reported time is the dataset's. Both loops return the time
// they spent committing: the disk's flush is the same for both and can swamp the rest, so the
// ratio without it ("loop_vs_raw") is given beside the whole one.
template <typename Raw, typename Layer>
void compare(benchmark::State& state, Raw raw, Layer layer)
{
    Clock::duration rawSpent{};
    Clock::duration layerSpent{};
    Clock::duration rawCommits{};
    Clock::duration layerCommits{};
    for (auto _ : state) {
        auto start = Clock::now();
        rawCommits += raw();
        rawSpent += Clock::now() - start;
        start = Clock::now();
        layerCommits += layer();
        const Clock::duration spent = Clock::now() - start;
        layerSpent += spent;
        state.SetIterationTime(seconds(spent));
    }
    const double iterations = double(state.iterations());
    state.counters["raw_ms"] = seconds(rawSpent) * 1000 / iterations;
    state.counters["vs_raw"] = seconds(layerSpent) / seconds(rawSpent);
    if (rawCommits != Clock::duration::zero())
        state.counters["loop_vs_raw"] = seconds(layerSpent - layerCommits) / seconds(rawSpent - rawCommits);
}

void BM_WalkQuery(benchmark::State& state)
{
    ProductFile& file = products();
    Clock::duration loading{};
    compare(
        state,
        [&] {
            benchmark::DoNotOptimize(rawWalk(file));
            return Clock::duration::zero();
        },
        [&] {
            benchmark::DoNotOptimize(queryWalk(file, loading));
            return Clock::duration::zero();
        });
    state.counters["load_ms"] = seconds(loading) * 1000 / double(state.iterations());
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_PostEdits(benchmark::State& state)
{
    ProductFile& file = products();
    Query query(file.connection());
    query.sql().setText(productSql);
    query.open();
    // Each loop writes other values than the one before: SQLite leaves a row whose new content
    // equals the old untouched, which would spare the second loop its writes.
    double price = 1;
    compare(state, [&] { return rawPosts(file, price); },
            [&] {
                const Clock::duration commit = queryPosts(file, query, price + 0.5);
                price += 1;
                return commit;
            });
    state.SetItemsProcessed(state.iterations() * kPosts);
}

} // namespace

BENCHMARK(BM_WalkQuery)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PostEdits)->UseManualTime()->Unit(benchmark::kMillisecond);
