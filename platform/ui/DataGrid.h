// A grid bound to a dataset: its current row follows the dataset's and moves it.
#pragma once

#include "platform/ui/DataGridModel.h"

#include <QPointer>
#include <QTableView>
#include <functional>
#include <utility>

namespace lb::ui {

// The grid's current cell and the dataset's current row stay together both ways. The grid
// never adds rows by itself: Insert is swallowed and Down on the last row does nothing. The
// mouse wheel moves the dataset one record (back when turned away from the user). Enter,
// also when it ends a cell edit, sends enterPressed() instead of moving. The current column
// stays when the dataset replaces its rows; leaving a column sends columnExited() once the
// move is done. A double-click counts even when the rows were replaced between its clicks.
// Tab and Shift+Tab move from cell to cell, also out of an open cell editor; past the last
// cell (before the first) they move the focus on to the window's next (previous) control, and
// Ctrl+Tab (Ctrl+Shift+Tab) does so from any cell, so the grid never keeps the keyboard. A
// read-only grid passes Tab on at once; its arrows choose the row. The Menu key in a cell being
// typed asks for the grid's pop-up, as it does on the grid.
//
// Column widths: a column given a width keeps at least that width; a number column is never
// narrower than the widest of its values on screen; a column given no width fits its title and
// the values on screen (a text column up to maxFittedTextWidth). New rows refit the columns;
// scrolling, resizing and edits only widen them.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    // Binds the grid to `dataSet` (not owned; nullptr unbinds). Columns, read-only state and
    // row colour are the grid's own and stay when it is bound to another dataset.
    void setDataSet(lb::db::DataSet* dataSet);
    lb::db::DataSet* dataSet() const;
    DataGridModel* gridModel() const { return model_; }

    void setColumns(std::vector<GridColumn> columns);
    void setColumnVisible(int column, bool visible);
    void setColumnTitle(int column, const QString& title);
    void setReadOnly(bool readOnly);
    void setRowColor(DataGridModel::RowColor rowColor);

    // The current column (model index; hidden columns keep theirs); -1 when none.
    int selectedIndex() const;
    void setSelectedIndex(int column);
    lb::db::Field* selectedField() const;
    // Takes what the clerk is typing into its row and stores the row, as every command and
    // every close of the grid's window does first: an open cell editor's text goes into its row
    // as leaving the cell takes it (the editor closed, the focus in the grid), and a row still
    // in edit (a value whose store failed before) is posted. False when the row refused the
    // text (reported as for a cell left); throws the store's error when the row cannot be
    // stored, what was typed kept in the row's edit, on screen. A read-only grid has nothing
    // to take.
    bool takeTyping();

    // The widest a text column given no width grows to fit its values, in pixels.
    static constexpr int maxFittedTextWidth = 320;

    // Sees every key first; returns true when it handled the key.
    using KeyHook = std::function<bool(QKeyEvent* event)>;
    void setKeyHook(KeyHook hook) { keyHook_ = std::move(hook); }

signals:
    void enterPressed();
    // The current column was left for another one (by key, mouse or setSelectedIndex); sent
    // from the event loop right after the move, so that a handler may rework the rows.
    void columnExited(int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Whether Tab (Shift+Tab with `forward` false) from the current cell leaves the grid: at
    // the last visible cell of the last row (the first of the first row), with no cell, or
    // always in a read-only grid.
    bool tabLeaves(bool forward) const;
    // Gives the focus to the window's next (previous) control.
    void leave(bool forward);
    void followDataSet();
    void applyColumns();
    // Fits the widths to the rows on screen; `fresh` starts from the configured widths, else
    // columns only widen.
    void fitColumns(bool fresh);
    // The first visible column, or the last with `last`; -1 when none.
    int visibleColumnAtEdge(bool last) const;
    // Runs a dataset move; a refused move (a failed post) is reported and the grid returns
    // to the dataset's row.
    void moveDataSet(const std::function<void()>& move);

    DataGridModel* model_ = nullptr;
    std::vector<GridColumn> columns_;
    bool readOnly_ = false;
    DataGridModel::RowColor rowColor_;
    QMetaObject::Connection currentLink_;
    KeyHook keyHook_;
    bool following_ = false;
    bool fitQueued_ = false; // a scroll's fitting waits for the event loop
    int keptColumn_ = -1;    // the current column, also while the model resets
    bool resetting_ = false; // the model is replacing its rows
    std::pair<int, int> pressedCell_{-1, -1};        // row and column of the last mouse press
    std::pair<int, int> pressedBeforeReset_{-1, -1}; // the same, when the rows were replaced since
};

} // namespace lb::ui
