#pragma once

#include "gfx/bitmap.h"
#include "mapview/map_view_rules.h"
#include "rom/scene_record.h"
#include "scene/map_cells.h"

// The map view's rules for regions of cells: the rubber band, the keyboard's cursor and the
// picture of a copied block. The cells themselves and their changes are scene/map_cells.h.
namespace velmar {

// The rectangle with corners `a` and `b` (either first), both cells inside it.
CellRect spanCells(MapCell a, MapCell b);

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

// The picture of a block: each cell its metatile from the 512 x 512 sheet of the scene's 256
// metatiles (metatile m at column m % 16, row m / 16, 32 pixels each).
Bitmap blockPicture(const MapBlock& block, const Bitmap& sheet);

}  // namespace velmar
