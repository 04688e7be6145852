#include "sample/sample_background_art.h"

#include <array>
#include <cstdlib>

#include "sample/sample_canvas.h"

namespace velmar::sample {

namespace {

enum class Floor { Grass, Slab, Rough, Sand, Marble };
enum class Fill { Dirt, Masonry, Rock, Sand, Marble };
enum class Detail { Birds, Stars, Stalactite };

struct Style {
    Floor floor;
    Fill fill;
    int brickWidth;
    int brickHeight;
    Detail detail;
    bool columns;  // pillars are stone columns; otherwise tree trunks
};

Style styleOf(Theme theme)
{
    switch (theme) {
    case Theme::Forest: return {Floor::Grass, Fill::Dirt, 8, 4, Detail::Birds, false};
    case Theme::Castle: return {Floor::Slab, Fill::Masonry, 16, 8, Detail::Stars, true};
    case Theme::Cave: return {Floor::Rough, Fill::Rock, 8, 8, Detail::Stalactite, true};
    case Theme::Lake: return {Floor::Grass, Fill::Dirt, 8, 8, Detail::Birds, false};
    case Theme::Sky: return {Floor::Marble, Fill::Marble, 16, 8, Detail::Stars, true};
    case Theme::Ruins: return {Floor::Sand, Fill::Sand, 8, 4, Detail::Birds, true};
    }
    return {};
}

// --- Textures that repeat every 16 pixels -----------------------------------------------------

void speckle(Canvas& c, SampleRandom& rng, int value, int percent)
{
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (rng.chance(percent))
                c.set(x, y, value);
}

// A filled ellipse that wraps around the 16x16 edges, so the texture tiles without seams.
void wrappedBlob(Canvas& c, int cx, int cy, int rx, int ry, int value)
{
    for (int y = -ry; y <= ry; ++y)
        for (int x = -rx; x <= rx; ++x)
            if (x * x * ry * ry + y * y * rx * rx <= rx * rx * ry * ry)
                c.set((cx + x + 16) % 16, (cy + y + 16) % 16, value);
}

Canvas bricks(int w, int h, int shift, SampleRandom& rng)
{
    Canvas c(16, 16);
    for (int y = 0; y < 16; ++y) {
        const int course = y / h;
        const int offset = (course % 2) ? w / 2 : 0;
        for (int x = 0; x < 16; ++x) {
            const int bx = (x + offset + shift) % w;
            const int by = y % h;
            int v = 2;
            if (by == h - 1 || bx == w - 1)
                v = 1;
            else if (by == 0 || bx == 0)
                v = 3;
            else if (rng.chance(6))
                v = 1;
            c.set(x, y, v);
        }
    }
    return c;
}

Canvas fillTexture(const Style& style, int variant, SampleRandom& rng)
{
    Canvas c(16, 16);
    switch (style.fill) {
    case Fill::Dirt:
        c.fillAll(2);
        speckle(c, rng, 1, 9);
        for (int i = 0; i < 3 + variant; ++i) {
            const int x = rng.below(16);
            const int y = rng.below(16);
            c.set(x, y, 1);
            c.set((x + 1) % 16, y, 1);
        }
        break;
    case Fill::Masonry: c = bricks(8, 8, 4 * variant, rng); break;
    case Fill::Rock:
        c.fillAll(1);
        for (int i = 0; i < 6; ++i) {
            const int cx = rng.below(16);
            const int cy = rng.below(16);
            wrappedBlob(c, cx, cy, 3 + rng.below(2), 2 + rng.below(2), 2);
            c.set((cx + 15) % 16, (cy + 15) % 16, 3);
        }
        break;
    case Fill::Sand:
        c.fillAll(2);
        speckle(c, rng, 1, 4);
        for (int i = 0; i < 5; ++i) {
            const int x = rng.below(16);
            const int y = rng.below(16);
            for (int k = 0; k < 3 + variant; ++k)
                c.set((x + k) % 16, y, 3);
        }
        break;
    case Fill::Marble:
        c.fillAll(3);
        for (int vein = 0; vein < 2; ++vein) {
            int x = rng.below(16);
            for (int y = 0; y < 16; ++y) {
                c.set(x, y, 2);
                x = (x + rng.between(-1, 1) + 16) % 16;
            }
        }
        speckle(c, rng, 2, 3);
        break;
    }
    return c;
}

constexpr std::array<int, 16> kSandRipple{1, 1, 0, 0, 0, 1, 1, 2, 2, 2, 1, 1, 0, 0, 1, 1};

Canvas floorTop(const Style& style, const Canvas& fill, int variant, SampleRandom& rng)
{
    Canvas c = fill;
    switch (style.floor) {
    case Floor::Grass:
        for (int x = 0; x < 16; ++x) {
            const int tip = rng.below(3);
            const int depth = 4 + variant + rng.below(2);
            for (int y = 0; y < tip; ++y)
                c.set(x, y, 0);
            for (int y = tip; y < depth; ++y)
                c.set(x, y, 3);
            if (rng.chance(60))
                c.set(x, depth, 1);
        }
        break;
    case Floor::Slab:
        c.fill(0, 0, 16, 1, 3);
        c.fill(0, 1, 16, 3, 2);
        c.fill(0, 4, 16, 1, 1);
        c.fill(8 * variant, 1, 1, 3, 1);
        c.set(8 * variant + 1, 1, 3);
        break;
    case Floor::Rough: {
        int top = 1;
        for (int x = 0; x < 16; ++x) {
            top = std::abs(top + rng.between(-1, 1)) % 4;
            for (int y = 0; y < top; ++y)
                c.set(x, y, 0);
            c.set(x, top, 3);
            c.set(x, top + 1, 2);
        }
        break;
    }
    case Floor::Sand:
        for (int x = 0; x < 16; ++x) {
            // A gentle ripple that meets itself at both edges.
            const int top = kSandRipple[static_cast<std::size_t>((x + 5 * variant) % 16)];
            for (int y = 0; y < top; ++y)
                c.set(x, y, 0);
            c.set(x, top, 3);
        }
        break;
    case Floor::Marble:
        c.fill(0, 0, 16, 1, 1);
        c.fill(0, 1, 16, 2, 3);
        c.fill(0, 3, 16, 1, 2);
        c.fill(0, 4, 16, 1, 1);
        break;
    }
    return c;
}

// The edge of a floor towards a drop: the last two columns open, a dark rim inside them.
Canvas openEdge(Canvas c, bool left)
{
    const int open0 = left ? 0 : 14;
    const int rim = left ? 2 : 13;
    for (int y = 0; y < 16; ++y) {
        c.set(open0, y, 0);
        c.set(open0 + 1, y, 0);
        if (c.at(rim, y) != 0)
            c.set(rim, y, 1);
    }
    return c;
}

// --- Pictures -----------------------------------------------------------------------------------

Canvas detail(Detail kind, int variant)
{
    Canvas c(16, 16);
    switch (kind) {
    case Detail::Birds:
        c.plot(0, 2 + variant,
               {
                   "..#...#.........",
                   "...#.#..........",
                   "....#...........",
                   ".........#..#...",
                   "..........##....",
               });
        break;
    case Detail::Stars:
        c.plot(0, 0,
               {
                   "................",
                   "...#............",
                   "..#o#...........",
                   "...#.........o..",
                   "................",
                   "................",
                   "........+.......",
                   "................",
                   "................",
                   "................",
                   "..............#.",
                   ".............#o#",
                   "..+...........#.",
                   "................",
               });
        break;
    case Detail::Stalactite:
        c.plot(0, 0,
               {
                   "#++++++++++++++#",
                   ".#+o++++++++++#.",
                   "..#o++++++++#...",
                   "..#o+++++++#....",
                   "...#o+++++#.....",
                   "...#o++++#......",
                   "....#o++#.......",
                   "....#o+#........",
                   ".....#+#........",
                   ".....#+#........",
                   "......#.........",
                   "......#.........",
               });
        if (variant)
            c.plot(10, 0, {"+#", "#.", "#."});
        break;
    }
    return c;
}

Canvas cloud()
{
    Canvas c(32, 16);
    c.plot(0, 0,
           {
               "................................",
               "..........######................",
               "........##oooooo##....####......",
               ".......#oooooooooo#..#oooo#.....",
               "....###ooooooooooooo#oooooo#....",
               "...#oooooooooooooooooooooooo#...",
               "..#oooooooooooooooooooooooooo#..",
               ".#oooooooooooooooooooooooooooo#.",
               ".#ooooooo+oooooooooooooo+ooooo#.",
               "#oooooo++oooooooooooooo++oooooo#",
               "#ooooooooooooooooooooooooooooo+#",
               "#+oooooooooooooooooooooooooo++#.",
               ".#++oooooooooooooooooooooo+++#..",
               "..##+++++++ooooooooooo+++++##...",
               "....#######+++++++++++######....",
               "...........###########..........",
           });
    return c;
}

Canvas block()
{
    Canvas c(16, 16);
    c.fillAll(2);
    for (int i = 0; i < 16; ++i) {
        c.set(i, 0, 3);
        c.set(0, i, 3);
        c.set(i, 15, 1);
        c.set(15, i, 1);
    }
    for (int i = 4; i <= 11; ++i) {
        c.set(i, 4, 1);
        c.set(4, i, 1);
        c.set(i, 11, 3);
        c.set(11, i, 3);
    }
    c.set(15, 0, 2);
    c.set(0, 15, 2);
    return c;
}

Canvas ladder()
{
    Canvas c(16, 16);
    for (int y = 0; y < 16; ++y) {
        c.set(1, y, 1);
        c.fill(2, y, 2, 1, 2);
        c.fill(12, y, 2, 1, 2);
        c.set(14, y, 1);
    }
    for (int y = 2; y < 16; y += 4) {
        c.fill(4, y, 8, 1, 2);
        c.fill(4, y + 1, 8, 1, 1);
    }
    return c;
}

Canvas water(SampleRandom& rng)
{
    Canvas c(16, 16);
    c.fillAll(2);
    for (int i = 0; i < 6; ++i) {
        const int x = rng.below(16);
        const int y = rng.below(16);
        const int v = i % 2 ? 1 : 3;
        for (int k = 0; k < 4; ++k)
            c.set((x + k) % 16, y, v);
    }
    return c;
}

Canvas waterTop(const Canvas& below)
{
    constexpr std::array<int, 16> kCrest{3, 2, 1, 1, 1, 2, 3, 4, 4, 5, 5, 5, 4, 4, 3, 3};
    Canvas c = below;
    for (int x = 0; x < 16; ++x) {
        const int crest = kCrest[static_cast<std::size_t>(x)];
        for (int y = 0; y < crest; ++y)
            c.set(x, y, 0);
        c.set(x, crest, 3);
        c.set(x, crest + 1, 3);
    }
    return c;
}

// A pillar 32 pixels wide (two pictures), repeating every 16 rows.
Canvas pillar(bool columns, SampleRandom& rng)
{
    Canvas c(32, 16);
    if (columns) {
        c.fill(8, 0, 16, 16, 2);
        c.fill(9, 0, 2, 16, 3);
        for (int x : {8, 23})
            c.fill(x, 0, 1, 16, 1);
        for (int x : {13, 17, 21})
            c.fill(x, 0, 1, 16, 1);
        return c;
    }
    c.fill(10, 0, 12, 16, 2);
    c.fill(10, 0, 1, 16, 1);
    c.fill(21, 0, 1, 16, 1);
    for (int i = 0; i < 5; ++i) {
        const int x = rng.between(12, 19);
        const int y = rng.below(16);
        const int len = rng.between(3, 7);
        for (int k = 0; k < len; ++k)
            c.set(x, (y + k) % 16, 1);
    }
    return c;
}

Canvas pillarTop(bool columns, const Canvas& body)
{
    Canvas c(32, 16);
    if (columns) {
        c.overlay(body, 0, 0);
        c.fill(4, 0, 24, 1, 3);
        c.fill(4, 1, 24, 2, 2);
        c.fill(4, 3, 24, 1, 1);
        c.fill(6, 4, 20, 1, 2);
        c.fill(6, 5, 20, 1, 1);
        return c;
    }
    // A broken tree stump with its rings showing.
    c.overlay(body, 0, 4);
    c.plot(10, 0,
           {
               "..#....#....",
               ".#+#..#+#.#.",
               "#++##++++#+#",
               "#+++++++++++",
           });
    c.fill(12, 5, 8, 1, 1);
    return c;
}

Canvas canopy(SampleRandom& rng)
{
    Canvas c(32, 32);
    c.fill(13, 24, 6, 8, 1);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int dx = 2 * x - 31;
            const int dy = 2 * y - 29;
            const int d = dx * dx + dy * dy;
            if (d > 29 * 29 + rng.between(-40, 40))
                continue;
            int v = 2;
            if (d > 26 * 26)
                v = 1;
            else if (dx + dy < -18 && rng.chance(35))
                v = 3;
            else if (dx + dy > 14 && rng.chance(30))
                v = 1;
            else if (rng.chance(6))
                v = 1;
            c.set(x, y, v);
        }
    }
    return c;
}

