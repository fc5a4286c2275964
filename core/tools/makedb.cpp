// Schema tool of the run command: writes a fresh database file when none exists.
#include "core/NewDatabase.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Errors.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    // An option is never a path: "--help" must not become a database file of that name.
    const bool option = args.size() == 2 && args[1].startsWith(QLatin1Char('-'));
    if (args.size() > 2 || option) {
        const bool help = option && (args[1] == QLatin1String("--help") || args[1] == QLatin1String("-h"));
        std::fprintf(help ? stdout : stderr, "usage: lb_makedb [path of kvdb.mdb]\n"
                                             "  without a path: works/kvdb.mdb in the data folder\n"
                                             "  ($LEDGERBOX_HOME, else $XDG_DATA_HOME/ledgerbox, else ~/.local/share/ledgerbox)\n");
        return help ? 0 : 2;
    }
    const QString path = args.size() == 2 ? args[1] : lb::AppPaths::databaseFile();
    // An existing database holds the user's data: it is never replaced. A folder of that name
    // is no database, and saying nothing would leave the program to fail on it at start.
    if (QFileInfo(path).isDir()) {
        std::fprintf(stderr, "lb_makedb: %s is a folder, not a database file\n", path.toLocal8Bit().constData());
        return 1;
    }
    if (QFileInfo::exists(path))
        return 0;
    try {
        lb::core::NewDatabase::create(path);
    } catch (const lb::Error& e) {
        std::fprintf(stderr, "lb_makedb: %s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
    std::printf("lb_makedb: wrote %s\n", path.toLocal8Bit().constData());
    return 0;
}
