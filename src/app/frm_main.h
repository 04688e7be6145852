#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "map/actor_drag_tool.h"
#include "dialogs.h"
#include "session/document_files.h"
#include "map/edit_mode.h"
#include "editor/edits.h"
#include "editor/workspace.h"
#include "windows/editor_context.h"
#include "main_window/main_window_actions.h"
#include "mapview/map_region.h"
#include "editor_document.h"
#include "mapview/scene_view.h"
#include "panels/actors_panel.h"
#include "panels/map_view_panel.h"
#include "panels/properties_panel.h"
#include "map/map_cursor.h"
#include "map/map_selection.h"
#include "panels/area_tree_panel.h"
#include "panels/metatile_picker_panel.h"

class QKeyEvent;
class QComboBox;
class QDockWidget;
class QDragEnterEvent;
class QDropEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QScrollBar;
class QStatusBar;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmar {

class ActorSelection;
class EditorWindows;
class EmulatorLauncher;
class BitmapView;
class GridOptionsPanel;
class PaletteStrip;
class PropertiesPanel;
class RecoverySession;
class SceneFileActions;
class StatusMessages;
class WindowLayout;
class WindowLayoutWriter;
class WorkspaceFiles;
struct KeyHelp;

// The main window: the program's life, the area tree, the panels that show the current scene
// (map, metatile picker, grid options, palette), and the buttons that open the other windows.
// Every change goes through the shared document; the window redraws from its notifications.
// It hosts the editor windows, and hands the open file, the recovery copy, the workspace's files
// and the emulator to classes of their own.
class frmMain : public QMainWindow, public MainWindowActions, public EditorHost, private DocumentFiles::Host {
    Q_OBJECT
public:
    // `datFolder` and `userConfigFolder` are as WorkspaceFiles takes them. `recoveryFolder` keeps
    // the recovery copy of unsaved edits; empty: none is kept. Start-up runs here, with its
    // messages through `dialogs`, and offers the edits a copy holds back.
    frmMain(const QString& datFolder, const QString& userConfigFolder, const QString& recoveryFolder, Dialogs& dialogs,
            QWidget* parent = nullptr);
    // Without a recovery copy.
    frmMain(const QString& datFolder, const QString& userConfigFolder, Dialogs& dialogs, QWidget* parent = nullptr);
    // Leaves the recovery copy where it is: only a proper close removes it.
    ~frmMain() override;

    // Starts an external command; true when it started. Tests replace it.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;
    void setLauncher(Launcher launcher);
    // The README shipped with the program, which Help opens.
    void setReadmeFile(const QString& path) { readmeFile_ = path; }

    EditorDocument& document() { return *document_; }
    const Document& doc() const { return document_->doc(); }
    Workspace& workspace() { return workspace_; }
    // Every message and file dialog of the main window goes through here; the editor windows
    // have their own, over themselves.
    Dialogs& dialogs() { return dialogs_; }
    std::uint8_t brushMetatile() const { return metatilePicker->brushMetatile(); }
    bool exiting() const override { return exiting_; }
    // What the editor windows are given.
    EditorContext editorContext();
    // The map cells selected (empty: none), what Copy took, and whether a paste floats.
    const CellRect& selection() const { return mapView->selectionTool().selection(); }
    const MapBlock& clipboard() const { return mapView->selectionTool().clipboard(); }
    bool pasting() const { return mapView->selectionTool().pasting(); }
    // The play-test copy the emulator was last given; empty when there is none.
    QString playTestPath() const;
    // The session ends without a window to ask in (the system logs out or stops the program):
    // unsaved edits go to the recovery copy now and stay there for the next start, the settings
    // are kept, the play-test copy goes, and the program quits.
    void endSession();
    // The system is about to end the session and asks every program to keep its data first
    // (Windows: a logout or a shutdown, which another program may still cancel): unsaved edits go
    // to the recovery copy now, and the editor goes on. When the session does end, endSession().
    void keepUnsavedEdits();
    // The recovery copy in the recovery folder; empty when none is kept (no folder, or another
    // running editor keeps its copy there).
    QString recoveryFile() const;
    // Returns when the recovery copy on disk is as the last write or removal asked leaves it.
    void waitForRecoveryWriter();

    // Opens a file: with `showDialog` through the open dialog, else `path` (a recent file).
    // Unsaved edits are asked about first.
    void loadRom(bool showDialog, const QString& path) { files_->loadRom(showDialog, path); }
    void saveRom() { files_->saveRom(); }
    // Reads the open file again if another program changed it since it was opened or saved, and
    // asks whether to reload it. Runs when the window gets the focus back.
    void checkFileOnDisk() { files_->checkFileOnDisk(); }
    void reportSuccess(const QString& text) override;
    void settingsChanged() override;
    // The scene nodes of the tree, for selection by key.
    QTreeWidgetItem* findNode(const QString& key) const { return areaTree->findNode(key); }

