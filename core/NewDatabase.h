// Makes new database files from the schema: the fresh file of an installation, and the older
// form (before the in-place upgrades) that the upgrade is tested on.
#pragma once

#include <QString>

namespace lb::core {

class NewDatabase {
public:
    // Writes a database file in its current form with the rows an installation ships: the
    // options row, the company row, the report period, the administrator "999" with the
    // factory password, the "cproduct" counter, the cash account, categories and units.
    // The file is built under a temporary name beside `path`, checked, then renamed to it.
    // Missing folders are made. DatabaseError when `path` exists or anything fails (no file
    // is left behind then).
    static void create(const QString& path);

    // The same in the form older installations have: config without flashbj, startbj and
    // remark1; the header tables and totallist without remark1, billtype, billname and addr;
    // totallist without intid; no totallist1; no indexes.
    static void createOldForm(const QString& path);

private:
    static void build(const QString& path, bool oldForm);
};

} // namespace lb::core