Canvas bush(SampleRandom& rng)
{
    Canvas c(32, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int dx = 2 * x - 31;
            const int dy = 2 * (y - 16);
            const int d = dx * dx * 144 + dy * dy * 225;
            if (d > 144 * 225 * 4)
                continue;
            int v = 2;
            if (d > 144 * 225 * 4 * 8 / 10)
                v = 1;
            else if (y < 9 && rng.chance(25))
                v = 3;
            else if (y > 12 && rng.chance(25))
                v = 1;
            c.set(x, y, v);
        }
    }
    return c;
}

Canvas spikes()
{
    Canvas c(16, 16);
    c.plot(0, 4,
           {
               ".o...o...o...o..",
               ".o...o...o...o..",
               ".o+..o+..o+..o+.",
               ".o+..o+..o+..o+.",
               "oo+.oo+.oo+.oo+.",
               "oo+#oo+#oo+#oo+#",
               "oo++oo++oo++oo++",
               "oo++oo++oo++oo++",
               "################",
               "++++++++++++++++",
               "+o+o+o+o+o+o+o+o",
               "################",
           });
    return c;
}

Canvas platform()
{
    Canvas c(16, 16);
    c.plot(0, 0,
           {
               "oooooooooooooooo",
               "++++++#+++++++#+",
               "++++++#+++++++#+",
               "+#++++#++++#++#+",
               "++++++#+++++++#+",
               "################",
               "..#+#......#+#..",
               "...#+#....#+#...",
               "....##....##....",
           });
    return c;
}

