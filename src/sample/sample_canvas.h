#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "gfx/pattern_tiles.h"

// Drawing helpers of the sample image: a small picture of 2-bit pixels, plotted from string art
// or by code, then cut into the 8x8 tiles of a pattern bank.
namespace velmar::sample {

// A fixed-seed xorshift generator: the sample must come out the same every time.
class SampleRandom {
public:
    explicit SampleRandom(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) { }

    std::uint32_t next();
    // 0 .. n-1 (n > 0).
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    // lo .. hi inclusive.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    // True about `percent` times in a hundred.
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint32_t state_;
};

class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint8_t at(int x, int y) const;
    // Points outside the canvas are ignored, so shapes may run over the edge.
    void set(int x, int y, int value);
    void fill(int x, int y, int w, int h, int value);
    void fillAll(int value) { fill(0, 0, width_, height_, value); }

    // String art with its top-left corner at (x, y): '.' leaves the pixel as it is, '0' clears
    // it, '#' is colour 1 (dark), '+' colour 2 (main), 'o' colour 3 (light).
    void plot(int x, int y, std::initializer_list<std::string_view> rows);
    // The same art, mirrored left to right.
    void plotMirrored(int x, int y, std::initializer_list<std::string_view> rows);
    // Draws another canvas at (x, y), keeping this canvas's pixels where the other one has 0.
    void overlay(const Canvas& other, int x, int y);

    // A copy of the region (x, y, w, h).
    Canvas crop(int x, int y, int w, int h) const;

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

// A decoded pattern bank of 256 tiles, all 0.
PixelArray blankBank();

// Copies the 8x8 block at (x, y) of the canvas into tile `tile` of the bank.
void putTile(PixelArray& bank, int tile, const Canvas& canvas, int x, int y);

// A 16x16 block as four tiles from `firstTile` in the column-first order of a subtile:
// top left, bottom left, top right, bottom right.
void putBlock(PixelArray& bank, int firstTile, const Canvas& canvas, int x, int y);

// An 8-pixel-wide, 16-pixel-high strip as the two tiles of one 8x16 sprite: `firstTile` (even)
// is the upper half, firstTile + 1 the lower.
void putSpriteStrip(PixelArray& bank, int firstTile, const Canvas& canvas, int x, int y);

}  // namespace velmar::sample
