// Every entry form, however it is closed, stores what was typed as its 退回 stores it; the
// posting that ends a form runs no 退回 after it.
#include "documents/KindDocumentsFixture.h"

#include <QRegularExpression>

using lb::documents::DocumentEntryForm;

namespace {

class WayOutTest : public KindDocumentsFixture, public ::testing::WithParamInterface<QString> {
protected:
    const lb::documents::EntryFormConfig config = lb::documents::DocumentCatalog::entryForm(GetParam());
    const lb::documents::DocumentKind& shown = kind(config.kind);

    // The form of an open document, 负责人 typed and its last line's first entry column
    // (quantity, packs or amount) being edited to 7.
    DocumentEntryForm* typedInto(const QString& intno)
    {
        DocumentEntryForm* form = openEntryForm(config, false, intno);
        typeText(form->box("Edit16"), QStringLiteral("王五"));
        form->DBGrid1->setFocus();
        form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(form->DBGrid1->model()->rowCount() - 1, config.firstEntryColumn));
        typeText(form->DBGrid1, QStringLiteral("7"));
        return form;
    }

    // The header and lines as stored, every ten-digit number (document, line, record) as "#".
    QString stored(const QString& intno)
    {
        return rows(QStringLiteral("select * from %1 h join %2 l on l.mainintno=h.intno where h.intno=:p1 order by l.intno")
                        .arg(shown.headerTable, shown.lineTable), {intno})
            .join(QLatin1Char('\n'))
            .replace(QRegularExpression(QStringLiteral("\\b\\d{10}\\b")), QStringLiteral("#"));
    }

    QString header(const QString& columns, const QString& intno)
    {
        return row(QStringLiteral("select %1 from %2 where intno=:p1").arg(columns, shown.headerTable), {intno});
    }
};

} // namespace

TEST_P(WayOutTest, CloseStoresWhatIsTypedAsBackDoesAndThePostingsCloseRunsNoBack)
{
    const QString closed = openDocument(config.kind);
    const QString back = openDocument(config.kind);
    DocumentEntryForm* form = typedInto(closed);
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowCloseButtonHint)); // none asked for
    EXPECT_TRUE(form->close());
    typedInto(back)->ToolButton7Click();
    EXPECT_EQ(stored(back), stored(closed));
    const QString field = config.columns[size_t(config.firstEntryColumn)].fieldName;
    EXPECT_EQ(QStringLiteral("王五|7"), header(QStringLiteral("employeename, (select %1 from %2 where mainintno=:p1 order by intno desc)")
                                                  .arg(field, shown.lineTable),
                                              closed));

    // 退回 after the posting would take the balance the posting gave the party.
    const QString posted = openDocument(config.kind);
    const QString balance = header(QStringLiteral("balance"), posted);
    dialogs.answer(lb::ui::DialogAnswer::Ok);
    openEntryForm(config, false, posted)->ToolButton4Click();
    flush();
    EXPECT_EQ(nullptr, top<DocumentEntryForm>(GetParam()));
    EXPECT_EQ(balance + QStringLiteral("|True"), header(QStringLiteral("balance, pass"), posted));
}

INSTANTIATE_TEST_SUITE_P(EntryForms, WayOutTest, ::testing::ValuesIn(lb::documents::DocumentCatalog::entryFormKeys()),
                         [](const auto& info) { return info.param.toStdString(); });
