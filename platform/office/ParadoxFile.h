// Reading and writing Paradox tables (.db).
#pragma once

#include "platform/office/ExternalTable.h"

#include <QString>

namespace lb::office {

class ParadoxFile {
public:
    // Reads every record. Alpha fields as Text (GBK), number and money as Number, long, short
    // and counter as Integer, logical and date fields. lb::FileOpenError, its message naming
    // the file in Chinese with the technical reason on a line of its own, when there is no
    // such file, for a table with a field of any other kind (memo, graphic, time, ...), and
    // before anything is read when its header does not agree with the file: a version the
    // format does not have, an encrypted table, records that do not match their fields or do
    // not fit the file, a chain of data blocks that loops, leaves the file or holds another
    // number of records.
    static ExternalTable read(const QString& path);

    // Writes `table` as a new Paradox table without index: Text as alpha (1 to 255 bytes; a
    // longer text is cut at a character boundary), Number as number, Integer as long (lb::RangeError past its range),
    // Logical and Date as themselves. The header names code page 936 (GBK) and the table's
    // file name. The table is written beside `path` under a temporary name and renamed over
    // it when complete, with the mode any new file gets under the user's umask.
    // lb::FileOpenError when it cannot be written.
    static void write(const QString& path, const ExternalTable& table);
};

} // namespace lb::office
