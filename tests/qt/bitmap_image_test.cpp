#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

#include "bitmap_image.h"

// The editor shows pictures through Qt and reads and writes PNG files through the core, as
// velmar-cli does. Here the two meet: what the core writes is what Qt shows. (How the core reads
// every kind of PNG, rounding 16-bit samples as Qt's readers do, is the core's own test.)
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

QImage argb(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

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

}  // namespace
}  // namespace velmar
