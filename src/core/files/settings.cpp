#include "files/settings.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "base/file_reader.h"
#include "base/line_reader.h"
#include "rom/rom_file.h"
#include "base/utf8.h"

namespace velmar {

namespace {

constexpr std::size_t kCaptionChars = 20;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

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

Outcome<SettingsLoad> loadSettings(const std::filesystem::path& path, const std::string& programFolder, Settings& out)
{
    using R = Outcome<SettingsLoad>;
    std::error_code ec;
    out = defaultSettings(programFolder);
    if (!std::filesystem::exists(path, ec) && !ec)
        return {SettingsLoad::Missing, "No settings file yet"};
    LineReader reader(path);
    if (!reader.isOpen())
        return R::failure(SettingsLoad::Unreadable, reader.reason());

    std::array<std::string, 8> lines;
    int read = 0;
    while (read < 8 && reader.next(lines[static_cast<std::size_t>(read)]))
        ++read;
    std::string problem;
    if (read < 8)
        problem = "the file ends after line " + std::to_string(read) + " of 8";
    if (read >= 1)
        out.romFolder = lines[0];
    if (read >= 2)
        out.emulatorCommand = lines[1];
    for (std::size_t i = 0; i < out.recentFiles.size() && static_cast<int>(2 + i) < read; ++i)
        out.recentFiles[i] = lines[2 + i];
    if (read == 8) {
        if (equalsIgnoringCase(lines[7], "True"))
            out.checkDrive = true;
        else if (!equalsIgnoringCase(lines[7], "False"))
            problem = "line 8 is \"" + lines[7] + "\", not True or False";
    }
    for (std::string line; reader.next(line);) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string_view key = std::string_view(line).substr(0, equals);
        const std::string_view value = std::string_view(line).substr(equals + 1);
        const bool truth = equalsIgnoringCase(value, "True");
        if (!truth && !equalsIgnoringCase(value, "False"))
            continue;
        if (equalsIgnoringCase(key, "KeepBackup"))
            out.keepBackup = truth;
        else if (equalsIgnoringCase(key, "ShowSuccessMessages"))
            out.showSuccessMessages = truth;
    }
    if (!problem.empty())
        return R::failure(SettingsLoad::Partial, std::move(problem));
    return {};
}

Outcome<WriteResult> keepUnreadSettings(const std::filesystem::path& path, std::filesystem::path& kept)
{
    kept = path;
    kept += ".bad";
    Bytes bytes;
    if (std::string reason = readWholeFile(path, bytes, 4u << 20, "The file is larger than 4 MB"); !reason.empty())
        return Outcome<WriteResult>::failure(WriteResult::IoError, std::move(reason));
    return writeFileSafely(kept, bytes, false, FileOwner::Program);
}

Outcome<WriteResult> saveSettings(const std::filesystem::path& path, const Settings& settings)
{
    std::string text = asLine(settings.romFolder) + "\n" + asLine(settings.emulatorCommand) + "\n";
    for (const std::string& recent : settings.recentFiles)
        text += asLine(recent) + "\n";
    text += settings.checkDrive ? "True\n" : "False\n";
    text += settings.keepBackup ? "KeepBackup=True\n" : "KeepBackup=False\n";
    text += settings.showSuccessMessages ? "ShowSuccessMessages=True\n" : "ShowSuccessMessages=False\n";
    return writeFileSafely(path, Bytes(text.begin(), text.end()), false, FileOwner::User);
}

std::filesystem::path settingsFileInUse(const SettingsFiles& files)
{
    std::error_code ec;
    const bool userCopy = !files.user.empty() && std::filesystem::exists(files.user, ec);
    return userCopy ? files.user : files.beside;
}

Outcome<SettingsLoad> loadSettings(const SettingsFiles& files, const std::string& programFolder, Settings& out)
{
    return loadSettings(settingsFileInUse(files), programFolder, out);
}

Outcome<WriteResult> saveSettings(const SettingsFiles& files, const Settings& settings, std::filesystem::path& written)
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

namespace {

using RecentList = std::array<std::string, 5>;

// The files put on top of `before` by addRecentFile, one after the other, to give `after`: the
// newest first. Each addition takes its own entry out of the list, or a gap, or the last entry, so
// what follows the additions is what is left of `before`, in its order.
std::vector<std::string> filesAddedOnTop(const RecentList& before, const RecentList& after)
{
    for (std::size_t added = 0; added < after.size(); ++added) {
        const auto top = after.begin() + static_cast<std::ptrdiff_t>(added);
        std::vector<std::string> left;
        for (const std::string& path : before)
            if (!path.empty() && std::find(after.begin(), top, path) == top)
                left.push_back(path);
        std::vector<std::string> rest;
        std::copy_if(top, after.end(), std::back_inserter(rest), [](const std::string& p) { return !p.empty(); });
        if (rest.size() <= left.size() && std::equal(rest.begin(), rest.end(), left.begin()))
            return {after.begin(), top};
    }
    return {after.begin(), after.end()};
}

}  // namespace

Settings mergeSettings(const Settings& read, const Settings& mine, const Settings& onDisk)
{
    Settings merged = onDisk;
    const auto take = [&](auto member) {
        if (mine.*member != read.*member)
            merged.*member = mine.*member;
    };
    take(&Settings::romFolder);
    take(&Settings::emulatorCommand);
    take(&Settings::checkDrive);
    take(&Settings::keepBackup);
    take(&Settings::showSuccessMessages);
    const std::vector<std::string> added = filesAddedOnTop(read.recentFiles, mine.recentFiles);
    for (auto path = added.rbegin(); path != added.rend(); ++path)
        addRecentFile(merged, *path);
    return merged;
}

std::string recentFileCaption(int index, const std::string& path)
{
    return std::to_string(index) + ". " + std::string(utf8::lastChars(path, kCaptionChars));
}

}  // namespace velmar
