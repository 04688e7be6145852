#include "gfx/background_editor_views.h"

#include "gfx/metatile_render.h"

namespace velmar {

void drawSelectedTile(BackgroundEditorViews& views, const PixelArray& pixels, PaletteView palette,
                      const BackgroundEditorSelection& sel)
{
    drawTileZoomed(views.selectedTile, pixels, sel.tile, palette, sel.tilePalette);
}

void drawAttributeView(BackgroundEditorViews& views, const MetatileTables& tables, std::uint8_t metatile)
{
    views.attributes.clear();
    const std::uint8_t attribute = tables.metatileDefs[metatile][0];
    for (int q = 0; q < 4; ++q) {
        const ScreenColour c = kPaletteMarkers[static_cast<std::size_t>(quadrantPalette(q, attribute))];
        views.attributes.fill(32 * (q / 2), 32 * (q % 2), 32, 32, c);
    }
}

void redrawAll(BackgroundEditorViews& views, const PixelArray& pixels, const MetatileTables& tables,
               PaletteView palette, const BackgroundEditorSelection& sel)
{
    drawTileSheet(views.patternTable, pixels, palette, sel.tilePalette, 2);
    drawSelectedTile(views, pixels, palette, sel);
    redrawTableViews(views, pixels, tables, palette, sel);
}

void redrawTableViews(BackgroundEditorViews& views, const PixelArray& pixels, const MetatileTables& tables,
                      PaletteView palette, const BackgroundEditorSelection& sel)
{
    drawMetatile(views.metatile, pixels, tables, sel.metatile, palette, 4);
    drawSubtile(views.subtile, pixels, tables, sel.subtile, palette, sel.tilePalette, 4);
    drawAttributeView(views, tables, sel.metatile);
}

}  // namespace velmar
