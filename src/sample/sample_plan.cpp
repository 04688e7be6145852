#include "sample/sample_plan.h"

#include "rom/area_catalogue.h"

namespace velmar::sample {

using rommap::kSceneCount;
using rommap::kStageCount;

const std::array<StagePlan, kStageCount>& stagePlans()
{
    using enum Theme;
    static const std::array<StagePlan, kStageCount> plans{{
        {Forest, 0, 0x90}, {Castle, 0, 0x90}, {Lake, 0, 0x80},   {Cave, 0, 0x80},    // 1-1 .. 2-2
        {Castle, 1, 0x99}, {Forest, 1, 0x90}, {Ruins, 0, 0x80},  {Sky, 0, 0x99},     // 2-3 .. 3-3
        {Cave, 1, 0x80},   {Lake, 1, 0x90},   {Castle, 0, 0x99}, {Ruins, 1, 0x70},   // 4-1 .. 4-4
        {Forest, 0, 0x90}, {Sky, 1, 0x80},    {Cave, 0, 0x99},   {Castle, 1, 0x90},  // 5-1 .. 5-4
        {Ruins, 0, 0x90},  {Lake, 0, 0x80},   {Forest, 1, 0x99}, {Sky, 0, 0x80},     // 6-1 .. 6-4
        {Castle, 1, 0x60}, {Cave, 1, 0x99},                                          // 6-4, 6-5
    }};
    return plans;
}

namespace {

struct SceneShape {
    std::uint8_t screens;
    bool rightToLeft;
    std::uint8_t items;
    std::uint8_t enemies;
};

// Scene 0x0C is the longest scene (17 screens); 0x05 and 0x14 are one-screen boss rooms
// without items; 0x0F is a treasure room without enemies. The short scenes outside the
// catalogue are side rooms.
constexpr std::array<SceneShape, kSceneCount> kShapes{{
    {9, false, 5, 8},   {7, false, 4, 7}, {5, false, 3, 5},   {4, true, 2, 4},   // 00-03
    {3, false, 2, 3},   {1, false, 0, 1}, {6, false, 3, 6},   {4, true, 2, 4},   // 04-07
    {3, false, 2, 3},   {8, false, 4, 8}, {10, false, 5, 10}, {6, false, 3, 6},  // 08-0B
    {17, false, 8, 16}, {5, false, 3, 5}, {3, true, 2, 3},    {2, false, 3, 0},  // 0C-0F
    {9, true, 4, 9},    {4, false, 2, 4}, {4, false, 2, 4},   {3, true, 1, 3},   // 10-13
    {1, false, 0, 1},   {8, false, 4, 8}, {10, false, 5, 10}, {7, false, 3, 7},  // 14-17
    {2, false, 1, 2},   {1, false, 0, 1}, {2, false, 1, 2},   {8, true, 4, 8},   // 18-1B
    {1, false, 1, 0},   {2, false, 1, 2}, {1, false, 0, 1},   {1, false, 1, 1},  // 1C-1F
    {2, false, 1, 2},   {1, false, 0, 0}, {6, false, 3, 6},   {9, false, 4, 9},  // 20-23
    {7, false, 3, 7},   {2, false, 1, 2}, {1, false, 0, 1},   {1, false, 1, 0},  // 24-27
    {2, false, 1, 2},   {8, true, 4, 8},  {1, false, 0, 1},   {2, false, 1, 2},  // 28-2B
    {1, false, 1, 0},   {5, false, 3, 5}, {4, false, 2, 4},   {2, false, 0, 1},  // 2C-2F
}};

std::array<ScenePlan, kSceneCount> makeScenePlans()
{
    std::array<ScenePlan, kSceneCount> plans{};
    std::array<int, kSceneCount> stageOf{};
    stageOf.fill(-1);
    for (const AreaNode& node : areaCatalogue()) {
        if (const auto key = parseSceneKey(node.key))
            stageOf[key->scene] = key->stage;
    }
    int stage = 0;
    for (int sc = 0; sc < kSceneCount; ++sc) {
        ScenePlan& p = plans[static_cast<std::size_t>(sc)];
        const SceneShape& shape = kShapes[static_cast<std::size_t>(sc)];
        p.catalogued = stageOf[static_cast<std::size_t>(sc)] >= 0;
        if (p.catalogued)
            stage = stageOf[static_cast<std::size_t>(sc)];
        p.stage = static_cast<std::uint8_t>(stage);
        p.length = static_cast<std::uint8_t>(shape.screens - 1);
        p.rightToLeft = shape.rightToLeft;
        p.itemCount = shape.items;
        p.enemyCount = shape.enemies;
    }
    return plans;
}

}  // namespace

int stageAct(int stage)
{
    for (const AreaNode& node : areaCatalogue()) {
        if (const auto key = parseSceneKey(node.key); key && key->stage == stage)
            return key->act;
    }
    return 0;
}

int actFirstStage(int act)
{
    for (int st = 0; st < kStageCount; ++st)
        if (stageAct(st) == act)
            return st;
    return 0;
}

std::uint8_t stageIndicator(int stage)
{
    // Captions read "Stage A-B".
    for (const AreaNode& node : areaCatalogue()) {
        const auto key = parseSceneKey(node.key);
        if (!key || key->stage != stage || node.caption.size() < 9)
            continue;
        const int act = node.caption[6] - '0';
        const int number = node.caption[8] - '0';
        return static_cast<std::uint8_t>(act << 4 | number);
    }
    return 0;
}

const std::array<ScenePlan, kSceneCount>& scenePlans()
{
    static const std::array<ScenePlan, kSceneCount> plans = makeScenePlans();
    return plans;
}

int metatileTable(Theme theme)
{
    switch (theme) {
    case Theme::Forest:
    case Theme::Ruins: return 0;
    case Theme::Castle: return 1;
    case Theme::Cave: return 2;
    case Theme::Lake:
    case Theme::Sky: return 3;
    }
    return 0;
}

int subtileTable(Theme theme) { return static_cast<int>(theme); }

bool mainLookIsSecondHalf(Theme theme) { return theme == Theme::Sky; }

int sceneSpriteBank(int scene)
{
    const int stage = scenePlans()[static_cast<std::size_t>(scene)].stage;
    return stageAct(stage) % kSpriteBankCount;
}

std::uint32_t sceneSeed(int scene) { return 0x5EED0000u + static_cast<std::uint32_t>(scene) * 7919u; }

}  // namespace velmar::sample
