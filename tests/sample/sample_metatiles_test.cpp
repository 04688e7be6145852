#include <gtest/gtest.h>

#include "sample/sample_metatiles.h"
#include "support/test_support.h"

namespace velmar {
namespace {

using sample::metatileNumber;
using sample::Role;

int byteAt(RomOffset at) { return test::sampleImage().romData[static_cast<std::size_t>(at)]; }

constexpr RomOffset kMetatiles = 0x6000;   // table m at + 0x200 * m, 256 x 4 subtile numbers
constexpr RomOffset kAttributes = 0x7000;  // table m at + 0x100 * m, 256 bytes

// Blocks whose quarters use different sub-palettes, with the attribute byte they must have:
// top left in bits 0-1, top right 2-3, bottom left 4-5, bottom right 6-7.
TEST(SampleMetatiles, AttributeBytesFollowTheQuarterLayout)
{
    struct Case {
        Role role;
        int tl, bl, tr, br;
    };
    const Case cases[] = {{Role::Door, 1, 1, 3, 3}, {Role::Torch, 1, 3, 3, 3}, {Role::WaterPlatform, 1, 3, 1, 3}};
    for (const Case& c : cases) {
        const int expected = c.tl | c.tr << 2 | c.bl << 4 | c.br << 6;
        EXPECT_EQ(byteAt(kAttributes + metatileNumber(c.role, false)), expected) << static_cast<int>(c.role);
    }
}

// Entries 128-255 of metatile table m are entries 0-127 of table m + 1; their attributes, kept
// in separate tables, must agree, or a block would change colour with the tileset showing it.
TEST(SampleMetatiles, SharedHalvesKeepTheirColours)
{
    for (int m = 0; m < 3; ++m) {
        for (int i = 0; i < 128; ++i) {
            ASSERT_EQ(byteAt(kMetatiles + 0x200 * m + 4 * (128 + i)), byteAt(kMetatiles + 0x200 * (m + 1) + 4 * i));
            EXPECT_EQ(byteAt(kAttributes + 0x100 * m + 128 + i), byteAt(kAttributes + 0x100 * (m + 1) + i))
                << "table " << m << " entry " << 128 + i;
        }
    }
}

// Every stage's tileset draws its ground block from a filled subtile: no stage shows a blank floor.
TEST(SampleMetatiles, EveryStageHasAFloor)
{
    for (int st = 0; st < 22; ++st) {
        const int tileset = byteAt(0x2F00 + st);
        const RomOffset subtiles = 0x4000 + 0x400 * ((tileset >> 2) & 7);
        const int floor = byteAt(kMetatiles + 0x200 * (tileset & 3) + 4 * metatileNumber(Role::GroundTop, false));
        EXPECT_LT(tileset, 0x20) << "stage " << st;
        EXPECT_NE(floor, 0) << "stage " << st;
        EXPECT_NE(byteAt(subtiles + 4 * floor), 0) << "stage " << st;
    }
}

}  // namespace
}  // namespace velmar