Canvas backWall(int variant)
{
    Canvas c(16, 16);
    for (int y = 0; y < 16; ++y) {
        const int offset = (y / 8) % 2 ? 8 : 0;
        for (int x = 0; x < 16; ++x) {
            if (y % 8 == 7 || (x + offset + 4 * variant) % 16 == 15)
                c.set(x, y, 1);
        }
    }
    return c;
}

// An arched window (16x32) set into the back wall.
Canvas window(const Canvas& wall)
{
    Canvas c(16, 32);
    c.overlay(wall, 0, 0);
    c.overlay(wall, 0, 16);
    for (int y = 1; y < 29; ++y) {
        for (int x = 2; x < 14; ++x) {
            const int dx = 2 * x - 15;
            const int dy = 2 * (y - 7);
            const bool inArch = y >= 7 || dx * dx + dy * dy <= 12 * 12;
            const bool inOpening = (y >= 7 && x >= 4 && x <= 11 && y <= 26) || (y < 7 && dx * dx + dy * dy <= 8 * 8);
            if (!inArch)
                continue;
            c.set(x, y, inOpening ? 0 : (x < 8 ? 3 : 2));
        }
    }
    c.fill(7, 4, 2, 23, 1);
    c.fill(4, 16, 8, 1, 1);
    c.fill(1, 27, 14, 1, 3);
    c.fill(1, 28, 14, 1, 1);
    return c;
}

