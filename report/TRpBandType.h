// The kinds of band, with the name base of new bands and the caption a designer shows.
#pragma once

#include <QString>

namespace lb::report {

enum TRpBandType { rbTitle, rbPageHeader, rbDetail, rbPageFooter, rbSummary, rbGroupHeader, rbGroupFooter,
                   rbSubDetail, rbColumnHeader, rbOverlay, rbChild };

// "TitleBand", "PageHeaderBand", ...: a new band is named by its base and the first free number.
QString BandNameBase(TRpBandType type);
// "Title", "Page Header", ...
QString BandCaption(TRpBandType type);

} // namespace lb::report
