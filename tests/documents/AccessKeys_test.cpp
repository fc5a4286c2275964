// The access keys of the entry forms' and posted views' tool bars, every kind: Alt and the
// caption's letter runs the command as a click does, with its question, and a hidden command's
// key does nothing.
#include "documents/KindDocumentsFixture.h"

#include <QToolBar>
#include <QToolButton>

using lb::documents::BillKind;
using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::documents::PostedDocumentView;
using lb::ui::DialogAnswer;

namespace {

struct KindWindows {
    BillKind kind;
    const char* entryForm;
    const char* postedView;
};

void PrintTo(const KindWindows& c, std::ostream* out)
{
    *out << c.entryForm;
}

const KindWindows tradingKinds[] = {
    {BillKind::Sales, "Tfroutdetail", "Tfrfoutdetail"},
    {BillKind::Purchase, "Tfrindetail", "Tfrfindetail"},
    {BillKind::SalesReturn, "Tfroutbackdetail", "Tfrfoutbackdetail"},
    {BillKind::PurchaseReturn, "Tfrinbackdetail", "Tfrfinbackdetail"},
};

const KindWindows otherKinds[] = {
    {BillKind::PurchaseOrder, "Tfrdhdetail", "Tfrfdhdetail"},
    {BillKind::Receipt, "Tfrgetdetail", "Tfrfgetdetail"},
    {BillKind::Payment, "Tfrputdetail", "Tfrfputdetail"},
};

class AccessKeysTest : public KindDocumentsFixture, public ::testing::WithParamInterface<KindWindows> {
protected:
    const lb::documents::DocumentKind& shown() const { return kind(GetParam().kind); }

    DocumentEntryForm* openForm(const QString& intno)
    {
        return openEntryForm(DocumentCatalog::entryForm(QString::fromLatin1(GetParam().entryForm)), false, intno);
    }

    QString header(const QString& columns, const QString& intno)
    {
        return row(QStringLiteral("select %1 from %2 where intno=:p1").arg(columns, shown().headerTable), {intno});
    }

    int lineCount(const QString& intno)
    {
        return int(number(QStringLiteral("select count(*) from %1 where mainintno=:p1").arg(shown().lineTable), {intno}));
    }

    // Alt+`letter` in `window` answered Cancel to `question`, which leaves every table as it
    // was and the window open, then answered OK.
    void pressCancelledThenConfirmed(QWidget* window, char letter, const QString& question)
    {
        const QStringList before = everyTable();
        dialogs.answer(DialogAnswer::Cancel);
        pressAccessKey(window, letter);
        EXPECT_EQ(QStringList{question}, dialogs.texts());
        EXPECT_EQ(before, everyTable());
        EXPECT_TRUE(window->isVisible());
        dialogs.answer(DialogAnswer::Ok);
        pressAccessKey(window, letter);
        flush();
    }

    // Alt+`letter` in `window` asks nothing, changes no table and leaves the window open.
    void pressChangingNothing(QWidget* window, char letter)
    {
        const QPointer<QWidget> shownWindow(window);
        const QStringList before = everyTable();
        pressAccessKey(window, letter);
        flush();
        EXPECT_TRUE(shownWindow && shownWindow->isVisible());
        EXPECT_EQ(QStringList(), dialogs.texts());
        EXPECT_EQ(before, everyTable());
    }
};

// The kinds whose posting mode hides 过帐 for 记帐.
class BookingAccessKeysTest : public AccessKeysTest {};

} // namespace

TEST_P(AccessKeysTest, AltAAddsALineLeavingTheFocusWhereAClickDoes)
{
    const QString intno = openDocument(GetParam().kind);
    QPointer<DocumentEntryForm> form = openForm(intno);
    // Each button shows its caption with the access key marked ("新增行&A": A underlined).
    auto* bar = form->findChild<QToolBar*>();
    for (QAction* tool : bar->actions())
        EXPECT_EQ(tool->text(), qobject_cast<QToolButton*>(bar->widgetForAction(tool))->text());
    ASSERT_EQ(form->box("Edit2"), form->focusWidget());
    const int lines = lineCount(intno);
    pressAccessKey(form, 'A');
    EXPECT_EQ(lines + 1, lineCount(intno));
    // The code box where the form has one; a tool button takes no focus.
    EXPECT_EQ(form->Edit12->isVisible() ? form->Edit12 : form->box("Edit2"), form->focusWidget());
    EXPECT_EQ(partyOf(GetParam().kind), form->box("Edit2")->text());
}

