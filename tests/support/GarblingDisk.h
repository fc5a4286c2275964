// A disk that holds other bytes than it was given and says nothing of it, for the copies that must read back.
#pragma once

#include <QByteArray>
#include <QString>

// Garbles every file written in `folder` (or a folder below it) while it lives, the first
// `spare` of them excepted, as a failing disk or cable would: the copy is written and flushed
// without an error, and holds other bytes than it was given. What it garbles is the file's last
// byte, or its first sixteen, where a database file says what it is; it does so just before the
// file is flushed. One at a time. A program that uses it gets its fsync() in place of the C
// library's (DiskFlushes.cpp).
class GarblingDisk {
public:
    enum class Garbled { LastByte, Start };
    explicit GarblingDisk(const QString& folder, Garbled what = Garbled::LastByte, int spare = 0);
    ~GarblingDisk();
    GarblingDisk(const GarblingDisk&) = delete;
    GarblingDisk& operator=(const GarblingDisk&) = delete;

private:
    QByteArray folder_;
};
