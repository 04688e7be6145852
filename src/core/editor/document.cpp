#include "editor/document.h"

#include <algorithm>

#include "base/file_reader.h"
#include "expansion/actor_packer.h"
#include "rom/scene_codec.h"
#include "text/text_packer.h"

namespace velmar {

namespace {

// No image of the game comes near this; a larger file is not read whole for its backup.
constexpr std::uintmax_t kMaxBackupBytes = 256u * 1024 * 1024;

// The file as it is on disk, for its backup. `present` is false when there is none (nothing to
// keep); the result is the reason it cannot be read, or empty.
std::string readFileForBackup(const std::filesystem::path& path, bool& present, Bytes& out)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    present = fs::exists(status);
    if (!present)
        return {};
    if (!fs::is_regular_file(status))
        return "Not a regular file";
    return readWholeFile(path, out, kMaxBackupBytes, "The file is too large to keep a backup of");
}

}  // namespace

SceneState& EditContext::scene()
{
    sceneTouched_ = true;
    return document_.scene_;
}

Bytes& EditContext::image() { return document_.rom_.romData; }

Document::Document() = default;

Outcome<RomReadResult> Document::open(const std::string& path, bool checkDrive, const std::vector<Volume>& volumes,
                                      const Acceptance& accept)
{
    RomImage image;
    std::string found = path;
    Outcome<RomReadResult> r =
        checkDrive ? readRomFileOnAnyDrive(found, image, volumes) : readRomFile(pathFromUtf8(found), image);
    if (r.ok())
        r = checkGameImage(image);
    if (!r.ok())
        return r;
    if (accept && !accept(image, found))
        return Outcome<RomReadResult>::failure(RomReadResult::Declined, {});
    return openImage(std::move(image), std::move(found));
}

Outcome<RomReadResult> Document::openImage(RomImage image, std::string path)
{
    return adopt(std::move(image), std::move(path), std::nullopt);
}

Outcome<RomReadResult> Document::openRecovered(RomImage image, std::string path, const Bytes& fileOnDisk)
{
    // The bytes last saved are data only: a file that differs in anything else (its header)
    // would be changed by a save, and then no data stands for it.
    RomImage onDisk;
    Bytes saved;
    if (parseRomFile(fileOnDisk, onDisk).ok()) {
        saved = std::move(onDisk.romData);
        onDisk.romData = image.romData;
        if (!(onDisk == image))
            saved.clear();
    }
    // What edits are measured against is the file on disk, when it can be read.
    std::optional<Bytes> opened;
    if (!fileOnDisk.empty())
        opened = fileOnDisk;
    return adopt(std::move(image), std::move(path), std::move(saved), std::move(opened));
}

Outcome<RomReadResult> Document::adopt(RomImage image, std::string path, std::optional<Bytes> saved,
                                       std::optional<Bytes> opened)
{
    if (Outcome<RomReadResult> r = checkGameImage(image); !r.ok())
        return r;
    endStroke();
    rom_ = std::move(image);
    path_ = std::move(path);
    imageOpen_ = true;
    saved_ = saved ? std::move(*saved) : rom_.romData;
    opened_ = opened ? std::move(*opened) : rom_.fileBytes();
    backupDue_ = true;
    shadow_ = rom_.romData;
    actorAreaEnd_ = velmar::actorAreaEnd(rom_.romData);
    textAreaEnd_ = velmar::textAreaEnd(rom_.romData);
    sceneKey_.reset();
    scene_ = SceneState{};
    history_.clear();
    notify({DocumentEvent::Kind::Opened, part::All, {}, true, kFocusNone});
    return {};
}

RomStatus Document::selectScene(const SceneKey& key)
{
    endStroke();
    SceneState next;
    if (RomStatus s = decodeScene(rom_.romData, key, next); !s.ok())
        return s;
    const bool switched = sceneKey_ != key;
    sceneKey_ = key;
    scene_ = std::move(next);
    notify({DocumentEvent::Kind::SceneSelected, part::All, {}, switched, kFocusNone});
    return {};
}

