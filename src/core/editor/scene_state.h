#pragma once

#include <cstdint>

#include "gfx/pattern_tiles.h"
#include "rom/scene_record.h"

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

}  // namespace velmar
