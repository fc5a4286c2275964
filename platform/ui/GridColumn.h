// One column of a data grid: the field it shows and how.
#pragma once

#include <QColor>
#include <QString>

namespace lb::ui {

struct GridColumn {
    GridColumn() = default;
    GridColumn(QString fieldName, QString title = QString(), int width = 0, bool visible = true,
               bool readOnly = false, QColor color = QColor())
        : fieldName(std::move(fieldName)), title(std::move(title)), width(width), visible(visible),
          readOnly(readOnly), color(color) {}

    QString fieldName;
    QString title;          // empty: the field's display label
    int width = 0;          // pixels; 0: the grid's default
    bool visible = true;    // a hidden column keeps its index
    bool readOnly = false;
    QColor color;           // title and text colour; invalid: the default
};

} // namespace lb::ui
