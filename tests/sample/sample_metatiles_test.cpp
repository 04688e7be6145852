#include <gtest/gtest.h>

#include "support/test_support.h"

namespace velmar {
namespace {

int byteAt(RomOffset at) { return test::sampleImage().romData[static_cast<std::size_t>(at)]; }

constexpr RomOffset kMetatiles = 0x6000;   // table m at + 0x200 * m, 256 x 4 subtile numbers
constexpr RomOffset kAttributes = 0x7000;  // table m at + 0x100 * m, 256 bytes

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

}  // namespace
}  // namespace velmar
