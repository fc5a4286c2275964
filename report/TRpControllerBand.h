// A band that drives a record level of its own: its controller walks a dataset and prints
// the band once per record.
#pragma once

#include "report/TRpCustomBand.h"

#include <memory>

namespace lb::report {

class TRpController;

class TRpControllerBand : public TRpCustomBand {
public:
    ~TRpControllerBand() override;

    TRpController& Controller() const { return *controller_; }
    // The report or controller band under whose records this level prints. A master that
    // leads back to this band is refused (false); other kinds of component are ignored.
    TRpComponent* Master() const;
    bool SetMaster(TRpComponent* master);

protected:
    explicit TRpControllerBand(TCustomRpReport& report);

private:
    std::unique_ptr<TRpController> controller_;
};

} // namespace lb::report
