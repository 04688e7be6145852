#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"
#include "rom/types.h"
#include "text/char_table.h"

namespace velmar {

// The end (exclusive romData offset) of the space the packed texts may use: the end of the
// furthest text that starts inside the text area at 0x153B2 as the file was loaded, extended over
// 0xFF filler directly behind it, never past the end of bank 5 (0x18000).
RomOffset textAreaEnd(const Bytes& rom);

struct TextList {
    RomStatus status;                // not ok: some text could not be decoded
    int failedText = -1;             // which one
    std::vector<std::string> texts;  // all 113 on success
};

// Decodes all 113 texts; the list is whole or empty, never partial.
TextList decodeAllTexts(const Bytes& rom, const CharTable& table);

enum class [[nodiscard]] TextPackResult{Ok, EncodeFailed, NoSpace, BadData, NoEndCode};

// A text without an end code of its own runs on, as the game reads it, into the text stored
// after it: "NEW GAME" typed over text 01 shows "NEW GAMECONTINUE". No text is stored so unless
// the user asked for it; the last text needs its end code always, or it would run on into
// whatever lies behind the texts.
enum class EndCode { Required, MayBeMissing };

// Why text n cannot be stored as `encoded` under `rule` (naming it and the text it would run on
// into), or empty. `endForm` is how the character table writes the end code, when known.
std::string endCodeProblem(int n, const Bytes& encoded, EndCode rule, const std::string& endForm = {});

// The reason is the program's message for anything but Ok.
struct [[nodiscard]] TextPackOutcome : Outcome<TextPackResult> {
    int failedText = -1;  // for EncodeFailed: which text
};

// Packs all 113 texts from 0x93B2 in number order without gaps, rewriting the pointer table;
// space freed up to `areaEnd` becomes 0xFF filler. A text that reads as it stands in the image
// keeps its exact bytes (a table in which two codes share a character could otherwise turn an
// untouched text into other codes); only the others are encoded. Refuses, without writing
// anything, a text that fails to encode or lacks its end code against `endCode` (naming it), and
// texts that would pass `areaEnd`.
TextPackOutcome packTexts(Bytes& rom, const CharTable& table, const std::vector<std::string>& texts, RomOffset areaEnd,
                          EndCode endCode = EndCode::Required);

// True when the game stops reading these bytes at an end code of their own; a text without one
// runs on into the text stored after it.
bool hasEndCode(const Bytes& encoded);

// Packs 113 texts already in the game's code the same way, as packTexts does once it has encoded
// them, with the same refusals.
TextPackOutcome packEncodedTexts(Bytes& rom, const std::vector<Bytes>& encoded, RomOffset areaEnd,
                                 EndCode endCode = EndCode::Required);

}  // namespace velmar
