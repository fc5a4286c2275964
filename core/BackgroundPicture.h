// The main window's background picture: the built-in one, and pictures loaded from files.
#pragma once

#include <QImage>
#include <QString>

class BackgroundPicture {
public:
    // The picture the main window shows when no picture file is set or found.
    static QImage builtIn();

    // Loads a picture file: "jpg" and "jpeg" through libjpeg, other formats (bitmaps, icons,
    // PNG, ...) through Qt's readers. Throws lb::FileOpenError when it cannot be read.
    static QImage load(const QString& path);
};
