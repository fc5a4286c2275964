// A table model over the rows of a dataset, with configured columns.
#include "platform/ui/DataGridModel.h"

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/sys/Errors.h"
#include "platform/sys/TextFormat.h"
#include "platform/ui/LbApplication.h"
#include "platform/ui/GuardSlot.h"

#include <QWidget>

namespace lb::ui {

using lb::db::DataSet;
using lb::db::DataSetState;
using lb::db::Field;
using lb::db::FieldType;

DataGridModel::DataGridModel(DataSet& dataSet, QObject* parent) : QAbstractTableModel(parent), dataSet_(&dataSet)
{
    connect(&dataSet, &DataSet::reset, this, lb::ui::guardSlot(this, &DataGridModel::rowsReplaced));
    connect(&dataSet, &DataSet::rowInserted, this, lb::ui::guardSlot(this, &DataGridModel::rowsReplaced));
    connect(&dataSet, &DataSet::rowRemoved, this, lb::ui::guardSlot(this, &DataGridModel::rowsReplaced));
    connect(&dataSet, &DataSet::rowChanged, this, guardSlot(this, [this](int row) {
        if (row >= 0 && row < rowCount())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }));
    connect(&dataSet, &QObject::destroyed, this, lb::ui::guardSlot(this, &DataGridModel::rowsReplaced));
}

// The dataset has already replaced its rows when it tells: a reset is the only honest signal.
void DataGridModel::rowsReplaced()
{
    beginResetModel();
    endResetModel();
}

void DataGridModel::setColumns(std::vector<GridColumn> columns)
{
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

GridColumn DataGridModel::columnAt(int column) const
{
    if (!columns_.empty())
        return column >= 0 && column < int(columns_.size()) ? columns_[size_t(column)] : GridColumn();
    GridColumn derived;
    if (dataSet_ && column >= 0 && column < dataSet_->fieldCount()) {
        const Field& field = dataSet_->field(column);
        derived.fieldName = field.fieldName();
        derived.visible = field.visible();
    }
    return derived;
}

int DataGridModel::columnOf(const QString& fieldName) const
{
    for (int column = 0; column < columnCount(); ++column)
        if (columnAt(column).fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return column;
    return -1;
}

void DataGridModel::setColumnTitle(int column, const QString& title)
{
    if (column < 0 || column >= int(columns_.size()))
        return;
    columns_[size_t(column)].title = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

Field* DataGridModel::fieldAt(int column) const
{
    if (!dataSet_ || !dataSet_->active())
        return nullptr;
    if (columns_.empty())
        return column >= 0 && column < dataSet_->fieldCount() ? &dataSet_->field(column) : nullptr;
    const GridColumn c = columnAt(column);
    return c.fieldName.isEmpty() ? nullptr : dataSet_->findField(c.fieldName);
}

void DataGridModel::setRowColor(RowColor rowColor)
{
    rowColor_ = std::move(rowColor);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::ForegroundRole});
}

int DataGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !dataSet_ || !dataSet_->active())
        return 0;
    return dataSet_->recordCount();
}

int DataGridModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    if (!columns_.empty())
        return int(columns_.size());
    return dataSet_ && dataSet_->active() ? dataSet_->fieldCount() : 0;
}

namespace {

// The text an edit starts with: a number without its display format, anything else as shown.
// Numbers are edited without their display format.
QString editText(const Field& field, int row)
{
    const FieldType type = field.dataType();
    return type == FieldType::Float || type == FieldType::Integer ? field.textAt(row) : field.displayTextAt(row);
}

} // namespace

QVariant DataGridModel::data(const QModelIndex& index, int role) const
{
    // Painting runs inside Qt's own code, where an exception cannot go: field reads do not
    // raise, and whatever a row colour or a dataset still throws leaves the cell blank.
    try {
        return cellData(index, role);
    } catch (const std::exception&) {
        return QVariant();
    }
}

