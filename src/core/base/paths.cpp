#include "base/paths.h"

#include <algorithm>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmar {

namespace fs = std::filesystem;

fs::path pathFromUtf8(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string pathToUtf8(const fs::path& path)
{
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

#ifdef _WIN32

// std::filesystem on MinGW-w64 sees no symbolic links (a link reads as the file it points to): the
// system is asked itself.
bool isSymbolicLink(const fs::path& path)
{
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    // Other reparse points are no links: a OneDrive file not downloaded yet is one.
    return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0
        && (data.dwReserved0 == IO_REPARSE_TAG_SYMLINK || data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

#else

bool isSymbolicLink(const fs::path& path)
{
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(path, ec));
}

#endif

std::optional<PathObstacle> obstacleBelow(const fs::path& root, const std::string& relative)
{
    fs::path at = root;
    std::string name;
    for (std::size_t from = 0; from <= relative.size();) {
        const std::size_t slash = std::min(relative.find('/', from), relative.size());
        const bool last = slash == relative.size();
        const std::string part = relative.substr(from, slash - from);
        name += (name.empty() ? "" : "/") + part;
        at /= pathFromUtf8(part);
        if (isSymbolicLink(at))
            return PathObstacle{name, true, "a link"};
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(at, ec);
        if (!fs::exists(status))
            return std::nullopt;
        if (!last && !fs::is_directory(status))
            return PathObstacle{name, false, "not a folder"};
        if (last && !fs::is_regular_file(status))
            return PathObstacle{name, false, "not a plain file"};
        from = slash + 1;
    }
    return std::nullopt;
}

#ifndef _WIN32

HeldFolder::HeldFolder(const fs::path& root, const std::string& relative, bool make)
{
    // The root is the user's choice and may be a link; nothing below it is followed.
    fd_ = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    error_ = fd_ < 0 ? errno : 0;
    std::size_t from = 0;
    for (std::size_t slash; error_ == 0 && (slash = relative.find('/', from)) != std::string::npos; from = slash + 1) {
        const std::string part = relative.substr(from, slash - from);
        failedName_ = relative.substr(0, slash);
        if (make && ::mkdirat(fd_, part.c_str(), 0777) != 0 && errno != EEXIST) {
            error_ = errno;
            break;
        }
        const int next = ::openat(fd_, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            error_ = errno;
            struct stat st { };
            if (::fstatat(fd_, part.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
                error_ = ELOOP;
            break;
        }
        ::close(fd_);
        fd_ = next;
    }
    if (error_ != 0) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        return;
    }
    failedName_.clear();
    fileName_ = relative.substr(from);
}

HeldFolder::~HeldFolder()
{
    if (fd_ >= 0)
        ::close(fd_);
}

#endif

std::string fileMessage(const std::string& text, const std::string& path, const std::string& reason)
{
    if (path.empty() && reason.empty())
        return text;
    return text + "\n" + path + (path.empty() || reason.empty() ? "" : ": ") + reason;
}

}  // namespace velmar
