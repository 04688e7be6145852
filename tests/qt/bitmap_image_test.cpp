#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "bitmap_image.h"

// The editor shows pictures through Qt and reads and writes PNG files through the core, as
// velmar-cli does. Here the two meet: what the core writes is what Qt shows, and a PNG written by
// Qt (by the editor before, or any Qt program) reads as Qt reads it.
namespace velmar {
namespace {

Bitmap testPicture()
{
    Bitmap picture(41, 23, 0);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, rgb(x * 6, y * 11, (x * y * 5) % 256));
    }
    for (int x = 0; x < picture.width(); x += 3)
        picture.setPixel(x, x % picture.height(), kKeyColour);
    return picture;
}

QImage argb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage fromPng(const Bytes& png)
{
    return QImage::fromData(QByteArray(reinterpret_cast<const char*>(png.data()), static_cast<qsizetype>(png.size())),
                            "PNG");
}

TEST(PngAndQt, WhatTheCoreWritesIsWhatQtShows)
{
    const Bitmap picture = testPicture();
    EXPECT_EQ(argb(fromPng(encodePng(picture))), argb(toQImage(picture)));
    const QImage keyed = fromPng(encodePng(picture, kKeyColour));
    EXPECT_TRUE(keyed.hasAlphaChannel());
    EXPECT_EQ(argb(keyed), toKeyedQImage(picture, kKeyColour));
}

TEST(PngAndQt, APngQtWroteReadsAsQtReadsIt)
{
    const QImage base = argb(toQImage(testPicture()));
    QImage translucent = base;
    for (int y = 0; y < translucent.height(); ++y) {
        for (int x = 0; x < translucent.width(); ++x)
            translucent.setPixel(x, y, (translucent.pixel(x, y) & 0xFFFFFFu) | static_cast<QRgb>((x * 13 + y) % 256) << 24);
    }
    QImage wide(base.size(), QImage::Format_RGBA64);
    for (int y = 0; y < wide.height(); ++y) {
        for (int x = 0; x < wide.width(); ++x)
            wide.setPixelColor(x, y, QColor::fromRgba64(static_cast<quint16>(x * 1601), static_cast<quint16>(y * 2999),
                                                        static_cast<quint16>(x * y * 67), 0xFFFF));
    }
    const struct {
        const char* what;
        QImage image;
    } cases[] = {
        {"RGB", base.convertToFormat(QImage::Format_RGB32)},
        {"RGBA with every alpha", translucent},
        {"palette", base.convertToFormat(QImage::Format_Indexed8)},
        {"palette with alpha", translucent.convertToFormat(QImage::Format_Indexed8)},
        {"grey", base.convertToFormat(QImage::Format_Grayscale8)},
        {"16-bit grey", wide.convertToFormat(QImage::Format_Grayscale16)},
        {"16-bit RGB", wide},
        {"1-bit", base.convertToFormat(QImage::Format_Mono)},
    };
    for (const auto& c : cases) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(c.image.save(&buffer, "PNG")) << c.what;
        const QImage qt = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
        Bitmap core;
        const auto r = decodePng(Bytes(png.begin(), png.end()), core);
        ASSERT_TRUE(r.ok()) << c.what << ": " << r.reason;
        EXPECT_EQ(toQImage(core), qt) << c.what;
    }
}

}  // namespace
}  // namespace velmar
