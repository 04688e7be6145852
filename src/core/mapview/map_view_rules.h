#pragma once

#include <array>
#include <string>
#include <vector>

#include "rom/scene_record.h"
#include "scene/map_cells.h"

namespace velmar {

// The map window shows three screens; the picker four rows of metatiles.
constexpr int kVisibleScreens = 3;
constexpr int kMapViewWidth = kVisibleScreens * 256;
constexpr int kPickerRows = 4;
constexpr int kPickerMaxRow = 16 - kPickerRows;  // 12

// The horizontal scroll bar of the map for a scene of `screens` screens.
struct MapScroll {
    bool enabled = false;
    int maximum = 0;
    int value = 0;
};

// For a view `viewWidth` pixels wide (three screens at least; more when the window is wider). A
// map narrower than the view: disabled at 0. Otherwise 0..(map width - view width), starting at
// the left end or, for a scene that runs right to left, at the right end.
MapScroll setupMapScroll(int screens, bool startAtLeft, int viewWidth = kMapViewWidth);

// A grid line on the map surface, from (x1, y1) to (x2, y2).
struct GridLine {
    int x1, y1, x2, y2;
    bool operator==(const GridLine&) const = default;
};

struct GridLines {
    std::vector<GridLine> metatileVertical;    // every 32 pixels inside the map
    std::vector<GridLine> metatileHorizontal;  // six, reaching to the map's right edge
    std::vector<GridLine> screenVertical;      // at the right edge of every screen
};

GridLines buildGridLines(int screens);

// The grid colour for the scroll value 0..255: black to pure blue.
constexpr std::uint32_t gridColour(int value) { return static_cast<std::uint32_t>(value & 0xFF) << 16; }

// The metatile under a press on the picker at sheet pixel (x, y).
std::uint8_t pickerMetatile(int x, int y);

// The cell under map pixel (x, y); pixels left of or above the map give negative cells.
MapCell mapCellAt(int x, int y);

// The cells a drag from one cell to another crosses, in order, the first one left out: a fast
// drag paints every cell on its way, not only those the pointer was seen over.
std::vector<MapCell> cellsAlong(MapCell from, MapCell to);

// Where the pointer is, for the status bar: the screen (two hex digits), then the metatile cell
// ("Screen 02  Column 3  Row 4", columns 0-7 and rows 0-5) or, with `actorColumns`, the
// 16-pixel column and row in the hex digits the actor lists use ("Screen 02  X A  Y 9").
std::string pointerText(int x, int y, bool actorColumns);

// The seven status panels: key and text ("Map: $8A10"), in their order on the bar.
struct StatusPanel {
    std::string key;
    std::string text;
};
std::array<StatusPanel, 7> statusPanels(const SceneRecord& scene);

}  // namespace velmar
