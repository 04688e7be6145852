#pragma once

#include <array>

#include <QList>

class QAction;
class QButtonGroup;
class QMainWindow;
class QMenu;
class QString;
class QToolButton;

namespace velmar {

class Dialogs;
class Document;
class SceneFileActions;
struct Settings;

// The main window's menus and tool buttons, by the names the program and its tests use. frmMain
// inherits them, as a window inherits the controls of its form, so that `frm.cmdFileSave` is
// the button; this class builds them and keeps their captions and states in step with the
// document, and the window connects them to its slots.
class MainWindowActions {
public:
    QMenu* menuFile = nullptr;
    QAction* menuFileLoadFile = nullptr;
    QAction* menuFileSaveFile = nullptr;
    QAction* menuFileSaveAs = nullptr;
    std::array<QAction*, 5> menuFileRecentFiles{};
    QAction* menuFileCreatePatch = nullptr;
    QAction* menuFileApplyPatch = nullptr;
    // Export Scene, Import Scene, Export to Tiled, Import from Tiled.
    SceneFileActions* sceneFileActions = nullptr;
    QAction* menuFileExportMap = nullptr;
    QAction* menuFileExit = nullptr;
    QMenu* menuView = nullptr;
    QAction* menuViewZoomIn = nullptr;
    QAction* menuViewZoomOut = nullptr;
    QAction* menuViewActualSize = nullptr;
    // Ctrl+G: the grid frame's next choice (none, metatiles, screens).
    QAction* menuViewGrid = nullptr;
    // The docks in their first arrangement again, all shown.
    QAction* menuViewResetLayout = nullptr;
    QMenu* menuEdit = nullptr;
    QAction* menuEditUndo = nullptr;
    QAction* menuEditRedo = nullptr;
    // A rectangle of the map (Shift+drag, or a drag with "Select" on): copy, cut, paste (a
    // floating copy placed by a click), fill with the chosen metatile, delete (metatile FF).
    QAction* menuEditCopy = nullptr;
    QAction* menuEditCut = nullptr;
    QAction* menuEditPaste = nullptr;
    QAction* menuEditFillSelection = nullptr;
    QAction* menuEditDelete = nullptr;
    QAction* menuEditSelectNone = nullptr;
    QAction* menuOptions = nullptr;
    QMenu* menuHelp = nullptr;
    // Every shortcut of the windows in one table, made from their actions when it opens.
    QAction* menuHelpShortcuts = nullptr;
    QAction* menuHelpReadme = nullptr;
    QAction* menuHelpAbout = nullptr;

    QToolButton* cmdSelect = nullptr;
    QToolButton* cmdFileLoad = nullptr;
    QToolButton* cmdFileSave = nullptr;
    QToolButton* cmdExitApp = nullptr;
    QToolButton* cmdUndo = nullptr;
    QToolButton* cmdRedo = nullptr;
    QToolButton* cmdTextEditor = nullptr;
    QToolButton* cmdMetatileEditor = nullptr;
    QToolButton* cmdAnimEdit = nullptr;
    QToolButton* cmdPaletteEdit = nullptr;
    QToolButton* cmdResizeMap = nullptr;
    QToolButton* cmdResizeItem = nullptr;
    QToolButton* cmdResizeEnemy = nullptr;
    QToolButton* cmdClearArea = nullptr;
    QToolButton* cmdAreaInfo = nullptr;
    QToolButton* cmdRunEmulator = nullptr;
    QToolButton* cmdBkgEdit = nullptr;
    QToolButton* cmdEnemyEdit = nullptr;
    QToolButton* cmdItemEdit = nullptr;
    QToolButton* cmdAll = nullptr;

protected:
    // The File, Edit, Options and Help menus (View and the map's edit commands are added with
    // the map), and the tool bar, connected to `window`'s slots.
    void buildMenus(QMainWindow& window);
    void buildToolBar(QMainWindow& window);
    // Add, Duplicate and Delete of enemies and items, in the Edit menu after Undo and Redo.
    void addActorCommands(const QList<QAction*>& actions);
    // The recent-file entries show the settings' list; an empty place is hidden.
    void showRecentFiles(const Settings& settings);
    // Undo and redo name the step they would take, and are off when there is none.
    void showUndoRedo(const Document& document);
    // What needs an open file.
    void setFileActionsEnabled(bool enabled);
    // What works on the scene shown; the file itself (save, patches, texts) stays at hand.
    void setSceneActionsEnabled(bool enabled);

    // Map, Enemy, Item and All: one of them is down.
    QButtonGroup* modeButtons_ = nullptr;
};

// Help > About.
void showAbout(Dialogs& dialogs);

}  // namespace velmar
