// The editors of master data as the error table names them: each one configured per list is
// the window of the program's design that the list opens, and a box in it is named by its class.
#include "masterdata/MasterWindowFixture.h"

#include "core/TFrm_ErrorMessage.h"
#include "masterdata/MasterCatalog.h"
#include "masterdata/ValueEditor.h"
#include "platform/ui/LbApplication.h"

#include <map>

using lb::masterdata::MasterCatalog;

class EditorErrors : public MasterWindowFixture {
protected:
    // Reports an error of `sender` as its slots do, and returns how apperror names it.
    QString reportedAs(QObject* sender)
    {
        exec(QStringLiteral("delete from apperror"));
        lb::ui::LbApplication::guarded(sender, []() -> bool { throw lb::ConvertError(QStringLiteral("'x' is not a valid number")); });
        return scalar(QStringLiteral("select name from apperror")).toString();
    }
};

TEST_F(EditorErrors, AnEditorIsNamedAsTheWindowOfItsListAndItsBoxesByTheirClass)
{
    const std::map<QString, QString> editorOf{
        {QStringLiteral("TFrcustomer"), QStringLiteral("Tfrcustomeredit")},
        {QStringLiteral("TFrbranch"), QStringLiteral("Tfrbranchedit")},
        {QStringLiteral("TFrbank"), QStringLiteral("Tfrbankedit")},
        {QStringLiteral("TFremployee"), QStringLiteral("Tfremployeeedit")},
        {QStringLiteral("TFrstore"), QStringLiteral("Tfrstoreedit")},
        {QStringLiteral("TFrcustomer_b"), QStringLiteral("Tfrcustomeredit_b")},
        {QStringLiteral("TFrbranch_b"), QStringLiteral("Tfrbranchedit_b")},
        {QStringLiteral("TFrbank_b"), QStringLiteral("Tfrbankedit_b")},
        {QStringLiteral("TFrproduct_b"), QStringLiteral("Tfrproductedit_b")},
        {QStringLiteral("TFrproductp"), QStringLiteral("Tfrproductpedit")},
    };
    lb::core::TFrm_ErrorMessage form; // the handler; the fixture's modals close it at once
    QStringList named;
    for (const QString& key : MasterCatalog::keys()) {
        const lb::masterdata::MasterListConfig config = MasterCatalog::byKey(key);
        std::unique_ptr<QWidget> editor;
        if (config.editor)
            editor = std::make_unique<lb::masterdata::MasterEditor>(*config.editor, main.get());
        else if (config.valueEditor)
            editor = std::make_unique<lb::masterdata::ValueEditor>(*config.valueEditor, main.get());
        else
            continue;
        named << key + QLatin1Char(' ') + reportedAs(editor.get()) + QLatin1Char(' ')
                     + reportedAs(editor->findChild<QLineEdit*>(QStringLiteral("Edit2")));
    }
    QStringList expected;
    for (const auto& [key, name] : editorOf)
        expected << key + QLatin1Char(' ') + name + QStringLiteral(" QLineEdit");
    named.sort();
    EXPECT_EQ(expected, named);
}
