// Fixture of the summary tests: the document window fixture (main window, date picker, scripted
// boxes and modal windows, reported errors) with posted documents made through the document
// layer or written as their posting writes them, and helpers that open and read the summary
// windows.
#pragma once

#include "core/WindowRegistry.h"
#include "documents/DocumentWindowFixture.h"
#include "platform/db/Query.h"
#include "platform/ui/WorkWindow.h"
#include "summaries/ReportPeriod.h"
#include "summaries/SummaryWindows.h"

#include <QApplication>
#include <QMouseEvent>

// One line of a test document.
struct DocLine {
    QString product;   // intno of the product; empty: a line without product
    QString spmc;
    double sl = 0;
    double price = 0;  // dj_n of sales, dj_w of purchases
    double dj_w = 0;   // the purchase price a sales line carries
    double deduck = 0;
    double pay = 0;
    QString remark = QString();
};

class SummaryFixture : public DocumentWindowFixture {
protected:
    // The window registered under `key`, opened over the main window as its menu item opens it.
    template <class Window>
    Window* open(const char* key)
    {
        lb::summaries::registerSummaryWindows();
        main->setEnabled(false);
        auto* window = qobject_cast<Window*>(lb::core::WindowRegistry::instance().create(QLatin1String(key), main.get()));
        EXPECT_NE(nullptr, window) << key;
        if (window)
            window->showWork();
        return window;
    }

