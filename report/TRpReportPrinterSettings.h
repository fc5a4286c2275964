// The printer choices a report keeps with its layout and copies to its output device.
#pragma once

#include "report/TPrinterSettings.h"

namespace lb::report {

struct TRpReportPrinterSettings {
    int Copies = 1;
    TRpBin OutputBin = TRpBin::First;
    bool Duplex = false;
    int FirstPage = 0;           // 0 and 0: all pages
    int LastPage = 0;
    bool UseStandardprinter = true;
    bool UseCustomBinCode = false;
    int CustomBinCode = 0;
    int ExtendedDuplex = 0;
    bool UseCustomPaperCode = false;
    int CustomPaperCode = 0;
    bool PrintMetaFile = false;
    qint32 MemoryLimit = 250000;
    int PrintQuality = 600;
    int Collate = 0;
    int ColorOption = 0;
    int PrinterIndex = -1;
};

} // namespace lb::report
