// The main window's shell: start-up, menus and tool buttons, loading and saving, recent files,
// the edit modes, the emulator and the way out.
#include "frm_main.h"
#include "play_test_copy.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "editor/area_info.h"
#include "editor/edits.h"
#include "files/app_info.h"
#include "files/emulator_command.h"
#include "files/name_list.h"
#include "files/recovery.h"
#include "frm_bkg_edit.h"
#include "frm_rom_expansion.h"
#include "frm_spr_edit.h"
#include "frm_text_edit.h"
#include "frm_options.h"
#include "frm_pal_edit.h"
#include "frm_shortcuts.h"
#include "widgets/bitmap_view.h"
#include "map_cursor.h"
#include "panels/map_view_panel.h"
#include "panels/metatile_picker_panel.h"
#include "qt_bridge.h"
#include "rom/area_catalogue.h"
#include "rom/rom_file.h"
#include "text/char_table.h"

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

QString fileNameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

}  // namespace

frmMain::frmMain(const QString& datFolder, const QString& userConfigFolder, Dialogs& dialogs, QWidget* parent)
    : frmMain(datFolder, userConfigFolder, QString(), dialogs, parent)
{
}

frmMain::frmMain(const QString& datFolder, const QString& userConfigFolder, const QString& recoveryFolder,
                 Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), datFolder_(datFolder), userConfigFolder_(userConfigFolder),
      recoveryFolder_(recoveryFolder), dialogs_(dialogs)
{
    setObjectName("frmMain");
    setAcceptDrops(true);  // a .nes file dropped on the window opens
    programFolder_ = QFileInfo(datFolder).absolutePath();
    launcher_ = [](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    };
    document_ = new EditorDocument(this);
    connect(document_, &EditorDocument::changed, this, &frmMain::recovery_DocumentChanged);
    buildMenus();
    buildToolBar();
    buildCentralArea();  // the panels, which follow the document before the window does
    buildSelectionControls();
    startUp();
    restoreLayout();
}

frmMain::~frmMain() = default;

void frmMain::endSession()
{
    if (exiting_)
        return;
    commitPendingInput();
    if (recoveryWriter_ && doc().hasUnsavedChanges()) {
        tmrRecovery->stop();
        recoveryWriter_->store({doc().path(), doc().sceneKey(), doc().rom()});
        recoveryWriter_->wait();
    }
    exiting_ = true;
    saveLayout();
    std::filesystem::path written;
    // No one is there to read a message: a settings file that cannot be written is left as it was.
    if (!keepSettingsFile_)
        (void)saveSettings(settingsFiles(), workspace_.settings, written);
    playTest_.reset();
    QCoreApplication::quit();
}

