// The main window's patches: making one of the edits, and applying one.

#include <QFileInfo>

#include "editor/edits.h"
#include "base/file_reader.h"
#include "base/file_writer.h"
#include "frm_main.h"
#include "patch/patch_file.h"
#include "qt_bridge.h"

namespace velmar {

namespace {

constexpr const char* kPatchFilter = "IPS patch (*.ips);;BPS patch (*.bps)";

// Reads a whole file of patch size at most; the reason why not, or empty.
std::string readSmallFile(const QString& path, Bytes& out)
{
    return readWholeFile(pathFromUtf8(ss(path)), out, kMaxPatchedSize, "The file is larger than 64 MB.");
}

}  // namespace

void frmMain::menuFileCreatePatch_Click()
{
    if (!doc().hasImage())
        return;
    commitPendingInput();
    if (!settleTextEdits())
        return;
    // The patch leads from the original to the image as it is now.
    Bytes original;
    const QString name = QFileInfo(qs(doc().path())).fileName();
    switch (dialogs_.askYesNoCancel("Make the patch against " + name + " as it was opened?\n"
                                    "Yes: as it was opened. No: pick the original image.")) {
    case Dialogs::Answer::Yes:
        original = doc().openedFile();
        break;
    case Dialogs::Answer::No: {
        const QString path = dialogs_.openFile(dialogFolder_, "iNES rom image (*.nes);;All files (*)");
        if (path.isEmpty())
            return;
        if (const std::string reason = readSmallFile(path, original); !reason.empty()) {
            dialogs_.message(fileMessageText("Error loading file!", path, reason), Dialogs::Icon::Exclamation);
            return;
        }
        break;
    }
    case Dialogs::Answer::Cancel:
        return;
    }
    const QString path = dialogs_.saveFile(QFileInfo(qs(doc().path())).absolutePath(), kPatchFilter);
    if (path.isEmpty())
        return;
    const std::optional<PatchFormat> format = patchFormatForPath(pathFromUtf8(ss(path)));
    if (!format) {
        dialogs_.message("A patch file's name ends in .ips or .bps.", Dialogs::Icon::Exclamation);
        return;
    }
    Bytes patch;
    if (const Outcome<PatchResult> r = createPatch(*format, original, doc().rom().fileBytes(), patch); !r.ok()) {
        dialogs_.message(qs(r.reason), Dialogs::Icon::Exclamation);
        return;
    }
    if (const Outcome<WriteResult> r = writeFileSafely(pathFromUtf8(ss(path)), patch, false, FileOwner::User); !r.ok()) {
        dialogs_.message(fileMessageText("Unknown I/O error!", path, r.reason), Dialogs::Icon::Exclamation);
        return;
    }
    dialogs_.message("Patch saved!");
}

void frmMain::menuFileApplyPatch_Click()
{
    if (!doc().hasImage())
        return;
    commitPendingInput();
    const QString path = dialogs_.openFile(QFileInfo(qs(doc().path())).absolutePath(), "Patches (*.ips *.bps)");
    if (path.isEmpty())
        return;
    Bytes patch;
    if (const std::string reason = readSmallFile(path, patch); !reason.empty()) {
        dialogs_.message(fileMessageText("Error loading file!", path, reason), Dialogs::Icon::Exclamation);
        return;
    }
    const Outcome<EditResult> r = edits::applyPatch(document_->doc(), patch);
    if (r.code == EditResult::NoChange)
        dialogs_.message("The patch changes nothing in this image.");
    else if (!r.ok())
        dialogs_.message("The patch was not applied. " + qs(r.reason), Dialogs::Icon::Exclamation);
}

}  // namespace velmar
