#pragma once

#include <QTreeWidget>

#include "rom/area_catalogue.h"

namespace velmar {

class Dialogs;
class EditorDocument;
struct DocumentEvent;

// The tree of the game's stages and scenes. A click (or the keys) on a scene shows it; the tree
// follows the scene shown when an undo or a redo switches to another.
class AreaTreePanel : public QTreeWidget {
    Q_OBJECT
public:
    AreaTreePanel(EditorDocument& document, Dialogs& dialogs, QWidget* parent = nullptr);

    // The tree made afresh, every node open.
    void build();
    // The node of a stage or scene key ("c:000000"), or nullptr.
    QTreeWidgetItem* findNode(const QString& key);

public slots:
    // Shows the node's scene; one that cannot be read is named in a message, and the tree points
    // at the scene still shown.
    void nodeClick(QTreeWidgetItem* node);

private:
    void selectNode(const SceneKey& key);
    void document_Changed(const DocumentEvent& event);

    EditorDocument& document_;
    Dialogs& dialogs_;
    // The tree is being filled or pointed at a scene by the program, not by the user.
    bool building_ = false;
};

}  // namespace velmar
