#pragma once

#include <string_view>

#include "rom/rom_access.h"

namespace velmar::sample {

// Encodes one of the sample's texts in the game's character code: printable ASCII keeps its
// code except the apostrophe (0x25) and the per cent sign (0x27), which the game swaps; '_' is
// 0x60; '\n' is the line break 0xFF, '\f' the page break 0xFC, and '\t' followed by two
// hexadecimal digits the code 0xFD with that parameter. The end code 0xF8 is appended.
// Characters the game has no code for (@ \ ^ ` and anything outside ASCII) give an empty result.
Bytes encodeSampleText(std::string_view text);

// Records the 113 texts packed from 0x93B2 (romData 0x153B2) in number order, their pointers
// at 0x152D0, and 0xFF over the rest of bank 5.
void writeTexts(RomWriter& writer);

}  // namespace velmar::sample
