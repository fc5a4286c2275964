// Layout tests: a database with a company, a logged-in operator, and a preview that records.
#pragma once

#include "core/CoreFixture.h"
#include "core/Tfrmain.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "support/PrintedPreview.h"

#include <QDate>

class LayoutFixture : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        main = std::make_unique<lb::core::Tfrmain>();
        frmain = main.get();
        main->OperatorName = QStringLiteral("王会计");
        exec(QStringLiteral("update company set name=:p1, tel=:p2, addr=:p3"),
             {QStringLiteral(" 朔栎商行  "), QStringLiteral("电话0571-88886666"), QStringLiteral("杭州市文一路8号")});
        dm().applyDisplayFormats();
        dm().ATcompany->open();
    }

    void TearDown() override
    {
        main.reset();
        CoreFixture::TearDown();
    }

    // A document header of `table` with number `intno` for the party, and its lines: a
    // carry-over line (when `carryOver` is not negative) and `lines` product lines of
    // quantity i and price 10 (amount 10 i), remark "备" + i.
    void makeDocument(const QString& kind, const QString& intno, int lines, double carryOver = 500)
    {
        lb::db::Transaction transaction(db());
        insertRow(kind + QStringLiteral("list"),
                  {{QStringLiteral("intno"), intno}, {QStringLiteral("billdate"), QDate(2026, 6, 1)},
                   {QStringLiteral("customerid"), QStringLiteral("0000000001")}, {QStringLiteral("customername"), QStringLiteral("东方超市")},
                   {QStringLiteral("tel"), QStringLiteral("13800001111")}, {QStringLiteral("addr"), QStringLiteral("西湖区1号")},
                   {QStringLiteral("balance"), carryOver}, {QStringLiteral("amount"), 123.5}, {QStringLiteral("deduck"), 3.5},
                   {QStringLiteral("pay"), 20.0}, {QStringLiteral("rest"), 600.0}, {QStringLiteral("hjsl"), 7.0},
                   {QStringLiteral("hjjs"), 2.0}, {QStringLiteral("remark1"), QStringLiteral("货到付款")}});
        if (carryOver >= 0)
            insertRow(kind + QStringLiteral("detail"),
                      {{QStringLiteral("mainintno"), intno}, {QStringLiteral("spmc"), QStringLiteral("上期结转")},
                       {QStringLiteral("amount"), carryOver}, {QStringLiteral("rest"), carryOver}});
        for (int i = 1; i <= lines; ++i)
            insertRow(kind + QStringLiteral("detail"),
                      {{QStringLiteral("mainintno"), intno}, {QStringLiteral("sphh"), QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0'))},
                       {QStringLiteral("spmc"), QStringLiteral("商品%1").arg(i)}, {QStringLiteral("unit"), QStringLiteral("个")},
                       {QStringLiteral("sl"), double(i)}, {QStringLiteral("dj_n"), 10.0}, {QStringLiteral("dj_w"), 8.0},
                       {QStringLiteral("amount"), 10.0 * i}, {QStringLiteral("js"), 1.0}, {QStringLiteral("sl_j"), 12.0},
                       {QStringLiteral("spgg"), QStringLiteral("规%1").arg(i)}, {QStringLiteral("remark"), QStringLiteral("备%1").arg(i)}});
        transaction.commit();
    }

    // The shared datasets on the document `intno` of `kind` ("out", "in", ...), its lines in
    // number order; without the carry-over line when `hideCarryOver`.
    void showDocument(const QString& kind, const QString& intno, bool hideCarryOver)
    {
        dm().AQoutlist->reopen(QStringLiteral("select * from %1list where intno='%2'").arg(kind, intno));
        dm().AQoutdetail->close();
        dm().AQoutdetail->sql().setText(QStringLiteral("select * from %1detail where mainintno=:p1%2 order by intno")
                                            .arg(kind, hideCarryOver ? QStringLiteral(" and spmc<>'上期结转'") : QString()));
        dm().AQoutdetail->paramByName(QStringLiteral("p1")).setAsString(intno);
        dm().AQoutdetail->open();
    }

    std::unique_ptr<lb::core::Tfrmain> main;
    lb::test::PrintedPreview preview;
};
