#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>

#include "gfx/png_file.h"
#include "patch/crc32.h"
#include "support/test_support.h"

namespace velmar {
namespace {

// A PNG file put together here byte by byte, so that every kind of file the format allows can be
// made: any colour type, bit depth and interlacing, with a palette and transparency. The pixel
// data is stored uncompressed (deflate's stored blocks), each row with filter 0.
struct HandMadePng {
    int width = 13;
    int height = 11;
    int bitDepth = 8;
    int colourType = 2;
    bool interlaced = false;
    Bytes palette;       // PLTE: 3 bytes an entry
    Bytes transparency;  // tRNS
    bool emptyDataChunkFirst = false;
    // The value of channel `c` of the pixel at (x, y), below 2 ^ bitDepth.
    std::function<int(int x, int y, int c)> sample;
};

void put32(Bytes& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void putChunk(Bytes& out, const char* type, const Bytes& data)
{
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32(std::span(out.data() + start, out.size() - start)));
}

// The rows of one pass (the whole picture, or one of Adam7's seven), each after its filter byte.
void putRows(Bytes& raw, const HandMadePng& p, int x0, int y0, int dx, int dy)
{
    const int channels = std::array{1, 0, 3, 1, 2, 0, 4}[static_cast<std::size_t>(p.colourType)];
    for (int y = y0; y < p.height; y += dy) {
        if (x0 >= p.width)
            return;  // a pass with no columns has no rows either
        raw.push_back(0);
        std::uint32_t bits = 0;
        int count = 0;
        for (int x = x0; x < p.width; x += dx) {
            for (int c = 0; c < channels; ++c) {
                const int v = p.sample(x, y, c);
                if (p.bitDepth == 16) {
                    raw.push_back(static_cast<std::uint8_t>(v >> 8));
                    raw.push_back(static_cast<std::uint8_t>(v));
                    continue;
                }
                bits = bits << p.bitDepth | static_cast<std::uint32_t>(v);
                count += p.bitDepth;
                if (count == 8) {
                    raw.push_back(static_cast<std::uint8_t>(bits));
                    bits = 0;
                    count = 0;
                }
            }
        }
        if (count > 0)
            raw.push_back(static_cast<std::uint8_t>(bits << (8 - count)));
    }
}

Bytes encode(const HandMadePng& p)
{
    Bytes raw;
    if (!p.interlaced) {
        putRows(raw, p, 0, 0, 1, 1);
    } else {
        constexpr int kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& pass : kAdam7)
            putRows(raw, p, pass[0], pass[1], pass[2], pass[3]);
    }
    // zlib: header, one stored block (the pictures here hold far less than 65535 bytes), Adler-32.
    const int n = static_cast<int>(raw.size());
    Bytes zlib = {0x78, 0x01, 1};
    for (const int v : {n, n ^ 0xFFFF}) {
        zlib.push_back(static_cast<std::uint8_t>(v));
        zlib.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    zlib.insert(zlib.end(), raw.begin(), raw.end());
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put32(zlib, b << 16 | a);

    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    put32(header, static_cast<std::uint32_t>(p.width));
    put32(header, static_cast<std::uint32_t>(p.height));
    header.insert(header.end(),
                  {static_cast<std::uint8_t>(p.bitDepth), static_cast<std::uint8_t>(p.colourType), 0, 0,
                   static_cast<std::uint8_t>(p.interlaced ? 1 : 0)});
    putChunk(png, "IHDR", header);
    if (!p.palette.empty())
        putChunk(png, "PLTE", p.palette);
    if (!p.transparency.empty())
        putChunk(png, "tRNS", p.transparency);
    if (p.emptyDataChunkFirst)
        putChunk(png, "IDAT", {});
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", {});
    return png;
}

// Every kind of PNG reads as the same picture in our colours: grey levels widened to 8 bits,
// palette entries looked up, alpha dropped, 16-bit samples rounded to the nearest 8-bit value
// (0x01FF is 2, not the 1 its high byte says), Adam7's passes put back in place.
TEST(PngFile, EveryKindOfPngReadsAsItsColours)
{
    // 16-bit samples: multiples of 257 are exact 8-bit values; 0x01FF (1.99 x 257) and 0x24A4
    // (36.498 x 257) test the rounding.
    const auto wide = [](int x, int y, int c) {
        const int pick = (x + 2 * y + 3 * c) % 7;
        return pick == 0 ? 0x01FF : pick == 1 ? 0x24A4 : (x * 37 + y * 11 + c * 70) % 256 * 257;
    };
    const auto narrow = [](int depth) {
        return [depth](int x, int y, int c) { return (x * 5 + y * 3 + c * 7) % (1 << depth); };
    };
    const auto expected8 = [](int v, int depth) {
        return depth == 16 ? static_cast<int>(std::lround(v / 257.0)) : v * 255 / ((1 << depth) - 1);
    };
    Bytes palette;
    for (int i = 0; i < 256; ++i)
        palette.insert(
            palette.end(),
            {static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(i * 91), static_cast<std::uint8_t>(255 - i)});

    struct Kind {
        int colourType;
        int bitDepth;
    };
    const Kind kinds[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                          {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
    for (const Kind& kind : kinds) {
        for (const bool interlaced : {false, true}) {
            HandMadePng p;
            p.colourType = kind.colourType;
            p.bitDepth = kind.bitDepth;
            p.interlaced = interlaced;
            p.sample = kind.bitDepth == 16 ? std::function<int(int, int, int)>(wide) : narrow(kind.bitDepth);
            if (kind.colourType == 3) {
                p.palette.assign(palette.begin(), palette.begin() + 3 * (1 << kind.bitDepth));
                p.transparency = {0, 128};
            }
            SCOPED_TRACE("colour type " + std::to_string(kind.colourType) + ", " + std::to_string(kind.bitDepth)
                         + " bits" + (interlaced ? ", interlaced" : ""));

            Bitmap want(p.width, p.height, 0);
            for (int y = 0; y < p.height; ++y) {
                for (int x = 0; x < p.width; ++x) {
                    const auto channel = [&](int c) { return expected8(p.sample(x, y, c), p.bitDepth); };
                    if (kind.colourType == 3) {
                        const auto i = static_cast<std::size_t>(p.sample(x, y, 0)) * 3;
                        want.setPixel(x, y, rgb(palette[i], palette[i + 1], palette[i + 2]));
                    } else if (kind.colourType == 0 || kind.colourType == 4) {
                        want.setPixel(x, y, rgb(channel(0), channel(0), channel(0)));
                    } else {
                        want.setPixel(x, y, rgb(channel(0), channel(1), channel(2)));
                    }
                }
            }
            Bitmap got;
            const auto r = decodePng(encode(p), got);
            ASSERT_TRUE(r.ok()) << r.reason;
            EXPECT_EQ(got, want);
            // An empty data chunk, which the format allows, changes nothing.
            p.emptyDataChunkFirst = true;
            got = Bitmap();
            EXPECT_TRUE(decodePng(encode(p), got).ok());
            EXPECT_EQ(got, want);
        }
    }
}

// What we write reads back as the same pixels; with a transparent key its pixels come back black
// (the RGBA file keeps them transparent, and black), the others as they were.
TEST(PngFile, WhatIsWrittenReadsBack)
{
    Bitmap picture(37, 5, 0);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, rgb(x * 7, y * 50, (x * y) % 256));
    }
    picture.setPixel(3, 2, kKeyColour);
    picture.setPixel(36, 4, kKeyColour);

    test::TempDir dir;
    const std::string path = pathToUtf8(dir.file("picture.png"));
    ASSERT_TRUE(saveBitmapPng(picture, path).ok());
    Bitmap plain;
    ASSERT_TRUE(loadBitmapPng(path, plain).ok());
    EXPECT_EQ(plain, picture);

    ASSERT_TRUE(saveBitmapPng(picture, path, kKeyColour).ok());
    Bitmap keyed;
    ASSERT_TRUE(loadBitmapPng(path, keyed).ok());
    Bitmap want = picture;
    want.setPixel(3, 2, 0);
    want.setPixel(36, 4, 0);
    EXPECT_EQ(keyed, want);

    EXPECT_EQ(saveBitmapPng(Bitmap(), path).reason, "The picture is empty");
}

// A file that is no picture, or one whose header claims more than a picture of tiles ever has, is
// refused with the reason before anything that large is made, and the bitmap is left alone.
TEST(PngFile, RefusalsSayWhyAndLeaveTheBitmap)
{
    HandMadePng small;
    small.sample = [](int x, int y, int c) { return x + y + c; };
    const Bytes good = encode(small);
    const auto withSize = [&](std::uint32_t w, std::uint32_t h) {
        Bytes png = good;
        Bytes header(png.begin() + 16, png.begin() + 29);
        for (int i = 0; i < 4; ++i) {
            header[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(w >> (24 - 8 * i));
            header[static_cast<std::size_t>(4 + i)] = static_cast<std::uint8_t>(h >> (24 - 8 * i));
        }
        std::copy(header.begin(), header.end(), png.begin() + 16);
        return png;
    };
    Bytes damaged = good;
    damaged[46] ^= 0xFF;
    const std::string cutShort =
        "The PNG file is cut short: it ends before its last chunk";  // the first stored block's length no longer
                                                                     // matches its complement

    struct Case {
        const char* what;
        Bytes file;
        std::string reason;
    };
    const Case cases[] = {
        {"empty", {}, "The file is not a PNG picture"},
        {"a GIF", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}, "The file is not a PNG picture"},
        {"the signature alone", Bytes(good.begin(), good.begin() + 8), "The file is not a PNG picture"},
        {"the header without its CRC", Bytes(good.begin(), good.begin() + 30), cutShort},
        {"all but the end chunk", Bytes(good.begin(), good.end() - 12), cutShort},
        {"40000 x 40000", withSize(40000, 40000),
         "The picture is 40000 x 40000 pixels; pictures larger than 4096 x 4096 are not read"},
        {"8 x 4097", withSize(8, 4097),
         "The picture is 8 x 4097 pixels; pictures larger than 4096 x 4096 are not read"},
        {"no pixels", withSize(0, 11), "The picture has no pixels"},
        {"4096 x 4096 from a few bytes", withSize(4096, 4096),
         "The PNG file is damaged: its pixel data is too short for 4096 x 4096 pixels"},
        {"damaged data", damaged, "The PNG file cannot be read: Corrupt PNG"},
        {"cut inside the pixel data", Bytes(good.begin(), good.end() - 30), cutShort},
    };
    for (const Case& c : cases) {
        Bitmap kept(2, 2, rgb(1, 2, 3));
        const Outcome<ImageReadResult> r = decodePng(c.file, kept);
        EXPECT_EQ(r.code, ImageReadResult::Unreadable) << c.what;
        EXPECT_EQ(r.reason, c.reason) << c.what;
        EXPECT_EQ(kept, Bitmap(2, 2, rgb(1, 2, 3))) << c.what;
    }

    test::TempDir dir;
    Bitmap kept;
    EXPECT_EQ(loadBitmapPng(pathToUtf8(dir.file("missing.png")), kept).reason, "No such file or directory");
    EXPECT_EQ(loadBitmapPng(pathToUtf8(dir.path()), kept).reason, "Is a directory");
}

}  // namespace
}  // namespace velmar
