// The entry forms' configurations against what the forms do: the code box's hint names the
// price that code entry puts into the line.
#include "documents/DocumentWindowFixture.h"

using lb::documents::DocumentCatalog;
using lb::documents::EntryFormConfig;

namespace {

struct CodeEntryForm {
    const char* name;
    EntryFormConfig (*config)();
    const char* lineTable;
    const char* linePrice; // the line's price column, the one its grid shows
};

void PrintTo(const CodeEntryForm& form, std::ostream* out)
{
    *out << form.name;
}

const CodeEntryForm codeEntryForms[] = {
    {"Sales", &DocumentCatalog::salesEntryForm, "outdetail", "dj_n"},
    {"Purchase", &DocumentCatalog::purchaseEntryForm, "indetail", "dj_w"},
    {"SalesReturn", &DocumentCatalog::salesReturnEntryForm, "outbackdetail", "dj_n"},
    {"PurchaseReturn", &DocumentCatalog::purchaseReturnEntryForm, "inbackdetail", "dj_w"},
};

class CodeBoxHint : public DocumentWindowFixture, public ::testing::WithParamInterface<CodeEntryForm> {};

} // namespace

// A product whose four prices differ, so that the line shows which one it took.
TEST_P(CodeBoxHint, NamesThePriceTheLineTakes)
{
    makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"dj_w", 2.0}, {"dj_n", 3.0}, {"spmz", 4.0}, {"spzz", 5.0}});
    const std::map<QString, double> prices = {
        {QStringLiteral("进货价"), 2.0}, {QStringLiteral("批发价"), 3.0}, {QStringLiteral("超市价"), 4.0}, {QStringLiteral("零售价"), 5.0}};
    main->EntryByProductCode = true;
    QPointer<lb::documents::DocumentEntryForm> form = openEntryForm(GetParam().config());
    const QString hint = form->Edit12->toolTip();
    QString named = hint.section(QStringLiteral("单价为"), 1);
    named.remove(QStringLiteral("默认"));
    ASSERT_EQ(1u, prices.count(named)) << hint.toStdString();

    enterCode(*form, QStringLiteral("A01"));
    EXPECT_EQ(QVariant(prices.at(named)), scalar(QStringLiteral("select %1 from %2 where sphh='A01'")
                                                     .arg(QLatin1String(GetParam().linePrice), QLatin1String(GetParam().lineTable))))
        << hint.toStdString();
}

INSTANTIATE_TEST_SUITE_P(EntryForms, CodeBoxHint, ::testing::ValuesIn(codeEntryForms),
                         [](const ::testing::TestParamInfo<CodeEntryForm>& info) { return std::string(info.param.name); });