void Document::rollBack()
{
    rom_.romData = shadow_;
    if (sceneKey_ && !decodeScene(rom_.romData, *sceneKey_, scene_).ok())
        sceneKey_.reset();
}

Outcome<EditResult> Document::edit(const EditSpec& spec, const Change& change)
{
    using R = Outcome<EditResult>;
    if (!imageOpen_)
        return R::failure(EditResult::Refused, "No file is open.");
    EditContext context(*this);
    if (!change(context)) {
        rollBack();
        return R::failure(EditResult::Refused, {});
    }
    if (context.sceneTouched_ && !hasScene()) {
        rollBack();
        scene_ = SceneState{};
        return R::failure(EditResult::Refused, "No scene is shown.");
    }
    if (context.sceneTouched_) {
        if (RomStatus s = storeSceneState(rom_.romData, scene_); !s.ok()) {
            rollBack();
            return R::failure(EditResult::Failed, s.message());
        }
    }
    // What every window shows is decoded from the image: a value the image cannot hold does
    // not linger on screen as if it had been kept.
    if (hasScene()) {
        SceneState fresh;
        if (RomStatus s = decodeScene(rom_.romData, *sceneKey_, fresh); !s.ok()) {
            rollBack();
            return R::failure(EditResult::Failed, s.message());
        }
        scene_ = std::move(fresh);
    }

    std::vector<ByteRun> runs = diffImages(shadow_, rom_.romData);
    applyRuns(shadow_, runs, true);
    const bool changed = !runs.empty();
    if (changed && stroke_) {
        strokeParts_ |= spec.parts;
        for (ByteRun& run : runs)
            strokeRuns_.push_back(std::move(run));
    } else if (changed) {
        history_.push({spec.name, spec.parts, sceneKey_, spec.focusX, std::move(runs)});
    }
    notify({DocumentEvent::Kind::Edited, spec.parts, stroke_ ? stroke_->name : spec.name, false, spec.focusX});
    return {changed ? EditResult::Recorded : EditResult::NoChange, {}};
}

void Document::beginStroke(const EditSpec& spec)
{
    endStroke();
    stroke_ = spec;
}

void Document::endStroke()
{
    if (stroke_ && !strokeRuns_.empty()) {
        // Cells painted over twice, or painted back, count once or not at all.
        std::vector<ByteRun> net = netRuns(strokeRuns_, rom_.romData);
        if (!net.empty())
            history_.push({stroke_->name, stroke_->parts | strokeParts_, sceneKey_, stroke_->focusX, std::move(net)});
    }
    stroke_.reset();
    strokeRuns_.clear();
    strokeParts_ = 0;
}

std::string Document::undoName() const
{
    if (stroke_ && !strokeRuns_.empty())
        return stroke_->name;
    const EditStep* s = history_.nextUndo();
    return s ? s->name : std::string();
}

std::string Document::redoName() const
{
    if (!strokeRuns_.empty())
        return {};
    const EditStep* s = history_.nextRedo();
    return s ? s->name : std::string();
}

Outcome<EditResult> Document::step(bool back)
{
    using R = Outcome<EditResult>;
    endStroke();
    if (back ? !history_.canUndo() : !history_.canRedo())
        return R::failure(EditResult::Refused, back ? "Nothing to undo." : "Nothing to redo.");
    const EditStep& s = back ? history_.stepBack() : history_.stepForward();
    applyRuns(rom_.romData, s.runs, !back);
    applyRuns(shadow_, s.runs, !back);

    // The image is now exactly as it was when the step's scene was current, so it decodes.
    const std::optional<SceneKey> target = s.scene ? s.scene : sceneKey_;
    const bool switched = target != sceneKey_;
    R result;
    if (target) {
        if (RomStatus st = decodeScene(rom_.romData, *target, scene_); st.ok()) {
            sceneKey_ = target;
        } else {
            sceneKey_.reset();
            result = R::failure(EditResult::Failed, st.message());
        }
    }
    notify({back ? DocumentEvent::Kind::Undone : DocumentEvent::Kind::Redone, switched ? part::All : s.parts, s.name,
            switched, s.focusX});
    return result;
}

