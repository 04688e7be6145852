#pragma once

#include <cstdint>
#include <string>

#include "base/bytes.h"

namespace velmar {

// Why an operation over romData stopped. The default value means success.
struct [[nodiscard]] RomStatus {
    enum class Code : std::uint8_t {
        Ok,
        BadPointer,    // a game pointer below 0x8000 where a ROM address was expected
        OutsideImage,  // an offset outside romData
        BadData,       // data that breaks a rule of the game's format (see detail)
    };

    Code code = Code::Ok;
    RomOffset where = 0;     // the pointer entry, or the offset that fell outside
    std::int32_t value = 0;  // the pointer value for BadPointer
    std::string detail;      // for BadData: what is wrong

    bool ok() const { return code == Code::Ok; }

    static RomStatus badPointer(RomOffset entry, CpuAddress pointer);
    static RomStatus outside(RomOffset offset);
    static RomStatus badData(RomOffset offset, std::string detail);

    // One sentence for a message box or stderr, e.g. "Bad pointer $1234 at $08700."
    std::string message() const;
};

}  // namespace velmar
