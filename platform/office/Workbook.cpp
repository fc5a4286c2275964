// A new workbook of one worksheet, filled cell by cell and saved as an .xlsx file.
#include "platform/office/Workbook.h"

#include "platform/office/TemporaryBeside_p.h"
#include "platform/sys/DurableFile.h"
#include "platform/sys/Errors.h"
#include "platform/sys/LockedTemporary.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <xlsxwriter.h>

#include <cerrno>

namespace lb::office {

namespace {

// The workbook the writer fills in its staging folder.
QString stagedBook(const lb::LockedTemporary& staging)
{
    return QDir(staging.path()).filePath(QStringLiteral("book.xlsx"));
}

} // namespace

// The temporary name beside the destination is taken at once, so that a folder that cannot
// take a file is known before any cell is written. The writer fills its staging folder when
// saving, through calls that lose the system's reason for a failure but leave it in errno;
// the copy put beside the destination keeps that reason itself.
Workbook::Workbook(const QString& path)
    : temp_(std::make_unique<TemporaryBeside>(path, QStringLiteral("~xls")))
    , stagingFolder_(QDir::tempPath())
{
    staging_ = std::make_unique<lb::LockedTemporary>(lb::kWorkbookStaging);
    if (!staging_->isValid()) {
        const QString reason = QStringLiteral("Cannot start a workbook for %1: %2").arg(path, staging_->errorString());
        discard();
        throw lb::FileWriteError(lb::FileFailure::ofFolder(stagingFolder_, reason, lb::FileWrite::Place::TemporaryFolder));
    }
    // The parts go where the workbook goes: on one disk, a part the disk cut short cannot end
    // in a workbook the disk took.
    const QByteArray folder = QFile::encodeName(staging_->path());
    const QByteArray name = QFile::encodeName(stagedBook(*staging_));
    lxw_workbook_options options{};
    options.tmpdir = const_cast<char*>(folder.constData()); // copied by the writer
    book_ = workbook_new_opt(name.constData(), &options);
    sheet_ = book_ ? workbook_add_worksheet(book_, nullptr) : nullptr;
    if (!sheet_) {
        discard();
        throw lb::FileOpenError(QStringLiteral("Cannot start a workbook for %1").arg(path));
    }
}

Workbook::~Workbook()
{
    discard();
}

void Workbook::discard() noexcept
{
    if (book_) {
        workbook_close(book_); // frees it; the file it may write is removed below
        book_ = nullptr;
        sheet_ = nullptr;
    }
    temp_.reset();
    staging_.reset();
}

void Workbook::check(int error, const char* what) const
{
    if (error != LXW_NO_ERROR)
        throw lb::Error(QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromUtf8(lxw_strerror(lxw_error(error)))));
}

void Workbook::writeText(int row, int column, const QString& text)
{
    // The format reads "_xHHHH_" as the character of code HHHH, and "_x005F_" as an underscore:
    // an underscore that would begin such a code is written as the code of an underscore.
    static const QRegularExpression escapeLike(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    const QByteArray utf8 = QString(text).replace(escapeLike, QStringLiteral("_x005F_")).toUtf8();
    check(worksheet_write_string(sheet_, lxw_row_t(row), lxw_col_t(column), utf8.constData(), nullptr), "writeText");
}

void Workbook::writeNumber(int row, int column, double value)
{
    check(worksheet_write_number(sheet_, lxw_row_t(row), lxw_col_t(column), value, nullptr), "writeNumber");
}

void Workbook::setColumnWidth(int column, double width)
{
    check(worksheet_set_column(sheet_, lxw_col_t(column), lxw_col_t(column), width, nullptr), "setColumnWidth");
}

void Workbook::setRowHeight(int row, double height)
{
    check(worksheet_set_row(sheet_, lxw_row_t(row), height, nullptr), "setRowHeight");
}

void Workbook::printGridLines()
{
    worksheet_gridlines(sheet_, LXW_SHOW_PRINT_GRIDLINES);
}

void Workbook::save()
{
    lxw_workbook* book = book_;
    book_ = nullptr;
    sheet_ = nullptr;
    errno = 0;
    const lxw_error error = workbook_close(book);
    const int code = errno; // the system's reason of the write that failed, which the writer keeps nowhere else
    if (error != LXW_NO_ERROR) {
        const QString reason = QStringLiteral("Cannot write the workbook %1: %2").arg(temp_->destination(), QString::fromUtf8(lxw_strerror(error)));
        discard();
        throw lb::FileWriteError(lb::FileFailure::ofWrite(code, stagingFolder_, reason, lb::FileWrite::Place::TemporaryFolder));
    }
    // The rename replaces an existing workbook in one step, once the whole copy is on the disk.
    lb::FileResult saved = lb::DurableFile::writeCopy(stagedBook(*staging_), temp_->path());
    if (saved.ok())
        saved = temp_->renameOverDestination();
    discard();
    if (!saved.ok())
        throw lb::FileWriteError(saved.failure());
}

} // namespace lb::office
