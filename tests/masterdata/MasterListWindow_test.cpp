// The record lists' search box: leaving it for another control of the list searches; a box or
// a window taking the list's activation for a while does not.
#include "masterdata/MasterCatalog.h"
#include "masterdata/MasterWindowFixture.h"

#include "platform/ui/Dialogs.h"
#include "support/Typing.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <functional>

using lb::masterdata::MasterCatalog;
using lb::masterdata::MasterListWindow;

namespace {

// What happens while the search box of a list has the focus, a text typed into it.
struct SearchBoxMove {
    const char* name;
    std::function<void(MasterListWindow& list, lb::ui::ScriptedDialogs& dialogs)> act;
    int searches; // how many times the list searches
};

void PrintTo(const SearchBoxMove& move, std::ostream* out) { *out << move.name; }

void settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void press(QWidget* widget, Qt::Key key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class SearchOnLeaving : public MasterWindowFixture, public ::testing::WithParamInterface<SearchBoxMove> {};

} // namespace

TEST_P(SearchOnLeaving, OnlyAnotherControlOfTheListTakingTheFocusLeavesTheSearchBox)
{
    const SearchBoxMove& move = GetParam();
    int lists = 0;
    for (const QString& key : MasterCatalog::keys()) {
        const lb::masterdata::MasterListConfig config = MasterCatalog::byKey(key);
        if (!config.searchOnLeave || config.search.options.empty())
            continue;
        SCOPED_TRACE(key.toStdString());
        ++lists;
        QPointer<MasterListWindow> list(MasterListWindow::openFromMenu(key, main.get()));
        QApplication::setActiveWindow(list);
        list->Edit1->setFocus();
        settle();
        typeText(list->Edit1, QStringLiteral("1"));
        int searches = 0;
        QObject::connect(&list->dataSet(), &lb::db::DataSet::reset, list, [&searches, &list] {
            if (list->dataSet().active())
                ++searches;
        });
        move.act(*list, dialogs);
        settle();
        EXPECT_EQ(move.searches, searches);
        EXPECT_EQ(list.data(), QApplication::activeWindow());
        list->close();
        settle();
    }
    EXPECT_LT(0, lists);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, SearchOnLeaving,
    ::testing::Values(
        SearchBoxMove{"ABoxTakingTheActivation",
                      [](MasterListWindow&, lb::ui::ScriptedDialogs& dialogs) {
                          dialogs.takeActivation(true);
                          lb::ui::Dialogs::message(QStringLiteral("已保存"));
                          dialogs.takeActivation(false);
                      },
                      0},
        // The editor of 新增 takes the activation and disables the list; closed, it gives the
        // focus back to the search box. (The opening-balance lists open none.)
        SearchBoxMove{"AnEditorOverTheList",
                      [](MasterListWindow& list, lb::ui::ScriptedDialogs&) {
                          if (!list.config().editor)
                              return;
                          list.ToolButton1Click();
                          settle();
                          QWidget* editor = QApplication::activeWindow();
                          ASSERT_TRUE(editor && editor != &list);
                          editor->close();
                          settle();
                          QApplication::setActiveWindow(&list);
                      },
                      0},
        // A window of its own (a picker) takes the activation and the focus into its box, and
        // gives the activation back when it goes.
        SearchBoxMove{"APickerOverTheList",
                      [](MasterListWindow& list, lb::ui::ScriptedDialogs&) {
                          QWidget picker;
                          auto* box = new QLineEdit(&picker);
                          picker.show();
                          QApplication::setActiveWindow(&picker);
                          box->setFocus();
                          settle();
                          picker.hide();
                          settle();
                          QApplication::setActiveWindow(&list);
                      },
                      0},
        SearchBoxMove{"Tab", [](MasterListWindow& list, lb::ui::ScriptedDialogs&) { press(list.Edit1, Qt::Key_Tab); }, 1},
        SearchBoxMove{"Enter", [](MasterListWindow& list, lb::ui::ScriptedDialogs&) { press(list.Edit1, Qt::Key_Return); }, 1}),
    [](const auto& info) { return std::string(info.param.name); });
