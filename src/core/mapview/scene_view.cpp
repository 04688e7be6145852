#include "mapview/scene_view.h"

#include "gfx/metatile_render.h"

namespace velmar {

void drawSceneSheet(const EditorState& state, SceneView& view)
{
    drawMetatileSheet(view.sheet, state.metatiles, state.bkgPatterns, 0, 255, state.currentScene.palette);
}

void renderSceneMap(const EditorState& state, SceneView& view)
{
    renderMap(view.map, view.sheet, state.currentScene);
    const ActorCanvas canvas{state.sprPatterns, state.bkgPatterns, state.currentScene.palette, view.map};
    const Bytes& rom = state.rom.romData;
    view.enemies = drawAllEnemies(rom, state.currentScene, canvas);
    view.items = drawAllItems(rom, state.currentScene, canvas);
    view.playerStart = drawPlayerStart(rom, state.currentScene, canvas);
}

void redrawSceneView(const EditorState& state, SceneView& view)
{
    drawSceneSheet(state, view);
    renderSceneMap(state, view);
}

Bitmap composeAllActors(const SceneView& view)
{
    Bitmap out = view.map;
    for (const ActorPicture& p : view.enemies)
        pastePicture(out, p);
    for (const ActorPicture& p : view.items)
        pastePicture(out, p);
    pastePicture(out, view.playerStart);
    return out;
}

}  // namespace velmar
