#include "session/play_test_copy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include "qt_bridge.h"
#include "rom/rom_file.h"
#include "session/private_folder.h"

#ifndef _WIN32
#include <cerrno>
#include <ctime>
#include <string>
#include <system_error>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmar {

namespace {

const QString kPrefix = "velmar-playtest-";
const QString kLockName = "editor.lock";

// The copy keeps the file's name, which emulators show and name their save files after, less the
// characters a command interpreter reads: an emulator started through a batch file gets the name
// through cmd.exe, which expands %NAME% and !NAME! and splits commands at & | < > ^.
QString playTestName(const QString& fileName)
{
    QString name = QFileInfo(fileName).fileName();
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || QStringLiteral("%!&|<>^\"").contains(c))
            c = u'_';
    }
    return name.isEmpty() ? QString("playtest.nes") : name;
}

std::function<void(const QString&)>& beforeRemoval()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

Outcome<WriteResult> failure(std::string reason)
{
    return Outcome<WriteResult>::failure(WriteResult::IoError, std::move(reason));
}

#ifndef _WIN32

// A handle of the system's, closed when it goes.
class Handle {
public:
    explicit Handle(int fd) : fd_(fd) { }
    ~Handle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_;
};

std::string systemReason() { return std::generic_category().message(errno); }

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

