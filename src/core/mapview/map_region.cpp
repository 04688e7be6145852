#include "mapview/map_region.h"

#include <algorithm>

#include "gfx/metatile_render.h"

namespace velmar {

CellRect spanCells(MapCell a, MapCell b)
{
    const int left = std::min(a.column, b.column), top = std::min(a.row, b.row);
    return {left, top, std::max(a.column, b.column) - left + 1, std::max(a.row, b.row) - top + 1};
}

MapCell stepCell(const SceneRecord& scene, MapCell from, int columns, int rows)
{
    return {std::clamp(from.column + columns, 0, std::max(mapColumns(scene) - 1, 0)),
            std::clamp(from.row + rows, 0, kMapRows - 1)};
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

Bitmap blockPicture(const MapBlock& block, const Bitmap& sheet)
{
    Bitmap out(std::max(block.columns, 0) * kMetatileSize, std::max(block.rows, 0) * kMetatileSize, 0);
    for (int row = 0; row < block.rows; ++row)
        for (int column = 0; column < block.columns; ++column) {
            const int m = block.at(column, row);
            blit(out, column * kMetatileSize, row * kMetatileSize, kMetatileSize, kMetatileSize, sheet,
                 m % 16 * kMetatileSize, m / 16 * kMetatileSize);
        }
    return out;
}

}  // namespace velmar
