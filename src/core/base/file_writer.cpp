#include "base/file_writer.h"

#include <cerrno>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "base/paths.h"

namespace velmar {

namespace fs = std::filesystem;

namespace {

std::function<int(WriteStep)>& writeFault()
{
    static std::function<int(WriteStep)> fault;
    return fault;
}

// The error number a step fails with under test, or 0.
int injected(WriteStep step) { return writeFault() ? writeFault()(step) : 0; }

std::string systemReason(int error) { return std::generic_category().message(error); }

// A file opened for writing at the level of the system, so that it can be synced to the disk.
class RawFile {
public:
    RawFile() = default;
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;
    ~RawFile() { close(); }

    // Creates a new file (never an existing one) or opens an existing one for writing. A new
    // file that stands in for one already there is private until it takes that file's
    // permissions; one that makes a new file gets what the user's umask gives new files. The
    // error number, or 0.
    int open(const fs::path& path, bool create, bool asNewFile = false)
    {
#ifdef _WIN32
        const int flags = _O_WRONLY | _O_BINARY | (create ? _O_CREAT | _O_EXCL : 0);
        (void)asNewFile;
        fd_ = ::_wopen(path.c_str(), flags, _S_IREAD | _S_IWRITE);
#else
        const int flags = O_WRONLY | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT | O_EXCL : 0);
        fd_ = ::open(path.c_str(), flags, asNewFile ? 0666 : 0600);
#endif
        return fd_ < 0 ? errno : 0;
    }

#ifndef _WIN32
    // Creates new file `name` in the held folder `folder`, never following a link.
    int createAt(int folder, const std::string& name, bool asNewFile)
    {
        fd_ = ::openat(folder, name.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_CREAT | O_EXCL,
                       asNewFile ? 0666 : 0600);
        return fd_ < 0 ? errno : 0;
    }

    int setMode(mode_t mode) { return ::fchmod(fd_, mode) == 0 ? 0 : errno; }
#endif

    int write(const Bytes& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 1u << 30);
#ifdef _WIN32
            const int n = ::_write(fd_, bytes.data() + done, static_cast<unsigned>(chunk));
#else
            const ssize_t n = ::write(fd_, bytes.data() + done, chunk);
#endif
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n < 0 ? errno : EIO;
            done += static_cast<std::size_t>(n);
        }
        return 0;
    }

    // Cuts the file to `size` bytes (after writing into an existing file).
    int truncate(std::size_t size)
    {
#ifdef _WIN32
        return ::_chsize_s(fd_, static_cast<long long>(size));
#else
        return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 ? 0 : errno;
#endif
    }

    int sync()
    {
#ifdef _WIN32
        return ::_commit(fd_) == 0 ? 0 : errno;
#else
        return ::fsync(fd_) == 0 ? 0 : errno;
#endif
    }

    int close()
    {
        if (fd_ < 0)
            return 0;
#ifdef _WIN32
        const int r = ::_close(fd_);
#else
        const int r = ::close(fd_);
#endif
        fd_ = -1;
        return r == 0 ? 0 : errno;
    }

private:
    int fd_ = -1;
};

// Makes a rename in `folder` survive a power cut, where the system allows syncing a folder.
void syncFolder(const fs::path& folder)
{
#ifndef _WIN32
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // Best effort: some file systems refuse to sync a folder, and the file itself is on the
        // disk already; at worst a power cut now brings back the old file whole.
        (void)::fsync(fd);
        ::close(fd);
    }
#else
    (void)folder;
#endif
}

// Read-only for everyone: no write permission bit set (how a read-only file looks on every
// system), or the system says this user may not write it. An administrator may write anything,
// so the bits are asked as well.
bool isReadOnly(const fs::path& path, fs::perms perms)
{
#ifdef _WIN32
    // On Windows a folder's read-only attribute keeps nobody from writing into it (Explorer sets it
    // on folders it shows in its own way, Documents among them); only a file's counts.
    if (fs::is_directory(path))
        return false;
#endif
    constexpr fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((perms & anyWrite) == fs::perms::none)
        return true;
#ifndef _WIN32
    return ::access(path.c_str(), W_OK) != 0;
#else
    (void)path;
    return false;
#endif
}

