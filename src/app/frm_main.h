#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "dialogs.h"
#include "edit_mode.h"
#include "editor/edits.h"
#include "editor/workspace.h"
#include "editor_document.h"
#include "map_cursor.h"
#include "map_selection.h"
#include "panels/area_tree_panel.h"
#include "panels/map_view_panel.h"
#include "panels/metatile_picker_panel.h"

class QAction;
class QButtonGroup;
class QKeyEvent;
class QComboBox;
class QDragEnterEvent;
class QDropEvent;
class QFileSystemWatcher;
class QGroupBox;
class QLabel;
class QLineEdit;
class QLockFile;
class QListWidget;
class QMenu;
class QRadioButton;
class QScrollBar;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmar {

class ActorListsPanel;
class BitmapView;
class GridOptionsPanel;
class PaletteStrip;
class PropertiesPanel;
class RecoveryWriter;
class frmBkgEdit;
class frmSprEdit;
class frmRomExpansion;
class frmTextEdit;
class frmOptions;
class frmPalEdit;
class frmShortcuts;
class PlayTestCopy;

// The main window: the program's life, the area tree, the panels that show the current scene
// (map, metatile picker, grid options, palette), and the buttons that open the other windows.
// Every change goes through the shared document; the window redraws from its notifications.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // `datFolder` holds TBL.DAT, ITEM.DAT, ENEMY.DAT and, where it can be written, VELMAR.INI;
    // the program folder is its parent. `userConfigFolder` keeps VELMAR.INI otherwise.
    // `recoveryFolder` keeps the recovery copy of unsaved edits; empty: none is kept. Start-up
    // runs here, with its messages through `dialogs`, and offers the edits a copy holds back.
    frmMain(const QString& datFolder, const QString& userConfigFolder, const QString& recoveryFolder,
            Dialogs& dialogs, QWidget* parent = nullptr);
    // Without a recovery copy.
    frmMain(const QString& datFolder, const QString& userConfigFolder, Dialogs& dialogs, QWidget* parent = nullptr);
    // Leaves the recovery copy where it is: only a proper close removes it.
    ~frmMain() override;

    // Starts an external command; true when it started. Tests replace it.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;
    void setLauncher(Launcher launcher) { launcher_ = std::move(launcher); }
    // The README shipped with the program, which Help opens.
    void setReadmeFile(const QString& path) { readmeFile_ = path; }

    EditorDocument& document() { return *document_; }
    const Document& doc() const { return document_->doc(); }
    Workspace& workspace() { return workspace_; }
    // Every message and file dialog of the program's windows goes through here.
    Dialogs& dialogs() { return dialogs_; }
    std::uint8_t brushMetatile() const { return metatilePicker->brushMetatile(); }
    bool exiting() const { return exiting_; }
    // The map cells selected (empty: none), what Copy took, and whether a paste floats.
    const CellRect& selection() const { return mapView->selectionTool().selection(); }
    const MapBlock& clipboard() const { return mapView->selectionTool().clipboard(); }
    bool pasting() const { return mapView->selectionTool().pasting(); }
    // The play-test copy the emulator was last given; empty when there is none.
    QString playTestPath() const { return playTestPath_; }
    // The session ends without a window to ask in (the system logs out or stops the program):
    // unsaved edits go to the recovery copy now and stay there for the next start, the settings
    // are kept, the play-test copy goes, and the program quits.
    void endSession();
    // The recovery copy in the recovery folder; empty when none is kept (no folder, or another
    // running editor keeps its copy there).
    QString recoveryFile() const;
    // Returns when the recovery copy on disk is as the last write or removal asked leaves it.
    void waitForRecoveryWriter();

    // Opens a file: with `showDialog` through the open dialog, else `path` (a recent file).
    // Unsaved edits are asked about first.
    void loadRom(bool showDialog, const QString& path);
    void saveRom();
    // Reads the open file again if another program changed it since it was opened or saved, and
    // asks whether to reload it (frm_main_files.cpp). Runs when the window gets the focus back.
    void checkFileOnDisk();
    // A load, save or resize that worked: a message box, or with the option off the status bar
    // for five seconds. Failures are always message boxes.
    void reportSuccess(const QString& text);
    // The full redraw of the current scene: sheet, map, palette, grid and actor markers.
    void unloadSubEditor_refresh();
    // After an item or enemy count change: the item list, then the enemy list, filled afresh.
    void unloadResizeEditor_refresh() { refreshItemList(); refreshEnemyList(); }
    // The scene nodes of the tree, for selection by key.
    QTreeWidgetItem* findNode(const QString& key) const { return areaTree->findNode(key); }

