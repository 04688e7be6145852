#pragma once

#include <string>
#include <string_view>

#include "rom/rom_access.h"
#include "rom/types.h"
#include "text/char_table.h"

namespace velmar {

// Control codes: 0xF8 ends a text; 0xF9, 0xFD and 0xFE take one parameter byte, shown as two
// upper-case hexadecimal digits right after the code's entry.
constexpr std::uint8_t kTextEnd = 0xF8;
bool takesParameter(std::uint8_t code);

struct DecodedText {
    RomStatus status;      // not ok: the text could not be decoded (status.message() says why)
    std::string text;      // the editable form, "\0" included
    RomOffset start = 0;   // romData offset of the first byte
    RomOffset end = 0;     // one past the last byte (after the end code)
};

// Decodes text n (0..112) through its pointer at 0x152D0 + 2n. Fails on a byte without an entry,
// on a text that runs past the end of bank 5 without an end code, and on a bad pointer.
DecodedText decodeText(const Bytes& rom, const CharTable& table, int n);

struct EncodedText {
    bool ok = false;
    Bytes bytes;
    std::string error;  // why not, naming the character or sequence, e.g. "no code for "é""
};

// Encodes an editable text: a plain character takes the lowest code whose entry is exactly that
// character; a backslash sequence ("\n", "\$F9") the lowest code from 0xF0 to 0xFF with that
// entry (then any other code with it); after 0xF9, 0xFD and 0xFE two hexadecimal digits give
// the parameter byte.
EncodedText encodeText(const CharTable& table, std::string_view text);

// Records pointer n := address and the bytes at the address.
void writeText(RomWriter& writer, int n, CpuAddress address, const Bytes& bytes);

}  // namespace velmar
