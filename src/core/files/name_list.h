#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmar {

// ITEM.DAT / ENEMY.DAT: line 1 is the highest entry number N in hexadecimal, lines 2..N+2 the
// names of entries 0..N. nullopt when the file cannot be read or has fewer lines.
std::optional<std::vector<std::string>> loadNameList(const std::filesystem::path& path);

// The file form of a list (the inverse of loadNameList).
std::string formatNameList(const std::vector<std::string>& names);

// The 12 built-in item names and the 41 built-in enemy names ("???").
const std::vector<std::string>& defaultItemNames();
const std::vector<std::string>& defaultEnemyNames();

}  // namespace velmar
