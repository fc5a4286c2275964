// A grid bound to a dataset: its current row follows the dataset's and moves it.
#include "platform/ui/DataGrid.h"

#include "platform/db/DataSet.h"
#include "platform/sys/Errors.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/LbApplication.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>
#include <exception>

namespace lb::ui {

namespace {

// Text cell editors stop at the column's length, as the edit boxes do, so what is typed is
// what is stored. Number cells take any text: one that is not a number is refused when posted.
class CellEditorDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto* edit = qobject_cast<QLineEdit*>(editor);
        const auto* model = qobject_cast<const DataGridModel*>(index.model());
        const lb::db::Field* field = model ? model->fieldAt(index.column()) : nullptr;
        if (edit && field && field->dataType() == lb::db::FieldType::Text && field->size() > 0)
            edit->setMaxLength(field->size());
        // The Menu key (or a right click) in a cell being typed opens the grid's pop-up, whose
        // commands take what was typed, not the box's own cut-and-paste menu.
        if (editor)
            editor->setContextMenuPolicy(Qt::NoContextMenu);
        return editor;
    }

    // Ctrl+Tab in an open cell keeps what was typed, closes the cell and hands the key to the
    // grid, which leaves on it (the delegate's own handling would take it for Tab).
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && (key->modifiers() & Qt::ControlModifier)) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers());
                QCoreApplication::sendEvent(parent(), &again);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }
};

} // namespace

DataGrid::DataGrid(QWidget* parent) : QTableView(parent)
{
    setItemDelegate(new CellEditorDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setWordWrap(false);
    // A walk over the dataset (a print, a recalculation) scrolls the grid once a row: the rows
    // on screen are measured once the walk lets the event loop run, not at every row.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, guardSlot(this, [this] {
        if (fitQueued_)
            return;
        fitQueued_ = true;
        QMetaObject::invokeMethod(this, guardSlot(this, [this] {
            fitQueued_ = false;
            fitColumns(false);
        }), Qt::QueuedConnection);
    }));
}

void DataGrid::setDataSet(lb::db::DataSet* dataSet)
{
    DataGridModel* old = model_;
    QItemSelectionModel* oldSelection = selectionModel();
    disconnect(currentLink_);
    model_ = nullptr;
    if (dataSet) {
        model_ = new DataGridModel(*dataSet, this);
        model_->setColumns(columns_);
        model_->setReadOnly(readOnly_);
        model_->setRowColor(rowColor_);
        setModel(model_);
        connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
            if (currentIndex().isValid())
                keptColumn_ = currentIndex().column();
            resetting_ = true;
        });
        // The view resets itself first (closing an open cell editor, which may hand the focus
        // back to the grid); then the grid returns to the dataset's row in the kept column.
        connect(model_, &QAbstractItemModel::modelReset, this, guardSlot(this, [this] {
            resetting_ = false;
            pressedBeforeReset_ = pressedCell_;
            applyColumns();
            followDataSet();
        }));
        connect(model_, &QAbstractItemModel::dataChanged, this, guardSlot(this, [this] { fitColumns(false); }));
        currentLink_ = connect(dataSet, &lb::db::DataSet::currentChanged, this, guardSlot(this, [this] { followDataSet(); }));
        applyColumns();
        followDataSet();
    } else {
        setModel(nullptr);
    }
    // setModel leaves the old selection model to its caller.
    delete oldSelection;
    delete old;
}

lb::db::DataSet* DataGrid::dataSet() const { return model_ ? model_->dataSet() : nullptr; }

void DataGrid::setColumns(std::vector<GridColumn> columns)
{
    columns_ = std::move(columns);
    if (model_)
        model_->setColumns(columns_);
}

void DataGrid::setColumnVisible(int column, bool visible)
{
    if (column >= 0 && column < int(columns_.size())) {
        columns_[size_t(column)].visible = visible;
        if (model_)
            model_->setColumns(columns_);
    } else {
        setColumnHidden(column, !visible);
    }
}

void DataGrid::setColumnTitle(int column, const QString& title)
{
    if (column >= 0 && column < int(columns_.size()))
        columns_[size_t(column)].title = title;
    if (model_)
        model_->setColumnTitle(column, title);
}

