// The windows and printers the engine reaches through the interface the program installs.
#pragma once

#include <functional>

namespace lb::report {

class TCustomRpReport;
class TRpPrinter;

// The engine has no windows of its own: the preview window, the printers and the print dialog
// live in the user-interface library, which installs one implementation at start-up. Without
// one, previews show nothing and nothing prints.
class TRpPreviewInterface {
public:
    virtual ~TRpPreviewInterface() = default;

    // Shows the pages of `device` while `generate` (which may be empty) produces them on this
    // thread; `generate` yields to events before each record, so the window stays alive. Modal
    // returns when the window has closed and the run has ended; an error of the run closes the
    // window and is passed on. Modeless returns when the run has ended, the window still open.
    virtual void ShowModal(TRpPrinter& device, const std::function<void()>& generate) = 0;
    virtual void ShowModeless(TRpPrinter& device, const std::function<void()>& generate) = 0;

    // Prints the pages of `device` in its page range, after asking where when needed, with a
    // progress window and its cancel button unless the device's report hides progress. With
    // `generate` (which may be empty) the run first makes the pages on this thread, the
    // progress window watching; a cancelled run prints nothing. The progress window is modal
    // while shown, so a run may then take every event.
    virtual void Print(TRpPrinter& device, const std::function<void()>& generate) = 0;
    // The print dialog for `report`; answers whether the user chose OK.
    virtual bool PrinterSetup(TCustomRpReport& report) = 0;

    // The installed implementation (not owned), or nullptr.
    static TRpPreviewInterface* Installed();
    static void Install(TRpPreviewInterface* windows);
};

} // namespace lb::report
