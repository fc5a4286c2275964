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
    bool HasPrinter() override;
    void PrintStoredPages(TRpPrinter& device) override;
    bool PrinterSetup(TCustomRpReport& report) override;

    // The text shown when nothing can print.
    static QString NoPrinterText();

private:
    TRpStandardPreview* Show(TRpPrinter& device, bool modal);

    std::function<QPrinter*()> provider_;
    std::unique_ptr<QPrinter> own_;
};

} // namespace lb::report::ui