Canvas door()
{
    Canvas c(16, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 1; x < 15; ++x) {
            const int dx = 2 * x - 15;
            const int dy = 2 * (y - 8);
            if (y < 8 && dx * dx + dy * dy > 14 * 14)
                continue;
            const bool rim = x == 1 || x == 14 || (y < 8 && dx * dx + dy * dy > 11 * 11);
            c.set(x, y, rim ? 1 : 2);
        }
    }
    for (int x : {5, 10})
        c.fill(x, 3, 1, 29, 1);
    for (int y : {10, 22})
        for (int x : {3, 7, 12})
            c.set(x, y, 3);
    c.fill(11, 17, 2, 2, 3);
    return c;
}

Canvas torch(const Canvas& wall)
{
    Canvas c(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (wall.at(x, y))
                c.set(x, y, 1);
    c.plot(3, 0,
           {
               "0000000000",
               "000o000000",
               "00oo+00000",
               "0+oo+00000",
               "0+ooo+0000",
               "+oo+o+0000",
               "+o++o+0000",
               "0+++o00000",
               "0#++#00000",
               "00##000000",
               "0####00000",
               "00##000000",
               "00##000000",
               "00##000000",
               "0####00000",
           });
    return c;
}

Canvas slope(bool up, SampleRandom& rng)
{
    Canvas c(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int edge = up ? 15 - x : x;
            if (y < edge)
                continue;
            int v = 2;
            if (y <= edge + 1)
                v = 3;
            else if (rng.chance(8))
                v = 1;
            c.set(x, y, v);
        }
    }
    return c;
}

