#pragma once

#include <filesystem>
#include <string>

namespace velmar {

// Paths travel through the program as UTF-8 text; this is the one place they become paths.
std::filesystem::path pathFromUtf8(const std::string& text);
std::string pathToUtf8(const std::filesystem::path& path);

// A message about a file: the program's fixed text, then on a second line the path and the
// reason ("Error loading file!" / "/roms/game.nes: Permission denied").
std::string fileMessage(const std::string& text, const std::string& path, const std::string& reason);

}  // namespace velmar
