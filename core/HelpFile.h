// The program's manual: where the help command looks for it.
#pragma once

#include <QString>
#include <QStringList>

namespace lb::core {

// The manual is one HTML page, opened with the desktop's handler for files.
class HelpFile {
public:
    // The manual's file name, the same in every place.
    static QString fileName();

    // The places looked in, in this order: the books' data folder (lb::AppPaths), which lets
    // a shop keep a manual of its own; beside the program file, where the build puts it; and
    // the share folder of an installation (the program in <prefix>/bin, the manual in
    // <prefix>/share/ledgerbox). Absolute paths.
    static QStringList places();

    // The first of places() that is a file; empty when none is.
    static QString find();

    // The folder places() reckons from as the program file's: the running program's, unless
    // a test has set another (empty: back to the running program's).
    static void setProgramFileFolder(const QString& folder);
};

} // namespace lb::core
