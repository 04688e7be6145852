#pragma once

#include <array>

#include "gfx/bitmap.h"
#include "gfx/tile_drawing.h"
#include "rom/scene_record.h"

namespace velmar {

// The pictures of the background editor, drawn from the shared tables.
struct BackgroundEditorViews {
    Bitmap patternTable = Bitmap(256, 256);  // the 256 tiles at 2x
    Bitmap selectedTile = Bitmap(64, 64);    // the selected tile at 8x
    Bitmap subtile = Bitmap(64, 64);         // the selected subtile at 4x
    Bitmap metatile = Bitmap(128, 128);      // the selected metatile at 4x
    Bitmap attributes = Bitmap(64, 64);      // each quarter in the marker colour of its palette
};

struct BackgroundEditorSelection {
    std::uint8_t tile = 0;
    std::uint8_t subtile = 0;
    std::uint8_t metatile = 0;
    std::uint8_t tilePalette = 0;  // the palette of the tile, subtile and pattern table views
};

// Marker colours of background palettes 0-3: navy, maroon, green, yellow.
constexpr std::array<ScreenColour, 4> kPaletteMarkers = {rgb(0, 0, 128), rgb(128, 0, 0), rgb(0, 128, 0),
                                                         rgb(255, 255, 0)};

void drawSelectedTile(BackgroundEditorViews& views, const PixelArray& pixels, PaletteView palette,
                      const BackgroundEditorSelection& sel);
void drawAttributeView(BackgroundEditorViews& views, const MetatileTables& tables, std::uint8_t metatile);

// Pattern table, selected tile, metatile, subtile and attribute view, in that order: what the
// editor redraws after every painted pixel.
void redrawAll(BackgroundEditorViews& views, const PixelArray& pixels, const MetatileTables& tables,
               PaletteView palette, const BackgroundEditorSelection& sel);

// The metatile, subtile and attribute views alone (the tile views are the tile editor's).
void redrawTableViews(BackgroundEditorViews& views, const PixelArray& pixels, const MetatileTables& tables,
                      PaletteView palette, const BackgroundEditorSelection& sel);

}  // namespace velmar
