// What the product export writes: the column choices, the product query and the workbook.
#include "core/ProductExport.h"

#include "core/Tfrdm.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/office/Workbook.h"

#include <cmath>

namespace lb::core {

namespace {

const ExportColumn* columnNamed(const QString& name)
{
    for (const ExportColumn& column : ProductExport::columns())
        if (name.compare(QLatin1String(column.name), Qt::CaseInsensitive) == 0)
            return &column;
    return nullptr;
}

void runStatement(lb::db::Query& command, const QString& sql)
{
    command.close();
    command.sql().clear();
    command.sql().add(sql);
    command.execSQL();
    command.close();
}

} // namespace

const std::vector<ExportColumn>& ProductExport::columns()
{
    static const std::vector<ExportColumn> list{
        {"name", "货品类别", "货品类型", 0},   {"sphh", "货品代码", "货品代码", 0}, {"spmc", "货品名称", "货品名称", 16},
        {"barcode", "条形码", "条形码", 0},    {"spgg", "规格型号", "规格型号", 0}, {"spbs", "单位", "单位", 4},
        {"sl_j", "数量/件", "数量/件", 0},     {"sl", "库存数量", "库存数量", 0},   {"dj_w", "进货价", "进货价", 0},
        {"dj_n", "批发价", "批发价", 0},       {"spmz", "超市价", "超市价", 0},     {"spzz", "零售价", "零售价", 0},
        {"bz", "备注", "备注", 0},
    };
    return list;
}

void ProductExport::rebuildChoices(Tfrdm& dm)
{
    lb::db::Query& products = *dm.AQproductxls;
    products.close();
    products.sql().clear();
    products.sql().add(QStringLiteral("SELECT name,sphh,spmc,barcode,spgg,spbs,sl_j,sl,dj_w,dj_n,spmz,spzz,bz from product"));
    products.sql().add(QStringLiteral("WHERE szbj=true"));
    products.sql().add(QStringLiteral("ORDER BY name"));
    products.open();

    lb::db::Query& choices = *dm.AQexport;
    lb::db::Transaction transaction(dm.ADOCon);
    choices.close();
    runStatement(*dm.AQcom, QStringLiteral("delete from export"));
    // The counter starts again at 1.
    runStatement(*dm.AQcom, QStringLiteral("delete from sqlite_sequence where name='export'"));
    choices.open();
    for (int i = 0; i < products.fieldCount(); ++i) {
        const QString name = products.field(i).fieldName();
        const ExportColumn* column = columnNamed(name);
        choices.append();
        choices.fieldByName(QStringLiteral("fieldnameen")).setAsString(name);
        choices.fieldByName(QStringLiteral("fieldnamecn")).setAsString(column ? QString::fromUtf8(column->caption) : name);
        choices.post();
    }
    transaction.commit();
    choices.refresh();
    choices.first();
}

QString ProductExport::selectText(lb::db::DataSet& choices)
{
    QString sql = QStringLiteral("SELECT name");
    for (int row = 0; row < choices.recordCount(); ++row) {
        const QVariant chosen = choices.rowValue(row, choices.fieldByName(QStringLiteral("szbj")).column());
        const QString name = choices.rowValue(row, choices.fieldByName(QStringLiteral("fieldnameen")).column()).toString().trimmed();
        // Only the thirteen product columns can reach the statement.
        if (chosen.toBool() && name != QLatin1String("name") && columnNamed(name))
            sql += QLatin1Char(',') + QString::fromLatin1(columnNamed(name)->name);
    }
    return sql + QStringLiteral(" from product WHERE szbj=true ORDER BY name");
}

void ProductExport::toggleChoice(lb::db::DataSet& choices)
{
    if (!choices.active() || choices.isEmpty())
        return;
    choices.edit();
    lb::db::Field& chosen = choices.fieldByName(QStringLiteral("szbj"));
    chosen.setAsBoolean(!chosen.asBoolean());
    choices.post();
}

QString ProductExport::workbookPath(const QString& chosen)
{
    QString path = chosen.trimmed();
    if (!path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
    return path;
}

void ProductExport::writeWorkbook(lb::db::DataSet& products, const QString& path)
{
    lb::office::Workbook book(path);
    for (int c = 0; c < products.fieldCount(); ++c) {
        const lb::db::Field& field = products.field(c);
        const ExportColumn* column = columnNamed(field.fieldName());
        book.writeText(0, c, column ? QString::fromUtf8(column->header) : field.fieldName());
        if (column && column->width > 0)
            book.setColumnWidth(c, column->width);
    }
    int row = 1;
    for (products.first(); !products.eof(); products.next(), ++row) {
        for (int c = 0; c < products.fieldCount(); ++c) {
            const lb::db::Field& field = products.field(c);
            const QVariant value = field.value();
            if (!value.isValid())
                continue;
            // What is stored decides, not the column's type: a price column holding a text
            // another program wrote still exports, as text.
            const bool number = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong
                                || value.typeId() == QMetaType::Int;
            if (number && std::isfinite(value.toDouble()))
                book.writeNumber(row, c, value.toDouble());
            else
                book.writeText(row, c, field.asString());
        }
    }
    book.setRowHeight(0, 28);
    book.printGridLines();
    book.save();
}

} // namespace lb::core
