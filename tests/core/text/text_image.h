#pragma once

#include <vector>

#include "rom/address_map.h"
#include "base/hex.h"
#include "rom/types.h"
#include "text/char_table.h"

namespace velmar::test {

inline CharTable defaultTable()
{
    CharTable table;
    applyDefaultCharTable(table);
    return table;
}

// Sets pointer n to the text at `at` (a bank 5 offset) and writes its bytes there.
inline void putText(Bytes& rom, int n, RomOffset at, const Bytes& bytes)
{
    const CpuAddress address = romOffsetToCpu(at);
    rom[rommap::kTextPointers + 2 * n] = static_cast<std::uint8_t>(address & 0xFF);
    rom[rommap::kTextPointers + 2 * n + 1] = static_cast<std::uint8_t>(address >> 8);
    std::copy(bytes.begin(), bytes.end(), rom.begin() + at);
}

// A 256 KB image holding 113 texts "T00\0" .. "T70\0" (4 bytes each, all different) packed in
// number order from 0x153B2, text n replaced by `bytes`; all else is zero.
inline Bytes textImage(int n = -1, const Bytes& bytes = {})
{
    Bytes rom(static_cast<std::size_t>(rommap::kImageSize), 0);
    RomOffset at = rommap::kTextAreaStart;
    for (int k = 0; k < rommap::kTextCount; ++k) {
        const std::string digits = hexPad(k, 2);
        const Bytes numbered = {'T', static_cast<std::uint8_t>(digits[0]), static_cast<std::uint8_t>(digits[1]), 0xF8};
        putText(rom, k, at, k == n ? bytes : numbered);
        at += static_cast<RomOffset>(k == n ? bytes.size() : 4);
    }
    return rom;
}

}  // namespace velmar::test
