#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "exchange/folder_section.h"
#include "rom/rom_file.h"

// A whole modification as a folder of files a person can read and version control can diff and
// merge: the scenes, texts, colours, frames, animations and pattern banks each in a file of their own,
// and every byte no file describes in one remainder, so that nothing of the image is lost.
//
// The remainder is the image with each described thing put into one fixed blank form (banks of
// pixel 0, colours 00, frames of sprite 0, texts of their end code alone, scenes of metatile 0
// and actors 00...), through the same edits that put them back. So the remainder is the same
// whatever those things hold: changing a text or a picture changes its own file and never the
// remainder (a scene's length and actor counts are layout: they stay in it), and a merge of two people's
// changes meets only in the files they both changed.
namespace velmar::exchange {

inline constexpr const char* kManifestFile = "manifest.json";
inline constexpr const char* kRemainderFile = "remainder.nes";
inline constexpr const char* kFolderFormat = "velmar-folder";
inline constexpr int kFolderVersion = 1;

// A folder's files by name ('/' between folders).
using FolderFiles = std::map<std::string, Bytes>;

// Every part a folder may hold, in the order import applies them; `endCode` for the texts.
std::vector<FolderPart> folderParts(const CharTable& table, EndCode endCode = EndCode::Required);

// The folder for an image: the manifest, the remainder and one file per part whose things the
// image holds in readable form (the others stay in the remainder). Texts are read with `table`.
// Before anything is handed back the folder is imported again in memory: an image that would not
// come back byte for byte is refused (NotExact, naming the first file offset that differs).
FolderOutcome exportFolder(const RomImage& image, const CharTable& table, FolderFiles& out);

// One file of a folder by name; nullopt with the reason when it cannot be read.
using FolderReader = std::function<std::optional<Bytes>(const std::string& name, std::string& reason)>;

// The image a folder describes: its remainder, then every file the manifest lists applied through
// the document's edits. A file that is missing or wrong refuses the whole folder with the file's
// name and the place in it (BadFile or Unreadable); `out` is set only on success. A text without
// its end code is refused (naming it) unless `endCode` allows it.
FolderOutcome importFolder(const FolderReader& read, const CharTable& table, RomImage& out,
                           EndCode endCode = EndCode::Required);

// The largest file of its kind that a folder may hold under `name`: an image's bound for the
// remainder, a scene file's for every other file (none comes near it). importFolder refuses a
// larger one, and diskFolder reads none before it knows its size.
std::uintmax_t folderFileLimit(const std::string& name);

// The files of a folder on disk, read by the rules of every reader here. A file is read only when
// it is no larger than its limit, and a link inside the folder is never followed: the folder
// comes from someone else, and its files are the program's own names, which nobody needs as
// links (the folder itself may be one).
FolderReader diskFolder(const std::filesystem::path& dir);

// Writes every file into `dir` (made when missing), each whole or not at all, as the program's own
// files. A folder holding a link, or anything but a folder or a plain file, at a name of the
// files or their folders is refused before anything is written, with every such name: the
// files are one whole, and a folder written in part could be read back as one.
FolderOutcome writeFolder(const std::filesystem::path& dir, const FolderFiles& files);

}  // namespace velmar::exchange
