// The page stream: memory up to the limit, the temporary file beyond it and its removal after a
// killed run, files opened for reading.
#include "report/TRpStream.h"

#include "platform/sys/Errors.h"
#include "platform/sys/LockedTemporary.h"
#include "support/ForkedChild.h"
#include "support/TemporaryFolderAt.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using lb::report::TRpStream;
using Origin = TRpStream::Origin;

TEST(TRpStream, MovesToATemporaryFileJustPastTheLimit)
{
    QString tempName;
    {
        TRpStream stream(1000);
        const QByteArray first(600, 'a');
        stream.Write(first.constData(), first.size());
        const QByteArray second(400, 'b');
        stream.Write(second.constData(), second.size());
        EXPECT_TRUE(stream.InMemory()) << "exactly the limit stays in memory";
        EXPECT_TRUE(stream.TempFileName().isEmpty());
        stream.Write("c", 1);
        EXPECT_FALSE(stream.InMemory());
        tempName = stream.TempFileName();
        const QFileInfo info(tempName);
        EXPECT_TRUE(info.exists());
        EXPECT_TRUE(info.fileName().startsWith("RPF")) << info.fileName().toStdString();
        EXPECT_EQ(QDir(QDir::tempPath()).canonicalPath(), info.dir().canonicalPath());
        // The bytes moved along and the position is kept.
        EXPECT_EQ(1001, stream.Size());
        EXPECT_EQ(1001, stream.Position());
        stream.Seek(598, Origin::Begin);
        char four[4];
        stream.ReadBuffer(four, 4);
        EXPECT_EQ(QByteArray("aabb"), QByteArray(four, 4));
        stream.Seek(0, Origin::End);
        stream.WriteInt32(0x01020304);
        stream.Seek(-4, Origin::Current);
        EXPECT_EQ(0x01020304, stream.ReadInt32());
        // The size follows what is written into the file, also where the writing went back.
        EXPECT_EQ(1005, stream.Size());
        stream.Seek(2, Origin::Begin);
        stream.Write("xy", 2);
        EXPECT_EQ(1005, stream.Size());
        EXPECT_EQ(1005, stream.Seek(0, Origin::End));
        stream.Seek(1007, Origin::Begin);
        stream.Write("z", 1);
        EXPECT_EQ(1008, stream.Size());
        // The switch happens once: the stream never moves back.
        EXPECT_FALSE(stream.InMemory());
    }
    EXPECT_FALSE(QFile::exists(tempName)) << "freeing the stream deletes its temporary file";
}

TEST(TRpStream, ReadsAndSeeksInMemory)
{
    TRpStream stream(250000);
    stream.Write("abcdef", 6);
    EXPECT_EQ(2, stream.Seek(2, Origin::Begin));
    char two[2];
    EXPECT_EQ(2, stream.Read(two, 2));
    EXPECT_EQ(QByteArray("cd"), QByteArray(two, 2));
    EXPECT_EQ(5, stream.Seek(-1, Origin::End));
    EXPECT_EQ(1, stream.Read(two, 2)) << "a read at the end returns what is there";
    EXPECT_EQ(0, stream.Read(two, 2));
    EXPECT_THROW(stream.ReadBuffer(two, 1), lb::Error);
    EXPECT_THROW(stream.Seek(-7, Origin::End), lb::Error);
    // Writing past the end leaves zeros in the gap.
    stream.Seek(8, Origin::Begin);
    stream.Write("z", 1);
    EXPECT_EQ(9, stream.Size());
    stream.Seek(6, Origin::Begin);
    stream.ReadBuffer(two, 2);
    EXPECT_EQ(QByteArray(2, '\0'), QByteArray(two, 2));
}

TEST(TRpStream, SavesEverythingInBlocks)
{
    for (const qint32 limit : {250000, 100}) {
        TRpStream stream(limit);
        QByteArray content;
        for (int i = 0; i < 25000; ++i)
            content.append(char(i * 7));
        stream.Write(content.constData(), content.size());
        QBuffer copy;
        copy.open(QIODevice::WriteOnly);
        stream.SaveToStream(copy);
        EXPECT_EQ(content, copy.data()) << "limit " << limit;
    }
}

TEST(TRpStream, AFileOpenedForReadingStaysAndIsNotWritten)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("report.rpf");
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("saved pages");
    }
    {
        std::unique_ptr<TRpStream> stream = TRpStream::CreateFromFile(name);
        EXPECT_FALSE(stream->InMemory());
        EXPECT_TRUE(stream->ReadOnly());
        EXPECT_TRUE(stream->TempFileName().isEmpty());
        char five[5];
        stream->ReadBuffer(five, 5);
        EXPECT_EQ(QByteArray("saved"), QByteArray(five, 5));
        EXPECT_THROW(stream->Write("x", 1), lb::Error);
        // Another reader may open the same file meanwhile.
        EXPECT_NO_THROW(TRpStream::CreateFromFile(name));
    }
    EXPECT_TRUE(QFile::exists(name));
    EXPECT_THROW(TRpStream::CreateFromFile(dir.filePath("missing.rpf")), lb::FileOpenError);
}

// A run killed while its pages were in a temporary file left that file behind; the start's
// clean-up of the program's temporaries finds it under the name the stream gave it and removes
// it, and keeps the file of a stream still in use.
TEST(TRpStream, TheTemporaryFileOfAKilledRunGoesAtTheStartAndOneInUseStays)
{
    QTemporaryDir folder;
    const TemporaryFolderAt moved(folder.path());
    const QByteArray pages(101, 'p');
    ForkedChild killed([&](ForkedChild&) -> int {
        TRpStream stream(100);
        stream.Write(pages.constData(), pages.size());
        ::_exit(stream.InMemory() ? 1 : 0); // as if killed: the stream is never freed
    });
    ASSERT_TRUE(killed.started());
    const int status = killed.wait();
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const QStringList left = QDir(folder.path()).entryList(QDir::Files);
    ASSERT_EQ(1, left.size());

    TRpStream running(100);
    running.Write(pages.constData(), pages.size());
    ASSERT_FALSE(running.InMemory());
    lb::LockedTemporary::removeAllLeftovers();
    EXPECT_EQ(QFileInfo(running.TempFileName()).fileName().toStdString(),
              QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).join(' ').toStdString())
        << "left by the killed run: " << left[0].toStdString();
}