void frmMain::buildMenus()
{
    auto action = [this](QMenu* menu, QAction*& member, const char* name, const QString& caption,
                         void (frmMain::*slot)(), const QKeySequence& keys) {
        member = menu->addAction(caption, this, slot);
        member->setObjectName(name);
        member->setShortcut(keys);
    };
    menuFile = menuBar()->addMenu("&File");
    menuFile->setObjectName("menuFile");
    menuFile->setToolTipsVisible(true);
    action(menuFile, menuFileLoadFile, "menuFileLoadFile", "Load File", &frmMain::menuFileLoadFile_Click,
           QKeySequence::Open);
    action(menuFile, menuFileSaveFile, "menuFileSaveFile", "Save File", &frmMain::menuFileSaveFile_Click,
           QKeySequence::Save);
    action(menuFile, menuFileSaveAs, "menuFileSaveAs", "Save As...", &frmMain::menuFileSaveAs_Click,
           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    menuFile->addSeparator();
    action(menuFile, menuFileCreatePatch, "menuFileCreatePatch", "Create Patch...",
           &frmMain::menuFileCreatePatch_Click, QKeySequence());
    action(menuFile, menuFileApplyPatch, "menuFileApplyPatch", "Apply Patch...", &frmMain::menuFileApplyPatch_Click,
           QKeySequence());
    menuFileCreatePatch->setToolTip("Write the edits as an IPS or BPS patch, to share them without the image");
    menuFileApplyPatch->setToolTip("Apply an IPS or BPS patch to the open image, as one step");
    menuFile->addSeparator();
    for (int i = 0; i < 5; ++i) {
        QAction* a = menuFile->addAction(QString("Recent File %1").arg(i));
        a->setObjectName(QString("menuFileRecentFiles_%1").arg(i));
        connect(a, &QAction::triggered, this, [this, i] { menuFileRecentFiles_Click(i); });
        menuFileRecentFiles[static_cast<std::size_t>(i)] = a;
    }
    menuFile->addSeparator();
    // Ctrl+Q everywhere: Windows has no standard key for quitting.
    action(menuFile, menuFileExit, "menuFileExit", "Exit", &frmMain::menuFileExit_Click,
           QKeySequence(Qt::CTRL | Qt::Key_Q));

    menuEdit = menuBar()->addMenu("&Edit");
    menuEdit->setObjectName("menuEdit");
    action(menuEdit, menuEditUndo, "menuEditUndo", "Undo", &frmMain::menuEditUndo_Click, QKeySequence::Undo);
    action(menuEdit, menuEditRedo, "menuEditRedo", "Redo", &frmMain::menuEditRedo_Click, QKeySequence::Redo);
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

    menuOptions = menuBar()->addAction("&Options", this, &frmMain::menuOptions_Click);
    menuOptions->setObjectName("menuOptions");

    menuHelp = menuBar()->addMenu("&Help");
    menuHelp->setObjectName("menuHelp");
    action(menuHelp, menuHelpShortcuts, "menuHelpShortcuts", "&Keyboard Shortcuts", &frmMain::menuHelpShortcuts_Click,
           QKeySequence::HelpContents);
    action(menuHelp, menuHelpReadme, "menuHelpReadme", "Open the &README", &frmMain::menuHelpReadme_Click,
           QKeySequence());
    action(menuHelp, menuHelpAbout, "menuHelpAbout", "&About Velmar", &frmMain::menuHelpAbout_Click, QKeySequence());
}

void frmMain::buildToolBar()
{
    QToolBar* bar = addToolBar("Tools");
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
    button(cmdFileLoad, "cmdFileLoad", "Open File", style()->standardIcon(QStyle::SP_DialogOpenButton));
    button(cmdFileSave, "cmdFileSave", "Save File", style()->standardIcon(QStyle::SP_DialogSaveButton));
    button(cmdExitApp, "cmdExitApp", "Exit Program", markIcon("X", QColor(170, 60, 60)));
    bar->addSeparator();
    button(cmdUndo, "cmdUndo", "Undo", style()->standardIcon(QStyle::SP_ArrowBack));
    button(cmdRedo, "cmdRedo", "Redo", style()->standardIcon(QStyle::SP_ArrowForward));
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
    modeButtons_ = new QButtonGroup(this);
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
    connect(cmdFileLoad, &QToolButton::clicked, this, &frmMain::cmdFileLoad_Click);
    connect(cmdFileSave, &QToolButton::clicked, this, &frmMain::cmdFileSave_Click);
    connect(cmdExitApp, &QToolButton::clicked, this, &frmMain::cmdExitApp_Click);
    connect(cmdUndo, &QToolButton::clicked, this, &frmMain::cmdUndo_Click);
    connect(cmdRedo, &QToolButton::clicked, this, &frmMain::cmdRedo_Click);
    connect(cmdClearArea, &QToolButton::clicked, this, &frmMain::cmdClearArea_Click);
    connect(cmdAreaInfo, &QToolButton::clicked, this, &frmMain::cmdAreaInfo_Click);
    connect(cmdRunEmulator, &QToolButton::clicked, this, &frmMain::cmdRunEmulator_Click);
    connect(cmdBkgEdit, &QToolButton::clicked, this, &frmMain::cmdBkgEdit_Click);
    connect(cmdEnemyEdit, &QToolButton::clicked, this, &frmMain::cmdEnemyEdit_Click);
    connect(cmdItemEdit, &QToolButton::clicked, this, &frmMain::cmdItemEdit_Click);
    connect(cmdAll, &QToolButton::clicked, this, &frmMain::cmdAll_Click);
    connect(cmdPaletteEdit, &QToolButton::clicked, this, &frmMain::cmdPaletteEdit_Click);
    connect(cmdMetatileEditor, &QToolButton::clicked, this, &frmMain::cmdMetatileEditor_Click);
    connect(cmdAnimEdit, &QToolButton::clicked, this, &frmMain::cmdAnimEdit_Click);
    connect(cmdTextEditor, &QToolButton::clicked, this, &frmMain::cmdTextEditor_Click);
    connect(cmdResizeMap, &QToolButton::clicked, this, &frmMain::cmdResizeMap_Click);
    connect(cmdResizeItem, &QToolButton::clicked, this, &frmMain::cmdResizeItem_Click);
    connect(cmdResizeEnemy, &QToolButton::clicked, this, &frmMain::cmdResizeEnemy_Click);
    // The sub-editor windows come later; their buttons stay disabled until then.
}

SettingsFiles frmMain::settingsFiles() const
{
    return {pathFromUtf8(ss(datFolder_ + "/VELMAR.INI")),
            userConfigFolder_.isEmpty() ? std::filesystem::path() : pathFromUtf8(ss(userConfigFolder_ + "/VELMAR.INI"))};
}

void frmMain::startUp()
{
    // 1. Title.
    setCaption();

    // 2. Settings. A missing file is the first start: the defaults, and the file is written at
    // exit. A file that is there but cannot be read is worth a word.
    const std::string programFolder = ss(QDir::toNativeSeparators(programFolder_));
    // A file that does not read well keeps the values that do, and is kept as it was in
    // VELMAR.INI.bad before the exit writes over it; when that copy cannot be made, the file is
    // not written over at all.
    const std::filesystem::path inUse = settingsFileInUse(settingsFiles());
    const Outcome<SettingsLoad> settings = loadSettings(inUse, programFolder, workspace_.settings);
    if (settings.code == SettingsLoad::Unreadable || settings.code == SettingsLoad::Partial) {
        QString text = settings.code == SettingsLoad::Partial
                           ? "Error loading \"VELMAR.INI\"!\nThe values that read well are kept; the others take "
                             "their defaults."
                           : QString("Error loading \"VELMAR.INI\"!\nLoading defaults...");
        text += "\n" + QDir::toNativeSeparators(qs(pathToUtf8(inUse))) + ": " + qs(settings.reason);
        std::filesystem::path kept;
        if (const Outcome<WriteResult> k = keepUnreadSettings(inUse, kept); k.ok()) {
            text += "\nThe file as it was is kept as " + QDir::toNativeSeparators(qs(pathToUtf8(kept))) + ".";
        } else {
            text += "\nIt cannot be kept as " + QDir::toNativeSeparators(qs(pathToUtf8(kept))) + " (" + qs(k.reason)
                    + "), so the settings will not be written over it.";
            keepSettingsFile_ = true;
        }
        dialogs_.message(text);
    }

    // 3. Recent-file captions.
    refreshRecentFileCaptions();

    // 4. Character table.
    const QString table = datFolder_ + "/TBL.DAT";
    if (const std::string reason = loadCharTable(pathFromUtf8(ss(table)), workspace_.charTable); !reason.empty())
        dialogs_.message(fileMessageText("Error loading \"TBL.DAT\"!\nLoading default table.",
                                         QDir::toNativeSeparators(table), reason));

    // 5, 6. Item and enemy names.
    loadNameLists();

    // 7. The open dialog starts in the folder of the last file loaded.
    dialogFolder_ = qs(workspace_.settings.romFolder);

    // 8. Nothing to edit until a file is loaded.
    setEditingEnabled(false);
    refreshEditActions();
    exiting_ = false;

    // 9. Edits kept from a session that did not end properly.
    startRecovery();
}

void frmMain::loadNameLists()
{
    if (auto names = loadNameList(pathFromUtf8(ss(datFolder_ + "/ITEM.DAT")))) {
        workspace_.itemNames = std::move(*names);
    } else {
        dialogs_.message("Error loading \"ITEM.DAT\"!\nLoading default table.");
        workspace_.itemNames = defaultItemNames();
    }
    if (auto names = loadNameList(pathFromUtf8(ss(datFolder_ + "/ENEMY.DAT")))) {
        workspace_.enemyNames = std::move(*names);
    } else {
        dialogs_.message("Error loading \"ENEMY.DAT\"!\nLoading default table.");
        workspace_.enemyNames = defaultEnemyNames();
    }
}

void frmMain::setEditingEnabled(bool enabled)
{
    for (QToolButton* b : {cmdFileSave, cmdAreaInfo, cmdClearArea, cmdRunEmulator, cmdBkgEdit, cmdEnemyEdit,
                           cmdItemEdit, cmdAll})
        b->setEnabled(enabled);
    for (QToolButton* b : {cmdTextEditor, cmdMetatileEditor, cmdAnimEdit, cmdPaletteEdit, cmdResizeMap,
                           cmdResizeItem, cmdResizeEnemy})
        b->setEnabled(enabled);
    menuFileSaveFile->setEnabled(enabled);
    menuFileSaveAs->setEnabled(enabled);
    menuFileCreatePatch->setEnabled(enabled);
    menuFileApplyPatch->setEnabled(enabled);
    menuFileExportMap->setEnabled(enabled);
    menuViewGrid->setEnabled(enabled);
    cmdSelect->setEnabled(enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{tvAreaList, picRenderDest, hscrollRenderer, picBkgNat,
                                                       vMetaRenderer, optNone, optShowMetatile, optShowScreen,
                                                       hscrGridColor, actorListsPlace, propertiesPlace})
        w->setEnabled(enabled);
}

void frmMain::setSceneControlsEnabled(bool enabled)
{
    // What works on the scene shown; the file itself (save, patches, texts, the tree to pick
    // another scene) stays at hand.
    for (QToolButton* b : {cmdAreaInfo, cmdClearArea, cmdBkgEdit, cmdEnemyEdit, cmdItemEdit, cmdAll,
                           cmdMetatileEditor, cmdAnimEdit, cmdPaletteEdit, cmdResizeMap, cmdResizeItem, cmdResizeEnemy,
                           cmdSelect})
        b->setEnabled(enabled);
    menuFileExportMap->setEnabled(enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{picRenderDest, hscrollRenderer, picBkgNat, vMetaRenderer, optNone,
                                                       optShowMetatile, optShowScreen, hscrGridColor, actorListsPlace,
                                                       propertiesPlace})
        w->setEnabled(enabled);
}

void frmMain::setCaption()
{
    // The [*] shows Qt's mark of unsaved changes next to the file name.
    const QString file = doc().hasImage() ? fileNameOf(qs(doc().path())) + "[*]" : QString("...");
    setWindowTitle(qAppTitle() + " [" + file + "]");
    setWindowModified(doc().hasUnsavedChanges());
}

void frmMain::refreshRecentFileCaptions()
{
    for (int i = 0; i < 5; ++i) {
        const std::string& path = workspace_.settings.recentFiles[static_cast<std::size_t>(i)];
        QAction* a = menuFileRecentFiles[static_cast<std::size_t>(i)];
        // Menu captions treat '&' as a mnemonic marker; a path shows it literally.
        a->setText(qs(recentFileCaption(i, path)).replace("&", "&&"));
        a->setToolTip(qs(path));
        a->setVisible(!path.empty());
    }
}

void frmMain::refreshEditActions()
{
    const Document& d = doc();
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

void frmMain::commitPendingInput()
{
    // A value typed into a box is taken when the box loses the focus: before the file is saved,
    // left or run, it must be in the document.
    // The box may be in another of the program's windows.
    auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!box)
        box = qobject_cast<QLineEdit*>(focusWidget());
    if (!box || box->isReadOnly())
        return;
    box->clearFocus();
    box->setFocus();
}

bool frmMain::settleTextEdits()
{
    if (!textEdit_ || !textEdit_->isVisible())
        return true;
    textEdit_->txtSelectedText_LostFocus();
    if (!textEdit_->hasEdits())
        return true;
    switch (dialogs_.askYesNoCancel("The texts in the Text Editor were edited.\nKeep the text edits?")) {
    case Dialogs::Answer::Yes:
        if (textEdit_->storeTexts())
            return true;
        dialogs_.message("The texts were not stored: " + textEdit_->lblTextProblem->text(), Dialogs::Icon::Exclamation);
        textEdit_->raise();
        textEdit_->activateWindow();
        return false;
    case Dialogs::Answer::No:
        textEdit_->dropEdits();
        return true;
    case Dialogs::Answer::Cancel:
        return false;
    }
    return false;
}

bool frmMain::confirmDiscardOrSave(Leaving why)
{
    commitPendingInput();
    if (!settleTextEdits())
        return false;
    if (!doc().hasUnsavedChanges())
        return true;
    const QString text = "The changes to " + fileNameOf(qs(doc().path())) + " have not been saved.\n"
        + (why == Leaving::Closing ? "Save them before closing?" : "Save them before opening another file?");
    switch (dialogs_.askYesNoCancel(text)) {
    case Dialogs::Answer::Yes:
        return saveDocument();
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Cancel:
        return false;
    }
    return false;
}

void frmMain::loadRom(bool showDialog, const QString& path)
{
    if (!confirmDiscardOrSave(Leaving::Opening))
        return;
    QString fileName = path;
    if (showDialog) {
        fileName = dialogs_.openFile(dialogFolder_, "iNES rom image (*.nes)");
        if (!fileName.isEmpty())
            dialogFolder_ = QFileInfo(fileName).absolutePath();
    }
    if (!fileName.isEmpty())
        openFile(fileName, false);
}

void frmMain::openFile(const QString& fileName, bool askFirst)
{
    if (askFirst && !confirmDiscardOrSave(Leaving::Opening))
        return;
    // Qt hands over a name that is not valid UTF-8 with its bad bytes replaced, and that name is
    // no file's: the user can only rename it.
    if (fileName.contains(QChar::ReplacementCharacter) && !QFileInfo::exists(fileName)) {
        dialogs_.message(fileMessageText(romReadMessage(RomReadResult::IoError), fileName,
                                         "The file's name is not valid UTF-8 text, which Velmar cannot open. "
                                         "Rename the file, then open it."));
        return;
    }

    // A header that disagrees with the game's layout is often junk of an old dump: the user
    // decides.
    const auto accept = [this](const RomImage& image, const std::string& found) {
        const std::vector<std::string> warnings = headerWarnings(image);
        if (warnings.empty())
            return true;
        QString text = "The header of " + fileNameOf(qs(found)) + " does not describe this game:\n";
        for (const std::string& w : warnings)
            text += "- " + qs(w) + "\n";
        text += "Open it anyway?";
        return dialogs_.askYesNo(text) == Dialogs::Answer::Yes;
    };
    const Outcome<RomReadResult> r =
        document_->doc().open(ss(fileName), workspace_.settings.checkDrive, systemVolumes(), accept);
    if (r.code == RomReadResult::Declined)
        return;
    if (!r.ok()) {
        // Nothing changed: the caption, the tree, the scene and the file they belong to stay.
        dialogs_.message(fileMessageText(romReadMessage(r.code), fileName, r.reason));
        return;
    }
    showOpenedFile(std::nullopt);
    // A file whose first scene cannot be shown has said so; it is open, but not "loaded".
    if (doc().hasScene())
        reportSuccess("File successfully loaded!");
}

void frmMain::showOpenedFile(const std::optional<SceneKey>& scene)
{
    diskChangeKept_ = false;
    watchOpenFile();
    const QString romPath = qs(doc().path());
    dialogFolder_ = QFileInfo(romPath).absolutePath();
    setCaption();
    workspace_.settings.romFolder = ss(QDir::toNativeSeparators(QFileInfo(romPath).absolutePath()));
    addRecentFile(workspace_.settings, doc().path());
    refreshRecentFileCaptions();

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

bool frmMain::saveDocument()
{
    if (diskChangeKept_
        && dialogs_.askYesNo(QDir::toNativeSeparators(qs(doc().path()))
                             + " was changed by another program since it was opened. Save over those changes?")
               != Dialogs::Answer::Yes)
        return false;
    const Outcome<SaveResult> r = document_->doc().save(workspace_.settings.keepBackup);
    if (r.ok()) {
        diskChangeKept_ = false;
        watchOpenFile();
    }
    reportSaveFailure(r, qs(doc().path()));
    return r.ok();
}

void frmMain::reportSaveFailure(const Outcome<SaveResult>& r, const QString& path)
{
    if (r.code == SaveResult::BackupFailed)
        dialogs_.message(fileMessageText("The backup could not be made, so the file was not saved!", path + ".bak",
                                         r.reason),
                         Dialogs::Icon::Exclamation);
    else if (!r.ok())
        dialogs_.message(fileMessageText("Unknown I/O error!", path, r.reason));
}

void frmMain::saveRom()
{
    commitPendingInput();
    if (saveDocument())
        reportSuccess("File saved!");
}

void frmMain::reportSuccess(const QString& text)
{
    if (workspace_.settings.showSuccessMessages)
        dialogs_.message(text);
    else
        mainStatusBar->showMessage(text, 5000);
}

void frmMain::menuFileLoadFile_Click() { loadRom(true, QString()); }
void frmMain::cmdFileLoad_Click() { loadRom(true, QString()); }
void frmMain::menuFileSaveFile_Click() { saveRom(); }
void frmMain::cmdFileSave_Click() { saveRom(); }

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

void frmMain::menuOptions_Click()
{
    if (!options_)
        options_ = new frmOptions(workspace_.settings, this);
    options_->initGUI();
    options_->open();  // modal to this window; OK or Cancel closes it
}

void frmMain::menuHelpShortcuts_Click()
{
    if (!shortcuts_)
        shortcuts_ = new frmShortcuts(this);
    // The editor windows are this window's children; the table is made from the actions of all.
    QList<QWidget*> windows{this};
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w->isWindow() && w != shortcuts_)
            windows << w;
    }
    shortcuts_->initGUI(windows, MapCursor::keys());
    shortcuts_->show();
    shortcuts_->raise();
    shortcuts_->activateWindow();
}

