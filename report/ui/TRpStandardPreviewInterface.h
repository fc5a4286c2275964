// The engine's windows as the program installs them: the preview, printing with its progress
// window, and the print dialog on the printer chosen under 打印设置.
#pragma once

#include "report/TRpPreviewInterface.h"

#include <QPointer>

#include <functional>
#include <memory>

class QPrinter;

namespace lb::report::ui {

class TRpStandardPreview;

// The program makes one, installs it with TRpPreviewInterface::Install and keeps it until the
// end of the run; destroying it uninstalls it.
class TRpStandardPreviewInterface : public TRpPreviewInterface {
public:
    TRpStandardPreviewInterface();
    ~TRpStandardPreviewInterface() override;

    // The printer to print on: the main window's, chosen under 打印设置. Without a provider the
    // interface keeps a printer of its own.
    void SetPrinterProvider(std::function<QPrinter*()> provider) { provider_ = std::move(provider); }
    QPrinter& Printer();

    void ShowModal(TRpPrinter& device, const std::function<void()>& generate) override;
    void ShowModeless(TRpPrinter& device, const std::function<void()>& generate) override;
    // Prints on the printer chosen under 打印设置, or into the PDF file chosen there. Without a
    // system printer it asks for a PDF file instead, in a save dialog proposing the report's
    // DocumentTitle (else its title) + ".pdf" in the folder chosen last, at first the home
    // folder. An existing file is replaced only when the user answers 是 to
    // "文件…已经存在,是否覆盖?". A PDF is written as RpPrintPdf writes it: a cancelled or failed
    // print leaves no file and the old one as it was, and a failure throws lb::Error with its
    // cause (a disk without room named as such). With `generate` the report runs for the print first; when its pages then draw beyond
    // the sheet's width, it prints only after 是 to BeyondPaperQuestion (否 the default).
    void Print(TRpPrinter& device, const std::function<void()>& generate) override;
    // The print dialog; on OK the copies, the page range and the orientation (the report's
    // page, turned) become the report's.
    bool PrinterSetup(TCustomRpReport& report) override;

    static QString PdfDialogCaption();
    // "文件" + file + "已经存在,是否覆盖?"
    static QString ReplaceQuestion(const QString& file);
    // "报表内容超出纸张宽度,部分内容将不能打印,是否继续?"
    static QString BeyondPaperQuestion();

private:
    TRpStandardPreview* Show(TRpPrinter& device, bool modal);
    // The PDF file the user chooses for `device`'s pages; empty when the user gives up.
    QString AskPdfFile(const TRpPrinter& device);
    static bool MayReplace(const QString& file);

    std::function<QPrinter*()> provider_;
    std::unique_ptr<QPrinter> own_;
    QString lastFolder_;
};

} // namespace lb::report::ui
