// Posting a 100-line sales document (过帐) through the document layer, set against the same
// statements issued with plain SQLite calls in one transaction and in autocommit, in one run;
// and 过帐 and 冲数 of a 200-line sale on the books of a busy shop's year against the same on
// books of 200 products.
#include "bench/BenchFile.h"
#include "bench/BigBooks.h"
#include "core/NewDatabase.h"
#include "documents/DocumentKinds.h"
#include "documents/DocumentPosting.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace lb::db;
using lb::documents::BillKind;
using lb::documents::DocumentKinds;
using lb::documents::DocumentPosting;

namespace {

constexpr int kLines = 100;
const char* const kDocument = "0000000001";

// A fresh database holding one customer, 100 products and one recalculated sales document of
// 100 lines (one per product), with a plain connection beside the program's.
class SalesFile : public lb::bench::BenchFile {
public:
    SalesFile() : BenchFile(&lb::core::NewDatabase::create)
    {
        Transaction transaction(connection());
        run(QStringLiteral("insert into customer (intno,id,name,balance) values ('0000000001','C001','张三',0)"));
        run(QStringLiteral("insert into outlist (intno,billdate,customerid,customername,bankid,amount,pay,deduck,rest,pass)"
                           " values ('0000000001','2026-06-15','C001','张三','0000000001',5050,100,0,4950,0)"));
        run(QStringLiteral("insert into outdetail (intno,mainintno,spmc) values ('0000000001','0000000001','上期结转')"));
        for (int i = 1; i <= kLines; ++i) {
            const QString product = QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'));
            run(QStringLiteral("insert into product (intno,sphh,spmc,sl) values ('%1','P%2','商品%2',1e9)").arg(product).arg(i));
            run(QStringLiteral("insert into outdetail (intno,mainintno,spintno,sphh,spmc,sl,dj_n,amount,pay)"
                               " values ('%1','0000000001','%2','P%3','商品%3',%3,1,%3,1)")
                    .arg(QStringLiteral("%1").arg(i + 1, 10, 10, QLatin1Char('0')), product)
                    .arg(i));
        }
        transaction.commit();
        openRaw();
    }

    // Makes the document open again, so that the next run posts it anew.
    void reopenDocument()
    {
        run(QStringLiteral("update outlist set pass=0"));
        run(QStringLiteral("update outdetail set pass=0"));
    }

private:
    void run(const QString& sql)
    {
        Query statement(connection());
        statement.sql().add(sql);
        statement.execSQL();
    }
};

// The statements the posting issues, prepared once on the plain connection: the reads that
// decide the refusals, then the writes.
class RawPosting {
public:
    explicit RawPosting(SalesFile& file) : file_(file)
    {
        state_ = prepare("select pass from outlist where intno=?1");
        header_ = prepare("select * from outlist where intno=?1");
        lines_ = prepare("select * from outdetail where mainintno=?1 order by intno");
        stock_ = prepare("select sl from product where intno=?1");
        party_ = prepare("select _rowid_, id from customer where id=?1");
        account_ = prepare("select _rowid_, id from bank where id=?1");
        partyUpdate_ = prepare("update customer set balance=?1, amount=coalesce(amount,0)+?2, pay=coalesce(pay,0)+?3,"
                               " deduck=coalesce(deduck,0)+?4, amount_y=coalesce(amount_y,0)+?2, pay_y=coalesce(pay_y,0)+?3,"
                               " deduck_y=coalesce(deduck_y,0)+?4 where _rowid_=?5");
        accountUpdate_ = prepare("update bank set balance=coalesce(balance,0)+?1, amount=coalesce(amount,0)+?1,"
                                 " amount_y=coalesce(amount_y,0)+?1 where _rowid_=?2");
        headerUpdate_ = prepare("update outlist set pass=1, billname='销售单', billtype='01' where intno=?1");
        linesUpdate_ = prepare("update outdetail set pass=1, billname='销售单', billtype='01', billdate=?2, customerid=?3,"
                               " customername=?4, bankid=?5 where mainintno=?1");
        productUpdate_ = prepare("update product set sl_out_m=coalesce(sl_out_m,0)+?1, sl_out_y=coalesce(sl_out_y,0)+?1,"
                                 " sl=coalesce(sl,0)-?1 where intno=?2");
    }
    ~RawPosting()
    {
        for (sqlite3_stmt* stmt : all_)
            sqlite3_finalize(stmt);
    }
    RawPosting(const RawPosting&) = delete;
    RawPosting& operator=(const RawPosting&) = delete;

