#include "qt_bridge.h"

#include <QColor>

#include "files/app_info.h"

namespace velmar {

QImage toQImage(const Bitmap& bitmap)
{
    // RGBX8888 keeps the bytes in R, G, B, X order: our layout with the top byte set opaque.
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGBX8888);
    for (int y = 0; y < bitmap.height(); ++y) {
        const ScreenColour* in = bitmap.row(y);
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < bitmap.width(); ++x) {
            const ScreenColour c = in[x];
            // Assemble the bytes R, G, B, 0xFF in memory whatever the machine's byte order.
            auto* bytes = reinterpret_cast<std::uint8_t*>(out + x);
            bytes[0] = static_cast<std::uint8_t>(c & 0xFF);
            bytes[1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
            bytes[2] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
            bytes[3] = 0xFF;
        }
    }
    return image;
}

QColor toQColor(ScreenColour colour)
{
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

QString qAppTitle()
{
    return qs(appTitle());
}

}  // namespace velmar
