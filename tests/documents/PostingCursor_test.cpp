// Where the cursor is after a posting that did not go through, in every entry form with a code box.
#include "documents/KindDocumentsFixture.h"

using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::ui::DialogAnswer;

namespace {

class PostingCursorTest : public KindDocumentsFixture, public ::testing::WithParamInterface<QString> {};

} // namespace

// 过帐 (记帐 where the option books stock only) while a line's first cell is being typed: a line
// without a product further down refuses it, a write that fails ends it; either way the form
// stays open with the cursor in the code box, where the next code is typed, not in the cell.
TEST_P(PostingCursorTest, ARefusedOrFailedPostingPutsTheCursorInTheCodeBox)
{
    const auto config = DocumentCatalog::entryForm(GetParam());
    const lb::documents::DocumentKind& shown = kind(config.kind);
    for (const bool booking : postingModes(shown)) {
        choosePostingMode(booking);
        for (const bool failing : {false, true}) {
            const QString intno = openDocument(config.kind);
            if (failing)
                failWritesTo(shown.headerTable);
            else
                insertRow(shown.lineTable, {{"mainintno", intno}, {"spmc", QString()}});
            QPointer<DocumentEntryForm> form = openEntryForm(config, false, intno);
            form->DBGrid1->setFocus();
            form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(1, config.firstEntryColumn));
            typeText(form->DBGrid1, QStringLiteral("3"));
            ASSERT_TRUE(form->DBGrid1->isAncestorOf(QApplication::focusWidget()));
            dialogs.answer(DialogAnswer::Ok);
            form->action(QString::fromLatin1(booking ? "ToolButton8" : "ToolButton4"))->trigger();
            flush();
            ASSERT_TRUE(form);
            EXPECT_EQ(form->Edit12, QApplication::focusWidget()) << (booking ? "记帐, " : "过帐, ") << (failing ? "failure" : "refusal");
            form->deleteLater();
            flush();
            if (failing)
                mendWritesTo(shown.headerTable);
        }
    }
}

// The same with boxes that take the window's activation, as real ones do: the cursor is put back
// while the window is inactive, and the window gets its activation back only after the box has
// gone. A code typed next fills the last line, a blank one here; the line the cursor was on keeps
// its product and quantity.
TEST_P(PostingCursorTest, ACodeTypedAfterwardsFillsTheLastLine)
{
    dialogs.takeActivation(true);
    main->EntryByProductCode = true;
    const auto config = DocumentCatalog::entryForm(GetParam());
    const lb::documents::DocumentKind& shown = kind(config.kind);
    makeProduct(QStringLiteral("B02"), QStringLiteral("大米"), {{"sl", 10.0}, {"dj_n", 6.0}, {"dj_w", 6.0}});
    for (const bool booking : postingModes(shown)) {
        choosePostingMode(booking);
        for (const bool failing : {false, true}) {
            SCOPED_TRACE(std::string(booking ? "记帐, " : "过帐, ") + (failing ? "failure" : "refusal"));
            const QString intno = openDocument(config.kind);
            insertRow(shown.lineTable, {{"mainintno", intno}, {"spmc", QString()}});
            const QString lines = QStringLiteral("select spmc, sl from %1 where mainintno=:p1 order by intno").arg(shown.lineTable);
            QStringList expected = rows(lines, {intno});
            expected.back() = QStringLiteral("大米|%1").arg(shown.codeEntry.sl);
            if (failing)
                failWritesTo(shown.headerTable);
            QPointer<DocumentEntryForm> form = openEntryForm(config, false, intno);
            form->DBGrid1->setFocus();
            form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(1, config.firstEntryColumn));
            dialogs.answer(DialogAnswer::Ok);
            form->action(QString::fromLatin1(booking ? "ToolButton8" : "ToolButton4"))->trigger();
            flush();
            ASSERT_TRUE(form);
            ASSERT_EQ(form, QApplication::activeWindow());
            ASSERT_EQ(form->Edit12, QApplication::focusWidget());
            if (failing)
                mendWritesTo(shown.headerTable);
            form->Edit12->setText(QStringLiteral("B02"));
            pressEnter(form->Edit12);
            EXPECT_EQ(expected, rows(lines, {intno}));
            form->deleteLater();
            flush();
        }
    }
}

// An unknown party in the party box, and 过帐 pressed there by its access key: the posting says
// once that it finds no such party; the cursor it puts back in the code box does not count as
// the clerk leaving the party box, which would say it again.
TEST_P(PostingCursorTest, AnUnknownPartyIsSaidOnceWhenThePostingPutsTheCursorBack)
{
    dialogs.takeActivation(true);
    const auto config = DocumentCatalog::entryForm(GetParam());
    const lb::documents::DocumentKind& shown = kind(config.kind);
    choosePostingMode(false);
    QPointer<DocumentEntryForm> form = openEntryForm(config, false, openDocument(config.kind));
    QLineEdit* party = form->box(QStringLiteral("Edit2"));
    party->setFocus();
    party->setText(QStringLiteral("X9"));
    flush();
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    pressAccessKey(form, 'O');
    flush();
    ASSERT_TRUE(form && form->isVisible());
    EXPECT_EQ(form->Edit12, QApplication::focusWidget());
    EXPECT_EQ(1, dialogs.texts().count(shown.texts.partyNotFound)) << dialogs.texts().join(QLatin1Char('/')).toStdString();
    // The clerk leaving the box afterwards is told again.
    party->setFocus();
    flush();
    form->Edit12->setFocus();
    flush();
    EXPECT_EQ(2, dialogs.texts().count(shown.texts.partyNotFound));
}

INSTANTIATE_TEST_SUITE_P(EntryForms, PostingCursorTest,
                         ::testing::ValuesIn(entryFormsWhere([](const lb::documents::EntryFormConfig& config) {
                             return !config.codeBoxHint.isEmpty();
                         })),
                         [](const auto& info) { return info.param.toStdString(); });
