// Tests of the workbook writer: cell kinds as written, sizes, texts that look like the format's
// character codes, saves that fail cleanly, the saved file's mode, the temporary of a killed
// save cleared away, and the staging folders in the system's temporary folder.
#include "platform/office/Workbook.h"
#include "platform/sys/Errors.h"
#include "platform/sys/FileWrite.h"
#include "platform/sys/LockedTemporary.h"
#include "support/ForkedChild.h"
#include "support/ScratchDisk.h"
#include "support/TemporaryFolderAt.h"
#include "support/XlsxSheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using lb::office::Workbook;

namespace {

QStringList files(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

// A reader that follows the format: "_xHHHH_" is the character of code HHHH.
QString decodeCharacterCodes(QString text)
{
    static const QRegularExpression code(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString shown;
    qsizetype from = 0;
    for (auto it = code.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        shown += text.mid(from, match.capturedStart() - from) + QChar(match.captured(1).toUShort(nullptr, 16));
        from = match.capturedEnd();
    }
    return shown + text.mid(from);
}

// The texts of the cells of the first sheet, in order, as a reader that follows the format
// shows them: python3's zip and XML modules where python3 is installed, else XlsxSheet.
QStringList shownTexts(const QString& path, int rows)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty()) {
        const XlsxSheet sheet = XlsxSheet::read(path);
        QStringList texts;
        for (int row = 1; row <= rows; ++row)
            texts << decodeCharacterCodes(sheet.row(row, 1).value(0));
        return texts;
    }
    const char* script = R"(
import json, re, sys, zipfile, xml.etree.ElementTree as tree
m = '{http://schemas.openxmlformats.org/spreadsheetml/2006/main}'
book = zipfile.ZipFile(sys.argv[1])
shared = [''.join(t.text or '' for t in si.iter(m + 't'))
          for si in tree.fromstring(book.read('xl/sharedStrings.xml')).findall(m + 'si')]
cells = tree.fromstring(book.read('xl/worksheets/sheet1.xml')).iter(m + 'c')
code = lambda c: chr(int(c.group(1), 16))
print(json.dumps([re.sub('_x([0-9A-Fa-f]{4})_', code, shared[int(c.find(m + 'v').text)]) for c in cells]))
)";
    QProcess reader;
    reader.start(python, {QStringLiteral("-c"), QString::fromLatin1(script), path});
    EXPECT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(0, reader.exitCode()) << reader.readAllStandardError().toStdString();
    QStringList texts;
    for (const QJsonValue& text : QJsonDocument::fromJson(reader.readAllStandardOutput()).array())
        texts << text.toString();
    return texts;
}

} // namespace

TEST(Workbook, TextStaysTextAndNumbersStayNumbers)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("book1.xlsx"));
    {
        Workbook book(path);
        book.writeText(0, 0, QStringLiteral("货品代码"));
        book.writeText(0, 1, QStringLiteral("库存数量"));
        book.writeText(1, 0, QStringLiteral("00123"));
        book.writeNumber(1, 1, 12.5);
        book.writeText(2, 0, QStringLiteral("=SUM(B2:B2)"));
        book.writeNumber(2, 1, -0.001);
        book.writeText(3, 0, QStringLiteral("6901234567890123"));
        book.setColumnWidth(0, 16);
        book.setColumnWidth(2, 4);
        book.setRowHeight(0, 28);
        book.printGridLines();
        book.save();
    }
    const XlsxSheet sheet = XlsxSheet::read(path);
    EXPECT_EQ((QStringList{"货品代码", "库存数量"}), sheet.row(1, 2));
    EXPECT_EQ((QStringList{"00123", "12.5"}), sheet.row(2, 2));
    EXPECT_EQ((QStringList{"s", "n"}), sheet.types(2, 2));
    EXPECT_EQ((QStringList{"=SUM(B2:B2)", "-0.001"}), sheet.row(3, 2));
    EXPECT_EQ((QStringList{"s", "n"}), sheet.types(3, 2));
    EXPECT_FALSE(sheet.cells.at(QStringLiteral("A3")).formula);
    EXPECT_EQ(QStringLiteral("6901234567890123"), sheet.cells.at(QStringLiteral("A4")).text);
    EXPECT_EQ(4, sheet.lastRow());
    EXPECT_NEAR(16.0, sheet.columnWidths.at(1), 1.0);
    EXPECT_NEAR(4.0, sheet.columnWidths.at(3), 1.0);
    EXPECT_EQ(0u, sheet.columnWidths.count(2));
    EXPECT_EQ(28.0, sheet.rowHeights.at(1));
    EXPECT_TRUE(sheet.printGridLines);
    EXPECT_EQ(QStringList{"book1.xlsx"}, files(folder.path()));
}