    // Fires a few seconds after the last change while there are unsaved edits, and writes the
    // recovery copy.
    QTimer* tmrRecovery = nullptr;

    // Controls, by the names the rest of the program and its tests use. The panels own them.
    // The panels side by side: the area tree, the map and picker, the actor and property panels.
    QSplitter* splMain = nullptr;
    // Where the window's size, place and panel sizes are kept between runs: a file of its own in
    // the user's configuration folder (the data folder when there is none), so that VELMAR.INI
    // keeps its own line rules.
    QString layoutFile() const;

    QMenu* menuFile = nullptr;
    QAction* menuFileLoadFile = nullptr;
    QAction* menuFileSaveFile = nullptr;
    QAction* menuFileSaveAs = nullptr;
    std::array<QAction*, 5> menuFileRecentFiles{};
    QAction* menuFileCreatePatch = nullptr;
    QAction* menuFileApplyPatch = nullptr;
    QAction* menuFileExportMap = nullptr;
    QAction* menuFileExit = nullptr;
    QMenu* menuView = nullptr;
    QAction* menuViewZoomIn = nullptr;
    QAction* menuViewZoomOut = nullptr;
    QAction* menuViewActualSize = nullptr;
    // Ctrl+G: the grid frame's next choice (none, metatiles, screens).
    QAction* menuViewGrid = nullptr;
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

    AreaTreePanel* areaTree = nullptr;
    QTreeWidget* tvAreaList = nullptr;

    MapViewPanel* mapView = nullptr;
    QWidget* picContainer = nullptr;
    BitmapView* picRenderDest = nullptr;
    QScrollBar* hscrollRenderer = nullptr;
    MetatilePickerPanel* metatilePicker = nullptr;
    QWidget* picContMetatiles = nullptr;
    BitmapView* picBkgNat = nullptr;
    QScrollBar* vMetaRenderer = nullptr;
    BitmapView* picSelectedMetatile = nullptr;
    QLabel* lblSelMetatile = nullptr;
    GridOptionsPanel* fraGrid = nullptr;
    QRadioButton* optNone = nullptr;
    QRadioButton* optShowMetatile = nullptr;
    QRadioButton* optShowScreen = nullptr;
    QScrollBar* hscrGridColor = nullptr;
    PaletteStrip* paletteStrip = nullptr;
    std::array<QLabel*, 32> lblPal{};
    // Where the actor lists and the scene properties panel go.
    QWidget* actorListsPlace = nullptr;
    QWidget* propertiesPlace = nullptr;

    // The actor lists and the selected actor's boxes.
    ActorListsPanel* actorLists = nullptr;
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

    // The stage and scene properties panel.
    PropertiesPanel* propertiesPanel = nullptr;
    QGroupBox* fraStageProperties = nullptr;
    QLineEdit* txtBKGbank = nullptr;
    QLineEdit* txtTime = nullptr;
    QLineEdit* txtIndicator = nullptr;
    QLineEdit* txtReload = nullptr;
    std::array<QLineEdit*, 4> txtBKGPal{};
    QGroupBox* fraSceneProperties = nullptr;
    std::array<QRadioButton*, 2> opt_Direction{};
    QLineEdit* txtSPRbank = nullptr;
    QLineEdit* txtLen = nullptr;
    QLineEdit* txtStartX = nullptr;
    QLineEdit* txtStartY = nullptr;
    QLineEdit* txtEnemyC = nullptr;
    QLineEdit* txtItemC = nullptr;
    std::array<QLineEdit*, 4> txtSPRPal{};
    QStatusBar* mainStatusBar = nullptr;

    BitmapView* picMainCharacterSpawn = nullptr;
    QLabel* lblSelActorHighlight = nullptr;
    BitmapView* linePlayerPos = nullptr;

public slots:
    void tmrRecovery_Timer();
    void menuFileLoadFile_Click();
    void menuFileSaveFile_Click();
    void menuFileSaveAs_Click();
    // Patches: the edits as an IPS or BPS file, made against the file as it was opened (or an
    // original the user picks); and a patch applied to the open image as one step.
    void menuFileCreatePatch_Click();
    // The map as velmar-cli render draws it, with the actors the mode shows, as a PNG file.
    void menuFileExportMap_Click() { mapView->exportMap(); }
    void menuViewZoomIn_Click() { setMapZoom(mapView->zoom() + 1); }
    void menuViewZoomOut_Click() { setMapZoom(mapView->zoom() - 1); }
    void menuViewActualSize_Click() { setMapZoom(1); }
    void menuViewGrid_Click();
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

