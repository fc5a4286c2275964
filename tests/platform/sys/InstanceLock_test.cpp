// The single-instance lock: held once per file, whatever the file holds, and freed when its holder dies.
#include "platform/sys/InstanceLock.h"

#include <QCoreApplication>
#include <QFile>
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
