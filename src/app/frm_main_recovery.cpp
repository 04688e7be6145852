// The main window's recovery copy: unsaved edits are kept in the user's data folder a few
// seconds after the last change, so that a crash or a killed editor loses nothing; the next start
// offers them back. Only a proper close, a save, or undoing back to the saved file removes it.
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStatusBar>
#include <QTimer>

#include "files/recovery.h"
#include "frm_main.h"
#include "qt_bridge.h"

namespace velmar {

namespace {

// Long enough that a burst of edits makes one write, short enough that little is lost.
constexpr int kRecoveryDelayMs = 3000;
// Editors running at once that each keep a copy.
constexpr int kRecoverySlots = 8;

}  // namespace

QString frmMain::recoveryFile() const
{
    return recoveryWriter_ ? qs(pathToUtf8(recoveryWriter_->file())) : QString();
}

void frmMain::waitForRecoveryWriter()
{
    if (recoveryWriter_)
        recoveryWriter_->wait();
}

void frmMain::startRecovery()
{
    tmrRecovery = new QTimer(this);
    tmrRecovery->setObjectName("tmrRecovery");
    tmrRecovery->setSingleShot(true);
    tmrRecovery->setInterval(kRecoveryDelayMs);
    connect(tmrRecovery, &QTimer::timeout, this, &frmMain::tmrRecovery_Timer);
    if (recoveryFolder_.isEmpty())
        return;
    if (!QDir().mkpath(recoveryFolder_)) {
        mainStatusBar->showMessage("Unsaved changes are not kept for recovery: the folder "
                                   + QDir::toNativeSeparators(recoveryFolder_) + " cannot be made");
        return;
    }

    // Each running editor keeps its copy in a slot of its own: recovery.velmar with
    // recovery.lock, then recovery-2.velmar with recovery-2.lock, and so on. A slot whose lock is
    // free belongs to no running editor (the lock of one that died is taken over; one that is
    // merely old is not, the age test being off), and a copy there was left by a crash. This
    // editor takes the first free slot holding a copy, to offer it back, else the first free one.
    const auto slotName = [](int slot, const char* extension) {
        return slot == 0 ? QString("recovery.%1").arg(extension) : QString("recovery-%1.%2").arg(slot + 1).arg(extension);
    };
    int chosen = -1;
    for (int slot = 0; slot < kRecoverySlots; ++slot) {
        auto lock = std::make_unique<QLockFile>(recoveryFolder_ + "/" + slotName(slot, "lock"));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        const bool holdsCopy = QFileInfo::exists(recoveryFolder_ + "/" + slotName(slot, "velmar"));
        if (chosen < 0 || holdsCopy) {
            chosen = slot;
            recoveryLock_ = std::move(lock);
        }
        if (holdsCopy)
            break;
    }
    if (chosen < 0) {
        mainStatusBar->showMessage(QString("Unsaved changes are not kept for recovery: %1 other editors keep theirs in %2")
                                       .arg(kRecoverySlots)
                                       .arg(QDir::toNativeSeparators(recoveryFolder_)));
        return;
    }
    const QString copyName = slotName(chosen, "velmar");
    // A write cut short by a crash leaves its temporary file; with the lock held, none is in use.
    for (const QString& name : QDir(recoveryFolder_).entryList({"." + copyName + ".velmar-*.tmp"}, QDir::Files | QDir::Hidden))
        QFile::remove(recoveryFolder_ + "/" + name);
    recoveryWriter_ = std::make_unique<RecoveryWriter>(
        pathFromUtf8(ss(recoveryFolder_ + "/" + copyName)),
        [this](const Outcome<WriteResult>& result) {
            // On the writer's thread: the window hears of it on its own. The writer is joined
            // before the window's QObject part goes, which drops what has not been delivered.
            QMetaObject::invokeMethod(this, [this, result] { recovery_Written(result); }, Qt::QueuedConnection);
        });
    offerRecovery();
}

void frmMain::offerRecovery()
{
    const std::filesystem::path file = recoveryWriter_->file();
    RecoveryCopy copy;
    const Outcome<RecoveryLoad> read = readRecoveryCopy(file, copy);
    if (read.code == RecoveryLoad::Missing)
        return;
    auto removeCopy = [&file] {
        std::error_code ec;
        std::filesystem::remove(file, ec);
    };
    if (!read.ok()) {
        dialogs_.message(qs(fileMessage("Velmar was not closed properly, and the changes it kept cannot be read!",
                                        pathToUtf8(file), read.reason)),
                         Dialogs::Icon::Exclamation);
        removeCopy();
        return;
    }

    const QString original = QDir::toNativeSeparators(qs(copy.path));
    // Enter restores: dropping the edits is the answer to give on purpose.
    if (dialogs_.askYesNo("Velmar was not closed properly. Unsaved changes to " + original
                              + " were kept.\nRestore them?",
                          Dialogs::Answer::Yes)
        != Dialogs::Answer::Yes) {
        removeCopy();
        return;
    }
    // The edits come back as unsaved changes of the file: what is on disk now is what they are
    // measured against, and saving writes them there.
    RomImage onDisk;
    const Outcome<RomReadResult> disk = readRomFile(pathFromUtf8(copy.path), onDisk);
    const Outcome<RomReadResult> opened = document_->doc().openRecovered(
        std::move(copy.image), copy.path, disk.ok() ? onDisk.fileBytes() : Bytes());
    if (!opened.ok()) {
        dialogs_.message(qs(fileMessage("The kept changes cannot be restored!", copy.path, opened.reason)),
                         Dialogs::Icon::Exclamation);
        removeCopy();
        return;
    }
    // The copy on disk holds these edits until they are saved or given up.
    recoveryStored_ = true;
    showOpenedFile(copy.scene);
    if (!disk.ok()) {
        // A file that has gone (on a drive not plugged in, say) is not made again behind the
        // user's back: saving fails until it is back, and the copy keeps the edits till then.
        std::error_code ec;
        const bool gone = !std::filesystem::exists(pathFromUtf8(copy.path), ec) && !ec;
        dialogs_.message(qs(fileMessage(gone ? "The changes are restored, but their file is gone. Put it back "
                                               "in its place to save them."
                                             : "The changes are restored, but their file cannot be read.",
                                        copy.path, disk.reason)),
                         Dialogs::Icon::Exclamation);
    }
}

void frmMain::recovery_DocumentChanged(const DocumentEvent&)
{
    if (!recoveryWriter_ || exiting_)
        return;
    if (doc().hasUnsavedChanges()) {
        tmrRecovery->start();
        return;
    }
    // Saved, undone back to the file, or another file opened: nothing is left to recover.
    tmrRecovery->stop();
    if (recoveryStored_) {
        recoveryWriter_->discard();
        recoveryStored_ = false;
    }
}

void frmMain::tmrRecovery_Timer()
{
    if (!recoveryWriter_ || exiting_ || !doc().hasUnsavedChanges())
        return;
    recoveryWriter_->store({doc().path(), doc().sceneKey(), doc().rom()});
    recoveryStored_ = true;
}

void frmMain::recovery_Written(const Outcome<WriteResult>& result)
{
    // Not a message box: it would come up in the middle of a drag, every few seconds.
    if (!result.ok()) {
        mainStatusBar->showMessage("Unsaved changes cannot be kept for recovery: " + recoveryFile() + ": "
                                   + qs(result.reason));
        recoveryFailed_ = true;
    } else if (recoveryFailed_) {
        mainStatusBar->clearMessage();
        recoveryFailed_ = false;
    }
}

void frmMain::endRecovery()
{
    tmrRecovery->stop();
    if (!recoveryWriter_)
        return;
    recoveryWriter_->discard();
    recoveryWriter_.reset();
    recoveryLock_.reset();
    recoveryStored_ = false;
}

}  // namespace velmar
