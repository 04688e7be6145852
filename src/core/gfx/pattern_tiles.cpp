#include "gfx/pattern_tiles.h"

#include "rom/address_map.h"
#include "rom/rom_access.h"

namespace velmar {

RomStatus decodeTiles(const Bytes& rom, RomOffset address, int count, PixelArray& pixels)
{
    if (count < 0)
        count = 0;
    RomReader r(rom);
    const Bytes raw = r.bytes(address, static_cast<std::size_t>(count) * 16);
    if (!r.ok())
        return r.status();
    PixelArray out(static_cast<std::size_t>(count) * 64);
    for (std::size_t t = 0; t < static_cast<std::size_t>(count); ++t) {
        for (std::size_t y = 0; y < 8; ++y) {
            const unsigned lo = raw[16 * t + y];
            const unsigned hi = raw[16 * t + y + 8];
            for (std::size_t x = 0; x < 8; ++x) {
                const unsigned shift = 7 - static_cast<unsigned>(x);
                out[64 * t + 8 * y + x] = static_cast<std::uint8_t>((((hi >> shift) & 1) << 1) | ((lo >> shift) & 1));
            }
        }
    }
    pixels = std::move(out);
    return {};
}

RomStatus encodeTiles(Bytes& rom, const PixelArray& pixels, int count, RomOffset address)
{
    if (count < 0 || pixels.size() < static_cast<std::size_t>(count) * 64)
        return RomStatus::badData(address, "Too few decoded pixels for the tiles to write");
    Bytes raw(static_cast<std::size_t>(count) * 16);
    for (std::size_t t = 0; t < static_cast<std::size_t>(count); ++t) {
        for (std::size_t y = 0; y < 8; ++y) {
            unsigned lo = 0;
            unsigned hi = 0;
            for (std::size_t x = 0; x < 8; ++x) {
                const unsigned p = pixels[64 * t + 8 * y + x];
                const unsigned shift = 7 - static_cast<unsigned>(x);
                lo |= (p & 1) << shift;
                hi |= ((p >> 1) & 1) << shift;
            }
            raw[16 * t + y] = static_cast<std::uint8_t>(lo);
            raw[16 * t + y + 8] = static_cast<std::uint8_t>(hi);
        }
    }
    RomWriter w(rom);
    w.bytes(address, raw);
    return w.commit();
}

RomStatus loadChrBank(const Bytes& rom, PixelArray& pixels, int bank)
{
    return decodeTiles(rom, rommap::patternBankOffset(bank), 256, pixels);
}

RomStatus saveChrBank(Bytes& rom, const PixelArray& pixels, int bank)
{
    return encodeTiles(rom, pixels, 256, rommap::patternBankOffset(bank));
}

}  // namespace velmar
