// The main window and the open file beyond Open and Save: Save As, a file changed on disk by
// another program, and files dropped on the window.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include "base/file_reader.h"
#include "frm_main.h"
#include "qt_bridge.h"

namespace velmar {

namespace {

// No image of the game comes near this; a larger file is not read to compare it.
constexpr std::uintmax_t kMaxComparedBytes = 64u << 20;

// The one local .nes file a drag carries, or empty.
QString droppedRom(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().front().isLocalFile())
        return {};
    const QString path = mime->urls().front().toLocalFile();
    return path.endsWith(".nes", Qt::CaseInsensitive) ? path : QString();
}

}  // namespace

void frmMain::menuFileSaveAs_Click()
{
    if (!doc().hasImage())
        return;
    commitPendingInput();
    const QString target = dialogs_.saveFile(dialogFolder_, "iNES rom image (*.nes)");
    if (target.isEmpty())
        return;
    const Outcome<SaveResult> r = document_->doc().saveAs(ss(target), workspace_.settings.keepBackup);
    reportSaveFailure(r, target);
    if (!r.ok())
        return;
    // The new file is the open one: the caption, the recent files, the open dialog's folder
    // and the watch follow it (the recovery copy holds nothing now: everything is saved).
    dialogFolder_ = QFileInfo(target).absolutePath();
    workspace_.settings.romFolder = ss(QDir::toNativeSeparators(dialogFolder_));
    addRecentFile(workspace_.settings, doc().path());
    refreshRecentFileCaptions();
    setCaption();
    diskChangeKept_ = false;
    watchOpenFile();
    reportSuccess("File saved!");
}

void frmMain::watchOpenFile()
{
    if (!fileWatcher_) {
        fileWatcher_ = new QFileSystemWatcher(this);
        connect(fileWatcher_, &QFileSystemWatcher::fileChanged, this, &frmMain::fileWatcher_Changed);
    }
    if (const QStringList watched = fileWatcher_->files(); !watched.isEmpty())
        fileWatcher_->removePaths(watched);
    diskCheckDue_ = false;
    if (doc().hasImage() && QFileInfo::exists(qs(doc().path())))
        fileWatcher_->addPath(qs(doc().path()));
}

void frmMain::fileWatcher_Changed()
{
    // A writer that replaces the file ends the watch on the old one: the new one is watched.
    if (doc().hasImage() && fileWatcher_->files().isEmpty() && QFileInfo::exists(qs(doc().path())))
        fileWatcher_->addPath(qs(doc().path()));
    diskCheckDue_ = true;
    // Asked at once while the user works in the window, else when they come back to it.
    if (isActiveWindow())
        QTimer::singleShot(0, this, &frmMain::checkFileOnDisk);
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && diskCheckDue_)
        QTimer::singleShot(0, this, &frmMain::checkFileOnDisk);
}

void frmMain::checkFileOnDisk()
{
    diskCheckDue_ = false;
    if (!doc().hasImage() || exiting_ || diskChangeKept_)
        return;
    // The watcher also fires for this program's own saves, and for a touch that changes no
    // byte: only what is in the file counts.
    Bytes onDisk;
    if (!readWholeFile(pathFromUtf8(doc().path()), onDisk, kMaxComparedBytes, "too large").empty()
        || doc().isFileAsSaved(onDisk))
        return;
    const QString name = QDir::toNativeSeparators(qs(doc().path()));
    if (dialogs_.askYesNo(name + " was changed by another program. Reload it? Unsaved edits are lost.")
        == Dialogs::Answer::Yes) {
        const std::optional<SceneKey> scene = doc().sceneKey();
        openFile(qs(doc().path()), false);
        if (scene && doc().hasScene())
            tvAreaList_NodeClick(findNode(qs(sceneKeyText(*scene))));
    } else {
        diskChangeKept_ = true;
    }
}

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedRom(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event)
{
    const QString path = droppedRom(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened after the drop has ended, so that the questions and messages do not hold up the
    // program the file came from.
    QTimer::singleShot(0, this, [this, path] { loadRom(false, path); });
}

}  // namespace velmar
