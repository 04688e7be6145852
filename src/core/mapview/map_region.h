#pragma once

#include <optional>

#include "gfx/bitmap.h"
#include "mapview/map_view_rules.h"
#include "rom/scene_record.h"

namespace velmar {

// A rectangle of map cells (32-pixel metatiles): its top left cell and its size in cells.
struct CellRect {
    int column = 0;
    int row = 0;
    int columns = 0;
    int rows = 0;

    bool empty() const { return columns <= 0 || rows <= 0; }
    bool contains(MapCell c) const
    {
        return c.column >= column && c.row >= row && c.column < column + columns && c.row < row + rows;
    }
    bool operator==(const CellRect&) const = default;
};

// The rectangle with corners `a` and `b` (either first), both cells inside it.
CellRect spanCells(MapCell a, MapCell b);

// The part of `r` that lies inside the scene's map (8 columns a screen, 6 rows); empty if none.
CellRect clipToMap(const CellRect& r, const SceneRecord& scene);

// The metatile of a cell, nothing outside the map.
std::optional<std::uint8_t> metatileAt(const SceneRecord& scene, MapCell cell);

// The cell `columns` and `rows` away from `from`, kept inside the scene's map: the keyboard's
// cursor stops at the map's edges. A cell outside the map comes back in first.
MapCell stepCell(const SceneRecord& scene, MapCell from, int columns, int rows);
// Where the keyboard's cursor starts in a view scrolled to map pixel `firstX`, `viewWidth`
// pixels wide: `cursor` itself, or when the view was scrolled away from it, its row in the
// nearest column wholly in view.
MapCell cellInView(const SceneRecord& scene, MapCell cursor, int firstX, int viewWidth);
// The scroll position (the map pixel at the view's left edge) that shows the whole of `column`
// with as little scrolling from `firstX` as can be.
int scrollToShowColumn(int column, int firstX, int viewWidth);

// A block of metatiles copied from a map, row by row; it may be pasted into any scene.
struct MapBlock {
    int columns = 0;
    int rows = 0;
    Bytes cells;

    bool empty() const { return columns <= 0 || rows <= 0; }
    std::uint8_t at(int column, int row) const { return cells[static_cast<std::size_t>(row * columns + column)]; }
    bool operator==(const MapBlock&) const = default;
};

// The cells of `r` that lie inside the map.
MapBlock copyBlock(const SceneRecord& scene, const CellRect& r);

// Writes `block` with its top left at `at`; cells that would fall outside the map are left out.
// False when no cell of it lies inside the map (nothing changes).
bool pasteBlock(SceneRecord& scene, MapCell at, const MapBlock& block);

// Sets every cell of `r` inside the map to `metatile`. False when none lies inside.
bool fillCells(SceneRecord& scene, const CellRect& r, std::uint8_t metatile);

// The picture of a block: each cell its metatile from the 512 x 512 sheet of the scene's 256
// metatiles (metatile m at column m % 16, row m / 16, 32 pixels each).
Bitmap blockPicture(const MapBlock& block, const Bitmap& sheet);

}  // namespace velmar
