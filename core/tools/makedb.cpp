// Schema tool of the build: writes a fresh database file when none exists at the given path.
#include "core/NewDatabase.h"
#include "platform/sys/Errors.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: lb_makedb <path of kvdb.mdb>\n");
        return 2;
    }
    const QString path = args[1];
    // An existing database holds the user's data: it is never replaced.
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
