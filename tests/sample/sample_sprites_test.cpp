#include <gtest/gtest.h>

#include <array>
#include <set>

#include "rom/address_map.h"
#include "rom/scene_codec.h"
#include "support/test_support.h"

// Reads the sample's frames, animations and enemy handlers with a small reader of its own, by
// the game's rules, so that the image is checked independently of the editor's sprite code.
namespace velmar {
namespace {

using namespace rommap;

const Bytes& rom() { return test::sampleImage().romData; }
int byteAt(RomOffset at) { return rom()[static_cast<std::size_t>(at)]; }
int wordAt(RomOffset at) { return byteAt(at) | byteAt(at + 1) << 8; }

// Bank 2 pointer: 0x8000-0xBFFF into bank 2, 0xC000 and up into bank 7.
RomOffset bank2Pointer(RomOffset entry)
{
    const int p = wordAt(entry);
    return (p & 0x3FFF) + (p >= 0xC000 ? 0x1C000 : 0x8000);
}

constexpr RomOffset kDataFirst = 0x88E0;
constexpr RomOffset kDataEnd = 0x9B48;
constexpr int kAnimationCount = 109;

struct FrameSet {
    RomOffset tiles;
    RomOffset attributes;
    int room;  // entries before the next table
};
constexpr FrameSet kEnemySet{0x8000, 0x8200, 256};
constexpr FrameSet kPlayerSet{0x8400, 0x8500, 128};

// The number of frames: the set ends at the first tile-list pointer whose low byte is 0xFF.
int frameCount(const FrameSet& set)
{
    int n = 0;
    while (n < set.room && byteAt(set.tiles + 2 * n) != 0xFF)
        ++n;
    return n;
}

// The (timer, frame) pairs of an animation: the first pair always counts, then the list ends at
// a timer of 0x00 or 0xFF. Empty if the data runs out of its area.
std::vector<std::pair<int, int>> animation(int a)
{
    std::vector<std::pair<int, int>> pairs;
    for (RomOffset p = bank2Pointer(0x8600 + 2 * a); p + 1 < kDataEnd; p += 2) {
        if (!pairs.empty() && (byteAt(p) == 0x00 || byteAt(p) == 0xFF))
            return pairs;
        pairs.emplace_back(byteAt(p), byteAt(p + 1));
    }
    return {};
}

// The game's enemy handler ranges and where each keeps its animation number.
struct HandlerRange {
    int first, last;
    RomOffset animationByte;
};
constexpr std::array<HandlerRange, 33> kRanges{{
    {0xC1F9, 0xC2AF, 0x1C213}, {0xC2B6, 0xC33B, 0x1C2D2}, {0xC344, 0xC3B8, 0x1C358},
    {0xC3BD, 0xC3F5, 0x1C3D1}, {0xC402, 0xC4CE, 0x1C422}, {0xC4D5, 0xC531, 0x1C4E7},
    {0xC53C, 0xC5BA, 0x1C546}, {0xC5C1, 0xC610, 0x1C5DB}, {0xC615, 0xC67A, 0x1C644},
    {0xC67F, 0xC6CD, 0x1C699}, {0xC6D4, 0xC734, 0x1C6DE}, {0xC739, 0xC7A4, 0x1C753},
    {0xC7AB, 0xC81D, 0x1C7C7}, {0xC828, 0xC8B3, 0x1C83F}, {0xC8BE, 0xC9B3, 0x1C8D2},
    {0xC9BA, 0xCA25, 0x1C9E0}, {0xCA2E, 0xCAA0, 0x1CA48}, {0xCAA5, 0xCAE4, 0x1CADB},
    {0xCAE9, 0xCB30, 0x1CB26}, {0xCB37, 0xCB6E, 0x1CB65}, {0xCB73, 0xCBBD, 0x1CBB4},
    {0xCBC2, 0xCC08, 0x1CBE5}, {0xCCA5, 0xCD38, 0x1CCCC}, {0xCD41, 0xCDFB, 0x1CD6B},
    {0xCE7F, 0xCFA1, 0x1CEB2}, {0xCFB6, 0xD0EA, 0x1D019}, {0xD0F7, 0xD1C2, 0x1D127},
    {0xD1C9, 0xD21E, 0x1D1CE}, {0xD223, 0xD2AD, 0x1D241}, {0xD32D, 0xD356, 0x1D34D},
    {0xD35B, 0xD408, 0x1D385}, {0xD443, 0xD524, 0x1D467}, {0xD52B, 0xD55B, 0x1D547},
}};

// The animation an enemy type shows, through its handler in the fixed bank; -1 when the handler
// lies in no range.
int enemyAnimation(int id)
{
    const int p = wordAt(kEnemyHandlers + 2 * id);
    EXPECT_GE(p, 0xC000) << "enemy " << id << ": handler pointer outside the fixed bank";
    const int handler = wordAt((p & 0x3FFF) + 0x1C000);
    for (const HandlerRange& range : kRanges) {
        if (handler >= range.first && handler <= range.last)
            return byteAt(range.animationByte);
    }
    return -1;
}

TEST(SampleSprites, FrameSetsAndAnimationsEndAndHoldTheirData)
{
    for (const FrameSet& set : {kEnemySet, kPlayerSet}) {
        const int n = frameCount(set);
        ASSERT_GT(n, 0);
        ASSERT_LT(n, set.room) << "the set never ends";
        for (int f = 0; f < n; ++f) {
            SCOPED_TRACE(testing::Message() << "set " << std::hex << set.tiles << " frame " << std::dec << f);
            const RomOffset tiles = bank2Pointer(set.tiles + 2 * f);
            const RomOffset attributes = bank2Pointer(set.attributes + 2 * f);
            const int count = byteAt(tiles);
            ASSERT_GT(count, 0);
            EXPECT_GE(tiles, kDataFirst);
            EXPECT_LE(tiles + 1 + 3 * count, kDataEnd);
            EXPECT_GE(attributes, kDataFirst);
            EXPECT_LE(attributes + count, kDataEnd);
            for (int i = 0; i < count; ++i) {
                EXPECT_EQ(byteAt(tiles + 1 + 3 * i) % 2, 0) << "an odd tile draws from the background bank";
                EXPECT_EQ(byteAt(attributes + i) & 0x3C, 0) << "only palette and mirror bits";
            }
        }
    }
    for (int a = 0; a < kAnimationCount; ++a) {
        const auto pairs = animation(a);
        ASSERT_FALSE(pairs.empty()) << "animation " << a << " runs out of its area";
        for (const auto& [timer, frame] : pairs)
            EXPECT_LT(frame, frameCount(kEnemySet)) << "animation " << a;
    }
}

// Every enemy type placed in any scene shows an animation (whose frames exist, as above); the
// stages' item animations show frames of the player set.
TEST(SampleSprites, ActorsResolveToExistingFrames)
{
    std::set<int> used;
    for (int sc = 0; sc < kSceneCount; ++sc) {
        SceneRecord s;
        ASSERT_TRUE(loadScene(rom(), 0, static_cast<std::uint8_t>(sc), s).ok());
        for (const EnemyRecord& e : s.enemies)
            used.insert(e.id);
    }
    EXPECT_EQ(used.size(), 41u) << "every enemy type appears somewhere";
    for (const int id : used) {
        const int a = enemyAnimation(id);
        ASSERT_GE(a, 0) << "enemy " << id << ": handler in no range";
        EXPECT_LT(a, kAnimationCount) << "enemy " << id;
    }
    for (int st = 0; st < kStageCount; ++st) {
        const auto pairs = animation(byteAt(kItemAnimations + st));
        ASSERT_FALSE(pairs.empty()) << "stage " << st;
        EXPECT_LT(pairs[0].second, frameCount(kPlayerSet)) << "stage " << st;
    }
}

}  // namespace
}  // namespace velmar
