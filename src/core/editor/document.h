#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "editor/edit_history.h"
#include "rom/area_catalogue.h"
#include "rom/rom_file.h"
#include "scene/scene_state.h"

namespace velmar {

// What happened to the document, as every open window learns it.
struct DocumentEvent {
    enum class Kind { Opened, SceneSelected, Edited, Undone, Redone, Saved };
    Kind kind = Kind::Edited;
    Parts parts = 0;                   // what changed (all of it for Opened and SceneSelected)
    std::string stepName;              // the edit done, undone or redone
    bool sceneSwitched = false;        // another scene is current than before
    std::int32_t focusX = kFocusNone;  // the map pixel column the step was about, or kFocusNone
};

// What a user's change may touch: the decoded current scene, which is stored into the image
// afterwards, or the image itself (repacking, sprite frames, texts).
class EditContext {
public:
    // The current scene; asking for it marks it to be stored when the change is done. Only
    // valid when the document has a scene.
    SceneState& scene();
    Bytes& image();

private:
    friend class Document;
    explicit EditContext(class Document& document) : document_(document) { }
    Document& document_;
    bool sceneTouched_ = false;
};

// How a call of Document::edit ended.
enum class [[nodiscard]] EditResult{
    Recorded = 0,  // the image changed: one step in the history (or part of the open stroke)
    NoChange = 1,  // done, but no byte of the image changed: nothing recorded
    Refused = 2,   // the change said no; nothing changed
    Failed = 3,    // the changed scene could not be stored; nothing changed (see the reason)
};

// An edit that changed nothing has still succeeded: Outcome<EditResult>::ok() is true for both.
constexpr bool isSuccess(EditResult code) { return code == EditResult::Recorded || code == EditResult::NoChange; }

// How a save ended.
enum class [[nodiscard]] SaveResult : std::int16_t{
    Ok = 0,
    IoError = 1,       // the file could not be written; it is as it was
    BackupFailed = 2,  // the backup of the file could not be made, so nothing was written
};

// The open image and the scene being edited, and the one way they change.
//
// At every moment the document is the image (romData) plus which scene is current: the current
// scene is stored into the image by every edit that touches it and decoded afresh from it after
// every edit, undo and redo, so what every window shows is always what saving would write.
// Every change a user makes goes through edit(), which records the bytes it changed as one step
// of the history; undo() and redo() put them back and make the step's scene current again.
class Document {
public:
    using Listener = std::function<void(const DocumentEvent&)>;
    using Change = std::function<bool(EditContext&)>;

    // An EditSpec's focusX for a change that is about no place on the map (edit_history.h's).
    static constexpr std::int32_t kFocusNone = velmar::kFocusNone;

    struct EditSpec {
        std::string name;                  // "Place Metatile", as the Edit menu says it
        Parts parts = part::All;           // what the change may touch
        std::int32_t focusX = kFocusNone;  // the map pixel column it is about, or kFocusNone
    };

    Document();

    // Called after every change of the document, on the thread that made it.
    void setListener(Listener listener) { listener_ = std::move(listener); }

    // Opens a file: reads it (with the drive retry when `checkDrive` is set), refuses an image
    // too short for the game's tables, and on success replaces the image, its path, the bytes
    // last saved and the measured table room, clears the history, and leaves no scene current.
    // On failure nothing changes. The reason is the system's or the file's. `accept`, when given,
    // sees the image read (and its path) before it is taken, and may decline it (Declined).
    using Acceptance = std::function<bool(const RomImage& image, const std::string& path)>;
    Outcome<RomReadResult> open(const std::string& path, bool checkDrive, const std::vector<Volume>& volumes,
                                const Acceptance& accept = {});
    // Takes an image already in memory (the CLI, tests): as open() without the file.
    Outcome<RomReadResult> openImage(RomImage image, std::string path);
    // Takes back an image kept from a session that did not end properly: as openImage, but the
    // bytes last saved are `fileOnDisk`, the file at `path` as it is now (empty when it cannot
    // be read), so the image counts as unsaved unless it is exactly that file.
    Outcome<RomReadResult> openRecovered(RomImage image, std::string path, const Bytes& fileOnDisk);

    // Makes another scene current, decoding it from the image. When it cannot be read, the
    // scene shown before stays current and the reason comes back. Nothing is recorded.
    RomStatus selectScene(const SceneKey& key);

