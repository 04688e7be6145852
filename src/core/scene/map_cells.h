#pragma once

#include <cstdint>
#include <optional>

#include "base/bytes.h"
#include "rom/scene_record.h"

// The map as cells: 32-pixel metatiles, 8 columns a screen and 6 rows. The changes every map edit
// makes (place, fill, paste, erase) are these, so the view rules and the edits share one model.
namespace velmar {

// A cell of the map: its 32-pixel column counted from the map's left end, and its row.
struct MapCell {
    int column = 0;
    int row = 0;
    bool operator==(const MapCell&) const = default;
};

// The map's height in cells, and its width: 8 columns a screen.
constexpr int kMapRows = 6;
int mapColumns(const SceneRecord& scene);

// A rectangle of map cells: its top left cell and its size in cells.
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

// The part of `r` that lies inside the scene's map; empty if none.
CellRect clipToMap(const CellRect& r, const SceneRecord& scene);

// The metatile of a cell, nothing outside the map.
std::optional<std::uint8_t> metatileAt(const SceneRecord& scene, MapCell cell);

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

// Sets `cell` to `metatile`. False when the cell lies outside the map (nothing changes).
bool placeMetatile(SceneRecord& scene, MapCell cell, std::uint8_t metatile);

// Writes `block` with its top left at `at`; cells that would fall outside the map are left out.
// False when no cell of it lies inside the map (nothing changes).
bool pasteBlock(SceneRecord& scene, MapCell at, const MapBlock& block);

// Sets every cell of `r` inside the map to `metatile`. False when none lies inside.
bool fillCells(SceneRecord& scene, const CellRect& r, std::uint8_t metatile);

// Sets every map byte to metatile 0, keeping the size.
void eraseMap(SceneRecord& scene);

}  // namespace velmar
