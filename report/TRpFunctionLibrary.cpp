// The functions report expressions may call: look-up and the program's library.
#include "report/TRpFunctionLibrary.h"

#include "report/RpBuiltinFunctions.h"

namespace lb::report {

const TRpLibraryEntry* TRpFunctionLibrary::find(const QString& name) const
{
    for (const TRpLibraryEntry& entry : entries_) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}

TRpFunctionLibrary& functionLibrary()
{
    static TRpFunctionLibrary library = [] {
        TRpFunctionLibrary built;
        registerBuiltinFunctions(built);
        return built;
    }();
    return library;
}

} // namespace lb::report