    // Fires a few seconds after the last change while there are unsaved edits, and writes the
    // recovery copy.
    QTimer* tmrRecovery = nullptr;

    // Controls, by the names the rest of the program and its tests use. The panels own them.
    // The parts around the map are docks, which the user can move, tab together, float and hide
    // (the View menu); their arrangement is kept between runs, and View > Reset Layout brings
    // back the first one.
    QDockWidget* dockAreaTree = nullptr;
    QDockWidget* dockMetatiles = nullptr;
    QDockWidget* dockPalettes = nullptr;
    QDockWidget* dockGrid = nullptr;
    QDockWidget* dockActors = nullptr;
    QDockWidget* dockProperties = nullptr;
    QList<QDockWidget*> docks() const;
    // Where the arrangement of the windows is kept between runs.
    QString layoutFile() const;

    AreaTreePanel* areaTree = nullptr;

    MapViewPanel* mapView = nullptr;
    MetatilePickerPanel* metatilePicker = nullptr;
    GridOptionsPanel* fraGrid = nullptr;
    PaletteStrip* paletteStrip = nullptr;
    // Where the actor lists and the scene properties panel go.
    QWidget* actorListsPlace = nullptr;
    QWidget* propertiesPlace = nullptr;

    // The actor lists and the selected actor's boxes.
    ActorsPanel* actorLists = nullptr;

    // The stage and scene properties panel.
    PropertiesPanel* propertiesPanel = nullptr;
    QStatusBar* mainStatusBar = nullptr;

public slots:
    void tmrRecovery_Timer();
    void menuFileLoadFile_Click();
    void menuFileSaveFile_Click();
    void menuFileSaveAs_Click();
    void menuFileCreatePatch_Click();
    // The map as velmar-cli render draws it, with the actors the mode shows, as a PNG file.
    void menuFileExportMap_Click() { mapView->exportMap(); }
    void menuViewZoomIn_Click() { setMapZoom(mapView->zoom() + 1); }
    void menuViewZoomOut_Click() { setMapZoom(mapView->zoom() - 1); }
    void menuViewActualSize_Click() { setMapZoom(1); }
    void menuViewGrid_Click();
    void menuViewResetLayout_Click() { resetLayout(); }
    // The map at `zoom` (1..4): the map column at `viewX` of the window (its centre for -1)
    // stays where it is.
    void setMapZoom(int zoom, int viewX = -1) { mapView->setMapZoom(zoom, viewX); }
    void menuEditCopy_Click() { mapView->selectionTool().copy(); }
    void menuEditCut_Click() { mapView->selectionTool().cut(); }
    void menuEditPaste_Click() { mapView->selectionTool().paste(); }
    void menuEditFillSelection_Click() { mapView->selectionTool().fill(); }
    void menuEditDelete_Click() { mapView->selectionTool().erase(); }
    void menuEditSelectNone_Click() { mapView->selectionTool().selectNone(); }
    void menuFileApplyPatch_Click();
    void menuFileRecentFiles_Click(int index);
    void menuFileExit_Click();
    void menuEditUndo_Click();
    void menuEditRedo_Click();
    void menuOptions_Click();
    void menuHelpShortcuts_Click();
    void menuHelpReadme_Click();
    void menuHelpAbout_Click();
    void cmdPaletteEdit_Click();
    void cmdMetatileEditor_Click();
    void cmdAnimEdit_Click();
    void cmdResizeMap_Click();
    void cmdResizeItem_Click();
    void cmdResizeEnemy_Click();
    void cmdTextEditor_Click();
    void cmdFileLoad_Click();
    void cmdFileSave_Click();
    void cmdExitApp_Click();
    void cmdUndo_Click();
    void cmdRedo_Click();
    void cmdClearArea_Click() { mapView->clearArea(); }
    void cmdAreaInfo_Click();
    void cmdRunEmulator_Click();
    void cmdBkgEdit_Click();
    void cmdEnemyEdit_Click();
    void cmdItemEdit_Click();
    void cmdAll_Click();
    void tvAreaList_NodeClick(QTreeWidgetItem* node) { areaTree->nodeClick(node); }
    void picRenderDest_MouseDown(QPoint at, Qt::MouseButton button) { mapView->picRenderDest_MouseDown(at, button); }
    void picRenderDest_MouseMove(QPoint at, Qt::MouseButtons buttons) { mapView->picRenderDest_MouseMove(at, buttons); }
    void picRenderDest_MouseUp(QPoint at, Qt::MouseButton button) { mapView->picRenderDest_MouseUp(at, button); }
    void picBkgNat_MouseDown(QPoint at, Qt::MouseButton button) { metatilePicker->picBkgNat_MouseDown(at, button); }

