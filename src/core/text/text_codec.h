#pragma once

#include <array>
#include <map>
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
    RomStatus status;     // not ok: the text could not be decoded (status.message() says why)
    std::string text;     // the editable form, "\0" included
    RomOffset start = 0;  // romData offset of the first byte
    RomOffset end = 0;    // one past the last byte (after the end code)
};

// Decodes text n (0..112) through its pointer at 0x152D0 + 2n. Fails on a byte without an entry,
// on a text that runs past the end of bank 5 without an end code, and on a bad pointer.
DecodedText decodeText(const Bytes& rom, const CharTable& table, int n);

struct EncodedText {
    bool ok = false;
    Bytes bytes;
    // Why not, naming the character or sequence and where it is, e.g. "no code for "é"
    // (character 4)"; `position` counts characters from 1.
    std::string error;
    int position = 0;
};

// The codes of a character table by their text form, for encoding many texts with one table.
class CharIndex {
public:
    explicit CharIndex(const CharTable& table);
    // The lowest code whose entry is `form`; with `preferControl` the control codes 0xF0-0xFF
    // first. -1 when no entry has that form.
    int find(std::string_view form, bool preferControl) const;

private:
    std::array<std::int16_t, 128> ascii_{};         // single ASCII characters: the lowest code
    std::array<std::int16_t, 128> asciiControl_{};  // the lowest of 0xF0-0xFF, or -1
    std::map<std::string, int, std::less<>> forms_;
    std::map<std::string, int, std::less<>> controlForms_;
};

// Encodes an editable text: a plain character takes the lowest code whose entry is exactly that
// character; a backslash sequence ("\n", "\$F9") the lowest code from 0xF0 to 0xFF with that
// entry (then any other code with it); after 0xF9, 0xFD and 0xFE two hexadecimal digits give
// the parameter byte.
EncodedText encodeText(const CharTable& table, std::string_view text);
EncodedText encodeText(const CharIndex& index, std::string_view text);

// Records pointer n := address and the bytes at the address.
void writeText(RomWriter& writer, int n, CpuAddress address, const Bytes& bytes);

}  // namespace velmar