void DataGrid::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (model_)
        model_->setReadOnly(readOnly);
}

void DataGrid::setRowColor(DataGridModel::RowColor rowColor)
{
    rowColor_ = std::move(rowColor);
    if (model_)
        model_->setRowColor(rowColor_);
}

void DataGrid::applyColumns()
{
    if (!model_)
        return;
    for (int column = 0; column < model_->columnCount(); ++column)
        setColumnHidden(column, !model_->columnAt(column).visible);
    fitColumns(true);
}

void DataGrid::fitColumns(bool fresh)
{
    if (!model_)
        return;
    // The rows on screen; a grid not laid out yet measures the rows it will first show.
    const int rows = model_->rowCount();
    const int first = std::max(0, rowAt(0));
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    const int onScreen = std::max(viewport()->height() / rowHeight + 1, 64);
    const int last = std::min(rows - 1, first + onScreen);
    for (int column = 0; column < model_->columnCount(); ++column) {
        if (isColumnHidden(column))
            continue;
        const GridColumn c = model_->columnAt(column);
        const lb::db::Field* field = model_->fieldAt(column);
        const bool number = field && (field->dataType() == lb::db::FieldType::Float
                                      || field->dataType() == lb::db::FieldType::Integer);
        int values = 0;
        if (number || c.width <= 0) {
            for (int row = first; row <= last; ++row)
                values = std::max(values, sizeHintForIndex(model_->index(row, column)).width());
            // The grid line takes a pixel of the section: without it the value is elided.
            if (values > 0 && showGrid())
                ++values;
        }
        int width = c.width;
        if (c.width <= 0) {
            const int fitted = number ? values : std::min(values, maxFittedTextWidth);
            width = std::max(horizontalHeader()->sectionSizeHint(column), fitted);
        } else if (number) {
            width = std::max(width, values);
        }
        if (fresh || width > columnWidth(column))
            setColumnWidth(column, width);
    }
}

int DataGrid::visibleColumnAtEdge(bool last) const
{
    const int count = model_ ? model_->columnCount() : 0;
    for (int i = 0; i < count; ++i) {
        const int column = last ? count - 1 - i : i;
        if (!isColumnHidden(column))
            return column;
    }
    return -1;
}

void DataGrid::followDataSet()
{
    lb::db::DataSet* data = dataSet();
    if (!data || following_)
        return;
    following_ = true;
    const int row = data->active() ? data->recNo() - 1 : -1;
    int column = keptColumn_ >= 0 ? keptColumn_ : currentIndex().column();
    if (column < 0 || column >= model_->columnCount() || isColumnHidden(column))
        column = visibleColumnAtEdge(false);
    const QModelIndex target = row >= 0 ? model_->index(row, column) : QModelIndex();
    if (target != currentIndex())
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    if (target.isValid())
        scrollTo(target);
    following_ = false;
}

void DataGrid::moveDataSet(const std::function<void()>& move)
{
    try {
        move();
    } catch (const lb::Abort&) {
        followDataSet();
    } catch (const std::exception& error) {
        followDataSet();
        LbApplication::reportError(window(), error);
    }
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    // While the rows are replaced the view may pick a first cell of its own (an editor it
    // closes gives the grid the focus); that is no move of the user's, and the grid follows
    // the dataset once the reset is done.
    if (resetting_)
        return;
    if (current.isValid())
        keptColumn_ = current.column();
    if (!following_ && previous.isValid() && current.isValid() && previous.column() != current.column()) {
        const int left = previous.column();
        QMetaObject::invokeMethod(this, guardSlot(this, [this, left] { emit columnExited(left); }), Qt::QueuedConnection);
    }
    lb::db::DataSet* data = dataSet();
    if (following_ || !data || !current.isValid() || !data->active())
        return;
    if (current.row() + 1 != data->recNo())
        moveDataSet([&] { data->setRecNo(current.row() + 1); });
}

int DataGrid::selectedIndex() const { return currentIndex().isValid() ? currentIndex().column() : -1; }

