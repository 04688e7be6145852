// The open file: open, save, Save As, patches, and changes other programs make to it.
#include "session/document_files.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "editor/edits.h"
#include "base/file_reader.h"
#include "base/file_writer.h"
#include "patch/patch_file.h"
#include "qt_bridge.h"
#include "rom/rom_file.h"

namespace velmar {

namespace {

// No image of the game comes near this; a larger file is not read to compare it.
constexpr std::uintmax_t kMaxComparedBytes = 64u << 20;
// Long enough for a writer to finish what it began, short enough to seem at once.
constexpr int kDiskCheckDelayMs = 250;

constexpr const char* kPatchFilter = "IPS patch (*.ips);;BPS patch (*.bps)";

QString fileNameOf(const QString& path) { return QFileInfo(path).fileName(); }

// Reads a whole file of patch size at most; the reason why not, or empty.
std::string readSmallFile(const QString& path, Bytes& out)
{
    return readWholeFile(pathFromUtf8(ss(path)), out, kMaxPatchedSize, "The file is larger than 64 MB.");
}

}  // namespace

DocumentFiles::DocumentFiles(const EditorContext& context, Host& host, const QString& dialogFolder)
    : ctx_(context), dialogs_(context.dialogs()), workspace_(context.workspace()), host_(host),
      dialogFolder_(dialogFolder)
{
}

QString DocumentFiles::droppedRom(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().front().isLocalFile())
        return {};
    const QString path = mime->urls().front().toLocalFile();
    return path.endsWith(".nes", Qt::CaseInsensitive) ? path : QString();
}

bool DocumentFiles::confirmDiscardOrSave(Leaving why)
{
    host_.commitPendingInput();
    if (!host_.settleTextEdits())
        return false;
    if (!doc().hasUnsavedChanges())
        return true;
    const QString text = "The changes to " + fileNameOf(qs(doc().path())) + " have not been saved.\n"
        + (why == Leaving::Closing ? "Save them before closing?" : "Save them before opening another file?");
    switch (dialogs_.askYesNoCancel(text)) {
    case Dialogs::Answer::Yes: return saveDocument();
    case Dialogs::Answer::No: return true;
    case Dialogs::Answer::Cancel: return false;
    }
    return false;
}

void DocumentFiles::loadRom(bool showDialog, const QString& path)
{
    if (!confirmDiscardOrSave(Leaving::Opening))
        return;
    QString fileName = path;
    if (showDialog) {
        fileName = dialogs_.openFile(dialogFolder_, "iNES rom image (*.nes)");
        if (!fileName.isEmpty())
            dialogFolder_ = QFileInfo(fileName).absolutePath();
    }
    if (!fileName.isEmpty())
        openFile(fileName, false);
}

void DocumentFiles::openFile(const QString& fileName, bool askFirst)
{
    if (askFirst && !confirmDiscardOrSave(Leaving::Opening))
        return;
    // Qt hands over a name that is not valid UTF-8 with its bad bytes replaced, and that name is
    // no file's: the user can only rename it.
    if (fileName.contains(QChar::ReplacementCharacter) && !QFileInfo::exists(fileName)) {
        dialogs_.message(fileMessageText(romReadMessage(RomReadResult::IoError), fileName,
                                         "The file's name is not valid UTF-8 text, which Velmar cannot open. "
                                         "Rename the file, then open it."));
        return;
    }

    // A header that disagrees with the game's layout is often junk of an old dump: the user
    // decides.
    const auto accept = [this](const RomImage& image, const std::string& found) {
        const std::vector<std::string> warnings = headerWarnings(image);
        if (warnings.empty())
            return true;
        QString text = "The header of " + fileNameOf(qs(found)) + " does not describe this game:\n";
        for (const std::string& w : warnings)
            text += "- " + qs(w) + "\n";
        text += "Open it anyway?";
        return dialogs_.askYesNo(text) == Dialogs::Answer::Yes;
    };
    // The document keeps the name as the system writes it: the same file is listed and named
    // once, whether a dialog, a drop or the recent files gave it.
    const Outcome<RomReadResult> r = ctx_.document().doc().open(
        ss(QDir::toNativeSeparators(fileName)), workspace_.settings.checkDrive, systemVolumes(), accept);
    if (r.code == RomReadResult::Declined)
        return;
    if (!r.ok()) {
        // Nothing changed: the caption, the tree, the scene and the file they belong to stay.
        dialogs_.message(fileMessageText(romReadMessage(r.code), fileName, r.reason));
        return;
    }
    showOpened(std::nullopt);
    // A file whose first scene cannot be shown has said so; it is open, but not "loaded".
    if (doc().hasScene())
        ctx_.reportSuccess("File successfully loaded!");
}