TEST(Workbook, FailuresLeaveNoFileAndKeepTheOldOne)
{
    QTemporaryDir folder;
    // A folder that does not exist cannot take the workbook.
    EXPECT_THROW(Workbook(folder.filePath(QStringLiteral("missing/book.xlsx"))), lb::FileOpenError);

    // A workbook never saved leaves nothing behind.
    {
        Workbook book(folder.filePath(QStringLiteral("unsaved.xlsx")));
        book.writeText(0, 0, QStringLiteral("x"));
    }
    EXPECT_TRUE(files(folder.path()).isEmpty());

    // A cell outside the sheet is refused; the workbook can still be saved.
    const QString path = folder.filePath(QStringLiteral("book.xlsx"));
    {
        Workbook book(path);
        EXPECT_THROW(book.writeText(1048576, 0, QStringLiteral("x")), lb::Error);
        EXPECT_THROW(book.writeText(0, 0, QString(40000, QLatin1Char('x'))), lb::Error);
        book.writeNumber(0, 0, 1);
        book.save();
    }
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();

    // A save whose destination cannot be replaced (a folder of that name) fails and leaves
    // neither a partial file nor its temporary copy.
    const QString blocked = folder.filePath(QStringLiteral("blocked.xlsx"));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/inside")));
    {
        Workbook book(blocked);
        book.writeText(0, 0, QStringLiteral("x"));
        EXPECT_THROW(book.save(), lb::FileOpenError);
    }
    EXPECT_EQ(QStringList{"book.xlsx"}, files(folder.path()));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(before, old.readAll());
}

// The writer fills the system's temporary folder with the workbook and the parts it is made of:
// when that folder has no room or may not be written, the failure names it, and the workbook of
// that name stays as it was. A part cut short never reaches a workbook that looks whole.
TEST(Workbook, ATemporaryFolderWithoutRoomOrOnAReadOnlyDiskIsNamed)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("book.xlsx"));
    {
        Workbook book(path);
        book.writeText(0, 0, QStringLiteral("old"));
        book.save();
    }
    const QByteArray before = XlsxSheet::read(path).row(1, 1).join(QString()).toUtf8();
    const QString temporary = folder.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(temporary));
    // The cause the window shows.
    const auto failureOf = [&](const std::function<void()>& work) {
        try {
            work();
        } catch (const lb::Error& error) {
            return lb::causeOf(error);
        }
        return QStringLiteral("no failure");
    };
    const QString shown = QDir::toNativeSeparators(temporary);
    {
        const TemporaryFolderAt moved(temporary);
        ScratchDisk disk(temporary, 64 * 1024);
        if (!disk.ok())
            GTEST_SKIP() << "no disk of the test's own can be mounted here";
        // Far more than the disk takes: a sheet part of about a megabyte.
        EXPECT_EQ(QStringLiteral("临时文件夹已满,不能写入: ") + shown, failureOf([&] {
                      Workbook book(path);
                      for (int row = 0; row < 20000; ++row)
                          book.writeNumber(row, 0, row * 1.5);
                      book.save();
                  }));
        EXPECT_TRUE(files(temporary).isEmpty());
    }
    {
        const TemporaryFolderAt moved(temporary);
        ScratchDisk disk(temporary, 64 * 1024, true);
        EXPECT_EQ(QStringLiteral("临时文件夹在只读的磁盘上,不能写入: ") + shown, failureOf([&] { Workbook book(path); }));
    }
    EXPECT_EQ(QStringList{"book.xlsx"}, files(folder.path()));
    EXPECT_EQ(before, XlsxSheet::read(path).row(1, 1).join(QString()).toUtf8());
}

// A saved workbook is a file of the user's like any other, not kept to its owner as the
// temporary it was written under: new or replacing one, it has the mode the umask gives.
TEST(Workbook, ASavedWorkbookHasTheModeOfANewFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("book.xlsx"));
    for (const mode_t mask : {mode_t(027), mode_t(002)}) {
        const mode_t before = ::umask(mask);
        {
            Workbook book(path);
            book.writeNumber(0, 0, 1);
            book.save();
        }
        ::umask(before);
        struct stat info {};
        ASSERT_EQ(0, ::stat(QFile::encodeName(path).constData(), &info));
        EXPECT_EQ(0666 & ~mask, info.st_mode & 0777) << "umask " << mask;
    }
}

TEST(Workbook, TextsLikeCharacterCodesReadBackAsWritten)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("codes.xlsx"));
    const QStringList texts{"_x0041_", "a_x005F_b", "_x00e9_x0042_", "型号_X0041_", "_x12_", "__x0041__"};
    {
        Workbook book(path);
        for (int row = 0; row < texts.size(); ++row)
            book.writeText(row, 0, texts[row]);
        book.save();
    }
    EXPECT_EQ(QStringLiteral("_x005F_x0041_"), XlsxSheet::read(path).cells.at(QStringLiteral("A1")).text);
    EXPECT_EQ(texts, shownTexts(path, int(texts.size())));
}