void frmMain::menuHelpReadme_Click()
{
    if (readmeFile_.isEmpty() || !QFileInfo(readmeFile_).isFile()) {
        dialogs_.message("The README was not found beside the program"
                             + (readmeFile_.isEmpty() ? QString(".") : ":\n" + QDir::toNativeSeparators(readmeFile_)),
                         Dialogs::Icon::Exclamation);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(readmeFile_)))
        dialogs_.message("No program was found to open the README:\n" + QDir::toNativeSeparators(readmeFile_),
                         Dialogs::Icon::Exclamation);
}

void frmMain::menuHelpAbout_Click()
{
    dialogs_.message(qAppTitle() + "\nA level editor for the ROM image of an NES side-scrolling action game.\n\n"
                         + "Built with Qt " + QT_VERSION_STR + ", running on Qt " + qVersion() + ".",
                     Dialogs::Icon::Information);
}

void frmMain::cmdPaletteEdit_Click()
{
    if (!palEdit_)
        palEdit_ = new frmPalEdit(*this);
    palEdit_->initGUI();
    palEdit_->show();  // modeless: the main window follows its edits as they are made
    palEdit_->raise();
    palEdit_->activateWindow();
}

QString frmMain::layoutFile() const
{
    return (userConfigFolder_.isEmpty() ? datFolder_ : userConfigFolder_) + "/layout.ini";
}