Outcome<WriteResult> fail(std::string reason)
{
    return Outcome<WriteResult>::failure(WriteResult::IoError, std::move(reason));
}

#ifdef _WIN32

// The file a link leads to, or an empty path when it leads nowhere.
fs::path linkTarget(const fs::path& link)
{
    const HANDLE file = CreateFileW(link.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::wstring name(MAX_PATH, L'\0');
    DWORD size = GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()), VOLUME_NAME_DOS);
    if (size >= name.size()) {
        name.resize(size);
        size = GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()), VOLUME_NAME_DOS);
    }
    CloseHandle(file);
    if (size == 0 || size >= name.size())
        return {};
    name.resize(size);
    // The system's answer is "\\?\C:\..." or "\\?\UNC\server\...": the C runtime's functions
    // take the plain forms.
    if (name.starts_with(L"\\\\?\\UNC\\"))
        name.replace(0, 8, L"\\\\");
    else if (name.starts_with(L"\\\\?\\"))
        name.erase(0, 4);
    return fs::path(name);
}

// std::filesystem on MinGW-w64 counts one link for every file: the system is asked itself.
std::uintmax_t linkCount(const fs::path& path)
{
    const HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return known ? info.nNumberOfLinks : 1;
}

// Windows lets no file be replaced while another program holds it open without sharing its
// deletion (most programs open files that way): asking for the right to delete it tells.
bool heldOpenElsewhere(const fs::path& path)
{
    const HANDLE file = CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// The temporary file takes the target's name in one step, on the disk before this returns.
// (std::filesystem::rename would do the first but not wait for the second.)
std::error_code replaceFile(const fs::path& from, const fs::path& to)
{
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return {static_cast<int>(GetLastError()), std::system_category()};
}

#else

fs::path linkTarget(const fs::path& link)
{
    std::error_code ec;
    fs::path target = fs::weakly_canonical(link, ec);
    return ec || !fs::exists(target, ec) ? fs::path() : target;
}

std::uintmax_t linkCount(const fs::path& path)
{
    std::error_code ec;
    const std::uintmax_t count = fs::hard_link_count(path, ec);
    return ec ? 1 : count;
}

bool heldOpenElsewhere(const fs::path&)
{
    return false;  // POSIX systems replace a file whoever has it open
}

std::error_code replaceFile(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::rename(from, to, ec);
    return ec;
}

#endif

// Runs one step: the injected failure first, then the step itself. The error number, or 0.
template <typename Step> int run(WriteStep step, Step&& action)
{
    if (const int error = injected(step))
        return error;
    return action();
}

}  // namespace

void setWriteFaultForTesting(std::function<int(WriteStep)> fault) { writeFault() = std::move(fault); }

