// Making and editing open sales documents through datasets: numbering, look-up, recalculation.
#include "documents/DocumentFixture.h"

using lb::documents::DocumentEditing;
using lb::documents::DocumentPosting;

namespace {

class DocumentEditingTest : public DocumentFixture {
protected:
    // Datasets over one document, as an entry form holds them.
    struct Open {
        Open(lb::db::Connection& connection, const QString& intno, const QString& headerSql = QStringLiteral("select * from outlist where intno=:p1"))
            : header(connection), lines(connection)
        {
            header.sql().add(headerSql);
            if (headerSql.contains(QLatin1String(":p1")))
                header.paramByName(QStringLiteral("p1")).setAsString(intno);
            header.open();
            lines.sql().add(QStringLiteral("select * from outdetail where mainintno=:p1 order by intno"));
            lines.paramByName(QStringLiteral("p1")).setAsString(intno);
            lines.open();
        }
        lb::db::Query header;
        lb::db::Query lines;
    };
};

} // namespace

TEST_F(DocumentEditingTest, NewDocumentsAreNumberedOverTheWholeHeaderAndLineTables)
{
    exec(QStringLiteral("update config set remark1='谢谢惠顾'"));
    EXPECT_EQ(QStringLiteral("0000000001"), DocumentPosting::create(db(), sales(), QStringLiteral("谢谢惠顾")));
    EXPECT_EQ(QStringLiteral("0000000002"), DocumentPosting::create(db(), sales(), QString()));
    EXPECT_EQ((QStringList{QStringLiteral("0000000001|2026-06-15|False|0000000001|现金|谢谢惠顾|0"),
                           QStringLiteral("0000000002|2026-06-15|False|0000000001|现金||0")}),
              rows(QStringLiteral("select intno, billdate, pass, bankid, bankname, remark1, amount from outlist order by intno")));
    // The carry-over line first, then one blank line; lines count on across documents.
    EXPECT_EQ((QStringList{QStringLiteral("0000000001|0000000001|上期结转|0|0"), QStringLiteral("0000000002|0000000001||0|0"),
                           QStringLiteral("0000000003|0000000002|上期结转|0|0"), QStringLiteral("0000000004|0000000002||0|0")}),
              rows(QStringLiteral("select intno, mainintno, spmc, sl, amount from outdetail order by intno")));
}

TEST_F(DocumentEditingTest, ThePartyLookUpFillsTheHeaderAndTheCarryOverLineOnlyForTheCodeAsTyped)
{
    makeCustomer(QStringLiteral("0000000007"), QStringLiteral("张三"),
                 {{"balance", 150.5}, {"tel", "555"}, {"addr", QStringLiteral("北京路1号")}, {"persondeal", QStringLiteral("老张")}});
    const QString intno = DocumentPosting::create(db(), sales(), QString());
    Open open(db(), intno);
    open.lines.last();

    makeCustomer(QStringLiteral("K01"), QStringLiteral("李四"));
    const QStringList before = everyTable();
    EXPECT_FALSE(DocumentEditing::lookUpParty(sales(), intno, open.header, open.lines, QStringLiteral("7")));
    EXPECT_FALSE(DocumentEditing::lookUpParty(sales(), intno, open.header, open.lines, QStringLiteral("k01")));
    EXPECT_EQ(before, everyTable());

    const auto party = DocumentEditing::lookUpParty(sales(), intno, open.header, open.lines, QStringLiteral("0000000007"));
    ASSERT_TRUE(party);
    EXPECT_EQ(QStringLiteral("张三"), party->name);
    EXPECT_EQ(QStringLiteral("0000000007|张三|老张|555|北京路1号|150.5"),
              row(QStringLiteral("select customerid, customername, persondeal, tel, addr, balance from outlist")));
    EXPECT_EQ(QStringLiteral("150.5|150.5"), row(QStringLiteral("select amount, rest from outdetail where spmc='上期结转'")));
    EXPECT_EQ(QStringLiteral("0|0"), row(QStringLiteral("select amount, rest from outdetail where spmc=''")));
    EXPECT_EQ(2, open.lines.recNo()); // the line being worked on stays current
}

