// The single-instance lock: held once per file, whatever the file holds, freed when its holder dies, and on an existing entry never making or following one.
#include "platform/sys/InstanceLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using lb::InstanceLock;

namespace {

class InstanceLockTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString lockFile() const { return folder.filePath(QStringLiteral("ledgerbox.lock")); }

    void write(const QByteArray& content)
    {
        QFile file(lockFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
};

} // namespace

TEST_F(InstanceLockTest, OneHolderAtATimeAndFreeAgainWhenItGoes)
{
    {
        InstanceLock first(lockFile());
        EXPECT_EQ(InstanceLock::State::Held, first.state());
        InstanceLock second(lockFile());
        EXPECT_EQ(InstanceLock::State::HeldElsewhere, second.state());
        EXPECT_TRUE(second.heldElsewhere());
    }
    InstanceLock later(lockFile());
    EXPECT_EQ(InstanceLock::State::Held, later.state());
}

TEST_F(InstanceLockTest, WhatTheLockFileHoldsNeverBlocks)
{
    // Left by copies that died: nothing, rubbish, and a record naming a program that runs (this
    // one), which a lock judged by the file's contents would take as a live holder.
    const QByteArray contents[] = {
        QByteArray(),
        QByteArray("\x00\xff garbage \n\n\x01", 15),
        QByteArray::number(QCoreApplication::applicationPid()) + '\n' + QCoreApplication::applicationName().toUtf8()
            + '\n' + QSysInfo::machineHostName().toUtf8() + '\n',
    };
    for (const QByteArray& content : contents) {
        write(content);
        InstanceLock lock(lockFile());
        EXPECT_EQ(InstanceLock::State::Held, lock.state()) << content.toStdString();
    }
}

TEST_F(InstanceLockTest, AKilledHolderFreesTheLock)
{
    int ready[2];
    ASSERT_EQ(0, ::pipe(ready));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock lock(lockFile());
        const char state = lock.state() == InstanceLock::State::Held ? 'H' : 'x';
        if (::write(ready[1], &state, 1) != 1)
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char state = 0;
    ASSERT_EQ(1, ::read(ready[0], &state, 1));
    ::close(ready[0]);
    EXPECT_EQ('H', state);
    EXPECT_TRUE(InstanceLock(lockFile()).heldElsewhere());

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(InstanceLock::State::Held, InstanceLock(lockFile()).state());
}

TEST_F(InstanceLockTest, AFolderWithoutTheFileOrTheRightToMakeItGuardsNothing)
{
    InstanceLock lock(folder.filePath(QStringLiteral("missing/ledgerbox.lock")));
    EXPECT_EQ(InstanceLock::State::Unavailable, lock.state());
    EXPECT_FALSE(lock.heldElsewhere());
}

// The lock of an entry another object made opens only that entry: a path that went (removed by
// a start's clean-up as the lock reached it), a link to an entry of the kind, or an entry of the
// other kind is Missing, and nothing is made in its place.
TEST_F(InstanceLockTest, AnExistingEntrysLockNeverMakesOrFollowsOne)
{
    using Target = InstanceLock::Target;
    using State = InstanceLock::State;
    const QString file = folder.filePath(QStringLiteral("file"));
    const QString subfolder = folder.filePath(QStringLiteral("folder"));
    const QString gone = folder.filePath(QStringLiteral("gone"));
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QDir().mkpath(subfolder));
    ASSERT_TRUE(QFile::link(file, folder.filePath(QStringLiteral("to-file"))));
    ASSERT_TRUE(QFile::link(subfolder, folder.filePath(QStringLiteral("to-folder"))));
    const struct {
        QString path;
        Target target;
        State state;
    } cases[] = {
        {file, Target::ExistingFile, State::Held},
        {subfolder, Target::ExistingFolder, State::Held},
        {gone, Target::ExistingFile, State::Missing},
        {gone, Target::ExistingFolder, State::Missing},
        {file, Target::ExistingFolder, State::Missing},
        {subfolder, Target::ExistingFile, State::Missing},
        {folder.filePath(QStringLiteral("to-file")), Target::ExistingFile, State::Missing},
        {folder.filePath(QStringLiteral("to-folder")), Target::ExistingFolder, State::Missing},
    };
    for (const auto& c : cases) {
        const InstanceLock lock(c.path, c.target);
        EXPECT_EQ(c.state, lock.state()) << c.path.toStdString();
        if (c.state == State::Held) {
            EXPECT_TRUE(InstanceLock(c.path, c.target).heldElsewhere()) << c.path.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(gone));
    EXPECT_TRUE(QFileInfo(file).isFile());
    EXPECT_TRUE(QFileInfo(subfolder).isDir());
}
