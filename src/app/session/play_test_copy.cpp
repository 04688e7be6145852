#include "session/play_test_copy.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include "qt_bridge.h"
#include "rom/rom_file.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace velmar {

namespace {

const QString kPrefix = "velmar-playtest-";
const QString kLockName = "editor.lock";

}  // namespace

PlayTestCopy::PlayTestCopy(QString tempFolder) : tempFolder_(std::move(tempFolder)) { }

PlayTestCopy::~PlayTestCopy() { remove(); }

QString PlayTestCopy::folder() const { return dir_ ? dir_->path() : QString(); }

Outcome<WriteResult> PlayTestCopy::write(const Bytes& image, const QString& fileName, QString& path)
{
    if (!dir_) {
        // QTemporaryDir makes the folder with a random name, exclusively and for the user alone
        // (mode 0700).
        auto dir = std::make_unique<QTemporaryDir>(tempFolder_ + "/" + kPrefix + "XXXXXX");
        if (!dir->isValid())
            return Outcome<WriteResult>::failure(WriteResult::IoError, ss(dir->errorString()));
        auto lock = std::make_unique<QLockFile>(dir->filePath(kLockName));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            return Outcome<WriteResult>::failure(WriteResult::IoError, "The play-test folder cannot be locked");
        dir_ = std::move(dir);
        lock_ = std::move(lock);
    }
    const QString name = QFileInfo(fileName).fileName();
    path = dir_->filePath(name.isEmpty() ? QString("playtest.nes") : name);
    return writeFileSafely(pathFromUtf8(ss(path)), image, false, FileOwner::Program);
}

void PlayTestCopy::remove()
{
    lock_.reset();
    dir_.reset();  // removes the folder and everything in it
}

void PlayTestCopy::removeStale(const QString& tempFolder)
{
    const QDir temp(tempFolder);
    for (const QFileInfo& entry :
         temp.entryInfoList({kPrefix + "*"}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        // Only real folders of this user: a link planted under such a name, or someone else's
        // folder, is none of this program's business.
        if (entry.isSymLink() || !entry.isDir())
            continue;
#ifndef _WIN32
        if (entry.ownerId() != ::getuid())
            continue;
#endif
        QLockFile lock(entry.filePath() + "/" + kLockName);
        lock.setStaleLockTime(0);
        // Free: its editor is gone (a lock whose process has ended is taken over).
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        QDir(entry.filePath()).removeRecursively();
    }
}

}  // namespace velmar
