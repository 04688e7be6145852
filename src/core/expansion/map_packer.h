#pragma once

#include <string>

#include "expansion/resize_result.h"
#include "rom/scene_record.h"

namespace velmar {

// Changes the scene to `newLength` + 1 screens. Growing fills the new screens with metatile 0xFF
// at the end (`atEnd`) or in front of the old ones; shrinking drops the last or the first screens.
// Then every scene's map is repacked. On any result but Changed both romData and `scene` are
// exactly as they were; BadData leaves the reason in `fault` when given.
ResizeResult resizeMap(Bytes& rom, SceneRecord& scene, int newLength, bool atEnd,
                       RomStatus* fault = nullptr);

// Packs the maps of all 48 scenes back to back from 0x8000 (bank 0), the edited scene from its
// record and every other from romData, skipping the scene tables at 0x2401-0x358F and ending by
// 0x3FC0; rewrites pointers and direction/length bytes. Checks everything before writing.
// Sets scene.mapAddress on success. Changed, NoSpace or BadData.
ResizeResult repackMaps(Bytes& rom, SceneRecord& scene, RomStatus* fault = nullptr);

// "Map size changed successfully!", "Invalid dimensions! (max=$10)", ... (empty for Unchanged;
// for BadData the fault's message).
std::string resizeMapMessage(ResizeResult result, const RomStatus& fault = {});

}  // namespace velmar