// A save killed at any moment after the workbook started leaves its temporary in the folder
// the user chose; the next workbook started there removes it, and keeps the temporary of a
// workbook this program is still writing.
TEST(Workbook, TheTemporaryOfAKilledSaveGoesWithTheNextWorkbookInItsFolder)
{
    QTemporaryDir folder;
    ForkedChild killed([&](ForkedChild&) -> int {
        Workbook book(folder.filePath(QStringLiteral("killed.xlsx")));
        book.writeText(0, 0, QStringLiteral("x"));
        ::_exit(0); // as if killed: no destructor runs
    });
    ASSERT_TRUE(killed.started());
    killed.wait();
    const QStringList left = files(folder.path());
    ASSERT_EQ(1, left.size());
    EXPECT_TRUE(left[0].startsWith(QStringLiteral("~xls")));

    // Files of the user's that only look alike stay.
    for (const char* name : {"~xls-notes.txt", "~xlsAbCdEf.xlsx"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    Workbook first(folder.filePath(QStringLiteral("first.xlsx")));
    first.writeText(0, 0, QStringLiteral("1"));
    {
        Workbook second(folder.filePath(QStringLiteral("second.xlsx")));
        second.writeText(0, 0, QStringLiteral("2"));
        EXPECT_EQ(2, files(folder.path()).filter(QRegularExpression(QStringLiteral("^~xls\\w{6}$"))).size());
        second.save();
    }
    first.save();
    EXPECT_EQ((QStringList{"first.xlsx", "second.xlsx", "~xls-notes.txt", "~xlsAbCdEf.xlsx"}), files(folder.path()));
    EXPECT_EQ(QStringLiteral("1"), XlsxSheet::read(folder.filePath(QStringLiteral("first.xlsx"))).cells.at(QStringLiteral("A1")).text);
}

namespace {

// What a workbook does before the end of its life: "Saved", "NeverSaved", or "SaveRefused" by a
// destination it cannot replace (a folder of that name).
class WorkbookEnding : public ::testing::TestWithParam<std::string> {};

} // namespace

// The writer's staging folder goes with the workbook, whatever its end: exports never pile up in
// the system's temporary folder.
TEST_P(WorkbookEnding, LeavesNothingInTheTemporaryFolder)
{
    QTemporaryDir folder;
    const QString temporary = folder.filePath(QStringLiteral("tmp"));
    const QString path = folder.filePath(QStringLiteral("book.xlsx"));
    ASSERT_TRUE(QDir().mkpath(temporary));
    ASSERT_TRUE(GetParam() != "SaveRefused" || QDir().mkpath(path + QStringLiteral("/inside")));
    const TemporaryFolderAt moved(temporary);
    {
        Workbook book(path);
        book.writeText(0, 0, QStringLiteral("货品代码"));
        if (GetParam() == "Saved") {
            book.save();
        } else if (GetParam() == "SaveRefused") {
            EXPECT_THROW(book.save(), lb::FileWriteError);
        }
    }
    EXPECT_EQ("", QDir(temporary).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).join(' ').toStdString());
}

INSTANTIATE_TEST_SUITE_P(Endings, WorkbookEnding, ::testing::Values("Saved", "NeverSaved", "SaveRefused"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

// An export killed before its workbook was saved or dropped leaves its staging folder, with the
// parts written so far, in the system's temporary folder; the start's clean-up takes it away. The
// staging folder of a workbook another copy of the program is still writing stays, and its
// workbook is saved whole; so does every folder of another name.
TEST(Workbook, StagingFoldersOfKilledExportsAreRemovedAndThoseInUseKept)
{
    QTemporaryDir folder;
    const QDir temporary(folder.filePath(QStringLiteral("tmp")));
    const QString killed = QStringLiteral("lb-xlsx-Ab3dEf");
    const QStringList others{QStringLiteral("lb-xlsx-2024-report"), QStringLiteral("lb-xlsxAbC123"), QStringLiteral("xlsx-AbC123")};
    for (const QString& made : others + QStringList{killed}) {
        ASSERT_TRUE(QDir().mkpath(temporary.filePath(made) + QStringLiteral("/xl")));
    }
    const TemporaryFolderAt moved(temporary.path());

    // The other copy's workbook is started, and saved when the test says.
    const QString theirs = folder.filePath(QStringLiteral("theirs.xlsx"));
    ForkedChild running([&](ForkedChild& self) {
        Workbook book(theirs);
        book.writeText(0, 0, QStringLiteral("他们的"));
        char signal = 's';
        if (!self.send(signal) || !self.receive(signal))
            return 1;
        book.save();
        return 0;
    });
    char signal = 0;
    ASSERT_TRUE(running.receive(signal));
    QStringList inUse = temporary.entryList({QStringLiteral("lb-xlsx-??????")}, QDir::Dirs | QDir::NoDotAndDotDot);
    inUse.removeOne(killed);
    ASSERT_EQ(1, inUse.size());

    lb::LockedTemporary::removeLeftovers(lb::kWorkbookStaging);

    EXPECT_FALSE(QFileInfo::exists(temporary.filePath(killed)));
    for (const QString& kept : inUse + others) {
        EXPECT_TRUE(QFileInfo(temporary.filePath(kept)).isDir()) << kept.toStdString();
    }
    ASSERT_TRUE(running.send(signal));
    const int status = running.wait();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_EQ(QStringLiteral("他们的"), XlsxSheet::read(theirs).cells.at(QStringLiteral("A1")).text);
}
