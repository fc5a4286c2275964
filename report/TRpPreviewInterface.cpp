// The installed implementation of the engine's windows.
#include "report/TRpPreviewInterface.h"

namespace lb::report {

namespace {

TRpPreviewInterface*& installed()
{
    static TRpPreviewInterface* windows = nullptr;
    return windows;
}

} // namespace

TRpPreviewInterface* TRpPreviewInterface::Installed()
{
    return installed();
}

void TRpPreviewInterface::Install(TRpPreviewInterface* windows)
{
    installed() = windows;
}

} // namespace lb::report
