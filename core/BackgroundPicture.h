// The main window's background picture: the built-in one, and pictures loaded from files.
#pragma once

#include <QImage>
#include <QString>

namespace lb::core {

class BackgroundPicture {
public:
    // The picture the main window shows when no picture file is set or found.
    static QImage builtIn();

    // The pictures that can be shown: JPEG (libjpeg), BMP and PNG (Qt's readers) and EMF (our
    // metafile player). Windows metafiles (WMF) cannot: nothing here draws them.
    static QString fileFilter();
    static bool canShow(const QString& path); // false for a WMF file
    static QString refusalText();             // the message that refuses a WMF file

    // Loads a picture file: "jpg" and "jpeg" through libjpeg, "emf" drawn by our metafile
    // player, other formats through Qt's readers. Throws lb::FileOpenError when it cannot be
    // read (a WMF file included).
    static QImage load(const QString& path);
};

} // namespace lb::core
