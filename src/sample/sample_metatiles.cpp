#include "sample/sample_metatiles.h"

#include <array>

#include "rom/address_map.h"
#include "sample/sample_background_art.h"

namespace velmar::sample {

namespace {

constexpr RomOffset kSubtileTables = 0x4000;  // 8 tables of 256 x 4 tile numbers
constexpr RomOffset kSubtileTableSize = 0x400;
constexpr int kSubtileTableCount = 8;
constexpr RomOffset kMetatileHalves = 0x6000;  // table m = halves m and m + 1
constexpr RomOffset kHalfSize = 0x200;         // 128 metatiles x 4 subtile numbers
constexpr int kHalfCount = 5;
constexpr int kMetatileTableCount = 4;
constexpr RomOffset kAttributeTables = 0x7000;  // 4 tables of 256 attribute bytes
constexpr RomOffset kAttributeTableSize = 0x100;

enum class Look { Natural, Masonry, Deep, Wet, High };

struct Quarter {
    Image image;
    int palette;  // background sub-palette 0-3
};
// Column-first, like the ROM: top left, bottom left, top right, bottom right.
using BlockDef = std::array<Quarter, 4>;

BlockDef quarters(Image tl, Image bl, Image tr, Image br, int p) { return {{{tl, p}, {bl, p}, {tr, p}, {br, p}}}; }
BlockDef uniform(Image i, int p) { return quarters(i, i, i, i, p); }
BlockDef topBottom(Image top, Image bottom, int p) { return quarters(top, bottom, top, bottom, p); }
BlockDef leftRight(Image left, Image right, int p) { return quarters(left, left, right, right, p); }

BlockDef withPalettes(BlockDef b, int top, int bottom)
{
    b[0].palette = b[2].palette = top;
    b[1].palette = b[3].palette = bottom;
    return b;
}

// The building blocks as the natural look draws them.
BlockDef naturalBlock(Role role)
{
    using enum Image;
    switch (role) {
    case Role::Sky: return uniform(Blank, 0);
    case Role::Detail: return quarters(Detail, Blank, Blank, Blank, 0);
    case Role::Cloud: return quarters(CloudL, Blank, CloudR, Blank, 0);
    case Role::GroundTop: return topBottom(FloorTop, Fill, 1);
    case Role::Ground: return uniform(Fill, 1);
    case Role::GroundTopEdgeL: return quarters(FloorEdgeL, FillEdgeL, FloorTop, Fill, 1);
    case Role::GroundTopEdgeR: return quarters(FloorTop, Fill, FloorEdgeR, FillEdgeR, 1);
    case Role::GroundEdgeL: return quarters(FillEdgeL, FillEdgeL, Fill, Fill, 1);
    case Role::GroundEdgeR: return quarters(Fill, Fill, FillEdgeR, FillEdgeR, 1);
    case Role::Brick: return uniform(Brick, 3);
    case Role::Block: return uniform(Block, 0);
    case Role::Platform: return topBottom(Platform, Blank, 1);
    case Role::Ladder: return leftRight(Ladder, Blank, 1);
    case Role::WaterTop: return topBottom(WaterTop, Water, 3);
    case Role::Water: return uniform(Water, 3);
    case Role::Pillar: return leftRight(PillarL, PillarR, 1);
    case Role::PillarTop: return quarters(CapL, PillarL, CapR, PillarR, 1);
    case Role::Canopy: return quarters(LeafTL, LeafBL, LeafTR, LeafBR, 2);
    case Role::Bush: return quarters(Blank, BushL, Blank, BushR, 2);
    case Role::Spikes: return topBottom(Blank, Spikes, 0);
    case Role::BackWall: return uniform(BackWall, 3);
    case Role::Window: return quarters(WindowTop, WindowBottom, BackWall, BackWall, 3);
    case Role::Door: return {{{DoorTop, 1}, {DoorBottom, 1}, {BackWall, 3}, {BackWall, 3}}};
    case Role::Torch: return {{{Torch, 1}, {BackWall, 3}, {BackWall, 3}, {BackWall, 3}}};
    // The hills reuse the floor texture, drawn in the plant colours.
    case Role::HillUp: return quarters(Blank, SlopeUp, SlopeUp, Fill, 2);
    case Role::HillDown: return quarters(SlopeDown, Fill, Blank, SlopeDown, 2);
    case Role::Fence: return topBottom(Blank, Fence, 1);
    case Role::Rock: return quarters(Blank, Rock, Blank, Blank, 0);
    case Role::Battlement: return topBottom(Battlement, Brick, 3);
    case Role::Chain: return leftRight(Chain, Blank, 0);
    case Role::Reeds: return topBottom(Blank, Reeds, 2);
    case Role::WaterPlatform: return {{{Platform, 1}, {WaterTop, 3}, {Platform, 1}, {WaterTop, 3}}};
    case Role::PlatformLadder: return {{{Platform, 1}, {Ladder, 1}, {Platform, 1}, {Blank, 1}}};
    case Role::Count: break;
    }
    return uniform(Blank, 0);
}

bool isGroundRole(Role role) { return role >= Role::GroundTop && role <= Role::GroundEdgeR; }

bool isGroundTopRole(Role role)
{
    return role == Role::GroundTop || role == Role::GroundTopEdgeL || role == Role::GroundTopEdgeR;
}

BlockDef blockFor(Role role, Look look)
{
    using enum Image;
    // A ledge with a ladder hanging from it: the ledge of this look, the ladder below its left.
    if (role == Role::PlatformLadder) {
        BlockDef b = blockFor(Role::Platform, look);
        b[1] = {Ladder, 1};
        return b;
    }
    BlockDef b = naturalBlock(role);
    switch (look) {
    case Look::Natural: break;
    case Look::Masonry:
        // Walls of brick capped with stone blocks, stone ledges, grey columns.
        if (isGroundTopRole(role))
            b = {{{Block, 0}, {Brick, 3}, {Block, 0}, {Brick, 3}}};
        else if (isGroundRole(role))
            b = uniform(Brick, 3);
        else if (role == Role::Platform)
            b = topBottom(Block, Blank, 0);
        else if (role == Role::Pillar || role == Role::PillarTop)
            b = withPalettes(b, 3, 3);
        break;
    case Look::Deep:
        // The ground and columns in the cool colours, the bricks in the earth colours.
        if (isGroundRole(role) || role == Role::Pillar || role == Role::PillarTop)
            b = withPalettes(b, 3, 3);
        else if (role == Role::Brick)
            b = withPalettes(b, 1, 1);
        break;
    case Look::Wet:
        // Moss over the ground and the planks.
        if (isGroundTopRole(role))
            b = withPalettes(b, 2, 1);
        else if (role == Role::Platform || role == Role::Brick)
            b = withPalettes(b, 2, 2);
        break;
    case Look::High:
        // White stone ground, cloud ledges, marble columns.
        if (isGroundTopRole(role))
            b = {{{FloorTop, 0}, {Block, 0}, {FloorTop, 0}, {Block, 0}}};
        else if (isGroundRole(role))
            b = uniform(Block, 0);
        else if (role == Role::Platform)
            b = quarters(CloudL, Blank, CloudR, Blank, 0);
        else if (role == Role::Pillar || role == Role::PillarTop)
            b = withPalettes(b, 0, 0);
        break;
    }
    return b;
}

// The 128 blocks of a half: every role, then every role again with its palettes moved on by
// one (spare colour variants for the editor's user), then sky.
std::array<BlockDef, 128> halfBlocks(Look look)
{
    std::array<BlockDef, 128> half{};
    for (int i = 0; i < 128; ++i) {
        BlockDef b = uniform(Image::Blank, 0);
        if (i < kRoleCount) {
            b = blockFor(static_cast<Role>(i), look);
        } else if (i < 2 * kRoleCount) {
            b = blockFor(static_cast<Role>(i - kRoleCount), look);
            for (Quarter& q : b)
                q.palette = (q.palette + 1) % 4;
        }
        half[static_cast<std::size_t>(i)] = b;
    }
    return half;
}

// Quarters top left, bottom left, top right, bottom right hold their sub-palette in bits 0-1,
// 4-5, 2-3 and 6-7: the NES attribute layout.
std::uint8_t attributeByte(const BlockDef& b)
{
    return static_cast<std::uint8_t>((b[0].palette & 3) | (b[2].palette & 3) << 2 | (b[1].palette & 3) << 4
                                     | (b[3].palette & 3) << 6);
}

void writeSubtileTables(RomWriter& writer)
{
    for (int k = 0; k < kSubtileTableCount; ++k) {
        Bytes table(256 * 4);
        for (int s = 0; s < 256; ++s) {
            const int t = 4 * (s % 64);
            std::array<int, 4> tiles{};
            switch (s / 64) {
            case 0: tiles = {t, t + 1, t + 2, t + 3}; break;  // the picture itself
            case 1: tiles = {t + 2, t + 3, t, t + 1}; break;  // its halves swapped sideways
            case 2: tiles = {t + 1, t, t + 3, t + 2}; break;  // its halves swapped up and down
            default: tiles.fill(t + k % 4); break;            // one of its tiles four times
            }
            for (std::size_t j = 0; j < 4; ++j)
                table[static_cast<std::size_t>(4 * s) + j] = static_cast<std::uint8_t>(tiles[j]);
        }
        writer.bytes(kSubtileTables + k * kSubtileTableSize, table);
    }
}

}  // namespace

bool isSolid(Role role)
{
    switch (role) {
    case Role::GroundTop:
    case Role::Ground:
    case Role::GroundTopEdgeL:
    case Role::GroundTopEdgeR:
    case Role::GroundEdgeL:
    case Role::GroundEdgeR:
    case Role::Brick:
    case Role::Block:
    case Role::Platform:
    case Role::PillarTop:
    case Role::Battlement:
    case Role::WaterPlatform:
    case Role::PlatformLadder: return true;
    default: return false;
    }
}

void writeMetatileTables(RomWriter& writer)
{
    writeSubtileTables(writer);

    std::array<std::array<BlockDef, 128>, kHalfCount> halves{};
    for (int j = 0; j < kHalfCount; ++j)
        halves[static_cast<std::size_t>(j)] = halfBlocks(static_cast<Look>(j));

    for (int j = 0; j < kHalfCount; ++j) {
        Bytes subtiles(128 * 4);
        for (std::size_t i = 0; i < 128; ++i)
            for (std::size_t q = 0; q < 4; ++q)
                subtiles[4 * i + q] = static_cast<std::uint8_t>(halves[static_cast<std::size_t>(j)][i][q].image);
        writer.bytes(kMetatileHalves + j * kHalfSize, subtiles);
    }
    for (int m = 0; m < kMetatileTableCount; ++m) {
        Bytes attributes(256);
        for (std::size_t i = 0; i < 256; ++i)
            attributes[i] = attributeByte(halves[static_cast<std::size_t>(m) + i / 128][i % 128]);
        writer.bytes(kAttributeTables + m * kAttributeTableSize, attributes);
    }
}

}  // namespace velmar::sample
