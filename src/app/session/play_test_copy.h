#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "base/file_writer.h"

class QLockFile;
class QTemporaryDir;

namespace velmar {

// The copy of the edited image an emulator plays, so that play-testing never writes the user's
// file. It lives in a folder of its own in the temporary folder, made with a name no one can
// guess and readable by the user alone, so that another user of the machine cannot plant a link
// where it goes or read it. The folder goes when this object does; a folder left by an editor
// that was killed is removed by the next one (removeStale).
//
// Someone with rights over the temporary folder (one without the sticky bit) can still rename
// such a folder and put a link in its place. So on POSIX systems the folder is removed through a
// handle opened on it without following links, never by its name: nothing is ever removed through
// a link. (Windows removes it by name, as Qt does.)
class PlayTestCopy {
public:
    explicit PlayTestCopy(QString tempFolder);
    ~PlayTestCopy();
    PlayTestCopy(const PlayTestCopy&) = delete;
    PlayTestCopy& operator=(const PlayTestCopy&) = delete;

    // Writes the image as `fileName` (a plain name, "game.nes") in the folder, made at the first
    // write; `path` is the copy's whole name.
    [[nodiscard]] Outcome<WriteResult> write(const Bytes& image, const QString& fileName, QString& path);
    // Removes the folder and the copy in it.
    void remove();
    // The folder, or empty before the first write.
    QString folder() const { return folder_; }

    // Removes the play-test folders of editors that are no longer running (their lock is free):
    // only folders of this user, not links, holding only files.
    static void removeStale(const QString& tempFolder);
    // Tests only: called with each stale folder after it passed the checks and before it is
    // removed, the moment someone could swap it for a link. Pass an empty function to remove it.
    static void setBeforeRemovalForTesting(std::function<void(const QString& folder)> hook);

private:
    [[nodiscard]] Outcome<WriteResult> makeFolder();

    QString tempFolder_;
    QString folder_;
#ifdef _WIN32
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QLockFile> lock_;
#else
    // The folder as made, and its lock file, held locked while this editor runs.
    int folderFd_ = -1;
    int lockFd_ = -1;
#endif
};

}  // namespace velmar
