// Every printed layout of the program, made by the name of its design class.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace lb::report {
class TRpReport;
}

namespace lb::layouts {

class LayoutCatalog {
public:
    // A new report laid out as the layout named ("Tfrroutdetail", "Tfrrproduct", ...), bound to
    // the data module's datasets; the caller owns it. lb::Error for a name no layout has.
    static std::unique_ptr<report::TRpReport> make(const QString& name);
    static QStringList names();
};

} // namespace lb::layouts
