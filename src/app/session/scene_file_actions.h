#pragma once

#include <functional>

#include <QObject>

namespace velmar {

class Dialogs;
class EditorDocument;

// What the File menu's scene exchange does: "Export Scene...", "Import Scene...", "Export to
// Tiled..." and "Import from Tiled...". An import is one step of the history; before it changes values that
// other scenes of the stage share, it asks.
class SceneFileActions : public QObject {
    Q_OBJECT
public:
    // `settle` runs before each command: it takes in what is still being typed in a box.
    SceneFileActions(QObject* parent, EditorDocument& document, Dialogs& dialogs, std::function<void()> settle);

    // The File menu's commands, which work on the scene shown.
    void menuFileExportScene_Click();
    void menuFileImportScene_Click();
    void menuFileExportTiled_Click();
    void menuFileImportTiled_Click();

private:
    // Reads the chosen file and imports it with `import`, asking about shared values first.
    void importFile(const QString& filter, bool tiled);
    QString folder() const;

    EditorDocument& document_;
    Dialogs& dialogs_;
    std::function<void()> settle_;
};

}  // namespace velmar
