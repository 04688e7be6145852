#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "actors/map_end.h"
#include "actors/sprite_frames.h"
#include "editor/document.h"
#include "editor/scene_properties.h"
#include "expansion/resize_result.h"
#include "gfx/tile_import.h"
#include "scene/map_cells.h"
#include "text/char_table.h"
#include "text/text_packer.h"

// The edits a user makes, each one step of the document's history over a rule of the floor that
// owns the data. The windows and the CLI change the document only through these, never by
// writing to the image or the scene themselves, nor by calling Document::edit.
namespace velmar::edits {

// A change that reports an outcome of its own (a resize, the text packing) carried out as one step:
// the outcome is the change's, unless the change went through and storing or reading the scene
// back afterwards failed, or no file is open. Then the document has undone the change, and the
// outcome is `failed` with the document's reason.
template <typename Result>
Result editWithOutcome(Document& doc, const Document::EditSpec& spec, decltype(Result{}.code) failed,
                       const std::function<Result(EditContext&)>& change)
{
    std::optional<Result> result;
    const Outcome<EditResult> edit = doc.edit(spec, [&](EditContext& context) {
        result = change(context);
        return result->ok();
    });
    if (result && (!result->ok() || edit.ok()))
        return *result;
    Result out;
    out.code = failed;
    out.reason = edit.reason;
    return out;
}

// A change of the current scene (record, pattern banks, metatile tables) made by `change`,
// which returns false to refuse. Refused when no scene is current.
Outcome<EditResult> editScene(Document& doc, const Document::EditSpec& spec,
                              const std::function<bool(SceneState&)>& change);

// "Place Metatile": map cell `cell` becomes `metatile`. Refused outside the map. In a stroke,
// every cell crossed joins the one step.
Outcome<EditResult> placeMetatile(Document& doc, MapCell cell, std::uint8_t metatile);

// A rectangle of map cells all set to `metatile`, under the name given ("Fill Selection", "Cut",
// "Delete"). Cells outside the map are left out; refused when none lies inside.
Outcome<EditResult> fillRegion(Document& doc, const CellRect& cells, std::uint8_t metatile, std::string name);

// "Paste": a copied block written with its top left at `at`, cells outside the map left out.
Outcome<EditResult> pasteRegion(Document& doc, MapCell at, const MapBlock& block);

// "Erase Map": every cell of the current map becomes metatile 0.
Outcome<EditResult> eraseMap(Document& doc);

// Enemy or item `index` of the current scene becomes `record`, under the name given ("Move
// Enemy", "Change Item Type"). The lists are stored sorted, so the record may move: `position`,
// when given, receives the index it has afterwards. An item type above 0x0F is refused (it has
// four bits), and so is a place past the map's end (see moveRefusal), with the limit.
Outcome<EditResult> setEnemy(Document& doc, std::size_t index, const EnemyRecord& record, std::string name,
                             std::size_t* position = nullptr);
Outcome<EditResult> setItem(Document& doc, std::size_t index, const ItemRecord& record, std::string name,
                            std::size_t* position = nullptr);

// "Add Enemy" / "Add Item": `actor` joins its kind's list of the current scene, and every scene's
// actor tables are repacked to make its room. Refused with the reason for a place past the map's
// end, a list of FF already, or tables that no longer fit. `position` receives its index once
// the list is stored in order.
Outcome<EditResult> addActor(Document& doc, const Actor& actor, std::size_t* position = nullptr);
// "Delete Enemy" / "Delete Item": actor `index` of `kind` leaves its list; the tables are repacked.
Outcome<EditResult> deleteActor(Document& doc, ActorKind kind, std::size_t index);
// "Duplicate Enemy" / "Duplicate Item": a copy of actor `index` of `kind`, placed by
// duplicatePlace, added as addActor adds one.
Outcome<EditResult> duplicateActor(Document& doc, ActorKind kind, std::size_t index, std::size_t* position = nullptr);
// The names of those steps: "Add Enemy", "Delete Item", ...
enum class ActorCommand { Add, Delete, Duplicate };
std::string actorCommandName(ActorCommand command, ActorKind kind);

// "Move Player Start".
Outcome<EditResult> moveStart(Document& doc, std::uint8_t x, std::uint8_t y);

// Sets one property of the scene or its stage, under its row's step name ("Edit Time Limit",
// "Edit SPR Bank", "Edit Palette Selector", ...). A value above the row's largest (a bank the
// image cannot hold) is refused with the reason; nothing changes. For a property of two words
// (the direction) any value but 0 counts as the second. A new bank shows that bank's tiles; the
// tiles of the bank shown before are already in the image. A new palette selector shows the
// colours the image holds under it: the colours shown before stay in the image under the old one.
Outcome<EditResult> setSceneProperty(Document& doc, SceneProperty property, std::uint8_t value);

// "Edit Palette": entry `index` (0..31) of the scene's palette memory becomes NES colour `colour`.
// Colour 0 of each sub-palette (entries 0, 4, .. 28) is one colour shared by all eight and by
// every scene with the same shared colour index: changing one changes them all.
Outcome<EditResult> setPaletteEntry(Document& doc, int index, std::uint8_t colour);

// "Edit Palette": colour 0 of all eight sub-palettes (entries 0, 4, ..., 28), the one background
// colour they share, becomes NES colour `colour`, as one step.
Outcome<EditResult> setSharedColour(Document& doc, std::uint8_t colour);

enum class PatternTable { Background, Sprite };

// "Paint Pixels": pixel (x, y) of tile `tile` of the scene's background or sprite bank.
Outcome<EditResult> paintPixel(Document& doc, PatternTable table, std::uint8_t tile, int x, int y, std::uint8_t value);

// The tile operations of the tile editors' buttons.
enum class TileOperation { ShiftLeft, ShiftRight, ShiftUp, ShiftDown, FlipTopToBottom, FlipLeftToRight, Rotate };

// "Shift Tile", "Flip Tile", "Rotate Tile": `operation` on tile `tile` of the scene's background or
// sprite bank. Shifts wrap around; the rotation is a quarter turn anticlockwise.
Outcome<EditResult> transformTile(Document& doc, PatternTable table, std::uint8_t tile, TileOperation operation);

// "Copy Tile": tile `target` of the bank takes the pixels of tile `source`.
Outcome<EditResult> copyTile(Document& doc, PatternTable table, std::uint8_t source, std::uint8_t target);

// How importing a picture's tiles ended: the picture's fault, or the edit's.
struct TileImport {
    Outcome<TileImportResult> picture;
    Outcome<EditResult> edit;
};

// "Import Tiles": the tiles of a sheet drawn as drawTileSheet draws them at `scale` in `colours`
// become pattern bank `bank` (0..1F). When the picture does not read as tiles, nothing changes,
// `picture` says why and `edit` is Refused.
TileImport importTiles(Document& doc, int bank, const Bitmap& sheet, const std::array<ScreenColour, 4>& colours,
                       int scale);

// The quarters of a subtile or a metatile, as they are stored: 0 top left, 1 bottom left, 2 top
// right, 3 bottom right. A quarter outside 0..3 is refused by the edits below.
constexpr int kQuarterCount = 4;

// "Edit Subtile": quarter `quarter` of subtile `subtile` of the scene's tileset becomes pattern
// tile `tile`.
Outcome<EditResult> setSubtileTile(Document& doc, std::uint8_t subtile, int quarter, std::uint8_t tile);

// "Edit Metatile": quarter `quarter` of metatile `metatile` becomes subtile `subtile`.
Outcome<EditResult> setMetatileSubtile(Document& doc, std::uint8_t metatile, int quarter, std::uint8_t subtile);

// "Edit Attributes": quarter `quarter` of metatile `metatile` is drawn in background palette
// `palette` (0..3; another value is refused).
Outcome<EditResult> setAttributePalette(Document& doc, std::uint8_t metatile, int quarter, int palette);

// "Edit Frame": frame `frame` of a frame set becomes `f`, written in place at its pointers. The
// sprite count is the one stored: a frame with another count is refused (it would run over the
// next frame's lists), as is a frame whose pointers lead outside the image.
Outcome<EditResult> setSpriteFrame(Document& doc, FrameSet set, std::uint8_t frame, const SpriteFrame& f);

// "Edit Animation": the (timer, frame) pairs of animation `animation` become `pairs`, written in
// place. The number of pairs is the one stored. After the first pair, a timer of 00 or FF ends
// an animation, so it is refused there: it would cut the steps after it off the animation.
Outcome<EditResult> setAnimation(Document& doc, int animation, const Bytes& pairs);

// What a shrink of the map does with the actors it would leave past the new end: refuses
// (ActorsPastEnd, the reason naming them), removes them in the same step, or keeps them there.
enum class ActorsPastEnd { Refuse, Remove, Keep };

// "Resize Map", "Resize Items", "Resize Enemies": the resizes of the current scene, which
// repack the tables of every scene. One step each; the outcome is the resize's own.
Outcome<ResizeResult> resizeMap(Document& doc, int newLength, bool atEnd,
                                ActorsPastEnd pastEnd = ActorsPastEnd::Refuse);
Outcome<ResizeResult> resizeItems(Document& doc, int newCount);
Outcome<ResizeResult> resizeEnemies(Document& doc, int newCount);

// "Edit Texts": packs all 113 texts with the character table, rewriting the text pointers. A
// text without its end code is refused unless `endCode` allows it.
TextPackOutcome packTexts(Document& doc, const CharTable& table, const std::vector<std::string>& texts,
                          EndCode endCode = EndCode::Required);

// "Edit Text": text n becomes `text` and the others stay as the image holds them, all packed
// again as packTexts does. Refused as packTexts refuses, and when a text of the image cannot be
// read with `table` (naming it).
TextPackOutcome setText(Document& doc, const CharTable& table, int n, const std::string& text,
                        EndCode endCode = EndCode::Required);

// "Apply Patch": an IPS or BPS patch of the whole file (header included) applied to the open
// image, as one step. Refused with the reason, nothing changed, when the patch is broken, made
// for another image, or would change the file's size or header: that makes another file, not an
// edit of this one.
Outcome<EditResult> applyPatch(Document& doc, const Bytes& patch);

// "Store Scene": stores the current scene unedited, as leaving it did in the game's editor. The
// image changes only where the stored form differs from what was read.
Outcome<EditResult> storeScene(Document& doc);

}  // namespace velmar::edits
