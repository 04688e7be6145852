#pragma once

#include <cstdint>
#include <vector>

#include "gfx/nes_palette.h"

namespace velmar {

// A drawing surface with a persistent pixel buffer, (0, 0) at the top left. Writes outside it
// are clipped; reads outside it give black.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, ScreenColour backColour = 0xFFFFFF);

    int width() const { return width_; }
    int height() const { return height_; }
    ScreenColour backColour() const { return backColour_; }
    void setBackColour(ScreenColour c) { backColour_ = c; }

    // New size; the content is cleared to the back colour.
    void resize(int width, int height);
    void clear();
    void fill(int x, int y, int w, int h, ScreenColour c);

    void setPixel(int x, int y, ScreenColour c)
    {
        if (contains(x, y))
            pixels_[index(x, y)] = c;
    }
    ScreenColour pixel(int x, int y) const { return contains(x, y) ? pixels_[index(x, y)] : 0; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    const ScreenColour* row(int y) const
    {
        return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    ScreenColour* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
    const std::vector<ScreenColour>& pixels() const { return pixels_; }

    bool operator==(const Bitmap&) const = default;

private:
    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    ScreenColour backColour_ = 0xFFFFFF;
    std::vector<ScreenColour> pixels_;
};

// How a copied pixel meets the one it lands on.
enum class RasterOp { Copy, And, Or };

// Copies the w x h block at (sx, sy) of `src` to (dx, dy) of `dst`. `src` may be `dst`.
void blit(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy, RasterOp op = RasterOp::Copy);

// Scales the block (sx, sy, sw, sh) of `src` onto (dx, dy, dw, dh) of `dst`, nearest pixel.
// A negative source extent mirrors: origin (x + 7, y) with extent (-8, 8) is the 8 x 8 cell at
// (x, y) mirrored left to right. `src` may be `dst`, also overlapping.
void stretchBlit(Bitmap& dst, int dx, int dy, int dw, int dh, const Bitmap& src, int sx, int sy, int sw, int sh,
                 RasterOp op = RasterOp::Copy);

// Copies all of `src` to (dx, dy) of `dst` (clipped) except its pixels of colour `key`, which
// leave what is below them. With `opacity` below 256 each copied pixel is mixed with the one it
// lands on, opacity / 256 of it coming from `src`. `src` must not be `dst`.
void blitKeyed(Bitmap& dst, int dx, int dy, const Bitmap& src, ScreenColour key, int opacity = 256);

// Makes `mask` the source's size: white where the source has the key colour, black elsewhere.
// A key of -1 means the source's back colour.
void makeMask(const Bitmap& source, Bitmap& mask, std::int64_t keyColour);

}  // namespace velmar
