#pragma once

#include <vector>

#include "actors/actor_drawing.h"
#include "scene/scene_state.h"
#include "gfx/bitmap.h"

namespace velmar {

// The pictures the main window shows for the current scene: the 512 x 512 metatile sheet, the
// map surface built from it, and one picture per enemy, per item and for the player start.
struct SceneView {
    Bitmap sheet = Bitmap(512, 512, 0);
    Bitmap map;
    std::vector<ActorPicture> enemies;
    std::vector<ActorPicture> items;
    ActorPicture playerStart;
};

// Draws metatiles 0-255 into the sheet with the scene's background sub-palettes.
void drawSceneSheet(const SceneState& scene, SceneView& view);

// Renders the map from the sheet, then composes the actor pictures over it (their sprites come
// from the image).
void renderSceneMap(const Bytes& rom, const SceneState& scene, SceneView& view);

// Both, in that order: what the main window redraws after a scene switch or a graphics edit.
void redrawSceneView(const Bytes& rom, const SceneState& scene, SceneView& view);

// The map with every actor picture pasted at its place: enemies, items, then the player start,
// as the map view shows it with all markers visible.
Bitmap composeAllActors(const SceneView& view);
// The same with only the kinds of actor asked for.
Bitmap composeActors(const SceneView& view, bool enemies, bool items, bool playerStart);

}  // namespace velmar
