// A table model over the rows of a dataset, with configured columns.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/ui/GridColumn.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <exception>
#include <functional>
#include <vector>

namespace lb::ui {

// Rows are the dataset's rows, cells the display texts of their fields (display formats
// applied); Boolean fields show a check box. A committed cell edit moves the dataset to the
// row, puts it in edit state (unless it already is), passes the text to Field::setText (so
// OnSetText handlers apply) and posts. A text the field refuses leaves the row as it was; a row
// that cannot be stored (a full disk) keeps the text in its edit, on screen, for the next post
// (a move, a command) to store, while a click on a check box that cannot be stored is taken
// back, so that the box shows what is stored. Either is reported to the error handler, under
// the name of the grid's window. The dataset is not owned and may die first.
class DataGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataGridModel(lb::db::DataSet& dataSet, QObject* parent = nullptr);

    lb::db::DataSet* dataSet() const { return dataSet_; }

    // Columns in order; an empty list shows every visible field of the dataset.
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const { return columns_; }
    // The column of model index `column` (configured or derived from the fields).
    GridColumn columnAt(int column) const;
    int columnOf(const QString& fieldName) const; // -1 when no column shows the field
    void setColumnTitle(int column, const QString& title);
    // The field a column shows, nullptr when the dataset lacks it.
    lb::db::Field* fieldAt(int column) const;

    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool readOnly() const { return readOnly_; }
    // Text colour of a whole row (0-based); an invalid colour leaves the column's colour.
    using RowColor = std::function<QColor(int row)>;
    void setRowColor(RowColor rowColor);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    // Cell edits refused or not stored so far: who commits an edit learns from it whether the
    // edit was taken.
    int failedWrites() const { return failedWrites_; }

    // While one lives, a row that cannot be stored is not reported but kept in `failure`, for
    // whoever commits the edit to say with its own words.
    class KeptStoreFailure {
    public:
        KeptStoreFailure(DataGridModel& model, std::exception_ptr& failure);
        ~KeptStoreFailure();
        KeptStoreFailure(const KeptStoreFailure&) = delete;
        KeptStoreFailure& operator=(const KeptStoreFailure&) = delete;

    private:
        DataGridModel& model_;
    };

private:
    QVariant cellData(const QModelIndex& index, int role) const;
    bool cellEditable(int column) const;
    // Puts the row in edit (unless it is) and the value into the field; true when this edit
    // started the row's. A value the field refuses takes back the edit it started and throws.
    bool enterValue(int row, lb::db::Field& field, const std::function<void(lb::db::Field&)>& write);
    // A post that failed (`error` null for an lb::Abort, whose message was shown), from inside
    // its handler: counted, the row's edit taken back with `takeBack`, the error kept or reported.
    void notStored(bool takeBack, const std::exception* error);
    void report(const std::exception& error);
    void rowsReplaced();

    QPointer<lb::db::DataSet> dataSet_;
    std::vector<GridColumn> columns_;
    bool readOnly_ = false;
    RowColor rowColor_;
    int failedWrites_ = 0;
    std::exception_ptr* keptStoreFailure_ = nullptr;
};

} // namespace lb::ui
