#include "scene/map_cells.h"

#include <algorithm>

#include "rom/address_map.h"

namespace velmar {

using namespace rommap;

namespace {

constexpr int kColumnsPerScreen = 8;
constexpr int kRows = kMapRows;

// The byte of a cell inside the map: screens of 48, column by column of 6.
std::size_t cellIndex(MapCell c)
{
    return static_cast<std::size_t>(c.column / kColumnsPerScreen * kScreenBytes + c.column % kColumnsPerScreen * kRows
                                    + c.row);
}

}  // namespace

int mapColumns(const SceneRecord& scene)
{
    return static_cast<int>(scene.map.size()) / kScreenBytes * kColumnsPerScreen;
}

CellRect clipToMap(const CellRect& r, const SceneRecord& scene)
{
    const int left = std::max(r.column, 0), top = std::max(r.row, 0);
    const int right = std::min(r.column + r.columns, mapColumns(scene));
    const int bottom = std::min(r.row + r.rows, kRows);
    if (right <= left || bottom <= top)
        return {};
    return {left, top, right - left, bottom - top};
}

std::optional<std::uint8_t> metatileAt(const SceneRecord& scene, MapCell cell)
{
    if (clipToMap({cell.column, cell.row, 1, 1}, scene).empty())
        return std::nullopt;
    return scene.map[cellIndex(cell)];
}

MapBlock copyBlock(const SceneRecord& scene, const CellRect& r)
{
    const CellRect in = clipToMap(r, scene);
    MapBlock block{in.columns, in.rows, {}};
    block.cells.reserve(static_cast<std::size_t>(std::max(0, in.columns * in.rows)));
    for (int row = 0; row < in.rows; ++row)
        for (int column = 0; column < in.columns; ++column)
            block.cells.push_back(scene.map[cellIndex({in.column + column, in.row + row})]);
    return block;
}

bool placeMetatile(SceneRecord& scene, MapCell cell, std::uint8_t metatile)
{
    // Checked against the map's bytes rather than whole screens, so a map cut short anywhere
    // is never written past its end.
    if (cell.column < 0 || cell.row < 0 || cell.row >= kRows)
        return false;
    const std::size_t index = cellIndex(cell);
    if (index >= scene.map.size())
        return false;
    scene.map[index] = metatile;
    return true;
}

bool pasteBlock(SceneRecord& scene, MapCell at, const MapBlock& block)
{
    const CellRect in = clipToMap({at.column, at.row, block.columns, block.rows}, scene);
    for (int row = in.row; row < in.row + in.rows; ++row)
        for (int column = in.column; column < in.column + in.columns; ++column)
            scene.map[cellIndex({column, row})] = block.at(column - at.column, row - at.row);
    return !in.empty();
}

bool fillCells(SceneRecord& scene, const CellRect& r, std::uint8_t metatile)
{
    const CellRect in = clipToMap(r, scene);
    for (int row = in.row; row < in.row + in.rows; ++row)
        for (int column = in.column; column < in.column + in.columns; ++column)
            scene.map[cellIndex({column, row})] = metatile;
    return !in.empty();
}

void eraseMap(SceneRecord& scene) { std::fill(scene.map.begin(), scene.map.end(), std::uint8_t{0}); }

}  // namespace velmar
