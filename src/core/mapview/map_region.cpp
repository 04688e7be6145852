#include "mapview/map_region.h"

#include <algorithm>

#include "rom/address_map.h"
#include "gfx/metatile_render.h"

namespace velmar {

using namespace rommap;

namespace {

constexpr int kColumnsPerScreen = 8;
constexpr int kRows = 6;

int mapColumns(const SceneRecord& scene) { return static_cast<int>(scene.map.size()) / kScreenBytes * kColumnsPerScreen; }

// The byte of a cell inside the map: screens of 48, column by column of 6.
std::size_t cellIndex(MapCell c)
{
    return static_cast<std::size_t>(c.column / kColumnsPerScreen * kScreenBytes + c.column % kColumnsPerScreen * kRows + c.row);
}

}  // namespace

CellRect spanCells(MapCell a, MapCell b)
{
    const int left = std::min(a.column, b.column), top = std::min(a.row, b.row);
    return {left, top, std::max(a.column, b.column) - left + 1, std::max(a.row, b.row) - top + 1};
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

MapCell stepCell(const SceneRecord& scene, MapCell from, int columns, int rows)
{
    return {std::clamp(from.column + columns, 0, std::max(mapColumns(scene) - 1, 0)),
            std::clamp(from.row + rows, 0, kRows - 1)};
}

MapCell cellInView(const SceneRecord& scene, MapCell cursor, int firstX, int viewWidth)
{
    const int firstColumn = (firstX + kMetatileSize - 1) / kMetatileSize;
    const int lastColumn = std::max(firstColumn, (firstX + viewWidth) / kMetatileSize - 1);
    cursor.column = std::clamp(cursor.column, firstColumn, lastColumn);
    return stepCell(scene, cursor, 0, 0);
}

int scrollToShowColumn(int column, int firstX, int viewWidth)
{
    const int x = column * kMetatileSize;
    if (x < firstX)
        return x;
    if (x + kMetatileSize > firstX + viewWidth)
        return x + kMetatileSize - viewWidth;
    return firstX;
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

Bitmap blockPicture(const MapBlock& block, const Bitmap& sheet)
{
    Bitmap out(std::max(block.columns, 0) * kMetatileSize, std::max(block.rows, 0) * kMetatileSize, 0);
    for (int row = 0; row < block.rows; ++row)
        for (int column = 0; column < block.columns; ++column) {
            const int m = block.at(column, row);
            blit(out, column * kMetatileSize, row * kMetatileSize, kMetatileSize, kMetatileSize, sheet, m % 16 * kMetatileSize, m / 16 * kMetatileSize);
        }
    return out;
}

}  // namespace velmar
