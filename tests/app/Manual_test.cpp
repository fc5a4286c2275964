// The manual the help command opens: every window, main menu item and command it names is one
// the program has, under the same words, and the page stands on its own with a table of
// contents that leads somewhere.
#include "summaries/SummaryFixture.h"

#include "core/Dashboard.h"
#include "core/HelpFile.h"
#include "core/PictureButton.h"
#include "core/TAboutBox.h"
#include "core/TFrm_ErrorMessage.h"
#include "core/TFropadd.h"
#include "core/TFrpassword.h"
#include "core/TFrstart.h"
#include "core/Tfrexport.h"
#include "core/Tfropcrl.h"
#include "core/Tfropedit.h"
#include "documents/DocumentWindows.h"
#include "masterdata/MasterCatalog.h"
#include "masterdata/MasterDataWindows.h"
#include "masterdata/MasterEditor.h"
#include "masterdata/Tfrproductedit.h"
#include "masterdata/ValueEditor.h"
#include "report/ui/TRpStandardPreviewInterface.h"
#include "summaries/BalanceCatalog.h"
#include "summaries/KindSummaryCatalog.h"
#include "support/PrintedPreview.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QToolBar>

using lb::core::HelpFile;
using lb::core::WindowRegistry;
using lb::documents::DocumentCatalog;
using lb::masterdata::MasterCatalog;

namespace {

QString manual()
{
    const QString file = HelpFile::find();
    QFile page(file);
    if (!page.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "no manual at " << file.toStdString();
    return QString::fromUtf8(page.readAll());
}

// The texts the manual marks as <span class="kind">…</span>.
QStringList marked(const QString& html, const QString& kind)
{
    static const QRegularExpression entity(QStringLiteral("&(lt|gt|quot|amp);"));
    const QRegularExpression span(QStringLiteral("<span class=\"%1\">(.*?)</span>").arg(kind),
                                  QRegularExpression::DotMatchesEverythingOption);
    QStringList texts;
    for (auto found = span.globalMatch(html); found.hasNext();) {
        QString text = found.next().captured(1);
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        text.replace(QStringLiteral("&quot;"), QStringLiteral("\"")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        texts << text;
    }
    return texts;
}

// A text as the screen shows it, to compare: without blanks, and without the "&" of an access
// key; in a Chinese text the key's letter goes too ("新增行&A", "&S 系统管理").
QString onScreen(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    const bool chinese = std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0x7f; });
    text.remove(QRegularExpression(chinese ? QStringLiteral("&[A-Za-z]") : QStringLiteral("&")));
    return text;
}

class ManualTest : public SummaryFixture {
protected:
    // The caption of `window` and the texts of its buttons, tool bar and pop-up items and tabs.
    void collect(QWidget& window)
    {
        windows << onScreen(window.windowTitle());
        for (QAction* action : window.findChildren<QAction*>())
            commands << onScreen(action->text());
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
            commands << onScreen(button->text());
        for (QTabWidget* tabs : window.findChildren<QTabWidget*>())
            for (int tab = 0; tab < tabs->count(); ++tab)
                commands << onScreen(tabs->tabText(tab));
    }

    // The main window's menus (visible items only), tool bar and dashboard.
    void collectMainWindow()
    {
        windows << onScreen(main->windowTitle());
        for (QAction* title : main->menuBar()->actions()) {
            if (!title->isVisible())
                continue;
            QSet<QString>& items = menus[onScreen(title->text())];
            for (QAction* item : title->menu()->actions())
                if (item->isVisible() && !item->isSeparator())
                    items << onScreen(item->text());
        }
        for (QAction* tool : main->findChild<QToolBar*>(QStringLiteral("ToolBar1"))->actions())
            if (tool->isVisible())
                commands << onScreen(tool->text());
        commands << onScreen(main->findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->text());
        for (QAction* item : main->Image1->actions())
            commands << onScreen(item->text());
        auto* board = main->findChild<lb::core::Dashboard*>(QStringLiteral("Dashboard"));
        for (int page = 0; page < lb::core::Dashboard::pageCount; ++page) {
            commands << onScreen(board->navigatorButton(page)->caption());
            for (lb::core::PictureButton* button : board->buttons(page))
                commands << onScreen(button->caption());
            for (QLabel* text : board->texts(page))
                commands << onScreen(text->text());
        }
    }

    // Every window the registry makes, and the editors and dialogs those windows open.
    void collectWindows()
    {
        QStringList keys{QStringLiteral("Tfrconfig"), QStringLiteral("Tfropcrl"), QStringLiteral("TFrcompany"),
                         QStringLiteral("Tfrpack"), QStringLiteral("Tfrcopydir"), QStringLiteral("TFrcproduct"),
                         QStringLiteral("Tfrdetail")};
        keys << DocumentCatalog::entryFormKeys() << lb::summaries::KindSummaryCatalog::keys()
             << lb::summaries::BalanceCatalog::keys();
        for (const lb::documents::DocumentListConfig& list : DocumentCatalog::lists())
            keys << list.key << list.postedView.key;
        for (const QString& key : MasterCatalog::keys()) {
            const lb::masterdata::MasterListConfig config = MasterCatalog::byKey(key);
            if (key != QLatin1String("TFrproductp"))
                keys << key;
            if (config.editor) {
                lb::masterdata::MasterEditor editor(*config.editor, main.get());
                collect(editor);
            }
            if (config.valueEditor) {
                lb::masterdata::ValueEditor editor(*config.valueEditor, main.get());
                collect(editor);
            }
        }
        for (const QString& key : keys) {
            std::unique_ptr<lb::ui::WorkWindow> window(WindowRegistry::instance().create(key, main.get()));
            collect(*window);
        }
        auto operators = std::make_unique<lb::core::Tfropcrl>(main.get());
        lb::core::TFropadd add(operators.get());
        lb::core::Tfropedit edit(operators.get());
        collect(add);
        collect(edit);
        operators.reset();

        lb::masterdata::Tfrproductedit product(main.get());
        lb::core::TFrpassword logIn(main.get());
        lb::core::TFrstart quickStart(main.get());
        lb::core::TAboutBox about(main.get());
        for (QWidget* window : std::initializer_list<QWidget*>{&product, &logIn, &quickStart, &about, datePicker.get()})
            collect(*window);
        lb::core::Tfrexport exporting(main.get());
        collect(exporting);
        exporting.Button2->click(); // its file dialog, rejected
        for (const QString& title : modals.titles())
            windows << onScreen(title);
        windows << onScreen(lb::report::ui::TRpStandardPreviewInterface::PdfDialogCaption());
    }

