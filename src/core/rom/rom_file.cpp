#include "rom/rom_file.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <system_error>

namespace velmar {

namespace fs = std::filesystem;

namespace {

// No image of this game comes near this; a larger file is not one and is not read into memory.
constexpr std::uintmax_t kMaxFileSize = 64u << 20;

bool readWholeFile(const fs::path& path, Bytes& out)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kMaxFileSize)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(size));
    return static_cast<std::uintmax_t>(in.gcount()) == size;
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
        return "Invalid rom!";
    }
    return "Unknown Error!";
}

RomReadResult parseRomFile(const Bytes& file, RomImage& image)
{
    if (file.size() < 17)
        return RomReadResult::IoError;
    if (file[0] != 'N' || file[1] != 'E' || file[2] != 'S')
        return RomReadResult::InvalidRom;
    std::copy_n(file.begin(), 16, image.romHeader.begin());
    image.romData.assign(file.begin() + 16, file.end());
    return RomReadResult::Ok;
}

RomReadResult readRomFile(const fs::path& path, RomImage& image)
{
    Bytes file;
    if (!readWholeFile(path, file))
        return RomReadResult::IoError;
    return parseRomFile(file, image);
}

bool writeFileSafely(const fs::path& path, const Bytes& bytes, bool mustExist)
{
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    if (ec || (mustExist && !exists))
        return false;
    if (exists && !fs::is_regular_file(path, ec))
        return false;

    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::random_device entropy;
    fs::path temp;
    std::ofstream out;
    for (int attempt = 0; attempt < 16 && !out.is_open(); ++attempt) {
        temp = folder / ("." + path.filename().string() + ".velmar-"
                         + std::to_string(entropy() % 1000000u) + ".tmp");
        if (fs::exists(temp, ec))
            continue;
        out.open(temp, std::ios::binary | std::ios::trunc);
    }
    if (!out.is_open())
        return false;

    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        fs::remove(temp, ec);
        return false;
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
        return false;
    }
    return true;
}

int writeRomFile(const fs::path& path, const RomImage& image)
{
    if (path.empty())
        return 1;
    return writeFileSafely(path, image.fileBytes(), true) ? 0 : 1;
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

RomReadResult readRomFileOnAnyDrive(std::string& path, RomImage& image,
                                    const std::vector<Volume>& volumes)
{
    if (readRomFile(pathFromUtf8(path), image) == RomReadResult::Ok)
        return RomReadResult::Ok;
    for (const Volume& volume : volumes) {
        if (!volume.ready)
            continue;
        const std::string candidate = candidatePath(volume, path);
        const RomReadResult r = readRomFile(pathFromUtf8(candidate), image);
        if (r == RomReadResult::Ok) {
            path = candidate;
            return r;
        }
        if (r == RomReadResult::InvalidRom)
            return r;
    }
    return RomReadResult::IoError;
}

}  // namespace velmar