namespace {

// What a write is about to replace, found out before anything is written.
struct Target {
    fs::path file;  // the file the bytes are for (a user's link followed)
    fs::path folder;
    bool exists = false;
    fs::perms perms = fs::perms::none;
    bool hardLinked = false;
};

Outcome<WriteResult> examine(const fs::path& path, bool mustExist, FileOwner owner, Target& t)
{
    std::error_code ec;
    if (path.empty())
        return fail("No file name");

    // The file the bytes are for: a symbolic link the user made is followed to the file it names.
    t.file = path;
    const bool link = isSymbolicLink(path);
    if (owner == FileOwner::Program) {
        // Checked again by the rename's own rules: the temporary file is made exclusively and
        // the rename replaces a name, never what a link there points to.
        if (link)
            return fail("A link stands where this file goes; it was not followed, and nothing was written");
        const fs::file_status status = fs::symlink_status(path, ec);
        if (fs::exists(status) && !fs::is_regular_file(status))
            return fail("Something that is not a plain file stands where this file goes; nothing was written");
    }
    if (link) {
        t.file = linkTarget(path);
        if (t.file.empty())
            return fail("The link points to a file that is not there: " + fs::read_symlink(path, ec).string());
    }
    const fs::file_status status = fs::status(t.file, ec);
    t.exists = fs::exists(status);
    t.perms = status.permissions();
    if (!t.exists && mustExist)
        return fail(systemReason(ENOENT));
    if (t.exists && !fs::is_regular_file(status))
        return fail("Not a regular file");
    if (t.exists && isReadOnly(t.file, status.permissions()))
        return fail("The file is read-only");

    t.folder = t.file.has_parent_path() ? t.file.parent_path() : fs::path(".");
    const fs::file_status folderStatus = fs::status(t.folder, ec);
    if (!fs::is_directory(folderStatus))
        return fail(systemReason(ENOENT));
    if (isReadOnly(t.folder, folderStatus.permissions()))
        return fail("The folder cannot be written: " + t.folder.string());
    t.hardLinked = owner == FileOwner::User && t.exists && linkCount(t.file) > 1;
    return {};
}

}  // namespace

Outcome<WriteResult> checkWritable(const fs::path& path, bool mustExist, FileOwner owner)
{
    Target target;
    return examine(path, mustExist, owner, target);
}

#ifdef _WIN32

Outcome<WriteResult> writeProgramFileBelow(const fs::path& root, const std::string& relative, const Bytes& bytes)
{
    // Folder by folder, each checked as it is reached or made: a link planted at "scenes" would
    // otherwise take every scene file into the folder it leads to.
    fs::path at = root;
    for (std::size_t from = 0, slash; (slash = relative.find('/', from)) != std::string::npos; from = slash + 1) {
        at /= pathFromUtf8(relative.substr(from, slash - from));
        const std::string name = relative.substr(0, slash);
        std::error_code ec;
        if (!isSymbolicLink(at) && !fs::exists(fs::symlink_status(at, ec)))
            fs::create_directory(at, ec);
        if (ec)
            return fail(name + ": " + ec.message());
        if (isSymbolicLink(at))
            return fail(name + " is a link; it was not followed, and nothing was written");
        if (!fs::is_directory(fs::symlink_status(at, ec)))
            return fail(name + " is not a folder; nothing was written");
    }
    return writeFileSafely(root / pathFromUtf8(relative), bytes, false, FileOwner::Program);
}

#else

Outcome<WriteResult> writeProgramFileBelow(const fs::path& root, const std::string& relative, const Bytes& bytes)
{
    // Every name is looked up from the folder held open that holds it, from the chosen folder down:
    // a link planted at "scenes", even after every check, cannot take a file anywhere else.
    const HeldFolder folder(root, relative, true);
    if (folder.fd() < 0) {
        const std::string& name = folder.failedName();
        if (folder.error() == ELOOP)
            return fail(name + " is a link; it was not followed, and nothing was written");
        if (folder.error() == ENOTDIR)
            return fail(name + " is not a folder; nothing was written");
        return fail((name.empty() ? "" : name + ": ") + systemReason(folder.error()));
    }
    const int dir = folder.fd();
    const std::string& leaf = folder.fileName();

    struct stat st { };
    const bool exists = ::fstatat(dir, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && S_ISLNK(st.st_mode))
        return fail("A link stands where this file goes; it was not followed, and nothing was written");
    if (exists && !S_ISREG(st.st_mode))
        return fail("Something that is not a plain file stands where this file goes; nothing was written");
    if (exists && ((st.st_mode & 0222) == 0 || ::faccessat(dir, leaf.c_str(), W_OK, 0) != 0))
        return fail("The file is read-only");
    if (::faccessat(dir, ".", W_OK, 0) != 0)
        return fail("The folder cannot be written: " + pathToUtf8((root / pathFromUtf8(relative)).parent_path()));

    std::random_device entropy;
    std::string temp;
    RawFile out;
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
        temp = "." + leaf + ".velmar-" + std::to_string(entropy() % 1000000u) + ".tmp";
        error = run(WriteStep::CreateTemp, [&] { return out.createAt(dir, temp, !exists); });
    }
    if (error != 0)
        return fail(systemReason(error));
    const auto dropTemp = [&](int failure) {
        out.close();
        ::unlinkat(dir, temp.c_str(), 0);
        return fail(systemReason(failure));
    };
    if ((error = run(WriteStep::WriteTemp, [&] { return out.write(bytes); })) != 0)
        return dropTemp(error);
    if (exists && (error = out.setMode(st.st_mode & 07777)) != 0)
        return dropTemp(error);
    if ((error = run(WriteStep::SyncTemp, [&] { return out.sync(); })) != 0)
        return dropTemp(error);
    if ((error = out.close()) != 0)
        return dropTemp(error);
    // The rename replaces the name in the held folder, never what a link there would point to.
    error = run(WriteStep::Replace, [&] { return ::renameat(dir, temp.c_str(), dir, leaf.c_str()) == 0 ? 0 : errno; });
    if (error != 0) {
        ::unlinkat(dir, temp.c_str(), 0);
        return fail(systemReason(error));
    }
    (void)::fsync(dir);  // best effort, as for any folder
    return {};
}

