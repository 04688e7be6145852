// The main window's menus and tool bar: built once, here only, and kept in step with what their
// commands work on.
#include "main_window/main_window_actions.h"

#include <QAction>
#include <QButtonGroup>
#include <QDir>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "dialogs.h"
#include "editor/document.h"
#include "files/app_info.h"
#include "files/settings.h"
#include "editor/edits.h"
#include "panels/actors_panel.h"
#include "qt_bridge.h"

namespace velmar {

namespace {

// A small square icon with a short mark, for tool buttons that have no standard picture.
QIcon markIcon(const QString& mark, const QColor& colour)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker(150));
    p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
    QFont font = p.font();
    font.setPixelSize(mark.size() > 1 ? 10 : 13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(pixmap.rect(), Qt::AlignCenter, mark);
    return QIcon(pixmap);
}

}  // namespace

void MainWindowActions::buildMenus(QMainWindow& window, const QList<QDockWidget*>& docks)
{
    QMenu* menu = nullptr;
    auto action = [&menu](QAction*& member, const char* name, const QString& caption,
                          const QList<QKeySequence>& keys = {}, const QString& tip = QString()) {
        member = menu->addAction(caption);
        member->setObjectName(name);
        member->setShortcuts(keys);
        if (!tip.isEmpty()) {
            member->setToolTip(tip);
            member->setStatusTip(tip);
        }
    };
    const auto key = [](QKeyCombination k) { return QList<QKeySequence>{QKeySequence(k)}; };

    menu = menuFile = window.menuBar()->addMenu("&File");
    menuFile->setObjectName("menuFile");
    menuFile->setToolTipsVisible(true);
    action(menuFileLoadFile, "menuFileLoadFile", "Load File", {QKeySequence::Open});
    action(menuFileSaveFile, "menuFileSaveFile", "Save File", {QKeySequence::Save});
    action(menuFileSaveAs, "menuFileSaveAs", "Save As...", key(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    menuFile->addSeparator();
    action(menuFileExportScene, "menuFileExportScene", "Export Scene...", {},
           "Write the scene shown as a scene file (JSON) to edit or to import elsewhere");
    action(menuFileImportScene, "menuFileImportScene", "Import Scene...", {},
           "Make the scene shown what a scene file holds, as one step");
    action(menuFileExportTiled, "menuFileExportTiled", "Export to Tiled...", {},
           "Write the scene shown as a Tiled map, with its metatiles as the tileset");
    action(menuFileImportTiled, "menuFileImportTiled", "Import from Tiled...", {},
           "Make the scene shown what a Tiled map holds, as one step");
    menuFile->addSeparator();
    action(menuFileExportMap, "menuFileExportMap", "Export Map as PNG...");
    action(menuFileCreatePatch, "menuFileCreatePatch", "Create Patch...", {},
           "Write the edits as an IPS or BPS patch, to share them without the image");
    action(menuFileApplyPatch, "menuFileApplyPatch", "Apply Patch...", {},
           "Apply an IPS or BPS patch to the open image, as one step");
    menuFile->addSeparator();
    for (int i = 0; i < 5; ++i) {
        QAction* a = menuFile->addAction(QString("Recent File %1").arg(i));
        a->setObjectName(QString("menuFileRecentFiles_%1").arg(i));
        menuFileRecentFiles[static_cast<std::size_t>(i)] = a;
    }
    menuFile->addSeparator();
    // Ctrl+Q everywhere: Windows has no standard key for quitting.
    action(menuFileExit, "menuFileExit", "Exit", key(Qt::CTRL | Qt::Key_Q));

    menu = menuEdit = window.menuBar()->addMenu("&Edit");
    menuEdit->setObjectName("menuEdit");
    // The platform's keys first; Ctrl+Y and Ctrl+Shift+Z work everywhere, as users of other
    // editors expect one or the other.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& k : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
        if (!redoKeys.contains(k))
            redoKeys << k;
    }
    action(menuEditUndo, "menuEditUndo", "Undo", {QKeySequence::Undo});
    action(menuEditRedo, "menuEditRedo", "Redo", redoKeys);
    // Their texts name the step they take; the table of shortcuts names the command.
    menuEditUndo->setIconText("Undo");
    menuEditRedo->setIconText("Redo");
    // The editor windows are windows of their own: undo and redo work from any of them. A text
    // box with the focus still takes the keys for its own text first.
    menuEditUndo->setShortcutContext(Qt::ApplicationShortcut);
    menuEditRedo->setShortcutContext(Qt::ApplicationShortcut);
    menuEdit->addSeparator();
    using edits::ActorCommand;
    const struct {
        QAction** member;
        const char* name;
        ActorCommand command;
        ActorKind kind;
    } actorCommands[] = {
        {&menuEditAddEnemy, "menuEditAddEnemy", ActorCommand::Add, ActorKind::Enemy},
        {&menuEditDuplicateEnemy, "menuEditDuplicateEnemy", ActorCommand::Duplicate, ActorKind::Enemy},
        {&menuEditDeleteEnemy, "menuEditDeleteEnemy", ActorCommand::Delete, ActorKind::Enemy},
        {&menuEditAddItem, "menuEditAddItem", ActorCommand::Add, ActorKind::Item},
        {&menuEditDuplicateItem, "menuEditDuplicateItem", ActorCommand::Duplicate, ActorKind::Item},
        {&menuEditDeleteItem, "menuEditDeleteItem", ActorCommand::Delete, ActorKind::Item},
    };
    for (const auto& c : actorCommands) {
        const char* keys = c.command == ActorCommand::Add ? "Ins"
            : c.command == ActorCommand::Duplicate        ? "Ctrl+D"
                                                          : "Del";
        action(*c.member, c.name, qs(edits::actorCommandName(c.command, c.kind)) + '\t' + keys, {},
               actorCommandTip(c.command, c.kind));
    }
    menuEdit->addSeparator();
    // Their keys work wherever the focus is in the main window; a text box with the focus takes
    // Ctrl+V, Delete and the others for its own text first.
    action(menuEditCut, "menuEditCut", "Cut", {QKeySequence::Cut},
           "Copy the selection and fill it with the chosen metatile");
    action(menuEditCopy, "menuEditCopy", "Copy", {QKeySequence::Copy});
    action(menuEditPaste, "menuEditPaste", "Paste", {QKeySequence::Paste});
    action(menuEditFillSelection, "menuEditFillSelection", "Fill Selection", key(Qt::CTRL | Qt::Key_B),
           "Fill the selection with the chosen metatile");
    action(menuEditDelete, "menuEditDelete", "Delete", {QKeySequence::Delete},
           "Fill the selection with metatile FF, as new screens are");
    action(menuEditSelectNone, "menuEditSelectNone", "Select None", key(Qt::Key_Escape));

    menu = menuView = window.menuBar()->addMenu("&View");
    menuView->setObjectName("menuView");
    action(menuViewZoomIn, "menuViewZoomIn", "Zoom In", {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    action(menuViewZoomOut, "menuViewZoomOut", "Zoom Out", {QKeySequence::ZoomOut});
    action(menuViewActualSize, "menuViewActualSize", "Actual Size", key(Qt::CTRL | Qt::Key_0));
    showZoom(1);
    menuView->addSeparator();
    action(menuViewGrid, "menuViewGrid", "Next Grid (None, Metatiles, Screens)", key(Qt::CTRL | Qt::Key_G));
    // The docks, shown or hidden, and their first arrangement again.
    menuView->addSeparator();
    for (QDockWidget* dock : docks)
        menuView->addAction(dock->toggleViewAction());
    action(menuViewResetLayout, "menuViewResetLayout", "Reset Layout");

    menu = menuTools = window.menuBar()->addMenu("&Tools");
    menuTools->setObjectName("menuTools");
    action(menuToolsBackgroundEditor, "menuToolsBackgroundEditor", "&Background Editor", key(Qt::CTRL | Qt::Key_1));
    action(menuToolsSpriteEditor, "menuToolsSpriteEditor", "&Sprite Editor", key(Qt::CTRL | Qt::Key_2));
    action(menuToolsPaletteEditor, "menuToolsPaletteEditor", "&Palette Editor", key(Qt::CTRL | Qt::Key_3));
    action(menuToolsTextEditor, "menuToolsTextEditor", "&Text Editor", key(Qt::CTRL | Qt::Key_4));
    menuTools->addSeparator();
    action(menuToolsResizeMap, "menuToolsResizeMap", "Resize &Map...");
    action(menuToolsResizeItems, "menuToolsResizeItems", "Resize &Items...");
    action(menuToolsResizeEnemies, "menuToolsResizeEnemies", "Resize E&nemies...");
    action(menuToolsEraseMap, "menuToolsEraseMap", "&Erase Map...");
    menuTools->addSeparator();
    action(menuToolsAreaInfo, "menuToolsAreaInfo", "&Area Info");
    action(menuToolsRunEmulator, "menuToolsRunEmulator", "&Run Emulator", key(Qt::Key_F5));

    menuOptions = window.menuBar()->addAction("&Options");
    menuOptions->setObjectName("menuOptions");

    menu = menuHelp = window.menuBar()->addMenu("&Help");
    menuHelp->setObjectName("menuHelp");
    action(menuHelpShortcuts, "menuHelpShortcuts", "&Keyboard Shortcuts", {QKeySequence::HelpContents});
    action(menuHelpReadme, "menuHelpReadme", "Open the &README");
    action(menuHelpAbout, "menuHelpAbout", "&About Velmar");

    // Nothing is open yet.
    showSelectionState(false, false);
    showActorCommands(false, false, false);
}

void MainWindowActions::buildToolBar(QMainWindow& window)
{
    QToolBar* bar = window.addToolBar("Tools");
    bar->setObjectName("toolBar");
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    auto button = [&](QToolButton*& member, const char* name, const QString& tip, const QIcon& icon) {
        member = new QToolButton(bar);
        member->setObjectName(name);
        member->setToolTip(tip);
        member->setAccessibleName(tip);
        member->setIcon(icon);
        member->setAutoRaise(true);
        bar->addWidget(member);
        return member;
    };
    const QColor file(60, 110, 170), edit(140, 80, 160), size(40, 140, 110), mode(190, 120, 30);
    button(cmdFileLoad, "cmdFileLoad", "Open File", window.style()->standardIcon(QStyle::SP_DialogOpenButton));
    button(cmdFileSave, "cmdFileSave", "Save File", window.style()->standardIcon(QStyle::SP_DialogSaveButton));
    button(cmdExitApp, "cmdExitApp", "Exit Program", markIcon("X", QColor(170, 60, 60)));
    bar->addSeparator();
    button(cmdUndo, "cmdUndo", "Undo", window.style()->standardIcon(QStyle::SP_ArrowBack));
    button(cmdRedo, "cmdRedo", "Redo", window.style()->standardIcon(QStyle::SP_ArrowForward));
    bar->addSeparator();
    button(cmdTextEditor, "cmdTextEditor", "Text Editor", markIcon("Tx", edit));
    button(cmdMetatileEditor, "cmdMetatileEditor", "Background Editor", markIcon("Bg", edit));
    button(cmdAnimEdit, "cmdAnimEdit", "Sprite Editor", markIcon("Sp", edit));
    button(cmdPaletteEdit, "cmdPaletteEdit", "Palette Editor", markIcon("Pa", edit));
    bar->addSeparator();
    button(cmdResizeMap, "cmdResizeMap", "Resize Map", markIcon("M+", size));
    button(cmdResizeItem, "cmdResizeItem", "Resize Items", markIcon("I+", size));
    button(cmdResizeEnemy, "cmdResizeEnemy", "Resize Enemies", markIcon("E+", size));
    button(cmdClearArea, "cmdClearArea", "Erase Map", markIcon("Er", size));
    button(cmdAreaInfo, "cmdAreaInfo", "Area Info", markIcon("i", file));
    button(cmdRunEmulator, "cmdRunEmulator", "Run Emulator", markIcon(QString::fromUtf8("\u25B6"), file));
    bar->addSeparator();
    modeButtons_ = new QButtonGroup(&window);
    modeButtons_->setExclusive(true);
    const struct {
        QToolButton** member;
        const char* name;
        const char* tip;
        const char* mark;
    } modes[] = {{&cmdBkgEdit, "cmdBkgEdit", "Map Edit Mode", "Map"},
                 {&cmdEnemyEdit, "cmdEnemyEdit", "Enemy Edit Mode", "En"},
                 {&cmdItemEdit, "cmdItemEdit", "Item Edit Mode", "It"},
                 {&cmdAll, "cmdAll", "View All", "All"}};
    for (const auto& m : modes) {
        button(*m.member, m.name, m.tip, markIcon(m.mark, mode));
        (*m.member)->setCheckable(true);
        modeButtons_->addButton(*m.member);
    }
    // In map mode a drag selects instead of painting while this is on (Shift+drag always does).
    button(cmdSelect, "cmdSelect", "Select (or Shift+drag on the map)", markIcon("Sel", size));
    cmdSelect->setAccessibleName("Select");
    cmdSelect->setCheckable(true);
}

void MainWindowActions::showRecentFiles(const Settings& settings)
{
    for (int i = 0; i < 5; ++i) {
        const std::string& path = settings.recentFiles[static_cast<std::size_t>(i)];
        QAction* a = menuFileRecentFiles[static_cast<std::size_t>(i)];
        // Menu captions treat '&' as a mnemonic marker; a path shows it literally.
        a->setText(qs(recentFileCaption(i, path)).replace("&", "&&"));
        // The caption keeps the path's end; the whole path is the tip, and the status bar's.
        const QString whole = QDir::toNativeSeparators(qs(path));
        a->setToolTip(whole);
        a->setStatusTip(whole);
        a->setVisible(!path.empty());
    }
}

void MainWindowActions::showUndoRedo(const Document& d)
{
    const QString undo = d.canUndo() ? "Undo " + qs(d.undoName()) : QString("Undo");
    const QString redo = d.canRedo() ? "Redo " + qs(d.redoName()) : QString("Redo");
    menuEditUndo->setText(undo);
    menuEditUndo->setEnabled(d.canUndo());
    menuEditRedo->setText(redo);
    menuEditRedo->setEnabled(d.canRedo());
    cmdUndo->setToolTip(undo);
    cmdUndo->setAccessibleName(undo);
    cmdUndo->setEnabled(d.canUndo());
    cmdRedo->setToolTip(redo);
    cmdRedo->setAccessibleName(redo);
    cmdRedo->setEnabled(d.canRedo());
}

void MainWindowActions::showSelectionState(bool selected, bool canPaste)
{
    for (QAction* a : {menuEditCopy, menuEditCut, menuEditFillSelection, menuEditDelete})
        a->setEnabled(selected);
    menuEditPaste->setEnabled(canPaste);
}

void MainWindowActions::showZoom(int zoom)
{
    menuViewZoomIn->setEnabled(zoom < 4);
    menuViewZoomOut->setEnabled(zoom > 1);
}

void MainWindowActions::showActorCommands(bool scene, bool anyEnemy, bool anyItem)
{
    menuEditAddEnemy->setEnabled(scene);
    menuEditAddItem->setEnabled(scene);
    menuEditDuplicateEnemy->setEnabled(anyEnemy);
    menuEditDeleteEnemy->setEnabled(anyEnemy);
    menuEditDuplicateItem->setEnabled(anyItem);
    menuEditDeleteItem->setEnabled(anyItem);
}

void MainWindowActions::setFileActionsEnabled(bool enabled)
{
    // The Text Editor and the emulator need the file only.
    for (QToolButton* b : {cmdFileSave, cmdRunEmulator, cmdTextEditor})
        b->setEnabled(enabled);
    for (QAction* a : {menuFileSaveFile, menuFileSaveAs, menuFileCreatePatch, menuFileApplyPatch, menuViewGrid,
                       menuToolsTextEditor, menuToolsRunEmulator})
        a->setEnabled(enabled);
    setSceneActionsEnabled(enabled);
}

void MainWindowActions::setSceneActionsEnabled(bool enabled)
{
    for (QToolButton* b : {cmdAreaInfo, cmdClearArea, cmdBkgEdit, cmdEnemyEdit, cmdItemEdit, cmdAll, cmdMetatileEditor,
                           cmdAnimEdit, cmdPaletteEdit, cmdResizeMap, cmdResizeItem, cmdResizeEnemy, cmdSelect})
        b->setEnabled(enabled);
    for (QAction* a :
         {menuFileExportMap, menuFileExportScene, menuFileImportScene, menuFileExportTiled, menuFileImportTiled,
          menuToolsBackgroundEditor, menuToolsSpriteEditor, menuToolsPaletteEditor, menuToolsResizeMap,
          menuToolsResizeItems, menuToolsResizeEnemies, menuToolsEraseMap, menuToolsAreaInfo})
        a->setEnabled(enabled);
}

void showAbout(Dialogs& dialogs)
{
    dialogs.message(qAppTitle() + "\nA level editor for the ROM image of an NES side-scrolling action game.\n\n"
                        + "Copyright (c) 2026 the Velmar developers.\nVelmar is free software under the MIT "
                        + "License: you may use, copy, change and share it; see the file LICENSE beside the "
                        + "README.\n\nBuilt with Qt " + QT_VERSION_STR + ", running on Qt " + qVersion()
                        + ".\nQt: Copyright (c) The Qt Company Ltd. and other contributors. It is used under "
                        + "the GNU Lesser General Public License, version 3, which builds on the GNU General "
                        + "Public License, version 3: their texts, and where Qt's source is, are in the "
                        + "licenses folder beside velmar.exe on Windows, and come with the system's Qt elsewhere.",
                    Dialogs::Icon::Information);
}

}  // namespace velmar
