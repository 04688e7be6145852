#include "bitmap_image.h"

#include <QString>

namespace velmar {

QImage toQImage(const Bitmap& bitmap)
{
    // RGBX8888 keeps the bytes in R, G, B, X order: our layout, with the top byte made opaque.
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGBX8888);
    for (int y = 0; y < bitmap.height(); ++y) {
        const ScreenColour* in = bitmap.row(y);
        uchar* out = image.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            const ScreenColour c = in[x];
            out[4 * x] = static_cast<uchar>(c & 0xFF);
            out[4 * x + 1] = static_cast<uchar>((c >> 8) & 0xFF);
            out[4 * x + 2] = static_cast<uchar>((c >> 16) & 0xFF);
            out[4 * x + 3] = 0xFF;
        }
    }
    return image;
}

QColor toQColor(ScreenColour colour)
{
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

bool saveBitmapPng(const Bitmap& bitmap, const std::string& path)
{
    if (bitmap.width() <= 0 || bitmap.height() <= 0)
        return false;
    return toQImage(bitmap).convertToFormat(QImage::Format_RGB32).save(QString::fromStdString(path), "PNG");
}

}  // namespace velmar
