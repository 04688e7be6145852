#include "scene/scene_state.h"

#include <utility>

#include "rom/scene_codec.h"

namespace velmar {

RomStatus decodeScene(const Bytes& rom, const SceneKey& key, SceneState& out)
{
    SceneState next;
    RomStatus s = loadScene(rom, key.stage, key.scene, next.currentScene);
    if (s.ok())
        s = loadChrBank(rom, next.sprPatterns, next.currentScene.sprBank);
    if (s.ok())
        s = loadChrBank(rom, next.bkgPatterns, next.currentScene.bkgBank);
    if (s.ok())
        s = loadMetatileTables(rom, next.currentScene, next.metatiles);
    if (!s.ok())
        return s;
    next.patternsSprBank = next.currentScene.sprBank;
    next.patternsBkgBank = next.currentScene.bkgBank;
    out = std::move(next);
    return {};
}

RomStatus storeSceneState(Bytes& rom, SceneState& scene)
{
    RomStatus s = storeScene(rom, scene.currentScene);
    if (s.ok())
        s = storeMetatileTables(rom, scene.currentScene, scene.metatiles);
    if (s.ok())
        s = saveChrBank(rom, scene.sprPatterns, scene.patternsSprBank);
    if (s.ok())
        s = saveChrBank(rom, scene.bkgPatterns, scene.patternsBkgBank);
    return s;
}

}  // namespace velmar
