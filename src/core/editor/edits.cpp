#include "editor/edits.h"

#include <algorithm>
#include <type_traits>

#include "base/hex.h"
#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"
#include "gfx/metatile_render.h"
#include "gfx/tile_drawing.h"
#include "gfx/tile_ops.h"
#include "patch/patch_file.h"
#include "rom/actor_sort.h"
#include "rom/address_map.h"
#include "rom/scene_codec.h"

namespace velmar::edits {

Outcome<EditResult> editScene(Document& doc, const Document::EditSpec& spec,
                              const std::function<bool(SceneState&)>& change)
{
    if (!doc.hasScene())
        return Outcome<EditResult>::failure(EditResult::Refused, "No scene is shown.");
    return doc.edit(spec, [&change](EditContext& context) { return change(context.scene()); });
}

Outcome<EditResult> placeMetatile(Document& doc, MapCell cell, std::uint8_t metatile)
{
    return editScene(doc, {"Place Metatile", part::Map, cell.column * kMetatileSize},
                     [&](SceneState& s) { return velmar::placeMetatile(s.currentScene, cell, metatile); });
}

Outcome<EditResult> eraseMap(Document& doc)
{
    return editScene(doc, {"Erase Map", part::Map, Document::kFocusNone}, [](SceneState& s) {
        velmar::eraseMap(s.currentScene);
        return true;
    });
}

namespace {

// The map pixel column of an enemy (its screen plus its column inside it) and of an item.
int enemyFocus(const EnemyRecord& e) { return e.b * 16 + (e.xy & 0x0F) * 16; }
int itemFocus(const ItemRecord& i) { return i.x * 16; }

}  // namespace

Outcome<EditResult> fillRegion(Document& doc, const CellRect& cells, std::uint8_t metatile, std::string name)
{
    return editScene(doc, {std::move(name), part::Map, cells.column * kMetatileSize},
                     [&](SceneState& s) { return fillCells(s.currentScene, cells, metatile); });
}

Outcome<EditResult> pasteRegion(Document& doc, MapCell at, const MapBlock& block)
{
    return editScene(doc, {"Paste", part::Map, at.column * kMetatileSize},
                     [&](SceneState& s) { return pasteBlock(s.currentScene, at, block); });
}

namespace {

// Actor `index` of its list becomes `record`: refused for an index past the list, an item type
// above 0x0F, or a place past the map's end (the reason then says the limit).
template <typename Record>
Outcome<EditResult> setActor(Document& doc, std::size_t index, const Record& record, std::string name, int focus,
                             std::vector<Record> SceneRecord::*list, std::size_t* position)
{
    if (!doc.hasScene())
        return Outcome<EditResult>::failure(EditResult::Refused, "No scene is shown.");
    const SceneRecord& now = doc.currentScene();
    if (index < (now.*list).size()) {
        if (std::string why = moveRefusal(Actor((now.*list)[index]), Actor(record), now.length); !why.empty())
            return Outcome<EditResult>::failure(EditResult::Refused, why);
    }
    return editScene(doc, {std::move(name), part::Actors, focus}, [&](SceneState& s) {
        std::vector<Record>& records = s.currentScene.*list;
        if (index >= records.size())
            return false;
        records[index] = record;
        if (position)
            *position = sortedPosition(records, index);
        return true;
    });
}

}  // namespace

Outcome<EditResult> setEnemy(Document& doc, std::size_t index, const EnemyRecord& record, std::string name,
                             std::size_t* position)
{
    return setActor(doc, index, record, std::move(name), enemyFocus(record), &SceneRecord::enemies, position);
}

Outcome<EditResult> setItem(Document& doc, std::size_t index, const ItemRecord& record, std::string name,
                            std::size_t* position)
{
    if (record.id > 0x0F)
        return Outcome<EditResult>::failure(EditResult::Refused, "An item type is 0 to F.");
    return setActor(doc, index, record, std::move(name), itemFocus(record), &SceneRecord::items, position);
}

std::string actorCommandName(ActorCommand command, ActorKind kind)
{
    const char* what = kind == ActorKind::Enemy ? "Enemy" : "Item";
    switch (command) {
    case ActorCommand::Add: return std::string("Add ") + what;
    case ActorCommand::Delete: return std::string("Delete ") + what;
    case ActorCommand::Duplicate: return std::string("Duplicate ") + what;
    }
    return what;
}

namespace {

int actorFocus(const Actor& actor) { return actorColumn(actor) * 16; }

// The current scene's lists changed by `change` and packed anew as one step named `name`: the
// actor tables of every scene move to make (or give back) the room. The reason of a refusal is
// the packer's.
Outcome<EditResult> changeActorLists(Document& doc, const std::string& name, int focus,
                                     const std::function<void(ActorLists&)>& change)
{
    if (!doc.hasScene())
        return Outcome<EditResult>::failure(EditResult::Refused, "No scene is shown.");
    const RomOffset areaEnd = doc.actorAreaEnd();
    std::string refusal;
    Outcome<EditResult> r = doc.edit({name, part::Actors, focus}, [&](EditContext& c) {
        SceneRecord& s = c.scene().currentScene;
        ActorLists lists{s.items, s.enemies};
        change(lists);
        const Outcome<ResizeResult> packed =
            replaceActors(c.image(), s, std::move(lists.items), std::move(lists.enemies), areaEnd);
        refusal = packed.reason;
        return packed.ok();
    });
    if (r.code == EditResult::Refused && !refusal.empty())
        r.reason = refusal;
    return r;
}

template <typename Record> std::vector<Record>& listOf(ActorLists& lists)
{
    if constexpr (std::is_same_v<Record, EnemyRecord>)
        return lists.enemies;
    else
        return lists.items;
}

ActorKind kindOf(const Actor& actor)
{
    return std::holds_alternative<EnemyRecord>(actor) ? ActorKind::Enemy : ActorKind::Item;
}

Outcome<EditResult> addNamed(Document& doc, const Actor& actor, const std::string& name, std::size_t* position)
{
    const ActorKind kind = kindOf(actor);
    if (!doc.hasScene())
        return Outcome<EditResult>::failure(EditResult::Refused, "No scene is shown.");
    const SceneRecord& now = doc.currentScene();
    if (std::string why = beyondEndReason(actor, now.length); !why.empty())
        return Outcome<EditResult>::failure(EditResult::Refused, why);
    if (kind == ActorKind::Item && std::get<ItemRecord>(actor).id > 0x0F)
        return Outcome<EditResult>::failure(EditResult::Refused, "An item type is 0 to F.");
    if (actorCount(now, kind) >= 0xFF)
        return Outcome<EditResult>::failure(EditResult::Refused,
                                            kind == ActorKind::Enemy ? "The scene holds FF enemies, as many as it can."
                                                                     : "The scene holds FF items, as many as it can.");
    return changeActorLists(doc, name, actorFocus(actor), [&](ActorLists& lists) {
        std::visit(
            [&](const auto& record) {
                auto& list = listOf<std::decay_t<decltype(record)>>(lists);
                list.push_back(record);
                if (position)
                    *position = sortedPosition(list, list.size() - 1);
            },
            actor);
    });
}

}  // namespace

Outcome<EditResult> addActor(Document& doc, const Actor& actor, std::size_t* position)
{
    return addNamed(doc, actor, actorCommandName(ActorCommand::Add, kindOf(actor)), position);
}

Outcome<EditResult> deleteActor(Document& doc, ActorKind kind, std::size_t index)
{
    const auto actor = doc.hasScene() ? actorAt(doc.currentScene(), kind, index) : std::nullopt;
    if (!actor)
        return Outcome<EditResult>::failure(EditResult::Refused, doc.hasScene() ? std::string() : "No scene is shown.");
    return changeActorLists(doc, actorCommandName(ActorCommand::Delete, kind), actorFocus(*actor),
                            [&](ActorLists& lists) {
                                const auto at = static_cast<std::ptrdiff_t>(index);
                                if (kind == ActorKind::Enemy)
                                    lists.enemies.erase(lists.enemies.begin() + at);
                                else
                                    lists.items.erase(lists.items.begin() + at);
                            });
}

Outcome<EditResult> duplicateActor(Document& doc, ActorKind kind, std::size_t index, std::size_t* position)
{
    const auto actor = doc.hasScene() ? actorAt(doc.currentScene(), kind, index) : std::nullopt;
    if (!actor)
        return Outcome<EditResult>::failure(EditResult::Refused, doc.hasScene() ? std::string() : "No scene is shown.");
    return addNamed(doc, duplicatePlace(*actor, doc.currentScene().length),
                    actorCommandName(ActorCommand::Duplicate, kind), position);
}

Outcome<EditResult> moveStart(Document& doc, std::uint8_t x, std::uint8_t y)
{
    return editScene(doc, {"Move Player Start", part::Actors, x}, [&](SceneState& s) {
        s.currentScene.startX = x;
        s.currentScene.startY = y;
        return true;
    });
}

Outcome<EditResult> setSceneProperty(Document& doc, SceneProperty property, std::uint8_t value)
{
    const ScenePropertyRow& row = sceneProperty(property);
    if (row.words[0])
        value = value ? row.max : 0;
    if (const std::optional<std::string> refusal = propertyValueRefusal(row, value))
        return Outcome<EditResult>::failure(EditResult::Refused, *refusal);
    if (!doc.hasScene())
        return Outcome<EditResult>::failure(EditResult::Refused, "No scene is shown.");
    return doc.edit({row.stepName, row.parts, Document::kFocusNone}, [&](EditContext& context) {
        SceneRecord& r = context.scene().currentScene;
        setPropertyValue(r, row, value);
        // Every colour edit is already in the image under the old selectors, so reading the
        // colours again loses nothing; storing the old colours under the new selector would
        // overwrite that palette instead.
        return !(row.parts & part::Palette) || loadScenePalettes(context.image(), r, false).ok();
    });
}

Outcome<EditResult> setPaletteEntry(Document& doc, int index, std::uint8_t colour)
{
    return editScene(doc, {"Edit Palette", part::Palette, Document::kFocusNone}, [&](SceneState& s) {
        if (index < 0 || index >= static_cast<int>(s.currentScene.palette.size()))
            return false;
        s.currentScene.palette[static_cast<std::size_t>(index)] = colour;
        return true;
    });
}

Outcome<EditResult> setSharedColour(Document& doc, std::uint8_t colour)
{
    return editScene(doc, {"Edit Palette", part::Palette, Document::kFocusNone}, [&](SceneState& s) {
        for (std::size_t k = 0; k < s.currentScene.palette.size(); k += 4)
            s.currentScene.palette[k] = colour;
        return true;
    });
}

Outcome<EditResult> paintPixel(Document& doc, PatternTable table, std::uint8_t tile, int x, int y, std::uint8_t value)
{
    return editScene(doc, {"Paint Pixels", part::Patterns, Document::kFocusNone}, [&](SceneState& s) {
        PixelArray& pixels = table == PatternTable::Background ? s.bkgPatterns : s.sprPatterns;
        const std::size_t at =
            static_cast<std::size_t>(tile) * 64 + static_cast<std::size_t>(y) * 8 + static_cast<std::size_t>(x);
        if (x < 0 || x > 7 || y < 0 || y > 7 || at >= pixels.size() || value > 3)
            return false;
        pixels[at] = value;
        return true;
    });
}

namespace {

// A change of one tile of the scene's background or sprite bank.
Outcome<EditResult> editTile(Document& doc, PatternTable table, const char* name,
                             const std::function<void(PixelArray&)>& change)
{
    return editScene(doc, {name, part::Patterns, Document::kFocusNone}, [&](SceneState& s) {
        change(table == PatternTable::Background ? s.bkgPatterns : s.sprPatterns);
        return true;
    });
}

}  // namespace

Outcome<EditResult> transformTile(Document& doc, PatternTable table, std::uint8_t tile, TileOperation operation)
{
    // shiftTile takes the offset a result pixel reads from: +1 brings column 1 to column 0, a
    // move left.
    switch (operation) {
    case TileOperation::ShiftLeft:
        return editTile(doc, table, "Shift Tile", [&](PixelArray& p) { shiftTile(p, tile, 1, 0); });
    case TileOperation::ShiftRight:
        return editTile(doc, table, "Shift Tile", [&](PixelArray& p) { shiftTile(p, tile, -1, 0); });
    case TileOperation::ShiftUp:
        return editTile(doc, table, "Shift Tile", [&](PixelArray& p) { shiftTile(p, tile, 0, 1); });
    case TileOperation::ShiftDown:
        return editTile(doc, table, "Shift Tile", [&](PixelArray& p) { shiftTile(p, tile, 0, -1); });
    case TileOperation::FlipTopToBottom:
        return editTile(doc, table, "Flip Tile", [&](PixelArray& p) { flipTile(p, tile, false, true); });
    case TileOperation::FlipLeftToRight:
        return editTile(doc, table, "Flip Tile", [&](PixelArray& p) { flipTile(p, tile, true, false); });
    case TileOperation::Rotate: return editTile(doc, table, "Rotate Tile", [&](PixelArray& p) { rotateTile(p, tile); });
    }
    return Outcome<EditResult>::failure(EditResult::Refused, {});
}

Outcome<EditResult> copyTile(Document& doc, PatternTable table, std::uint8_t source, std::uint8_t target)
{
    return editTile(doc, table, "Copy Tile", [&](PixelArray& p) { velmar::copyTile(p, source, p, target); });
}

TileImport importTiles(Document& doc, int bank, const Bitmap& sheet, const std::array<ScreenColour, 4>& colours,
                       int scale)
{
    TileImport result;
    PixelArray pixels;
    if (const RomStatus status = loadChrBank(doc.romData(), pixels, bank); !status.ok()) {
        result.edit = Outcome<EditResult>::failure(EditResult::Refused, status.message());
        return result;
    }
    result.picture = importTileSheet(sheet, colours, scale, pixels);
    if (!result.picture.ok()) {
        result.edit.code = EditResult::Refused;
        return result;
    }
    result.edit = doc.edit({"Import Tiles", part::Patterns, Document::kFocusNone},
                           [&](EditContext& c) { return saveChrBank(c.image(), pixels, bank).ok(); });
    return result;
}

namespace {

// A change of the scene's subtile and metatile tables, at quarter `quarter` of one entry.
Outcome<EditResult> editQuarter(Document& doc, const char* name, int quarter,
                                const std::function<void(MetatileTables&, std::size_t)>& change)
{
    if (quarter < 0 || quarter >= kQuarterCount)
        return Outcome<EditResult>::failure(EditResult::Refused, "A quarter is 0 to 3.");
    return editScene(doc, {name, part::Metatiles, Document::kFocusNone}, [&](SceneState& s) {
        change(s.metatiles, static_cast<std::size_t>(quarter));
        return true;
    });
}

}  // namespace

Outcome<EditResult> setSubtileTile(Document& doc, std::uint8_t subtile, int quarter, std::uint8_t tile)
{
    return editQuarter(doc, "Edit Subtile", quarter,
                       [&](MetatileTables& t, std::size_t q) { t.subtileDefs[subtile][q] = tile; });
}

Outcome<EditResult> setMetatileSubtile(Document& doc, std::uint8_t metatile, int quarter, std::uint8_t subtile)
{
    // Byte 0 of a metatile is its attribute byte; the quarters' subtiles follow.
    return editQuarter(doc, "Edit Metatile", quarter,
                       [&](MetatileTables& t, std::size_t q) { t.metatileDefs[metatile][1 + q] = subtile; });
}

Outcome<EditResult> setAttributePalette(Document& doc, std::uint8_t metatile, int quarter, int palette)
{
    if (palette < 0 || palette > 3)
        return Outcome<EditResult>::failure(EditResult::Refused, "A background palette is 0 to 3.");
    return editQuarter(doc, "Edit Attributes", quarter, [&](MetatileTables& t, std::size_t q) {
        std::uint8_t& attribute = t.metatileDefs[metatile][0];
        attribute = setQuadrantPalette(static_cast<int>(q), attribute, palette);
    });
}

Outcome<EditResult> setSpriteFrame(Document& doc, FrameSet set, std::uint8_t frame, const SpriteFrame& f)
{
    SpriteFrame stored;
    if (const RomStatus s = readSpriteFrame(doc.romData(), set, frame, stored); !s.ok())
        return Outcome<EditResult>::failure(EditResult::Refused, s.message());
    if (f.tileCount != stored.tileCount)
        return Outcome<EditResult>::failure(EditResult::Refused, "A frame keeps its number of sprites.");
    RomStatus written;
    Outcome<EditResult> r = doc.edit({"Edit Frame", part::Sprites, Document::kFocusNone}, [&](EditContext& c) {
        written = writeSpriteFrame(c.image(), set, frame, f);
        return written.ok();
    });
    if (!written.ok())
        r.reason = written.message();
    return r;
}

Outcome<EditResult> setAnimation(Document& doc, int animation, const Bytes& pairs)
{
    Bytes stored;
    if (const RomStatus s = readAnimation(doc.romData(), animation, stored); !s.ok())
        return Outcome<EditResult>::failure(EditResult::Refused, s.message());
    if (pairs.size() != stored.size())
        return Outcome<EditResult>::failure(EditResult::Refused, "An animation keeps its number of steps.");
    for (std::size_t i = 2; i < pairs.size(); i += 2) {
        if (pairs[i] == 0x00 || pairs[i] == 0xFF)
            return Outcome<EditResult>::failure(
                EditResult::Refused,
                "A timer of 00 or FF ends the animation: after the first step, timers are 01 to FE.");
    }
    return doc.edit({"Edit Animation", part::Sprites, Document::kFocusNone},
                    [&](EditContext& c) { return writeAnimation(c.image(), animation, pairs).ok(); });
}

namespace {

// A resize as one step: the resize works on the image and the current scene; it is kept only
// when it changed something.
Outcome<ResizeResult> resizeEdit(Document& doc, const char* name,
                                 const std::function<Outcome<ResizeResult>(Bytes&, SceneRecord&)>& resize)
{
    if (!doc.hasScene())
        return {ResizeResult::BadData, "No scene is shown."};
    return editWithOutcome<Outcome<ResizeResult>>(
        doc, {name, part::All, Document::kFocusNone}, ResizeResult::BadData,
        [&](EditContext& context) { return resize(context.image(), context.scene().currentScene); });
}

}  // namespace

Outcome<ResizeResult> resizeMap(Document& doc, int newLength, bool atEnd, ActorsPastEnd pastEnd)
{
    if (!doc.hasScene())
        return {ResizeResult::BadData, "No scene is shown."};
    // The actors stay in their columns whichever side the screens go from; those past the new end
    // are named before anything changes.
    const SceneRecord& now = doc.currentScene();
    std::vector<ActorRef> beyond;
    if (newLength >= 0 && newLength < now.length) {
        SceneRecord shrunk = now;
        shrunk.length = static_cast<std::uint8_t>(newLength);
        beyond = placedBeyondEnd(now, shrunk);
    }
    if (!beyond.empty() && pastEnd == ActorsPastEnd::Refuse)
        return {ResizeResult::ActorsPastEnd,
                actorCountText(beyond) + " would lie past the new end of the map:\n" + actorNameLines(now, beyond)};
    const bool remove = !beyond.empty() && pastEnd == ActorsPastEnd::Remove;
    const RomOffset areaEnd = doc.actorAreaEnd();
    return resizeEdit(doc, "Resize Map", [&](Bytes& rom, SceneRecord& scene) {
        Outcome<ResizeResult> r = velmar::resizeMap(rom, scene, newLength, atEnd);
        if (!r.ok() || !remove)
            return r;
        ActorLists kept;
        for (const ActorKind kind : {ActorKind::Enemy, ActorKind::Item}) {
            for (std::size_t i = 0; const auto a = actorAt(scene, kind, i); ++i) {
                if (std::find(beyond.begin(), beyond.end(), ActorRef{kind, i}) != beyond.end())
                    continue;
                if (kind == ActorKind::Enemy)
                    kept.enemies.push_back(std::get<EnemyRecord>(*a));
                else
                    kept.items.push_back(std::get<ItemRecord>(*a));
            }
        }
        const Outcome<ResizeResult> packed =
            replaceActors(rom, scene, std::move(kept.items), std::move(kept.enemies), areaEnd);
        return packed.ok() ? r : packed;
    });
}

Outcome<ResizeResult> resizeItems(Document& doc, int newCount)
{
    const RomOffset areaEnd = doc.actorAreaEnd();
    return resizeEdit(doc, "Resize Items", [&](Bytes& rom, SceneRecord& scene) {
        return velmar::resizeItems(rom, scene, newCount, areaEnd);
    });
}

Outcome<ResizeResult> resizeEnemies(Document& doc, int newCount)
{
    const RomOffset areaEnd = doc.actorAreaEnd();
    return resizeEdit(doc, "Resize Enemies", [&](Bytes& rom, SceneRecord& scene) {
        return velmar::resizeEnemies(rom, scene, newCount, areaEnd);
    });
}

TextPackOutcome packTexts(Document& doc, const CharTable& table, const std::vector<std::string>& texts, EndCode endCode)
{
    const RomOffset areaEnd = doc.textAreaEnd();
    return editWithOutcome<TextPackOutcome>(
        doc, {"Edit Texts", part::Texts, Document::kFocusNone}, TextPackResult::BadData,
        [&](EditContext& context) { return velmar::packTexts(context.image(), table, texts, areaEnd, endCode); });
}

TextPackOutcome setText(Document& doc, const CharTable& table, int n, const std::string& text, EndCode endCode)
{
    TextPackOutcome refused;
    refused.code = TextPackResult::BadData;
    if (!doc.hasImage() || n < 0 || n >= rommap::kTextCount) {
        refused.reason = doc.hasImage() ? "There is no text " + hexText(n) + "." : "No file is open.";
        return refused;
    }
    TextList list = decodeAllTexts(doc.romData(), table);
    if (!list.status.ok()) {
        refused.failedText = list.failedText;
        refused.reason = "Text " + hexPad(list.failedText, 2) + " cannot be read: " + list.status.message();
        return refused;
    }
    list.texts[static_cast<std::size_t>(n)] = text;
    const RomOffset areaEnd = doc.textAreaEnd();
    return editWithOutcome<TextPackOutcome>(
        doc, {"Edit Text", part::Texts, Document::kFocusNone}, TextPackResult::BadData,
        [&](EditContext& context) { return velmar::packTexts(context.image(), table, list.texts, areaEnd, endCode); });
}

Outcome<EditResult> applyPatch(Document& doc, const Bytes& patch)
{
    if (!doc.hasImage())
        return Outcome<EditResult>::failure(EditResult::Refused, "No file is open.");
    const Bytes file = doc.rom().fileBytes();
    Bytes patched;
    if (const Outcome<PatchResult> r = velmar::applyPatch(patch, file, patched); !r.ok())
        return Outcome<EditResult>::failure(EditResult::Refused, r.reason);
    const std::size_t dataStart = file.size() - doc.romData().size();
    if (patched.size() != file.size()
        || !std::equal(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(dataStart), patched.begin()))
        return Outcome<EditResult>::failure(
            EditResult::Refused,
            "The patch changes the size or the header of the file, so it makes another file rather "
            "than edits of this one. Apply it to a copy of the file (velmar-cli apply) and open that.");
    return doc.edit({"Apply Patch", part::All, Document::kFocusNone}, [&](EditContext& c) {
        std::copy(patched.begin() + static_cast<std::ptrdiff_t>(dataStart), patched.end(), c.image().begin());
        return true;
    });
}

Outcome<EditResult> storeScene(Document& doc)
{
    return editScene(doc, {"Store Scene", part::All, Document::kFocusNone}, [](SceneState&) { return true; });
}

}  // namespace velmar::edits
