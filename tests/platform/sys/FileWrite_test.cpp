// What a window shows for a command whose files failed: the command's words and the causes the
// user can act on, for each cause and each kind of message.
#include "platform/sys/FileWrite.h"

#include <cerrno>
#include <gtest/gtest.h>

using lb::FileFailure;
using Cause = lb::FileFailure::Cause;
using Message = lb::FileFailure::Message;

namespace {

const FileFailure full(Cause::NoRoom, QStringLiteral("磁盘已满,不能写入文件夹: /data/BAK"));
const FileFailure damaged(Cause::Damaged, QStringLiteral("a.prev已损坏\n请移走"));
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
        // The program's or the system's words would tell the user less than the command's.
        ShownCase{"OtherAfter", {other}, Message::WhatWasLeftUndone, QStringLiteral("没有成功")},
        ShownCase{"OtherInPlace", {other}, Message::AnotherCause, QStringLiteral("没有成功")},
        ShownCase{"NoFailure", {}, Message::AnotherCause, QStringLiteral("没有成功")},
        // Each cause once, in the order met; the other causes left out.
        ShownCase{"EachCauseOnce", {full, other, damaged, full, damaged}, Message::WhatWasLeftUndone,
                  QStringLiteral("没有成功\n磁盘已满,不能写入文件夹: /data/BAK\na.prev已损坏\n请移走")}),
    [](const ::testing::TestParamInfo<ShownCase>& info) { return std::string(info.param.name); });

// A folder of a copy names the folder itself; any other code gives the writer's own words.
TEST(FileFailure, AWriteThatFailedKnowsWhetherTheDiskHadNoRoom)
{
    EXPECT_EQ(FileFailure(Cause::NoRoom, QStringLiteral("磁盘配额已用完,不能写入文件夹: /nosuch")),
              FileFailure::ofWrite(EDQUOT, QStringLiteral("/nosuch/kvdb.mdb"), QStringLiteral("otherwise")));
    EXPECT_EQ(FileFailure(Cause::NoRoom, QStringLiteral("临时文件夹已满,不能写入: /nosuch")),
              FileFailure::ofWrite(ENOSPC, QStringLiteral("/nosuch/page"), QStringLiteral("otherwise"), lb::FileWrite::Place::TemporaryFolder));
    EXPECT_EQ(FileFailure(Cause::Other, QStringLiteral("otherwise")),
              FileFailure::ofWrite(EIO, QStringLiteral("/nosuch/kvdb.mdb"), QStringLiteral("otherwise")));
}

// The error a writer throws keeps its failure for the window; other errors carry none.
TEST(FileFailure, AWritersErrorCarriesItsFailure)
{
    const lb::FileWriteError thrown(full);
    EXPECT_EQ(full.text(), thrown.message());
    EXPECT_EQ(QList<FileFailure>{full}, lb::FileWriteError::of(thrown));
    EXPECT_EQ(QList<FileFailure>{}, lb::FileWriteError::of(lb::FileOpenError(full.text())));
}