void DataGrid::setSelectedIndex(int column)
{
    if (!model_ || column < 0 || column >= model_->columnCount())
        return;
    const int row = currentIndex().isValid() ? currentIndex().row() : (dataSet() ? dataSet()->recNo() - 1 : -1);
    if (row >= 0)
        setCurrentIndex(model_->index(row, column));
}

bool DataGrid::takeTyping()
{
    if (!model_ || readOnly_)
        return true;
    QWidget* editor = window()->focusWidget();
    if (state() == QAbstractItemView::EditingState && editor && editor != this && isAncestorOf(editor)) {
        const int failed = model_->failedWrites();
        std::exception_ptr notStored;
        {
            const DataGridModel::KeptStoreFailure keep(*model_, notStored);
            commitData(editor);
        }
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        setFocus();
        if (notStored)
            std::rethrow_exception(notStored);
        if (model_->failedWrites() != failed)
            return false;
    }
    // A row still holding what could not be stored before.
    lb::db::DataSet* data = dataSet();
    if (data && data->active() && data->state() != lb::db::DataSetState::Browse)
        data->post();
    return true;
}

lb::db::Field* DataGrid::selectedField() const
{
    return model_ && selectedIndex() >= 0 ? model_->fieldAt(selectedIndex()) : nullptr;
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    if (keyHook_ && keyHook_(event)) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Insert:
        event->accept();
        return;
    case Qt::Key_Down:
        if (!model_ || currentIndex().row() >= model_->rowCount() - 1) {
            event->accept();
            return;
        }
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const bool forward = event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier);
        if ((event->modifiers() & Qt::ControlModifier) || tabLeaves(forward)) {
            event->accept();
            leave(forward);
            return;
        }
        break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter in an open cell editor reaches here too; closeEditor() reports that one,
        // after the delegate has committed the text.
        event->accept();
        if (state() != QAbstractItemView::EditingState)
            emit enterPressed();
        return;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

bool DataGrid::tabLeaves(bool forward) const
{
    // A grid nothing can be typed into (a list, a summary) has no cell to walk to: Tab passes
    // on at once, so that going back to the window's buttons keeps the row chosen with the
    // arrows.
    const QModelIndex current = currentIndex();
    if (readOnly_ || !model_ || !current.isValid())
        return true;
    return current.row() == (forward ? model_->rowCount() - 1 : 0) && current.column() == visibleColumnAtEdge(forward);
}

void DataGrid::leave(bool forward)
{
    QWidget::focusNextPrevChild(forward); // the widget's own, past the view's moving from cell to cell
}

void DataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab out of the last cell (Shift+Tab out of the first) leaves the grid instead of
    // starting over at its other end.
    const bool tab = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    const bool forward = hint == QAbstractItemDelegate::EditNextItem;
    if (tab && tabLeaves(forward)) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        leave(forward);
        return;
    }
    QTableView::closeEditor(editor, hint);
    // The item delegate ends an edit with this hint when Enter is pressed in the editor.
    if (hint == QAbstractItemDelegate::SubmitModelCache)
        emit enterPressed();
}

void DataGrid::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    pressedCell_ = {index.row(), index.column()};
    pressedBeforeReset_ = {-1, -1};
    QTableView::mousePressEvent(event);
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The view forgets the first click of a double-click when the rows are replaced before the
    // second one (leaving a column may recalculate them): the double-click still counts when
    // both clicks hit the same cell.
    const QPersistentModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid() || pressedBeforeReset_ != std::pair{index.row(), index.column()}) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    pressedBeforeReset_ = {-1, -1};
    emit doubleClicked(index);
    if (index.isValid())
        edit(index, QAbstractItemView::DoubleClicked, event);
}

void DataGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    fitColumns(false); // more rows may have come on screen
}

void DataGrid::wheelEvent(QWheelEvent* event)
{
    lb::db::DataSet* data = dataSet();
    const QPoint delta = event->angleDelta();
    if (!data || !data->active() || (delta.y() == 0 && delta.x() != 0)) {
        QTableView::wheelEvent(event);
        return;
    }
    event->accept();
    // Touchpads send events that turn nothing (the start and end of a scroll); they move nothing.
    if (delta.y() != 0)
        moveDataSet([&] { delta.y() > 0 ? data->prior() : data->next(); });
}

} // namespace lb::ui
