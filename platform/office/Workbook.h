// A new workbook of one worksheet, filled cell by cell and saved as an .xlsx file.
#pragma once

#include <QString>
#include <memory>

namespace lb {
class LockedTemporary;
}

struct lxw_workbook;
struct lxw_worksheet;

namespace lb::office {

class TemporaryBeside;

// Rows and columns count from 0. Text cells hold the text as it is: a text beginning with "="
// or made of digits stays text, never a formula or a number, and one holding what the file
// format reads as a character's code ("_x0041_") is stored so that it reads back unchanged.
// Nothing reaches the destination file before save(): the writer fills a folder of its own in
// the system's temporary folder, the workbook and the parts it is made of together, so that a
// disk that runs out of room under a part also refuses the workbook (a part cut short would
// otherwise go into a workbook that looks whole). The workbook is then copied beside the
// destination under a temporary name, flushed and renamed over it, so a failed save leaves a
// file of that name as it was; the saved file has the mode any new file gets under the user's
// umask. A temporary that a run killed while saving left in the folder is removed when the next
// workbook starts there; a staging folder it left (named lb::kWorkbookStaging), at the
// program's next start (lb::LockedTemporary::removeAllLeftovers()).
class Workbook {
public:
    // Starts a workbook that save() will write to `path`. lb::FileWriteError when the folder
    // of `path` or the system's temporary folder cannot take a file (one that may not be
    // written named as such).
    explicit Workbook(const QString& path);
    ~Workbook(); // an unsaved workbook leaves no file behind
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // lb::Error for a cell outside the sheet or a text longer than a cell holds.
    void writeText(int row, int column, const QString& text);
    void writeNumber(int row, int column, double value);
    // Width in characters of the default font; height in points.
    void setColumnWidth(int column, double width);
    void setRowHeight(int row, double height);
    // The sheet's grid lines are printed.
    void printGridLines();

    // Writes the file; lb::FileWriteError when it cannot be written, which keeps the cause: a
    // disk without room or a folder that may not be written, named with the system's temporary
    // folder when the writer failed there, with the destination's folder when the copy beside it
    // failed. The workbook is closed afterwards whatever the outcome.
    void save();

private:
    void check(int error, const char* what) const;
    void discard() noexcept;
    std::unique_ptr<TemporaryBeside> temp_; // the file save() writes; null once saved or discarded
    std::unique_ptr<lb::LockedTemporary> staging_; // the folder the writer fills, in the system's temporary folder
    QString stagingFolder_; // the system's temporary folder it is in, as the user is told of it
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
};

} // namespace lb::office
