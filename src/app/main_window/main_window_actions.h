#pragma once

#include <array>

#include <QList>

class QAction;
class QButtonGroup;
class QDockWidget;
class QMainWindow;
class QMenu;
class QString;
class QToolButton;

namespace velmar {

class Dialogs;
class Document;
struct Settings;

// Every menu of the main window with its entries, and the tool bar, by the names the program and
// its tests use. frmMain inherits them, as a window inherits the controls of its form, so that
// `frm.cmdFileSave` is the button; this class builds them all and keeps their captions and states
// in step with what they work on, and the window connects each to the command it runs, in one
// table. A new command of a menu is an entry here and a line of that table.
class MainWindowActions {
public:
    QMenu* menuFile = nullptr;
    QAction* menuFileLoadFile = nullptr;
    QAction* menuFileSaveFile = nullptr;
    QAction* menuFileSaveAs = nullptr;
    // A scene to and from a scene file or a Tiled map, one step each.
    QAction* menuFileExportScene = nullptr;
    QAction* menuFileImportScene = nullptr;
    QAction* menuFileExportTiled = nullptr;
    QAction* menuFileImportTiled = nullptr;
    QAction* menuFileExportMap = nullptr;
    QAction* menuFileCreatePatch = nullptr;
    QAction* menuFileApplyPatch = nullptr;
    std::array<QAction*, 5> menuFileRecentFiles{};
    QAction* menuFileExit = nullptr;

    QMenu* menuEdit = nullptr;
    QAction* menuEditUndo = nullptr;
    QAction* menuEditRedo = nullptr;
    // The actors of the mode, one at a time; their keys (Insert, Ctrl+D, Delete) are read by the
    // map and the lists, so the menu shows them without taking them.
    QAction* menuEditAddEnemy = nullptr;
    QAction* menuEditDuplicateEnemy = nullptr;
    QAction* menuEditDeleteEnemy = nullptr;
    QAction* menuEditAddItem = nullptr;
    QAction* menuEditDuplicateItem = nullptr;
    QAction* menuEditDeleteItem = nullptr;
    // A rectangle of the map (Shift+drag, or a drag with "Select" on): copy, cut, paste (a
    // floating copy placed by a click), fill with the chosen metatile, delete (metatile FF).
    QAction* menuEditCut = nullptr;
    QAction* menuEditCopy = nullptr;
    QAction* menuEditPaste = nullptr;
    QAction* menuEditFillSelection = nullptr;
    QAction* menuEditDelete = nullptr;
    QAction* menuEditSelectNone = nullptr;

    QMenu* menuView = nullptr;
    QAction* menuViewZoomIn = nullptr;
    QAction* menuViewZoomOut = nullptr;
    QAction* menuViewActualSize = nullptr;
    // Ctrl+G: the grid frame's next choice (none, metatiles, screens).
    QAction* menuViewGrid = nullptr;
    // The docks in their first arrangement again, all shown.
    QAction* menuViewResetLayout = nullptr;

    // The editor windows and the other commands of the tool bar, for the keyboard.
    QMenu* menuTools = nullptr;
    QAction* menuToolsBackgroundEditor = nullptr;
    QAction* menuToolsSpriteEditor = nullptr;
    QAction* menuToolsPaletteEditor = nullptr;
    QAction* menuToolsTextEditor = nullptr;
    QAction* menuToolsResizeMap = nullptr;
    QAction* menuToolsResizeItems = nullptr;
    QAction* menuToolsResizeEnemies = nullptr;
    QAction* menuToolsEraseMap = nullptr;
    QAction* menuToolsAreaInfo = nullptr;
    QAction* menuToolsRunEmulator = nullptr;

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
    // The menu bar, with `docks` shown and hidden from the View menu, and the tool bar.
    void buildMenus(QMainWindow& window, const QList<QDockWidget*>& docks);
    void buildToolBar(QMainWindow& window);
    // The recent-file entries show the settings' list; an empty place is hidden.
    void showRecentFiles(const Settings& settings);
    // Undo and redo name the step they would take, and are off when there is none.
    void showUndoRedo(const Document& document);
    // The commands on a selection of map cells, and Paste, as they apply.
    void showSelectionState(bool selected, bool canPaste);
    // Zoom In and Zoom Out as far as they go.
    void showZoom(int zoom);
    // Add works on a scene shown; Duplicate and Delete on a selected actor of their kind.
    void showActorCommands(bool scene, bool anyEnemy, bool anyItem);
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