void DocumentFiles::showOpened(const std::optional<SceneKey>& scene)
{
    diskChangeKept_ = false;
    watchOpenFile();
    const QString romPath = qs(doc().path());
    dialogFolder_ = QFileInfo(romPath).absolutePath();
    workspace_.settings.romFolder = ss(QDir::toNativeSeparators(dialogFolder_));
    addRecentFile(workspace_.settings, doc().path());
    ctx_.settingsChanged();
    host_.showOpenedFile(scene);
}

bool DocumentFiles::saveDocument()
{
    if (!confirmSaveOverDisk())
        return false;
    const Outcome<SaveResult> r = ctx_.document().doc().save(workspace_.settings.keepBackup);
    if (r.ok()) {
        diskChangeKept_ = false;
        watchOpenFile();
    }
    reportSaveFailure(r, qs(doc().path()));
    return r.ok();
}

bool DocumentFiles::confirmSaveOverDisk()
{
    // Whatever the watcher said (it may not have said it yet, or lost the file): what is there now
    // is compared with what was last read or written.
    const QString path = qs(doc().path());
    const QString name = QDir::toNativeSeparators(path);
    if (const QString link = linkTarget(path); !link.isEmpty() && link != linkTarget_)
        return dialogs_.askYesNo(name + " is now a link to " + QDir::toNativeSeparators(link)
                                 + ", put there since the file was opened. Save into " + QDir::toNativeSeparators(link)
                                 + "?")
            == Dialogs::Answer::Yes;
    // A file that is gone fails to save as it is, and says so.
    if (!QFileInfo::exists(path))
        return true;
    Bytes onDisk;
    if (readWholeFile(pathFromUtf8(doc().path()), onDisk, kMaxComparedBytes, "too large").empty()
        && doc().isFileAsSaved(onDisk))
        return true;
    return dialogs_.askYesNo(name + " was changed by another program since it was opened. Save over those changes?")
        == Dialogs::Answer::Yes;
}

void DocumentFiles::reportSaveFailure(const Outcome<SaveResult>& r, const QString& path)
{
    if (r.code == SaveResult::BackupFailed)
        dialogs_.message(
            fileMessageText("The backup could not be made, so the file was not saved!", path + ".bak", r.reason),
            Dialogs::Icon::Exclamation);
    else if (!r.ok())
        dialogs_.message(fileMessageText("Unknown I/O error!", path, r.reason));
}

void DocumentFiles::saveRom()
{
    host_.commitPendingInput();
    if (!host_.settleTextEdits())
        return;
    if (saveDocument())
        ctx_.reportSuccess("File saved!");
}

