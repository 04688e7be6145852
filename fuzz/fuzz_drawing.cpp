// libFuzzer target: the pictures of one scene, over the sample image with a few bytes of the
// tables they are drawn from replaced: tilesets, banks, palettes, metatile and subtile tables,
// sprite frames and animations, actor tables, the map, pattern tiles.
//
// The scene is decoded as the document decodes it (a bank outside the image leaves its tiles
// empty), its record sometimes bent further (a length that does not match its map), then one or
// more of its pictures are drawn: the metatile sheet, the map with every actor, the background
// editor's views, the tile sheet at some scale, single metatiles and subtiles.
//
// Besides "no crash, no read or write out of bounds" it checks that what the tile operations and
// the tile and sprite codecs do can be undone: a tile turned four times, mirrored twice or
// shifted back is as it was, and tiles, sprite frames and animations read and written back in
// place leave the image unchanged.

#include <array>

#include "actors/sprite_frames.h"
#include "scene/scene_state.h"
#include "fuzz_support.h"
#include "gfx/background_editor_views.h"
#include "gfx/metatile_render.h"
#include "gfx/pattern_tiles.h"
#include "gfx/tile_ops.h"
#include "mapview/scene_view.h"
#include "rom/address_map.h"
#include "rom/scene_codec.h"

