#pragma once

#include <cstdint>
#include <vector>

namespace velmar {

using Bytes = std::vector<std::uint8_t>;

// An index into romData (file offset minus the 16-byte header).
using RomOffset = std::int32_t;
// A 16-bit address as the game's CPU sees it (0x8000-0xFFFF for ROM).
using CpuAddress = std::int32_t;

}  // namespace velmar
