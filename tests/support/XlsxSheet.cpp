// Reads back the first sheet of an .xlsx file, so that tests check what a workbook holds.
#include "XlsxSheet.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cstring>
#include <stdexcept>
#include <vector>
#include <zlib.h>

namespace {

quint32 le32(const QByteArray& data, qsizetype at)
{
    if (at < 0 || at + 4 > data.size())
        throw std::runtime_error("workbook: truncated zip");
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 le16(const QByteArray& data, qsizetype at)
{
    if (at < 0 || at + 2 > data.size())
        throw std::runtime_error("workbook: truncated zip");
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData() + at);
    return quint16(p[0] | p[1] << 8);
}

// The members of a zip archive by name, inflated.
std::map<QString, QByteArray> unzip(const QByteArray& zip)
{
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0)
        throw std::runtime_error("workbook: not a zip file");
    const int count = le16(zip, end + 10);
    qsizetype at = le32(zip, end + 16);
    std::map<QString, QByteArray> members;
    for (int i = 0; i < count; ++i) {
        if (le32(zip, at) != 0x02014b50)
            throw std::runtime_error("workbook: bad central directory");
        const int method = le16(zip, at + 10);
        const quint32 packed = le32(zip, at + 20);
        const quint32 size = le32(zip, at + 24);
        const int nameLength = le16(zip, at + 28);
        const int extra = le16(zip, at + 30);
        const int comment = le16(zip, at + 32);
        const quint32 local = le32(zip, at + 42);
        const QString name = QString::fromUtf8(zip.mid(at + 46, nameLength));
        const qsizetype data = local + 30 + le16(zip, local + 26) + le16(zip, local + 28);
        QByteArray out(qsizetype(size), '\0');
        if (method == 0) {
            out = zip.mid(data, packed);
        } else {
            z_stream stream{};
            if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
                throw std::runtime_error("workbook: inflate");
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.constData() + data));
            stream.avail_in = packed;
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = size;
            const int rc = inflate(&stream, Z_FINISH);
            inflateEnd(&stream);
            if (rc != Z_STREAM_END)
                throw std::runtime_error("workbook: damaged member");
        }
        members[name] = out;
        at += 46 + nameLength + extra + comment;
    }
    return members;
}

std::vector<QString> sharedStrings(const QByteArray& xml)
{
    std::vector<QString> strings;
    QXmlStreamReader reader(xml);
    QString current;
    bool inItem = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("si")) {
            inItem = true;
            current.clear();
        } else if (reader.isStartElement() && reader.name() == QLatin1String("t") && inItem) {
            current += reader.readElementText();
        } else if (reader.isEndElement() && reader.name() == QLatin1String("si")) {
            strings.push_back(current);
            inItem = false;
        }
    }
    return strings;
}


} // namespace

QString XlsxSheet::reference(int row, int column)
{
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row);
}

XlsxSheet XlsxSheet::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("workbook: cannot open " + path.toStdString());
    const std::map<QString, QByteArray> members = unzip(file.readAll());
    const auto sheetXml = members.find(QStringLiteral("xl/worksheets/sheet1.xml"));
    if (sheetXml == members.end())
        throw std::runtime_error("workbook: no first sheet");
    std::vector<QString> strings;
    if (const auto shared = members.find(QStringLiteral("xl/sharedStrings.xml")); shared != members.end())
        strings = sharedStrings(shared->second);

    XlsxSheet sheet;
    QXmlStreamReader reader(sheetXml->second);
    QString cellRef;
    XlsxCell cell;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const auto attributes = reader.attributes();
            const auto name = reader.name();
            if (name == QLatin1String("col")) {
                const int first = attributes.value(QLatin1String("min")).toInt();
                const int last = attributes.value(QLatin1String("max")).toInt();
                for (int c = first; c <= last; ++c)
                    sheet.columnWidths[c] = attributes.value(QLatin1String("width")).toDouble();
            } else if (name == QLatin1String("row") && attributes.hasAttribute(QLatin1String("ht"))) {
                sheet.rowHeights[attributes.value(QLatin1String("r")).toInt()] = attributes.value(QLatin1String("ht")).toDouble();
            } else if (name == QLatin1String("printOptions")) {
                sheet.printGridLines = attributes.value(QLatin1String("gridLines")) == QLatin1String("1");
            } else if (name == QLatin1String("c")) {
                cellRef = attributes.value(QLatin1String("r")).toString();
                cell = XlsxCell{};
                cell.type = attributes.hasAttribute(QLatin1String("t")) ? attributes.value(QLatin1String("t")).toString()
                                                                         : QStringLiteral("n");
            } else if (name == QLatin1String("f")) {
                cell.formula = true;
            } else if (name == QLatin1String("v")) {
                const QString value = reader.readElementText();
                if (cell.type == QLatin1String("s")) {
                    const size_t index = size_t(value.toInt());
                    cell.text = index < strings.size() ? strings[index] : QString();
                } else {
                    cell.text = value;
                }
            } else if (name == QLatin1String("t") && cell.type == QLatin1String("inlineStr")) {
                cell.text += reader.readElementText();
            }
        } else if (reader.isEndElement() && reader.name() == QLatin1String("c")) {
            sheet.cells[cellRef] = cell;
        }
    }
    if (reader.hasError())
        throw std::runtime_error("workbook: bad sheet xml");
    return sheet;
}

int XlsxSheet::lastRow() const
{
    int last = 0;
    for (const auto& [ref, cell] : cells) {
        const int row = ref.mid(ref.indexOf(QRegularExpression(QStringLiteral("[0-9]")))).toInt();
        last = std::max(last, row);
    }
    return last;
}

QStringList XlsxSheet::row(int row, int columns) const
{
    QStringList texts;
    for (int c = 1; c <= columns; ++c) {
        const auto found = cells.find(reference(row, c));
        texts << (found == cells.end() ? QString() : found->second.text);
    }
    return texts;
}

QStringList XlsxSheet::types(int row, int columns) const
{
    QStringList result;
    for (int c = 1; c <= columns; ++c) {
        const auto found = cells.find(reference(row, c));
        result << (found == cells.end() ? QString() : found->second.type);
    }
    return result;
}
