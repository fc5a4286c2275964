// The functions report expressions may call: one entry per name, with its help texts.
#pragma once

#include "report/TRpEvElementFunction.h"

#include <functional>
#include <memory>
#include <vector>

namespace lb::report {

struct TRpLibraryEntry {
    QString description;  // syntax line, "|", one-line description (as the expression builder shows it)
    QString arguments;    // category digit and one letter per argument: N numeric, S text, B boolean, V any
    std::function<std::unique_ptr<TRpEvElementFunction>()> functionClass; // makes a new element
    QString name;
    QString vendor;
};

// Names compare without regard to case; the first entry of a name wins.
class TRpFunctionLibrary {
public:
    void registerFunction(TRpLibraryEntry entry) { entries_.push_back(std::move(entry)); }
    const TRpLibraryEntry* find(const QString& name) const;
    int count() const { return int(entries_.size()); }
    const TRpLibraryEntry& getEntry(int index) const { return entries_.at(std::size_t(index)); }

private:
    std::vector<TRpLibraryEntry> entries_;
};

// The program's library, holding the 59 built-in functions in their order.
TRpFunctionLibrary& functionLibrary();

} // namespace lb::report
