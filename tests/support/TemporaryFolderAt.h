// The system's temporary folder moved for a while, for the writers that must name it when it fails them.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

// While it lives, the system's temporary folder (TMPDIR, which QDir::tempPath() reads each time)
// is `folder`; the old setting comes back with the object.
class TemporaryFolderAt {
public:
    explicit TemporaryFolderAt(const QString& folder) : set_(qEnvironmentVariableIsSet("TMPDIR")), old_(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(folder));
    }
    ~TemporaryFolderAt()
    {
        if (set_)
            qputenv("TMPDIR", old_);
        else
            qunsetenv("TMPDIR");
    }
    TemporaryFolderAt(const TemporaryFolderAt&) = delete;
    TemporaryFolderAt& operator=(const TemporaryFolderAt&) = delete;

private:
    bool set_;
    QByteArray old_;
};
