#include "rom/types.h"

#include "base/hex.h"

namespace velmar {

RomStatus RomStatus::badPointer(RomOffset entry, CpuAddress pointer)
{
    RomStatus s;
    s.code = Code::BadPointer;
    s.where = entry;
    s.value = pointer;
    return s;
}

RomStatus RomStatus::outside(RomOffset offset)
{
    RomStatus s;
    s.code = Code::OutsideImage;
    s.where = offset;
    return s;
}

RomStatus RomStatus::badData(RomOffset offset, std::string detail)
{
    RomStatus s;
    s.code = Code::BadData;
    s.where = offset;
    s.detail = std::move(detail);
    return s;
}

std::string RomStatus::message() const
{
    switch (code) {
    case Code::Ok: return "OK.";
    case Code::BadPointer: return "Bad pointer $" + hexPad(value, 4) + " at $" + hexPad(where, 5) + ".";
    case Code::OutsideImage: return "Data outside the image at $" + hexPad(where, 5) + ".";
    case Code::BadData: return detail + " (at $" + hexPad(where, 5) + ").";
    }
    return "Unknown Error!";
}

}  // namespace velmar
