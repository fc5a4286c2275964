// Tests of the libjpeg picture decoder: colour and grey pictures, damaged and foreign data, files.
#include "platform/gfx/JpegImage.h"

#include "platform/sys/Errors.h"

#include <QColor>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

using lb::gfx::JpegImage;

namespace {

// Encodes a picture whose left half is one colour and right half another, so that decoding
// can be checked pixel by pixel (within JPEG's loss).
QByteArray encodeHalves(int width, int height, QColor left, QColor right, bool grey)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> line(size_t(width) * size_t(info.input_components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QColor c = x < width / 2 ? left : right;
            if (grey) {
                line[size_t(x)] = static_cast<unsigned char>(c.red());
            } else {
                line[size_t(x) * 3 + 0] = static_cast<unsigned char>(c.red());
                line[size_t(x) * 3 + 1] = static_cast<unsigned char>(c.green());
                line[size_t(x) * 3 + 2] = static_cast<unsigned char>(c.blue());
            }
        }
        JSAMPROW row = line.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray data(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return data;
}

bool near(QColor expected, QColor actual)
{
    return std::abs(expected.red() - actual.red()) < 12 && std::abs(expected.green() - actual.green()) < 12
           && std::abs(expected.blue() - actual.blue()) < 12;
}

} // namespace

TEST(JpegImage, DecodesColourAndGreyPictures)
{
    const QImage colour = JpegImage::decode(encodeHalves(64, 32, QColor(200, 30, 30), QColor(20, 40, 220), false));
    ASSERT_FALSE(colour.isNull());
    EXPECT_EQ(QSize(64, 32), colour.size());
    EXPECT_TRUE(near(QColor(200, 30, 30), colour.pixelColor(5, 16))) << colour.pixelColor(5, 16).name().toStdString();
    EXPECT_TRUE(near(QColor(20, 40, 220), colour.pixelColor(58, 16))) << colour.pixelColor(58, 16).name().toStdString();

    const QImage grey = JpegImage::decode(encodeHalves(16, 16, QColor(30, 30, 30), QColor(230, 230, 230), true));
    ASSERT_FALSE(grey.isNull());
    EXPECT_TRUE(near(QColor(30, 30, 30), grey.pixelColor(1, 1)));
    EXPECT_TRUE(near(QColor(230, 230, 230), grey.pixelColor(14, 14)));
}

TEST(JpegImage, ForeignOrDamagedDataGivesNullImageWithReason)
{
    QString reason;
    EXPECT_TRUE(JpegImage::decode(QByteArray("BM this is a bitmap, not a JPEG"), &reason).isNull());
    EXPECT_FALSE(reason.isEmpty());

    reason.clear();
    EXPECT_TRUE(JpegImage::decode(QByteArray(), &reason).isNull());
    EXPECT_FALSE(reason.isEmpty());

    // A file cut off after its header: libjpeg pads the missing data, or fails; either way no crash.
    const QByteArray whole = encodeHalves(32, 32, Qt::red, Qt::blue, false);
    const QImage cut = JpegImage::decode(whole.left(whole.size() / 3));
    if (!cut.isNull()) {
        EXPECT_EQ(QSize(32, 32), cut.size());
    }

    // Only the header's first bytes.
    EXPECT_TRUE(JpegImage::decode(whole.left(20)).isNull());
}

TEST(JpegImage, LoadReadsFilesAndRaisesFileOpenErrors)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("picture.JPG"));
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(encodeHalves(10, 8, Qt::green, Qt::green, false));
    file.close();

    EXPECT_TRUE(JpegImage::handlesFile(good));
    EXPECT_TRUE(JpegImage::handlesFile(QStringLiteral("a.jpeg")));
    EXPECT_FALSE(JpegImage::handlesFile(QStringLiteral("a.bmp")));
    EXPECT_EQ(QSize(10, 8), JpegImage::load(good).size());

    EXPECT_THROW(JpegImage::load(dir.filePath(QStringLiteral("missing.jpg"))), lb::FileOpenError);

    const QString bad = dir.filePath(QStringLiteral("bad.jpg"));
    QFile badFile(bad);
    ASSERT_TRUE(badFile.open(QIODevice::WriteOnly));
    badFile.write("not a picture");
    badFile.close();
    try {
        JpegImage::load(bad);
        FAIL() << "damaged file loaded";
    } catch (const lb::FileOpenError& e) {
        EXPECT_TRUE(e.message().contains(bad));
    }
}
