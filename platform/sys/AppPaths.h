// Where the program keeps its files: the program folder, works/, the backups and the text log.
#pragma once

#include <QString>

namespace lb {

class AppPaths {
public:
    // The program's folder, without a trailing slash: the folder of the executable, or the
    // folder named by LEDGERBOX_HOME (tests point the program at a temporary folder this way),
    // or the one a test has set.
    static QString programFolder();
    static void setProgramFolder(const QString& folder); // empty: back to the default

    // Program folder + "/works/kvdb.mdb".
    static QString databaseFile();
    // Program folder + "/works".
    static QString worksFolder();
    // Program folder + "/" + name.
    static QString inProgramFolder(const QString& name);
    // The text error log: the program file's name with the extension ".txt".
    static QString errorLogFile();
};

} // namespace lb
