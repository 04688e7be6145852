#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QList>
#include <QPoint>
#include <QWidget>

#include "actors/actor_placement.h"
#include "editor/document.h"
#include "editor/edits.h"
#include "map/edit_mode.h"

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QMenu;
class QToolButton;

namespace velmar {

class ActorDragTool;
class ActorSelection;
class Dialogs;
class EditorDocument;
class MapViewPanel;
struct DocumentEvent;
struct Workspace;

// What the actors panel works with: the shared document, the dialogs, the type names, the map its
// markers stand on, the selected actors (which the map marks), and the window's edit mode, which
// selecting an actor of a kind turns to that kind's mode (`setMode` applies a mode everywhere).
struct ActorsContext {
    EditorDocument& document;
    Dialogs& dialogs;
    const Workspace& workspace;
    MapViewPanel& map;
    ActorSelection& selection;
    std::function<EditMode()> mode;
    std::function<void(EditMode)> setMode;
    // A word for the status bar: why a key or a drag stopped, what a typed value takes.
    std::function<void(const QString&)> status;
};

// The enemies and items of the current scene: a list of each, one line per actor (an actor past
// the map's end marked so), the boxes of the selected enemy and item (positions typed in, or b
// and x by a prompt that a double-click opens; and the type selectors), which actor of each kind
// is selected (the ActorSelection, which the map marks), and through drags() the markers' drags
// and the arrow keys. Actors are added (at the pointer, of the type the selector shows), deleted
// and duplicated one at a time: by the buttons beside each list, the Edit menu's commands
// (the main window's), the map's context menu in the actor modes, and Insert, Delete and Ctrl+D on the
// map or a list. Enemies and items go through the same routines, told apart by their ActorKind.
// The panel follows each change of the document once the map has drawn it.
class ActorsPanel : public QWidget {
    Q_OBJECT
public:
    explicit ActorsPanel(ActorsContext context, QWidget* parent = nullptr);
    ~ActorsPanel() override;

    QListWidget* lstEnemyList = nullptr;
    QListWidget* lstItemList = nullptr;
    QGroupBox* fraEnemyEdit = nullptr;
    QLineEdit* txtEnemyEdit_B = nullptr;
    QLineEdit* txtEnemyEdit_X = nullptr;
    QLineEdit* txtEnemyEdit_Y = nullptr;
    QComboBox* cmbEnemyList = nullptr;
    QGroupBox* fraItemEdit = nullptr;
    QLineEdit* txtItemEdit_X = nullptr;
    QLineEdit* txtItemEdit_Y = nullptr;
    QComboBox* cmbItemList = nullptr;
    // Beside each list: add an actor of the kind, duplicate the selected one, delete it.
    QToolButton* cmdAddEnemy = nullptr;
    QToolButton* cmdDuplicateEnemy = nullptr;
    QToolButton* cmdDeleteEnemy = nullptr;
    QToolButton* cmdAddItem = nullptr;
    QToolButton* cmdDuplicateItem = nullptr;
    QToolButton* cmdDeleteItem = nullptr;

    EditMode mode() const { return context_.mode(); }
    int selected(ActorKind kind) const;
    ActorDragTool& drags() { return *drags_; }

    // Actor `index` of `kind` becomes the selected one: the mode turns to the kind's, its line
    // and boxes show it, and the map marks it, scrolling to it with `scroll`. Nothing happens for
    // an actor that is not there.
    void select(ActorKind kind, int index, bool scroll = true);
    // The kind's mode button: actor 0, if there is one, is selected.
    void selectFirst(ActorKind kind) { select(kind, 0); }
    // Shows actor `index` as the selected one after it was edited (its list may have reordered);
    // the mode stays. With `withPlayerLine` the scroll shows the enemy's player line too.
    void follow(ActorKind kind, int index, bool scroll, bool withPlayerLine = true);
    // Actor `index` of its kind becomes `actor`, as one step named `name`; a failure is shown.
    // Returns where the actor is afterwards: the lists are kept sorted.
    std::size_t store(std::size_t index, const Actor& actor, const std::string& name);

    // A line clicked; the current line moved by the keyboard (or set by the focus coming in),
    // which in another mode only shows that actor in the boxes; a type chosen in a selector
    // (its entry `index`); the prompt for the enemy's b or the item's x.
    void lineChosen(ActorKind kind);
    void lineMoved(ActorKind kind);
    void typeChosen(ActorKind kind, int index);
    void promptPosition(ActorKind kind);
    // Box `box` of the kind's position boxes (an enemy's b, column, row; an item's x, y) was
    // typed into: the value, checked as the prompt checks it, moves the selected actor.
    void positionTyped(ActorKind kind, std::size_t box);

    // "Add Enemy" / "Add Item": a new actor of the type the selector shows, at map pixel `at`
    // (by default where the pointer is over the map, else the middle of the map's window),
    // selected afterwards. "Delete ..." and "Duplicate ..." act on the kind's selected actor.
    void addActor(ActorKind kind, std::optional<QPoint> at = std::nullopt);
    void deleteActor(ActorKind kind);
    void duplicateActor(ActorKind kind);
    // One of the three above, as the buttons and the Edit menu run it.
    void run(edits::ActorCommand command, ActorKind kind);
    // The map's context menu for map pixel `at` in the actor modes: add there, duplicate and
    // delete the selected actor. Empty in the other modes.
    std::unique_ptr<QMenu> contextMenu(QPoint at);

    // Shows `text` in the status bar.
    void say(const QString& text) const;

    // A new scene: both lists filled, actor 0 of the mode selected.
    void showScene(bool scroll);
    // After an edit, undo or redo: the lists and boxes follow the scene, the selection stays
    // within the lists.
    void refresh(bool scroll);
    // No scene: empty lists and boxes.
    void clear();
    void showLists();

signals:
    // What the commands work on changed: a scene shown, a selected enemy, a selected item.
    void commandsChanged(bool scene, bool anyEnemy, bool anyItem);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls of one kind.
    struct Side {
        QListWidget* list = nullptr;
        QComboBox* type = nullptr;
        std::vector<QLineEdit*> boxes;
    };
    Side& side(ActorKind kind) { return sides_[static_cast<std::size_t>(kind)]; }
    const Side& side(ActorKind kind) const { return sides_[static_cast<std::size_t>(kind)]; }
    void buildControls();
    std::optional<Actor> actor(ActorKind kind, int index) const;
    void showDetails(ActorKind kind, int index);
    void buildCommands();
    void showCommandStates();
    // Insert, Delete and Ctrl+D for the kind's actors; true when the key was one of them.
    bool commandKey(ActorKind kind, const QKeyEvent& key);
    // Where "Add" puts an actor when no place is given.
    QPoint addPoint() const;
    // Shows the actor of `kind` that a command left at `index`, or reports its failure.
    void commandDone(ActorKind kind, const Outcome<EditResult>& result, std::size_t index);
    // The map drew `event`'s change.
    void map_SceneDrawn(const DocumentEvent& event);

    ActorsContext context_;
    std::array<Side, 2> sides_;
    // The map pixel last under the pointer, while it is over the map.
    std::optional<QPoint> pointer_;
    std::unique_ptr<ActorDragTool> drags_;
    // The map's picture, whose keys this panel watches; compared only, so that the events it
    // gets while the main window is taken down never reach into the map or the window.
    const QObject* mapPicture_ = nullptr;
};

// What Add, Duplicate or Delete of `kind` does, with its key, for buttons and menus.
QString actorCommandTip(edits::ActorCommand command, ActorKind kind);

}  // namespace velmar
