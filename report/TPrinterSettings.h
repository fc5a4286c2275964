// The settings of an output device: paper, orientation and the options of a print job.
#pragma once

#include "report/TRpPaperSize.h"

#include <QtGlobal>

namespace lb::report {

// Paper trays, in the order layouts store them; BinCode gives the device code of each.
enum class TRpBin { First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat,
                    LargeFormat, LargeCapacity, Cassette, Last };
int BinCode(TRpBin bin);

// Lengths are tenths of a millimetre. The device's own paper (used for the sizes Default and
// Custom) is A4 until the printing side says otherwise.
struct TPrinterSettings {
    int Copies = 1;
    bool Duplex = false;
    int ExtendedDuplex = 0;      // 0: derived from Duplex
    int PrintQuality = 600;
    int Collate = 0;
    int ColorOption = 0;
    bool UseStandardPrinter = true;
    bool PrintMetaFile = false;
    bool UseCustomBinCode = false;
    int CustomBinCode = 0;
    bool UseCustomPaperCode = false;
    int CustomPaperCode = 0;
    int PrinterIndex = -1;       // -1: the chosen printer
    TPrinterOrientation Orientation = TPrinterOrientation::Portrait;
    TRpBin OutputBin = TRpBin::First;
    TRpPaperSize PaperSize = TRpPaperSize::A4;
    int PaperWidth = 2100;       // the device's paper, portrait
    int PaperLength = 2970;
    qint32 MemoryLimit = 250000; // bytes of pages kept in memory before the temporary file

    // The paper of PaperSize in portrait: the table's size, or the device's for Default and Custom.
    int TabledWidth() const;
    int TabledLength() const;
};

} // namespace lb::report
