// The entry forms of the kinds as the error table names them: a failure each form logs is
// its window's, by the name of the program's design.
#include "documents/DocumentWindowFixture.h"

#include "platform/db/Connection.h"

using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::documents::EntryFormConfig;

namespace {

// The boxes of a script, and for each whether another copy of the program could write to the
// books while it was shown: a box that waits for the clerk must not hold them.
class BooksWhileShown : public lb::ui::ScriptedDialogs {
public:
    explicit BooksWhileShown(const QString& file) : file_(file) {}
    lb::ui::DialogAnswer ask(const lb::ui::DialogRequest& request) override
    {
        lb::db::Connection other;
        other.setDatabaseFile(file_);
        other.open();
        other.execute(QStringLiteral("PRAGMA busy_timeout = 0"));
        try {
            other.execute(QStringLiteral("BEGIN IMMEDIATE"));
            other.execute(QStringLiteral("ROLLBACK"));
            free << request.text;
        } catch (const lb::DatabaseError&) {
            held << request.text;
        }
        return ScriptedDialogs::ask(request);
    }
    QStringList free;
    QStringList held;

private:
    QString file_;
};

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
        makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"dj_n", 25.0}, {"dj_w", 25.0}, {"sl_j", 1.0}, {"sl", 10.0}});
        main->EntryByProductCode = true;
    }
};

} // namespace

// A posting (过帐, or 记帐 where stock alone is booked) whose write of the stock fails is logged in
// the error table as the form's: "出错位置" names the kind's window, not the one class all the
// kinds' forms share. Its failure is told once the books are free again.
TEST_P(EntryFormFailureTest, AFailedPostingIsLoggedAsTheFormOfItsKind)
{
    const EntryFormConfig config = GetParam().config();
    for (const bool booking : {false, true}) {
        SCOPED_TRACE(booking ? "记帐" : "过帐");
        exec(QStringLiteral("update config set tallybj=:p1"), {booking ? "F" : "T"});
        exec(QStringLiteral("delete from apperror"));
        QPointer<DocumentEntryForm> form = openEntryForm(config);
        form->box("Edit2")->setText(QStringLiteral("0000000007"));
        enterCode(*form, QStringLiteral("A01"));
        form->ToolButton1Click(); // a blank line at the end, current, which the posting deletes
        failWritesTo(QStringLiteral("product"));
        BooksWhileShown boxes(db().databaseFile());
        boxes.answer(lb::ui::DialogAnswer::Ok).answer(lb::ui::DialogAnswer::Ok);
        form->postByMode();
        flush();
        EXPECT_EQ((QStringList{QStringLiteral("单据确实要过帐吗?"), QStringLiteral("确实要删除当前记录吗?"),
                               QStringLiteral("该功能暂时不能执行，请重新操作！")}),
                  boxes.texts());
        EXPECT_EQ(QStringList(), boxes.held);
        EXPECT_EQ(QString::fromLatin1(GetParam().key) + QStringLiteral("|该功能暂时不能执行，请重新操作！"),
                  row(QStringLiteral("select name, substr(mess, 1, 16) from apperror")));
        EXPECT_EQ(0, errors.count());
        mendWritesTo(QStringLiteral("product"));
        form->deleteLater();
        flush();
    }
}

// The recalculation 过帐 and 记帐 store with the posting: a posting refused keeps it, as 刷新
// would have stored it; a recalculation refused (a figure too large to keep whole cents) posts
// and books nothing and keeps nothing of itself.
TEST_P(EntryFormFailureTest, ThePostingsRecalculationIsKeptByARefusalAndARefusedOneStopsIt)
{
    const struct {
        const char* what;
        bool booking;
        const char* quantity; // typed over the line's first quantity, at 25 a piece
        bool recalculated;    // the line's amount stored as the quantity makes it
    } cases[] = {
        {"过帐 short of stock", false, "20", true},
        {"过帐, recalculation refused", false, "50000000000000", false},
        {"记帐, recalculation refused", true, "50000000000000", false},
    };
    const EntryFormConfig config = GetParam().config();
    const lb::documents::DocumentKind& kind = lb::documents::DocumentKinds::of(config.kind);
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        if (each.recalculated && kind.texts.stockShortPost.isEmpty())
            continue; // a kind that posts whatever the stock
        exec(QStringLiteral("update config set tallybj=:p1"), {each.booking ? "F" : "T"});
        QPointer<DocumentEntryForm> form = openEntryForm(config);
        form->box("Edit2")->setText(QStringLiteral("0000000007"));
        enterCode(*form, QStringLiteral("A01"));
        const QString intno = form->box("Edit1")->text();
        const QString amount = QStringLiteral("select amount from %1 where mainintno=:p1 and spmc='面粉'").arg(kind.lineTable);
        const QString stored = row(amount, {intno});
        typeCell(*form, form->DBGrid1->model()->rowCount() - 1, config.firstEntryColumn, QString::fromLatin1(each.quantity));
        dialogs.clear();
        dialogs.answer(lb::ui::DialogAnswer::Ok);
        try {
            form->postByMode();
        } catch (const lb::Abort&) {
            // the refused recalculation's message was shown; the command ends silently
        }
        flush();
        ASSERT_TRUE(form);
        const QString told = dialogs.texts().join(QLatin1Char('/'));
        EXPECT_TRUE(told.contains(each.recalculated ? kind.texts.stockShortPost : lb::documents::DocumentPosting::OutOfRange))
            << told.toStdString();
        EXPECT_EQ(QStringLiteral("False|10"), row(QStringLiteral("select h.pass, p.sl from %1 h, product p where h.intno=:p1")
                                                      .arg(kind.headerTable),
                                                  {intno}));
        EXPECT_EQ(each.recalculated ? QStringLiteral("500") : stored, row(amount, {intno}));
        form->deleteLater();
        flush();
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, EntryFormFailureTest,
                         ::testing::Values(FormOfAKind{"Tfroutdetail", &DocumentCatalog::salesEntryForm},
                                           FormOfAKind{"Tfrindetail", &DocumentCatalog::purchaseEntryForm}),
                         [](const ::testing::TestParamInfo<FormOfAKind>& info) { return std::string(info.param.key); });