Outcome<EditResult> Document::undo() { return step(true); }

Outcome<EditResult> Document::redo() { return step(false); }

Outcome<SaveResult> Document::save(bool keepBackup)
{
    if (!imageOpen_)
        return Outcome<SaveResult>::failure(SaveResult::IoError, "No file is open");
    return writeTo(path_, keepBackup, true);
}

Outcome<SaveResult> Document::saveAs(const std::string& path, bool keepBackup)
{
    if (!imageOpen_)
        return Outcome<SaveResult>::failure(SaveResult::IoError, "No file is open");
    return writeTo(path, keepBackup, false);
}

Outcome<SaveResult> Document::writeTo(const std::string& path, bool keepBackup, bool mustExist)
{
    using R = Outcome<SaveResult>;
    endStroke();
    const std::filesystem::path file = pathFromUtf8(path);
    // A save that cannot happen (a read-only file, a folder gone) leaves no backup behind.
    if (Outcome<WriteResult> w = checkWritable(file, mustExist, FileOwner::User); !w.ok())
        return R::failure(SaveResult::IoError, std::move(w.reason));
    // The backup keeps the file as it was before this program first wrote it: once there, it is
    // never written over (the user removes it to have a new one made).
    const std::string backup = path + ".bak";
    std::error_code ec;
    const std::filesystem::file_status backupStatus = std::filesystem::symlink_status(pathFromUtf8(backup), ec);
    if (keepBackup && std::filesystem::exists(backupStatus) && !std::filesystem::is_regular_file(backupStatus)) {
        // Something else stands where the backup goes (a link someone planted, a folder): no
        // backup can be kept, so nothing is written.
        return R::failure(SaveResult::BackupFailed,
                          checkWritable(pathFromUtf8(backup), false, FileOwner::Program).reason);
    }
    if (keepBackup && (path != path_ || backupDue_) && !std::filesystem::exists(backupStatus)) {
        bool present = false;
        Bytes original;
        if (std::string reason = readFileForBackup(file, present, original); !reason.empty())
            return R::failure(SaveResult::BackupFailed, std::move(reason));
        if (present) {
            if (Outcome<WriteResult> w = writeFileSafely(pathFromUtf8(backup), original, false, FileOwner::Program);
                !w.ok())
                return R::failure(SaveResult::BackupFailed, std::move(w.reason));
        }
    }
    // Kept once: should the save below fail halfway, a later one must not take the damaged file
    // for the original.
    if (path == path_)
        backupDue_ = false;
    if (Outcome<WriteResult> r = writeFileSafely(file, rom_.fileBytes(), mustExist, FileOwner::User); !r.ok())
        return R::failure(SaveResult::IoError, std::move(r.reason));
    path_ = path;
    saved_ = rom_.romData;
    backupDue_ = false;
    notify({DocumentEvent::Kind::Saved, 0, {}, false, kFocusNone});
    return {};
}

bool Document::isFileAsSaved(const Bytes& file) const
{
    const std::size_t head = rom_.romHeader.size() + rom_.trainer.size();
    return imageOpen_ && file.size() == head + saved_.size()
        && std::equal(rom_.romHeader.begin(), rom_.romHeader.end(), file.begin())
        && std::equal(rom_.trainer.begin(), rom_.trainer.end(),
                      file.begin() + static_cast<std::ptrdiff_t>(rom_.romHeader.size()))
        && std::equal(saved_.begin(), saved_.end(), file.begin() + static_cast<std::ptrdiff_t>(head));
}

bool Document::hasUnsavedChanges() const { return imageOpen_ && rom_.romData != saved_; }

void Document::notify(const DocumentEvent& event)
{
    if (listener_)
        listener_(event);
}

}  // namespace velmar
