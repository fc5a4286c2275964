// The one way every print command prints: make the layout, count its pages, fill its captions,
// preview it, free it.
#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace lb::layouts {

// How the layout's label RpLabel22 shows the page count of the counting run.
enum class PageTotal {
    None,   // not counted: the layout is generated once, in the preview
    Digits, // "2"
    Words,  // "共  2 页"
};

struct PrintJob {
    QString layout;      // design class name ("Tfrroutdetail")
    QString heading;     // RpLabel15 := trimmed company name + heading; empty: as laid out
    PageTotal pageTotal = PageTotal::None;
    // Label captions (RpLabel19 := "条形码", RpLabel7 := the period line...) and the fields of
    // database texts (RpDBText8 := "sptj"; an empty field prints nothing), set before the
    // pages are made.
    std::vector<std::pair<QString, QString>> captions;
    std::vector<std::pair<QString, QString>> fields;
    // False: the layout's summary band is left out, where its totals mean nothing for the rows
    // printed (an empty band would still start a page of its own after a full last page).
    bool summary = true;
    // What the print is called where it names a file (the PDF proposed for it), for a job that
    // retitles its layout; empty: the heading, else the layout's own title.
    QString title{};
};

// The print sequence: the layout made; the captions and fields set; with a page total, a
// first run into pages counts them (frmain->ReportPageCount), its output is dropped and the
// count written; the operator's name into RpLabel25 and the heading into RpLabel15 where the
// layout has them; the title "朔栎打印预览"; the modal preview, which generates the pages again
// and from which the user prints or saves, a PDF file proposed under the job's title; the
// layout freed. The company row is opened when it
// is closed. Errors of the runs propagate; the layout is freed in every case.
void printLayout(const PrintJob& job);

// "共  " + count + " 页": two blanks after 共, one before 页.
QString pageTotalWords(int pages);

} // namespace lb::layouts
