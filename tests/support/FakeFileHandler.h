// Stands in for the desktop's handler for files (help, saved workbooks): an `xdg-open` first on
// PATH that notes each file it is given and ends with the exit code chosen.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <optional>

// For its lifetime PATH starts with a folder holding the handler; without an exit code the
// folder is empty and PATH holds nothing else, so that no handler of any kind is found.
class FakeFileHandler {
public:
    explicit FakeFileHandler(std::optional<int> exitCode = 0) : path_(qgetenv("PATH"))
    {
        if (!exitCode) {
            qputenv("PATH", folder_.path().toUtf8());
            return;
        }
        endWith(*exitCode);
        qputenv("PATH", folder_.path().toUtf8() + ':' + path_);
    }
    // Handlers still running are waited for, so that none outlives the stand-in.
    ~FakeFileHandler()
    {
        opened();
        qputenv("PATH", path_);
    }
    FakeFileHandler(const FakeFileHandler&) = delete;
    FakeFileHandler& operator=(const FakeFileHandler&) = delete;

    // From now on the handler ends with `exitCode` (non-zero: it found no program for the file).
    void endWith(int exitCode)
    {
        QFile script(folder_.filePath(QStringLiteral("xdg-open")));
        script.open(QIODevice::WriteOnly | QIODevice::Truncate);
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\nexit %2\n")
                         .arg(folder_.filePath(QStringLiteral("opened.txt")))
                         .arg(exitCode)
                         .toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The files handed to the handler so far, once every handler started has ended and the
    // program has heard so (and shown what it shows then), in the order the handlers noted
    // them: handlers running at once note theirs in either order, so a test that expects an
    // order calls this before it starts the next.
    QStringList opened() const
    {
        QElapsedTimer waited;
        waited.start();
        while (!QCoreApplication::instance()->findChildren<QProcess*>().isEmpty() && waited.elapsed() < 10000) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QThread::msleep(5);
        }
        QFile noted(folder_.filePath(QStringLiteral("opened.txt")));
        if (!noted.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(noted.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QByteArray path_;
    QTemporaryDir folder_;
};
