#include "mapview/map_view_rules.h"

#include <algorithm>
#include <cstdlib>

#include "base/hex.h"
#include "gfx/metatile_render.h"

namespace velmar {

MapScroll setupMapScroll(int screens, bool startAtLeft, int viewWidth)
{
    MapScroll s;
    if (screens * 256 < viewWidth)
        return s;
    s.enabled = true;
    s.maximum = screens * 256 - viewWidth;
    s.value = startAtLeft ? 0 : s.maximum;
    return s;
}

GridLines buildGridLines(int screens)
{
    GridLines g;
    const int width = screens * 256;
    for (int i = 0; i <= screens * 8 - 2; ++i)
        g.metatileVertical.push_back({kMetatileSize * (i + 1), 0, kMetatileSize * (i + 1), 176});
    for (int i = 0; i < 6; ++i)
        g.metatileHorizontal.push_back({0, kMetatileSize * (i + 1), width, kMetatileSize * (i + 1)});
    for (int i = 0; i < screens; ++i)
        g.screenVertical.push_back({256 * (i + 1), 0, 256 * (i + 1), 176});
    return g;
}

std::uint8_t pickerMetatile(int x, int y)
{
    return static_cast<std::uint8_t>(((y / kMetatileSize) * 16 + x / kMetatileSize) & 0xFF);
}

MapCell mapCellAt(int x, int y)
{
    const auto floorDiv = [](int v) {
        return v >= 0 ? v / kMetatileSize : -((-v + kMetatileSize - 1) / kMetatileSize);
    };
    return {floorDiv(x), floorDiv(y)};
}

std::vector<MapCell> cellsAlong(MapCell from, MapCell to)
{
    // Bresenham's line over cells.
    std::vector<MapCell> out;
    const int dx = std::abs(to.column - from.column);
    const int dy = -std::abs(to.row - from.row);
    const int sx = from.column < to.column ? 1 : -1;
    const int sy = from.row < to.row ? 1 : -1;
    int error = dx + dy;
    MapCell at = from;
    while (!(at == to)) {
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.column += sx;
        }
        if (twice <= dx) {
            error += dx;
            at.row += sy;
        }
        out.push_back(at);
    }
    return out;
}

std::string pointerText(int x, int y, bool actorColumns)
{
    const int screen = std::max(x, 0) / 256;
    const int inScreen = std::max(x, 0) % 256;
    const int py = std::max(y, 0);
    if (actorColumns)
        return "Screen " + hexPad(screen, 2) + "  X " + hexText(inScreen / 16) + "  Y " + hexText(py / 16);
    return "Screen " + hexPad(screen, 2) + "  Column " + std::to_string(inScreen / kMetatileSize) + "  Row "
        + std::to_string(py / kMetatileSize);
}

std::array<StatusPanel, 7> statusPanels(const SceneRecord& s)
{
    auto panel = [](const char* key, const char* prefix, std::int64_t value) {
        return StatusPanel{key, std::string(prefix) + hexPad(value, 4)};
    };
    return {panel("status1", "Map: $", s.mapAddress),      panel("status4", "M-T: $", s.subtileAddress),
            panel("status3", "M-S: $", s.metatileAddress), panel("status2", "M-A: $", s.attributeAddress),
            panel("status6", "E-X: $", s.enemyBAddress),   panel("status7", "E-Y: $", s.enemyXYAddress),
            panel("status5", "E-T: $", s.enemyIdAddress)};
}

}  // namespace velmar