TEST_F(DocumentEditingTest, TheRecalculationStoresRunningBalancesTotalsAndTheSummary)
{
    makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 100.0}});
    const QString flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"));
    const QString rice = makeProduct(QStringLiteral("B01"), QStringLiteral("大米"));
    const QString sale = makeSale(QStringLiteral("C1"), {{flour, QStringLiteral("面粉"), 2, 10, 1, 5}, {rice, QStringLiteral("大米"), 3, 4}});

    EXPECT_EQ((QStringList{QStringLiteral("上期结转|100|100"), QStringLiteral("面粉|20|114"), QStringLiteral("大米|12|126")}),
              rows(QStringLiteral("select spmc, amount, rest from outdetail where mainintno=:p1 order by intno"), {sale}));
    EXPECT_EQ(QStringLiteral("100|32|1|5|126|5|销售商品:面粉、大米|2026-06-15|0000000001"),
              row(QStringLiteral("select balance, amount, deduck, pay, rest, hjsl, remark, billdate, bankid from outlist where intno=:p1"),
                  {sale}));

    // An unknown customer code is reported; the lines run from the carry-over line's stored balance.
    exec(QStringLiteral("update outdetail set rest=40 where spmc='上期结转'"));
    const auto result = recalculate(sale, QStringLiteral("C2"), QStringLiteral("0000000001"), QStringLiteral("2026-06-01"));
    EXPECT_FALSE(result.party);
    EXPECT_EQ(66, result.totals.rest);
    EXPECT_EQ(QStringLiteral("66|2026-06-01"), row(QStringLiteral("select rest, billdate from outlist where intno=:p1"), {sale}));
}

TEST_F(DocumentEditingTest, ADateBoxThatIsNoDateWritesNothing)
{
    makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 100.0}});
    const QString sale = makeSale(QStringLiteral("C1"), {{QString(), QStringLiteral("杂项"), 1, 10}});
    exec(QStringLiteral("update outdetail set sl=2 where spmc='杂项'"));
    const QStringList before = everyTable();
    EXPECT_THROW(recalculate(sale, QStringLiteral("C1"), QStringLiteral("0000000001"), QStringLiteral("2026-13-40")), lb::ConvertError);
    EXPECT_EQ(before, everyTable());
}

TEST_F(DocumentEditingTest, TheFormWritesOnlyIntoTheDocumentItShows)
{
    makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 100.0}});
    const QString first = makeSale(QStringLiteral("C1"), {});
    const QString second = makeSale(QStringLiteral("C1"), {{QString(), QStringLiteral("杂项"), 1, 10}});

    // A header dataset standing on another document is moved to the one shown.
    Open all(db(), second, QStringLiteral("select * from outlist order by intno"));
    ASSERT_EQ(first, all.header.fieldByName(QStringLiteral("intno")).asString());
    DocumentEditing::recalculate(sales(), second, all.header, all.lines, {QStringLiteral("C1"), QStringLiteral("2026-06-15"), {}, {}, {}, {}, {}, {}});
    EXPECT_EQ(second, all.header.fieldByName(QStringLiteral("intno")).asString());
    EXPECT_EQ((QStringList{QStringLiteral("100|0"), QStringLiteral("110|10")}), rows(QStringLiteral("select rest, amount from outlist order by intno")));

    // Also when the customer code finds nobody.
    all.header.first();
    DocumentEditing::recalculate(sales(), second, all.header, all.lines, {QStringLiteral("C9"), QStringLiteral("2026-06-14"), {}, {}, {}, {}, {}, {}});
    EXPECT_EQ((QStringList{QStringLiteral("2026-06-15"), QStringLiteral("2026-06-14")}), rows(QStringLiteral("select billdate from outlist order by intno")));

    // One that does not hold it at all is refused before anything is written.
    Open wrong(db(), second, QStringLiteral("select * from outlist where intno='") + first + QLatin1Char('\''));
    const QStringList before = everyTable();
    EXPECT_THROW(DocumentEditing::recalculate(sales(), second, wrong.header, wrong.lines,
                                              {QStringLiteral("C1"), QStringLiteral("2026-06-15"), {}, {}, {}, {}, {}, {}}),
                 lb::DatabaseError);
    EXPECT_EQ(before, everyTable());
}

