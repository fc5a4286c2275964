// The rows and field definitions of a table of another program's file (dBase/FoxPro, Paradox).
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace lb::office {

// What a field holds, as far as the program reads and writes such tables.
enum class ExternalFieldType {
    Text,    // QString, at most `length` bytes in the file's code page (GBK)
    Number,  // double
    Integer, // qint64
    Logical, // bool
    Date,    // QDate
};

struct ExternalField {
    QString name;
    ExternalFieldType type = ExternalFieldType::Text;
    int length = 0;   // Text: bytes; ignored for the other types
    int decimals = 0; // Number: digits after the point, where the format keeps them
};

// A whole table in memory: the tables these files hold for the data tool are small.
// A null value is an invalid QVariant.
struct ExternalTable {
    std::vector<ExternalField> fields;
    std::vector<std::vector<QVariant>> rows; // each row has one value per field
};

} // namespace lb::office
