// System data printed as text: the time, the date, the page number, the title, detail counts.
#pragma once

#include "report/TRpCustomLabel.h"

namespace lb::report {

enum class TRpSysDataType { rpsTime, rpsDate, rpsDateTime, rpsPageNumber, rpsReportTitle, rpsDetailCount, rpsDetailNo };

class TRpSysData : public TRpCustomLabel {
public:
    TRpSysData();

    TRpSysDataType Data() const { return data_; }
    void SetData(TRpSysDataType data);
    // Printed before the value ("第" before a page number).
    const QString& Text() const { return text_; }
    void SetText(const QString& text);

protected:
    void ProduceText() override;

private:
    void ShowKind();

    TRpSysDataType data_ = TRpSysDataType::rpsTime;
    QString text_;
};

} // namespace lb::report
