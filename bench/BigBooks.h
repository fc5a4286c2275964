// The books of a busy shop's year, made once by the benchmarks and kept in the build folder.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace lb::core {
class Tfrdm;
class Tfrmain;
}

namespace lb::bench {

// The size of the books at `scale` 1: 20,000 products, 3,000 customers, 500 suppliers and
// 60,000 posted documents of 2026 with about 361,000 lines (sales, purchases, both returns,
// receipts and payments, each with its carry-over line), about 113 MB. Scale 2 doubles every
// count but the busy customer's: customer "0000000001" has about 19,500 lines at every scale.
struct BookSize {
    int products, customers, suppliers;
    int sales, purchases, salesReturns, purchaseReturns, receipts, payments;
    static BookSize at(int scale);
};

class BigBooks {
public:
    static QString busyCustomer() { return QStringLiteral("0000000001"); }

    // The cached database file of the books at `scale`, made when the build folder has none
    // for the program's current schema (a minute or two at scale 2).
    static QString cachedFile(int scale);
    // Books of 200 products and ten customers without documents, made at `path`.
    static void makeSmall(const QString& path);
};

// A program folder of its own holding a copy of the books as works/kvdb.mdb, with the data
// module (frdm) connected to it and the main window (frmain, operator 999 with password "8")
// made over it, the clock at 2026-12-31 10:00; all undone on destruction.
class BookFolder {
public:
    // `makeBooks` writes the database file at the path given.
    explicit BookFolder(void (*makeBooks)(const QString& path));
    explicit BookFolder(int scale);
    ~BookFolder();
    BookFolder(const BookFolder&) = delete;
    BookFolder& operator=(const BookFolder&) = delete;

    QString database() const;
    // Replaces the books with a fresh copy of the cached ones (the connection closed meanwhile).
    void restore(int scale);

private:
    void start();
    QTemporaryDir folder_;
    std::unique_ptr<lb::core::Tfrdm> dm_;
    std::unique_ptr<lb::core::Tfrmain> main_;
};

} // namespace lb::bench
