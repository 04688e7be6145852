#include "rom/address_map.h"

namespace velmar {

std::optional<RomOffset> cpuToRomOffset(CpuAddress address, std::int32_t mask, RomOffset base)
{
    if (address < 0x8000)
        return std::nullopt;
    if (address >= 0xC000)
        return (address & mask) + rommap::bankStart(rommap::kFixedBank);
    return (address & mask) + base;
}

std::optional<std::int32_t> readPointer(const Bytes& rom, RomOffset offset, bool convert,
                                        std::int32_t mask, RomOffset base)
{
    if (offset < 0 || static_cast<std::size_t>(offset) + 2 > rom.size())
        return std::nullopt;
    const std::int32_t p = rom[static_cast<std::size_t>(offset)]
        | (rom[static_cast<std::size_t>(offset) + 1] << 8);
    if (!convert)
        return p;
    return cpuToRomOffset(p, mask, base);
}

}  // namespace velmar
