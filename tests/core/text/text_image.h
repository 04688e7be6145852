#pragma once

#include <vector>

#include "rom/address_map.h"
#include "rom/hex.h"
#include "rom/types.h"

namespace velmar::test {

// Sets pointer n to the text at `at` (a bank 5 offset) and writes its bytes there.
inline void putText(Bytes& rom, int n, RomOffset at, const Bytes& bytes)
{
    const CpuAddress address = romOffsetToCpu(at);
    const auto entry = static_cast<std::size_t>(rommap::kTextPointers + 2 * n);
    rom[entry] = static_cast<std::uint8_t>(address & 0xFF);
    rom[entry + 1] = static_cast<std::uint8_t>(address >> 8);
    std::copy(bytes.begin(), bytes.end(), rom.begin() + at);
}

// 113 texts "T00\0" .. "T70\0" in the default character code: 4 bytes each, all different.
inline std::vector<Bytes> numberedTexts()
{
    std::vector<Bytes> texts;
    for (int n = 0; n < rommap::kTextCount; ++n) {
        const std::string digits = hexPad(n, 2);
        texts.push_back({'T', static_cast<std::uint8_t>(digits[0]), static_cast<std::uint8_t>(digits[1]),
                         0xF8});
    }
    return texts;
}

// A 256 KB image holding only `texts`, packed in number order from 0x153B2; all else is zero.
inline Bytes textImage(const std::vector<Bytes>& texts)
{
    Bytes rom(static_cast<std::size_t>(rommap::kImageSize), 0);
    RomOffset at = rommap::kTextAreaStart;
    for (std::size_t n = 0; n < texts.size(); ++n) {
        putText(rom, static_cast<int>(n), at, texts[n]);
        at += static_cast<RomOffset>(texts[n].size());
    }
    return rom;
}

inline RomOffset packedSize(const std::vector<Bytes>& texts)
{
    RomOffset size = 0;
    for (const Bytes& t : texts)
        size += static_cast<RomOffset>(t.size());
    return size;
}

}  // namespace velmar::test
