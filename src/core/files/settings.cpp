#include "files/settings.h"

#include <algorithm>

#include "files/line_reader.h"
#include "rom/rom_file.h"
#include "text/utf8.h"

namespace velmar {

namespace {

constexpr std::size_t kCaptionChars = 20;

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// A value with a line break would shift every line after it and spoil the whole file, and one
// ending in a carriage return would come back without it; such a value (a path may hold one) is
// not kept. A carriage return inside a value reads back as it was written.
std::string asLine(const std::string& value)
{
    const bool breaks = value.find('\n') != std::string::npos || (!value.empty() && value.back() == '\r');
    return breaks ? std::string() : value;
}

}  // namespace

Settings defaultSettings(const std::string& programFolder)
{
    Settings s;
    s.romFolder = programFolder;
    return s;
}

Outcome<SettingsLoad> loadSettings(const std::filesystem::path& path, const std::string& programFolder,
                                   Settings& out)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) {
        out = defaultSettings(programFolder);
        return {SettingsLoad::Missing, "No settings file yet"};
    }
    LineReader reader(path);
    std::array<std::string, 8> lines;
    bool ok = true;
    for (std::string& line : lines) {
        if (!reader.next(line)) {
            ok = false;
            break;
        }
    }
    bool checkDrive = false;
    if (ok && equalsIgnoringCase(lines[7], "True"))
        checkDrive = true;
    else if (!ok || !equalsIgnoringCase(lines[7], "False"))
        ok = false;

    if (!ok) {
        out = defaultSettings(programFolder);
        return {SettingsLoad::Unreadable, "The settings file cannot be read or is incomplete"};
    }
    out.romFolder = lines[0];
    out.emulatorCommand = lines[1];
    for (std::size_t i = 0; i < out.recentFiles.size(); ++i)
        out.recentFiles[i] = lines[2 + i];
    out.checkDrive = checkDrive;
    out.keepBackup = true;
    for (std::string line; reader.next(line);) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string_view key = std::string_view(line).substr(0, equals);
        const std::string_view value = std::string_view(line).substr(equals + 1);
        const bool truth = equalsIgnoringCase(value, "True");
        if (equalsIgnoringCase(key, "KeepBackup") && (truth || equalsIgnoringCase(value, "False")))
            out.keepBackup = truth;
    }
    return {};
}

Outcome<WriteResult> saveSettings(const std::filesystem::path& path, const Settings& settings)
{
    std::string text = asLine(settings.romFolder) + "\n" + asLine(settings.emulatorCommand) + "\n";
    for (const std::string& recent : settings.recentFiles)
        text += asLine(recent) + "\n";
    text += settings.checkDrive ? "True\n" : "False\n";
    text += settings.keepBackup ? "KeepBackup=True\n" : "KeepBackup=False\n";
    return writeFileSafely(path, Bytes(text.begin(), text.end()), false);
}

Outcome<SettingsLoad> loadSettings(const SettingsFiles& files, const std::string& programFolder, Settings& out)
{
    std::error_code ec;
    const bool userCopy = !files.user.empty() && std::filesystem::exists(files.user, ec);
    return loadSettings(userCopy ? files.user : files.beside, programFolder, out);
}

Outcome<WriteResult> saveSettings(const SettingsFiles& files, const Settings& settings,
                                  std::filesystem::path& written)
{
    std::error_code ec;
    if (files.user.empty() || !std::filesystem::exists(files.user, ec)) {
        written = files.beside;
        Outcome<WriteResult> beside = saveSettings(files.beside, settings);
        if (beside.ok() || files.user.empty())
            return beside;
        std::filesystem::create_directories(files.user.parent_path(), ec);
    }
    written = files.user;
    return saveSettings(files.user, settings);
}

void addRecentFile(Settings& settings, const std::string& path)
{
    if (path.empty())
        return;
    auto& recent = settings.recentFiles;
    // The entry that makes room: the path itself, so that it is never listed twice (a hand-edited
    // file may have a gap above it), else the first empty entry, else the last one drops off.
    auto taken = static_cast<std::size_t>(std::find(recent.begin(), recent.end(), path) - recent.begin());
    if (taken == recent.size())
        taken = static_cast<std::size_t>(std::find(recent.begin(), recent.end(), "") - recent.begin());
    if (taken == recent.size())
        taken = recent.size() - 1;
    for (std::size_t i = taken; i > 0; --i)
        recent[i] = std::move(recent[i - 1]);
    recent[0] = path;
}

std::string recentFileCaption(int index, const std::string& path)
{
    return std::to_string(index) + ". " + std::string(utf8::lastChars(path, kCaptionChars));
}

}  // namespace velmar
