#include "rom/address_map.h"

#include "rom/rom_access.h"

namespace velmar {

std::optional<RomOffset> cpuToRomOffset(CpuAddress address, std::int32_t mask, RomOffset base)
{
    if (address < 0x8000)
        return std::nullopt;
    if (address >= 0xC000)
        return (address & mask) + rommap::bankStart(rommap::kFixedBank);
    return (address & mask) + base;
}

std::optional<std::int32_t> readPointer(const Bytes& rom, RomOffset offset, bool convert, std::int32_t mask,
                                        RomOffset base)
{
    RomReader reader(rom);
    const std::int32_t p = reader.word(offset);
    if (!reader.ok())
        return std::nullopt;
    if (!convert)
        return p;
    return cpuToRomOffset(p, mask, base);
}

}  // namespace velmar
