#pragma once

#include <array>
#include <string>

#include "expansion/resize_result.h"
#include "rom/address_map.h"
#include "rom/scene_record.h"

namespace velmar {

// One scene's map as the packer lays it down.
struct MapEntry {
    std::uint8_t length = 0;     // screens minus one, up to 127 as the table byte allows
    std::uint8_t direction = 0;  // 0 or 0x80
    Bytes map;                   // (length + 1) screens of 48 metatile numbers
};

using MapTable = std::array<MapEntry, rommap::kSceneCount>;

// The maps of all 48 scenes: the scene's from its record, every other from romData.
RomStatus gatherMaps(const Bytes& rom, const SceneRecord& scene, MapTable& table);

// Changes the scene to `newLength` + 1 screens. Growing fills the new screens with metatile 0xFF
// at the end (`atEnd`) or in front of the old ones; shrinking drops the last or the first screens.
// Then every scene's map is repacked. On any result but Changed both romData and `scene` are
// exactly as they were, and the reason is the program's message ("Invalid dimensions! (max=$10)",
// "Map data exceeds available space!", or what is wrong with the data of some scene).
Outcome<ResizeResult> resizeMap(Bytes& rom, SceneRecord& scene, int newLength, bool atEnd);

// Packs the maps of all 48 scenes back to back from 0x8000 (bank 0), the edited scene from its
// record and every other from romData (see packMaps). Sets scene.mapAddress on success. Changed,
// NoSpace or BadData.
Outcome<ResizeResult> repackMaps(Bytes& rom, SceneRecord& scene);

// Packs the 48 maps of `table` in scene order from 0x8000 (bank 0), skipping the scene tables at
// 0x2401-0x358F and ending by 0x3FC0, and rewrites the map pointers and the direction/length
// bytes. Bytes between and behind the maps stay as they were. Changed; NoSpace; BadData for a
// length above 127 or a map whose size does not match its length. Checks everything first:
// nothing is written unless Changed.
Outcome<ResizeResult> packMaps(Bytes& rom, const MapTable& table);

// What the resize dialog says: "Map size changed successfully!", nothing for Unchanged, else
// the reason.
std::string resizeMapMessage(const Outcome<ResizeResult>& result);

}  // namespace velmar
