// Where the program keeps its files: the program folder, works/, the backups and the text log.
#pragma once

#include <QString>

namespace lb {

class AppPaths {
public:
    // The program's folder (the books: works/, the backups, the year folders, the error log),
    // without a trailing slash. It is a data folder apart from the program and its build: the
    // folder a test has set, else LEDGERBOX_HOME, else $XDG_DATA_HOME/ledgerbox (an absolute
    // XDG_DATA_HOME only), else ~/.local/share/ledgerbox. Nothing here creates it.
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
