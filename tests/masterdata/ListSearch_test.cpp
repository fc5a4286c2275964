// The list searches: which query each option makes, and the rows prefix and padded searches find.
#include "masterdata/ListSearch.h"
#include "masterdata/MasterCatalog.h"

#include "masterdata/MasterDataFixture.h"

using lb::masterdata::ListSearch;
using lb::masterdata::MasterCatalog;
using lb::masterdata::SearchConfig;
using lb::masterdata::SearchPlan;

namespace {

QString sqlOf(const std::optional<SearchPlan>& plan) { return plan ? plan->sql.join(QLatin1Char('\n')) : QStringLiteral("<none>"); }
QString p1Of(const std::optional<SearchPlan>& plan)
{
    return plan && !plan->params.empty() ? plan->params.front().second.toString() : QString();
}

} // namespace

TEST(ListSearchPlan, OptionsTextAndModes)
{
    struct Case {
        SearchConfig config;
        QString option, text;
        bool fuzzy;
        QString selected;
        QString sql, p1;
    };
    const SearchConfig customers = MasterCatalog::customerList().search;
    const SearchConfig suppliers = MasterCatalog::supplierList().search;
    const SearchConfig employees = MasterCatalog::employeeList().search;
    const SearchConfig products = MasterCatalog::productList().search;
    const std::vector<Case> cases = {
        {customers, "编号", " 12 ", false, "", "SELECT * from customer \nWHERE (id like :p1 escape '\\')", "%12%"},
        {customers, "联系人", "", false, "", "SELECT * from customer ", ""},
        {customers, "", "12", false, "id", "<none>", ""},
        {suppliers, "", "138", false, "tel", "SELECT * from branch\nWHERE (tel like :p1 escape '\\')", "%138%"},
        {suppliers, "", "138", false, "balance", "<none>", ""},
        {employees, "编号", "00", false, "", "SELECT * from employee\nWHERE (id>=:p1)and(id<=:p2)", "00"},
        // The employee grid's movetel column searches movetel, the column the user selected.
        {employees, " ", "139", false, "movetel", "SELECT * from employee\nWHERE (movetel like :p1 escape '\\')", "%139%"},
        {employees, "", "x", false, "email", "<none>", ""},
        {products, "货品代码", "A1", false, "", "SELECT * from product\nWHERE (sphh like :p1 escape '\\')\norder by sphh collate GBK", "A1%"},
        {products, "货品代码", "A1", true, "", "SELECT * from product\nWHERE (sphh like :p1 escape '\\')\norder by sphh collate GBK", "%A1%"},
        {products, "规格型号", "5", false, "", "SELECT * from product\nWHERE (spgg like :p1 escape '\\')\norder by sphh collate GBK", "%5%"},
        {products, "货品类型", "", false, "", "SELECT * from product\norder by name collate GBK", ""},
        {products, "货品名称", "  ", false, "", "SELECT * from product\nWHERE (spmc like :p1 escape '\\')\norder by sphh collate GBK", "%"},
        {products, "其它", "x", false, "", "<none>", ""},
    };
    for (const Case& c : cases) {
        const auto plan = ListSearch::plan(c.config, c.option, c.text, c.fuzzy, c.selected);
        EXPECT_EQ(c.sql, sqlOf(plan)) << c.option.toStdString() << " " << c.text.toStdString();
        EXPECT_EQ(c.p1, p1Of(plan)) << c.option.toStdString() << " " << c.text.toStdString();
    }
}

TEST(ListSearchPlan, PaddedCodeRewritesTheBox)
{
    const SearchConfig opening = MasterCatalog::openingCustomerList().search;
    const auto plan = ListSearch::plan(opening, QStringLiteral("编号"), QStringLiteral("12"), false, QString());
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(QStringLiteral("0000000012"), plan->boxText.value_or(QString()));
    EXPECT_EQ(QStringLiteral("0000000012"), p1Of(plan));
    const auto all = ListSearch::plan(opening, QStringLiteral("编号"), QString(), false, QString());
    EXPECT_EQ(QStringLiteral("SELECT * from customer"), sqlOf(all));
}

using ListSearchRun = MasterDataFixture;

TEST_F(ListSearchRun, PrefixFindsBeginningsOnlyAlsoForChineseText)
{
    makeEmployee("001", "张三");
    makeEmployee("100", "张三丰");
    makeEmployee("200", "李四");
    makeEmployee("00", "王五");
    lb::db::Query list(db());
    const SearchConfig employees = MasterCatalog::employeeList().search;
    ListSearch::run(list, *ListSearch::plan(employees, QStringLiteral("编号"), QStringLiteral("00"), false, QString()));
    EXPECT_EQ(2, list.recordCount());
    ListSearch::run(list, *ListSearch::plan(employees, QStringLiteral("客户名"), QStringLiteral("张三"), false, QString()));
    EXPECT_EQ(2, list.recordCount());
    ListSearch::run(list, *ListSearch::plan(employees, QStringLiteral("客户名"), QString(), false, QString()));
    EXPECT_EQ(4, list.recordCount());
}

