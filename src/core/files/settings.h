#pragma once

#include <array>
#include <filesystem>
#include <string>

namespace velmar {

// VELMAR.INI: eight lines in this order.
struct Settings {
    std::string romFolder;        // initial folder of the open dialog
    std::string emulatorCommand;  // empty: no emulator set
    std::array<std::string, 5> recentFiles;
    bool checkDrive = false;      // retry a missing ROM on the other drives

    bool operator==(const Settings&) const = default;
};

// Defaults: romFolder = the program folder, everything else empty or off.
Settings defaultSettings(const std::string& programFolder);

// Reads the eight lines. A missing, short or unreadable file, or a line 8 that is not "True" or
// "False", gives all eight defaults (also for the lines already read) and false.
bool loadSettings(const std::filesystem::path& path, const std::string& programFolder, Settings& out);

// Writes the eight lines, the flag as "True"/"False". False on any I/O error.
bool saveSettings(const std::filesystem::path& path, const Settings& settings);

// Puts `path` at the top of the recent list: an equal entry (case-sensitive) or the first empty
// one is taken out first; when there is none, the last entry drops off.
void addRecentFile(Settings& settings, const std::string& path);

// The caption of recent-file menu entry i: "0. " for an empty entry, "3. " + the path when it
// has at most 20 characters, else "3. " + its last 20 characters.
std::string recentFileCaption(int index, const std::string& path);

}  // namespace velmar
