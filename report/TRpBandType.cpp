// Names and captions of the band kinds.
#include "report/TRpBandType.h"

namespace lb::report {

namespace {

struct Names {
    const char* base;
    const char* caption;
};

constexpr Names kNames[] = {
    {"TitleBand", "Title"},
    {"PageHeaderBand", "Page Header"},
    {"DetailBand", "Detail"},
    {"PageFooterBand", "Page Footer"},
    {"SummaryBand", "Summary"},
    {"GroupHeaderBand", "Group Header"},
    {"GroupFooterBand", "Group Footer"},
    {"SubDetailBand", "Sub Detail"},
    {"ColumnHeaderBand", "Column Header"},
    {"OverlayBand", "Overlay"},
    {"ChildBand", "Child"},
};

} // namespace

QString BandNameBase(TRpBandType type)
{
    return QString::fromLatin1(kNames[type].base);
}

QString BandCaption(TRpBandType type)
{
    return QString::fromLatin1(kNames[type].caption);
}

} // namespace lb::report
