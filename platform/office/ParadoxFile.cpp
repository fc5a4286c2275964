// Reading and writing Paradox tables (.db).
#include "platform/office/ParadoxFile.h"

#include "platform/office/FileBytes_p.h"
#include "platform/office/TemporaryBeside_p.h"
#include "platform/sys/Errors.h"
#include "platform/sys/Gbk.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

// The library's header declares its functions without C linkage.
extern "C" {
#include <paradox.h>
}

namespace lb::office {

namespace {

// Paradox counts days from 1 January of year 1; the library converts serial day numbers.
constexpr long serialDayOffset = 1721425;
// The code page of GBK text, as the DOS code page field of a header names it.
constexpr int gbkCodePage = 936;

void collectError(pxdoc_t*, int, const char* message, void* data)
{
    auto* errors = static_cast<QString*>(data);
    if (!errors->isEmpty())
        errors->append(QLatin1String("; "));
    errors->append(QString::fromLocal8Bit(message));
}

// One library document with its error text; closed and freed on every path.
class Document {
public:
    Document() : doc_(PX_new3(collectError, nullptr, nullptr, nullptr, &errors_))
    {
        if (!doc_)
            throw lb::Error(QStringLiteral("Out of memory for a Paradox table"));
    }
    ~Document()
    {
        if (open_)
            PX_close(doc_);
        PX_delete(doc_);
    }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    pxdoc_t* get() const { return doc_; }
    void opened() { open_ = true; }
    void close()
    {
        if (open_)
            PX_close(doc_);
        open_ = false;
    }
    QString errors() const { return errors_; }

private:
    QString errors_; // before doc_: the library reports into it until it is deleted
    pxdoc_t* doc_;
    bool open_ = false;
};

QString tableKind()
{
    return QStringLiteral("Paradox table");
}

ExternalFieldType typeOf(char pxType, const QString& name, const QString& path)
{
    switch (pxType) {
    case pxfAlpha: return ExternalFieldType::Text;
    case pxfNumber:
    case pxfCurrency: return ExternalFieldType::Number;
    case pxfShort:
    case pxfLong:
    case pxfAutoInc: return ExternalFieldType::Integer;
    case pxfLogical: return ExternalFieldType::Logical;
    case pxfDate: return ExternalFieldType::Date;
    default: break;
    }
    refuseDamaged(path, tableKind(), QStringLiteral("its field %1 is of a kind that cannot be read (%2)").arg(name).arg(int(pxType)));
}

// Whether a field of the kind may have that length: the library reads a number of a kind's
// own width whatever length the field claims.
bool lengthFits(char pxType, int length)
{
    switch (pxType) {
    case pxfAlpha: return length >= 1 && length <= 255;
    case pxfNumber:
    case pxfCurrency: return length == 8;
    case pxfShort: return length == 2;
    case pxfLong:
    case pxfAutoInc:
    case pxfDate: return length == 4;
    case pxfLogical: return length == 1;
    default: return length > 0; // refused by typeOf() when its fields are listed
    }
}

QVariant readValue(pxdoc_t* doc, char pxType, char* data, int length)
{
    // A null of every kind is stored as zero bytes (the library reads a null long as its minimum).
    if (std::all_of(data, data + length, [](char byte) { return byte == 0; }))
        return {};
    switch (pxType) {
    case pxfAlpha: {
        char* text = nullptr;
        if (PX_get_data_alpha(doc, data, length, &text) <= 0 || !text)
            return {};
        const QByteArray bytes(text);
        doc->free(doc, text);
        return lb::Gbk::fromGbk(bytes);
    }
    case pxfNumber:
    case pxfCurrency: {
        double value = 0;
        return PX_get_data_double(doc, data, length, &value) > 0 ? QVariant(value) : QVariant();
    }
    case pxfShort: {
        short value = 0;
        return PX_get_data_short(doc, data, length, &value) > 0 ? QVariant(qint64(value)) : QVariant();
    }
    case pxfLong:
    case pxfAutoInc: {
        long value = 0;
        return PX_get_data_long(doc, data, length, &value) > 0 ? QVariant(qint64(value)) : QVariant();
    }
    case pxfLogical: {
        char value = 0;
        return PX_get_data_byte(doc, data, length, &value) > 0 ? QVariant(value != 0) : QVariant();
    }
    case pxfDate: {
        long value = 0;
        if (PX_get_data_long(doc, data, length, &value) <= 0)
            return {};
        int year = 0, month = 0, day = 0;
        PX_SdnToGregorian(value + serialDayOffset, &year, &month, &day);
        const QDate date(year, month, day);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    default: return {};
    }
}

// The GBK bytes of `text`, cut to at most `length` bytes without splitting a character.
QByteArray gbkPrefix(const QString& text, int length)
{
    QByteArray bytes = lb::Gbk::toGbk(text);
    if (bytes.size() <= length)
        return bytes;
    int end = 0;
    while (end < bytes.size()) {
        const int step = quint8(bytes.at(end)) > 0x7F ? 2 : 1;
        if (end + step > length)
            break;
        end += step;
    }
    return bytes.left(end);
}

void writeValue(pxdoc_t* doc, const ExternalField& field, char* data, int length, const QVariant& value)
{
    if (!value.isValid())
        return; // the record buffer is zeroed: a null of every kind
    switch (field.type) {
    case ExternalFieldType::Text: {
        QByteArray bytes = gbkPrefix(value.toString(), length);
        PX_put_data_alpha(doc, data, length, bytes.data());
        break;
    }
    case ExternalFieldType::Number: PX_put_data_double(doc, data, length, value.toDouble()); break;
    case ExternalFieldType::Integer: {
        const qint64 number = value.toLongLong();
        if (number < std::numeric_limits<int>::min() + 1 || number > std::numeric_limits<int>::max())
            throw lb::RangeError(QStringLiteral("%1 does not fit the field %2").arg(number).arg(field.name));
        PX_put_data_long(doc, data, length, int(number));
        break;
    }
    case ExternalFieldType::Logical: PX_put_data_byte(doc, data, length, value.toBool() ? 1 : 0); break;
    case ExternalFieldType::Date: {
        const QDate date = value.toDate();
        if (date.isValid())
            PX_put_data_long(doc, data, length, int(PX_GregorianToSdn(date.year(), date.month(), date.day()) - serialDayOffset));
        break;
    }
    }
}

std::pair<char, int> pxTypeOf(const ExternalField& field)
{
    switch (field.type) {
    case ExternalFieldType::Text:
        if (field.length < 1 || field.length > 255)
            throw lb::RangeError(QStringLiteral("Text field %1 must hold 1 to 255 bytes").arg(field.name));
        return {pxfAlpha, field.length};
    case ExternalFieldType::Number: return {pxfNumber, 8};
    case ExternalFieldType::Integer: return {pxfLong, 4};
    case ExternalFieldType::Logical: return {pxfLogical, 1};
    case ExternalFieldType::Date: return {pxfDate, 4};
    }
    return {pxfAlpha, 1};
}

// What the header of a table says about its records, as checked against the file.
struct TableShape {
    int recordSize = 0;
    int fieldCount = 0;
    qint64 records = 0;
};

// Checks the header and the chain of data blocks of the table at `path` against the file
// itself, so that the library, which trusts them, is never handed a table that would make it
// read past its buffers or walk without end. A refusal (lb::FileOpenError) names the fault.
TableShape checkStructure(const QString& path)
{
    FileBytes file(path, tableKind());
    constexpr int fixedHeader = 0x58; // the part of the header every version has
    const QByteArray head = file.read(0, fixedHeader);
    TableShape shape;
    shape.recordSize = FileBytes::u16(head, 0x00);
    const int headerSize = FileBytes::u16(head, 0x02);
    const int fileType = quint8(head.at(0x04));
    const int blockKilobytes = quint8(head.at(0x05));
    shape.records = FileBytes::u32(head, 0x06);
    const int fileBlocks = FileBytes::u16(head, 0x0C);
    const int firstBlock = FileBytes::u16(head, 0x0E);
    shape.fieldCount = FileBytes::u16(head, 0x21);

    // Type 0 is a keyed table, 2 a table without key; the other types are index files.
    if (fileType != 0 && fileType != 2)
        file.refuse(QStringLiteral("it is no data table (file type %1)").arg(fileType));
    // The versions of the format run from 3 (3.0) to 12 (7.x); the library takes a header of
    // any other number for one it reads without knowing its layout.
    const int version = quint8(head.at(0x39));
    if (version < 3 || version > 12)
        file.refuse(QStringLiteral("its version number %1 is none of the format's").arg(version));
    // An encrypted table cannot be read without its password; the library would take its
    // scrambled block headers for a chain to walk. Headers of version 4 and later are longer
    // and, when their first mark says so, keep the encryption in a second one.
    constexpr int extendedHeader = 0x78;
    constexpr quint32 seeSecondMark = 0xFF00FF00;
    const bool extended = version >= 5;
    const quint32 firstMark = FileBytes::u32(head, 0x25);
    const bool encrypted = firstMark == seeSecondMark ? !extended || FileBytes::u32(file.read(0, extendedHeader), 0x5C) != 0
                                                       : firstMark != 0;
    if (encrypted)
        file.refuse(QStringLiteral("it is encrypted"));
    constexpr std::array<int, 7> blockSizes{1, 2, 3, 4, 8, 16, 32};
    if (std::find(blockSizes.begin(), blockSizes.end(), blockKilobytes) == blockSizes.end())
        file.refuse(QStringLiteral("its blocks are of %1 KB").arg(blockKilobytes));
    const int blockSize = blockKilobytes * 1024;
    constexpr int blockHeader = 6; // next block, previous block, bytes of records less one record
    if (shape.fieldCount < 1 || shape.fieldCount > 255)
        file.refuse(QStringLiteral("it has %1 fields").arg(shape.fieldCount));
    if (shape.recordSize < 1 || shape.recordSize > blockSize - blockHeader)
        file.refuse(QStringLiteral("records of %1 bytes do not fit blocks of %2 bytes").arg(shape.recordSize).arg(blockSize));
    if (headerSize < (extended ? extendedHeader : fixedHeader) + 2 * shape.fieldCount)
        file.refuse(QStringLiteral("a header of %1 bytes cannot describe %2 fields").arg(headerSize).arg(shape.fieldCount));
    if (headerSize + qint64(fileBlocks) * blockSize > file.size())
        file.refuse(QStringLiteral("a header of %1 bytes and %2 blocks of %3 bytes do not fit its %4 bytes")
                        .arg(headerSize).arg(fileBlocks).arg(blockSize).arg(file.size()));

    // The data blocks are chained from the first: each block of the file at most once.
    std::vector<bool> seen(size_t(fileBlocks) + 1, false);
    qint64 chained = 0;
    for (int block = firstBlock; block != 0;) {
        if (block > fileBlocks || seen[size_t(block)])
            file.refuse(QStringLiteral("its chain of data blocks leads to block %1 of %2 twice or past the end")
                            .arg(block).arg(fileBlocks));
        seen[size_t(block)] = true;
        const QByteArray blockHead = file.read(headerSize + qint64(block - 1) * blockSize, blockHeader);
        const int moreBytes = FileBytes::s16(blockHead, 4);
        const int inBlock = moreBytes == -shape.recordSize ? 0 : moreBytes / shape.recordSize + 1;
        if (moreBytes < -shape.recordSize || moreBytes % shape.recordSize != 0
            || inBlock * shape.recordSize > blockSize - blockHeader)
            file.refuse(QStringLiteral("block %1 claims %2 bytes of records").arg(block).arg(moreBytes + shape.recordSize));
        chained += inBlock;
        block = FileBytes::u16(blockHead, 0);
    }
    if (chained != shape.records)
        file.refuse(QStringLiteral("its header claims %1 records, its data blocks hold %2").arg(shape.records).arg(chained));
    return shape;
}

} // namespace

ExternalTable ParadoxFile::read(const QString& path)
{
    if (!QFileInfo(path).isFile())
        refuseUnopened(path, tableKind(), QStringLiteral("there is no such file"));
    const TableShape shape = checkStructure(path);
    Document doc;
    const QByteArray name = QFile::encodeName(path);
    if (PX_open_file(doc.get(), name.constData()) < 0)
        refuseDamaged(path, tableKind(), doc.errors());
    doc.opened();

    if (PX_get_recordsize(doc.get()) != shape.recordSize || PX_get_num_records(doc.get()) != shape.records)
        refuseDamaged(path, tableKind(), QStringLiteral("its header does not read as a whole"));
    const int fieldCount = PX_get_num_fields(doc.get());
    pxfield_t* fields = PX_get_fields(doc.get());
    bool fieldsFit = fields && fieldCount == shape.fieldCount;
    int fieldBytes = 0;
    for (int i = 0; fieldsFit && i < fieldCount; ++i) {
        fieldsFit = lengthFits(fields[i].px_ftype, fields[i].px_flen);
        fieldBytes += fields[i].px_flen;
    }
    if (!fieldsFit || fieldBytes != shape.recordSize)
        refuseDamaged(path, tableKind(),
                      QStringLiteral("its fields do not make up its records of %1 bytes").arg(shape.recordSize));

    ExternalTable table;
    for (int i = 0; i < fieldCount; ++i) {
        ExternalField field;
        field.name = QString::fromLatin1(fields[i].px_fname);
        field.type = typeOf(fields[i].px_ftype, field.name, path);
        field.length = fields[i].px_flen;
        field.decimals = fields[i].px_fdc;
        table.fields.push_back(field);
    }
    std::vector<char> record(size_t(PX_get_recordsize(doc.get())));
    const int recordCount = PX_get_num_records(doc.get());
    for (int recno = 0; recno < recordCount; ++recno) {
        if (!PX_get_record(doc.get(), recno, record.data()))
            refuseDamaged(path, tableKind(), QStringLiteral("record %1 cannot be read: %2").arg(recno + 1).arg(doc.errors()));
        std::vector<QVariant> row;
        int offset = 0;
        for (int i = 0; i < fieldCount; ++i) {
            row.push_back(readValue(doc.get(), fields[i].px_ftype, record.data() + offset, fields[i].px_flen));
            offset += fields[i].px_flen;
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

void ParadoxFile::write(const QString& path, const ExternalTable& table)
{
    TemporaryBeside temp(path, QStringLiteral("~px"));
    std::vector<std::pair<char, int>> kinds;
    for (const ExternalField& field : table.fields)
        kinds.push_back(pxTypeOf(field));
    {
        Document doc;
        // The library takes the field list and frees it with the document.
        auto* fields = static_cast<pxfield_t*>(doc.get()->malloc(doc.get(), sizeof(pxfield_t) * std::max<size_t>(1, table.fields.size()), "fields"));
        int recordSize = 0;
        for (size_t i = 0; i < table.fields.size(); ++i) {
            fields[i].px_fname = PX_strdup(doc.get(), table.fields[i].name.toLatin1().constData());
            fields[i].px_ftype = kinds[i].first;
            fields[i].px_flen = kinds[i].second;
            fields[i].px_fdc = 0;
            recordSize += kinds[i].second;
        }
        const QByteArray name = QFile::encodeName(temp.path());
        if (PX_create_file(doc.get(), fields, int(table.fields.size()), name.constData(), pxfFileTypNonIndexDB) < 0)
            throw lb::FileOpenError(QStringLiteral("Cannot create the Paradox table %1 %2").arg(path, doc.errors()));
        doc.opened();
        // The header names the table's code page (GBK, as its text is) and its own file name,
        // not the temporary one it is written under.
        const QByteArray tableName = QFile::encodeName(QFileInfo(temp.destination()).fileName());
        if (PX_set_value(doc.get(), "codepage", float(gbkCodePage)) < 0 || PX_set_tablename(doc.get(), tableName.constData()) < 0)
            throw lb::FileOpenError(QStringLiteral("Cannot name the Paradox table %1 %2").arg(path, doc.errors()));
        std::vector<char> record(static_cast<size_t>(recordSize));
        for (const std::vector<QVariant>& row : table.rows) {
            std::memset(record.data(), 0, record.size());
            int offset = 0;
            for (size_t i = 0; i < table.fields.size(); ++i) {
                writeValue(doc.get(), table.fields[i], record.data() + offset, kinds[i].second,
                           i < row.size() ? row[i] : QVariant());
                offset += kinds[i].second;
            }
            if (PX_put_record(doc.get(), record.data()) < 0)
                throw lb::FileOpenError(QStringLiteral("Cannot write to the Paradox table %1 %2").arg(path, doc.errors()));
        }
        doc.close();
        if (!doc.errors().isEmpty())
            throw lb::FileOpenError(QStringLiteral("Cannot write the Paradox table %1 %2").arg(path, doc.errors()));
    }
    if (const lb::FileResult renamed = temp.renameOverDestination(); !renamed.ok())
        throw lb::FileOpenError(QStringLiteral("Cannot replace the Paradox table %1: %2").arg(path, renamed.failure().text()));
}

} // namespace lb::office
