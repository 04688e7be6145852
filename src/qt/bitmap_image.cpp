#include "bitmap_image.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QString>

#include "files/file_reader.h"
#include "rom/rom_file.h"

namespace velmar {

namespace {

// A picture of tiles is small; these bounds only keep a broken or hostile file from making the
// reader allocate gigabytes.
constexpr std::uintmax_t kMaxPictureFileBytes = 64u << 20;
constexpr int kMaxPictureSide = 4096;

}  // namespace

QImage toQImage(const Bitmap& bitmap)
{
    return toQImage(bitmap, 0, 0, bitmap.width(), bitmap.height());
}

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

QColor toQColor(ScreenColour colour)
{
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

Outcome<ImageReadResult> loadBitmapPng(const std::string& path, Bitmap& out)
{
    using R = Outcome<ImageReadResult>;
    // Read whole first, by the rules of every reader here: a FIFO or a device would block, and
    // anything that is not a regular file is refused with its reason.
    Bytes file;
    if (std::string reason = readWholeFile(pathFromUtf8(path), file, kMaxPictureFileBytes,
                                           "The file is larger than any picture of tiles");
        !reason.empty())
        return R::failure(ImageReadResult::Unreadable, std::move(reason));
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The size the header claims is checked before anything that large is made.
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide))
        return R::failure(ImageReadResult::Unreadable,
                          QString("The picture is %1 x %2 pixels; pictures larger than %3 x %3 are not read")
                              .arg(size.width()).arg(size.height()).arg(kMaxPictureSide).toStdString());
    QImage image = reader.read();
    if (image.isNull())
        return R::failure(ImageReadResult::Unreadable, reader.errorString().toStdString());
    image = image.convertToFormat(QImage::Format_RGB32);
    Bitmap bitmap(image.width(), image.height(), 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        ScreenColour* row = bitmap.row(y);
        for (int x = 0; x < image.width(); ++x)
            row[x] = rgb(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
    }
    out = std::move(bitmap);
    return {};
}

Outcome<WriteResult> saveBitmapPng(const Bitmap& bitmap, const std::string& path,
                                   std::optional<ScreenColour> transparentKey)
{
    if (bitmap.width() <= 0 || bitmap.height() <= 0)
        return Outcome<WriteResult>::failure(WriteResult::IoError, "The picture is empty");
    // Encoded in memory first: a full disk then cannot leave half a picture behind.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const QImage image = transparentKey ? toKeyedQImage(bitmap, *transparentKey) : toQImage(bitmap);
    if (!image.save(&buffer, "PNG"))
        return Outcome<WriteResult>::failure(WriteResult::IoError, "The picture could not be encoded as PNG");
    const auto* data = reinterpret_cast<const std::uint8_t*>(png.constData());
    return writeFileSafely(pathFromUtf8(path), Bytes(data, data + png.size()), false, FileOwner::User);
}

}  // namespace velmar
