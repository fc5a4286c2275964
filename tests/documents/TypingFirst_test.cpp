// Every command of an entry form and every way of leaving it takes the cell being typed first:
// what the form shows is what the command works on, and a line that cannot be stored ends the
// command with its message, what was typed still on screen.
#include "documents/KindDocumentsFixture.h"

#include "support/PrintedPreview.h"

#include <QMenu>
#include <QToolBar>

using lb::documents::DocumentCatalog;
using lb::documents::DocumentEntryForm;
using lb::ui::DialogAnswer;

namespace {

class TypingFirstTest : public KindDocumentsFixture, public ::testing::WithParamInterface<QString> {
protected:
    const lb::documents::EntryFormConfig config = DocumentCatalog::entryForm(GetParam());
    const lb::documents::DocumentKind& shown = kind(config.kind);

    // What leaves the form besides its commands: the close box (or the window manager's key),
    // and the program's end.
    static QStringList waysOut() { return {QStringLiteral("close"), QStringLiteral("end")}; }

    // Each tool-bar and pop-up item the form shows, by its name, with the posting mode it shows
    // in (记帐 and 过帐 show in one each), then the ways out.
    std::vector<std::pair<bool, QString>> everyCommand()
    {
        std::vector<std::pair<bool, QString>> commands;
        QStringList names;
        for (const bool booking : postingModes(shown)) {
            choosePostingMode(booking);
            const QPointer<DocumentEntryForm> form = openEntryForm(config, false, openDocument(config.kind));
            for (QAction* item : form->findChildren<QAction*>()) {
                if (!item->objectName().isEmpty() && item->isVisible() && item->isEnabled() && !names.contains(item->objectName())) {
                    names << item->objectName();
                    commands.emplace_back(booking, item->objectName());
                }
            }
            form->deleteLater();
            flush();
        }
        for (const QString& way : waysOut())
            commands.emplace_back(false, way);
        return commands;
    }

    // The command item `name` runs (a pop-up item may run a tool-bar item's), or the way out.
    QString runs(const QString& name) const
    {
        for (const auto* looks : {&config.toolButtons, &config.popupItems})
            for (const lb::documents::CommandLook& look : *looks)
                if (look.name == name)
                    return look.runs.isEmpty() ? look.name : look.runs;
        return name;
    }

    // Whether `name` leaves the form by its 退回: the item that runs it, or a way out.
    bool leaves(const QString& name) const { return runs(name) == QLatin1String("ToolButton7") || waysOut().contains(name); }

    // The form of document `intno` with its last line's first entry column (quantity, packs or
    // amount) typed over with 7, the cell still open; `line` gets that line's number.
    DocumentEntryForm* typing(const QString& intno, QString& line)
    {
        DocumentEntryForm* form = openEntryForm(config, false, intno);
        const int row = form->DBGrid1->model()->rowCount() - 1;
        form->DBGrid1->setFocus();
        form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(row, config.firstEntryColumn));
        line = frdm->AQoutdetail->fieldByName(QStringLiteral("intno")).asString();
        typeText(form->DBGrid1, QStringLiteral("7"));
        EXPECT_TRUE(form->DBGrid1->isAncestorOf(QApplication::focusWidget()));
        return form;
    }

    // Runs `name` as the clerk does: a tool-bar item by its access key where its caption has
    // one, any other item by itself, a way out as above.
    void run(DocumentEntryForm& form, const QString& name)
    {
        if (name == QLatin1String("close")) {
            form.close();
        } else if (name == QLatin1String("end")) {
            lb::ui::WorkWindow::endAll(main.get());
        } else {
            QAction* item = form.action(name);
            const qsizetype key = item->text().indexOf(QLatin1Char('&'));
            if (key >= 0 && qobject_cast<QToolBar*>(item->parent()))
                pressAccessKey(&form, item->text().at(key + 1).toLatin1());
            else
                item->trigger();
        }
        flush();
    }

    QString typedColumn() const { return config.columns[size_t(config.firstEntryColumn)].fieldName; }

    // The typed column of the document's lines, in order.
    QStringList typedLines(const QString& intno)
    {
        return rows(QStringLiteral("select \"%1\" from %2 where mainintno=:p1 order by intno").arg(typedColumn(), shown.lineTable), {intno});
    }

    // The windows a command opened besides the form (a price table, a picker) go.
    void closeOthers(const DocumentEntryForm* form)
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<lb::ui::WorkWindow*>(window) && window != form && window->isVisible())
                window->close();
        flush();
    }

    lb::test::PrintedPreview preview;
};

} // namespace

