#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "dialogs.h"
#include "editor/workspace.h"
#include "editor_document.h"
#include "mapview/scene_view.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QMenu;
class QRadioButton;
class QScrollBar;
class QStatusBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmar {

class BitmapView;
class GridOptionsPanel;
class MapMouseHandler;
class MapViewPanel;
class MetatilePickerPanel;
class PaletteStrip;
class frmOptions;

// What a press on the map does, and which actor markers show.
enum class EditMode { Map = 0, Enemies = 1, Items = 2, All = 3 };

// The main window: the program's life, the area tree, the panels that show the current scene
// (map, metatile picker, grid options, palette), and the buttons that open the other windows.
// Every change goes through the shared document; the window redraws from its notifications.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // `datFolder` holds TBL.DAT, ITEM.DAT, ENEMY.DAT and, where it can be written, VELMAR.INI;
    // the program folder is its parent. `userConfigFolder` keeps VELMAR.INI otherwise. Start-up
    // runs here, with its messages through `dialogs`.
    frmMain(const QString& datFolder, const QString& userConfigFolder, Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmMain() override;

    // Starts an external command; true when it started. Tests replace it.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;
    void setLauncher(Launcher launcher) { launcher_ = std::move(launcher); }

    EditorDocument& document() { return *document_; }
    const Document& doc() const { return document_->doc(); }
    Workspace& workspace() { return workspace_; }
    std::uint8_t brushMetatile() const;
    bool exiting() const { return exiting_; }
    QString playTestPath() const;

    // Opens a file: with `showDialog` through the open dialog, else `path` (a recent file).
    // Unsaved edits are asked about first.
    void loadRom(bool showDialog, const QString& path);
    void saveRom();
    // The full redraw of the current scene: sheet, map, palette, grid and actor markers.
    void unloadSubEditor_refresh();
    // The scene nodes of the tree, for selection by key.
    QTreeWidgetItem* findNode(const QString& key) const;

    // Controls, by the names the rest of the program and its tests use. The panels own them.
    QMenu* menuFile = nullptr;
    QAction* menuFileLoadFile = nullptr;
    QAction* menuFileSaveFile = nullptr;
    std::array<QAction*, 5> menuFileRecentFiles{};
    QAction* menuFileExit = nullptr;
    QMenu* menuEdit = nullptr;
    QAction* menuEditUndo = nullptr;
    QAction* menuEditRedo = nullptr;
    QAction* menuOptions = nullptr;

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
    QStatusBar* mainStatusBar = nullptr;

    BitmapView* picMainCharacterSpawn = nullptr;
    QLabel* lblSelActorHighlight = nullptr;
    QWidget* linePlayerPos = nullptr;

public slots:
    void menuFileLoadFile_Click();
    void menuFileSaveFile_Click();
    void menuFileRecentFiles_Click(int index);
    void menuFileExit_Click();
    void menuEditUndo_Click();
    void menuEditRedo_Click();
    void menuOptions_Click();
    void cmdFileLoad_Click();
    void cmdFileSave_Click();
    void cmdExitApp_Click();
    void cmdUndo_Click();
    void cmdRedo_Click();
    void cmdClearArea_Click();
    void cmdAreaInfo_Click();
    void cmdRunEmulator_Click();
    void cmdBkgEdit_Click();
    void cmdEnemyEdit_Click();
    void cmdItemEdit_Click();
    void cmdAll_Click();
    void tvAreaList_NodeClick(QTreeWidgetItem* node);
    void picRenderDest_MouseDown(QPoint point, Qt::MouseButton button);
    void picRenderDest_MouseMove(QPoint point, Qt::MouseButtons buttons);
    void picRenderDest_MouseUp(QPoint point, Qt::MouseButton button);
    void picBkgNat_MouseDown(QPoint point, Qt::MouseButton button);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildCentralArea();
    void startUp();
    void loadNameLists();
    void setEditingEnabled(bool enabled);
    void refreshRecentFileCaptions();
    void setCaption();
    void setModeButtons(EditMode mode);
    // The one place a mode takes effect: which markers show, what the map's mouse does, which
    // mode button is down.
    void applyEditMode(EditMode mode);
    // Shows the enemy and item markers that the mode shows, hides the others.
    void showModeMarkers();

    // Tree, scene and document.
    void buildAreaTree();
    void selectTreeNode(const SceneKey& key);
    void document_Changed(const DocumentEvent& event);
    void showScene();
    void clearSceneView();
    void renderMap(bool resize);
    void buildStatusBar();
    void buildGridLines();
    void refreshEditActions();

    enum class Leaving { Closing, Opening };
    bool confirmDiscardOrSave(Leaving why);
    SettingsFiles settingsFiles() const;

    QString datFolder_;
    QString userConfigFolder_;
    QString programFolder_;
    Dialogs& dialogs_;
    Launcher launcher_;
    QString dialogFolder_;

    Workspace workspace_;
    EditorDocument* document_ = nullptr;
    SceneView view_;
    EditMode editMode_ = EditMode::Map;
    std::array<std::unique_ptr<MapMouseHandler>, 4> mapHandlers_;
    bool exiting_ = false;
    bool buildingTree_ = false;
    QButtonGroup* modeButtons_ = nullptr;
    frmOptions* options_ = nullptr;
};

}  // namespace velmar
