// The main window's background picture: the built-in one, and pictures loaded from files.
#include "core/BackgroundPicture.h"

#include "platform/gfx/JpegImage.h"
#include "platform/sys/Errors.h"

#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>

QImage BackgroundPicture::builtIn()
{
    // Drawn rather than shipped: a calm gradient with the product name in the lower right.
    QImage picture(1024, 768, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 1024, 768);
    gradient.setColorAt(0.0, QColor(0xdf, 0xec, 0xf7));
    gradient.setColorAt(0.6, QColor(0x9c, 0xc2, 0xe5));
    gradient.setColorAt(1.0, QColor(0x4a, 0x7f, 0xb5));
    painter.fillRect(picture.rect(), gradient);
    painter.setPen(QColor(255, 255, 255, 200));
    QFont font = painter.font();
    font.setPixelSize(56);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(picture.rect().adjusted(0, 0, -48, -40), Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("朔栎进销存"));
    return picture;
}

QImage BackgroundPicture::load(const QString& path)
{
    if (lb::gfx::JpegImage::handlesFile(path))
        return lb::gfx::JpegImage::load(path);
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull())
        throw lb::FileOpenError(QStringLiteral("Cannot read picture \"%1\": %2").arg(path, reader.errorString()));
    return picture;
}
