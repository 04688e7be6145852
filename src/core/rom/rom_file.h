#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "outcome.h"
#include "rom/types.h"

namespace velmar {

// Paths travel through the program as UTF-8 text; this is the one place they become paths.
std::filesystem::path pathFromUtf8(const std::string& text);
std::string pathToUtf8(const std::filesystem::path& path);

// The open image: the 16-byte iNES header, written back unchanged, and every byte after it
// (romData offset = file offset - 16). Before any file is opened romData is one zero byte.
struct RomImage {
    std::array<std::uint8_t, 16> romHeader{};
    Bytes romData = Bytes(1, 0);

    // Header followed by data: the bytes of the file.
    Bytes fileBytes() const;

    bool operator==(const RomImage&) const = default;
};

enum class RomReadResult : std::int16_t {
    Ok = 0,
    IoError = 1,     // cannot be opened or read, or shorter than 17 bytes
    InvalidRom = 2,  // the first three bytes are not "NES"
    TooShort = 3,    // the signature is there but the game's tables are not: see checkGameImage
};

// The program's message for a read result: "Error loading file!", "Invalid rom!", ...
std::string romReadMessage(RomReadResult result);

// A message about a file: the program's fixed text, then on a second line the path and the
// reason ("Error loading file!" / "/roms/game.nes: Permission denied").
std::string fileMessage(const std::string& text, const std::string& path, const std::string& reason);

// Reads the whole file. Only the "NES" signature is checked (not byte 3 nor the size fields).
// `image` is replaced only when the result is Ok, so a rejected file never mixes with the image
// being edited. The reason is the system's ("No such file or directory") or the file's fault.
Outcome<RomReadResult> readRomFile(const std::filesystem::path& path, RomImage& image);

// Checks the signature of an in-memory file (header + data) and splits it. Same rules as
// readRomFile; used by the fuzz target and by the sample image.
Outcome<RomReadResult> parseRomFile(const Bytes& file, RomImage& image);

// The game's tables reach to the end of pattern bank 31 (romData 0x40000); an image that ends
// before that is cut off and none of its scenes can be shown. TooShort, with the sizes, or Ok.
Outcome<RomReadResult> checkGameImage(const RomImage& image);

enum class WriteResult : std::int16_t {
    Ok = 0,
    IoError = 1,
};

// Writes header and data over an existing file: the bytes go to a temporary file beside it,
// which then replaces the target, so the target is never left half-written. A missing target is
// not created.
Outcome<WriteResult> writeRomFile(const std::filesystem::path& path, const RomImage& image);

// Writes `bytes` to `path` through a temporary file beside it. With `mustExist` a missing target
// fails without creating anything. The target keeps its permissions.
Outcome<WriteResult> writeFileSafely(const std::filesystem::path& path, const Bytes& bytes, bool mustExist);

// A place where a ROM kept on removable media may now be: a drive root on Windows ("F:\"),
// a mount point elsewhere ("/media/user/STICK").
struct Volume {
    std::string root;
    bool ready = true;
};

// The system's volumes in the order the platform lists them.
std::vector<Volume> systemVolumes();

// The same path on another volume: on a drive letter, the letter followed by the path without
// its first character; on a mount point, the mount point followed by what is left of the path
// after as many leading folders as the mount point has.
std::string candidatePath(const Volume& volume, const std::string& path);

// readRomFile with the drive retry: when the path fails, every ready volume is tried in turn
// with candidatePath; the first one that reads gives its path back in `path`, the first invalid
// image stops the walk with InvalidRom, and I/O errors go on to the next volume.
Outcome<RomReadResult> readRomFileOnAnyDrive(std::string& path, RomImage& image,
                                             const std::vector<Volume>& volumes);

}  // namespace velmar
