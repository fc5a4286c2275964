// The books of a busy shop's year, made once by the benchmarks and kept in the build folder.
#include "bench/BigBooks.h"

#include "core/NewDatabase.h"
#include "core/Schema.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "platform/db/Connection.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Clock.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVariant>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

using lb::core::Tfrdm;
using lb::core::Tfrmain;

namespace lb::bench {

namespace {

// Raised when the books were made by other code: a cached file of an older generator or schema
// is made again instead of being measured.
constexpr int kGeneratorVersion = 1;

void check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::abort();
    }
}

QString number(int n) { return QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0')); }

// One prepared insert of the columns named, run once per row.
class Insert {
public:
    Insert(sqlite3* db, const char* table, const QStringList& columns) : db_(db)
    {
        QStringList marks;
        for (int i = 1; i <= columns.size(); ++i)
            marks << QStringLiteral("?%1").arg(i);
        const QByteArray sql = QStringLiteral("insert into %1 (%2) values (%3)")
                                   .arg(QLatin1String(table), columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))
                                   .toUtf8();
        check(db, sqlite3_prepare_v2(db, sql.constData(), -1, &stmt_, nullptr));
    }
    ~Insert() { sqlite3_finalize(stmt_); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    void row(const QVariantList& values)
    {
        sqlite3_reset(stmt_);
        for (int i = 0; i < values.size(); ++i) {
            const QVariant& value = values[i];
            if (value.typeId() == QMetaType::Double) {
                sqlite3_bind_double(stmt_, i + 1, value.toDouble());
            } else if (value.typeId() == QMetaType::Int) {
                sqlite3_bind_int(stmt_, i + 1, value.toInt());
            } else {
                const QByteArray text = value.toString().toUtf8();
                sqlite3_bind_text(stmt_, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            }
        }
        check(db_, sqlite3_step(stmt_));
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

const QStringList headerColumns{"intno", "billdate", "customerintno", "customerid", "customername", "persondeal", "tel",
                                "balance", "amount", "pay", "deduck", "rest", "pass", "cancel", "employeename", "bankid",
                                "bankname", "hjjs", "hjsl", "billtype", "billname"};
const QStringList lineColumns{"intno", "mainintno", "spintno", "sphh", "spmc", "unit", "dj_w", "dj_n", "amount", "pay",
                              "remark", "billtype", "billname", "billdate", "customerid", "customername", "bankid",
                              "pass", "cancel", "js", "sl_j", "sl", "spgg"};

struct Kind {
    const char* header;
    const char* lines;
    const char* billtype;
    const char* billname;
    bool customers;   // the party is a customer (else a supplier)
    bool money;       // receipt or payment: one line naming an account
    bool sellingPrice;
    int documents;
    int maxLines;     // a document holds 1 to maxLines product lines
};

class Writer {
public:
    Writer(sqlite3* db, const BookSize& size, int scale) : db_(db), size_(size), scale_(scale) {}

    void masters()
    {
        Insert product(db_, "product", {"intno", "name", "sphh", "spmc", "spgg", "spbzxh", "dj_w", "dj_n", "spmz", "spzz", "sl",
                                        "rest", "barcode"});
        for (int p = 1; p <= size_.products; ++p) {
            product.row({number(p), QStringLiteral("食品"), code(p), name(p), QStringLiteral("%1g×%2").arg(100 + p % 400).arg(p % 24 + 1),
                         QStringLiteral("个"), buying(p), selling(p), selling(p) * 1.1, selling(p) * 1.2, 1e7, 1e7,
                         QStringLiteral("69%1").arg(p, 11, 10, QLatin1Char('0'))});
        }
        for (const auto& [table, count, word] : {std::tuple{"customer", size_.customers, "客户"}, std::tuple{"branch", size_.suppliers, "供应商"}}) {
            Insert party(db_, table, {"intno", "id", "name", "tel", "addr", "persondeal", "rest", "balance"});
            for (int c = 1; c <= count; ++c)
                party.row({number(c), number(c), QStringLiteral("%1%2").arg(QString::fromUtf8(word)).arg(c),
                           QStringLiteral("0571-8%1").arg(c, 7, 10, QLatin1Char('0')), QStringLiteral("杭州市%1路%2号").arg(c % 90).arg(c),
                           QStringLiteral("张先生"), 1000.0, 1000.0});
        }
        Insert bank(db_, "bank", {"intno", "id", "name", "rest", "balance"});
        for (int b = 2; b <= 5; ++b)
            bank.row({number(b), number(b), account(b), 10000.0, 10000.0});
    }

    void documents(const Kind& kind)
    {
        Insert header(db_, kind.header, headerColumns);
        Insert line(db_, kind.lines, lineColumns);
        int lineNo = 0;
        for (int d = 0; d < kind.documents; ++d) {
            const QString intno = number(d + 1);
            const QString date = QDate(2026, 1, 1).addDays(qint64(d) * 365 / kind.documents).toString(Qt::ISODate);
            const int party = kind.customers ? (d % (14 * scale_) == 0 ? 1 : 2 + d % (size_.customers - 1)) : 1 + d % size_.suppliers;
            const QString partyName = QStringLiteral("%1%2").arg(kind.customers ? QStringLiteral("客户") : QStringLiteral("供应商")).arg(party);
            const int bank = 1 + d % 5;
            const QVariantList posted{QString::fromLatin1(kind.billtype), QString::fromUtf8(kind.billname), date, number(party),
                                      partyName, number(bank), 1, 0};
            line.row(QVariantList{number(++lineNo), intno, QString(), QString(), QStringLiteral("上期结转"), QString(), 0.0, 0.0,
                                  0.0, 0.0, QString()}
                     + posted + QVariantList{0.0, 0.0, 0.0, QString()});
            double amount = 0;
            double pay = 0;
            double quantity = 0;
            const int count = kind.money ? 1 : 1 + (d * 7) % kind.maxLines;
            for (int k = 0; k < count; ++k) {
                if (kind.money) {
                    const double sum = 100 + (d * 37) % 900;
                    line.row(QVariantList{number(++lineNo), intno, QString(), number(bank), account(bank), QString(), 0.0, 0.0, sum, 0.0,
                                          QString()}
                             + posted + QVariantList{0.0, 0.0, 0.0, QString()});
                    amount += sum;
                    continue;
                }
                const int p = (d * 37 + k * 1013) % size_.products + 1;
                const double sl = 1 + (d + k) % 5;
                const double price = kind.sellingPrice ? selling(p) : buying(p);
                // Every third document is paid on its first line.
                const double paid = k == 0 && d % 3 == 0 ? sl * price : 0.0;
                line.row(QVariantList{number(++lineNo), intno, number(p), code(p), name(p), QStringLiteral("个"), buying(p), selling(p),
                                      sl * price, paid, QString()}
                         + posted + QVariantList{sl, 1.0, sl, QStringLiteral("%1g×%2").arg(100 + p % 400).arg(p % 24 + 1)});
                amount += sl * price;
                pay += paid;
                quantity += sl;
            }
            header.row({intno, date, number(party), number(party), partyName, QStringLiteral("张先生"), QStringLiteral("0571-88886666"),
                        0.0, amount, pay, 0.0, amount - pay, 1, 0, QStringLiteral("营业员"), number(bank), account(bank), quantity,
                        quantity, QString::fromLatin1(kind.billtype), QString::fromUtf8(kind.billname)});
        }
    }

private:
    static QString code(int p) { return QStringLiteral("SP%1").arg(p, 6, 10, QLatin1Char('0')); }
    static QString name(int p) { return QStringLiteral("商品%1号").arg(p); }
    static QString account(int b) { return b == 1 ? QStringLiteral("现金") : QStringLiteral("银行%1").arg(b); }
    static double buying(int p) { return 2 + p % 97 * 0.5; }
    static double selling(int p) { return buying(p) * 1.25; }

    sqlite3* db_;
    BookSize size_;
    int scale_;
};

void makeBooks(const QString& path, int scale)
{
    const BookSize size = BookSize::at(scale);
    lb::core::NewDatabase::create(path);
    sqlite3* db = nullptr;
    check(db, sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr));
    check(db, sqlite3_exec(db, "PRAGMA cache_size=-262144; BEGIN", nullptr, nullptr, nullptr));
    Writer writer(db, size, scale);
    writer.masters();
    const Kind kinds[] = {
        {"outlist", "outdetail", "01", "销售单", true, false, true, size.sales, 11},
        {"inlist", "indetail", "02", "进货单", false, false, false, size.purchases, 21},
        {"outbacklist", "outbackdetail", "05", "销售退货单", true, false, true, size.salesReturns, 5},
        {"inbacklist", "inbackdetail", "06", "进货退货单", false, false, false, size.purchaseReturns, 5},
        {"getlist", "getdetail", "13", "收款单", true, true, false, size.receipts, 1},
        {"putlist", "putdetail", "14", "付款单", false, true, false, size.payments, 1},
    };
    for (const Kind& kind : kinds)
        writer.documents(kind);
    check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
    sqlite3_close_v2(db);
}

// The schema's statements and the generator's version name the cached file.
QString stamp()
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const lb::core::TableDef& table : lb::core::Schema::tables())
        hash.addData(lb::core::Schema::createTableSql(table).toUtf8());
    for (const lb::core::IndexDef& index : lb::core::Schema::indexes())
        hash.addData(lb::core::Schema::createIndexSql(index).toUtf8());
    hash.addData(QByteArray::number(kGeneratorVersion));
    return QString::fromLatin1(hash.result().toHex().left(10));
}

} // namespace

