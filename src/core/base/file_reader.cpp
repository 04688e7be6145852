#include "base/file_reader.h"

#include <cerrno>
#include <system_error>

#include "base/paths.h"

#ifdef _WIN32
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmar {

namespace fs = std::filesystem;

#ifdef _WIN32

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

#else

namespace {

std::string reason(int error) { return std::generic_category().message(error); }

// Reads the file open as `fd` whole, its kind and size asked of the handle itself, and closes it.
// Opened without blocking: a pipe at the name would otherwise hold the read until someone writes.
std::string readOpenFile(int fd, Bytes& out, std::uintmax_t maxSize, const std::string& tooLarge)
{
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st { };
    if (::fstat(fd, &st) != 0)
        return reason(errno);
    if (S_ISDIR(st.st_mode))
        return reason(EISDIR);
    if (!S_ISREG(st.st_mode))
        return "Not a regular file";
    if (static_cast<std::uintmax_t>(st.st_size) > maxSize)
        return tooLarge;
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A file cut while it is read: what was promised did not come.
            const int error = n < 0 ? errno : EIO;
            out.clear();
            return reason(error);
        }
        done += static_cast<std::size_t>(n);
    }
    return {};
}

}  // namespace

std::string readWholeFile(const fs::path& path, Bytes& out, std::uintmax_t maxSize, const std::string& tooLarge)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return fd < 0 ? reason(errno) : readOpenFile(fd, out, maxSize, tooLarge);
}

std::string readFileBelow(const fs::path& root, const std::string& relative, Bytes& out, std::uintmax_t maxSize,
                          const std::string& tooLarge)
{
    const HeldFolder folder(root, relative, false);
    if (folder.fd() < 0)
        return folder.error() == ELOOP ? folder.failedName() + " is a link; no link inside the folder is followed"
                                       : reason(folder.error());
    const int fd = ::openat(folder.fd(), folder.fileName().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ELOOP ? "The file is a link; no link inside the folder is followed" : reason(errno);
    return readOpenFile(fd, out, maxSize, tooLarge);
}

#endif

}  // namespace velmar
