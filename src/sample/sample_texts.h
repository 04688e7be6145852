#pragma once

#include <string_view>

#include "rom/types.h"
#include "text/text_packer.h"

namespace velmar::sample {

// Encodes one of the sample's texts in the game's character code: printable ASCII keeps its
// code except the apostrophe (0x25) and the per cent sign (0x27), which the game swaps; '_' is
// 0x60; '\n' is the line break 0xFF, '\f' the page break 0xFC, and '\t' followed by two
// hexadecimal digits the code 0xFD with that parameter. The end code 0xF8 is appended.
// Characters the game has no code for (@ \ ^ ` and anything outside ASCII) give an empty result.
Bytes encodeSampleText(std::string_view text);

// Packs the 113 texts with the editor's text packer, 0xFF filler over the rest of bank 5. Fails
// only if a sample text has a character without a code or the texts outgrow the bank.
TextPackOutcome writeTexts(Bytes& rom);

}  // namespace velmar::sample
