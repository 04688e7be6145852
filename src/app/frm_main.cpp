// The main window's shell: start-up, the parts it is made of, the edit modes and the way out.
// The open file, the recovery copy, the editor windows, the menus and the emulator each have a
// class of their own; the slots here hand over to them.
#include "frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "editor/area_info.h"
#include "windows/editor_windows.h"
#include "session/emulator_launcher.h"
#include "files/app_info.h"
#include "windows/frm_rom_expansion.h"
#include "windows/frm_shortcuts.h"
#include "map/map_cursor.h"
#include "panels/grid_options_panel.h"
#include "panels/map_view_panel.h"
#include "panels/status_messages.h"
#include "qt_bridge.h"
#include "session/recovery_session.h"
#include "session/scene_file_actions.h"
#include "widgets/bitmap_view.h"
#include "widgets/undo_keys.h"
#include "session/window_layout.h"
#include "session/workspace_files.h"

namespace velmar {

frmMain::frmMain(const QString& datFolder, const QString& userConfigFolder, Dialogs& dialogs, QWidget* parent)
    : frmMain(datFolder, userConfigFolder, QString(), dialogs, parent)
{
}

frmMain::frmMain(const QString& datFolder, const QString& userConfigFolder, const QString& recoveryFolder,
                 Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), ownDialogs_(dialogs.over(*this)), dialogs_(*ownDialogs_),
      workspaceFiles_(std::make_unique<WorkspaceFiles>(datFolder, userConfigFolder)),
      emulator_(std::make_unique<EmulatorLauncher>())
{
    setObjectName("frmMain");
    setAcceptDrops(true);  // a .nes file dropped on the window opens
    document_ = new EditorDocument(this);
    // Undo and Redo reach the document from a text box that has nothing of its own to take back.
    qApp->installEventFilter(new UndoKeysFilter(this));
    buildToolBar(*this);
    buildCentralArea();  // the panels, which follow the document before the window does
    buildMenus(*this, docks());
    sceneFiles_ = new SceneFileActions(this, *document_, dialogs_, [this] { commitPendingInput(); });
    connectActions();
    layout_ = std::make_unique<WindowLayout>(workspaceFiles_->layoutFile());
    layoutWriter_ = new WindowLayoutWriter(*layout_, *this, [this] { return windows_->made(); });
    windows_ = std::make_unique<EditorWindows>(editorContext(), *layout_, *layoutWriter_);
    statusMessages_ = new StatusMessages(*mainStatusBar);
    recovery_ = std::make_unique<RecoverySession>(recoveryFolder, *document_, dialogs_, *statusMessages_);
    tmrRecovery = recovery_->timer();
    // The system ends a session in two steps (Windows: WM_QUERYENDSESSION, then WM_ENDSESSION, on
    // which Qt quits without closing any window; X11 session managers alike).
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { keepUnsavedEdits(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, &frmMain::endSession);
    startUp();
    layout_->restoreMain(*this);
}

frmMain::~frmMain() = default;

void frmMain::connectActions()
{
    using Slot = void (frmMain::*)();
    const std::pair<QAction*, Slot> actions[] = {
        {menuFileLoadFile, &frmMain::menuFileLoadFile_Click},
        {menuFileSaveFile, &frmMain::menuFileSaveFile_Click},
        {menuFileSaveAs, &frmMain::menuFileSaveAs_Click},
        {menuFileCreatePatch, &frmMain::menuFileCreatePatch_Click},
        {menuFileApplyPatch, &frmMain::menuFileApplyPatch_Click},
        {menuFileExportMap, &frmMain::menuFileExportMap_Click},
        {menuFileExit, &frmMain::menuFileExit_Click},
        {menuEditUndo, &frmMain::menuEditUndo_Click},
        {menuEditRedo, &frmMain::menuEditRedo_Click},
        {menuEditCut, &frmMain::menuEditCut_Click},
        {menuEditCopy, &frmMain::menuEditCopy_Click},
        {menuEditPaste, &frmMain::menuEditPaste_Click},
        {menuEditFillSelection, &frmMain::menuEditFillSelection_Click},
        {menuEditDelete, &frmMain::menuEditDelete_Click},
        {menuEditSelectNone, &frmMain::menuEditSelectNone_Click},
        {menuViewZoomIn, &frmMain::menuViewZoomIn_Click},
        {menuViewZoomOut, &frmMain::menuViewZoomOut_Click},
        {menuViewActualSize, &frmMain::menuViewActualSize_Click},
        {menuViewGrid, &frmMain::menuViewGrid_Click},
        {menuViewResetLayout, &frmMain::menuViewResetLayout_Click},
        {menuToolsBackgroundEditor, &frmMain::cmdMetatileEditor_Click},
        {menuToolsSpriteEditor, &frmMain::cmdAnimEdit_Click},
        {menuToolsPaletteEditor, &frmMain::cmdPaletteEdit_Click},
        {menuToolsTextEditor, &frmMain::cmdTextEditor_Click},
        {menuToolsResizeMap, &frmMain::cmdResizeMap_Click},
        {menuToolsResizeItems, &frmMain::cmdResizeItem_Click},
        {menuToolsResizeEnemies, &frmMain::cmdResizeEnemy_Click},
        {menuToolsEraseMap, &frmMain::cmdClearArea_Click},
        {menuToolsAreaInfo, &frmMain::cmdAreaInfo_Click},
        {menuToolsRunEmulator, &frmMain::cmdRunEmulator_Click},
        {menuHelpShortcuts, &frmMain::menuHelpShortcuts_Click},
        {menuHelpReadme, &frmMain::menuHelpReadme_Click},
        {menuHelpAbout, &frmMain::menuHelpAbout_Click},
        {menuOptions, &frmMain::menuOptions_Click},
    };
    for (const auto& [action, slot] : actions)
        connect(action, &QAction::triggered, this, slot);
    using SceneFileSlot = void (SceneFileActions::*)();
    const std::pair<QAction*, SceneFileSlot> sceneFiles[] = {
        {menuFileExportScene, &SceneFileActions::menuFileExportScene_Click},
        {menuFileImportScene, &SceneFileActions::menuFileImportScene_Click},
        {menuFileExportTiled, &SceneFileActions::menuFileExportTiled_Click},
        {menuFileImportTiled, &SceneFileActions::menuFileImportTiled_Click},
    };
    for (const auto& [action, slot] : sceneFiles)
        connect(action, &QAction::triggered, sceneFiles_, slot);
    using edits::ActorCommand;
    const std::tuple<QAction*, ActorCommand, ActorKind> actorCommands[] = {
        {menuEditAddEnemy, ActorCommand::Add, ActorKind::Enemy},
        {menuEditDuplicateEnemy, ActorCommand::Duplicate, ActorKind::Enemy},
        {menuEditDeleteEnemy, ActorCommand::Delete, ActorKind::Enemy},
        {menuEditAddItem, ActorCommand::Add, ActorKind::Item},
        {menuEditDuplicateItem, ActorCommand::Duplicate, ActorKind::Item},
        {menuEditDeleteItem, ActorCommand::Delete, ActorKind::Item},
    };
    for (const auto& [action, command, kind] : actorCommands)
        connect(action, &QAction::triggered, actorLists, [this, c = command, k = kind] { actorLists->run(c, k); });
    // The menus follow what their commands work on.
    connect(actorLists, &ActorsPanel::commandsChanged, this,
            [this](bool scene, bool anyEnemy, bool anyItem) { showActorCommands(scene, anyEnemy, anyItem); });
    connect(&mapView->selectionTool(), &MapSelection::commandsChanged, this,
            [this](bool selected, bool canPaste) { showSelectionState(selected, canPaste); });
    connect(mapView, &MapViewPanel::zoomChanged, this, [this](int zoom) { showZoom(zoom); });
    for (int i = 0; i < 5; ++i)
        connect(menuFileRecentFiles[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { menuFileRecentFiles_Click(i); });
    const std::pair<QToolButton*, Slot> buttons[] = {
        {cmdFileLoad, &frmMain::cmdFileLoad_Click},
        {cmdFileSave, &frmMain::cmdFileSave_Click},
        {cmdExitApp, &frmMain::cmdExitApp_Click},
        {cmdUndo, &frmMain::cmdUndo_Click},
        {cmdRedo, &frmMain::cmdRedo_Click},
        {cmdClearArea, &frmMain::cmdClearArea_Click},
        {cmdAreaInfo, &frmMain::cmdAreaInfo_Click},
        {cmdRunEmulator, &frmMain::cmdRunEmulator_Click},
        {cmdBkgEdit, &frmMain::cmdBkgEdit_Click},
        {cmdEnemyEdit, &frmMain::cmdEnemyEdit_Click},
        {cmdItemEdit, &frmMain::cmdItemEdit_Click},
        {cmdAll, &frmMain::cmdAll_Click},
        {cmdPaletteEdit, &frmMain::cmdPaletteEdit_Click},
        {cmdMetatileEditor, &frmMain::cmdMetatileEditor_Click},
        {cmdAnimEdit, &frmMain::cmdAnimEdit_Click},
        {cmdTextEditor, &frmMain::cmdTextEditor_Click},
        {cmdResizeMap, &frmMain::cmdResizeMap_Click},
        {cmdResizeItem, &frmMain::cmdResizeItem_Click},
        {cmdResizeEnemy, &frmMain::cmdResizeEnemy_Click},
    };
    for (const auto& [button, slot] : buttons)
        connect(button, &QToolButton::clicked, this, slot);
}

void frmMain::startUp()
{
    setCaption();
    // The settings, then the character table and the name lists; each says when it cannot be read.
    workspaceFiles_->load(workspace_, dialogs_);
    showRecentFiles(workspace_.settings);
    // The open dialog starts in the folder of the last file loaded.
    DocumentFiles::Host& host = *this;
    files_ = std::make_unique<DocumentFiles>(editorContext(), host, qs(workspace_.settings.romFolder));
    // Nothing to edit until a file is loaded.
    setEditingEnabled(false);
    refreshEditActions();
    // Edits kept from a session that did not end properly.
    recovery_->start([this](const std::optional<SceneKey>& scene) { files_->showOpened(scene); });
}

EditorContext frmMain::editorContext() { return EditorContext(*this, *document_, dialogs_, workspace_, *this); }

void frmMain::setLauncher(Launcher launcher) { emulator_->setLauncher(std::move(launcher)); }
QString frmMain::playTestPath() const { return emulator_->playTestPath(); }
QString frmMain::recoveryFile() const { return recovery_->file(); }
void frmMain::waitForRecoveryWriter() { recovery_->wait(); }
void frmMain::tmrRecovery_Timer() { recovery_->tmrRecovery_Timer(); }
QString frmMain::layoutFile() const { return layout_->file(); }

void frmMain::endSession()
{
    if (exiting_)
        return;
    commitPendingInput();
    recovery_->keepForNextStart();
    exiting_ = true;
    layoutWriter_->stop();
    layout_->save(*this, windows_->made());
    // No one is there to read a message: a settings file that cannot be written is left as it was.
    workspaceFiles_->saveSettings(workspace_.settings, nullptr);
    emulator_->removeCopy();
    QCoreApplication::quit();
}

void frmMain::keepUnsavedEdits()
{
    if (exiting_)
        return;
    commitPendingInput();
    recovery_->tmrRecovery_Timer();
    recovery_->wait();
}

void frmMain::setEditingEnabled(bool enabled)
{
    setFileActionsEnabled(enabled);
    areaTree->setEnabled(enabled);
    setSceneControlsEnabled(enabled);
}

void frmMain::setSceneControlsEnabled(bool enabled)
{
    // What works on the scene shown; the file itself (save, patches, texts, the tree to pick
    // another scene) stays at hand.
    setSceneActionsEnabled(enabled);
    for (QWidget* w :
         std::initializer_list<QWidget*>{mapView->picRenderDest, metatilePicker->picBkgNat,
                                         metatilePicker->vMetaRenderer, fraGrid, actorListsPlace, propertiesPlace})
        w->setEnabled(enabled);
    // The map view turns its scroll bar on when its map is wider than the window.
    if (!enabled)
        mapView->hscrollRenderer->setEnabled(false);
}

void frmMain::showOpenedFile(const std::optional<SceneKey>& scene)
{
    showFileName();
    editMode_ = EditMode::Map;
    buildAreaTree();
    setEditingEnabled(true);
    QTreeWidgetItem* node = scene ? findNode(qs(sceneKeyText(*scene))) : nullptr;
    if (node || (node = findNode("c:000000")))
        tvAreaList_NodeClick(node);
    cmdBkgEdit_Click();
    if (!doc().hasScene())
        setSceneControlsEnabled(false);
}

void frmMain::showFileName()
{
    setCaption();
    showRecentFiles(workspace_.settings);
}

void frmMain::openScene(const SceneKey& key) { tvAreaList_NodeClick(findNode(qs(sceneKeyText(key)))); }

void frmMain::setCaption()
{
    // The [*] shows Qt's mark of unsaved changes next to the file name.
    const QString file = doc().hasImage() ? QFileInfo(qs(doc().path())).fileName() + "[*]" : QString("...");
    setWindowTitle(qAppTitle() + " [" + file + "]");
    setWindowModified(doc().hasUnsavedChanges());
}

void frmMain::reportSuccess(const QString& text)
{
    if (workspace_.settings.showSuccessMessages)
        dialogs_.message(text);
    else
        statusMessages_->pass(text, 5000);
}

void frmMain::settingsChanged()
{
    workspaceFiles_->saveSettings(workspace_.settings, &dialogs_);
    // Files another editor opened meanwhile are on the list now.
    showRecentFiles(workspace_.settings);
}

void frmMain::commitPendingInput()
{
    // A value typed into a box is taken when the box loses the focus: before the file is saved,
    // left or run, it must be in the document.
    auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!box)
        box = qobject_cast<QLineEdit*>(focusWidget());
    if (!box || box->isReadOnly())
        return;
    box->clearFocus();
    box->setFocus();
}

bool frmMain::settleTextEdits() { return windows_->settleTextEdits(); }

void frmMain::menuFileLoadFile_Click() { loadRom(true, QString()); }
void frmMain::cmdFileLoad_Click() { loadRom(true, QString()); }
void frmMain::menuFileSaveFile_Click() { saveRom(); }
void frmMain::cmdFileSave_Click() { saveRom(); }
void frmMain::menuFileSaveAs_Click() { files_->saveAs(); }
void frmMain::menuFileCreatePatch_Click() { files_->createPatch(); }
void frmMain::menuFileApplyPatch_Click() { files_->applyPatch(); }

void frmMain::menuFileRecentFiles_Click(int index)
{
    const std::string path = workspace_.settings.recentFiles[static_cast<std::size_t>(index)];
    if (!path.empty())
        loadRom(false, qs(path));
}

void frmMain::menuFileExit_Click() { close(); }
void frmMain::cmdExitApp_Click() { close(); }

void frmMain::menuEditUndo_Click()
{
    commitPendingInput();
    const Outcome<EditResult> r = document_->doc().undo();
    if (r.code == EditResult::Failed)
        dialogs_.message("This scene cannot be shown: " + qs(r.reason), Dialogs::Icon::Exclamation);
}

void frmMain::menuEditRedo_Click()
{
    commitPendingInput();
    const Outcome<EditResult> r = document_->doc().redo();
    if (r.code == EditResult::Failed)
        dialogs_.message("This scene cannot be shown: " + qs(r.reason), Dialogs::Icon::Exclamation);
}

void frmMain::cmdUndo_Click() { menuEditUndo_Click(); }
void frmMain::cmdRedo_Click() { menuEditRedo_Click(); }

void frmMain::menuOptions_Click() { windows_->openOptions(); }
void frmMain::menuHelpShortcuts_Click() { windows_->openShortcuts(MapCursor::keys()); }
void frmMain::menuHelpReadme_Click() { windows_->openReadme(readmeFile_); }
void frmMain::menuHelpAbout_Click() { showAbout(dialogs_); }
void frmMain::cmdPaletteEdit_Click() { windows_->openPalette(); }
void frmMain::cmdMetatileEditor_Click() { windows_->openBackground(); }
void frmMain::cmdAnimEdit_Click() { windows_->openSprites(); }
void frmMain::cmdTextEditor_Click() { windows_->openTexts(); }

void frmMain::openResizeDialog(int editType)
{
    commitPendingInput();
    windows_->openResize(editType);
}

void frmMain::cmdResizeMap_Click() { openResizeDialog(frmRomExpansion::Map); }
void frmMain::cmdResizeItem_Click() { openResizeDialog(frmRomExpansion::Items); }
void frmMain::cmdResizeEnemy_Click() { openResizeDialog(frmRomExpansion::Enemies); }

void frmMain::cmdAreaInfo_Click()
{
    if (doc().hasScene())
        dialogs_.message(qs(areaInfoText(doc(), workspace_.charTable)), Dialogs::Icon::Information);
}

void frmMain::cmdRunEmulator_Click()
{
    // The play test runs what the document holds, the Text Editor's texts included.
    commitPendingInput();
    if (!settleTextEdits())
        return;
    emulator_->run(editorContext(), [this] { commitPendingInput(); });
}

void frmMain::setModeButtons(EditMode mode)
{
    QToolButton* b = mode == EditMode::Enemies ? cmdEnemyEdit
        : mode == EditMode::Items              ? cmdItemEdit
        : mode == EditMode::All                ? cmdAll
                                               : cmdBkgEdit;
    b->setChecked(true);
}

void frmMain::applyEditMode(EditMode mode)
{
    editMode_ = mode;
    // The outlined cell is map mode's.
    if (mode != EditMode::Map)
        mapView->cursor().hideOutline();
    mapView->showModeMarkers();
    setModeButtons(mode);
}

void frmMain::cmdBkgEdit_Click() { applyEditMode(EditMode::Map); }
void frmMain::cmdEnemyEdit_Click()
{
    applyEditMode(EditMode::Enemies);
    actorLists->selectFirst(ActorKind::Enemy);
}

void frmMain::cmdItemEdit_Click()
{
    applyEditMode(EditMode::Items);
    actorLists->selectFirst(ActorKind::Item);
}
void frmMain::cmdAll_Click() { applyEditMode(EditMode::All); }

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Start-up changes the caption before the open file has its keeper.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && files_)
        files_->windowActivated();
}

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DocumentFiles::droppedRom(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event)
{
    const QString path = DocumentFiles::droppedRom(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened after the drop has ended, so that the questions and messages do not hold up the
    // program the file came from.
    QTimer::singleShot(0, this, [this, path] { loadRom(false, path); });
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (exiting_) {
        event->accept();
        return;
    }
    if (!files_->confirmDiscardOrSave(DocumentFiles::Leaving::Closing)) {
        event->ignore();
        return;
    }
    exiting_ = true;
    layoutWriter_->stop();
    layout_->save(*this, windows_->made());
    recovery_->end();
    workspaceFiles_->saveSettings(workspace_.settings, &dialogs_);
    emulator_->removeCopy();
    windows_->closeAll();
    event->accept();
}

}  // namespace velmar