void frmMain::restoreLayout()
{
    const QSettings kept(layoutFile(), QSettings::IniFormat);
    restoreGeometry(kept.value("window/geometry").toByteArray());
    splMain->restoreState(kept.value("window/panels").toByteArray());
}

void frmMain::saveLayout()
{
    QDir().mkpath(QFileInfo(layoutFile()).absolutePath());
    QSettings kept(layoutFile(), QSettings::IniFormat);
    kept.setValue("window/geometry", saveGeometry());
    kept.setValue("window/panels", splMain->saveState());
    kept.sync();
}

void frmMain::cmdAnimEdit_Click()
{
    if (!sprEdit_)
        sprEdit_ = new frmSprEdit(*this);
    sprEdit_->initGUI();
    sprEdit_->show();  // modeless: the main window follows its edits as they are made
    sprEdit_->raise();
    sprEdit_->activateWindow();
}

void frmMain::openResizeDialog(int editType)
{
    commitPendingInput();
    if (!romExpansion_)
        romExpansion_ = new frmRomExpansion(*this);
    romExpansion_->initGUI(editType);
    romExpansion_->show();
}

void frmMain::cmdResizeMap_Click() { openResizeDialog(frmRomExpansion::Map); }
void frmMain::cmdResizeItem_Click() { openResizeDialog(frmRomExpansion::Items); }
void frmMain::cmdResizeEnemy_Click() { openResizeDialog(frmRomExpansion::Enemies); }

