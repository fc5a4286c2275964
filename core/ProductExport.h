// What the product export writes: the column choices, the product query and the workbook.
#pragma once

#include <QString>
#include <vector>

namespace lb::db {
class DataSet;
class Query;
}

namespace lb::core {

class Tfrdm;

// One exportable product column.
struct ExportColumn {
    const char* name;     // product column
    const char* caption;  // shown in the chooser (export.fieldnamecn)
    const char* header;   // written in the workbook's first row
    double width;         // workbook column width in characters; 0: the sheet's default
};

class ProductExport {
public:
    // The thirteen columns in their order, the category `name` first.
    static const std::vector<ExportColumn>& columns();

    // Points AQproductxls at the marked products (all thirteen columns, by category) and
    // rebuilds the work table export: its rows deleted and its counter restarted at 1, then one
    // row per column of AQproductxls with its name and caption, unchosen. One transaction.
    static void rebuildChoices(Tfrdm& dm);

    // The query of the chosen columns: "SELECT name" followed by every chosen column of
    // `choices` (AQexport) but name, " from product WHERE szbj=true ORDER BY name". The
    // category is always the first column, chosen or not.
    static QString selectText(lb::db::DataSet& choices);

    // Flips the choice of the current row of `choices`; nothing on an empty set.
    static void toggleChoice(lb::db::DataSet& choices);

    // The workbook's file name for what the user typed in the save box: trimmed, with
    // ".xlsx" appended unless it ends so (any letter case).
    static QString workbookPath(const QString& chosen);

    // Writes the rows of `products` (open, any of the thirteen columns) into a new workbook at
    // `path`: the headers in row 1 (28 points high), one product per row from row 2; texts as
    // text cells, numbers as number cells, nulls as empty cells; the name and unit columns
    // widened; grid lines printed. lb::Error when the workbook cannot be filled or saved (the
    // file at `path` is then as it was).
    static void writeWorkbook(lb::db::DataSet& products, const QString& path);
};

} // namespace lb::core
