// What a window shows for a command whose files failed: the command's words and the causes the
// user can act on, for each cause and each kind of message.
#include "platform/sys/FileWrite.h"

#include "support/WriteProtect.h"

#include <QDir>
#include <QTemporaryDir>

#include <cerrno>
#include <gtest/gtest.h>

using lb::FileFailure;
using Cause = lb::FileFailure::Cause;
using Message = lb::FileFailure::Message;

namespace {

const FileFailure full(Cause::NoRoom, QStringLiteral("磁盘已满,不能写入文件夹: /data/BAK"));
const FileFailure damaged(Cause::Damaged, QStringLiteral("a.prev已损坏\n请移走"));
const FileFailure readOnly(Cause::NotWritable, QStringLiteral("磁盘是只读的,不能写入文件夹: /media/usb"));
const FileFailure other(Cause::Other, QStringLiteral("Cannot write /data/BAK/x: Input/output error"));

struct ShownCase {
    const char* name;
    QList<FileFailure> failures;
    Message kind;
    QString shown;
};

void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.name; }

class FailureShown : public ::testing::TestWithParam<ShownCase> {};

} // namespace

TEST_P(FailureShown, TheCommandsWordsAndTheCausesTheUserCanActOn)
{
    const ShownCase& c = GetParam();
    EXPECT_EQ(c.shown.toStdString(), FileFailure::shown(QStringLiteral("没有成功"), c.failures, c.kind).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FailureShown,
    ::testing::Values(
        ShownCase{"NoRoomAfter", {full}, Message::WhatWasLeftUndone, QStringLiteral("没有成功\n磁盘已满,不能写入文件夹: /data/BAK")},
        ShownCase{"NoRoomInPlace", {full}, Message::AnotherCause, QStringLiteral("磁盘已满,不能写入文件夹: /data/BAK")},
        ShownCase{"DamagedAfter", {damaged}, Message::WhatWasLeftUndone, QStringLiteral("没有成功\na.prev已损坏\n请移走")},
        ShownCase{"DamagedInPlace", {damaged}, Message::AnotherCause, QStringLiteral("a.prev已损坏\n请移走")},
        ShownCase{"NotWritableInPlace", {readOnly}, Message::AnotherCause, QStringLiteral("磁盘是只读的,不能写入文件夹: /media/usb")},
        // The program's or the system's words would tell the user less than the command's.
        ShownCase{"OtherAfter", {other}, Message::WhatWasLeftUndone, QStringLiteral("没有成功")},
        ShownCase{"OtherInPlace", {other}, Message::AnotherCause, QStringLiteral("没有成功")},
        ShownCase{"NoFailure", {}, Message::AnotherCause, QStringLiteral("没有成功")},
        // Each cause once, in the order met; the other causes left out.
        ShownCase{"EachCauseOnce", {full, other, damaged, full, damaged}, Message::WhatWasLeftUndone,
                  QStringLiteral("没有成功\n磁盘已满,不能写入文件夹: /data/BAK\na.prev已损坏\n请移走")}),
    [](const ::testing::TestParamInfo<ShownCase>& info) { return std::string(info.param.name); });

// A folder of a copy names the folder itself, the writer's own words kept for the log; any other
// code gives those words alone.
TEST(FileFailure, AWriteThatFailedKnowsWhetherTheUserCanActOnIt)
{
    const QString file = QStringLiteral("/nosuch/kvdb.mdb");
    const QString words = QStringLiteral("Cannot write /nosuch/kvdb.mdb: error");
    const struct {
        int code;
        lb::FileWrite::Place place;
        FileFailure failure;
    } cases[] = {
        {EDQUOT, lb::FileWrite::Place::File, {Cause::NoRoom, QStringLiteral("磁盘配额已用完,不能写入文件夹: /nosuch"), words}},
        {ENOSPC, lb::FileWrite::Place::TemporaryFolder, {Cause::NoRoom, QStringLiteral("临时文件夹已满,不能写入: /nosuch"), words}},
        {EROFS, lb::FileWrite::Place::File, {Cause::NotWritable, QStringLiteral("磁盘是只读的,不能写入文件夹: /nosuch"), words}},
        {EACCES, lb::FileWrite::Place::File, {Cause::NotWritable, QStringLiteral("没有写入权限,不能写入文件夹: /nosuch"), words}},
        {EPERM, lb::FileWrite::Place::File, {Cause::NotWritable, QStringLiteral("没有写入权限,不能写入文件夹: /nosuch"), words}},
        {EROFS, lb::FileWrite::Place::TemporaryFolder,
         {Cause::NotWritable, QStringLiteral("临时文件夹在只读的磁盘上,不能写入: /nosuch"), words}},
        {EACCES, lb::FileWrite::Place::TemporaryFolder,
         {Cause::NotWritable, QStringLiteral("没有临时文件夹的写入权限,不能写入: /nosuch"), words}},
        {EIO, lb::FileWrite::Place::File, {Cause::Other, words}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(c.failure, FileFailure::ofWrite(c.code, file, words, c.place));
    }
}

// A call that lost the system's reason (a temporary file Qt could not make) is explained by the
// folder: one that may not be written is named, also through a subfolder still to be made.
TEST(FileFailure, AFolderThatMayNotBeWrittenIsNamed)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString locked = QDir(root.path()).filePath(QStringLiteral("usb"));
    ASSERT_TRUE(QDir().mkpath(locked));
    EXPECT_EQ(FileFailure::other(QStringLiteral("otherwise")), FileFailure::ofFolder(locked, QStringLiteral("otherwise")));

    WriteProtect protect(locked);
    if (!protect.ok())
        GTEST_SKIP() << "this file system lets every folder be written";
    const FileFailure named(Cause::NotWritable, QStringLiteral("没有写入权限,不能写入文件夹: ") + QDir::toNativeSeparators(locked),
                            QStringLiteral("otherwise"));
    EXPECT_EQ(named, FileFailure::ofFolder(locked, QStringLiteral("otherwise")));
    EXPECT_EQ(named, FileFailure::ofFolder(locked + QStringLiteral("/2026/works"), QStringLiteral("otherwise")));
}

// Windows read the cause of any error through one function: a written file's failure, and the
// cause another error carries (the engine's full disk), alike; the program's or the system's
// words are no cause, and stay the error's message, after a command's words.
TEST(FileFailure, TheCauseOfAnyErrorIsReadInOnePlace)
{
    const FileFailure withWords(Cause::NoRoom, full.text(), QStringLiteral("Cannot write /data/BAK/~cp1: No space left on device"));
    EXPECT_EQ(full.text(), lb::causeOf(lb::FileWriteError(withWords)));
    EXPECT_EQ(withWords.words(), lb::FileWriteError(withWords).message());
    EXPECT_EQ(QString(), lb::causeOf(lb::FileWriteError(other)));
    EXPECT_EQ(other.text(), lb::FileWriteError(other).message());
    EXPECT_EQ(full.text(), lb::causeOf(lb::DatabaseError(QStringLiteral("database or disk is full"), full.text())));
    EXPECT_EQ(QString(), lb::causeOf(lb::FileOpenError(full.text())));
    EXPECT_EQ(QString(), lb::causeOf(std::runtime_error("x")));

    EXPECT_EQ(full.text() + QStringLiteral("\n没有成功\n") + withWords.words(),
              lb::FileWriteError(withWords, QStringLiteral("没有成功")).shownText());
    EXPECT_EQ(QStringLiteral("没有成功\n") + other.text(), lb::FileWriteError(other, QStringLiteral("没有成功")).shownText());

    EXPECT_EQ(QStringLiteral("没有成功\n") + full.text(),
              FileFailure::shown(QStringLiteral("没有成功"), lb::DatabaseError(QStringLiteral("disk full"), full.text()),
                                 Message::WhatWasLeftUndone));
    EXPECT_EQ(full.text(), FileFailure::shown(QStringLiteral("没有成功"), lb::FileWriteError(withWords), Message::AnotherCause));
    EXPECT_EQ(QStringLiteral("没有成功"), FileFailure::shown(QStringLiteral("没有成功"), lb::FileWriteError(other), Message::AnotherCause));
}
