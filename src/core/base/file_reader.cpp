#include "base/file_reader.h"

#include <cerrno>
#include <fstream>
#include <system_error>

#include "base/paths.h"

namespace velmar {

namespace fs = std::filesystem;

std::string readWholeFile(const fs::path& path, Bytes& out, std::uintmax_t maxSize, const std::string& tooLarge)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec)
        return ec.message();
    if (fs::is_directory(status))
        return std::make_error_code(std::errc::is_a_directory).message();
    if (!fs::is_regular_file(status))
        return "Not a regular file";
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec)
        return ec.message();
    if (size > maxSize)
        return tooLarge;
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::generic_category().message(errno != 0 ? errno : EACCES);
    out.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size)
        return std::generic_category().message(errno != 0 ? errno : EIO);
    return {};
}

std::string readFileBelow(const fs::path& root, const std::string& relative, Bytes& out, std::uintmax_t maxSize,
                          const std::string& tooLarge)
{
    if (const std::optional<PathObstacle> o = obstacleBelow(root, relative); o && o->link)
        return (o->name == relative ? "The file" : o->name) + " is a link; no link inside the folder is followed";
    return readWholeFile(root / pathFromUtf8(relative), out, maxSize, tooLarge);
}

}  // namespace velmar
