#pragma once

#include <array>
#include <filesystem>
#include <string>

namespace velmar {

// The text form of each of the game's 256 character codes; an empty entry has no text form.
// Entries are UTF-8.
using CharTable = std::array<std::string, 256>;

// Sets the built-in entries (letters, digits, punctuation and the control codes 0xF8-0xFF);
// other entries keep what they hold.
void applyDefaultCharTable(CharTable& table);

// Reads TBL.DAT into `table` (which is not cleared first): each line is two hexadecimal digits,
// one separator character and the entry. A line shorter than three characters or a read error
// ends the load as a failure; entries read before it stay and the defaults are applied on top.
// Returns why the load failed ("line 3 is shorter than three characters", the file's reason), or
// an empty text.
[[nodiscard]] std::string loadCharTable(const std::filesystem::path& path, CharTable& table);

// The table as TBL.DAT lines ("41=A"), one per non-empty entry.
std::string formatCharTable(const CharTable& table);

}  // namespace velmar
