// Reading dBase/FoxPro tables (.dbf).
#include "platform/office/DbfFile.h"

#include "platform/office/FileBytes_p.h"
#include "platform/sys/Errors.h"
#include "platform/sys/Gbk.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <shapefil.h>

namespace lb::office {

namespace {

struct DbfCloser {
    void operator()(DBFInfo* handle) const { DBFClose(handle); }
};

QString tableKind()
{
    return QStringLiteral("dBase table");
}

QVariant valueOf(DBFHandle dbf, int record, int field, const ExternalField& def, const QString& path)
{
    // dBase has no null text: a blank character field reads as empty text.
    if (def.type != ExternalFieldType::Text && DBFIsAttributeNULL(dbf, record, field))
        return {};
    const char* text = DBFReadStringAttribute(dbf, record, field);
    if (!text)
        refuseDamaged(path, tableKind(), QStringLiteral("record %1 cannot be read").arg(record + 1));
    const QByteArray bytes(text);
    switch (def.type) {
    case ExternalFieldType::Integer: return qint64(bytes.trimmed().toLongLong());
    case ExternalFieldType::Number: return bytes.trimmed().toDouble();
    case ExternalFieldType::Logical: {
        const char flag = bytes.isEmpty() ? '?' : bytes.at(0);
        if (flag == 'T' || flag == 't' || flag == 'Y' || flag == 'y')
            return true;
        if (flag == 'F' || flag == 'f' || flag == 'N' || flag == 'n')
            return false;
        return {};
    }
    case ExternalFieldType::Date: {
        const QDate date = QDate::fromString(QString::fromLatin1(bytes.trimmed()), QStringLiteral("yyyyMMdd"));
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case ExternalFieldType::Text: break;
    }
    return lb::Gbk::fromGbk(bytes);
}

// Checks that the records the header claims lie in the file, before the library, which
// trusts the header, reads them. A refusal (lb::FileOpenError) names the fault.
void checkRecordsFit(const QString& path)
{
    FileBytes file(path, tableKind());
    const QByteArray head = file.read(0, 32);
    const qint64 records = FileBytes::u32(head, 4);
    const int headerLength = FileBytes::u16(head, 8);
    const int recordLength = FileBytes::u16(head, 10);
    constexpr int leastHeader = 33; // the file header and the end mark of the field list
    if (headerLength < leastHeader || recordLength < 1)
        file.refuse(QStringLiteral("a header of %1 bytes with records of %2 bytes").arg(headerLength).arg(recordLength));
    if (headerLength + records * recordLength > file.size())
        file.refuse(QStringLiteral("a header of %1 bytes and %2 records of %3 bytes do not fit its %4 bytes")
                        .arg(headerLength).arg(records).arg(recordLength).arg(file.size()));
}

// The library opens a name it makes of the one given (the extension replaced by ".dbf", then by
// ".DBF" when there is no such file, and the same for a code page file ".cpg"), so a table named
// in another case ("LW.DBF", "lw.Dbf", as machines whose file names ignore case bring them)
// would be missed or another file read than the one checked. While a table is opened, the
// library's file opening is this one: the table it asks for is the file checked, and no code
// page file is read (the text is GBK whatever one says). The library's hooks carry no context.
thread_local const QByteArray* tableToOpen = nullptr;
thread_local SAFile (*libraryOpen)(const char*, const char*) = nullptr;

SAFile openCheckedTable(const char* name, const char* access)
{
    const QByteArray asked(name);
    if (asked.endsWith(".cpg") || asked.endsWith(".CPG"))
        return nullptr;
    return libraryOpen(tableToOpen->constData(), access);
}

DBFHandle openChecked(const QByteArray& name)
{
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    libraryOpen = hooks.FOpen;
    tableToOpen = &name;
    hooks.FOpen = &openCheckedTable;
    DBFHandle dbf = DBFOpenLL(name.constData(), "rb", &hooks);
    tableToOpen = nullptr;
    return dbf;
}

} // namespace

ExternalTable DbfFile::read(const QString& path)
{
    if (!QFileInfo(path).isFile())
        refuseUnopened(path, tableKind(), QStringLiteral("there is no such file"));
    checkRecordsFit(path);
    const QByteArray name = QFile::encodeName(path);
    std::unique_ptr<DBFInfo, DbfCloser> dbf(openChecked(name));
    // The library refuses a field list that does not fit the header or the record.
    if (!dbf)
        refuseDamaged(path, tableKind(), QStringLiteral("its fields do not fit its header or records"));

    ExternalTable table;
    const int fieldCount = DBFGetFieldCount(dbf.get());
    for (int i = 0; i < fieldCount; ++i) {
        char fieldName[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0;
        int decimals = 0;
        DBFGetFieldInfo(dbf.get(), i, fieldName, &width, &decimals);
        ExternalField field;
        field.name = QString::fromLatin1(fieldName);
        field.length = width;
        field.decimals = decimals;
        switch (DBFGetNativeFieldType(dbf.get(), i)) {
        case 'N': field.type = decimals == 0 ? ExternalFieldType::Integer : ExternalFieldType::Number; break;
        case 'F': field.type = ExternalFieldType::Number; break;
        case 'L': field.type = ExternalFieldType::Logical; break;
        case 'D': field.type = ExternalFieldType::Date; break;
        default: field.type = ExternalFieldType::Text; break;
        }
        table.fields.push_back(field);
    }
    const int recordCount = DBFGetRecordCount(dbf.get());
    for (int record = 0; record < recordCount; ++record) {
        if (DBFIsRecordDeleted(dbf.get(), record))
            continue;
        std::vector<QVariant> row;
        row.reserve(table.fields.size());
        for (int i = 0; i < fieldCount; ++i)
            row.push_back(valueOf(dbf.get(), record, i, table.fields[size_t(i)], path));
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace lb::office