void frmMain::cmdTextEditor_Click()
{
    if (!textEdit_)
        textEdit_ = new frmTextEdit(*this);
    // Open already: its edits stay.
    if (!textEdit_->isVisible() && !textEdit_->initGUI())
        return;
    textEdit_->show();
    textEdit_->raise();
    textEdit_->activateWindow();
}

void frmMain::cmdMetatileEditor_Click()
{
    if (!bkgEdit_)
        bkgEdit_ = new frmBkgEdit(*this);
    bkgEdit_->initGUI();
    bkgEdit_->show();  // modeless: the main window follows its edits as they are made
    bkgEdit_->raise();
    bkgEdit_->activateWindow();
}

void frmMain::cmdAreaInfo_Click()
{
    if (doc().hasScene())
        dialogs_.message(qs(areaInfoText(doc(), workspace_.charTable)), Dialogs::Icon::Information);
}

void frmMain::cmdRunEmulator_Click()
{
    if (workspace_.settings.emulatorCommand.empty()) {
        dialogs_.message("Emulator path not set!", Dialogs::Icon::Exclamation);
        return;
    }
#ifdef _WIN32
    constexpr bool kBackslashEscapes = false;
#else
    constexpr bool kBackslashEscapes = true;
#endif
    std::vector<std::string> words = splitCommandLine(workspace_.settings.emulatorCommand, kBackslashEscapes);
    if (words.empty()) {
        dialogs_.message("Emulator path not set!", Dialogs::Icon::Exclamation);
        return;
    }
    commitPendingInput();
    if (mentionsRomFile(words)) {
        // Play-testing without saving: the edited image goes to a file of its own; the ROM file
        // on disk is not touched. The copy is removed at exit.
        if (!playTest_)
            playTest_ = std::make_unique<PlayTestCopy>(QDir::tempPath());
        QString copy;
        if (const Outcome<WriteResult> w = playTest_->write(doc().rom().fileBytes(), fileNameOf(qs(doc().path())), copy);
            !w.ok()) {
            dialogs_.message(fileMessageText("Could not write the test image!", copy, w.reason),
                             Dialogs::Icon::Exclamation);
            return;
        }
        playTestPath_ = copy;
        words = substituteRomFile(std::move(words), ss(QDir::toNativeSeparators(copy)));
    }
    QStringList arguments;
    for (std::size_t i = 1; i < words.size(); ++i)
        arguments << qs(words[i]);
    if (!launcher_(qs(words.front()), arguments))
        dialogs_.message("The emulator could not be started:\n" + qs(workspace_.settings.emulatorCommand),
                         Dialogs::Icon::Exclamation);
}

