// A file or folder of ours in the system's temporary folder, locked while it lives.
#include "platform/sys/LockedTemporary.h"

#include "platform/sys/FileWrite.h"
#include "platform/sys/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lb {

namespace {

QString sixLettersOrDigits()
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString tail;
    for (int i = 0; i < 6; ++i)
        tail += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
    return tail;
}

InstanceLock::Target lockTarget(LockedTemporary::Kind kind)
{
    return kind == LockedTemporary::Kind::Folder ? InstanceLock::Target::ExistingFolder : InstanceLock::Target::ExistingFile;
}

// Removes `path` whose lock is held: a folder with everything in it (links inside are removed,
// never followed), a file.
void removeHeld(const QString& path, LockedTemporary::Kind kind)
{
    if (kind == LockedTemporary::Kind::Folder)
        QDir(path).removeRecursively();
    else
        ::unlink(QFile::encodeName(path).constData());
}

} // namespace

// The lock is taken by opening the entry made, never by making one: a start's clean-up may take
// and remove it between the making and the lock, and another program make one of that name.
// Another name is tried then; a start lists the folder once, so the next one escapes it. The
// tries are counted all the same, so that a folder where no entry can be locked fails at last.
LockedTemporary::LockedTemporary(Kind kind, const QString& prefix) : kind_(kind)
{
    constexpr int kTries = 100;
    const QDir folder(QDir::tempPath());
    for (int tries = 0; tries < kTries; ++tries) {
        const QString path = folder.filePath(prefix + sixLettersOrDigits());
        const QByteArray name = QFile::encodeName(path);
        const int made = kind == Kind::Folder ? ::mkdir(name.constData(), 0700)
                                              : ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (made < 0 && errno == EEXIST)
            continue;
        if (made < 0) {
            error_ = FileWrite::systemError(errno);
            return;
        }
        if (kind == Kind::File)
            ::close(made);
        auto lock = std::make_unique<InstanceLock>(path, lockTarget(kind));
        if (lock->state() == InstanceLock::State::HeldElsewhere || lock->state() == InstanceLock::State::Missing)
            continue; // taken by a clean-up, which removes it, or by another that made it anew
        // Once the lock is held no one else removes the entry, so the file opened is the one locked.
        if (lock->state() == InstanceLock::State::Held
            && (kind == Kind::Folder || (fd_ = ::open(name.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC)) >= 0)) {
            path_ = path;
            lock_ = std::move(lock);
            return;
        }
        error_ = FileWrite::systemError(errno);
        if (kind == Kind::Folder)
            ::rmdir(name.constData()); // only while empty: never what another put in it
        else if (lock->state() == InstanceLock::State::Held)
            ::unlink(name.constData());
        return;
    }
    error_ = QStringLiteral("no entry could be made and locked after %1 tries").arg(kTries);
}

LockedTemporary::LockedTemporary(const TemporaryName& name) : LockedTemporary(name.kind, QString::fromLatin1(name.prefix)) {}

LockedTemporary::~LockedTemporary()
{
    if (!lock_)
        return;
    removeHeld(path_, kind_);
    if (fd_ >= 0)
        ::close(fd_);
    lock_.reset(); // the entry is ours until it is gone
}

void LockedTemporary::removeLeftovers(Kind kind, const QString& prefix)
{
    const QRegularExpression ours(QStringLiteral("^%1[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(prefix)));
    const QDir temporary(QDir::tempPath());
    const QFileInfoList entries = temporary.entryInfoList({prefix + QLatin1Char('*')},
                                                          QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries) {
        if (!ours.match(entry.fileName()).hasMatch())
            continue;
        const Kind found = entry.isDir() ? Kind::Folder : Kind::File;
        // An empty file where a folder was meant is the trace of a lock that made one.
        if (found != kind && !(kind == Kind::Folder && entry.size() == 0))
            continue;
        // Held while the entry goes: an object that made it just now finds it taken and makes another.
        const InstanceLock lock(entry.absoluteFilePath(), lockTarget(found));
        if (lock.state() == InstanceLock::State::Held)
            removeHeld(entry.absoluteFilePath(), found);
    }
}

void LockedTemporary::removeLeftovers(const TemporaryName& name)
{
    removeLeftovers(name.kind, QString::fromLatin1(name.prefix));
}

void LockedTemporary::removeAllLeftovers()
{
    for (const TemporaryName& name : kTemporaryNames)
        removeLeftovers(name);
}

} // namespace lb