Canvas fence()
{
    Canvas c(16, 16);
    c.plot(0, 2,
           {
               ".oo......oo.....",
               ".o+#.....o+#....",
               ".++#.....++#....",
               ".++#.....++#....",
               "oooooooooooooooo",
               "++++++++++++++++",
               "################",
               ".++#.....++#....",
               ".++#.....++#....",
               "oooooooooooooooo",
               "++++++++++++++++",
               "################",
               ".++#.....++#....",
               ".++#.....++#....",
           });
    return c;
}

Canvas rock()
{
    Canvas c(16, 16);
    c.plot(0, 5,
           {
               ".....######.....",
               "...##oooo++##...",
               "..#ooo++++++##..",
               ".#oo+++++++++##.",
               ".#o+++++#++++##.",
               "#o+++++#+++++++#",
               "#++++++#++++++##",
               "#+++++++#+++++##",
               ".##++++++++++##.",
               "..###########...",
               "................",
           });
    return c;
}

Canvas battlement(const Canvas& brick)
{
    Canvas c(16, 16);
    c.overlay(brick, 0, 0);
    c.fill(8, 0, 8, 8, 0);
    c.fill(0, 0, 8, 1, 3);
    c.fill(0, 0, 1, 8, 3);
    c.fill(7, 0, 1, 8, 1);
    c.fill(0, 7, 16, 1, 1);
    return c;
}

Canvas chain()
{
    Canvas c(16, 16);
    c.plot(5, 0,
           {
               "..##..",
               ".#oo#.",
               "#o..+#",
               "#o..+#",
               "#o..+#",
               "#o..+#",
               ".#++#.",
               "..##..",
               "..o+..",
               "..o+..",
               "..o+..",
               "..o+..",
               "..o+..",
               "..o+..",
               "..##..",
               "..##..",
           });
    return c;
}

