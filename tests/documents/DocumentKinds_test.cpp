// What posting, reversal, booking and un-booking of each kind move, read from the one table of effects.
#include "documents/DocumentFixture.h"

#include <functional>
#include <map>

using lb::documents::BillKind;
using lb::documents::DocumentKind;
using lb::documents::DocumentKinds;
using lb::documents::DocumentPosting;
using lb::documents::Outcome;

namespace {

// Every balance and stock column a posting may move, as "table id column" → value.
using Balances = std::map<QString, double>;

class DocumentKindsTest : public DocumentFixture {
protected:
    void SetUp() override
    {
        DocumentFixture::SetUp();
        makeCustomer(QStringLiteral("C1"), QStringLiteral("张三"), {{"balance", 200.0}, {"pay", 3.0}, {"amount_y", 50.0}});
        makeSupplier(QStringLiteral("S1"), QStringLiteral("粮油公司"), {{"balance", 100.0}, {"amount", 8.0}, {"pay_y", 9.0}});
        exec(QStringLiteral("update bank set balance=1000, amount=7, pay=6, amount_y=70, pay_y=60"));
        makeAccount(QStringLiteral("B1"), QStringLiteral("工商银行"), {{"balance", 400.0}});
        makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 50.0}, {"sl_in_m", 1.0}, {"sl_out_y", 2.0}});
        makeProduct(QStringLiteral("B01"), QStringLiteral("大米"), {{"sl", 20.0}});
    }

    QString product(const char* code)
    {
        return scalar(QStringLiteral("select intno from product where sphh=:p1"), {QString::fromLatin1(code)}).toString();
    }

    Balances balances()
    {
        Balances values;
        auto read = [&](const QString& table, const QStringList& columns) {
            lb::db::Query rows(db());
            rows.sql().add(QStringLiteral("select %1 from %2").arg(columns.join(QLatin1Char(',')), table));
            rows.open();
            for (rows.first(); !rows.eof(); rows.next())
                for (int i = 1; i < columns.size(); ++i)
                    values[table + QLatin1Char(' ') + rows.field(0).asString() + QLatin1Char(' ') + columns[i]] = rows.field(i).asFloat();
        };
        const QStringList money{"id", "balance", "amount", "pay", "deduck", "amount_y", "pay_y", "deduck_y"};
        read(QStringLiteral("customer"), money);
        read(QStringLiteral("branch"), money);
        read(QStringLiteral("bank"), {"id", "balance", "amount", "pay", "amount_y", "pay_y"});
        read(QStringLiteral("product"), {"sphh", "sl", "sl_in_m", "sl_in_y", "sl_out_m", "sl_out_y"});
        return values;
    }

    // Every column of every customer, supplier, account and product row.
    QStringList partyAccountAndProductRows()
    {
        QStringList kept;
        for (const QString& line : everyTable())
            for (const char* table : {"customer|", "branch|", "bank|", "product|"})
                if (line.startsWith(QLatin1String(table)))
                    kept << line;
        return kept;
    }

    // What moved between two readings; columns that did not move are left out.
    static Balances moved(const Balances& before, const Balances& after)
    {
        Balances change;
        for (const auto& [key, value] : after)
            if (value != before.at(key))
                change[key] = value - before.at(key);
        return change;
    }
};

struct KindCase {
    BillKind kind;
    QString party;
    std::function<std::vector<CoreFixture::Values>()> lines;
    Balances posting;  // what 过帐 moves
    Balances booking;  // what 记帐 moves; kinds without stock-only booking have none
};

} // namespace

