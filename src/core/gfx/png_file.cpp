#include "gfx/png_file.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "base/file_reader.h"
#include "base/paths.h"

namespace velmar {

namespace {

// Every block stb_image asks for while it decodes one picture is held to what that picture can
// need (set by decodePng); asking for more fails as running out of memory does, and the decoder
// gives up. Without it a small file whose compressed data unpacks to gigabytes would get them.
thread_local std::size_t pngAllocationLimit = 0;

void* pngMalloc(std::size_t size) { return size <= pngAllocationLimit ? std::malloc(size) : nullptr; }

void* pngRealloc(void* block, std::size_t size)
{
    return size <= pngAllocationLimit ? std::realloc(block, size) : nullptr;
}

}  // namespace

}  // namespace velmar

// PNG only: the other formats stb_image knows are code no picture of ours needs. Its messages are
// the short ones meant for users ("Corrupt PNG").
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_FAILURE_USERMSG
#define STBI_MALLOC(size) velmar::pngMalloc(size)
#define STBI_REALLOC(block, size) velmar::pngRealloc(block, size)
#define STBI_FREE(block) std::free(block)
#include <stb/stb_image.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace velmar {

namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// What decoding needs to know before it starts: the header's fields, how many bytes of
// compressed pixel data the file holds, and where its empty IDAT chunks are.
struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    std::uint64_t compressedBytes = 0;
    std::vector<std::size_t> emptyDataChunks;
    bool complete = false;  // the chunks run whole up to the end chunk (IEND)
};

std::uint32_t bigEndian32(const Bytes& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) << 24 | static_cast<std::uint32_t>(bytes[at + 1]) << 16
        | static_cast<std::uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
}

// The signature, the header chunk (always the first), and the lengths of the IDAT chunks. Only
// what decoding must not start without is checked here; stb_image checks the rest.
bool readPngHeader(const Bytes& file, PngHeader& header)
{
    constexpr std::size_t kHeaderEnd = 8 + 8 + 13;
    if (file.size() < kHeaderEnd || !std::equal(kPngSignature.begin(), kPngSignature.end(), file.begin()))
        return false;
    if (bigEndian32(file, 8) != 13 || !std::equal(file.begin() + 12, file.begin() + 16, "IHDR"))
        return false;
    header.width = bigEndian32(file, 16);
    header.height = bigEndian32(file, 20);
    header.bitDepth = file[24];
    header.colourType = file[25];
    // Each chunk: its length, its type, its data, a CRC.
    for (std::size_t at = kHeaderEnd + 4; at + 8 <= file.size();) {
        const std::uint64_t length = bigEndian32(file, at);
        if (length + 12 > file.size() - at)
            break;  // cut off inside this chunk
        const auto type = file.begin() + static_cast<std::ptrdiff_t>(at) + 4;
        if (std::equal(type, type + 4, "IEND")) {
            header.complete = true;
            break;
        }
        if (std::equal(type, type + 4, "IDAT")) {
            header.compressedBytes += length;
            if (length == 0)
                header.emptyDataChunks.push_back(at);
        }
        at += static_cast<std::size_t>(length) + 12;
    }
    return true;
}

int channelsOf(int colourType)
{
    switch (colourType) {
    case 0: return 1;  // grey
    case 2: return 3;  // RGB
    case 3: return 1;  // palette index
    case 4: return 2;  // grey and alpha
    case 6: return 4;  // RGBA
    default: return 0;
    }
}

// The nearest 8-bit value of a 16-bit sample, round(v / 257), as Qt's readers give it too.
int to8Bits(std::uint16_t v) { return (v + 128 - ((v + 128) >> 8)) >> 8; }

Outcome<ImageReadResult> unreadable(std::string reason)
{
    return Outcome<ImageReadResult>::failure(ImageReadResult::Unreadable, std::move(reason));
}

}  // namespace

