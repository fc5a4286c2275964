// The mark after the last argument of a function call in the queue.
#pragma once

#include "report/TRpEvElement.h"

namespace lb::report {

class TRpEvElementArgumentEnd : public TRpEvElement {
};

} // namespace lb::report