TEST_F(DocumentKindsTest, EachKindPostsItsEffectsAndReversalAndUnbookingTakeThemBackExactly)
{
    const std::vector<KindCase> cases = {
        {BillKind::Sales, "C1",
         [&] {
             return std::vector<Values>{
                 {{"spintno", product("A01")}, {"sphh", "A01"}, {"spmc", QStringLiteral("面粉")}, {"sl", 4}, {"dj_n", 20}, {"deduck", 5}, {"pay", 30}},
                 {{"spintno", product("B01")}, {"sphh", "B01"}, {"spmc", QStringLiteral("大米")}, {"sl", 2}, {"dj_n", 10}}};
         },
         {{"customer C1 balance", 65}, {"customer C1 amount", 100}, {"customer C1 pay", 30}, {"customer C1 deduck", 5},
          {"customer C1 amount_y", 100}, {"customer C1 pay_y", 30}, {"customer C1 deduck_y", 5},
          {"bank 0000000001 balance", 30}, {"bank 0000000001 amount", 30}, {"bank 0000000001 amount_y", 30},
          {"product A01 sl", -4}, {"product A01 sl_out_m", 4}, {"product A01 sl_out_y", 4},
          {"product B01 sl", -2}, {"product B01 sl_out_m", 2}, {"product B01 sl_out_y", 2}},
         {{"product A01 sl", -4}, {"product B01 sl", -2}}},
        {BillKind::Purchase, "S1",
         [&] {
             return std::vector<Values>{{{"spintno", product("A01")}, {"sphh", "A01"}, {"spmc", QStringLiteral("面粉")}, {"js", 3},
                                         {"sl_j", 12}, {"ss", 2}, {"sl_s", 10}, {"dj_w", 2.5}, {"pay", 50}}};
         },
         // 36 come into stock; the 56 bought in packs and boxes cost 140, of which 50 was paid.
         {{"branch S1 balance", 90}, {"branch S1 amount", 140}, {"branch S1 pay", 50}, {"branch S1 amount_y", 140},
          {"branch S1 pay_y", 50}, {"bank 0000000001 balance", -50}, {"bank 0000000001 pay", 50}, {"bank 0000000001 pay_y", 50},
          {"product A01 sl", 36}, {"product A01 sl_in_m", 36}, {"product A01 sl_in_y", 36}},
         {{"product A01 sl", 36}}},
        {BillKind::Receipt, "C1",
         [&] {
             return std::vector<Values>{{{"sphh", "0000000001"}, {"spmc", QStringLiteral("现金")}, {"amount", 200}},
                                        {{"sphh", "B1"}, {"spmc", QStringLiteral("工商银行")}, {"amount", 100}, {"deduck", 20}}};
         },
         {{"customer C1 balance", -320}, {"customer C1 pay", 300}, {"customer C1 pay_y", 300}, {"customer C1 deduck", 20},
          {"customer C1 deduck_y", 20}, {"bank 0000000001 balance", 200}, {"bank 0000000001 amount", 200},
          {"bank 0000000001 amount_y", 200}, {"bank B1 balance", 100}, {"bank B1 amount", 100}, {"bank B1 amount_y", 100}},
         {}},
        {BillKind::SalesReturn, "C1",
         [&] {
             return std::vector<Values>{{{"spintno", product("A01")}, {"sphh", "A01"}, {"spmc", QStringLiteral("面粉")}, {"sl", 2}, {"dj_n", 30}},
                                        {{"spintno", product("B01")}, {"sphh", "B01"}, {"spmc", QStringLiteral("大米")}, {"sl", 1}, {"dj_n", 40}}};
         },
         // The customer is owed the 100 returned; the goods come back out of the sales counters.
         {{"customer C1 balance", -100}, {"customer C1 amount", -100}, {"customer C1 amount_y", -100},
          {"product A01 sl", 2}, {"product A01 sl_out_m", -2}, {"product A01 sl_out_y", -2},
          {"product B01 sl", 1}, {"product B01 sl_out_m", -1}, {"product B01 sl_out_y", -1}},
         {{"product A01 sl", 2}, {"product B01 sl", 1}}},
        {BillKind::PurchaseReturn, "S1",
         [&] {
             return std::vector<Values>{{{"spintno", product("A01")}, {"sphh", "A01"}, {"spmc", QStringLiteral("面粉")}, {"sl", 3}, {"dj_w", 5}},
                                        {{"spintno", product("B01")}, {"sphh", "B01"}, {"spmc", QStringLiteral("大米")}, {"sl", 2}, {"dj_w", 2.5}}};
         },
         {{"branch S1 balance", -20}, {"branch S1 amount", -20}, {"branch S1 amount_y", -20},
          {"product A01 sl", -3}, {"product A01 sl_in_m", -3}, {"product A01 sl_in_y", -3},
          {"product B01 sl", -2}, {"product B01 sl_in_m", -2}, {"product B01 sl_in_y", -2}},
         {{"product A01 sl", -3}, {"product B01 sl", -2}}},
        {BillKind::Payment, "S1",
         [&] {
             return std::vector<Values>{{{"sphh", "0000000001"}, {"spmc", QStringLiteral("现金")}, {"amount", 300}, {"deduck", 20}},
                                        {{"sphh", "B1"}, {"spmc", QStringLiteral("工商银行")}, {"amount", 100}}};
         },
         // The 400 paid and the 20 granted off lower the debt; each account pays its line.
         {{"branch S1 balance", -420}, {"branch S1 pay", 400}, {"branch S1 pay_y", 400}, {"branch S1 deduck", 20},
          {"branch S1 deduck_y", 20}, {"bank 0000000001 balance", -300}, {"bank 0000000001 pay", 300},
          {"bank 0000000001 pay_y", 300}, {"bank B1 balance", -100}, {"bank B1 pay", 100}, {"bank B1 pay_y", 100}},
         {}},
        // An order only records what is to be bought.
        {BillKind::PurchaseOrder, "S1",
         [&] {
             return std::vector<Values>{{{"spintno", product("A01")}, {"sphh", "A01"}, {"spmc", QStringLiteral("面粉")}, {"js", 2},
                                         {"sl_j", 12}, {"dj_w", 2.5}}};
         },
         {},
         {}},
    };
    for (const KindCase& c : cases) {
        const DocumentKind& kind = DocumentKinds::of(c.kind);
        const std::string title = kind.billname.toStdString();
        const QString posted = makeDocument(kind, c.party, c.lines());
        const Balances start = balances();
        const QStringList startRows = partyAccountAndProductRows();
        const Outcome post = DocumentPosting::post(db(), kind, posted, c.party, QStringLiteral("0000000001"));
        ASSERT_FALSE(post.refused) << title << ": " << post.message.toStdString();
        EXPECT_EQ(c.posting, moved(start, balances())) << title;
        const Outcome reverse = DocumentPosting::reverse(db(), kind, posted, c.party, QStringLiteral("0000000001"));
        ASSERT_FALSE(reverse.refused) << title << ": " << reverse.message.toStdString();
        EXPECT_EQ(Balances{}, moved(start, balances())) << title;
        EXPECT_EQ(startRows, partyAccountAndProductRows()) << title;
        EXPECT_EQ(QStringLiteral("True|True|") + kind.billtype,
                  row(QStringLiteral("select pass, cancel, billtype from %1 where intno=:p1").arg(kind.headerTable), {posted}))
            << title;

        if (!kind.followsPostingMode)
            continue;
        const QString booked = makeDocument(kind, c.party, c.lines());
        ASSERT_FALSE(DocumentPosting::book(db(), kind, booked, c.party).refused) << title;
        EXPECT_EQ(c.booking, moved(start, balances())) << title;
        ASSERT_FALSE(DocumentPosting::unbook(db(), kind, booked, c.party).refused) << title;
        EXPECT_EQ(Balances{}, moved(start, balances())) << title;
    }
}

