#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rom/scene_record.h"
#include "text/char_table.h"

namespace velmar {

// How full one of the packed areas is: the bytes its data takes and the bytes it may take.
struct AreaRoom {
    int used = 0;
    int capacity = 0;
    // The bytes the scene's own tables take at the size asked, and as it is now.
    int sceneBytes = 0;
    int sceneBytesNow = 0;

    int left() const { return capacity - used; }
    bool fits() const { return used <= capacity; }
    bool operator==(const AreaRoom&) const = default;
};

// The map area with `scene` at `newLength` + 1 screens and every other scene as stored. The maps
// may use 0x0000-0x2400 and 0x3590-0x3FC0 of bank 0; the end of the first stretch that a map too
// long for it leaves empty counts as used, so the maps fit exactly when used <= capacity.
// Nothing when a scene's map cannot be read.
std::optional<AreaRoom> mapAreaRoom(const Bytes& rom, const SceneRecord& scene, int newLength);

// The actor area from 0x9B48 to `areaEnd` with `scene` holding `items` items and `enemies`
// enemies (2 and 3 bytes each) and every other scene as stored. Nothing when a scene's tables
// cannot be read.
std::optional<AreaRoom> actorAreaRoom(const Bytes& rom, const SceneRecord& scene, int items, int enemies,
                                      RomOffset areaEnd);

// The 113 texts as they would be packed from 0x153B2 to `areaEnd`: each text's size in bytes
// (its stored bytes when it reads as it stands, else its encoding; -1 when it cannot be encoded,
// with the reason), and the room of all that encode.
struct TextRoom {
    AreaRoom room;
    std::vector<int> sizes;
    std::vector<std::string> errors;  // empty for a text that encodes
};
TextRoom measureTexts(const Bytes& rom, const CharTable& table, const std::vector<std::string>& texts,
                      RomOffset areaEnd);

}  // namespace velmar
