#pragma once

#include <array>
#include <string>
#include <vector>

#include "expansion/resize_result.h"
#include "rom/address_map.h"
#include "rom/scene_record.h"

namespace velmar {

// One scene's items and enemies as the packer lays them down, each list in its order.
struct ActorLists {
    std::vector<ItemRecord> items;
    std::vector<EnemyRecord> enemies;
};

using ActorTable = std::array<ActorLists, rommap::kSceneCount>;

// Records that a count resize adds.
constexpr ItemRecord kNewItem{0x00, 0x80, 0x00};
constexpr EnemyRecord kNewEnemy{0x00, 0xD9, 0x00};

// The lists of all 48 scenes: the scene's from its record, every other from romData.
RomStatus gatherActors(const Bytes& rom, const SceneRecord& scene, ActorTable& table);

// The end (exclusive romData offset) of the space the packed actor tables may use: the end of
// the tables of all 48 scenes as they lie from 0x9B48 when the file is loaded, extended over the
// unused 0xFF filler directly behind them, and never past the end of bank 2 (0xC000).
// Computed once per loaded file and kept, so that repacking never grows into the data behind.
RomOffset actorAreaEnd(const Bytes& rom);

// Change the scene's item or enemy count to `newCount` (0..255): the first records stay, new
// ones are kNewItem / kNewEnemy; then all actor tables are repacked and the scene's actor part is
// reloaded from the new places. Unchanged when the count is the same; InvalidSize above 255.
// On any result but Changed romData and `scene` are unchanged, and the reason is the program's
// message ("Invalid count! (max=$FF)", "Actor data exceeds available space!", ...).
Outcome<ResizeResult> resizeItems(Bytes& rom, SceneRecord& scene, int newCount, RomOffset areaEnd);
Outcome<ResizeResult> resizeEnemies(Bytes& rom, SceneRecord& scene, int newCount, RomOffset areaEnd);

// The scene's lists become `items` and `enemies` (at most 255 records each; the counts follow),
// every scene's actor tables are repacked and the scene's actor part is reloaded from the new
// places: how an actor is added or removed. InvalidSize for a list of more than 255; on any
// result but Changed romData and `scene` are unchanged, with the program's message.
Outcome<ResizeResult> replaceActors(Bytes& rom, SceneRecord& scene, std::vector<ItemRecord> items,
                                    std::vector<EnemyRecord> enemies, RomOffset areaEnd);

// Packs the actor tables of all 48 scenes (see packActors), the edited scene's from its record
// and every other from romData. Changed, NoSpace (past areaEnd) or BadData; nothing is written
// unless Changed.
Outcome<ResizeResult> repackActors(Bytes& rom, const SceneRecord& scene, RomOffset areaEnd);

// Packs the item tables of all 48 scenes of `table` from 0x9B48 (X bytes, then Y/ID bytes per
// scene), then their enemy tables (B, position, ID bytes), in scene order and in list order;
// rewrites the five pointer tables and both counts. Space behind the tables, up to `areaEnd` (at
// most the end of bank 2), is filled with 0xFF so that a later load finds it again. Changed;
// NoSpace past areaEnd; BadData for a list of more than 255 records. Nothing is written unless
// Changed.
Outcome<ResizeResult> packActors(Bytes& rom, const ActorTable& table, RomOffset areaEnd);

// What the resize dialog says: "Item count changed successfully!" / "Enemy count changed
// successfully!", nothing for Unchanged, else the reason.
std::string resizeItemsMessage(const Outcome<ResizeResult>& result);
std::string resizeEnemiesMessage(const Outcome<ResizeResult>& result);

}  // namespace velmar
