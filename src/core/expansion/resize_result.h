#pragma once

#include <cstdint>

#include "base/outcome.h"

namespace velmar {

// What a resize did. The first four values are the codes the dialog has always reported.
enum class [[nodiscard]] ResizeResult : std::int16_t{
    Changed = 0,        Unchanged = 1,
    InvalidSize = -1,    // a length outside 0..16 or a count above 255
    NoSpace = -2,        // the repacked data would not fit its area
    BadData = -3,        // a pointer or table of some scene cannot be read; see the RomStatus
    ActorsPastEnd = -4,  // a shrink would leave actors past the map's end, and nobody said whether
                         // to remove or keep them; the reason names them
};

}  // namespace velmar