Outcome<ImageReadResult> decodePng(const Bytes& file, Bitmap& out)
{
    if (file.size() > kMaxPictureFileBytes)
        return unreadable("The file is larger than any picture of tiles");
    PngHeader header;
    if (!readPngHeader(file, header))
        return unreadable("The file is not a PNG picture");
    // stb_image reads on past the end as if zeros followed, and names a chunk that is not there.
    if (!header.complete)
        return unreadable("The PNG file is cut short: it ends before its last chunk");
    if (header.width == 0 || header.height == 0)
        return unreadable("The picture has no pixels");
    if (header.width > kMaxPictureSide || header.height > kMaxPictureSide)
        return unreadable("The picture is " + std::to_string(header.width) + " x " + std::to_string(header.height)
                          + " pixels; pictures larger than " + std::to_string(kMaxPictureSide) + " x "
                          + std::to_string(kMaxPictureSide) + " are not read");
    const std::uint64_t w = header.width, h = header.height;
    // Deflate packs at most 1032 bytes into one: pixel data that could not fill the picture even
    // so is cut short, and nothing the size of the picture is made for it.
    const std::uint64_t leastPixelBytes =
        w * h * static_cast<std::uint64_t>(header.bitDepth * channelsOf(header.colourType)) / 8;
    if (leastPixelBytes > header.compressedBytes * 1032 + 1024)
        return unreadable("The PNG file is damaged: its pixel data is too short for " + std::to_string(w) + " x "
                          + std::to_string(h) + " pixels");

    // The largest block decoding makes: the unpacked rows at 16-bit RGBA with their filter bytes
    // (a little more when interlaced), or the compressed data gathered from the file; twice that,
    // as a buffer grows by doubling.
    // An empty IDAT chunk adds nothing to the picture, but stb_image copies its no bytes from a
    // buffer it has not made yet (memcpy from a null pointer): the chunks go before it reads.
    Bytes withoutEmptyChunks;
    if (!header.emptyDataChunks.empty()) {
        std::size_t from = 0;
        for (const std::size_t at : header.emptyDataChunks) {
            withoutEmptyChunks.insert(withoutEmptyChunks.end(), file.begin() + static_cast<std::ptrdiff_t>(from),
                                      file.begin() + static_cast<std::ptrdiff_t>(at));
            from = at + 12;
        }
        withoutEmptyChunks.insert(withoutEmptyChunks.end(), file.begin() + static_cast<std::ptrdiff_t>(from),
                                  file.end());
    }
    const Bytes& png = header.emptyDataChunks.empty() ? file : withoutEmptyChunks;

    pngAllocationLimit = 2 * std::max<std::uint64_t>(png.size(), h * (w * 8 + 8)) + 65536;
    const auto* data = png.data();
    const int size = static_cast<int>(png.size());
    int width = 0, height = 0, channels = 0;
    Bitmap bitmap;
    if (stbi_is_16_bit_from_memory(data, size)) {
        stbi_us* pixels = stbi_load_16_from_memory(data, size, &width, &height, &channels, 3);
        if (pixels) {
            bitmap = Bitmap(width, height, 0);
            const stbi_us* in = pixels;
            for (int y = 0; y < height; ++y) {
                ScreenColour* row = bitmap.row(y);
                for (int x = 0; x < width; ++x, in += 3)
                    row[x] = rgb(to8Bits(in[0]), to8Bits(in[1]), to8Bits(in[2]));
            }
            stbi_image_free(pixels);
        }
    } else {
        stbi_uc* pixels = stbi_load_from_memory(data, size, &width, &height, &channels, 3);
        if (pixels) {
            bitmap = Bitmap(width, height, 0);
            const stbi_uc* in = pixels;
            for (int y = 0; y < height; ++y) {
                ScreenColour* row = bitmap.row(y);
                for (int x = 0; x < width; ++x, in += 3)
                    row[x] = rgb(in[0], in[1], in[2]);
            }
            stbi_image_free(pixels);
        }
    }
    pngAllocationLimit = 0;
    if (bitmap.width() == 0)
        return unreadable(std::string("The PNG file cannot be read: ") + stbi_failure_reason());
    out = std::move(bitmap);
    return {};
}

Outcome<ImageReadResult> loadBitmapPng(const std::string& path, Bitmap& out)
{
    // Read whole first, by the rules of every reader here: a FIFO or a device would block, and
    // anything that is not a regular file is refused with its reason.
    Bytes file;
    if (std::string reason = readWholeFile(pathFromUtf8(path), file, kMaxPictureFileBytes,
                                           "The file is larger than any picture of tiles");
        !reason.empty())
        return unreadable(std::move(reason));
    return decodePng(file, out);
}

Bytes encodePng(const Bitmap& bitmap, std::optional<ScreenColour> transparentKey)
{
    if (bitmap.width() <= 0 || bitmap.height() <= 0)
        return {};
    const int channels = transparentKey ? 4 : 3;
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(bitmap.width()) * static_cast<std::size_t>(bitmap.height())
                   * static_cast<std::size_t>(channels));
    for (const ScreenColour c : bitmap.pixels()) {
        if (transparentKey && c == *transparentKey) {
            pixels.insert(pixels.end(), {0, 0, 0, 0});
            continue;
        }
        pixels.insert(pixels.end(),
                      {static_cast<std::uint8_t>(redOf(c)), static_cast<std::uint8_t>(greenOf(c)),
                       static_cast<std::uint8_t>(blueOf(c))});
        if (transparentKey)
            pixels.push_back(0xFF);
    }
    Bytes png;
    const auto append = [](void* context, void* data, int size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        static_cast<Bytes*>(context)->insert(static_cast<Bytes*>(context)->end(), bytes, bytes + size);
    };
    if (!stbi_write_png_to_func(append, &png, bitmap.width(), bitmap.height(), channels, pixels.data(),
                                bitmap.width() * channels))
        return {};
    return png;
}

Outcome<WriteResult> saveBitmapPng(const Bitmap& bitmap, const std::string& path,
                                   std::optional<ScreenColour> transparentKey)
{
    if (bitmap.width() <= 0 || bitmap.height() <= 0)
        return Outcome<WriteResult>::failure(WriteResult::IoError, "The picture is empty");
    // Encoded in memory first: a full disk then cannot leave half a picture behind.
    const Bytes png = encodePng(bitmap, transparentKey);
    if (png.empty())
        return Outcome<WriteResult>::failure(WriteResult::IoError, "The picture could not be encoded as PNG");
    return writeFileSafely(pathFromUtf8(path), png, false, FileOwner::User);
}

}  // namespace velmar
