#include "rom/rom_access.h"

#include <algorithm>

#include "rom/address_map.h"

namespace velmar {

bool RomReader::inside(RomOffset at, std::size_t count) const
{
    return at >= 0 && static_cast<std::size_t>(at) <= rom_.size()
        && count <= rom_.size() - static_cast<std::size_t>(at);
}

std::optional<std::uint8_t> RomReader::peek(RomOffset at) const
{
    if (!inside(at, 1))
        return std::nullopt;
    return rom_[static_cast<std::size_t>(at)];
}

void RomReader::fail(RomStatus status)
{
    if (status_.ok())
        status_ = std::move(status);
}

std::uint8_t RomReader::byte(RomOffset at)
{
    if (!ok())
        return 0;
    if (!inside(at, 1)) {
        fail(RomStatus::outside(at));
        return 0;
    }
    return rom_[static_cast<std::size_t>(at)];
}

std::uint16_t RomReader::word(RomOffset at)
{
    const std::uint8_t lo = byte(at);
    const std::uint8_t hi = byte(at + 1);
    return static_cast<std::uint16_t>(lo | (hi << 8));
}

Bytes RomReader::bytes(RomOffset at, std::size_t count)
{
    if (!ok())
        return {};
    if (!inside(at, count)) {
        fail(RomStatus::outside(at));
        return {};
    }
    const auto first = rom_.begin() + at;
    return Bytes(first, first + static_cast<std::ptrdiff_t>(count));
}

RomOffset RomReader::pointer(RomOffset entry, RomOffset base)
{
    const std::uint16_t p = word(entry);
    if (!ok())
        return 0;
    const auto offset = cpuToRomOffset(p, 0x3FFF, base);
    if (!offset) {
        fail(RomStatus::badPointer(entry, p));
        return 0;
    }
    return *offset;
}

void RomWriter::fail(RomStatus status)
{
    if (status_.ok())
        status_ = std::move(status);
}

bool RomWriter::reserve(RomOffset at, std::size_t count)
{
    if (!ok())
        return false;
    if (at < 0 || static_cast<std::size_t>(at) > rom_.size() || count > rom_.size() - static_cast<std::size_t>(at)) {
        fail(RomStatus::outside(at < 0 ? at : std::max<RomOffset>(at, static_cast<RomOffset>(rom_.size()))));
        return false;
    }
    runs_.push_back({at, values_.size(), count});
    return true;
}

void RomWriter::byte(RomOffset at, std::uint8_t value)
{
    if (reserve(at, 1))
        values_.push_back(value);
}

void RomWriter::word(RomOffset at, std::uint16_t value)
{
    const std::uint8_t pair[2] = {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)};
    bytes(at, pair);
}

void RomWriter::bytes(RomOffset at, std::span<const std::uint8_t> values)
{
    if (reserve(at, values.size()))
        values_.insert(values_.end(), values.begin(), values.end());
}

void RomWriter::fill(RomOffset at, std::size_t count, std::uint8_t value)
{
    if (reserve(at, count))
        values_.insert(values_.end(), count, value);
}

RomStatus RomWriter::commit()
{
    RomStatus result = status_;
    if (result.ok()) {
        for (const Run& run : runs_) {
            std::copy_n(values_.begin() + static_cast<std::ptrdiff_t>(run.first), run.count, rom_.begin() + run.at);
        }
    }
    runs_.clear();
    values_.clear();
    status_ = {};
    return result;
}

}  // namespace velmar
