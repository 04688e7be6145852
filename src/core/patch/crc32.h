#pragma once

#include <cstdint>
#include <span>

namespace velmar {

// The CRC-32 of zip, PNG and the BPS patch format (reflected polynomial 0xEDB88320, starting
// value and final XOR 0xFFFFFFFF): crc32("123456789") == 0xCBF43926.
std::uint32_t crc32(std::span<const std::uint8_t> bytes);

}  // namespace velmar