void DocumentFiles::saveAs()
{
    if (!doc().hasImage())
        return;
    host_.commitPendingInput();
    if (!host_.settleTextEdits())
        return;
    // The open file's name is proposed, as editors do; a name without an extension gets the
    // image's, and the dialog asked about the name typed, not that one.
    QString target = dialogs_.saveFile(
        QDir::toNativeSeparators(QDir(dialogFolder_).filePath(fileNameOf(qs(doc().path())))), "iNES rom image (*.nes)");
    if (target.isEmpty())
        return;
    if (QFileInfo(target).suffix().isEmpty()) {
        target += ".nes";
        if (QFileInfo::exists(target)
            && dialogs_.askYesNo(QDir::toNativeSeparators(target) + " already exists.\nDo you want to replace it?")
                != Dialogs::Answer::Yes)
            return;
    }
    target = QDir::toNativeSeparators(target);
    const Outcome<SaveResult> r = ctx_.document().doc().saveAs(ss(target), workspace_.settings.keepBackup);
    reportSaveFailure(r, target);
    if (!r.ok())
        return;
    // The new file is the open one: the caption, the recent files, the open dialog's folder
    // and the watch follow it (the recovery copy holds nothing now: everything is saved).
    dialogFolder_ = QFileInfo(target).absolutePath();
    workspace_.settings.romFolder = ss(QDir::toNativeSeparators(dialogFolder_));
    addRecentFile(workspace_.settings, doc().path());
    ctx_.settingsChanged();
    host_.showFileName();
    diskChangeKept_ = false;
    watchOpenFile();
    ctx_.reportSuccess("File saved!");
}

QString DocumentFiles::linkTarget(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : QString();
}

void DocumentFiles::watchOpenFile()
{
    if (!fileWatcher_) {
        fileWatcher_ = new QFileSystemWatcher(this);
        connect(fileWatcher_, &QFileSystemWatcher::fileChanged, this, &DocumentFiles::fileWatcher_Changed);
        connect(fileWatcher_, &QFileSystemWatcher::directoryChanged, this, &DocumentFiles::folderWatcher_Changed);
        // A writer that cuts the file and then writes it is heard twice: it is checked once it is done.
        tmrDiskCheck_ = new QTimer(this);
        tmrDiskCheck_->setSingleShot(true);
        tmrDiskCheck_->setInterval(kDiskCheckDelayMs);
        connect(tmrDiskCheck_, &QTimer::timeout, this, &DocumentFiles::checkFileOnDisk);
    }
    if (const QStringList watched = fileWatcher_->files() + fileWatcher_->directories(); !watched.isEmpty())
        fileWatcher_->removePaths(watched);
    diskCheckDue_ = false;
    tmrDiskCheck_->stop();
    linkTarget_.clear();
    if (!doc().hasImage())
        return;
    const QString path = qs(doc().path());
    linkTarget_ = linkTarget(path);
    if (QFileInfo::exists(path))
        fileWatcher_->addPath(path);
    // A writer that removes the file and writes a new one (as git does) ends the file's watch,
    // maybe before the new one is there: the folder tells when it is back.
    fileWatcher_->addPath(QFileInfo(path).absolutePath());
}

void DocumentFiles::renewWatch()
{
    const QString path = qs(doc().path());
    if (doc().hasImage() && !fileWatcher_->files().contains(path) && QFileInfo::exists(path))
        fileWatcher_->addPath(path);
}

void DocumentFiles::folderWatcher_Changed()
{
    // Anything else in the folder is none of this program's business.
    const QString path = qs(doc().path());
    if (!doc().hasImage() || fileWatcher_->files().contains(path) || !QFileInfo::exists(path))
        return;
    fileWatcher_Changed();
}

void DocumentFiles::fileWatcher_Changed()
{
    renewWatch();
    diskCheckDue_ = true;
    // Asked soon while the user works in the window, else when they come back to it.
    if (ctx_.window().isActiveWindow())
        tmrDiskCheck_->start();
}

void DocumentFiles::windowActivated()
{
    if (diskCheckDue_)
        tmrDiskCheck_->start();
}

