#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "actors/frame_sheet.h"
#include "actors/sprite_editor_views.h"
#include "rom/address_map.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using namespace rommap;

struct Point {
    int x;
    int y;
    bool operator==(const Point&) const = default;
};

// Enemy frames: 0 one sprite on its anchor; 1 one on its anchor and two as far from it as
// offsets go (64 left and up, 191 right); 2 behind a pointer below the bank; then the end.
// Every sprite pixel is opaque, each sprite sub-palette its own colour.
struct Fixture {
    Bytes rom = Bytes(kImageSize, 0);
    PixelArray spr = PixelArray(256 * 64, 1);
    std::array<std::uint8_t, 32> palette{};

    Fixture()
    {
        put(kEnemyFrameTiles, {0x00, 0x90, 0x10, 0x90, 0x00, 0x70, 0xFF, 0x80});
        put(kEnemyFrameAttributes, {0x40, 0x90, 0x44, 0x90, 0x40, 0x90});
        put(0x9000, {1, 0x10, 0x00, 0x00});  // ROM order: tile, X, Y
        put(0x9010, {3, 0x10, 0x00, 0x00, 0x10, 0xC0, 0xC0, 0x10, 0xBF, 0x00});
        put(0x9040, {0, 0, 0, 0, 1, 2, 3});
        for (int p = 0; p < 4; ++p)
            palette[static_cast<std::size_t>(17 + 4 * p)] = std::array{0x16, 0x1A, 0x12, 0x28}[p];
    }
    void put(RomOffset at, std::initializer_list<int> bytes) { test::putBytes(rom, at, bytes); }
    ScreenColour sprite(int subPalette) const
    {
        return nesRgbTable()[palette[static_cast<std::size_t>(17 + 4 * subPalette)]];
    }
    Bitmap sheet() const { return frameSheet(rom, FrameSet::Enemy, spr, spr, palette); }
    Bitmap strip(const Bytes& steps) const { return animationStrip(rom, FrameSet::Enemy, steps, spr, spr, palette); }
};

// The first pixel of colour c, row by row, in cell `cell` of a row of cells `pitch` apart.
std::optional<Point> find(const Bitmap& b, ScreenColour c, int cell, int pitch)
{
    for (int y = 0; y < b.height(); ++y)
        for (int x = cell * pitch; x < (cell + 1) * pitch; ++x)
            if (b.pixel(x, y) == c)
                return Point{x, y};
    return std::nullopt;
}

// Cells share their box lines, so n cells are n pitches and one line wide.
int pitchOf(const Bitmap& b, int cells)
{
    EXPECT_EQ((b.width() - 1) % cells, 0) << b.width();
    return (b.width() - 1) / cells;
}

// Frames stand on the same anchor in every cell; cells are numbered and boxed, and a frame that
// cannot be read is marked.
TEST(FrameSheet, FramesStandOnOneAnchorAndUnreadableOnesAreMarked)
{
    const Fixture f;
    const Bitmap sheet = f.sheet();
    const int pitch = pitchOf(sheet, 3);
    const auto a0 = find(sheet, f.sprite(0), 0, pitch);
    const auto a1 = find(sheet, f.sprite(1), 1, pitch);
    ASSERT_TRUE(a0 && a1);
    EXPECT_EQ(*a1, (Point{a0->x + pitch, a0->y})) << "frame 1 is far bigger than frame 0";
    EXPECT_EQ(find(sheet, f.sprite(2), 1, pitch), (Point{a1->x - 64, a1->y - 64}));
    EXPECT_EQ(find(sheet, f.sprite(3), 1, pitch), (Point{a1->x + 191, a1->y}));
    EXPECT_EQ(sheet.pixel(a0->x + 7, a0->y + 15), f.sprite(0)) << "an 8 x 16 sprite";
    for (const Point p : {Point{a0->x + 8, a0->y}, Point{a0->x - 64, a0->y - 64}, Point{a1->x + 100, a1->y}})
        EXPECT_EQ(sheet.pixel(p.x, p.y), kKeyColour) << "background at " << p.x << "," << p.y;

    const int areaTop = find(sheet, f.sprite(2), 1, pitch)->y;  // frame 1 reaches highest
    auto band = [&](int cell) {
        Bitmap b(pitch, areaTop);
        blit(b, 0, 0, pitch, areaTop, sheet, cell * pitch, 0);
        return b;
    };
    for (int cell = 0; cell < 3; ++cell) {
        EXPECT_TRUE(find(band(cell), kCellLabelColour, 0, pitch)) << "cell " << cell << " is numbered";
        EXPECT_EQ(find(sheet, kUnreadableFrameColour, cell, pitch).has_value(), cell == 2) << "cell " << cell;
    }
    EXPECT_NE(band(0), band(1));
    EXPECT_NE(band(1), band(2));
    EXPECT_EQ(sheet.pixel(0, sheet.height() / 2), kCellLineColour) << "boxed";

    // The animation preview marks it alike, and the frame box says what each number shows.
    Bitmap preview;
    drawAnimationPreview(preview, nullptr, nullptr, SpriteArt{f.spr, f.spr, f.palette});
    EXPECT_EQ(preview.pixel(kFrameOrigin, kFrameOrigin), kUnreadableFrameColour);
    EXPECT_EQ(animationFrameMeaning(f.rom, FrameSet::Enemy, 0), "Frame 00 of the enemy frames: 1 sprite.");
    EXPECT_EQ(animationFrameMeaning(f.rom, FrameSet::Enemy, 2),
              "Frame 02 cannot be read with the enemy frames, so a crossed box stands for it: Bad pointer $7000 at "
              "$08004.");
    Fixture past;
    past.put(kEnemyFrameAttributes + 6, {0x40, 0x90});
    EXPECT_EQ(animationFrameMeaning(past.rom, FrameSet::Enemy, 3),
              "Frame 03 is past the last enemy frame (02): the game reads it from the bytes behind the table, 0 "
              "sprites here.");

    Fixture none;
    none.put(kEnemyFrameTiles, {0xFF, 0x80});
    EXPECT_EQ(none.sheet(), Bitmap(8, 8, kKeyColour));
}

TEST(FrameSheet, AStripHasOneCellPerStep)
{
    const Fixture f;
    const Bitmap one = f.strip({0x08, 0x00});
    const Bitmap three = f.strip({0x08, 0x00, 0x10, 0x00, 0x08, 0x00, 0x07});
    const int pitch = pitchOf(three, 3);
    EXPECT_EQ(three.width() - 1, 3 * (one.width() - 1)) << "a last odd byte is no step";
    EXPECT_EQ(three.height(), one.height());
    auto cell = [&](int i) {
        Bitmap b(pitch + 1, three.height());
        blit(b, 0, 0, pitch + 1, three.height(), three, i * pitch, 0);
        return b;
    };
    EXPECT_EQ(cell(0), cell(2)) << "the same step twice";
    EXPECT_NE(cell(0), cell(1)) << "timers 08 and 10";
    EXPECT_TRUE(find(one, kCellTimerColour, 0, one.width()));

    const Bitmap mixed = f.strip({0x08, 0x01, 0x08, 0x00});
    EXPECT_TRUE(find(mixed, f.sprite(1), 0, pitchOf(mixed, 2))) << "step 0 shows frame 1";
    EXPECT_FALSE(find(mixed, f.sprite(1), 1, pitchOf(mixed, 2)));
    EXPECT_EQ(f.strip({}), Bitmap(8, 8, kKeyColour));
}

}  // namespace
}  // namespace velmar