    // The markers' drags and the position prompts: the actors panel does the work
    // (panels/actors_panel.h, map/actor_drag_tool.h).
    void txtEnemyEdit_B_DblClick() { actorLists->promptPosition(ActorKind::Enemy); }
    void txtItemEdit_X_DblClick() { actorLists->promptPosition(ActorKind::Item); }
    void picEnemy_MouseDown(int index, QPoint point) { actorLists->drags().press(MapMarker::Enemy, index, point); }
    void picEnemy_MouseMove(int index, QPoint point) { actorLists->drags().move(MapMarker::Enemy, index, point); }
    void picEnemy_MouseUp(int index, QPoint point) { actorLists->drags().release(MapMarker::Enemy, index, point); }
    void picPwrUp_MouseDown(int index, QPoint point) { actorLists->drags().press(MapMarker::Item, index, point); }
    void picPwrUp_MouseUp(int index, QPoint point) { actorLists->drags().release(MapMarker::Item, index, point); }
    void linePlayerPos_MouseDown(QPoint point) { actorLists->drags().press(MapMarker::PlayerLine, 0, point); }
    void linePlayerPos_MouseMove(QPoint point) { actorLists->drags().move(MapMarker::PlayerLine, 0, point); }
    void linePlayerPos_MouseUp(QPoint point) { actorLists->drags().release(MapMarker::PlayerLine, 0, point); }
    void picMainCharacterSpawn_MouseDown(QPoint point) { actorLists->drags().press(MapMarker::PlayerStart, 0, point); }
    void picMainCharacterSpawn_MouseUp(QPoint point) { actorLists->drags().release(MapMarker::PlayerStart, 0, point); }

public:
    int selectedEnemy() const { return actorLists->selected(ActorKind::Enemy); }
    int selectedItem() const { return actorLists->selected(ActorKind::Item); }
    EditMode editMode() const { return editMode_; }
    // The map cell the outline marks: where the pointer is over the map, or where the arrow keys
    // moved it. Space or Enter on the map does there what a click does.
    MapCell mapCursor() const { return mapView->cursor().cell(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildCentralArea();
    // Every command of the menus and the tool bar to what runs it, and the menus to the panels
    // whose state they show.
    void connectActions();
    void startUp();
    // DocumentFiles::Host: what the window does around the open file.
    void showOpenedFile(const std::optional<SceneKey>& scene) override;
    void showFileName() override;
    void openScene(const SceneKey& key) override;
    void setEditingEnabled(bool enabled);
    // The controls that work on the scene shown: off while none is.
    void setSceneControlsEnabled(bool enabled);
    void setCaption();
    void setModeButtons(EditMode mode);
    // The one place a mode takes effect: which markers show, what the map's mouse does, which
    // mode button is down.
    void applyEditMode(EditMode mode);

    // Tree, scene and document: the panels follow the document themselves; the window keeps its
    // caption, its commands, the controls a scene enables, and the scroll to an undone step.
    void buildAreaTree() { areaTree->build(); }
    void document_Changed(const DocumentEvent& event);
    void clearSceneView();
    void refreshEditActions() { showUndoRedo(doc()); }

    // The actors and properties panels (frm_main_actors.cpp).
    void buildActorLists();
    void buildPropertiesPanel();
    // The arrow keys move the selected actor a column or a row, as a drag does.
    bool moveSelectedActorByKey(const QKeyEvent& key) { return actorLists->drags().moveByKey(key); }
    // Takes a value still being typed into a box, as leaving the box does; the box may be in
    // another of the program's windows.
    void commitPendingInput() override;
    bool settleTextEdits() override;
    void fitToScreen();
    // The docks in their first arrangement, all shown.
    void resetLayout();
    // The resize dialog for the map (0), the items (1) or the enemies (2).
    void openResizeDialog(int editType);

    // The dialogs the window is given, opened over it.
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs& dialogs_;

    Workspace workspace_;
    EditorDocument* document_ = nullptr;
    ActorSelection* actorSelection_ = nullptr;
    SceneFileActions* sceneFiles_ = nullptr;
    EditMode editMode_ = EditMode::Map;
    bool exiting_ = false;
    QString readmeFile_;

    // The properties panel goes with the members, before QWidget's destructor hides the window:
    // a box that loses the focus then makes no edit that a half-destroyed window would hear of.
    std::unique_ptr<PropertiesPanel> propertiesOwner_;

    std::unique_ptr<WorkspaceFiles> workspaceFiles_;
    std::unique_ptr<WindowLayout> layout_;
    WindowLayoutWriter* layoutWriter_ = nullptr;
    std::unique_ptr<EmulatorLauncher> emulator_;
    std::unique_ptr<EditorWindows> windows_;
    StatusMessages* statusMessages_ = nullptr;
    std::unique_ptr<RecoverySession> recovery_;
    std::unique_ptr<DocumentFiles> files_;
};

}  // namespace velmar