BookSize BookSize::at(int scale)
{
    return {20000 * scale, 3000 * scale, 500 * scale, 35000 * scale, 6000 * scale, 2000 * scale, 1000 * scale, 10000 * scale,
            6000 * scale};
}

QString BigBooks::cachedFile(int scale)
{
    const QDir cache(QStringLiteral(LB_BENCH_CACHE));
    const QString prefix = QStringLiteral("books-x%1-").arg(scale);
    const QString path = cache.filePath(prefix + stamp() + QStringLiteral(".mdb"));
    if (QFileInfo::exists(path))
        return path;
    for (const QString& stale : cache.entryList({prefix + QLatin1Char('*')}, QDir::Files))
        QFile::remove(cache.filePath(stale));
    std::fprintf(stderr, "making the books at scale %d in %s ...\n", scale, qPrintable(path));
    const QString part = path + QStringLiteral(".part");
    makeBooks(part, scale);
    if (!QFile::rename(part, path))
        std::abort();
    return path;
}

void BigBooks::makeSmall(const QString& path)
{
    lb::core::NewDatabase::create(path);
    sqlite3* db = nullptr;
    check(db, sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr));
    check(db, sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr));
    BookSize small{};
    small.products = 200;
    small.customers = 10;
    small.suppliers = 10;
    Writer(db, small, 1).masters();
    check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
    sqlite3_close_v2(db);
}

