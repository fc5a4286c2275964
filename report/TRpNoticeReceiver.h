// What an output device tells the window that watches it (the preview or the progress window).
#pragma once

namespace lb::report {

class TRpNoticeReceiver {
public:
    virtual ~TRpNoticeReceiver() = default;
    // `count` pages are finished and can be fetched.
    virtual void PagesAvailable(int count) = 0;
    // The run or the print job is `percent` done.
    virtual void ProgressChanged(int percent) = 0;
};

} // namespace lb::report
