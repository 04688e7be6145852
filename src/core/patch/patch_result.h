#pragma once

#include <cstddef>
#include <cstdint>

namespace velmar {

// What making or applying an IPS or BPS patch came to.
enum class [[nodiscard]] PatchResult : std::int16_t{
    Ok = 0,
    Malformed = 1,    // not a patch of the format, cut short, or damaged
    WrongSource = 2,  // a patch made for another image
    TooLarge = 3,     // the image is too large for the format, or for this program
};

// The largest image a patch may make, and the largest file the patch commands read: far above
// any NES image, low enough that a damaged size field cannot ask for gigabytes.
inline constexpr std::size_t kMaxPatchedSize = std::size_t{64} << 20;

}  // namespace velmar