void frmMain::setModeButtons(EditMode mode)
{
    QToolButton* b = mode == EditMode::Enemies ? cmdEnemyEdit
                     : mode == EditMode::Items ? cmdItemEdit
                     : mode == EditMode::All   ? cmdAll
                                               : cmdBkgEdit;
    b->setChecked(true);
}

void frmMain::applyEditMode(EditMode mode)
{
    editMode_ = mode;
    // The highlight and the enemy's player line belong to a selected actor of the actor modes.
    if (mode == EditMode::Map || mode == EditMode::All)
        lblSelActorHighlight->hide();
    if (mode != EditMode::Enemies)
        linePlayerPos->hide();
    // The outlined cell is map mode's.
    if (mode != EditMode::Map)
        mapView->cursor().hideOutline();
    showModeMarkers();
    setModeButtons(mode);
}

void frmMain::showModeMarkers() { mapView->showModeMarkers(); }

void frmMain::cmdBkgEdit_Click() { applyEditMode(EditMode::Map); }
void frmMain::cmdEnemyEdit_Click()
{
    applyEditMode(EditMode::Enemies);
    lblSelActorHighlight->hide();
    linePlayerPos->hide();
    selectEnemy(0);
}

void frmMain::cmdItemEdit_Click()
{
    applyEditMode(EditMode::Items);
    lblSelActorHighlight->hide();
    selectItem(0);
}
void frmMain::cmdAll_Click() { applyEditMode(EditMode::All); }

void frmMain::closeEvent(QCloseEvent* event)
{
    if (exiting_) {
        event->accept();
        return;
    }
    if (!confirmDiscardOrSave(Leaving::Closing)) {
        event->ignore();
        return;
    }
    exiting_ = true;
    saveLayout();
    endRecovery();
    std::filesystem::path written;
    if (keepSettingsFile_) {
        // A file that could not be read, nor kept aside, is not written over.
    } else if (const Outcome<WriteResult> r = saveSettings(settingsFiles(), workspace_.settings, written); !r.ok()) {
        dialogs_.message(fileMessageText("Error saving \"VELMAR.INI\"!", qs(pathToUtf8(written)), r.reason));
    }
    playTest_.reset();
    if (options_)
        options_->close();
    if (palEdit_)
        palEdit_->close();
    if (bkgEdit_)
        bkgEdit_->close();
    if (sprEdit_)
        sprEdit_->close();
    if (textEdit_)
        textEdit_->close();
    if (shortcuts_)
        shortcuts_->close();
    event->accept();
}

}  // namespace velmar