void DocumentFiles::checkFileOnDisk()
{
    // A change heard while the question about the one before is up is part of it: the answer
    // reads the file as it is then, or keeps what is in memory over both.
    if (asking_)
        return;
    diskCheckDue_ = false;
    if (!doc().hasImage() || ctx_.exiting() || diskChangeKept_)
        return;
    if (fileWatcher_)
        renewWatch();
    // The watcher also fires for this program's own saves, and for a touch that changes no
    // byte: only what is in the file counts.
    Bytes onDisk;
    if (!readWholeFile(pathFromUtf8(doc().path()), onDisk, kMaxComparedBytes, "too large").empty()
        || doc().isFileAsSaved(onDisk))
        return;
    const QString name = QDir::toNativeSeparators(qs(doc().path()));
    asking_ = true;
    const Dialogs::Answer answer =
        dialogs_.askYesNo(name + " was changed by another program. Reload it? Unsaved edits are lost.");
    asking_ = false;
    if (answer == Dialogs::Answer::Yes) {
        const std::optional<SceneKey> scene = doc().sceneKey();
        openFile(qs(doc().path()), false);
        if (scene && doc().hasScene())
            host_.openScene(*scene);
    } else {
        diskChangeKept_ = true;
    }
    if (tmrDiskCheck_)
        tmrDiskCheck_->stop();
    diskCheckDue_ = false;
}

void DocumentFiles::createPatch()
{
    if (!doc().hasImage())
        return;
    host_.commitPendingInput();
    if (!host_.settleTextEdits())
        return;
    // The patch leads from the original to the image as it is now.
    Bytes original;
    const QString name = QFileInfo(qs(doc().path())).fileName();
    QString originalName = name + " as it was opened";
    switch (dialogs_.askYesNoCancel("Make the patch against " + name
                                    + " as it was opened?\n"
                                      "Yes: as it was opened. No: pick the original image.")) {
    case Dialogs::Answer::Yes: original = doc().openedFile(); break;
    case Dialogs::Answer::No: {
        const QString path = dialogs_.openFile(dialogFolder_, "iNES rom image (*.nes);;All files (*)");
        if (path.isEmpty())
            return;
        if (const std::string reason = readSmallFile(path, original); !reason.empty()) {
            dialogs_.message(fileMessageText("Error loading file!", path, reason), Dialogs::Icon::Exclamation);
            return;
        }
        originalName = fileNameOf(path);
        break;
    }
    case Dialogs::Answer::Cancel: return;
    }
    const Bytes image = doc().rom().fileBytes();
    if (original == image
        && dialogs_.askYesNo("The image is the same as " + originalName
                             + ": a patch of it changes nothing.\nMake it anyway?")
            != Dialogs::Answer::Yes)
        return;
    const QString path = dialogs_.saveFile(QFileInfo(qs(doc().path())).absolutePath(), kPatchFilter);
    if (path.isEmpty())
        return;
    const std::optional<PatchFormat> format = patchFormatForPath(pathFromUtf8(ss(path)));
    if (!format) {
        dialogs_.message("A patch file's name ends in .ips or .bps.", Dialogs::Icon::Exclamation);
        return;
    }
    Bytes patch;
    if (const Outcome<PatchResult> r = velmar::createPatch(*format, original, image, patch); !r.ok()) {
        dialogs_.message(qs(r.reason), Dialogs::Icon::Exclamation);
        return;
    }
    if (const Outcome<WriteResult> r = writeFileSafely(pathFromUtf8(ss(path)), patch, false, FileOwner::User);
        !r.ok()) {
        dialogs_.message(fileMessageText("Unknown I/O error!", path, r.reason), Dialogs::Icon::Exclamation);
        return;
    }
    dialogs_.message("Patch saved!");
}

void DocumentFiles::applyPatch()
{
    if (!doc().hasImage())
        return;
    host_.commitPendingInput();
    const QString path = dialogs_.openFile(QFileInfo(qs(doc().path())).absolutePath(), "Patches (*.ips *.bps)");
    if (path.isEmpty())
        return;
    Bytes patch;
    if (const std::string reason = readSmallFile(path, patch); !reason.empty()) {
        dialogs_.message(fileMessageText("Error loading file!", path, reason), Dialogs::Icon::Exclamation);
        return;
    }
    const Outcome<EditResult> r = edits::applyPatch(ctx_.document().doc(), patch);
    if (r.code == EditResult::NoChange)
        dialogs_.message("The patch changes nothing in this image.");
    else if (!r.ok())
        dialogs_.message("The patch was not applied. " + qs(r.reason), Dialogs::Icon::Exclamation);
}

}  // namespace velmar
