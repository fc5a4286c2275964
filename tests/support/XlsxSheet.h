// Reads back the first sheet of an .xlsx file, so that tests check what a workbook holds.
#pragma once

#include <QString>
#include <QStringList>
#include <map>

// One cell as the file stores it.
struct XlsxCell {
    QString type;        // "s" shared text, "inlineStr" or "str" text, "n" number, "b" Boolean
    QString text;        // the text, or the number as written
    bool formula = false; // the cell holds a formula
};

// The first worksheet (xl/worksheets/sheet1.xml) with its shared texts resolved. Throws
// std::runtime_error for a file that is not a readable workbook.
struct XlsxSheet {
    static XlsxSheet read(const QString& path);

    std::map<QString, XlsxCell> cells;   // by reference, "A1"
    std::map<int, double> columnWidths;  // 1-based column
    std::map<int, double> rowHeights;    // 1-based row
    bool printGridLines = false;

    // The highest row holding a cell (0 when none).
    int lastRow() const;
    // The texts of one row from column A up to `columns` ("" for an empty cell).
    QStringList row(int row, int columns) const;
    // The types of the same cells ("" for an empty cell).
    QStringList types(int row, int columns) const;
    static QString reference(int row, int column); // 1-based: (1, 1) is "A1"
};
