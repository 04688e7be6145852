#include "mapview/scene_view.h"

#include "gfx/metatile_render.h"

namespace velmar {

void drawSceneSheet(const SceneState& scene, SceneView& view)
{
    drawMetatileSheet(view.sheet, scene.metatiles, scene.bkgPatterns, 0, 255, scene.currentScene.palette);
}

void renderSceneMap(const Bytes& rom, const SceneState& scene, SceneView& view)
{
    renderMap(view.map, view.sheet, scene.currentScene);
    const ActorCanvas canvas{scene.sprPatterns, scene.bkgPatterns, scene.currentScene.palette, view.map};
    view.enemies = drawAllEnemies(rom, scene.currentScene, canvas);
    view.items = drawAllItems(rom, scene.currentScene, canvas);
    view.playerStart = drawPlayerStart(rom, scene.currentScene, canvas);
}

void redrawSceneView(const Bytes& rom, const SceneState& scene, SceneView& view)
{
    drawSceneSheet(scene, view);
    renderSceneMap(rom, scene, view);
}

Bitmap composeAllActors(const SceneView& view) { return composeActors(view, true, true, true); }

Bitmap composeActors(const SceneView& view, bool enemies, bool items, bool playerStart)
{
    Bitmap out = view.map;
    if (enemies) {
        for (const ActorPicture& p : view.enemies)
            pastePicture(out, p);
    }
    if (items) {
        for (const ActorPicture& p : view.items)
            pastePicture(out, p);
    }
    if (playerStart)
        pastePicture(out, view.playerStart);
    return out;
}

}  // namespace velmar
