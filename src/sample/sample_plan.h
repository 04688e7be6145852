#pragma once

#include <array>
#include <cstdint>

#include "rom/address_map.h"

// What the sample image holds: which look each stage has, how long each scene is, which way it
// scrolls and how many actors it carries. Every other part of the sample reads this plan.
namespace velmar::sample {

enum class Theme : std::uint8_t { Forest, Castle, Cave, Lake, Sky, Ruins };
constexpr int kThemeCount = 6;

// Pattern banks: 0-3 sprites, then two background banks per theme, then a font bank whose
// tiles sit at the text codes. The rest stay blank.
constexpr int kSpriteBankCount = 4;
constexpr int kFirstThemeBank = 4;
constexpr int kFontBank = 16;
constexpr int themeBank(Theme theme, int variant) { return kFirstThemeBank + 2 * static_cast<int>(theme) + variant; }

struct StagePlan {
    Theme theme;
    std::uint8_t variant;  // 0 or 1: which of the theme's two banks and palette sets
    std::uint8_t time;     // time limit
};

struct ScenePlan {
    std::uint8_t stage = 0;
    std::uint8_t length = 0;  // screens minus one
    bool rightToLeft = false;
    bool catalogued = false;  // listed in the area tree
    std::uint8_t itemCount = 0;
    std::uint8_t enemyCount = 0;
};

const std::array<StagePlan, rommap::kStageCount>& stagePlans();
// Scenes outside the area catalogue belong to the stage of the catalogue scene before them.
const std::array<ScenePlan, rommap::kSceneCount>& scenePlans();

// Tileset byte bits 0-1: metatile and attribute table. Bits 2-4: subtile table.
int metatileTable(Theme theme);
int subtileTable(Theme theme);
// Themes whose main look is the second half of their metatile table (entries 128-255).
bool mainLookIsSecondHalf(Theme theme);

// The act (0-5) of a stage, its first stage, and its indicator byte (0x11 for "Stage 1-1"), as
// the area catalogue names them.
int stageAct(int stage);
int actFirstStage(int act);
std::uint8_t stageIndicator(int stage);

// The sprite pattern bank of a scene (the stages of one act share one).
int sceneSpriteBank(int scene);

// Seed of everything random about one scene, so that scenes differ but never change.
std::uint32_t sceneSeed(int scene);

}  // namespace velmar::sample
