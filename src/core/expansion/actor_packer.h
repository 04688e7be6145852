#pragma once

#include <string>

#include "expansion/resize_result.h"
#include "rom/scene_record.h"

namespace velmar {

// Records that a count resize adds.
constexpr ItemRecord kNewItem{0x00, 0x80, 0x00};
constexpr EnemyRecord kNewEnemy{0x00, 0xD9, 0x00};

// The end (exclusive romData offset) of the space the packed actor tables may use: the end of
// the tables of all 48 scenes as they lie from 0x9B48 when the file is loaded, extended over the
// unused 0xFF filler directly behind them, and never past the end of bank 2 (0xC000).
// Computed once per loaded file and kept, so that repacking never grows into the data behind.
RomOffset actorAreaEnd(const Bytes& rom);

// Change the scene's item or enemy count to `newCount` (0..255): the first records stay, new
// ones are kNewItem / kNewEnemy; then all actor tables are repacked and the scene's actor part is
// reloaded from the new places. Unchanged when the count is the same; InvalidSize above 255.
// On any result but Changed romData and `scene` are unchanged.
ResizeResult resizeItems(Bytes& rom, SceneRecord& scene, int newCount, RomOffset areaEnd,
                         RomStatus* fault = nullptr);
ResizeResult resizeEnemies(Bytes& rom, SceneRecord& scene, int newCount, RomOffset areaEnd,
                           RomStatus* fault = nullptr);

// Packs the item tables of all 48 scenes from 0x9B48 (X bytes, then Y/ID bytes per scene), then
// their enemy tables (B, position, ID bytes), in scene order and in list order; rewrites the
// five pointer tables and both counts. The edited scene comes from its record, every other from
// romData. Space freed at the end, up to `areaEnd`, is filled with 0xFF so that a later load
// finds it again. Changed, NoSpace (past areaEnd) or BadData; nothing is written unless Changed.
ResizeResult repackActors(Bytes& rom, const SceneRecord& scene, RomOffset areaEnd,
                          RomStatus* fault = nullptr);

// "Item count changed successfully!" / "Enemy count changed successfully!", ...
std::string resizeItemsMessage(ResizeResult result, const RomStatus& fault = {});
std::string resizeEnemiesMessage(ResizeResult result, const RomStatus& fault = {});

}  // namespace velmar
