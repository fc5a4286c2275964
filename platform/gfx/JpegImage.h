// JPEG decoding with libjpeg, so that a JPEG file can serve as the main window's background picture.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace lb::gfx {

class JpegImage {
public:
    // Whether a file name has one of the extensions this loader takes, "jpg" or "jpeg"
    // (any letter case).
    static bool handlesFile(const QString& path);

    // Decodes JPEG data into an RGB image (grey, colour and CMYK sources alike).
    // Returns a null image when the data is not a JPEG picture or is damaged; `error`, when
    // given, then receives the decoder's reason.
    static QImage decode(const QByteArray& data, QString* error = nullptr);

    // Reads and decodes a file. Throws lb::FileOpenError naming the file and the reason when
    // it cannot be read or decoded.
    static QImage load(const QString& path);
};

} // namespace lb::gfx