BookFolder::BookFolder(void (*makeBooks)(const QString& path))
{
    lb::AppPaths::setProgramFolder(folder_.path());
    makeBooks(database());
    start();
}

BookFolder::BookFolder(int scale)
{
    lb::AppPaths::setProgramFolder(folder_.path());
    QDir().mkpath(QFileInfo(database()).absolutePath());
    if (!QFile::copy(BigBooks::cachedFile(scale), database()))
        std::abort();
    start();
}

void BookFolder::start()
{
    lb::Clock::set(QDateTime(QDate(2026, 12, 31), QTime(10, 0)));
    dm_ = std::make_unique<Tfrdm>();
    frdm = dm_.get();
    dm_->ADOCon.setDatabaseFile(database());
    dm_->ADOCon.open();
    main_ = std::make_unique<Tfrmain>();
    frmain = main_.get();
    main_->OperatorNo = QStringLiteral("999");
    main_->OperatorPassword = QStringLiteral("888");
}

BookFolder::~BookFolder()
{
    main_.reset();
    dm_.reset();
    lb::Clock::reset();
    lb::AppPaths::setProgramFolder(QString());
}

QString BookFolder::database() const
{
    return lb::AppPaths::databaseFile();
}

void BookFolder::restore(int scale)
{
    dm_->ATcompany->close();
    dm_->ADOCon.close();
    QFile::remove(database());
    if (!QFile::copy(BigBooks::cachedFile(scale), database()))
        std::abort();
    dm_->ADOCon.open();
}

} // namespace lb::bench