    static void doubleClick(QWidget* widget)
    {
        QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &click);
    }

    static void press(QWidget* widget, int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }

    // The texts of one column of a grid, row by row.
    static QStringList gridColumn(const lb::ui::DataGrid* grid, const QString& field)
    {
        const int index = grid->gridModel()->columnOf(field);
        QStringList texts;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            texts << grid->model()->index(row, index).data().toString();
        return texts;
    }

    static QString title(const lb::ui::DataGrid* grid, const QString& field)
    {
        return grid->model()->headerData(grid->gridModel()->columnOf(field), Qt::Horizontal, Qt::DisplayRole).toString();
    }

    void rememberPeriod(const QDate& from, const QDate& to) { lb::summaries::ReportPeriod::store(db(), {from, to}); }
    QString rememberedPeriod() { return row(QStringLiteral("select ksdate, jsdate from dateconfig")); }

    // A sales document of the customer dated `date`, recalculated and posted in full through
    // the document layer, its payment into `account`. Returns its number.
    QString postSale(const QString& customer, const QString& date, const std::vector<DocLine>& lines,
                     const QString& account = QStringLiteral("0000000001"))
    {
        const QString intno = makeOpenSale(customer, date, lines, account);
        const lb::documents::Outcome outcome = lb::documents::DocumentPosting::post(db(), sales(), intno, customer, account);
        EXPECT_FALSE(outcome.refused) << outcome.message.toStdString();
        return intno;
    }

    // The same document left open (not posted).
    QString makeOpenSale(const QString& customer, const QString& date, const std::vector<DocLine>& lines,
                         const QString& account = QStringLiteral("0000000001"))
    {
        const QString intno = lb::documents::DocumentPosting::create(db(), sales(), QString());
        exec(QStringLiteral("delete from outdetail where mainintno=:p1 and spmc=''"), {intno});
        for (const DocLine& line : lines) {
            const QString code = scalar(QStringLiteral("select sphh from product where intno=:p1"), {line.product}).toString();
            insertRow(QStringLiteral("outdetail"),
                      {{"mainintno", intno}, {"spintno", line.product}, {"sphh", code}, {"spmc", line.spmc}, {"sl", line.sl},
                       {"dj_n", line.price}, {"dj_w", line.dj_w}, {"deduck", line.deduck}, {"pay", line.pay},
                       {"remark", line.remark}});
        }
        recalculate(intno, customer, account, date);
        return intno;
    }

    // A posted document of `kind` for the party dated `date`. Purchases and receipts are
    // recalculated and posted in full through the document layer (a purchase line of
    // quantity q at price p is q packs of 1); the other kinds are written as their posting
    // writes them, so that a test sets each figure directly: the header with the totals of its
    // lines, and its carry-over line and lines flagged posted with the kind's code and name and
    // the header's date, party and account. For receipts and payments a line's product is an account:
    // `spmc` its name, `product` its code (sphh), `price` the sum. Returns its number.
    QString writePosted(lb::documents::BillKind kind, const QString& party, const QString& date,
                        const std::vector<DocLine>& lines, const QString& account = QString())
    {
        if (kind == lb::documents::BillKind::Purchase || kind == lb::documents::BillKind::Receipt)
            return postDocument(kind, party, date, lines, account.isEmpty() ? QStringLiteral("0000000001") : account);
        const lb::documents::DocumentKind& k = lb::documents::DocumentKinds::of(kind);
        const bool money = kind == lb::documents::BillKind::Receipt || kind == lb::documents::BillKind::Payment;
        double amount = 0, deduck = 0, pay = 0, quantity = 0;
        for (const DocLine& line : lines) {
            amount += money ? line.price : line.sl * line.price;
            deduck += line.deduck;
            pay += line.pay;
            quantity += line.sl;
        }
        const QString name = scalar(QStringLiteral("select name from %1 where id=:p1").arg(k.partyTable), {party}).toString();
        const QString intno = insertRow(k.headerTable,
                                        {{"billdate", date}, {"customerid", party}, {"customername", name}, {"bankid", account},
                                         {"amount", amount}, {"deduck", deduck}, {"pay", pay}, {"hjsl", quantity},
                                         {"pass", true}, {"cancel", false}, {"billtype", k.billtype}, {"billname", k.billname}});
        const Values posted{{"mainintno", intno}, {"billdate", date}, {"customerid", party}, {"customername", name},
                            {"bankid", account}, {"pass", true}, {"cancel", false}, {"billtype", k.billtype},
                            {"billname", k.billname}};
        Values carry = posted;
        carry.emplace_back(QStringLiteral("spmc"), lb::documents::DocumentKinds::CarryOverLine);
        insertRow(k.lineTable, carry);
        for (const DocLine& line : lines) {
            Values values = posted;
            const QString code = money ? line.product
                                       : scalar(QStringLiteral("select sphh from product where intno=:p1"), {line.product}).toString();
            values.emplace_back(QStringLiteral("spintno"), money ? QString() : line.product);
            values.emplace_back(QStringLiteral("sphh"), code);
            values.emplace_back(QStringLiteral("spmc"), line.spmc);
            values.emplace_back(QStringLiteral("sl"), line.sl);
            values.emplace_back(money ? QStringLiteral("amount") : QStringLiteral("dj_w"), line.price);
            if (!money) {
                values.emplace_back(QStringLiteral("dj_n"), line.price);
                values.emplace_back(QStringLiteral("amount"), line.sl * line.price);
            }
            values.emplace_back(QStringLiteral("deduck"), line.deduck);
            values.emplace_back(QStringLiteral("pay"), line.pay);
            values.emplace_back(QStringLiteral("remark"), line.remark);
            insertRow(k.lineTable, values);
        }
        return intno;
    }

    QString postDocument(lb::documents::BillKind kind, const QString& party, const QString& date,
                         const std::vector<DocLine>& lines, const QString& account)
    {
        const lb::documents::DocumentKind& k = lb::documents::DocumentKinds::of(kind);
        const bool receipt = kind == lb::documents::BillKind::Receipt;
        const QString intno = lb::documents::DocumentPosting::create(db(), k, QString());
        exec(QStringLiteral("delete from %1 where mainintno=:p1 and spmc<>'上期结转'").arg(k.lineTable), {intno});
        for (const DocLine& line : lines) {
            Values values{{"mainintno", intno}, {"spmc", line.spmc}, {"deduck", line.deduck}, {"remark", line.remark}};
            if (receipt) {
                values.push_back({QStringLiteral("sphh"), line.product});
                values.push_back({QStringLiteral("amount"), line.price});
            } else {
                const QString code = scalar(QStringLiteral("select sphh from product where intno=:p1"), {line.product}).toString();
                for (const auto& [column, value] : Values{{"spintno", line.product}, {"sphh", code}, {"js", line.sl}, {"sl_j", 1.0},
                                                          {"dj_w", line.price}, {"pay", line.pay}})
                    values.emplace_back(column, value);
            }
            insertRow(k.lineTable, values);
        }
        recalculate(k, intno, party, account, date);
        const lb::documents::Outcome outcome = lb::documents::DocumentPosting::post(db(), k, intno, party, account);
        EXPECT_FALSE(outcome.refused) << outcome.message.toStdString();
        return intno;
    }

};
