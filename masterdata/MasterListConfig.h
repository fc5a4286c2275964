// What configures one record list window: grid, search, commands, deletion, picking, closing.
#pragma once

#include "masterdata/ListSearch.h"
#include "masterdata/MasterEditorConfig.h"
#include "masterdata/PickWriteBack.h"
#include "platform/ui/GridColumn.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace lb::db {
class Query;
}

namespace lb::masterdata {

class MasterListWindow;

// Tool bar commands; a list shows the ones it lists, in the order it lists them. A spacer is a
// blank disabled button that keeps the tool bar laid out as the window was designed.
enum class ListCommand { Add, Modify, Delete, Print, Pick, Search, Export, CountEntry, Close, Spacer };

// How "删除" asks and what it removes besides the row.
struct DeletePolicy {
    QString balanceQuestion;      // asked first when balance is not 0; empty: no such question
    QString ownQuestion;          // the list asks itself and deletes by statement (no data
                                  // module confirmation); empty: the dataset's delete asks
    QString alsoDeleteRowsOf;     // table whose rows with intno = the record's intno go too
    bool products = false;        // the product rules: stock question, price rows by spintno
};

// A pop-up menu item of the grid with its command.
struct ListMenuItem {
    QString name;                 // object name ("N20")
    QString caption;
    std::function<void(MasterListWindow&)> run; // empty: present and disabled
    bool visible = true;
};

struct MasterListConfig {
    QString key;                  // window class name, the registry key ("TFrcustomer")
    QString caption;
    bool maximised = false;
    std::function<lb::db::Query*()> dataSet;
    std::vector<lb::ui::GridColumn> columns;
    QString gridHint;
    std::vector<ListCommand> commands;
    std::vector<ListCommand> disabledCommands; // shown, not usable
    std::vector<ListCommand> hiddenCommands;   // present, never shown

    // Search row; without options there is no search row.
    SearchConfig search;
    QString initialOption;
    QStringList imeOptions;       // options that switch the search box's input method on
    QStringList modes;            // radio group captions (first: quick, second: fuzzy); empty: none
    int initialMode = 0;
    bool searchOnShow = false;
    bool searchOnType = false;    // every change of the search text searches
    bool searchOnLeave = true;    // leaving the search box searches
    bool focusGridAfterSearch = false; // the grid takes the focus after every search

    QStringList statusPanels;     // fixed texts; the count panel comes after them
    bool showCount = false;

    bool markColumn = false;      // szbj drawn as a check box, toggled by click and Space; blue rows
    std::vector<ListMenuItem> menu;

    std::optional<PickList> pickList; // the write-back table; none: a pick only closes
    DeletePolicy deletion;
    bool removeBlankRows = false; // Up/Down on a row without intno deletes it

    // The editor "新增"/"修改" open: one of the two.
    std::optional<MasterEditorConfig> editor;
    std::optional<ValueEditorConfig> valueEditor;
    // A window the editor commands open instead (the product editor); gets the list as owner.
    std::function<void(MasterListWindow&, bool adding)> openEditor;

    // "打印"; without it the print command does nothing.
    std::function<void(MasterListWindow&)> print;

    // Runs on showing, before the first search (titles and columns that depend on options).
    std::function<void(MasterListWindow&)> onShow;
    // Runs once when the list closes, after the common steps (point shared queries back).
    std::function<void(MasterListWindow&)> onClose;
};

} // namespace lb::masterdata
