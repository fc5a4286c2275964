// A preview that shows nothing: it keeps what each previewed report printed, page by page,
// and can print the pages into a PDF file, as the program prints one, to be read back with
// pdfinfo and pdftotext.
#pragma once

#include "platform/gfx/EmfFormat.h"
#include "platform/sys/Errors.h"
#include "report/TCustomRpReport.h"
#include "report/TRpPreviewInterface.h"
#include "report/TRpPrinter.h"
#include "report/ui/RpPrintPages.h"

#include <QDir>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStringList>

#include <numeric>
#include <utility>
#include <vector>

namespace lb::test {

// Installed for its lifetime in place of the preview window. Every preview generates its pages
// at once and is recorded; with a folder set, each is also printed into "<n>.pdf" there.
class PrintedPreview : public report::TRpPreviewInterface {
public:
    // A text at its reference point in page pixels (96 per inch), where its characters start
    // and end whatever its alignment about that point, and the box it is clipped to (its
    // control's).
    struct Placed {
        QString text;
        int x = 0;
        int y = 0;
        int left = 0;
        int right = 0;
        QRect clip{};
    };
    struct Preview {
        QString title;                  // the preview window's title
        std::vector<QStringList> pages; // the texts each page prints, in drawing order
        std::vector<std::vector<Placed>> placed; // the same with their places
        QString pdf;                    // the PDF file of the pages; empty without a folder
        bool thumbnails = false;        // the window would show thumbnails and the search
        bool search = false;
        QString documentTitle;          // the name proposed for a PDF file of it
    };

    PrintedPreview() { Install(this); }
    ~PrintedPreview() override { Install(nullptr); }

    // Where previews are printed as PDF files; empty: no PDF.
    QString pdfFolder;
    // When set, the next preview fails with this text after its pages are made (a printer
    // that stops in the middle), as the engine passes on a failure of its window.
    QString failNext;
    std::vector<Preview> previews;

    // The last preview; fails the test when nothing was previewed.
    const Preview& last() const
    {
        static const Preview none;
        if (previews.empty()) {
            ADD_FAILURE() << "nothing was previewed";
            return none;
        }
        return previews.back();
    }
    // All texts of one page of the last preview as one line each.
    QStringList page(int number) const
    {
        const Preview& shown = last();
        return number >= 1 && number <= int(shown.pages.size()) ? shown.pages[std::size_t(number - 1)] : QStringList();
    }

    // Where `text` first stands on page `number` of the last preview; nullopt when it does not.
    std::optional<Placed> find(int number, const QString& text) const
    {
        const Preview& shown = last();
        if (number < 1 || number > int(shown.placed.size()))
            return std::nullopt;
        for (const Placed& placed : shown.placed[std::size_t(number - 1)])
            if (placed.text == text)
                return placed;
        return std::nullopt;
    }

    void ShowModal(report::TRpPrinter& device, const std::function<void()>& generate) override
    {
        if (generate)
            generate();
        if (!failNext.isEmpty()) {
            const QString failure = std::exchange(failNext, QString());
            throw Error(failure);
        }
        Preview shown;
        shown.title = device.JobTitle;
        if (const report::TCustomRpReport* report = device.ParentReport()) {
            shown.thumbnails = report->PrevShowThumbs;
            shown.search = report->PrevShowSearch;
            shown.documentTitle = report->DocumentTitle;
        }
        for (int number = 1; number <= device.PageCount(); ++number) {
            QStringList texts;
            std::vector<Placed> placed;
            const std::optional<gfx::EmfMetafile> stored = device.GetPage(number);
            quint32 align = 0;
            for (const gfx::EmfRecord& record : stored->records()) {
                if (record.type == gfx::emf::EMR_SETTEXTALIGN)
                    align = record.value & gfx::emf::kHorizontalAlignMask;
                if (record.type == gfx::emf::EMR_EXTTEXTOUTW) {
                    texts << record.text;
                    const int width = std::accumulate(record.dx.begin(), record.dx.end(), 0);
                    const int left = record.point.x() - (align == gfx::emf::TA_RIGHT ? width : align == gfx::emf::TA_CENTER ? width / 2 : 0);
                    placed.push_back({record.text, record.point.x(), record.point.y(), left, left + width, record.box});
                }
            }
            shown.pages.push_back(texts);
            shown.placed.push_back(std::move(placed));
        }
        if (!pdfFolder.isEmpty()) {
            shown.pdf = QDir(pdfFolder).filePath(QStringLiteral("%1.pdf").arg(previews.size() + 1));
            report::ui::RpPrintPdf(device, shown.pdf);
        }
        previews.push_back(std::move(shown));
    }
    void ShowModeless(report::TRpPrinter& device, const std::function<void()>& generate) override
    {
        ShowModal(device, generate);
    }
    void Print(report::TRpPrinter&, const std::function<void()>&) override {}
    bool PrinterSetup(report::TCustomRpReport&) override { return true; }

    // What pdfinfo tells of a PDF file (title, page count, page size...).
    static QString pdfInfo(const QString& pdf) { return run(QStringLiteral("pdfinfo"), {pdf}); }
    // The page count pdfinfo reads from a PDF file; -1 when it cannot.
    static int pdfPageCount(const QString& pdf)
    {
        const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(pdfInfo(pdf));
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }
    // The text of each page pdftotext finds in a PDF file.
    static QStringList pdfPages(const QString& pdf)
    {
        QStringList pages = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                                .split(QChar(u'\f'));
        if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

private:
    static QString run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(20000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
};

} // namespace lb::test
