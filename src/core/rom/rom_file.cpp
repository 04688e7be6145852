#include "rom/rom_file.h"

#include <algorithm>

#include "base/file_reader.h"
#include "rom/address_map.h"

namespace velmar {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kTrainerSize = 512;

}  // namespace

Bytes RomImage::fileBytes() const
{
    Bytes out;
    out.reserve(romHeader.size() + trainer.size() + romData.size());
    out.insert(out.end(), romHeader.begin(), romHeader.end());
    out.insert(out.end(), trainer.begin(), trainer.end());
    out.insert(out.end(), romData.begin(), romData.end());
    return out;
}

std::string romReadMessage(RomReadResult result)
{
    switch (result) {
    case RomReadResult::Ok: return "File successfully loaded!";
    case RomReadResult::IoError: return "Error loading file!";
    case RomReadResult::InvalidRom:
    case RomReadResult::TooShort: return "Invalid rom!";
    case RomReadResult::Declined: return "File not loaded.";
    }
    return "Unknown Error!";
}

Outcome<RomReadResult> parseRomFile(const Bytes& file, RomImage& image)
{
    if (file.size() < 17)
        return {RomReadResult::IoError, file.empty() ? "The file is empty" : "The file holds no data after its header"};
    if (file[0] != 'N' || file[1] != 'E' || file[2] != 'S')
        return {RomReadResult::InvalidRom, "The file does not start with \"NES\": it is not an iNES image"};
    // Bit 2 of byte 6: 512 trainer bytes come between the header and the program banks.
    const std::size_t trainerSize = (file[6] & 0x04) != 0 ? kTrainerSize : 0;
    if (file.size() < 16 + trainerSize + 1)
        return {RomReadResult::IoError, "The header says a 512-byte trainer follows, but the file ends inside it"};
    std::copy_n(file.begin(), 16, image.romHeader.begin());
    image.trainer.assign(file.begin() + 16, file.begin() + static_cast<std::ptrdiff_t>(16 + trainerSize));
    image.romData.assign(file.begin() + static_cast<std::ptrdiff_t>(16 + trainerSize), file.end());
    return {};
}

Outcome<RomReadResult> readRomFile(const fs::path& path, RomImage& image)
{
    Bytes file;
    if (std::string reason =
            readWholeFile(path, file, kMaxRomFileBytes, "The file is larger than 64 MB; no image of this game is");
        !reason.empty())
        return {RomReadResult::IoError, std::move(reason)};
    return parseRomFile(file, image);
}

Outcome<RomReadResult> checkGameImage(const RomImage& image)
{
    constexpr auto kNeeded = static_cast<std::size_t>(rommap::kImageSize);
    if (image.romData.size() >= kNeeded)
        return {};
    return {RomReadResult::TooShort,
            "The image is cut off: it holds " + std::to_string(image.romData.size() + 16)
                + " bytes, and the game's tables need " + std::to_string(kNeeded + 16)};
}

std::vector<std::string> headerWarnings(const RomImage& image)
{
    const auto& h = image.romHeader;
    std::vector<std::string> out;
    if (h[4] != 8)
        out.push_back("The header gives " + std::to_string(h[4]) + " program banks of 16 KB; the game has 8.");
    if (h[5] != 16)
        out.push_back("The header gives " + std::to_string(h[5]) + " pattern banks of 8 KB; the game has 16.");
    // Byte 7 holds the mapper's high nibble, unless bytes 12-15 carry an old dumper's signature,
    // in which case it is junk too.
    const bool tailClean = h[12] == 0 && h[13] == 0 && h[14] == 0 && h[15] == 0;
    const int mapper = (h[6] >> 4) | (tailClean ? (h[7] & 0xF0) : 0);
    if (mapper != 1)
        out.push_back("The header gives mapper " + std::to_string(mapper) + "; the game uses mapper 1.");
    return out;
}

Outcome<WriteResult> writeRomFile(const fs::path& path, const RomImage& image)
{
    if (path.empty())
        return Outcome<WriteResult>::failure(WriteResult::IoError, "No file is open");
    return writeFileSafely(path, image.fileBytes(), true, FileOwner::User);
}

std::string candidatePath(const Volume& volume, const std::string& path)
{
    const std::string& root = volume.root;
    // A drive letter root ("F:" or "F:\"): the letter replaces the path's first character.
    if (root.size() >= 2 && root[1] == ':' && !path.empty())
        return root.substr(0, 1) + path.substr(1);

    auto isSeparator = [](char c) { return c == '/' || c == '\\'; };
    // Count the folders of the mount point, then drop as many leading folders from the path.
    int depth = 0;
    for (std::size_t i = 0; i < root.size(); ++i) {
        if (!isSeparator(root[i]) && (i == 0 || isSeparator(root[i - 1])))
            ++depth;
    }
    std::size_t pos = 0;
    while (pos < path.size() && isSeparator(path[pos]))
        ++pos;
    for (int d = 0; d < depth; ++d) {
        while (pos < path.size() && !isSeparator(path[pos]))
            ++pos;
        while (pos < path.size() && isSeparator(path[pos]))
            ++pos;
    }
    std::string base = root;
    while (!base.empty() && isSeparator(base.back()))
        base.pop_back();
    return base + "/" + path.substr(pos);
}

Outcome<RomReadResult> readRomFileOnAnyDrive(std::string& path, RomImage& image, const std::vector<Volume>& volumes)
{
    Outcome<RomReadResult> first = readRomFile(pathFromUtf8(path), image);
    if (first.ok())
        return first;
    for (const Volume& volume : volumes) {
        if (!volume.ready)
            continue;
        const std::string candidate = candidatePath(volume, path);
        Outcome<RomReadResult> r = readRomFile(pathFromUtf8(candidate), image);
        if (r.ok()) {
            path = candidate;
            return r;
        }
        if (r.code == RomReadResult::InvalidRom)
            return r;
    }
    // No other volume had it: the reason the path itself failed is the one to show.
    return first;
}

}  // namespace velmar
