#pragma once

#include <string>
#include <string_view>

#include "editor/document.h"
#include "exchange/scene_description.h"
#include "base/file_writer.h"
#include "gfx/bitmap.h"

// A scene as a Tiled map (JSON, .tmj): an orthogonal map of 32 x 32 tiles whose one tile layer
// holds the metatiles (gid = metatile + 1) and whose tileset image is the scene's 256 metatiles,
// and an object layer with the enemies, the items and the player start. The scene's other values
// are custom properties of the map; the stage's are named "stage ...". A map edited in Tiled
// comes back as a SceneDescription and is imported as a scene file is.
namespace velmar {

inline constexpr int kTiledFirstGid = 1;

// An actor's object is a 16 x 16 rectangle; these are its top left corner.
struct TiledPoint {
    int x = 0;
    int y = 0;
};
TiledPoint tiledEnemyPlace(const EnemyRecord& enemy);
TiledPoint tiledItemPlace(const ItemRecord& item);
// The player start is a point: its x counts from the screen the scene starts on (the last for a
// scene that runs right to left).
TiledPoint tiledStartPlace(const SceneDescription& d);

// The map's JSON; its tileset image is `imageName`, a file beside the map.
std::string writeTiledMap(const SceneDescription& d, const std::string& imageName);

// Reads a map written by writeTiledMap and perhaps edited in Tiled (or saved again by it). Cells
// become metatiles; an object's place becomes its actor's by the map view's drag rules (whole
// columns and rows, rounded to the nearest; an enemy's column stops at its screen's edges and its
// row wraps, as an item's row does; the start stops at 0 and FF); added or removed objects change
// the counts. What the game cannot hold refuses the map (BadFile) with where it is.
Outcome<SceneImportResult> readTiledMap(std::string_view text, SceneDescription& out);

// The tileset image: metatiles 0-255 of the current scene, 16 a row, in its colours.
Bitmap tiledTileset(const SceneState& scene);

// The name of the tileset image beside a map: "level.tmj" -> "level-metatiles.png".
std::string tiledImageName(const std::string& mapPath);

// Writes the current scene's map to `mapPath` and its tileset image beside it, each whole or not
// at all. The map is the user's file (a link there is written through); the image's name is the
// program's, so it is written as the program's own file: a link, a folder or any special file
// at that name is refused before anything is written. The reason names the file and why.
Outcome<WriteResult> exportTiled(const Document& doc, const std::string& mapPath);

// Reads a Tiled map's text and imports it into the current scene as one step ("Import from Tiled").
Outcome<SceneImportResult> importTiledMap(Document& doc, std::string_view text, SharedValues shared);

}  // namespace velmar
