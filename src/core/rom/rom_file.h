#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/file_writer.h"
#include "base/outcome.h"
#include "base/paths.h"
#include "rom/types.h"

namespace velmar {

// The open image: the 16-byte iNES header, written back unchanged, the 512-byte trainer when the
// header says there is one (set aside, written back in place), and every byte after that
// (romData offset = file offset - 16, less 512 with a trainer). Before any file is opened
// romData is one zero byte.
struct RomImage {
    std::array<std::uint8_t, 16> romHeader{};
    Bytes trainer;
    Bytes romData = Bytes(1, 0);

    // Header, trainer and data: the bytes of the file.
    Bytes fileBytes() const;

    bool operator==(const RomImage&) const = default;
};

enum class [[nodiscard]] RomReadResult : std::int16_t{
    Ok = 0,
    IoError = 1,     // cannot be opened or read, or shorter than 17 bytes
    InvalidRom = 2,  // the first three bytes are not "NES"
    TooShort = 3,    // the signature is there but the game's tables are not: see checkGameImage
    Declined = 4,    // readable, but the user chose not to open it
};

// The program's message for a read result: "Error loading file!", "Invalid rom!", ...
std::string romReadMessage(RomReadResult result);

// No image of this game comes near this; a larger file is not one and is not read into memory.
inline constexpr std::uintmax_t kMaxRomFileBytes = 64u << 20;

// Reads the whole file. Only the "NES" signature is checked (not byte 3 nor the size fields);
// a trainer (bit 2 of header byte 6) is set aside.
// `image` is replaced only when the result is Ok, so a rejected file never mixes with the image
// being edited. The reason is the system's ("No such file or directory") or the file's fault.
Outcome<RomReadResult> readRomFile(const std::filesystem::path& path, RomImage& image);

// Checks the signature of an in-memory file (header + data) and splits it. Same rules as
// readRomFile, for an image already in memory: the file on disk compared before a save, the
// recovery copy, a folder's remainder.
Outcome<RomReadResult> parseRomFile(const Bytes& file, RomImage& image);

// The game's tables reach to the end of pattern bank 31 (romData 0x40000); an image that ends
// before that is cut off and none of its scenes can be shown. TooShort, with the sizes, or Ok.
Outcome<RomReadResult> checkGameImage(const RomImage& image);

// Where the header disagrees with the game's layout (8 PRG banks of 16 KB, 16 CHR banks of
// 8 KB, mapper 1), one sentence each; empty when it agrees. Such an image may still be the
// game (old dumps carry junk in the header), so this warns and never refuses.
std::vector<std::string> headerWarnings(const RomImage& image);

// Writes the image over an existing file, by writeFileSafely's rules. A missing target is not
// created.
Outcome<WriteResult> writeRomFile(const std::filesystem::path& path, const RomImage& image);

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
Outcome<RomReadResult> readRomFileOnAnyDrive(std::string& path, RomImage& image, const std::vector<Volume>& volumes);

}  // namespace velmar
