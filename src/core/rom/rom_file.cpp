#include "rom/rom_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <random>
#include <system_error>

#include "rom/address_map.h"

namespace velmar {

namespace fs = std::filesystem;

namespace {

// No image of this game comes near this; a larger file is not one and is not read into memory.
constexpr std::uintmax_t kMaxFileSize = 64u << 20;

std::string systemReason(int error)
{
    return std::generic_category().message(error);
}

std::string systemReason(std::errc error)
{
    return std::make_error_code(error).message();
}

// Reads the file whole into `out`; the reason it could not, or an empty text.
std::string readWholeFile(const fs::path& path, Bytes& out)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec)
        return ec.message();
    if (fs::is_directory(status))
        return systemReason(std::errc::is_a_directory);
    if (!fs::is_regular_file(status))
        return "Not a regular file";
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec)
        return ec.message();
    if (size > kMaxFileSize)
        return "The file is larger than 64 MB; no image of this game is";
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return systemReason(errno != 0 ? errno : EACCES);
    out.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size)
        return systemReason(errno != 0 ? errno : EIO);
    return {};
}

}  // namespace

Bytes RomImage::fileBytes() const
{
    Bytes out(romHeader.begin(), romHeader.end());
    out.insert(out.end(), romData.begin(), romData.end());
    return out;
}

std::string romReadMessage(RomReadResult result)
{
    switch (result) {
    case RomReadResult::Ok:
        return "File successfully loaded!";
    case RomReadResult::IoError:
        return "Error loading file!";
    case RomReadResult::InvalidRom:
    case RomReadResult::TooShort:
        return "Invalid rom!";
    }
    return "Unknown Error!";
}

std::string fileMessage(const std::string& text, const std::string& path, const std::string& reason)
{
    if (path.empty() && reason.empty())
        return text;
    return text + "\n" + path + (path.empty() || reason.empty() ? "" : ": ") + reason;
}

Outcome<RomReadResult> parseRomFile(const Bytes& file, RomImage& image)
{
    if (file.size() < 17)
        return {RomReadResult::IoError, file.empty() ? "The file is empty" : "The file holds no data after its header"};
    if (file[0] != 'N' || file[1] != 'E' || file[2] != 'S')
        return {RomReadResult::InvalidRom, "The file does not start with \"NES\": it is not an iNES image"};
    std::copy_n(file.begin(), 16, image.romHeader.begin());
    image.romData.assign(file.begin() + 16, file.end());
    return {};
}

Outcome<RomReadResult> readRomFile(const fs::path& path, RomImage& image)
{
    Bytes file;
    if (std::string reason = readWholeFile(path, file); !reason.empty())
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

Outcome<WriteResult> writeFileSafely(const fs::path& path, const Bytes& bytes, bool mustExist)
{
    using R = Outcome<WriteResult>;
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    if (ec)
        return R::failure(WriteResult::IoError, ec.message());
    if (mustExist && !exists)
        return R::failure(WriteResult::IoError, systemReason(std::errc::no_such_file_or_directory));
    if (exists && !fs::is_regular_file(path, ec))
        return R::failure(WriteResult::IoError, "Not a regular file");

    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::random_device entropy;
    fs::path temp;
    std::ofstream out;
    int openError = 0;
    for (int attempt = 0; attempt < 16 && !out.is_open(); ++attempt) {
        temp = folder / ("." + path.filename().string() + ".velmar-"
                         + std::to_string(entropy() % 1000000u) + ".tmp");
        if (fs::exists(temp, ec))
            continue;
        errno = 0;
        out.open(temp, std::ios::binary | std::ios::trunc);
        openError = errno;
    }
    if (!out.is_open())
        return R::failure(WriteResult::IoError, systemReason(openError != 0 ? openError : EACCES));

    errno = 0;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        const int writeError = errno != 0 ? errno : EIO;
        fs::remove(temp, ec);
        return R::failure(WriteResult::IoError, systemReason(writeError));
    }
    if (exists) {
        const fs::perms perms = fs::status(path, ec).permissions();
        if (!ec)
            fs::permissions(temp, perms, ec);
    }
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return R::failure(WriteResult::IoError, ec.message());
    }
    return {};
}

Outcome<WriteResult> writeRomFile(const fs::path& path, const RomImage& image)
{
    if (path.empty())
        return Outcome<WriteResult>::failure(WriteResult::IoError, "No file is open");
    return writeFileSafely(path, image.fileBytes(), true);
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

Outcome<RomReadResult> readRomFileOnAnyDrive(std::string& path, RomImage& image,
                                             const std::vector<Volume>& volumes)
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