    // Actors (frm_main_actors.cpp).
    void lstEnemyList_Click();
    void lstItemList_Click();
    // The keyboard moved a list's current line (or Tab's focus set it): in the list's own mode
    // the actor is selected; in another mode its boxes show it and the mode stays.
    void lstEnemyList_Change();
    void lstItemList_Change();
    void cmbEnemyList_Click(int index);
    void cmbItemList_Click(int index);
    void txtEnemyEdit_B_DblClick();
    void txtItemEdit_X_DblClick();
    void picEnemy_MouseDown(int index, QPoint point);
    void picEnemy_MouseMove(int index, QPoint point);
    void picEnemy_MouseUp(int index, QPoint point);
    void picPwrUp_MouseDown(int index, QPoint point);
    void picPwrUp_MouseMove(int index, QPoint point);
    void picPwrUp_MouseUp(int index, QPoint point);
    void linePlayerPos_MouseDown(QPoint point);
    void linePlayerPos_MouseMove(QPoint point);
    void linePlayerPos_MouseUp(QPoint point);
    void picMainCharacterSpawn_MouseDown(QPoint point);
    void picMainCharacterSpawn_MouseMove(QPoint point);
    void picMainCharacterSpawn_MouseUp(QPoint point);

    // Properties panel (frm_main_properties.cpp).
    // The time limit, stage indicator and game-over reload are taken when their box loses the
    // focus; the banks and palette selectors also as soon as two characters are typed.
    void txtBKGbank_Change();
    void txtBKGbank_LostFocus();
    void txtTime_LostFocus();
    void txtIndicator_LostFocus();
    void txtReload_LostFocus();
    void txtBKGPal_Change(int index);
    void txtBKGPal_LostFocus(int index);
    void opt_Direction_Click(int index);
    void txtSPRbank_Change();
    void txtSPRbank_LostFocus();
    void txtSPRPal_Change(int index);
    void txtSPRPal_LostFocus(int index);

public:
    void selectEnemy(int index, QPoint grab = QPoint());
    void selectItem(int index, QPoint grab = QPoint());
    void promptEnemyB();
    void promptItemX();
    // The fill of the properties panel from the current scene.
    void refreshPropertyPanel();
    int selectedEnemy() const { return selectedEnemy_; }
    int selectedItem() const { return selectedItem_; }
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
    void buildMenus();
    void buildToolBar();
    void buildCentralArea();
    void startUp();
    void loadNameLists();
    // After a file is opened (or edits restored): caption, recent files, tree, and `scene` (the
    // first one when it is not given or cannot be found) shown in map mode.
    void showOpenedFile(const std::optional<SceneKey>& scene);
    // Saves with the backup option; a failure is shown. True when saved. A file another program
    // changed since is not written over unless the user says so.
    bool saveDocument();
    // Shows why a save of `path` failed; nothing for a save that went well.
    void reportSaveFailure(const Outcome<SaveResult>& result, const QString& path);
    // Opens `path` as loadRom does; `askFirst` false skips the question about unsaved edits
    // (the user has answered one already).
    void openFile(const QString& path, bool askFirst);
    // The file watched for changes by other programs is the open one.
    void watchOpenFile();
    void fileWatcher_Changed();
    void setEditingEnabled(bool enabled);
    // The controls that work on the scene shown: off while none is.
    void setSceneControlsEnabled(bool enabled);
    void refreshRecentFileCaptions();
    void setCaption();
    void setModeButtons(EditMode mode);
    // The one place a mode takes effect: which markers show, what the map's mouse does, which
    // mode button is down.
    void applyEditMode(EditMode mode);
    // Shows the enemy and item markers that the mode shows, hides the others.
    void showModeMarkers();

    // Tree, scene and document: the panels follow the document themselves; the window keeps its
    // caption, its commands and the panels that do not yet.
    void buildAreaTree() { areaTree->build(); }
    void document_Changed(const DocumentEvent& event);
    void clearSceneView();
    void refreshEditActions();

