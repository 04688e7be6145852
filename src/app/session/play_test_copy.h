#pragma once

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
    QString folder() const;

    // Removes the play-test folders of editors that are no longer running (their lock is free),
    // and only folders of this user that are folders, not links.
    static void removeStale(const QString& tempFolder);

private:
    QString tempFolder_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace velmar
