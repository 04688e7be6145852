#include "bitmap_image.h"

namespace velmar {

QImage toQImage(const Bitmap& bitmap) { return toQImage(bitmap, 0, 0, bitmap.width(), bitmap.height()); }

QImage toQImage(const Bitmap& bitmap, int x0, int y0, int width, int height)
{
    // RGB32 is the backing store's own format, so painting the picture copies it without a
    // conversion. Our colours hold red in the low byte; RGB32 wants 0xFFRRGGBB.
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const ScreenColour* in = bitmap.row(y0 + y) + x0;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const ScreenColour c = in[x];
            out[x] = 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
        }
    }
    return image;
}

QImage toKeyedQImage(const Bitmap& bitmap, ScreenColour transparentKey)
{
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height(); ++y) {
        const ScreenColour* in = bitmap.row(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bitmap.width(); ++x) {
            const ScreenColour c = in[x];
            out[x] = c == transparentKey ? 0u : qRgb(redOf(c), greenOf(c), blueOf(c));
        }
    }
    return image;
}

QColor toQColor(ScreenColour colour) { return QColor(redOf(colour), greenOf(colour), blueOf(colour)); }

}  // namespace velmar