QVariant DataGridModel::cellData(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const Field* field = fieldAt(index.column());
    if (!field)
        return QVariant();
    const bool boolean = field->dataType() == FieldType::Boolean;
    switch (role) {
    case Qt::DisplayRole:
        return boolean ? QVariant() : QVariant(field->displayTextAt(index.row()));
    case Qt::EditRole:
        return editText(*field, index.row());
    case Qt::CheckStateRole:
        if (!boolean)
            return QVariant();
        return field->booleanAt(index.row()) ? Qt::Checked : Qt::Unchecked;
    case Qt::ForegroundRole: {
        const QColor rowColor = rowColor_ ? rowColor_(index.row()) : QColor();
        const QColor color = rowColor.isValid() ? rowColor : columnAt(index.column()).color;
        return color.isValid() ? QVariant(color) : QVariant();
    }
    case Qt::TextAlignmentRole:
        if (field->dataType() == FieldType::Float || field->dataType() == FieldType::Integer)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn column = columnAt(section);
    if (role == Qt::DisplayRole) {
        if (!column.title.isEmpty())
            return column.title;
        // Persistent fields keep their labels while the dataset is closed, and so do the titles.
        const Field* field = dataSet_ ? dataSet_->findField(column.fieldName) : nullptr;
        return field ? field->displayLabel() : column.fieldName;
    }
    if (role == Qt::ForegroundRole && column.color.isValid())
        return column.color;
    return QVariant();
}

bool DataGridModel::cellEditable(int column) const
{
    const Field* field = fieldAt(column);
    return field && !readOnly_ && !columnAt(column).readOnly && !dataSet_->readOnly();
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (cellEditable(index.column())) {
        const bool boolean = fieldAt(index.column())->dataType() == FieldType::Boolean;
        flags |= boolean ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    }
    return flags;
}

bool DataGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !cellEditable(index.column()) || (role != Qt::EditRole && role != Qt::CheckStateRole))
        return false;
    const bool click = role == Qt::CheckStateRole;
    DataSet& dataSet = *dataSet_;
    bool started = false;
    try {
        started = enterValue(index.row(), *fieldAt(index.column()), [&](Field& field) {
            if (click)
                field.setAsBoolean(value.toInt() == Qt::Checked);
            else
                field.setText(value.toString());
        });
    } catch (const lb::Abort&) {
        ++failedWrites_;
        return false;
    } catch (const std::exception& error) {
        // A refused value (not a number, a failed check) is reported like any error of a
        // command; the grid stays usable.
        ++failedWrites_;
        report(error);
        return false;
    }
    try {
        dataSet.post();
        return true;
    } catch (const lb::Abort&) {
        notStored(click && started, nullptr);
    } catch (const std::exception& error) {
        notStored(click && started, &error);
    }
    return false;
}

void DataGridModel::notStored(bool takeBack, const std::exception* error)
{
    ++failedWrites_;
    // What is shown is what is stored: a click the books cannot take now shows the mark as it
    // was, and the clerk clicks again; typing stays in the row's edit, on screen, for the next
    // post (a move, a command) to store, or for the clerk to take back.
    if (takeBack && dataSet_->state() != DataSetState::Browse)
        dataSet_->cancel();
    if (keptStoreFailure_)
        *keptStoreFailure_ = std::current_exception();
    else if (error)
        report(*error);
}

bool DataGridModel::enterValue(int row, Field& field, const std::function<void(Field&)>& write)
{
    DataSet& dataSet = *dataSet_;
    const QString name = field.fieldName();
    if (dataSet.recNo() != row + 1)
        dataSet.setRecNo(row + 1);
    const bool started = dataSet.state() == DataSetState::Browse;
    if (started)
        dataSet.edit();
    try {
        write(dataSet.fieldByName(name));
    } catch (...) {
        if (started && dataSet.state() == DataSetState::Edit)
            dataSet.cancel();
        throw;
    }
    return started;
}

void DataGridModel::report(const std::exception& error)
{
    // Under the window's name, as every other failure of the window is logged.
    auto* grid = qobject_cast<QWidget*>(parent());
    LbApplication::reportError(grid ? static_cast<QObject*>(grid->window()) : this, error);
}

DataGridModel::KeptStoreFailure::KeptStoreFailure(DataGridModel& model, std::exception_ptr& failure) : model_(model)
{
    model_.keptStoreFailure_ = &failure;
}

DataGridModel::KeptStoreFailure::~KeptStoreFailure() { model_.keptStoreFailure_ = nullptr; }

} // namespace lb::ui
