// System data: the value of each kind, after the prefix text.
#include "report/TRpSysData.h"

#include "platform/sys/Clock.h"
#include "platform/sys/TextFormat.h"
#include "report/TRpReport.h"

namespace lb::report {

TRpSysData::TRpSysData()
{
    ShowKind();
}

void TRpSysData::SetData(TRpSysDataType data)
{
    data_ = data;
    ShowKind();
}

void TRpSysData::SetText(const QString& text)
{
    text_ = text;
    ShowKind();
}

void TRpSysData::ShowKind()
{
    static const char* const names[] = {"Time", "Date", "Date/Time", "Page#", "Report title", "Detail count", "Detail no"};
    SetCaptionText(text_ + QLatin1Char('(') + QLatin1String(names[int(data_)]) + QLatin1Char(')'));
}

void TRpSysData::ProduceText()
{
    TCustomRpReport* report = ParentReport();
    QString value;
    switch (data_) {
    case TRpSysDataType::rpsTime: value = Clock::now().time().toString(QStringLiteral("HH:mm")); break;
    case TRpSysDataType::rpsDate: value = fmt::dateToStr(Clock::today()); break;
    case TRpSysDataType::rpsDateTime: value = fmt::dateTimeToStr(Clock::now()); break;
    case TRpSysDataType::rpsPageNumber: value = QString::number(report->PageNumber()); break;
    case TRpSysDataType::rpsReportTitle: value = report->ReportTitle; break;
    case TRpSysDataType::rpsDetailCount:
    case TRpSysDataType::rpsDetailNo:
        if (auto* rpReport = dynamic_cast<TRpReport*>(report)) {
            const TRpController& controller = rpReport->Controller();
            value = QString::number(data_ == TRpSysDataType::rpsDetailNo ? controller.DetailNumber() : controller.RecordCount());
        }
        break;
    }
    SetPrintCaption(text_ + value);
}

} // namespace lb::report
