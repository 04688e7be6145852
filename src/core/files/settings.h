#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "base/outcome.h"
#include "rom/rom_file.h"

namespace velmar {

// VELMAR.INI: eight lines in this order, then optional "Key=Value" lines.
struct Settings {
    std::string romFolder;        // initial folder of the open dialog
    std::string emulatorCommand;  // empty: no emulator set
    std::array<std::string, 5> recentFiles;
    bool checkDrive = false;  // retry a missing ROM on the other drives
    // After the eight lines: "KeepBackup=True|False".
    bool keepBackup = true;  // the first save of a file keeps the file as it was in NAME.bak
    // "ShowSuccessMessages=True|False": a load, a save or a resize that worked says so in a
    // message box; off, in the status bar.
    bool showSuccessMessages = true;

    bool operator==(const Settings&) const = default;
};

// Defaults: romFolder = the program folder, everything else empty or off.
Settings defaultSettings(const std::string& programFolder);

enum class [[nodiscard]] SettingsLoad{
    Ok = 0,
    Missing = 1,     // no file there: the first start
    Unreadable = 2,  // a file that cannot be read at all: every value takes its default
    Partial = 3,     // a file short of lines, or whose line 8 is no truth value: the values that
                     // read well are kept, the others take their defaults
};

// Reads the eight lines. Each line that reads well is kept; a line missing, or a line 8 that is
// no truth value, gives that value's default, and the reason names the line. Of the lines after
// them, "Key=Value" lines with a known key and a truth value are taken (key and value in any
// case); anything else there is passed over, so a file from an older or a newer version reads.
[[nodiscard]] Outcome<SettingsLoad> loadSettings(const std::filesystem::path& path, const std::string& programFolder,
                                                 Settings& out);

// Keeps a settings file that did not read well as it is, in NAME.bad beside it, before anything
// is written over it; the name of the copy is `kept`.
[[nodiscard]] Outcome<WriteResult> keepUnreadSettings(const std::filesystem::path& path, std::filesystem::path& kept);

// Writes the eight lines, the flag as "True"/"False", then "KeepBackup=" and
// "ShowSuccessMessages=" with "True" or "False".
[[nodiscard]] Outcome<WriteResult> saveSettings(const std::filesystem::path& path, const Settings& settings);

// VELMAR.INI lives in the dat folder beside the program, or, where the program's folder cannot
// be written (an installed program), in the user's configuration folder.
struct SettingsFiles {
    std::filesystem::path beside;  // <program folder>/dat/VELMAR.INI
    std::filesystem::path user;    // <user configuration folder>/VELMAR.INI
};

// The file settings are read from: the user's copy when there is one, else the one beside the
// program.
std::filesystem::path settingsFileInUse(const SettingsFiles& files);
[[nodiscard]] Outcome<SettingsLoad> loadSettings(const SettingsFiles& files, const std::string& programFolder,
                                                 Settings& out);

// Writes the user's copy when there is one; else the one beside the program, and when that
// cannot be written, the user's copy (its folder made as needed). `written` is the file tried
// last.
[[nodiscard]] Outcome<WriteResult> saveSettings(const SettingsFiles& files, const Settings& settings,
                                                std::filesystem::path& written);

// Puts `path` at the top of the recent list: an equal entry (case-sensitive) or the first empty
// one is taken out first; when there is none, the last entry drops off.
void addRecentFile(Settings& settings, const std::string& path);

// What this editor changed in its settings since it read them from the file (`read`, now
// `mine`), laid over the file as it is now (`onDisk`), which another editor may have written
// meanwhile: a value this editor changed is its own, every other one is the file's, and the files
// this editor opened go on top of the file's recent list, the newest first. So two editors never
// write over each other's changes.
Settings mergeSettings(const Settings& read, const Settings& mine, const Settings& onDisk);

// The caption of recent-file menu entry i: "0. " for an empty entry, "3. " + the path when it
// has at most 20 characters, else "3. " + its last 20 characters.
std::string recentFileCaption(int index, const std::string& path);

}  // namespace velmar
