#pragma once

#include <optional>

#include <QObject>
#include <QString>

#include "windows/editor_context.h"

class QFileSystemWatcher;
class QMimeData;
class QTimer;

namespace velmar {

// The open file: opening it (with the question about unsaved edits first), saving it, Save As,
// patches made of its edits or applied to it, and watching it for changes other programs make.
class DocumentFiles : public QObject {
    Q_OBJECT
public:
    // What the main window does around the file.
    class Host {
    public:
        // Takes a value still being typed into a box, as leaving the box does.
        virtual void commitPendingInput() = 0;
        // Before the file is saved, left or patched: the Text Editor's text being typed is stored,
        // and texts it could not store are dropped, or (false) the user stays.
        virtual bool settleTextEdits() = 0;
        // After a file is opened (or edits restored): caption, recent files, tree, and `scene`
        // (the first one when it is not given or cannot be found) shown in map mode.
        virtual void showOpenedFile(const std::optional<SceneKey>& scene) = 0;
        // The open file has another name: caption and recent files.
        virtual void showFileName() = 0;
        // Shows scene `key` of the open file.
        virtual void openScene(const SceneKey& key) = 0;

    protected:
        ~Host() = default;
    };

    // The open dialog starts in `dialogFolder`.
    DocumentFiles(const EditorContext& context, Host& host, const QString& dialogFolder);

    // Opens a file: with `showDialog` through the open dialog, else `path` (a recent file).
    // Unsaved edits are asked about first.
    void loadRom(bool showDialog, const QString& path);
    // Opens `path` as loadRom does; `askFirst` false skips the question about unsaved edits
    // (the user has answered one already).
    void openFile(const QString& path, bool askFirst);
    // A file was opened, or edits restored as unsaved changes of their file: the watch, the
    // open dialog, the recent files follow it, and the window shows it.
    void showOpened(const std::optional<SceneKey>& scene);
    void saveRom();
    void saveAs();
    // Saves with the backup option; a failure is shown. True when saved. A file another program
    // changed since is not written over unless the user says so.
    bool saveDocument();
    enum class Leaving { Closing, Opening };
    // Unsaved edits, the Text Editor's too, are saved or dropped as the user answers; false
    // when they chose to stay.
    bool confirmDiscardOrSave(Leaving why);

    // Patches: the edits as an IPS or BPS file, made against the file as it was opened (or an
    // original the user picks); and a patch applied to the open image as one step.
    void createPatch();
    void applyPatch();

    // Reads the open file again if another program changed it since it was opened or saved, and
    // asks whether to reload it: once per change, however many times the watcher hears of it.
    void checkFileOnDisk();
    // The window got the focus back: a change seen meanwhile is checked now.
    void windowActivated();

    // The one local .nes file a drag carries, or empty.
    static QString droppedRom(const QMimeData* mime);

private:
    const Document& doc() const { return ctx_.doc(); }
    // Shows why a save of `path` failed; nothing for a save that went well.
    void reportSaveFailure(const Outcome<SaveResult>& result, const QString& path);
    // Before a save over the open file: true when what is on disk is what was last read or
    // written, or the user says to save over it (or into the link now in its place).
    bool confirmSaveOverDisk();
    // The file watched for changes by other programs is the open one, and its folder, where it
    // comes back after another program removed it.
    void watchOpenFile();
    void renewWatch();
    void fileWatcher_Changed();
    void folderWatcher_Changed();
    // The file a link at `path` leads to, or empty when `path` is no link.
    static QString linkTarget(const QString& path);

    EditorContext ctx_;
    Dialogs& dialogs_;
    Workspace& workspace_;
    Host& host_;
    QString dialogFolder_;
    // The open file as other programs may change it: a change seen is checked when the window
    // has the focus; one the user chose not to reload is not asked about again until a save.
    QFileSystemWatcher* fileWatcher_ = nullptr;
    QTimer* tmrDiskCheck_ = nullptr;
    bool diskCheckDue_ = false;
    bool diskChangeKept_ = false;
    // The question about a change is up.
    bool asking_ = false;
    // Where the open file led when it was last read or written, when it was a link.
    QString linkTarget_;
};

}  // namespace velmar
