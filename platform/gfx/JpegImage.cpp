// JPEG decoding with libjpeg, so that a JPEG file can serve as the main window's background picture.
#include "platform/gfx/JpegImage.h"

#include "platform/sys/Errors.h"

#include <QFile>
#include <QFileInfo>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace lb::gfx {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return. It jumps back to
// the setjmp of the decoding phase that is running. Each phase lives in its own function that
// holds only plain locals, so that the jump skips no destructor.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void onFatalError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

extern "C" void onMessage(j_common_ptr) {} // warnings of damaged but readable data stay quiet

struct Decoder {
    jpeg_decompress_struct info;
    ErrorManager errors;
};

bool readHeader(Decoder& d, const unsigned char* data, unsigned long size)
{
    if (setjmp(d.errors.jump))
        return false;
    jpeg_mem_src(&d.info, data, size);
    jpeg_read_header(&d.info, TRUE);
    // Grey and YCbCr come out as RGB; CMYK and YCCK only as CMYK, converted below.
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&d.info);
    return true;
}

bool readLines(Decoder& d, unsigned char* bits, long bytesPerLine, unsigned char* cmykLine)
{
    if (setjmp(d.errors.jump))
        return false;
    while (d.info.output_scanline < d.info.output_height) {
        unsigned char* target = bits + bytesPerLine * long(d.info.output_scanline);
        JSAMPROW row = cmykLine ? cmykLine : target;
        jpeg_read_scanlines(&d.info, &row, 1);
        if (cmykLine) {
            // CMYK JPEG files are written with inverted ink values (Adobe's convention).
            for (JDIMENSION x = 0; x < d.info.output_width; ++x) {
                const unsigned char* p = cmykLine + 4 * x;
                target[3 * x + 0] = static_cast<unsigned char>(p[0] * p[3] / 255);
                target[3 * x + 1] = static_cast<unsigned char>(p[1] * p[3] / 255);
                target[3 * x + 2] = static_cast<unsigned char>(p[2] * p[3] / 255);
            }
        }
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

bool JpegImage::handlesFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
}

QImage JpegImage::decode(const QByteArray& data, QString* error)
{
    Decoder d{};
    d.info.err = jpeg_std_error(&d.errors.base);
    d.errors.base.error_exit = onFatalError;
    d.errors.base.output_message = onMessage;
    jpeg_create_decompress(&d.info);

    QImage image;
    bool ok = !data.isEmpty()
              && readHeader(d, reinterpret_cast<const unsigned char*>(data.constData()),
                            static_cast<unsigned long>(data.size()));
    if (ok) {
        image = QImage(int(d.info.output_width), int(d.info.output_height), QImage::Format_RGB888);
        ok = !image.isNull();
        if (ok) {
            QByteArray cmykLine;
            if (d.info.out_color_space == JCS_CMYK)
                cmykLine.resize(qsizetype(d.info.output_width) * 4);
            ok = readLines(d, image.bits(), long(image.bytesPerLine()),
                           cmykLine.isEmpty() ? nullptr : reinterpret_cast<unsigned char*>(cmykLine.data()));
        } else {
            std::snprintf(d.errors.message, sizeof d.errors.message, "picture too large");
        }
    } else if (data.isEmpty()) {
        std::snprintf(d.errors.message, sizeof d.errors.message, "empty data");
    }
    jpeg_destroy_decompress(&d.info);

    if (!ok) {
        if (error)
            *error = QString::fromLocal8Bit(d.errors.message);
        return QImage();
    }
    return image;
}

QImage JpegImage::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    QString reason;
    QImage image = decode(file.readAll(), &reason);
    if (image.isNull())
        throw FileOpenError(QStringLiteral("Cannot read picture \"%1\": %2").arg(path, reason));
    return image;
}

} // namespace lb::gfx
