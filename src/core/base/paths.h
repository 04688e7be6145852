#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velmar {

// Paths travel through the program as UTF-8 text; this is the one place they become paths.
std::filesystem::path pathFromUtf8(const std::string& text);
std::string pathToUtf8(const std::filesystem::path& path);

// Whether `path` itself is a symbolic link (a junction too, on Windows), whatever it leads to.
bool isSymbolicLink(const std::filesystem::path& path);

// What stands in the way of a file the program names itself below a folder ("scenes/010203.json"
// below the folder the user chose): the first part of the name, from the top, that is a link, or
// is something other than a folder where a folder goes or a plain file where the file goes.
struct PathObstacle {
    std::string name;  // the part's name below `root`, '/' between folders ("scenes")
    bool link = false;
    std::string why;  // "a link", "not a folder", "not a plain file"
};
// nullopt when every part is what its place needs or is missing. `relative` is '/'-separated
// UTF-8 without "." or ".." parts; `root` itself may be anything the user chose, a link too.
std::optional<PathObstacle> obstacleBelow(const std::filesystem::path& root, const std::string& relative);

#ifndef _WIN32
// The folder that holds file `relative` below `root`, opened folder by folder without following a
// link, and held open: the file is then looked up from the folder itself, so a link put on the way
// after a check (a folder swapped for one) cannot lead a read or a write anywhere else.
class HeldFolder {
public:
    // With `make`, folders that are missing on the way are made.
    HeldFolder(const std::filesystem::path& root, const std::string& relative, bool make);
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;
    ~HeldFolder();

    // The folder's descriptor, or -1 when it could not be reached; then the system's error number
    // says why (ELOOP: a link stands on the way; ENOTDIR: something that is not a folder), and
    // `failedName` where, '/' between folders ("scenes"; empty for `root` itself).
    int fd() const { return fd_; }
    int error() const { return error_; }
    const std::string& failedName() const { return failedName_; }
    const std::string& fileName() const { return fileName_; }  // the last part of `relative`

private:
    int fd_ = -1;
    int error_ = 0;
    std::string failedName_;
    std::string fileName_;
};
#endif

// A message about a file: the program's fixed text, then on a second line the path and the
// reason ("Error loading file!" / "/roms/game.nes: Permission denied").
std::string fileMessage(const std::string& text, const std::string& path, const std::string& reason);

}  // namespace velmar
