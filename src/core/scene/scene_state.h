#pragma once

#include <cstdint>

#include "gfx/pattern_tiles.h"
#include "rom/area_catalogue.h"
#include "rom/scene_record.h"
#include "rom/types.h"

namespace velmar {

// The scene being edited, decoded from the image: its record, its two pattern banks and its
// metatile tables.
struct SceneState {
    SceneRecord currentScene;
    PixelArray bkgPatterns;
    PixelArray sprPatterns;
    MetatileTables metatiles;
    // The banks the pixel arrays were decoded from, which is where they are stored back: a
    // change of the scene's bank number takes the other bank's tiles on the next decoding.
    std::uint8_t patternsBkgBank = 0;
    std::uint8_t patternsSprBank = 0;

    bool operator==(const SceneState&) const = default;
};

// Decodes scene `key` from the image: its record, both pattern banks and its metatile tables.
// `out` is replaced only when all of it reads.
RomStatus decodeScene(const Bytes& rom, const SceneKey& key, SceneState& out);

// Stores the scene back into the image: the record, the metatile tables, and the pattern banks
// into the banks they were decoded from (the record as storeScene leaves it). Stops at the first
// part that does not fit.
RomStatus storeSceneState(Bytes& rom, SceneState& scene);

}  // namespace velmar