    // The windows the stock commands open, the printer set-up and a print's preview.
    void collectCommandWindows()
    {
        for (const char* command : {"StockTake", "StockGainLoss", "StockValue"}) {
            WindowRegistry::instance().run(QLatin1String(command));
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window != main.get() && window->isVisible()) {
                    collect(*window);
                    window->close();
                }
            flush();
        }
        QAction* printerSetup = nullptr;
        for (QAction* title : main->menuBar()->actions())
            for (QAction* item : title->menu()->actions())
                if (item->text() == QStringLiteral("打印设置"))
                    printerSetup = item;
        printerSetup->trigger();
        for (const QString& title : modals.titles())
            windows << onScreen(title);

        lb::test::PrintedPreview previews;
        std::unique_ptr<lb::ui::WorkWindow> customers(WindowRegistry::instance().create(QStringLiteral("TFrcustomer"), main.get()));
        frdm->Aqcustomer->open();
        customers->findChild<QAction*>(QStringLiteral("ToolButton5"))->trigger();
        windows << onScreen(previews.last().title);
    }

    QSet<QString> windows;
    QSet<QString> commands;
    std::map<QString, QSet<QString>> menus; // title → items
};

} // namespace

TEST_F(ManualTest, NamesOnlyWindowsMenuItemsAndCommandsOfTheProgram)
{
    const QString html = manual();
    lb::masterdata::registerMasterDataWindows();
    lb::documents::registerDocumentWindows();
    lb::summaries::registerSummaryWindows();
    main->buildMenus();
    makeProduct(QStringLiteral("1001"), QStringLiteral("可口可乐"));
    frdm->Aqproduct->reopen(QStringLiteral("SELECT * from product"));
    collectMainWindow();
    collectWindows();
    collectCommandWindows();
    {
        lb::core::TFrm_ErrorMessage errorForm; // last: it takes the error handler while it lives
        collect(errorForm);
    }

    QStringList unknown;
    for (const QString& caption : marked(html, QStringLiteral("win")))
        if (!windows.contains(onScreen(caption)))
            unknown << QStringLiteral("window ") + caption;
    for (const QString& command : marked(html, QStringLiteral("cmd")))
        if (!commands.contains(onScreen(command)))
            unknown << QStringLiteral("command ") + command;
    const QStringList items = marked(html, QStringLiteral("menu"));
    for (const QString& path : items) {
        const QStringList steps = path.split(QStringLiteral("→"));
        const auto menu = menus.find(onScreen(steps.constFirst()));
        if (menu == menus.end() || steps.size() > 2 || (steps.size() == 2 && !menu->second.contains(onScreen(steps[1]))))
            unknown << QStringLiteral("menu item ") + path;
    }
    EXPECT_EQ(QStringList(), unknown);
    // The marks were found at all: a page whose marks no longer match would check nothing.
    EXPECT_LT(40, marked(html, QStringLiteral("win")).size());
    EXPECT_LT(100, marked(html, QStringLiteral("cmd")).size());
    EXPECT_LT(50, items.size());
}

TEST_F(ManualTest, StandsOnItsOwnWithATableOfContentsThatLeadsToEverySection)
{
    const QString html = manual();
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_FALSE(html.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
    // Nothing is fetched from elsewhere: no pictures, style sheets or pages but its own parts.
    const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
    QSet<QString> targets;
    for (auto found = reference.globalMatch(html); found.hasNext();) {
        const QString target = found.next().captured(1);
        EXPECT_TRUE(target.startsWith(QLatin1Char('#'))) << target.toStdString();
        targets << target.mid(1);
    }
    const QRegularExpression anchor(QStringLiteral("id=\"([^\"]*)\""));
    QSet<QString> anchors;
    for (auto found = anchor.globalMatch(html); found.hasNext();)
        anchors << found.next().captured(1);
    for (const QString& target : targets)
        EXPECT_TRUE(anchors.contains(target)) << "a link to the missing #" << target.toStdString();
    // Every section is in the table of contents.
    const QRegularExpression section(QStringLiteral("<h[23] id=\"([^\"]*)\""));
    for (auto found = section.globalMatch(html); found.hasNext();) {
        const QString id = found.next().captured(1);
        EXPECT_TRUE(id == QLatin1String("toc") || html.contains(QStringLiteral("<li><a href=\"#%1\">").arg(id)))
            << "section " << id.toStdString() << " is not in the table of contents";
    }
}