// Questions are answered no: what each command then does comes after the typing is taken. The
// line holds 7 afterwards (where the command leaves it); 新增行 adds a blank line after it, and
// 转抄's new document holds 7 as the form showed it.
TEST_P(TypingFirstTest, EveryCommandAndEveryWayOutStoresTheCellBeingTypedFirst)
{
    for (const auto& [booking, name] : everyCommand()) {
        SCOPED_TRACE(name.toStdString());
        choosePostingMode(booking);
        const QString intno = openDocument(config.kind);
        const QStringList before = typedLines(intno);
        QString line;
        QPointer<DocumentEntryForm> form = typing(intno, line);
        dialogs.clear();
        run(*form, name);
        closeOthers(form);
        const QString stored = row(QStringLiteral("select \"%1\" from %2 where intno=:p1").arg(typedColumn(), shown.lineTable), {line});
        if (runs(name) != QLatin1String("ToolButton2") || !stored.isEmpty()) {
            EXPECT_EQ(7.0, lb::db::Field::parseNumber(stored));
        }
        if (runs(name) == QLatin1String("ToolButton1")) {
            QStringList expected = before;
            expected.back() = QStringLiteral("7");
            const QString added = row(QStringLiteral("select spmc from %1 where mainintno=:p1 order by intno desc").arg(shown.lineTable), {intno});
            EXPECT_EQ(before.size() + 1, typedLines(intno).size());
            EXPECT_EQ(expected, typedLines(intno).mid(0, before.size()));
            EXPECT_EQ(shown.linesAreAccounts ? QStringLiteral("现金") : QString(), added); // as a new line starts
        }
        if (runs(name) == QLatin1String("ToolButton9")) {
            ASSERT_NE(intno, main->CurrentBillNo);
            EXPECT_EQ(typedLines(intno), typedLines(main->CurrentBillNo));
        }
        if (form)
            form->deleteLater();
        flush();
    }
}

// The same with the line's store failing: the form stays open showing 7, nothing is stored, and
// the command says why as it says its own failures (退回 of a kind that passes them on goes to
// the error form). The program's end closes the form all the same.
TEST_P(TypingFirstTest, ACommandWhoseTypingCannotBeStoredEndsWithItsMessage)
{
    for (const auto& [booking, name] : everyCommand()) {
        SCOPED_TRACE(name.toStdString());
        choosePostingMode(booking);
        const QString intno = openDocument(config.kind);
        QString line;
        QPointer<DocumentEntryForm> form = typing(intno, line);
        const int row = form->DBGrid1->currentIndex().row();
        failWritesTo(shown.lineTable);
        const QStringList before = everyTable();
        const int reports = errors.count();
        dialogs.clear();
        run(*form, name);
        closeOthers(form);
        EXPECT_EQ(before, everyTable());
        const bool back = leaves(name);
        if (back && !config.backReportsUnsaved) {
            EXPECT_EQ(reports + 1, errors.count());
        } else {
            EXPECT_EQ(reports, errors.count());
            EXPECT_EQ(back ? QStringLiteral("单据不能保存！") : QStringLiteral("该功能暂时不能执行，请重新操作！"), dialogs.texts().value(0));
        }
        if (name == QLatin1String("end")) {
            EXPECT_TRUE(!form || !form->isVisible());
        } else {
            ASSERT_TRUE(form && form->isVisible());
            EXPECT_EQ(7.0, lb::db::Field::parseNumber(cell(*form, row, config.firstEntryColumn)));
        }
        mendWritesTo(shown.lineTable);
        if (form)
            form->deleteLater();
        flush();
    }
}

// A line left unstored when its cell's store failed, then 过帐 (记帐) while the line still cannot
// be stored: the command ends before its question. Then the line can be stored and the posting
// fails further on: the line keeps what was typed.
TEST_P(TypingFirstTest, ALineLeftUnstoredIsStoredBeforeThePostingOrTheCommandEndsBeforeItsQuestion)
{
    for (const bool booking : postingModes(shown)) {
        SCOPED_TRACE(booking ? "记帐" : "过帐");
        choosePostingMode(booking);
        const QString intno = openDocument(config.kind);
        QString line;
        QPointer<DocumentEntryForm> form = typing(intno, line);
        failWritesTo(shown.lineTable);
        const int reports = errors.count();
        form->DBGrid1->setSelectedIndex(config.firstEntryColumn + 1); // the cell left, its store failing
        flush();
        ASSERT_EQ(reports + 1, errors.count());
        EXPECT_EQ(GetParam(), errors.reports().back().sender->objectName()); // the window, not its grid
        const QString command = QString::fromLatin1(booking ? "ToolButton8" : "ToolButton4");
        dialogs.clear();
        dialogs.answer(DialogAnswer::Ok);
        run(*form, command);
        EXPECT_EQ(QStringList{QStringLiteral("该功能暂时不能执行，请重新操作！")}, dialogs.texts());
        mendWritesTo(shown.lineTable);
        failWritesTo(shown.headerTable);
        dialogs.clear();
        dialogs.answer(DialogAnswer::Ok);
        run(*form, command);
        ASSERT_TRUE(form && form->isVisible());
        EXPECT_EQ(7.0, lb::db::Field::parseNumber(row(QStringLiteral("select \"%1\" from %2 where intno=:p1").arg(typedColumn(), shown.lineTable), {line})));
        mendWritesTo(shown.headerTable);
        form->deleteLater();
        flush();
    }
}

INSTANTIATE_TEST_SUITE_P(EntryForms, TypingFirstTest, ::testing::ValuesIn(DocumentCatalog::entryFormKeys()),
                         [](const auto& info) { return info.param.toStdString(); });
