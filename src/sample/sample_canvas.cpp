#include "sample/sample_canvas.h"

namespace velmar::sample {

std::uint32_t SampleRandom::next()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0)
{
}

std::uint8_t Canvas::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return pixels_[static_cast<std::size_t>(y * width_ + x)];
}

void Canvas::set(int x, int y, int value)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    pixels_[static_cast<std::size_t>(y * width_ + x)] = static_cast<std::uint8_t>(value & 3);
}

void Canvas::fill(int x, int y, int w, int h, int value)
{
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            set(column, row, value);
}

namespace {

// -1 for "leave the pixel as it is".
int artValue(char c)
{
    switch (c) {
    case '0': return 0;
    case '#': return 1;
    case '+': return 2;
    case 'o': return 3;
    default: return -1;
    }
}

}  // namespace

void Canvas::plot(int x, int y, std::initializer_list<std::string_view> rows)
{
    int row = y;
    for (const std::string_view line : rows) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            const int v = artValue(line[i]);
            if (v >= 0)
                set(x + static_cast<int>(i), row, v);
        }
        ++row;
    }
}

void Canvas::plotMirrored(int x, int y, std::initializer_list<std::string_view> rows)
{
    int row = y;
    for (const std::string_view line : rows) {
        const int last = static_cast<int>(line.size()) - 1;
        for (int i = 0; i <= last; ++i) {
            const int v = artValue(line[static_cast<std::size_t>(last - i)]);
            if (v >= 0)
                set(x + i, row, v);
        }
        ++row;
    }
}

void Canvas::overlay(const Canvas& other, int x, int y)
{
    for (int row = 0; row < other.height(); ++row)
        for (int column = 0; column < other.width(); ++column)
            if (const int v = other.at(column, row))
                set(x + column, y + row, v);
}

Canvas Canvas::crop(int x, int y, int w, int h) const
{
    Canvas out(w, h);
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column)
            out.set(column, row, at(x + column, y + row));
    return out;
}

PixelArray blankBank() { return PixelArray(256 * 64, 0); }

void putTile(PixelArray& bank, int tile, const Canvas& canvas, int x, int y)
{
    const auto base = static_cast<std::size_t>(tile & 0xFF) * 64;
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column)
            bank[base + static_cast<std::size_t>(row * 8 + column)] = canvas.at(x + column, y + row);
}

void putBlock(PixelArray& bank, int firstTile, const Canvas& canvas, int x, int y)
{
    putTile(bank, firstTile, canvas, x, y);
    putTile(bank, firstTile + 1, canvas, x, y + 8);
    putTile(bank, firstTile + 2, canvas, x + 8, y);
    putTile(bank, firstTile + 3, canvas, x + 8, y + 8);
}

void putSpriteStrip(PixelArray& bank, int firstTile, const Canvas& canvas, int x, int y)
{
    putTile(bank, firstTile, canvas, x, y);
    putTile(bank, firstTile + 1, canvas, x, y + 8);
}

}  // namespace velmar::sample