    // Actors (frm_main_actors.cpp).
    void buildActorLists();
    void connectActorPictures();
    void refreshEnemyList();
    void refreshItemList();
    void showEnemyDetails(int index);
    void showItemDetails(int index);
    void setEnemiesVisible(bool visible);
    void setItemsVisible(bool visible);
    void highlightActor(QWidget* picture, bool scroll, bool withPlayerLine);
    // A new scene: both lists filled, actor 0 of the mode selected.
    void showSceneActors();
    // After an edit, undo or redo: lists, boxes and the selection frame follow the scene.
    void refreshActors(bool scroll);
    // Shows actor `index` as the selected one after it was edited (the list may have reordered).
    void followEnemy(int index, bool scroll, bool withPlayerLine);
    void followItem(int index, bool scroll);
    // The arrow keys move the selected actor a column or a row, as a drag does.
    bool moveSelectedActorByKey(const QKeyEvent& key);
    bool dropInside(QPoint mapPoint) const;
    void startDrag(MapMarker marker, int index);
    // Shows the dragged picture (and frame) moved by `offset` from where it was, and the player
    // line at `lineX` when that is not -1.
    void showDragAt(QPoint offset, int lineX);
    // Puts the dragged pictures back where they were and forgets the drag.
    void endDrag();

    // Properties panel (frm_main_properties.cpp).
    void buildPropertiesPanel();
    // The box's value, read by readHexByte and written back into it as two digits. Text that is
    // no such value is refused: the box shows the scene's value again and the status bar says
    // what `field` takes.
    std::optional<std::uint8_t> takePropertyBox(QLineEdit* box, std::string_view field, std::uint8_t max);
    bool propertyEntryAllowed() const;
    void commitSceneProperty(QLineEdit* box, edits::SceneProperty property);
    void commitPaletteSelector(QLineEdit* box, int index);
    void propertyEditDone(const Outcome<EditResult>& result);

    // Takes a value still being typed into a box, as leaving the box does.
    void commitPendingInput();
    enum class Leaving { Closing, Opening };
    bool confirmDiscardOrSave(Leaving why);
    // Edits held by the Text Editor are not in the document yet: stored, dropped, or (false)
    // the user stays.
    bool settleTextEdits();
    void restoreLayout();
    void saveLayout();
    // The Edit and View menus' commands of the map view.
    void buildSelectionControls();
    void fitToScreen();
    // The resize dialog for the map (0), the items (1) or the enemies (2).
    void openResizeDialog(int editType);
    SettingsFiles settingsFiles() const;

    // The recovery copy (frm_main_recovery.cpp).
    void startRecovery();
    void offerRecovery();
    void recovery_DocumentChanged(const DocumentEvent& event);
    void recovery_Written(const Outcome<WriteResult>& result);
    // A proper close: the copy goes and the writer stops.
    void endRecovery();

    QString datFolder_;
    QString userConfigFolder_;
    QString recoveryFolder_;
    QString programFolder_;
    Dialogs& dialogs_;
    Launcher launcher_;
    QString dialogFolder_;

    Workspace workspace_;
    EditorDocument* document_ = nullptr;
    EditMode editMode_ = EditMode::Map;
    bool exiting_ = false;
    QButtonGroup* modeButtons_ = nullptr;
    frmOptions* options_ = nullptr;
    frmPalEdit* palEdit_ = nullptr;
    frmBkgEdit* bkgEdit_ = nullptr;
    frmSprEdit* sprEdit_ = nullptr;
    frmRomExpansion* romExpansion_ = nullptr;
    frmTextEdit* textEdit_ = nullptr;
    frmShortcuts* shortcuts_ = nullptr;
    QString readmeFile_;

    // The selected actors and the drag under way.
    int selectedEnemy_ = 0;
    int selectedItem_ = 0;
    QPoint enemyGrab_;
    QPoint itemGrab_;
    QPoint lineGrab_;
    QPoint startGrab_;
    struct Drag {
        MapMarker marker = MapMarker::None;
        int index = 0;
        QPoint pictureOrigin;
        QPoint highlightOrigin;
        QPoint lineOrigin;
    };
    Drag drag_;

    // The lock says this editor keeps the copy in the folder; it outlives the writer.
    std::unique_ptr<QLockFile> recoveryLock_;
    std::unique_ptr<RecoveryWriter> recoveryWriter_;
    // A copy was written (or restored) and not removed since.
    bool recoveryStored_ = false;
    bool recoveryFailed_ = false;

    // The receiver of the panel's connections. Being a member, it goes before QWidget's
    // destructor hides and deletes the boxes: a box that loses the focus then reaches no slot
    // of a half-destroyed window.
    std::unique_ptr<QObject> propertiesLink_;

    std::unique_ptr<PlayTestCopy> playTest_;
    // The open file as other programs may change it: a change seen is checked when the window
    // has the focus; one the user chose not to reload makes the next save ask first.
    QFileSystemWatcher* fileWatcher_ = nullptr;
    bool diskCheckDue_ = false;
    bool diskChangeKept_ = false;
    // The settings file did not read well and could not be kept aside: it is not written over.
    bool keepSettingsFile_ = false;
    QString playTestPath_;
};

}  // namespace velmar
