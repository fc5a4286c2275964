// Common base of the report and its bands: the frame drawn around it and the zoom.
#pragma once

#include "report/TRpComponent.h"
#include "report/TRpFrame.h"

namespace lb::report {

class TRpBasePanel : public TRpComponent {
public:
    TRpFrame Frame;

    int Zoom() const { return zoom_; }
    // 0 is ignored; the report takes only 1 to 300 (TCustomRpReport::SetZoom).
    virtual void SetZoom(int zoom)
    {
        if (zoom != 0)
            zoom_ = zoom;
    }

private:
    int zoom_ = 100;
};

} // namespace lb::report
