// The main window's menus and tool bar: built once, connected to its slots, and kept in step
// with the document.
#include "main_window/main_window_actions.h"

#include <QAction>
#include <QButtonGroup>
#include <QDir>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "dialogs.h"
#include "editor/document.h"
#include "files/app_info.h"
#include "files/settings.h"
#include "qt_bridge.h"
#include "session/scene_file_actions.h"

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

void MainWindowActions::buildMenus(QMainWindow& window)
{
    auto action = [](QMenu* menu, QAction*& member, const char* name, const QString& caption,
                     const QKeySequence& keys) {
        member = menu->addAction(caption);
        member->setObjectName(name);
        member->setShortcut(keys);
    };
    menuFile = window.menuBar()->addMenu("&File");
    menuFile->setObjectName("menuFile");
    menuFile->setToolTipsVisible(true);
    action(menuFile, menuFileLoadFile, "menuFileLoadFile", "Load File", QKeySequence::Open);
    action(menuFile, menuFileSaveFile, "menuFileSaveFile", "Save File", QKeySequence::Save);
    action(menuFile, menuFileSaveAs, "menuFileSaveAs", "Save As...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    menuFile->addSeparator();
    action(menuFile, menuFileCreatePatch, "menuFileCreatePatch", "Create Patch...", QKeySequence());
    action(menuFile, menuFileApplyPatch, "menuFileApplyPatch", "Apply Patch...", QKeySequence());
    menuFileCreatePatch->setToolTip("Write the edits as an IPS or BPS patch, to share them without the image");
    menuFileApplyPatch->setToolTip("Apply an IPS or BPS patch to the open image, as one step");
    menuFile->addSeparator();
    for (int i = 0; i < 5; ++i) {
        QAction* a = menuFile->addAction(QString("Recent File %1").arg(i));
        a->setObjectName(QString("menuFileRecentFiles_%1").arg(i));
        menuFileRecentFiles[static_cast<std::size_t>(i)] = a;
    }
    menuFile->addSeparator();
    // Ctrl+Q everywhere: Windows has no standard key for quitting.
    action(menuFile, menuFileExit, "menuFileExit", "Exit", QKeySequence(Qt::CTRL | Qt::Key_Q));

    menuEdit = window.menuBar()->addMenu("&Edit");
    menuEdit->setObjectName("menuEdit");
    action(menuEdit, menuEditUndo, "menuEditUndo", "Undo", QKeySequence::Undo);
    action(menuEdit, menuEditRedo, "menuEditRedo", "Redo", QKeySequence::Redo);
    // The platform's keys first; Ctrl+Y and Ctrl+Shift+Z work everywhere, as users of other
    // editors expect one or the other.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& k : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
        if (!redoKeys.contains(k))
            redoKeys << k;
    }
    menuEditRedo->setShortcuts(redoKeys);
    // Their texts name the step they take; the table of shortcuts names the command.
    menuEditUndo->setIconText("Undo");
    menuEditRedo->setIconText("Redo");
    // The editor windows are windows of their own: undo and redo work from any of them. A text
    // box with the focus still takes the keys for its own text first.
    menuEditUndo->setShortcutContext(Qt::ApplicationShortcut);
    menuEditRedo->setShortcutContext(Qt::ApplicationShortcut);

    menuOptions = window.menuBar()->addAction("&Options");
    menuOptions->setObjectName("menuOptions");

    menuHelp = window.menuBar()->addMenu("&Help");
    menuHelp->setObjectName("menuHelp");
    action(menuHelp, menuHelpShortcuts, "menuHelpShortcuts", "&Keyboard Shortcuts", QKeySequence::HelpContents);
    action(menuHelp, menuHelpReadme, "menuHelpReadme", "Open the &README", QKeySequence());
    action(menuHelp, menuHelpAbout, "menuHelpAbout", "&About Velmar", QKeySequence());
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

void MainWindowActions::addActorCommands(const QList<QAction*>& actions)
{
    menuEdit->addSeparator();
    menuEdit->addActions(actions);
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

void MainWindowActions::setFileActionsEnabled(bool enabled)
{
    for (QToolButton* b : {cmdFileSave, cmdAreaInfo, cmdClearArea, cmdRunEmulator, cmdBkgEdit, cmdEnemyEdit,
                           cmdItemEdit, cmdAll, cmdTextEditor, cmdMetatileEditor, cmdAnimEdit, cmdPaletteEdit,
                           cmdResizeMap, cmdResizeItem, cmdResizeEnemy, cmdSelect})
        b->setEnabled(enabled);
    for (QAction* a :
         {menuFileSaveFile, menuFileSaveAs, menuFileCreatePatch, menuFileApplyPatch, menuFileExportMap, menuViewGrid})
        a->setEnabled(enabled);
    sceneFileActions->setEnabled(enabled);
}

void MainWindowActions::setSceneActionsEnabled(bool enabled)
{
    for (QToolButton* b : {cmdAreaInfo, cmdClearArea, cmdBkgEdit, cmdEnemyEdit, cmdItemEdit, cmdAll, cmdMetatileEditor,
                           cmdAnimEdit, cmdPaletteEdit, cmdResizeMap, cmdResizeItem, cmdResizeEnemy, cmdSelect})
        b->setEnabled(enabled);
    menuFileExportMap->setEnabled(enabled);
    sceneFileActions->setEnabled(enabled);
}

void showAbout(Dialogs& dialogs)
{
    dialogs.message(qAppTitle() + "\nA level editor for the ROM image of an NES side-scrolling action game.\n\n"
                        + "Built with Qt " + QT_VERSION_STR + ", running on Qt " + qVersion() + ".",
                    Dialogs::Icon::Information);
}

}  // namespace velmar
