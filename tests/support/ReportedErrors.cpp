// Collects what reaches the program's error handler during a test, in place of the error form.
#include "support/ReportedErrors.h"

#include "platform/sys/Errors.h"

ReportedErrors::ReportedErrors()
{
    lb::ui::LbApplication::setErrorHandler([this](QObject* sender, const std::exception& error) {
        const auto* own = dynamic_cast<const lb::Error*>(&error);
        // The handler runs inside the catch of the guard, so the error is still in flight.
        reports_.push_back({sender, own ? own->shownText() : QString::fromUtf8(error.what()), std::current_exception()});
    });
}

ReportedErrors::~ReportedErrors() { lb::ui::LbApplication::setErrorHandler(nullptr); }
