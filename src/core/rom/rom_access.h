#pragma once

#include <optional>
#include <span>

#include "rom/types.h"

namespace velmar {

// The one way the core reads romData. A read outside the buffer or a pointer below 0x8000
// records the first failure and yields 0 from then on, so an operation can read its whole
// structure with plain code and check ok() once before it uses the result.
class RomReader {
public:
    explicit RomReader(const Bytes& rom) : rom_(rom) { }

    std::uint8_t byte(RomOffset at);
    std::uint16_t word(RomOffset at);  // little-endian
    // Reads `count` bytes into a new array (empty after a failure).
    Bytes bytes(RomOffset at, std::size_t count);
    // The game pointer at `entry`, converted for data that lives in the bank starting at `base`
    // (mask 0x3FFF). A pointer below 0x8000 fails the reader.
    RomOffset pointer(RomOffset entry, RomOffset base);

    bool inside(RomOffset at, std::size_t count) const;
    // The byte at `at`, or nullopt outside romData, without failing the reader: for scans that
    // stop at the end of the image.
    std::optional<std::uint8_t> peek(RomOffset at) const;
    bool ok() const { return status_.ok(); }
    const RomStatus& status() const { return status_; }
    // Lets an operation record a rule of the format that the data breaks.
    void fail(RomStatus status);
    const Bytes& rom() const { return rom_; }

private:
    const Bytes& rom_;
    RomStatus status_;
};

// The one way the core writes romData. Writes are collected and checked as they are recorded;
// commit() applies all of them in the order they were made, or none at all when one of them fell
// outside the image, so an operation never leaves a half-written structure behind.
class RomWriter {
public:
    explicit RomWriter(Bytes& rom) : rom_(rom) { }

    void byte(RomOffset at, std::uint8_t value);
    void word(RomOffset at, std::uint16_t value);  // little-endian
    void bytes(RomOffset at, std::span<const std::uint8_t> values);
    void fill(RomOffset at, std::size_t count, std::uint8_t value);

    bool ok() const { return status_.ok(); }
    const RomStatus& status() const { return status_; }
    void fail(RomStatus status);
    // Applies every recorded write, or none; returns why not. Pending writes are dropped.
    RomStatus commit();

private:
    struct Run {
        RomOffset at;
        std::size_t first;  // index into values_
        std::size_t count;
    };
    bool reserve(RomOffset at, std::size_t count);

    Bytes& rom_;
    RomStatus status_;
    std::vector<Run> runs_;
    Bytes values_;
};

}  // namespace velmar
