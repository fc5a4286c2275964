// The start's removal of our files and folders in the system's temporary folder, over both kinds.
#include "platform/sys/LockedTemporary.h"

#include "support/ForkedChild.h"
#include "support/TemporaryFolderAt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

using lb::LockedTemporary;
using Kind = LockedTemporary::Kind;

namespace {

struct Entries {
    Kind kind;
    const char* prefix;
    QStringList lookAlikes; // names that only begin like ours
};

void PrintTo(const Entries& entries, std::ostream* out)
{
    *out << entries.prefix;
}

// An entry of the kind at `path` with something in it: a folder holding a file, a file holding bytes.
void make(const QString& path, Kind kind)
{
    QFile file(kind == Kind::Folder ? path + QStringLiteral("/part.xml") : path);
    ASSERT_TRUE(kind == Kind::File || QDir().mkpath(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("pages");
}

class TemporaryLeftovers : public ::testing::TestWithParam<Entries> {
protected:
    QTemporaryDir root;
    const QString temporary = root.filePath(QStringLiteral("tmp"));
    const TemporaryFolderAt moved{temporary};

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(temporary)); }

    QString prefix() const { return QString::fromLatin1(GetParam().prefix); }
    QString inTemporary(const QString& name) const { return QDir(temporary).filePath(name); }
    // What the temporary folder holds, as one text in order.
    std::string entries() const
    {
        QStringList names = QDir(temporary).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        names.sort();
        return names.join(QLatin1Char(' ')).toStdString();
    }
    void removeLeftovers() const { LockedTemporary::removeLeftovers(GetParam().kind, prefix()); }
};

} // namespace

TEST_P(TemporaryLeftovers, ARunningCopysEntryStaysAndGoesAtTheStartAfterItWasKilled)
{
    // The copy holds its entry, with something in it, until it is killed.
    ForkedChild running([&](ForkedChild& self) {
        const LockedTemporary entry(GetParam().kind, prefix());
        QFile part(QDir(entry.path()).filePath(QStringLiteral("part.xml")));
        const bool filled = GetParam().kind == Kind::File ? ::write(entry.handle(), "pages", 5) == 5
                                                          : part.open(QIODevice::WriteOnly);
        char signal = 's';
        return entry.isValid() && filled && self.send(signal) && self.receive(signal) ? 0 : 1;
    });
    char signal = 0;
    ASSERT_TRUE(running.receive(signal));
    const std::string inUse = entries();
    EXPECT_TRUE(QString::fromStdString(inUse).contains(QRegularExpression(QStringLiteral("^%1[A-Za-z0-9]{6}$").arg(prefix()))))
        << inUse;

    removeLeftovers();
    EXPECT_EQ(inUse, entries());
    running.kill();
    removeLeftovers();
    EXPECT_EQ("", entries());
}

// A link named like ours, to a folder holding a file or to an empty file, is not ours: neither
// it nor what it points to is touched.
TEST_P(TemporaryLeftovers, ALinkNamedLikeOursStaysAndSoDoesWhatItPointsTo)
{
    const QString folder = root.filePath(QStringLiteral("books"));
    make(folder, Kind::Folder);
    const QString file = root.filePath(QStringLiteral("empty"));
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(folder, inTemporary(prefix() + QStringLiteral("Ab3dEf"))));
    ASSERT_TRUE(QFile::link(file, inTemporary(prefix() + QStringLiteral("Gh5jKl"))));
    removeLeftovers();
    EXPECT_TRUE(QFileInfo(inTemporary(prefix() + QStringLiteral("Ab3dEf"))).isSymLink());
    EXPECT_TRUE(QFileInfo(inTemporary(prefix() + QStringLiteral("Gh5jKl"))).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/part.xml")));
    EXPECT_TRUE(QFileInfo::exists(file));
}

TEST_P(TemporaryLeftovers, NamesThatOnlyBeginLikeOursStay)
{
    for (const QString& name : GetParam().lookAlikes)
        make(inTemporary(name), GetParam().kind);
    make(inTemporary(prefix() + QStringLiteral("Ab3dEf")), GetParam().kind);
    removeLeftovers();
    QStringList kept = GetParam().lookAlikes;
    kept.sort();
    EXPECT_EQ(kept.join(QLatin1Char(' ')).toStdString(), entries());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TemporaryLeftovers,
    ::testing::Values(Entries{Kind::File, "RPF", {"RPFAb3dEf7", "RPFAb3dE", "RPFAb-dEf", "RPFAb3dEf.tmp", "xRPFAb3dEf", "rpfAb3dEf"}},
                      Entries{Kind::Folder, "lb-xlsx-", {"lb-xlsx-backups", "lb-xlsx-Ab3dEf7", "lb-xlsx-Ab3dE", "lb-xlsx-2024-report", "lb-xlsxAb3dEf"}}),
    [](const ::testing::TestParamInfo<Entries>& info) { return info.param.kind == Kind::File ? "File" : "Folder"; });

namespace {

// An entry named like ours but of the other kind, and whether the clean-up takes it.
struct OtherKind {
    const char* row;
    Kind cleaned;
    const char* prefix;
    Kind made;
    bool empty;
    bool removed;
};

void PrintTo(const OtherKind& row, std::ostream* out)
{
    *out << row.row;
}

class TemporaryLeftoversOfTheOtherKind : public ::testing::TestWithParam<OtherKind> {};

} // namespace

// No program makes a file named like a staging folder: an empty one is what a lock that made
// its file when the folder went as it reached it left, and goes. A file with something in it
// is not ours, nor is a folder named like a report's temporary file.
TEST_P(TemporaryLeftoversOfTheOtherKind, IsTakenOnlyForWhatALockLeft)
{
    QTemporaryDir temporary;
    const TemporaryFolderAt moved(temporary.path());
    const OtherKind& row = GetParam();
    const QString path = temporary.filePath(QString::fromLatin1(row.prefix) + QStringLiteral("Ab3dEf"));
    if (row.empty)
        ASSERT_TRUE(row.made == Kind::Folder ? QDir().mkpath(path) : QFile(path).open(QIODevice::WriteOnly));
    else
        make(path, row.made);
    LockedTemporary::removeLeftovers(row.cleaned, QString::fromLatin1(row.prefix));
    EXPECT_EQ(!row.removed, QFileInfo::exists(path));
}

INSTANTIATE_TEST_SUITE_P(Rows, TemporaryLeftoversOfTheOtherKind,
                         ::testing::Values(OtherKind{"EmptyFileForAFolder", Kind::Folder, "lb-xlsx-", Kind::File, true, true},
                                           OtherKind{"FileWithBytesForAFolder", Kind::Folder, "lb-xlsx-", Kind::File, false, false},
                                           OtherKind{"EmptyFolderForAFile", Kind::File, "RPF", Kind::Folder, true, false},
                                           OtherKind{"FolderWithAFileForAFile", Kind::File, "RPF", Kind::Folder, false, false}),
                         [](const ::testing::TestParamInfo<OtherKind>& info) { return info.param.row; });