TEST_F(ListSearchRun, TypedTextIsMatchedAsTypedAndTooLongTextIsRefusedInOurWords)
{
    makeProduct("A%1", "百分之百纯棉", {{"spgg", "5%off"}});
    makeProduct("AB1", "纯棉_加厚", {{"spgg", "50ml"}});
    makeProduct("A_1", "C:\\货品\\甲");
    makeProduct("AX1", "乙");
    lb::db::Query list(db());
    const SearchConfig products = MasterCatalog::productList().search;
    const auto codes = [&](const QString& option, const QString& text, bool fuzzy) {
        EXPECT_TRUE(ListSearch::run(list, *ListSearch::plan(products, option, text, fuzzy, QString())));
        QStringList found;
        for (list.first(); !list.eof(); list.next())
            found << list.fieldByName(QStringLiteral("sphh")).asString();
        return found;
    };
    EXPECT_EQ(QStringList{QStringLiteral("A%1")}, codes(QStringLiteral("货品代码"), QStringLiteral("A%"), false));
    EXPECT_EQ(QStringList{QStringLiteral("A_1")}, codes(QStringLiteral("货品代码"), QStringLiteral("A_"), false));
    EXPECT_EQ(QStringList{QStringLiteral("AB1")}, codes(QStringLiteral("货品名称"), QStringLiteral("_加"), true));
    EXPECT_EQ(QStringList{QStringLiteral("A_1")}, codes(QStringLiteral("货品名称"), QStringLiteral("\\货品\\"), true));
    EXPECT_EQ(QStringList{QStringLiteral("A%1")}, codes(QStringLiteral("货品代码"), QStringLiteral("%1"), true));
    EXPECT_EQ(QStringList{QStringLiteral("A%1")}, codes(QStringLiteral("规格型号"), QStringLiteral("5%"), false));
    EXPECT_EQ(4, codes(QStringLiteral("货品代码"), QStringLiteral("a"), false).size()); // Latin without case

    // Longer than the engine matches: our message, and the rows shown stay.
    codes(QStringLiteral("货品代码"), QStringLiteral("AX"), false);
    const QString huge(db().likePatternLimit() / 3 + 1, QChar(u'棉'));
    EXPECT_FALSE(ListSearch::run(list, *ListSearch::plan(products, QStringLiteral("货品名称"), huge, false, QString())));
    EXPECT_EQ(QStringList{ListSearch::tooLongMessage()}, dialogs.texts());
    EXPECT_EQ(QStringLiteral("查找内容太长,请输入较短的内容再查找！"), ListSearch::tooLongMessage());
    ASSERT_TRUE(list.active());
    EXPECT_EQ(1, list.recordCount());
    EXPECT_EQ(QStringLiteral("AX1"), list.fieldByName(QStringLiteral("sphh")).asString());
}

TEST_F(ListSearchRun, NamesAndCodesAreInPinyinOrderWithLatinLettersWithoutCase)
{
    const QStringList names{QStringLiteral("中"), QStringLiteral("banana"), QStringLiteral("啊"), QStringLiteral("芭"),
                            QStringLiteral("澳"), QStringLiteral("Apple"), QStringLiteral("apricot")};
    for (int i = 0; i < names.size(); ++i)
        makeProduct(names[i], QStringLiteral("货品"), {{QStringLiteral("name"), names[i]}});
    const QStringList pinyin{QStringLiteral("Apple"), QStringLiteral("apricot"), QStringLiteral("banana"),
                             QStringLiteral("啊"), QStringLiteral("澳"), QStringLiteral("芭"), QStringLiteral("中")};
    lb::db::Query list(db());
    const SearchConfig products = MasterCatalog::productList().search;
    for (const QString& option : {QStringLiteral("货品类型"), QStringLiteral("货品代码")}) {
        ListSearch::run(list, *ListSearch::plan(products, option, QString(), false, QString()));
        QStringList order;
        for (list.first(); !list.eof(); list.next())
            order << list.fieldByName(option == QStringLiteral("货品类型") ? QStringLiteral("name") : QStringLiteral("sphh")).asString();
        EXPECT_EQ(pinyin, order) << option.toStdString();
    }
}