TEST_F(DocumentEditingTest, LinesAreAddedFilledByCodeOrBarcodeAndBlankLinesGoAtClosing)
{
    makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"),
                {{"barcode", "690123"}, {"spgg", "25kg"}, {"spbs", QStringLiteral("袋")}, {"sl_j", 4.0}, {"sl_s", 9.0},
                 {"dj_n", 80.0}, {"dj_w", 60.0}});
    makeProduct(QStringLiteral("690123x"), QStringLiteral("别的"));
    const QString first = DocumentPosting::create(db(), sales(), QString());
    const QString second = DocumentPosting::create(db(), sales(), QString());
    Open open(db(), second);

    DocumentEditing::appendLine(sales(), second, open.lines);
    EXPECT_EQ(QStringLiteral("0000000005|0000000002"),
              open.lines.fieldByName(QStringLiteral("intno")).asString() + QLatin1Char('|') + open.lines.fieldByName(QStringLiteral("mainintno")).asString());
    EXPECT_FALSE(DocumentEditing::onCarryOverLine(open.lines));
    open.lines.first();
    EXPECT_TRUE(DocumentEditing::onCarryOverLine(open.lines));

    EXPECT_FALSE(DocumentEditing::findProduct(db(), sales(), QStringLiteral("a01")));
    EXPECT_FALSE(DocumentEditing::findProduct(db(), sales(), QStringLiteral("6901")));
    auto byBarcode = DocumentEditing::findProduct(db(), sales(), QStringLiteral("690123"));
    ASSERT_TRUE(byBarcode);
    open.lines.last();
    DocumentEditing::fillFromProduct(sales(), open.lines, *byBarcode);
    EXPECT_EQ(QStringLiteral("A01|面粉|25kg|袋|4|0|80|60|0|0|1"),
              row(QStringLiteral("select sphh, spmc, spgg, unit, sl_j, sl_s, dj_n, dj_w, ss, js, sl from outdetail where intno='0000000005'")));

    // A line another program left without any name goes as a blank one does.
    exec(QStringLiteral("insert into outdetail (intno, mainintno, spmc) values ('0000000006', :p1, null)"), {second});
    DocumentEditing::removeBlankLines(db(), sales());
    EXPECT_EQ((QStringList{QStringLiteral("0000000001|上期结转"), QStringLiteral("0000000003|上期结转"), QStringLiteral("0000000005|面粉")}),
              rows(QStringLiteral("select intno, spmc from outdetail order by intno")));
    EXPECT_EQ(first, QStringLiteral("0000000001"));
}

TEST_F(DocumentEditingTest, AFailingWriteInTheRecalculationLeavesEveryTableAsItWas)
{
    makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 100.0}});
    const QString sale = makeSale(QStringLiteral("C1"), {{QString(), QStringLiteral("杂项"), 1, 10}, {QString(), QStringLiteral("杂项"), 2, 10}});
    exec(QStringLiteral("update customer set balance=50"));
    exec(QStringLiteral("update outdetail set sl=3"));
    // The look-up, the carry-over line, both lines and the totals.
    EXPECT_EQ(5, failEachWrite([&] { recalculate(sale, QStringLiteral("C1")); }));
    EXPECT_EQ(QStringLiteral("50|110"), row(QStringLiteral("select balance, rest from outlist")));
}
