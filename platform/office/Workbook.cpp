// A new workbook of one worksheet, filled cell by cell and saved as an .xlsx file.
#include "platform/office/Workbook.h"

#include "platform/sys/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <xlsxwriter.h>

namespace lb::office {

Workbook::Workbook(const QString& path) : path_(QFileInfo(path).absoluteFilePath())
{
    // The temporary name is taken here so that a folder that cannot take a file is known at
    // once; the writer creates the file itself when saving.
    {
        QTemporaryFile reserve(QFileInfo(path_).absolutePath() + QStringLiteral("/~xlsXXXXXX"));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            throw lb::FileOpenError(QStringLiteral("Cannot create a file in %1").arg(QFileInfo(path_).absolutePath()));
        temp_ = reserve.fileName();
    }
    QFile::remove(temp_);
    const QByteArray name = QFile::encodeName(temp_);
    book_ = workbook_new(name.constData());
    sheet_ = book_ ? workbook_add_worksheet(book_, nullptr) : nullptr;
    if (!sheet_) {
        discard();
        throw lb::FileOpenError(QStringLiteral("Cannot start a workbook for %1").arg(path_));
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
    if (!temp_.isEmpty())
        QFile::remove(temp_);
}

void Workbook::check(int error, const char* what) const
{
    if (error != LXW_NO_ERROR)
        throw lb::Error(QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromUtf8(lxw_strerror(lxw_error(error)))));
}

void Workbook::writeText(int row, int column, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
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
    const lxw_error error = workbook_close(book);
    if (error != LXW_NO_ERROR) {
        discard();
        throw lb::FileOpenError(QStringLiteral("Cannot write the workbook %1: %2")
                                    .arg(path_, QString::fromUtf8(lxw_strerror(error))));
    }
    // The writer has closed its file; rename() replaces an existing workbook in one step.
    if (std::rename(QFile::encodeName(temp_).constData(), QFile::encodeName(path_).constData()) != 0) {
        discard();
        throw lb::FileOpenError(QStringLiteral("Cannot write the workbook %1").arg(path_));
    }
    temp_.clear();
}

} // namespace lb::office
