#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QObject>
#include <QString>

#include "editor/document.h"
#include "base/file_writer.h"

class QLockFile;
class QTimer;

namespace velmar {

class Dialogs;
class EditorDocument;
class RecoveryWriter;
class StatusMessages;

// The recovery copy: unsaved edits are kept in the user's data folder a few seconds after the
// last change, so that a crash or a killed editor loses nothing; the next start offers them
// back. Only a proper close, a save, or undoing back to the saved file removes it.
class RecoverySession : public QObject {
    Q_OBJECT
public:
    // Shows a file whose edits came back, with the scene they were made in.
    using ShowRestored = std::function<void(const std::optional<SceneKey>& scene)>;

    // `folder` keeps the copy; empty: none is kept. Questions and failures to read a copy go
    // through `dialogs`; a copy that cannot be kept is a warning of the status bar, as it may
    // come up in the middle of a drag, every few seconds.
    RecoverySession(const QString& folder, EditorDocument& document, Dialogs& dialogs, StatusMessages& status,
                    QObject* parent = nullptr);
    // Leaves the copy where it is: only end() removes it.
    ~RecoverySession() override;

    // Takes a place in the folder and offers back the edits a copy left there holds.
    void start(const ShowRestored& showRestored);

    // Fires a few seconds after the last change while there are unsaved edits.
    QTimer* timer() const { return timer_; }
    // The copy in the folder; empty when none is kept (no folder, or other running editors
    // keep their copies in all its places).
    QString file() const;
    // Returns when the copy on disk is as the last write or removal asked leaves it.
    void wait();
    // Writes the copy of the unsaved edits.
    void tmrRecovery_Timer();
    // The session ends without a window to ask in: unsaved edits go to the copy now and stay
    // there for the next start. Nothing is written after.
    void keepForNextStart();
    // A proper close: the copy goes and the writer stops.
    void end();

private:
    void offer(const ShowRestored& showRestored);
    void document_Changed();
    void written(const Outcome<WriteResult>& result);

    QString folder_;
    EditorDocument& document_;
    Dialogs& dialogs_;
    StatusMessages& status_;
    QTimer* timer_ = nullptr;
    // The lock says this editor keeps the copy in the folder; it outlives the writer.
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<RecoveryWriter> writer_;
    // A copy was written (or restored) and not removed since.
    bool stored_ = false;
    bool failed_ = false;
    bool ended_ = false;
};

}  // namespace velmar
