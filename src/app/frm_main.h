#pragma once

#include <array>
#include <functional>
#include <vector>

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "dialogs.h"
#include "editor/editor_state.h"
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
class frmOptions;

// The main window: the program's life, the open image and the scene being edited, the area tree,
// the map view with its metatile picker, and the buttons that open the other windows.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // `datFolder` holds VELMAR.INI, TBL.DAT, ITEM.DAT and ENEMY.DAT; the program folder is its
    // parent. Start-up runs here, with its messages through `dialogs`.
    frmMain(const QString& datFolder, Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmMain() override;

    // Starts an external command; true when it started. Tests replace it.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;
    void setLauncher(Launcher launcher) { launcher_ = std::move(launcher); }

    EditorState& state() { return state_; }
    const SceneView& sceneView() const { return view_; }
    int editMode() const { return editMode_; }
    std::uint8_t brushMetatile() const { return brushMetatile_; }
    bool exiting() const { return exiting_; }
    const QString& datFolder() const { return datFolder_; }
    QString playTestPath() const;

    // Opens a file: with `showDialog` through the open dialog, else `path` (a recent file).
    void loadRom(bool showDialog, const QString& path);
    void saveRom();
    // The full redraw that every sub-editor asks for when it closes.
    void unloadSubEditor_refresh();
    // The scene nodes of the tree, for selection by key.
    QTreeWidgetItem* findNode(const QString& key) const;

    // Controls, by the names the rest of the program and its tests use.
    QMenu* menuFile = nullptr;
    QAction* menuFileLoadFile = nullptr;
    QAction* menuFileSaveFile = nullptr;
    std::array<QAction*, 5> menuFileRecentFiles{};
    QAction* menuFileExit = nullptr;
    QAction* menuOptions = nullptr;

    QToolButton* cmdFileLoad = nullptr;
    QToolButton* cmdFileSave = nullptr;
    QToolButton* cmdExitApp = nullptr;
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

    QWidget* picContainer = nullptr;
    BitmapView* picRenderDest = nullptr;
    QScrollBar* hscrollRenderer = nullptr;
    QWidget* picContMetatiles = nullptr;
    BitmapView* picBkgNat = nullptr;
    QScrollBar* vMetaRenderer = nullptr;
    BitmapView* picSelectedMetatile = nullptr;
    QLabel* lblSelMetatile = nullptr;
    QGroupBox* fraGrid = nullptr;
    QRadioButton* optNone = nullptr;
    QRadioButton* optShowMetatile = nullptr;
    QRadioButton* optShowScreen = nullptr;
    QScrollBar* hscrGridColor = nullptr;
    std::array<QLabel*, 32> lblPal{};
    QStatusBar* mainStatusBar = nullptr;

    // Actor markers on the map surface.
    std::vector<BitmapView*> picEnemy;
    std::vector<BitmapView*> picPwrUp;
    BitmapView* picMainCharacterSpawn = nullptr;
    QLabel* lblSelActorHighlight = nullptr;
    QWidget* linePlayerPos = nullptr;

public slots:
    void menuFileLoadFile_Click();
    void menuFileSaveFile_Click();
    void menuFileRecentFiles_Click(int index);
    void menuFileExit_Click();
    void menuOptions_Click();
    void cmdFileLoad_Click();
    void cmdFileSave_Click();
    void cmdExitApp_Click();
    void cmdClearArea_Click();
    void cmdAreaInfo_Click();
    void cmdRunEmulator_Click();
    void cmdBkgEdit_Click();
    void cmdEnemyEdit_Click();
    void cmdItemEdit_Click();
    void cmdAll_Click();
    void tvAreaList_NodeClick(QTreeWidgetItem* node);
    void hscrollRenderer_Change(int value);
    void vMetaRenderer_Change(int value);
    void optNone_Click();
    void optShowMetatile_Click();
    void optShowScreen_Click();
    void hscrGridColor_Change(int value);
    void picBkgNat_MouseDown(QPoint point, Qt::MouseButton button);
    void picRenderDest_MouseDown(QPoint point, Qt::MouseButton button);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildCentralArea();
    void buildStatusPanels();
    void startUp();
    void loadNameLists();
    void setEditingEnabled(bool enabled);
    void refreshRecentFileCaptions();
    void setCaption();
    void setModeButtons(int mode);

    // Tree and scene switching.
    void buildAreaTree();
    void showScene();
    void buildStatusBar();
    void refreshPaletteDisplay();
    // Map view.
    void renderMap(bool resize);
    void placeActorMarkers();
    void setupMapScroll(int screens, bool startAtLeft);
    void buildGridLines();
    void applyGridChoice();
    void setEnemiesVisible(bool visible);
    void setItemsVisible(bool visible);
    void chooseMetatile(QPoint sheetPoint);
    bool confirmDiscardOrSave();
    void runEmulator();

    QString datFolder_;
    QString programFolder_;
    Dialogs& dialogs_;
    Launcher launcher_;
    QString dialogFolder_;

    EditorState state_;
    SceneView view_;
    int editMode_ = 0;
    std::uint8_t brushMetatile_ = 0;
    bool exiting_ = false;
    bool settingsSaved_ = false;
    bool buildingTree_ = false;
    QButtonGroup* modeButtons_ = nullptr;
    frmOptions* options_ = nullptr;
};

}  // namespace velmar