TEST_P(AccessKeysTest, AltQStoresTheBoxesAndCloses)
{
    const QString intno = openDocument(GetParam().kind);
    QPointer<DocumentEntryForm> form = openForm(intno);
    form->box("Edit16")->setFocus();
    form->box("Edit16")->setText(QStringLiteral("王五"));
    pressAccessKey(form, 'Q');
    flush();
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringLiteral("王五|False"), header(QStringLiteral("employeename, pass"), intno));
}

TEST_P(AccessKeysTest, AltOPostsOnceConfirmed)
{
    const QString intno = openDocument(GetParam().kind);
    QPointer<DocumentEntryForm> form = openForm(intno);
    if (form->config().confirmPosting) {
        pressCancelledThenConfirmed(form, 'O', QStringLiteral("单据确实要过帐吗?"));
    } else {
        pressAccessKey(form, 'O');
        flush();
    }
    EXPECT_FALSE(form);
    EXPECT_EQ(QStringLiteral("True|False"), header(QStringLiteral("pass, cancel"), intno));
}

TEST_P(AccessKeysTest, AltCVoidsOnceConfirmed)
{
    const QString intno = openDocument(GetParam().kind);
    QPointer<DocumentEntryForm> form = openForm(intno);
    pressCancelledThenConfirmed(form, 'C', QStringLiteral("单据确实要废弃吗?"));
    EXPECT_FALSE(form);
    EXPECT_EQ(QString(), header(QStringLiteral("intno"), intno));
    EXPECT_EQ(0, lineCount(intno));
}

TEST_P(AccessKeysTest, AltCOfADocumentPostedInFullChangesNothing)
{
    // 作废 is hidden (or absent) once a document is posted in full: only 冲数 undoes it.
    pressChangingNothing(openPostedView(QString::fromLatin1(GetParam().postedView), postedDocument(GetParam().kind)), 'C');
}

TEST_P(BookingAccessKeysTest, AltOOfTheHiddenPostingChangesNothing)
{
    exec(QStringLiteral("update config set tallybj='F'"));
    const QString intno = openDocument(GetParam().kind);
    QPointer<DocumentEntryForm> form = openForm(intno);
    ASSERT_FALSE(form->action("ToolButton4")->isVisible());
    pressChangingNothing(form, 'O');
    EXPECT_EQ(partyOf(GetParam().kind), form->box("Edit2")->text());
}

TEST_P(BookingAccessKeysTest, AltCVoidsABookedDocumentOnceConfirmed)
{
    exec(QStringLiteral("update config set tallybj='F'"));
    const QString intno = postedDocument(GetParam().kind, true);
    QPointer<PostedDocumentView> view = openPostedView(QString::fromLatin1(GetParam().postedView), intno);
    pressCancelledThenConfirmed(view, 'C', QStringLiteral("单据确实要废弃吗?"));
    EXPECT_FALSE(view);
    EXPECT_EQ(QString(), header(QStringLiteral("intno"), intno));
    EXPECT_EQ(0, lineCount(intno));
}

INSTANTIATE_TEST_SUITE_P(TradingKinds, AccessKeysTest, ::testing::ValuesIn(tradingKinds),
                         [](const auto& info) { return std::string(info.param.entryForm); });
INSTANTIATE_TEST_SUITE_P(OtherKinds, AccessKeysTest, ::testing::ValuesIn(otherKinds),
                         [](const auto& info) { return std::string(info.param.entryForm); });
INSTANTIATE_TEST_SUITE_P(TradingKinds, BookingAccessKeysTest, ::testing::ValuesIn(tradingKinds),
                         [](const auto& info) { return std::string(info.param.entryForm); });
