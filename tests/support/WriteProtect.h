// Makes a file or folder unwritable for this process for the life of the object, also when it runs as root.
#pragma once

#include <QString>

// The write bits are taken away; an administrator ignores them, so for root the file or folder
// is also marked immutable. ok() tells whether the path really cannot be written now (a test
// skips when the file system allows neither); the destructor gives everything back.
class WriteProtect {
public:
    explicit WriteProtect(const QString& path);
    ~WriteProtect();
    WriteProtect(const WriteProtect&) = delete;
    WriteProtect& operator=(const WriteProtect&) = delete;

    bool ok() const { return ok_; }

private:
    bool setImmutable(bool on) const;
    QString path_;
    unsigned permissions_ = 0;
    bool immutable_ = false;
    bool ok_ = false;
};
