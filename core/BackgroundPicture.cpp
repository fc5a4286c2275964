// The main window's background picture: the built-in one, and pictures loaded from files.
#include "core/BackgroundPicture.h"

#include "platform/gfx/EmfMetafile.h"
#include "platform/gfx/EmfPlayer.h"
#include "platform/gfx/JpegImage.h"
#include "platform/sys/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>

namespace lb::core {

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

namespace {

bool hasSuffix(const QString& path, const char* suffix)
{
    return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

// The largest side a metafile is drawn at; a damaged frame must not ask for a giant image.
constexpr int maxMetafileSide = 4096;

QImage drawMetafile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > lb::gfx::EmfMetafile::kMaxBytes)
        throw lb::FileOpenError(QStringLiteral("Cannot read picture \"%1\"").arg(path));
    lb::gfx::EmfMetafile page;
    try {
        page = lb::gfx::EmfMetafile::fromBytes(file.readAll());
    } catch (const lb::Error& error) {
        throw lb::FileOpenError(QStringLiteral("Cannot read picture \"%1\": %2").arg(path, error.message()));
    }
    const QSizeF size = page.sizeLogical();
    if (!(size.width() >= 1 && size.height() >= 1))
        throw lb::FileOpenError(QStringLiteral("Cannot read picture \"%1\": it has no size").arg(path));
    const QSize pixels = size.toSize().boundedTo(QSize(maxMetafileSide, maxMetafileSide)).expandedTo(QSize(1, 1));
    QImage picture(pixels, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    lb::gfx::EmfPlayer::play(page, painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return picture;
}

} // namespace

QString BackgroundPicture::fileFilter()
{
    return QStringLiteral("图片文件 (*.jpg *.jpeg *.bmp *.png *.emf)");
}

bool BackgroundPicture::canShow(const QString& path) { return !hasSuffix(path, "wmf"); }

QString BackgroundPicture::refusalText()
{
    return QStringLiteral("不能显示WMF格式的图片,请选用JPEG、BMP、PNG或EMF格式的图片.");
}

QImage BackgroundPicture::load(const QString& path)
{
    if (!canShow(path))
        throw lb::FileOpenError(QStringLiteral("Cannot read picture \"%1\": WMF pictures cannot be shown").arg(path));
    if (lb::gfx::JpegImage::handlesFile(path))
        return lb::gfx::JpegImage::load(path);
    if (hasSuffix(path, "emf"))
        return drawMetafile(path);
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull())
        throw lb::FileOpenError(QStringLiteral("Cannot read picture \"%1\": %2").arg(path, reader.errorString()));
    return picture;
}

} // namespace lb::core