namespace {

using namespace velmar;
using velmar::fuzz::Region;

constexpr std::array<Region, 10> kTables{{
    {rommap::kTilesets, 0x2C},           // tilesets and BKG banks
    {rommap::kBackColourSprBank, 0x90},  // SPR banks, sprite selectors 2-3
    {rommap::kBkgPalettes, 0x400},       // colour triples, shared colours
    {rommap::kBkgPal1Selectors, 0x2C},
    {rommap::bankStart(rommap::kMetatileBank), rommap::kBankSize},  // subtiles, metatiles
    {rommap::kEnemyFrameTiles, 0x700},                              // sprite frames and animations
    {rommap::kEnemyHandlers, 0x100},
    {rommap::kItemCounts, 0x60},
    {rommap::kItemXPointers, 0x1E0},
    {rommap::kChrStart, rommap::kImageSize - rommap::kChrStart},
}};

Region pickRegion(std::uint8_t pick, const Bytes& rom, const SceneKey& key)
{
    if (pick < 0xC0)
        return kTables[pick % kTables.size()];
    // The scene's map, or the start of its enemy tables, as the image reads now.
    const bool map = (pick & 1) != 0;
    const auto entry = static_cast<std::size_t>((map ? rommap::kMapPointers : rommap::kEnemyBPointers) + 2 * key.scene);
    if (entry + 1 >= rom.size())
        return {};
    const int pointer = rom[entry] | (rom[entry + 1] << 8);
    return {rommap::bankOffset(pointer, map ? rommap::kSceneBank : rommap::kActorBank), 0x100};
}

// The scene as the document decodes it; a pattern bank that cannot be read is left empty.
bool decode(const Bytes& rom, const SceneKey& key, SceneState& s)
{
    if (!loadScene(rom, key.stage, key.scene, s.currentScene).ok())
        return false;
    (void)loadChrBank(rom, s.sprPatterns, s.currentScene.sprBank);
    (void)loadChrBank(rom, s.bkgPatterns, s.currentScene.bkgBank);
    (void)loadMetatileTables(rom, s.currentScene, s.metatiles);
    return true;
}

double pickScale(FuzzedDataProvider& in)
{
    static constexpr std::array<double, 6> kScales{0.5, 1.0, 1.5, 2.0, 4.0, 8.0};
    return kScales[in.ConsumeIntegralInRange<std::size_t>(0, kScales.size() - 1)];
}

// The tile operations on a copy of the bank, each undone: the copy must come back unchanged.
void turnTiles(FuzzedDataProvider& in, const PixelArray& bank)
{
    PixelArray pixels = bank;
    const auto tile = in.ConsumeIntegral<std::uint8_t>();
    const int dx = in.ConsumeIntegralInRange<int>(-9, 9);
    const int dy = in.ConsumeIntegralInRange<int>(-9, 9);
    const bool lr = in.ConsumeBool();
    const bool tb = in.ConsumeBool();
    for (int k = 0; k < 4; ++k)
        rotateTile(pixels, tile);
    flipTile(pixels, tile, lr, tb);
    flipTile(pixels, tile, lr, tb);
    shiftTile(pixels, tile, dx, dy);
    shiftTile(pixels, tile, -dx, -dy);
    if (pixels != bank)
        fuzz::broken("a tile operation undone left the tiles changed");
}

// Tiles, a sprite frame and an animation read and written back in place.
void writeBack(FuzzedDataProvider& in, fuzz::Workbench& bench)
{
    Bytes& rom = bench.rom();
    const RomOffset at = in.ConsumeIntegralInRange<RomOffset>(-16, rommap::kImageSize);
    const int count = in.ConsumeIntegralInRange<int>(0, 300);
    PixelArray pixels;
    if (decodeTiles(rom, at, count, pixels).ok() && !encodeTiles(rom, pixels, count, at).ok())
        fuzz::broken("tiles that were read cannot be written back");
    const auto set = in.ConsumeBool() ? FrameSet::Player : FrameSet::Enemy;
    const auto frameIndex = in.ConsumeIntegral<std::uint8_t>();
    SpriteFrame frame;
    if (readSpriteFrame(rom, set, frameIndex, frame).ok() && !writeSpriteFrame(rom, set, frameIndex, frame).ok())
        fuzz::broken("a sprite frame that was read cannot be written back");
    const int animation = in.ConsumeIntegral<std::uint8_t>();
    Bytes pairs;
    if (readAnimation(rom, animation, pairs).ok() && !writeAnimation(rom, animation, pairs).ok())
        fuzz::broken("an animation that was read cannot be written back");
    bench.expectUnchanged("reading and writing back in place changed the image");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::Workbench bench;
    static SceneView view;
    FuzzedDataProvider in(data, size);
    const SceneKey key = fuzz::pickScene(in);
    const auto draw = in.ConsumeIntegral<std::uint8_t>();
    bench.layPatches(in, 8, [&key](std::uint8_t pick, const Bytes& rom) { return pickRegion(pick, rom, key); });
    const Bytes& rom = bench.rom();

    SceneState state;
    if (!decode(rom, key, state)) {
        bench.restore();
        return 0;
    }
    SceneRecord& scene = state.currentScene;
    if ((draw & 0x80) != 0) {
        // A record out of step with its map, or with the sheet.
        scene.length = in.ConsumeIntegralInRange<std::uint8_t>(0, 0x7F);
        scene.map.resize(in.ConsumeIntegralInRange<std::size_t>(0, 20 * 48), in.ConsumeIntegral<std::uint8_t>());
    }

    if ((draw & 0x01) != 0)
        drawSceneSheet(state, view);
    if ((draw & 0x02) != 0) {
        renderSceneMap(rom, state, view);
        (void)composeAllActors(view);
    }
    if ((draw & 0x04) != 0) {
        BackgroundEditorViews views;
        BackgroundEditorSelection sel;
        sel.tile = in.ConsumeIntegral<std::uint8_t>();
        sel.subtile = in.ConsumeIntegral<std::uint8_t>();
        sel.metatile = in.ConsumeIntegral<std::uint8_t>();
        sel.tilePalette = in.ConsumeIntegral<std::uint8_t>();
        redrawAll(views, state.bkgPatterns, state.metatiles, scene.palette, sel);
    }
    if ((draw & 0x08) != 0) {
        // Pictures at any scale, with a palette that may be cut short.
        const PaletteView palette = PaletteView(scene.palette).first(in.ConsumeIntegralInRange<std::size_t>(0, 32));
        Bitmap surface(in.ConsumeIntegralInRange<int>(0, 80), in.ConsumeIntegralInRange<int>(0, 80));
        drawMetatile(surface, state.bkgPatterns, state.metatiles, in.ConsumeIntegral<std::uint8_t>(), palette,
                     pickScale(in));
        drawSubtile(surface, state.sprPatterns, state.metatiles, in.ConsumeIntegral<std::uint8_t>(), palette,
                    in.ConsumeIntegral<std::uint8_t>(), pickScale(in));
        Bitmap sheet(128, 128);
        drawTileSheet(sheet, state.sprPatterns, palette, in.ConsumeIntegral<std::uint8_t>(), pickScale(in));
        // A short palette draws nothing: that is one of the cases tried.
        (void)drawSpriteTile(state.sprPatterns, in.ConsumeIntegral<std::uint8_t>(), sheet,
                             in.ConsumeIntegralInRange<int>(-8, 130), in.ConsumeIntegralInRange<int>(-8, 130),
                             in.ConsumeIntegral<std::uint8_t>(), palette);
    }
    if ((draw & 0x10) != 0)
        turnTiles(in, (draw & 0x20) != 0 ? state.sprPatterns : state.bkgPatterns);
    if ((draw & 0x40) != 0)
        writeBack(in, bench);
    bench.restore();
    return 0;
}
