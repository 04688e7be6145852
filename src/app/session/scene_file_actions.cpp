#include "session/scene_file_actions.h"

#include <QFileInfo>

#include "dialogs.h"
#include "editor_document.h"
#include "exchange/scene_file.h"
#include "exchange/tiled_map.h"
#include "base/file_reader.h"
#include "base/file_writer.h"
#include "qt_bridge.h"

namespace velmar {

namespace {

constexpr const char* kSceneFilter = "Scene file (*.json)";
constexpr const char* kTiledFilter = "Tiled map (*.tmj)";

}  // namespace

SceneFileActions::SceneFileActions(QObject* parent, EditorDocument& document, Dialogs& dialogs,
                                   std::function<void()> settle)
    : QObject(parent), document_(document), dialogs_(dialogs), settle_(std::move(settle))
{
}

QString SceneFileActions::folder() const { return QFileInfo(qs(document_.doc().path())).absolutePath(); }

void SceneFileActions::menuFileExportScene_Click()
{
    if (!document_.doc().hasScene())
        return;
    settle_();
    const QString path = dialogs_.saveFile(folder(), kSceneFilter);
    if (path.isEmpty())
        return;
    const std::string text = exportScene(document_.doc());
    if (const Outcome<WriteResult> r =
            writeFileSafely(pathFromUtf8(ss(path)), Bytes(text.begin(), text.end()), false, FileOwner::User);
        !r.ok())
        dialogs_.message(fileMessageText("Unknown I/O error!", path, r.reason), Dialogs::Icon::Exclamation);
}

void SceneFileActions::menuFileExportTiled_Click()
{
    if (!document_.doc().hasScene())
        return;
    settle_();
    const QString path = dialogs_.saveFile(folder(), kTiledFilter);
    if (path.isEmpty())
        return;
    if (const Outcome<WriteResult> r = exportTiled(document_.doc(), ss(path)); !r.ok())
        dialogs_.message(qs(r.reason), Dialogs::Icon::Exclamation);
}

void SceneFileActions::menuFileImportScene_Click() { importFile(kSceneFilter, false); }

void SceneFileActions::menuFileImportTiled_Click() { importFile(kTiledFilter, true); }

void SceneFileActions::importFile(const QString& filter, bool tiled)
{
    Document& doc = document_.doc();
    if (!doc.hasScene())
        return;
    settle_();
    const QString path = dialogs_.openFile(folder(), filter);
    if (path.isEmpty())
        return;
    Bytes file;
    if (const std::string reason = readWholeFile(pathFromUtf8(ss(path)), file, kMaxSceneFileBytes,
                                                 "The file is larger than a scene file can be.");
        !reason.empty()) {
        dialogs_.message(fileMessageText("Error loading file!", path, reason), Dialogs::Icon::Exclamation);
        return;
    }
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    SceneDescription d;
    const Outcome<SceneImportResult> read = tiled ? readTiledMap(text, d) : readSceneFile(text, d);
    if (!read.ok()) {
        dialogs_.message("The file was not imported.\n" + qs(read.reason), Dialogs::Icon::Exclamation);
        return;
    }

    SharedValues shared = SharedValues::Keep;
    if (const std::vector<std::string> differences = sharedDifferences(doc.currentScene(), d); !differences.empty()) {
        QString text = "The file's values that other scenes share differ from this scene's:\n";
        for (const std::string& line : differences)
            text += "\n" + qs(line);
        text += "\n\nChange them for every scene that shares them?\n"
                "Yes: change them. No: keep this stage's values. Cancel: import nothing.";
        switch (dialogs_.askYesNoCancel(text)) {
        case Dialogs::Answer::Yes: shared = SharedValues::Change; break;
        case Dialogs::Answer::No: shared = SharedValues::Keep; break;
        case Dialogs::Answer::Cancel: return;
        }
    }
    const Outcome<SceneImportResult> r = importScene(doc, d, shared, tiled ? "Import from Tiled" : "Import Scene");
    if (r.code == SceneImportResult::NoChange)
        dialogs_.message("The file holds what the scene holds: nothing changed.");
    else if (!r.ok())
        dialogs_.message("The file was not imported.\n" + qs(r.reason), Dialogs::Icon::Exclamation);
}

}  // namespace velmar
