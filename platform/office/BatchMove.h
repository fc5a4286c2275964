// Moving the rows of one external table into another, field by field in order.
#pragma once

#include "platform/office/ExternalTable.h"

namespace lb::office {

class BatchMove {
public:
    // Appends every row of `source` to `destination`. Fields are matched by position: the
    // first source field fills the first destination field and so on; source fields beyond the
    // destination's are dropped, destination fields beyond the source's stay null. Each value is
    // converted to its destination field's kind (text to number by its digits, numbers to text
    // in their shortest form, dates as "yyyy-mm-dd"); a value that does not convert is null.
    // Returns the number of rows appended.
    static int append(const ExternalTable& source, ExternalTable& destination);

    // One value converted to the kind of `field`.
    static QVariant convert(const QVariant& value, const ExternalField& field);
};

} // namespace lb::office