int openTempFolder(const QString& tempFolder)
{
    return ::open(QFile::encodeName(tempFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// The folder `name` of `parent`, opened without following a link, when it is a folder of this
// user's and (when given) the one `seen` describes; else -1.
int openOwnFolder(int parent, const char* name, const struct stat* seen)
{
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st { };
    if (fd >= 0
        && (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()
            || (seen && !sameFile(st, *seen)))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The names in the folder open as `folder`.
std::vector<std::string> entriesOf(int folder)
{
    std::vector<std::string> names;
    const int listing = ::dup(folder);  // the listing takes its handle over
    DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return names;
    }
    ::rewinddir(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

// Whether a running editor holds the lock in `folder`: it keeps a lock on its lock file, which
// the system lets go when the editor ends, however it ends.
bool lockHeld(int folder, const struct stat& seen)
{
    const int fd =
        ::openat(folder, QFile::encodeName(kLockName).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // No lock yet: an editor may be making this folder at this very moment. One older than
        // a minute was left by an editor that ended before it could lock it.
        return errno != ENOENT || std::time(nullptr) - seen.st_mtime < 60;
    }
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

// Removes the folder `name` of `parent` that `folder` is open on. This program puts files only
// there: one holding a folder was not left by it and stays as it is, and nothing is gone into
// (no recursion that a planted tree could drive deep). The files go through the handle, a link
// among them as a link; the emptied folder goes by its name only while that name still leads to
// it, and removing an empty folder takes nothing from anyone.
void removeFolder(int parent, const std::string& name, int folder)
{
    const std::vector<std::string> names = entriesOf(folder);
    for (const std::string& entry : names) {
        struct stat st { };
        if (::fstatat(folder, entry.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode))
            return;
    }
    for (const std::string& entry : names)
        ::unlinkat(folder, entry.c_str(), 0);
    struct stat opened { };
    struct stat named { };
    if (::fstat(folder, &opened) == 0 && ::fstatat(parent, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0
        && sameFile(opened, named))
        ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
}

#endif

}  // namespace

PlayTestCopy::PlayTestCopy(QString tempFolder) : tempFolder_(std::move(tempFolder)) { }

PlayTestCopy::~PlayTestCopy() { remove(); }

Outcome<WriteResult> PlayTestCopy::write(const Bytes& image, const QString& fileName, QString& path)
{
    if (folder_.isEmpty()) {
        if (Outcome<WriteResult> made = makeFolder(); !made.ok())
            return made;
    }
    const QString name = playTestName(fileName);
    path = folder_ + "/" + name;
    Outcome<WriteResult> written = writeFileSafely(pathFromUtf8(ss(path)), image, false, FileOwner::Program);
#ifdef _WIN32
    // An emulator still running may hold the last copy open, and Windows replaces no open file:
    // this run's copy goes beside it into a folder of its own ("2", "3" ...), under the same name.
    for (int run = 2; !written.ok() && run <= 9 && QFileInfo::exists(path); ++run) {
        const QString folder = folder_ + "/" + QString::number(run);
        if (!QDir().mkpath(folder))
            break;
        path = folder + "/" + name;
        written = writeFileSafely(pathFromUtf8(ss(path)), image, false, FileOwner::Program);
    }
#endif
    return written;
}

void PlayTestCopy::setBeforeRemovalForTesting(std::function<void(const QString&)> hook)
{
    beforeRemoval() = std::move(hook);
}

#ifndef _WIN32

Outcome<WriteResult> PlayTestCopy::makeFolder()
{
    // Made exclusively, with a random name, for the user alone (mode 0700).
    QByteArray made = QFile::encodeName(tempFolder_ + "/" + kPrefix + "XXXXXX");
    if (!::mkdtemp(made.data()))
        return failure(systemReason());
    const std::string name = QFileInfo(QFile::decodeName(made)).fileName().toStdString();
    const Handle parent(openTempFolder(tempFolder_));
    folderFd_ = parent ? openOwnFolder(parent.get(), name.c_str(), nullptr) : -1;
    if (folderFd_ >= 0) {
        lockFd_ = ::openat(folderFd_, QFile::encodeName(kLockName).constData(),
                           O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (lockFd_ >= 0 && ::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            folder_ = QFile::decodeName(made);
            return {};
        }
        removeFolder(parent.get(), name, folderFd_);
    }
    remove();
    return failure("The play-test folder cannot be made ready: " + QFile::decodeName(made).toStdString());
}

void PlayTestCopy::remove()
{
    if (folderFd_ >= 0 && !folder_.isEmpty()) {
        if (const Handle parent(openTempFolder(tempFolder_)); parent)
            removeFolder(parent.get(), QFileInfo(folder_).fileName().toStdString(), folderFd_);
    }
    for (int* fd : {&lockFd_, &folderFd_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    folder_.clear();
}

void PlayTestCopy::removeStale(const QString& tempFolder)
{
    const Handle temp(openTempFolder(tempFolder));
    if (!temp)
        return;
    const std::string prefix = kPrefix.toStdString();
    for (const std::string& name : entriesOf(temp.get())) {
        // Only real folders of this user: a link planted under such a name, or someone else's
        // folder, is none of this program's business.
        struct stat seen { };
        if (!name.starts_with(prefix) || ::fstatat(temp.get(), name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISDIR(seen.st_mode) || seen.st_uid != ::getuid())
            continue;
        if (beforeRemoval())
            beforeRemoval()(tempFolder + "/" + QFile::decodeName(name.c_str()));
        // From here on the folder is reached through a handle: its name may lead elsewhere by
        // now, the handle cannot.
        const Handle folder(openOwnFolder(temp.get(), name.c_str(), &seen));
        if (folder && !lockHeld(folder.get(), seen))
            removeFolder(temp.get(), name, folder.get());
    }
}

#else

Outcome<WriteResult> PlayTestCopy::makeFolder()
{
    // QTemporaryDir makes the folder with a random name, exclusively.
    auto dir = std::make_unique<QTemporaryDir>(tempFolder_ + "/" + kPrefix + "XXXXXX");
    if (!dir->isValid())
        return failure(ss(dir->errorString()));
    // Windows gives a new folder the access list of the one it is in: the play-test folder gets
    // one of its own, before anything goes into it.
    if (!restrictToCurrentUser(dir->path()))
        return failure("The play-test folder cannot be made private to you");
    auto lock = std::make_unique<QLockFile>(dir->filePath(kLockName));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return failure("The play-test folder cannot be locked");
    dir_ = std::move(dir);
    lock_ = std::move(lock);
    folder_ = dir_->path();
    return {};
}

void PlayTestCopy::remove()
{
    lock_.reset();
    dir_.reset();  // removes the folder and everything in it but a copy an emulator holds open
    folder_.clear();
}

void PlayTestCopy::removeStale(const QString& tempFolder)
{
    const QDir temp(tempFolder);
    for (const QFileInfo& entry :
         temp.entryInfoList({kPrefix + "*"}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        // Only real folders of this user: a link or a junction planted under such a name, or
        // someone else's folder, is none of this program's business.
        if (entry.isSymLink() || !entry.isDir())
            continue;
        if (entry.isJunction() || !ownedByCurrentUser(entry.filePath()))
            continue;
        QLockFile lock(entry.filePath() + "/" + kLockName);
        lock.setStaleLockTime(0);
        // Free: its editor is gone (a lock whose process has ended is taken over).
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        if (beforeRemoval())
            beforeRemoval()(entry.filePath());
        // A file an emulator still holds open stays on Windows, with its folder, until a later
        // start finds it let go.
        QDir(entry.filePath()).removeRecursively();
    }
}

#endif

}  // namespace velmar