#endif

Outcome<WriteResult> writeFileSafely(const fs::path& path, const Bytes& bytes, bool mustExist, FileOwner owner)
{
    std::error_code ec;
    Target t;
    if (Outcome<WriteResult> r = examine(path, mustExist, owner, t); !r.ok())
        return r;
    const fs::path& target = t.file;
    const fs::path& folder = t.folder;
    const bool exists = t.exists;
    const bool hardLinked = t.hardLinked;

    // The temporary copy, beside the real file so that the rename stays on one file system.
    std::random_device entropy;
    fs::path temp;
    RawFile out;
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
        temp = folder / ("." + target.filename().string() + ".velmar-" + std::to_string(entropy() % 1000000u) + ".tmp");
        error = run(WriteStep::CreateTemp, [&] { return out.open(temp, true, !exists); });
    }
    if (error != 0)
        return fail(systemReason(error));
    const auto dropTemp = [&](int failure) {
        out.close();
        std::error_code ignored;
        fs::remove(temp, ignored);
        return fail(systemReason(failure));
    };
    if ((error = run(WriteStep::WriteTemp, [&] { return out.write(bytes); })) != 0)
        return dropTemp(error);
    if (exists)
        fs::permissions(temp, t.perms & fs::perms::mask, ec);
    if ((error = run(WriteStep::SyncTemp, [&] { return out.sync(); })) != 0)
        return dropTemp(error);
    if ((error = out.close()) != 0)
        return dropTemp(error);

    if (hardLinked) {
        // A rename would split the file from its other names: the bytes go into the file itself,
        // with a complete copy already safe on the disk.
        RawFile in;
        error = run(WriteStep::WriteInPlace, [&] {
            int e = in.open(target, false);
            if (e == 0)
                e = in.write(bytes);
            if (e == 0)
                e = in.truncate(bytes.size());
            if (e == 0)
                e = in.sync();
            const int closed = in.close();
            return e != 0 ? e : closed;
        });
        if (error != 0)
            return fail(systemReason(error) + "; the new contents are kept in " + temp.string());
        fs::remove(temp, ec);
        return {};
    }

    std::error_code replaced;
    if (const int injectedError = injected(WriteStep::Replace))
        replaced = std::error_code(injectedError, std::generic_category());
    else
        replaced = replaceFile(temp, target);
    if (replaced) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        if (heldOpenElsewhere(target))
            return fail("The file is open in another program, which keeps it from being replaced; nothing was written");
        return fail(replaced.message());
    }
    syncFolder(folder);
    return {};
}

}  // namespace velmar
