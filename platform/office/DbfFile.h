// Reading dBase/FoxPro tables (.dbf).
#pragma once

#include "platform/office/ExternalTable.h"

#include <QString>

namespace lb::office {

class DbfFile {
public:
    // Reads every record not marked deleted. Text is taken as GBK with its blanks at both ends
    // removed; character, numeric, float, logical and date fields are read (a numeric field
    // without decimals as Integer); memo and other kinds as Text of their stored bytes.
    // The file is read under its name whatever its case or extension. lb::FileOpenError, its
    // message naming the file in Chinese with the technical reason on a line of its own: when
    // there is no such file, and before anything is read when its header does not agree with
    // the file: records that do not fit the file, fields that do not fit the record.
    static ExternalTable read(const QString& path);
};

} // namespace lb::office
