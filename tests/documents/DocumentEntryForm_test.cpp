// The entry forms of the kinds as the error table names them: a failure each form logs is
// its window's, by the name of the program's design.
#include "documents/DocumentWindowFixture.h"

using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::documents::EntryFormConfig;

namespace {

struct FormOfAKind {
    const char* key; // the form's class in the program's design
    EntryFormConfig (*config)();
};

void PrintTo(const FormOfAKind& form, std::ostream* out) { *out << form.key; }

class EntryFormFailureTest : public DocumentWindowFixture, public ::testing::WithParamInterface<FormOfAKind> {
protected:
    void SetUp() override
    {
        DocumentWindowFixture::SetUp();
        makeCustomer(QStringLiteral("0000000007"), QStringLiteral("张三"));
        makeSupplier(QStringLiteral("0000000007"), QStringLiteral("粮油公司"));
        makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"dj_n", 25.0}, {"sl", 10.0}});
    }
};

} // namespace

// A posting whose write fails is logged in the error table as the form's: "出错位置" names the
// kind's window, not the one class all the kinds' forms share.
TEST_P(EntryFormFailureTest, AFailedPostingIsLoggedAsTheFormOfItsKind)
{
    const EntryFormConfig config = GetParam().config();
    QPointer<DocumentEntryForm> form = openEntryForm(config);
    form->box("Edit2")->setText(QStringLiteral("0000000007"));
    enterCode(*form, QStringLiteral("A01"));
    form->ToolButton1Click(); // a blank line at the end, current, which the posting deletes
    failWritesTo(lb::documents::DocumentKinds::of(config.kind).headerTable);
    dialogs.clear();
    dialogs.answer(lb::ui::DialogAnswer::Ok).answer(lb::ui::DialogAnswer::Ok);
    form->ToolButton4Click();
    EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("确实要删除当前记录吗?"),
                           QStringLiteral("该功能暂时不能执行，请重新操作！")}),
              dialogs.texts());
    EXPECT_EQ(QString::fromLatin1(GetParam().key) + QStringLiteral("|该功能暂时不能执行，请重新操作！"),
              row(QStringLiteral("select name, substr(mess, 1, 16) from apperror")));
    EXPECT_EQ(0, errors.count());
}

INSTANTIATE_TEST_SUITE_P(Kinds, EntryFormFailureTest,
                         ::testing::Values(FormOfAKind{"Tfroutdetail", &DocumentCatalog::salesEntryForm},
                                           FormOfAKind{"Tfrindetail", &DocumentCatalog::purchaseEntryForm}),
                         [](const ::testing::TestParamInfo<FormOfAKind>& info) { return std::string(info.param.key); });
