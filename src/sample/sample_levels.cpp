#include "sample/sample_levels.h"

#include <array>

#include "sample/sample_plan.h"
#include "sample/sample_sprites.h"

namespace velmar::sample {

using namespace rommap;

namespace {

using Triple = std::array<std::uint8_t, 3>;

// NES colour numbers of the shared background colours (0x3200 + n): the skies.
constexpr std::array<std::uint8_t, 16> kSkyColours{
    0x21, 0x0F, 0x31, 0x0C, 0x22, 0x37, 0x27, 0x01, 0x2C, 0x1C, 0x0B, 0x32, 0x36, 0x2D, 0x11, 0x3C,
};

// Background sub-palette 0, shared by every scene: the greys and white of clouds, stone blocks,
// spikes and letters. Colours 1-3 run dark to light, as the tiles are drawn.
constexpr Triple kSharedBackground{0x2D, 0x10, 0x30};
// Sprite sub-palettes 0 and 1, shared by every scene: the player, the items.
constexpr Triple kPlayerColours{0x0F, 0x16, 0x37};
constexpr Triple kItemColours{0x07, 0x28, 0x30};

struct ThemeColours {
    std::uint8_t sky;  // index into the shared colours
    Triple earth;      // sub-palette 1
    Triple plants;     // sub-palette 2
    Triple masonry;    // sub-palette 3
};

// [theme][variant]
constexpr std::array<std::array<ThemeColours, 2>, kThemeCount> kThemeColours{{
    {{{0, {0x08, 0x18, 0x2A}, {0x0A, 0x1A, 0x2A}, {0x07, 0x17, 0x27}},     // forest by day
      {3, {0x0F, 0x08, 0x1A}, {0x0F, 0x0A, 0x1A}, {0x0F, 0x07, 0x17}}}},   // and by night
    {{{1, {0x08, 0x18, 0x28}, {0x03, 0x13, 0x23}, {0x2D, 0x00, 0x10}},     // grey castle
      {7, {0x07, 0x17, 0x27}, {0x05, 0x15, 0x25}, {0x02, 0x12, 0x22}}}},   // blue castle
    {{{1, {0x08, 0x18, 0x38}, {0x0B, 0x1B, 0x2B}, {0x0C, 0x1C, 0x2C}},     // cave
      {1, {0x06, 0x16, 0x26}, {0x07, 0x17, 0x27}, {0x05, 0x15, 0x25}}}},   // fire cave
    {{{2, {0x08, 0x18, 0x29}, {0x09, 0x19, 0x2A}, {0x01, 0x11, 0x21}},     // lake
      {6, {0x07, 0x17, 0x37}, {0x0A, 0x1A, 0x2A}, {0x02, 0x12, 0x22}}}},   // lake at dusk
    {{{4, {0x00, 0x10, 0x30}, {0x0A, 0x1A, 0x3A}, {0x02, 0x12, 0x32}},     // sky
      {11, {0x04, 0x14, 0x34}, {0x0B, 0x1B, 0x3B}, {0x03, 0x13, 0x33}}}},  // sky at dawn
    {{{15, {0x18, 0x28, 0x38}, {0x09, 0x19, 0x29}, {0x06, 0x16, 0x26}},    // ruins
      {6, {0x08, 0x18, 0x38}, {0x0A, 0x1A, 0x2A}, {0x07, 0x17, 0x27}}}},   // ruins at dusk
}};

// Sprite sub-palettes 2 and 3 of each stage's scenes (the enemies), by stage modulo 6.
constexpr std::array<std::array<Triple, 2>, 6> kEnemyColours{{
    {{{0x0F, 0x1A, 0x30}, {0x0F, 0x16, 0x27}}},
    {{{0x0F, 0x13, 0x34}, {0x0F, 0x00, 0x30}}},
    {{{0x0F, 0x11, 0x31}, {0x0F, 0x17, 0x38}}},
    {{{0x0F, 0x1B, 0x3B}, {0x0F, 0x15, 0x35}}},
    {{{0x0F, 0x18, 0x28}, {0x0F, 0x12, 0x32}}},
    {{{0x0F, 0x19, 0x29}, {0x0F, 0x14, 0x24}}},
}};

// Selectors: background palette 0 is shared; stage st has background palettes 1 + 3st .. 3 + 3st
// and sprite palettes 2 + 2st, 3 + 2st; sprite palettes 0 and 1 are shared. All stay below 86,
// so the triples never reach the shared colours at 0x3200 or each other's table.
constexpr std::uint8_t bkgSelector(int stage, int k) { return static_cast<std::uint8_t>(1 + 3 * stage + k - 1); }
constexpr std::uint8_t sprSelector(int stage, int k) { return static_cast<std::uint8_t>(2 + 2 * stage + k - 2); }

const ThemeColours& coloursOf(int stage)
{
    const StagePlan& s = stagePlans()[static_cast<std::size_t>(stage)];
    return kThemeColours[static_cast<std::size_t>(s.theme)][s.variant];
}

void writeColours(RomWriter& w)
{
    w.bytes(kSharedColours, kSkyColours);
    w.byte(kBkgPal0Selector, 0);
    w.bytes(kBkgPalettes, kSharedBackground);
    w.byte(kSprPal0Selector, 0);
    w.byte(kSprPal1Selector, 1);
    w.bytes(kSprPalettes, kPlayerColours);
    w.bytes(kSprPalettes + 3, kItemColours);
    for (int st = 0; st < kStageCount; ++st) {
        const ThemeColours& c = coloursOf(st);
        w.bytes(kBkgPalettes + 3 * bkgSelector(st, 1), c.earth);
        w.bytes(kBkgPalettes + 3 * bkgSelector(st, 2), c.plants);
        w.bytes(kBkgPalettes + 3 * bkgSelector(st, 3), c.masonry);
        const auto& enemies = kEnemyColours[static_cast<std::size_t>(st % 6)];
        w.bytes(kSprPalettes + 3 * sprSelector(st, 2), enemies[0]);
        w.bytes(kSprPalettes + 3 * sprSelector(st, 3), enemies[1]);
    }
}

void writeStageTables(RomWriter& w)
{
    for (int st = 0; st < kStageCount; ++st) {
        const StagePlan& s = stagePlans()[static_cast<std::size_t>(st)];
        w.byte(kTilesets + st, static_cast<std::uint8_t>(subtileTable(s.theme) << 2 | metatileTable(s.theme)));
        w.byte(kBkgBanks + st, static_cast<std::uint8_t>(themeBank(s.theme, s.variant) * 8));
        w.byte(kReloads + st, static_cast<std::uint8_t>(actFirstStage(stageAct(st))));
        w.byte(kBkgPal1Selectors + st, bkgSelector(st, 1));
        w.byte(kBkgPal2Selectors + st, bkgSelector(st, 2));
        w.byte(kBkgPal3Selectors + st, bkgSelector(st, 3));
        w.byte(kIndicators + st, stageIndicator(st));
        w.byte(kItemAnimations + st, static_cast<std::uint8_t>(stageItemAnimation(st)));
        w.byte(kTimes + st, s.time);
    }
}

// The player starts on the floor: half a screen in from the left end, or for a scene that
// scrolls right to left near the right end (start X then counts from the last screen's left).
void writeStart(RomWriter& w, int scene, const SceneLayout& layout)
{
    const ScenePlan& p = scenePlans()[static_cast<std::size_t>(scene)];
    const int startX = p.rightToLeft ? 0xD8 : 0x28;
    const int mapX = (p.rightToLeft ? p.length * 256 : 0) + startX;
    int floor = layout.floorY[static_cast<std::size_t>(mapX / 16)];
    if (floor < 0)
        floor = 128;
    // The marker's picture is 32 high with its top at start Y - 86: its feet on the floor.
    w.byte(kStartX + scene, static_cast<std::uint8_t>(startX));
    w.byte(kStartY + scene, static_cast<std::uint8_t>(floor + 54));
}

void writeSceneTables(RomWriter& w, const SceneLayouts& layouts)
{
    for (int sc = 0; sc < kSceneCount; ++sc) {
        const int st = scenePlans()[static_cast<std::size_t>(sc)].stage;
        w.byte(kBackColourSprBank + sc, static_cast<std::uint8_t>(coloursOf(st).sky << 4 | sceneSpriteBank(sc)));
        w.byte(kSprPal2Selectors + sc, sprSelector(st, 2));
        w.byte(kSprPal3Selectors + sc, sprSelector(st, 3));
        writeStart(w, sc, layouts[static_cast<std::size_t>(sc)]);
    }
}

}  // namespace

void writeLevelTables(RomWriter& writer, const SceneLayouts& layouts)
{
    writeColours(writer);
    writeStageTables(writer);
    writeSceneTables(writer, layouts);
}

}  // namespace velmar::sample