Canvas reeds()
{
    Canvas c(16, 16);
    c.plot(0, 0,
           {
               "......##........",
               "......##.....#..",
               "......##.....#..",
               "..#...+.....##..",
               "..#...+.....+...",
               "..+...+..o..+...",
               "..+..o+..o..+.o.",
               "..+..o+..o..+.o.",
               ".o+..o+.o+..+.o.",
               ".o+..o+.o+..+o+.",
               ".o+.o++.o+.o++o.",
               ".o+.o+..o+.o+o+.",
               "+o+.o+.+o+.o+o+.",
               "+o++o+.+o++o+o+#",
               "+o++o+#+o++o+o+#",
               "################",
           });
    return c;
}

}  // namespace

PixelArray drawBackgroundBank(Theme theme, int variant)
{
    const Style style = styleOf(theme);
    SampleRandom rng(0xB00C0000u + static_cast<std::uint32_t>(themeBank(theme, variant)) * 977u);
    PixelArray bank = blankBank();
    const auto put = [&bank](Image image, const Canvas& c, int x = 0, int y = 0) {
        putBlock(bank, 4 * static_cast<int>(image), c, x, y);
    };

    const Canvas fill = fillTexture(style, variant, rng);
    const Canvas top = floorTop(style, fill, variant, rng);
    const Canvas brick = bricks(style.brickWidth, style.brickHeight, 4 * variant, rng);
    const Canvas wall = backWall(variant);
    const Canvas waterBody = water(rng);

    put(Image::Detail, detail(style.detail, variant));
    const Canvas sky = cloud();
    put(Image::CloudL, sky, 0, 0);
    put(Image::CloudR, sky, 16, 0);
    put(Image::FloorTop, top);
    put(Image::Fill, fill);
    put(Image::FloorEdgeL, openEdge(top, true));
    put(Image::FloorEdgeR, openEdge(top, false));
    put(Image::FillEdgeL, openEdge(fill, true));
    put(Image::FillEdgeR, openEdge(fill, false));
    put(Image::Brick, brick);
    put(Image::Block, block());
    put(Image::Ladder, ladder());
    put(Image::WaterTop, waterTop(waterBody));
    put(Image::Water, waterBody);
    const Canvas body = pillar(style.columns, rng);
    put(Image::PillarL, body, 0, 0);
    put(Image::PillarR, body, 16, 0);
    const Canvas cap = pillarTop(style.columns, body);
    put(Image::CapL, cap, 0, 0);
    put(Image::CapR, cap, 16, 0);
    const Canvas leaves = canopy(rng);
    put(Image::LeafTL, leaves, 0, 0);
    put(Image::LeafBL, leaves, 0, 16);
    put(Image::LeafTR, leaves, 16, 0);
    put(Image::LeafBR, leaves, 16, 16);
    const Canvas shrub = bush(rng);
    put(Image::BushL, shrub, 0, 0);
    put(Image::BushR, shrub, 16, 0);
    put(Image::Spikes, spikes());
    put(Image::Platform, platform());
    put(Image::BackWall, wall);
    const Canvas arch = window(wall);
    put(Image::WindowTop, arch, 0, 0);
    put(Image::WindowBottom, arch, 0, 16);
    const Canvas gate = door();
    put(Image::DoorTop, gate, 0, 0);
    put(Image::DoorBottom, gate, 0, 16);
    put(Image::Torch, torch(wall));
    put(Image::SlopeUp, slope(true, rng));
    put(Image::SlopeDown, slope(false, rng));
    put(Image::Fence, fence());
    put(Image::Rock, rock());
    put(Image::Battlement, battlement(brick));
    put(Image::Chain, chain());
    put(Image::Reeds, reeds());

    static constexpr char kGlyphs[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int i = 0; kGlyphs[i] != '\0'; ++i)
        drawGlyph(bank, kBankGlyphTile + i, kGlyphs[i]);
    return bank;
}

}  // namespace velmar::sample
