// Opening a file with the desktop's handler for its kind, and saying so when that fails.
#pragma once

#include <QString>

namespace lb::ui {

class DesktopFiles {
public:
    // Opens the local file `path` with the desktop's handler (xdg-open, else whatever Qt finds
    // for files). When there is no handler, or the handler ends with an error (it found no
    // program for the file's kind, or that program failed), shows the message `failure`
    // followed by the file's path, so that the user learns where the file is. A handler may run
    // the program it chose until that closes, so its end is awaited without blocking: the
    // message then comes as it ends. The application object owns the handler's QProcess until
    // it has ended.
    static void open(const QString& path, const QString& failure);
};

} // namespace lb::ui
