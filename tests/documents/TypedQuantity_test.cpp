// A quantity still being typed when 过帐 or 记帐 fails is kept, shown, and posted by the next try.
#include "documents/KindDocumentsFixture.h"

using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::ui::DialogAnswer;

namespace {

class TypedQuantityTest : public KindDocumentsFixture, public ::testing::WithParamInterface<QString> {};

} // namespace

// The line's first quantity cell (数量, or 件数 where the quantity is packs × per pack) is typed over
// with 3.5 and left open; the command's first, second, ... write fails (the cell's own store
// among them). After each failure the form shows 3.5, and the next command, with every write
// going through, posts 3.5, not what was stored before.
TEST_P(TypedQuantityTest, AFailureAtAnyWriteKeepsTheTypedQuantityForTheNextPosting)
{
    const auto config = DocumentCatalog::entryForm(GetParam());
    const lb::documents::DocumentKind& shown = kind(config.kind);
    for (const bool booking : postingModes(shown)) {
        choosePostingMode(booking);
        const QString command = QString::fromLatin1(booking ? "ToolButton8" : "ToolButton4");
        for (int writes = 0;; ++writes) {
            SCOPED_TRACE(QStringLiteral("%1, failing write %2").arg(command).arg(writes + 1).toStdString());
            ASSERT_LT(writes, 200) << "never went through";
            exec(QStringLiteral("update product set sl=10"));
            const QString intno = openDocument(config.kind);
            QPointer<DocumentEntryForm> form = openEntryForm(config, false, intno);
            const int quantity = config.firstEntryColumn;
            const QString typed = form->DBGrid1->gridModel()->columnAt(quantity).fieldName;
            const int line = form->DBGrid1->model()->rowCount() - 1; // the product line, after any carry-over line
            form->DBGrid1->setFocus();
            flush();
            form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(line, quantity));
            typeText(form->DBGrid1, QStringLiteral("3"));
            typeText(QApplication::focusWidget(), QStringLiteral(".5"));
            failAfterWrites(writes);
            dialogs.answer(DialogAnswer::Ok);
            form->action(command)->trigger();
            flush();
            failAfterWrites(-1);
            const bool failed = form && form->isVisible();
            if (failed) {
                EXPECT_EQ(3.5, lb::db::Field::parseNumber(cell(*form, line, quantity)));
                dialogs.answer(DialogAnswer::Ok);
                form->action(command)->trigger();
                flush();
                ASSERT_FALSE(form && form->isVisible()) << dialogs.texts().join(QLatin1Char('/')).toStdString();
            }
            EXPECT_EQ(QStringLiteral("3.5|True"),
                      row(QStringLiteral("select d.\"%1\", h.pass from %2 d join %3 h on h.intno=d.mainintno "
                                         "where d.mainintno=:p1 and d.spintno=:p2")
                              .arg(typed, shown.lineTable, shown.headerTable),
                          {intno, flour}));
            if (!failed)
                break;
        }
    }
}

// A quantity the grid refuses (no number) is said as any cell's refusal, and 过帐 or 记帐 ends
// there: no question, nothing stored, the line as it was.
TEST_P(TypedQuantityTest, AQuantityTheGridRefusesEndsTheCommandBeforeItAsks)
{
    const auto config = DocumentCatalog::entryForm(GetParam());
    const lb::documents::DocumentKind& shown = kind(config.kind);
    const QString intno = openDocument(config.kind);
    QPointer<DocumentEntryForm> form = openEntryForm(config, false, intno);
    const int line = form->DBGrid1->model()->rowCount() - 1;
    form->DBGrid1->setFocus();
    flush();
    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(line, config.firstEntryColumn));
    for (const QString& command : {QStringLiteral("ToolButton4"), QStringLiteral("ToolButton8")}) {
        if (command == QLatin1String("ToolButton8") && !shown.followsPostingMode)
            continue;
        exec(QStringLiteral("update config set tallybj=:p1"), {command == QLatin1String("ToolButton8") ? "F" : "T"});
        const QStringList before = everyTable();
        typeText(form->DBGrid1, QStringLiteral("1"));
        typeText(QApplication::focusWidget(), QStringLiteral("..2"));
        const int reports = errors.count();
        dialogs.clear();
        form->action(command)->trigger();
        flush();
        ASSERT_TRUE(form && form->isVisible());
        EXPECT_EQ(reports + 1, errors.count()) << command.toStdString();
        EXPECT_TRUE(dialogs.texts().isEmpty()) << dialogs.texts().join(QLatin1Char('/')).toStdString();
        EXPECT_EQ(before, everyTable());
    }
}

INSTANTIATE_TEST_SUITE_P(EntryForms, TypedQuantityTest,
                         ::testing::ValuesIn(entryFormsWhere([](const lb::documents::EntryFormConfig& config) {
                             return !lb::documents::DocumentKinds::of(config.kind).linesAreAccounts;
                         })),
                         [](const auto& info) { return info.param.toStdString(); });