    // Carries out one named edit. `change` works on the context and returns false to refuse,
    // in which case nothing changes. A change that touched the scene has it stored; the bytes
    // it changed in the image become one step (or join the open stroke).
    Outcome<EditResult> edit(const EditSpec& spec, const Change& change);

    // A stroke (press, drag, release) is one step: the edits between beginStroke and endStroke
    // join the step the first of them makes, named after the stroke. Undo, redo, selecting a
    // scene or opening a file end an open stroke first.
    void beginStroke(const EditSpec& spec);
    void endStroke();
    bool inStroke() const { return stroke_.has_value(); }

    bool canUndo() const { return history_.canUndo() || !strokeRuns_.empty(); }
    bool canRedo() const { return history_.canRedo() && strokeRuns_.empty(); }
    // The names of the steps undo and redo would take back; empty when there is none.
    std::string undoName() const;
    std::string redoName() const;
    // Takes back the newest step (or does it again): its bytes go back into the image and its
    // scene becomes current.
    Outcome<EditResult> undo();
    Outcome<EditResult> redo();
    const EditHistory& history() const { return history_; }

    // Writes the image over its file (the image already holds every edit). With `keepBackup` the
    // first save since the file was opened first copies the file as it is on disk to the file's
    // name with ".bak" added (game.nes.bak), unless a backup is there already: the backup keeps
    // the file as it was before the program first changed it, and is never written over. When
    // that copy cannot be made, nothing is written (BackupFailed, with the reason). A save that
    // cannot happen (a missing or read-only file) fails before any backup is made.
    [[nodiscard]] Outcome<SaveResult> save(bool keepBackup);
    // Writes the image to `path` (a new file, or one the user chose to replace, whose backup is
    // kept as save() keeps one), which becomes the document's file: what is saved is measured
    // against it from now on.
    [[nodiscard]] Outcome<SaveResult> saveAs(const std::string& path, bool keepBackup);
    // True when saving would change the file.
    bool hasUnsavedChanges() const;
    // True when `file`, the bytes of the document's file as they are now, are what the document
    // last read from it or wrote to it: no other program has changed it since.
    bool isFileAsSaved(const Bytes& file) const;

    bool hasImage() const { return imageOpen_; }
    bool hasScene() const { return sceneKey_.has_value(); }
    const std::optional<SceneKey>& sceneKey() const { return sceneKey_; }
    const SceneState& scene() const { return scene_; }
    const SceneRecord& currentScene() const { return scene_.currentScene; }
    const RomImage& rom() const { return rom_; }
    const Bytes& romData() const { return rom_.romData; }
    const std::string& path() const { return path_; }
    // The whole file (header included) as it was when it was opened: what a patch of the edits
    // is made against.
    const Bytes& openedFile() const { return opened_; }
    // The room of the packed actor tables and texts, measured when the file was opened.
    RomOffset actorAreaEnd() const { return actorAreaEnd_; }
    RomOffset textAreaEnd() const { return textAreaEnd_; }

private:
    friend class EditContext;

    // The one way in for a new image: `saved` is the data its file holds (nullopt: the image's).
    // `opened` is the file as opened (nullopt: the image's own bytes).
    Outcome<SaveResult> writeTo(const std::string& path, bool keepBackup, bool mustExist);
    Outcome<RomReadResult> adopt(RomImage image, std::string path, std::optional<Bytes> saved,
                                 std::optional<Bytes> opened = std::nullopt);
    void rollBack();
    void notify(const DocumentEvent& event);
    Outcome<EditResult> step(bool back);

    RomImage rom_;
    std::string path_;
    bool imageOpen_ = false;
    Bytes saved_;
    Bytes opened_;
    // No save of this file has been made yet (nor its backup): the next one keeps a backup.
    bool backupDue_ = false;
    // The image as of the last completed change: what an edit's new bytes are compared with.
    Bytes shadow_;
    RomOffset actorAreaEnd_ = 0;
    RomOffset textAreaEnd_ = 0;
    std::optional<SceneKey> sceneKey_;
    SceneState scene_;
    EditHistory history_;
    // The open stroke and the runs of its edits so far; they become one step when it ends.
    std::optional<EditSpec> stroke_;
    std::vector<ByteRun> strokeRuns_;
    Parts strokeParts_ = 0;
    Listener listener_;
};

}  // namespace velmar