    void post(bool inTransaction)
    {
        // Reads.
        step(bind(state_, {}));
        step(bind(header_, {}));
        const double rest = sqlite3_column_double(header_, 11);
        const double amount = sqlite3_column_double(header_, 8);
        const double pay = sqlite3_column_double(header_, 9);
        const double deduck = sqlite3_column_double(header_, 10);
        struct Line {
            std::string product;
            double sl;
        };
        std::vector<Line> lines;
        bind(lines_, {});
        while (sqlite3_step(lines_) == SQLITE_ROW) {
            const auto* product = reinterpret_cast<const char*>(sqlite3_column_text(lines_, 2));
            lines.push_back({product ? product : "", sqlite3_column_double(lines_, 27)});
        }
        for (const Line& line : lines) {
            if (line.product.empty())
                continue;
            sqlite3_reset(stock_);
            sqlite3_bind_text(stock_, 1, line.product.c_str(), -1, SQLITE_TRANSIENT);
            step(stock_);
        }
        sqlite3_reset(party_);
        sqlite3_bind_text(party_, 1, "C001", -1, SQLITE_STATIC);
        step(party_);
        const sqlite3_int64 party = sqlite3_column_int64(party_, 0);
        sqlite3_reset(account_);
        sqlite3_bind_text(account_, 1, "0000000001", -1, SQLITE_STATIC);
        step(account_);
        const sqlite3_int64 account = sqlite3_column_int64(account_, 0);
        for (sqlite3_stmt* stmt : all_)
            sqlite3_reset(stmt);

        // Writes.
        if (inTransaction)
            file_.check(sqlite3_exec(file_.raw(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
        sqlite3_bind_double(partyUpdate_, 1, rest);
        sqlite3_bind_double(partyUpdate_, 2, amount);
        sqlite3_bind_double(partyUpdate_, 3, pay);
        sqlite3_bind_double(partyUpdate_, 4, deduck);
        sqlite3_bind_int64(partyUpdate_, 5, party);
        step(partyUpdate_);
        sqlite3_bind_double(accountUpdate_, 1, pay);
        sqlite3_bind_int64(accountUpdate_, 2, account);
        step(accountUpdate_);
        step(bind(headerUpdate_, {}));
        bind(linesUpdate_, {"2026-06-15", "C001", "张三", "0000000001"});
        step(linesUpdate_);
        for (const Line& line : lines) {
            if (line.product.empty())
                continue;
            sqlite3_reset(productUpdate_);
            sqlite3_bind_double(productUpdate_, 1, line.sl);
            sqlite3_bind_text(productUpdate_, 2, line.product.c_str(), -1, SQLITE_TRANSIENT);
            step(productUpdate_);
        }
        if (inTransaction)
            file_.check(sqlite3_exec(file_.raw(), "COMMIT", nullptr, nullptr, nullptr));
        for (sqlite3_stmt* stmt : all_)
            sqlite3_reset(stmt);
    }

private:
    sqlite3_stmt* prepare(const char* sql)
    {
        sqlite3_stmt* stmt = nullptr;
        file_.check(sqlite3_prepare_v2(file_.raw(), sql, -1, &stmt, nullptr));
        all_.push_back(stmt);
        return stmt;
    }
    // Binds the document number as ?1 and the texts given as ?2, ?3, ...
    sqlite3_stmt* bind(sqlite3_stmt* stmt, std::initializer_list<const char*> texts)
    {
        sqlite3_reset(stmt);
        sqlite3_bind_text(stmt, 1, kDocument, -1, SQLITE_STATIC);
        int index = 2;
        for (const char* text : texts)
            sqlite3_bind_text(stmt, index++, text, -1, SQLITE_STATIC);
        return stmt;
    }
    void step(sqlite3_stmt* stmt) { file_.check(sqlite3_step(stmt)); }

    SalesFile& file_;
    std::vector<sqlite3_stmt*> all_;
    sqlite3_stmt* state_;
    sqlite3_stmt* header_;
    sqlite3_stmt* lines_;
    sqlite3_stmt* stock_;
    sqlite3_stmt* party_;
    sqlite3_stmt* account_;
    sqlite3_stmt* partyUpdate_;
    sqlite3_stmt* accountUpdate_;
    sqlite3_stmt* headerUpdate_;
    sqlite3_stmt* linesUpdate_;
    sqlite3_stmt* productUpdate_;
};

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Each iteration posts the same document three ways, making it open again (untimed) before
// each: plain statements in one transaction, the same in autocommit (every statement its own
// transaction, flushed to disk), and DocumentPosting::post. The reported time is the last one's.
void BM_PostSalesDocument(benchmark::State& state)
{
    SalesFile file;
    RawPosting raw(file);
    const auto& sales = DocumentKinds::of(BillKind::Sales);
    Clock::duration transactionSpent{};
    Clock::duration autocommitSpent{};
    Clock::duration postingSpent{};
    for (auto _ : state) {
        file.reopenDocument();
        auto start = Clock::now();
        raw.post(true);
        transactionSpent += Clock::now() - start;

        file.reopenDocument();
        start = Clock::now();
        raw.post(false);
        autocommitSpent += Clock::now() - start;

        file.reopenDocument();
        start = Clock::now();
        const auto outcome = DocumentPosting::post(file.connection(), sales, QString::fromLatin1(kDocument),
                                                   QStringLiteral("C001"), QStringLiteral("0000000001"));
        const Clock::duration spent = Clock::now() - start;
        if (outcome.refused) {
            fprintf(stderr, "posting refused: %s\n", outcome.message.toUtf8().constData());
            std::abort();
        }
        postingSpent += spent;
        state.SetIterationTime(seconds(spent));
    }
    const double iterations = double(state.iterations());
    state.counters["raw_tx_ms"] = seconds(transactionSpent) * 1000 / iterations;
    state.counters["autocommit_ms"] = seconds(autocommitSpent) * 1000 / iterations;
    state.counters["vs_raw_tx"] = seconds(postingSpent) / seconds(transactionSpent);
    state.counters["autocommit_vs"] = seconds(autocommitSpent) / seconds(postingSpent);
    state.SetItemsProcessed(state.iterations() * kLines);
}

// Writes an open, recalculated sale of 200 lines for customer 0000000002 into the books and
// returns its number: one line of each of the products 1 to 200, or with `spreadOver` products
// 200 of them spread over all, numbered after the table's highest.
QString writeSale(Connection& connection, int spreadOver = 0)
{
    Transaction transaction(connection);
    Query statement(connection);
    const auto next = [&](const char* table) {
        statement.reopen(QStringLiteral("select coalesce(max(intno),'0') from %1").arg(QLatin1String(table)));
        return statement.field(0).asString().toLongLong() + 1;
    };
    const auto number = [](qint64 n) { return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0')); };
    const QString intno = number(next("outlist"));
    qint64 line = next("outdetail");
    statement.close();
    Query insert(connection);
    insert.sql().setText(QStringLiteral("insert into outdetail (intno,mainintno,spintno,sphh,spmc,unit,sl,dj_n,dj_w,amount,pay)"
                                        " values (?,?,?,?,?,'个',?,?,?,?,?)"));
    insert.execSQL({number(line++), intno, QString(), QString(), QStringLiteral("上期结转"), 0.0, 0.0, 0.0, 0.0, 0.0});
    double amount = 0;
    for (int k = 0; k < 200; ++k) {
        const int product = spreadOver > 0 ? 1 + (k * 97) % spreadOver : k + 1;
        const double quantity = 1 + k % 5;
        const double paid = k == 0 ? 10.0 : 0.0;
        insert.execSQL({number(line++), intno, number(product), QStringLiteral("SP%1").arg(product, 6, 10, QLatin1Char('0')),
                        QStringLiteral("商品%1号").arg(product), quantity, 12.5, 10.0, quantity * 12.5, paid});
        amount += quantity * 12.5;
    }
    statement.sql().setText(QStringLiteral("insert into outlist (intno,billdate,customerid,customername,bankid,balance,amount,pay,"
                                           "deduck,rest,pass,cancel) values (?,'2026-12-31','0000000002','客户2','0000000001',"
                                           "1000,?,10,0,?,0,0)"));
    statement.execSQL({intno, amount, 1000 + amount - 10});
    transaction.commit();
    return intno;
}

using Timing = std::pair<Clock::duration, Clock::duration>;

// 过帐 then 冲数 of the sale numbered `intno`, each timed, after making it open again.
Timing postAndReverse(Connection& connection, const QString& intno)
{
    Query reopen(connection);
    reopen.sql().setText(QStringLiteral("update outlist set pass=0, cancel=0 where intno=?"));
    reopen.execSQL({intno});
    reopen.sql().setText(QStringLiteral("update outdetail set pass=0, cancel=0 where mainintno=?"));
    reopen.execSQL({intno});
    const auto& sales = DocumentKinds::of(BillKind::Sales);
    const QString customer = QStringLiteral("0000000002");
    const QString cash = QStringLiteral("0000000001");
    auto start = Clock::now();
    const auto posted = DocumentPosting::post(connection, sales, intno, customer, cash);
    const Clock::duration posting = Clock::now() - start;
    start = Clock::now();
    const auto reversed = DocumentPosting::reverse(connection, sales, intno, customer, cash);
    const Clock::duration reversing = Clock::now() - start;
    if (posted.refused || reversed.refused) {
        fprintf(stderr, "refused: %s%s\n", posted.message.toUtf8().constData(), reversed.message.toUtf8().constData());
        std::abort();
    }
    return {posting, reversing};
}

// 过帐 and 冲数 of one 200-line sale (products 1 to 200) on the books of a busy shop's year
// (scale 1 or 2) and on books of 200 products, in every iteration; the reported time is the big
// books' posting and reversal together. Beside it, the same on the big books for a sale whose
// products lie spread over the whole product table: its commit writes a page of the product
// table for nearly every line, where the 200 neighbouring products share a few pages.
void BM_PostAndReverseOnBigBooks(benchmark::State& state)
{
    const int scale = int(state.range(0));
    lb::bench::BenchFile big([scale](const QString& path) { QFile::copy(lb::bench::BigBooks::cachedFile(scale), path); });
    lb::bench::BenchFile small(&lb::bench::BigBooks::makeSmall);
    const QString bigSale = writeSale(big.connection());
    const QString spreadSale = writeSale(big.connection(), lb::bench::BookSize::at(scale).products);
    const QString smallSale = writeSale(small.connection());
    Timing smallSpent{}, bigSpent{}, spreadSpent{};
    const auto add = [](Timing& sum, const Timing& one) {
        sum.first += one.first;
        sum.second += one.second;
    };
    for (auto _ : state) {
        add(smallSpent, postAndReverse(small.connection(), smallSale));
        const Timing one = postAndReverse(big.connection(), bigSale);
        add(bigSpent, one);
        add(spreadSpent, postAndReverse(big.connection(), spreadSale));
        state.SetIterationTime(seconds(one.first + one.second));
    }
    const double iterations = double(state.iterations());
    const auto ms = [&](Clock::duration d) { return seconds(d) * 1000 / iterations; };
    state.counters["post_ms"] = ms(bigSpent.first);
    state.counters["reverse_ms"] = ms(bigSpent.second);
    state.counters["small_post_ms"] = ms(smallSpent.first);
    state.counters["small_reverse_ms"] = ms(smallSpent.second);
    state.counters["post_vs_small"] = seconds(bigSpent.first) / seconds(smallSpent.first);
    state.counters["reverse_vs_small"] = seconds(bigSpent.second) / seconds(smallSpent.second);
    state.counters["spread_post_ms"] = ms(spreadSpent.first);
    state.counters["spread_reverse_ms"] = ms(spreadSpent.second);
}

} // namespace

BENCHMARK(BM_PostAndReverseOnBigBooks)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PostSalesDocument)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
