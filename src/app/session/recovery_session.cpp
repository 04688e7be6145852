// The recovery copy: its place in the folder, its writes a few seconds after the last change,
// and the offer of what a copy left by a crash holds.
#include "session/recovery_session.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTimer>

#include "dialogs.h"
#include "editor_document.h"
#include "files/recovery.h"
#include "panels/status_messages.h"
#include "qt_bridge.h"
#include "rom/rom_file.h"

namespace velmar {

namespace {

// Long enough that a burst of edits makes one write, short enough that little is lost.
constexpr int kRecoveryDelayMs = 3000;
// Editors running at once that each keep a copy.
constexpr int kRecoverySlots = 8;

}  // namespace

RecoverySession::RecoverySession(const QString& folder, EditorDocument& document, Dialogs& dialogs,
                                 StatusMessages& status, QObject* parent)
    : QObject(parent), folder_(folder), document_(document), dialogs_(dialogs), status_(status)
{
    timer_ = new QTimer(this);
    timer_->setObjectName("tmrRecovery");
    timer_->setSingleShot(true);
    timer_->setInterval(kRecoveryDelayMs);
    connect(timer_, &QTimer::timeout, this, &RecoverySession::tmrRecovery_Timer);
    connect(&document_, &EditorDocument::changed, this, &RecoverySession::document_Changed);
}

RecoverySession::~RecoverySession() = default;

QString RecoverySession::file() const { return writer_ ? qs(pathToUtf8(writer_->file())) : QString(); }

void RecoverySession::wait()
{
    if (writer_)
        writer_->wait();
}

void RecoverySession::start(const ShowRestored& showRestored)
{
    if (folder_.isEmpty())
        return;
    if (!QDir().mkpath(folder_)) {
        status_.warn("Unsaved changes are not kept for recovery: the folder " + QDir::toNativeSeparators(folder_)
                     + " cannot be made");
        return;
    }

    // Each running editor keeps its copy in a slot of its own: recovery.velmar with
    // recovery.lock, then recovery-2.velmar with recovery-2.lock, and so on. A slot whose lock is
    // free belongs to no running editor (the lock of one that died is taken over; one that is
    // merely old is not, the age test being off), and a copy there was left by a crash. This
    // editor takes the first free slot holding a copy, to offer it back, else the first free one.
    const auto slotName = [](int slot, const char* extension) {
        return slot == 0 ? QString("recovery.%1").arg(extension)
                         : QString("recovery-%1.%2").arg(slot + 1).arg(extension);
    };
    int chosen = -1;
    for (int slot = 0; slot < kRecoverySlots; ++slot) {
        auto lock = std::make_unique<QLockFile>(folder_ + "/" + slotName(slot, "lock"));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        const bool holdsCopy = QFileInfo::exists(folder_ + "/" + slotName(slot, "velmar"));
        if (chosen < 0 || holdsCopy) {
            chosen = slot;
            lock_ = std::move(lock);
        }
        if (holdsCopy)
            break;
    }
    if (chosen < 0) {
        status_.warn(QString("Unsaved changes are not kept for recovery: %1 other editors keep theirs in %2")
                         .arg(kRecoverySlots)
                         .arg(QDir::toNativeSeparators(folder_)));
        return;
    }
    const QString copyName = slotName(chosen, "velmar");
    // A write cut short by a crash leaves its temporary file; with the lock held, none is in use.
    for (const QString& name : QDir(folder_).entryList({"." + copyName + ".velmar-*.tmp"}, QDir::Files | QDir::Hidden))
        QFile::remove(folder_ + "/" + name);
    writer_ = std::make_unique<RecoveryWriter>(pathFromUtf8(ss(QDir::toNativeSeparators(folder_ + "/" + copyName))),
                                               [this](const Outcome<WriteResult>& result) {
                                                   // On the writer's thread: the session hears of it on its own. The
                                                   // writer is joined before the session's QObject part goes, which
                                                   // drops what has not been delivered.
                                                   QMetaObject::invokeMethod(
                                                       this, [this, result] { written(result); }, Qt::QueuedConnection);
                                               });
    offer(showRestored);
}

void RecoverySession::offer(const ShowRestored& showRestored)
{
    const std::filesystem::path file = writer_->file();
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
    const Outcome<RomReadResult> opened =
        document_.doc().openRecovered(std::move(copy.image), copy.path, disk.ok() ? onDisk.fileBytes() : Bytes());
    if (!opened.ok()) {
        dialogs_.message(qs(fileMessage("The kept changes cannot be restored!", copy.path, opened.reason)),
                         Dialogs::Icon::Exclamation);
        removeCopy();
        return;
    }
    // The copy on disk holds these edits until they are saved or given up.
    stored_ = true;
    showRestored(copy.scene);
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

void RecoverySession::document_Changed()
{
    if (!writer_ || ended_)
        return;
    if (document_.doc().hasUnsavedChanges()) {
        timer_->start();
        return;
    }
    // Saved, undone back to the file, or another file opened: nothing is left to recover.
    timer_->stop();
    if (stored_) {
        writer_->discard();
        stored_ = false;
    }
}

void RecoverySession::tmrRecovery_Timer()
{
    const Document& doc = document_.doc();
    if (!writer_ || ended_ || !doc.hasUnsavedChanges())
        return;
    writer_->store({doc.path(), doc.sceneKey(), doc.rom()});
    stored_ = true;
}

void RecoverySession::keepForNextStart()
{
    timer_->stop();
    const Document& doc = document_.doc();
    if (writer_ && !ended_ && doc.hasUnsavedChanges()) {
        writer_->store({doc.path(), doc.sceneKey(), doc.rom()});
        writer_->wait();
    }
    ended_ = true;
}

void RecoverySession::written(const Outcome<WriteResult>& result)
{
    // Not a message box: it would come up in the middle of a drag, every few seconds.
    if (!result.ok()) {
        status_.warn("Unsaved changes cannot be kept for recovery: " + file() + ": " + qs(result.reason));
        failed_ = true;
    } else if (failed_) {
        status_.clearWarning();
        failed_ = false;
    }
}

void RecoverySession::end()
{
    ended_ = true;
    timer_->stop();
    if (!writer_)
        return;
    writer_->discard();
    writer_.reset();
    lock_.reset();
    stored_ = false;
}

}  // namespace velmar