TEST_F(DocumentKindsTest, PostingFlagsEveryLineWithTheKindAndCopiesTheKindsHeaderColumns)
{
    struct Flags {
        BillKind kind;
        QString party;
        QString copies; // the header columns the lines carry after posting
    };
    const std::vector<Flags> cases = {
        {BillKind::Purchase, "S1", "2026-06-15|S1|粮油公司|0000000001|"},
        // A receipt names its accounts on the lines; it copies its paper number instead.
        {BillKind::Receipt, "C1", "2026-06-15|C1|张三||P-7"},
        {BillKind::Payment, "S1", "2026-06-15|S1|粮油公司||P-7"},
        {BillKind::SalesReturn, "C1", "2026-06-15|C1|张三||P-7"},
        {BillKind::PurchaseReturn, "S1", "2026-06-15|S1|粮油公司||P-7"},
        {BillKind::PurchaseOrder, "S1", "2026-06-15|S1|粮油公司|0000000001|"},
    };
    for (const Flags& c : cases) {
        const DocumentKind& kind = DocumentKinds::of(c.kind);
        const QString intno = makeDocument(kind, c.party, {{{"spmc", QStringLiteral("杂项")}}}, QStringLiteral("0000000001"));
        exec(QStringLiteral("update %1 set djh='P-7' where intno=:p1").arg(kind.headerTable), {intno});
        if (kind.linesAreAccounts)
            exec(QStringLiteral("update %1 set sphh='0000000001' where spmc='杂项'").arg(kind.lineTable));
        ASSERT_FALSE(DocumentPosting::post(db(), kind, intno, c.party, QStringLiteral("0000000001")).refused) << kind.billname.toStdString();
        EXPECT_EQ(QStringList({QStringLiteral("True|False|") + kind.billname + QLatin1Char('|') + kind.billtype + QLatin1Char('|') + c.copies}),
                  rows(QStringLiteral("select distinct pass, cancel, billname, billtype, billdate, customerid, customername, bankid, djh"
                                      " from %1 where mainintno=:p1")
                           .arg(kind.lineTable),
                       {intno}))
            << kind.billname.toStdString();
        EXPECT_EQ(kind.carryOverLine ? 2 : 1, number(QStringLiteral("select count(*) from %1 where mainintno=:p1").arg(kind.lineTable), {intno}));
    }
}
