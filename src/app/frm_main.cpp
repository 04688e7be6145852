// The main window's shell: start-up, menus and tool buttons, loading and saving, recent files,
// the mode buttons, the emulator and the way out.
#include "frm_main.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editor/session.h"
#include "files/app_info.h"
#include "files/emulator_command.h"
#include "files/name_list.h"
#include "files/settings.h"
#include "frm_options.h"
#include "qt_bridge.h"
#include "rom/area_catalogue.h"
#include "rom/rom_file.h"
#include "text/char_table.h"
#include "widgets/bitmap_view.h"

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

frmMain::frmMain(const QString& datFolder, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), datFolder_(datFolder), dialogs_(dialogs)
{
    setObjectName("frmMain");
    programFolder_ = QFileInfo(datFolder).absolutePath();
    launcher_ = [](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    };
    buildMenus();
    buildToolBar();
    buildCentralArea();
    buildStatusPanels();
    startUp();
}

frmMain::~frmMain() = default;

void frmMain::buildMenus()
{
    menuFile = menuBar()->addMenu("File");
    menuFile->setObjectName("menuFile");
    menuFileLoadFile = menuFile->addAction("Load File", this, &frmMain::menuFileLoadFile_Click);
    menuFileLoadFile->setObjectName("menuFileLoadFile");
    menuFileLoadFile->setShortcut(QKeySequence::Open);
    menuFileSaveFile = menuFile->addAction("Save File", this, &frmMain::menuFileSaveFile_Click);
    menuFileSaveFile->setObjectName("menuFileSaveFile");
    menuFileSaveFile->setShortcut(QKeySequence::Save);
    menuFile->addSeparator();
    for (int i = 0; i < 5; ++i) {
        QAction* a = menuFile->addAction(QString("Recent File %1").arg(i));
        a->setObjectName(QString("menuFileRecentFiles_%1").arg(i));
        connect(a, &QAction::triggered, this, [this, i] { menuFileRecentFiles_Click(i); });
        menuFileRecentFiles[static_cast<std::size_t>(i)] = a;
    }
    menuFile->addSeparator();
    menuFileExit = menuFile->addAction("Exit", this, &frmMain::menuFileExit_Click);
    menuFileExit->setObjectName("menuFileExit");
    menuOptions = menuBar()->addAction("Options", this, &frmMain::menuOptions_Click);
    menuOptions->setObjectName("menuOptions");
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
    for (QToolButton** b : {&cmdBkgEdit, &cmdEnemyEdit, &cmdItemEdit, &cmdAll}) {
        const bool bkg = b == &cmdBkgEdit, enemy = b == &cmdEnemyEdit, item = b == &cmdItemEdit;
        button(*b, bkg ? "cmdBkgEdit" : enemy ? "cmdEnemyEdit" : item ? "cmdItemEdit" : "cmdAll",
               bkg ? "Map Edit Mode" : enemy ? "Enemy Edit Mode" : item ? "Item Edit Mode" : "View All",
               markIcon(bkg ? "Map" : enemy ? "En" : item ? "It" : "All", mode));
        (*b)->setCheckable(true);
        modeButtons_->addButton(*b);
    }
    connect(cmdFileLoad, &QToolButton::clicked, this, &frmMain::cmdFileLoad_Click);
    connect(cmdFileSave, &QToolButton::clicked, this, &frmMain::cmdFileSave_Click);
    connect(cmdExitApp, &QToolButton::clicked, this, &frmMain::cmdExitApp_Click);
    connect(cmdClearArea, &QToolButton::clicked, this, &frmMain::cmdClearArea_Click);
    connect(cmdAreaInfo, &QToolButton::clicked, this, &frmMain::cmdAreaInfo_Click);
    connect(cmdRunEmulator, &QToolButton::clicked, this, &frmMain::cmdRunEmulator_Click);
    connect(cmdBkgEdit, &QToolButton::clicked, this, &frmMain::cmdBkgEdit_Click);
    connect(cmdEnemyEdit, &QToolButton::clicked, this, &frmMain::cmdEnemyEdit_Click);
    connect(cmdItemEdit, &QToolButton::clicked, this, &frmMain::cmdItemEdit_Click);
    connect(cmdAll, &QToolButton::clicked, this, &frmMain::cmdAll_Click);
    // The sub-editor windows come later; their buttons stay disabled until then.
    for (QToolButton* b : {cmdTextEditor, cmdMetatileEditor, cmdAnimEdit, cmdPaletteEdit, cmdResizeMap,
                           cmdResizeItem, cmdResizeEnemy})
        b->setProperty("notYetAvailable", true);
}

void frmMain::startUp()
{
    // 1. Title.
    setCaption();

    // 2. Settings.
    const std::string programFolder = ss(QDir::toNativeSeparators(programFolder_));
    if (!loadSettings(pathFromUtf8(ss(datFolder_ + "/VELMAR.INI")), programFolder, state_.settings))
        dialogs_.message("Error loading \"VELMAR.INI\"!\nLoading defaults...");

    // 3. Recent-file captions.
    refreshRecentFileCaptions();

    // 4. Character table.
    if (!loadCharTable(pathFromUtf8(ss(datFolder_ + "/TBL.DAT")), state_.charTable))
        dialogs_.message("Error loading \"TBL.DAT\"!\nLoading default table.");

    // 5, 6. Item and enemy names.
    loadNameLists();

    // 7. The open dialog starts in the folder of the last file loaded.
    dialogFolder_ = qs(state_.settings.romFolder);

    // 8. Nothing to edit until a file is loaded.
    setEditingEnabled(false);

    // 9-11. No image: one zero byte; the colour table is built once on first use.
    state_.rom = RomImage{};
    state_.suppressSceneStore = true;
    exiting_ = false;
}

void frmMain::loadNameLists()
{
    if (auto names = loadNameList(pathFromUtf8(ss(datFolder_ + "/ITEM.DAT")))) {
        state_.itemNames = std::move(*names);
    } else {
        dialogs_.message("Error loading \"ITEM.DAT\"!\nLoading default table.");
        state_.itemNames = defaultItemNames();
    }
    if (auto names = loadNameList(pathFromUtf8(ss(datFolder_ + "/ENEMY.DAT")))) {
        state_.enemyNames = std::move(*names);
    } else {
        dialogs_.message("Error loading \"ENEMY.DAT\"!\nLoading default table.");
        state_.enemyNames = defaultEnemyNames();
    }
}

void frmMain::setEditingEnabled(bool enabled)
{
    for (QToolButton* b : {cmdFileSave, cmdAreaInfo, cmdClearArea, cmdBkgEdit, cmdEnemyEdit, cmdItemEdit, cmdAll})
        b->setEnabled(enabled);
    for (QToolButton* b : {cmdTextEditor, cmdMetatileEditor, cmdAnimEdit, cmdPaletteEdit, cmdResizeMap,
                           cmdResizeItem, cmdResizeEnemy})
        b->setEnabled(enabled && !b->property("notYetAvailable").toBool());
    menuFileSaveFile->setEnabled(enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{tvAreaList, picRenderDest, hscrollRenderer, picBkgNat,
                                                       vMetaRenderer, optNone, optShowMetatile, optShowScreen,
                                                       hscrGridColor})
        w->setEnabled(enabled);
}

void frmMain::setCaption()
{
    const QString file = state_.romPath.empty() ? QString("...") : fileNameOf(qs(state_.romPath));
    setWindowTitle(qAppTitle() + " [" + file + "]");
}

void frmMain::refreshRecentFileCaptions()
{
    for (int i = 0; i < 5; ++i) {
        const std::string& path = state_.settings.recentFiles[static_cast<std::size_t>(i)];
        QAction* a = menuFileRecentFiles[static_cast<std::size_t>(i)];
        // Menu captions treat '&' as a mnemonic marker; a path shows it literally.
        a->setText(qs(recentFileCaption(i, path)).replace("&", "&&"));
        a->setToolTip(qs(path));
    }
}

void frmMain::loadRom(bool showDialog, const QString& path)
{
    QString fileName = path;
    if (showDialog) {
        fileName = dialogs_.openFile(dialogFolder_, "iNES rom image (*.nes)");
        if (!fileName.isEmpty())
            dialogFolder_ = QFileInfo(fileName).absolutePath();
    }
    if (fileName.isEmpty())
        return;

    const RomReadResult r = openRom(state_, ss(fileName), state_.settings.checkDrive, systemVolumes());
    if (r != RomReadResult::Ok) {
        // Nothing changed: the caption, the tree, the scene and the file they belong to stay.
        dialogs_.message(qs(romReadMessage(r)));
        return;
    }

    const QString romPath = qs(state_.romPath);
    setCaption();
    state_.settings.romFolder = ss(QDir::toNativeSeparators(QFileInfo(romPath).absolutePath()));
    addRecentFile(state_.settings, state_.romPath);
    refreshRecentFileCaptions();

    editMode_ = 0;
    buildAreaTree();
    setEditingEnabled(true);
    if (QTreeWidgetItem* first = findNode("c:000000")) {
        buildingTree_ = true;
        tvAreaList->setCurrentItem(first);
        buildingTree_ = false;
        tvAreaList_NodeClick(first);
    }
    cmdBkgEdit->setChecked(true);
    cmdBkgEdit_Click();
    dialogs_.message("File successfully loaded!");
}

void frmMain::saveRom()
{
    const int r = velmar::saveRom(state_);
    dialogs_.message(r == 0 ? "File saved!" : "Unknown I/O error!");
}

void frmMain::menuFileLoadFile_Click() { loadRom(true, QString()); }
void frmMain::cmdFileLoad_Click() { loadRom(true, QString()); }
void frmMain::menuFileSaveFile_Click() { saveRom(); }
void frmMain::cmdFileSave_Click() { saveRom(); }

void frmMain::menuFileRecentFiles_Click(int index)
{
    const std::string& path = state_.settings.recentFiles[static_cast<std::size_t>(index)];
    if (!path.empty())
        loadRom(false, qs(path));
}

void frmMain::menuFileExit_Click() { close(); }
void frmMain::cmdExitApp_Click() { close(); }

void frmMain::menuOptions_Click()
{
    if (!options_)
        options_ = new frmOptions(state_.settings, this);
    options_->initGUI();
    options_->open();  // modal to this window; OK or Cancel closes it
}

void frmMain::cmdAreaInfo_Click() {}

QString frmMain::playTestPath() const
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return folder + "/velmar-playtest-" + QString::number(QCoreApplication::applicationPid()) + ".nes";
}

void frmMain::cmdRunEmulator_Click()
{
    if (state_.settings.emulatorCommand.empty()) {
        dialogs_.message("Emulator path not set!", Dialogs::Icon::Exclamation);
        return;
    }
#ifdef _WIN32
    constexpr bool kBackslashEscapes = false;
#else
    constexpr bool kBackslashEscapes = true;
#endif
    std::vector<std::string> words = splitCommandLine(state_.settings.emulatorCommand, kBackslashEscapes);
    if (words.empty()) {
        dialogs_.message("Emulator path not set!", Dialogs::Icon::Exclamation);
        return;
    }
    if (mentionsRomFile(words)) {
        // Play-testing without saving: the edited image goes to a file of its own; the ROM file
        // on disk is not touched.
        const QString copy = playTestPath();
        if (!writeFileSafely(pathFromUtf8(ss(copy)), imageWithCurrentScene(state_), false)) {
            dialogs_.message("Could not write the test image:\n" + copy, Dialogs::Icon::Exclamation);
            return;
        }
        words = substituteRomFile(std::move(words), ss(QDir::toNativeSeparators(copy)));
    }
    QStringList arguments;
    for (std::size_t i = 1; i < words.size(); ++i)
        arguments << qs(words[i]);
    if (!launcher_(qs(words.front()), arguments))
        dialogs_.message("The emulator could not be started:\n" + qs(state_.settings.emulatorCommand),
                         Dialogs::Icon::Exclamation);
}

void frmMain::setModeButtons(int mode)
{
    QToolButton* b = mode == 1 ? cmdEnemyEdit : mode == 2 ? cmdItemEdit : mode == 3 ? cmdAll : cmdBkgEdit;
    b->setChecked(true);
}

void frmMain::cmdBkgEdit_Click()
{
    editMode_ = 0;
    lblSelActorHighlight->hide();
    linePlayerPos->hide();
    setEnemiesVisible(false);
    setItemsVisible(false);
    setModeButtons(0);
}

void frmMain::cmdEnemyEdit_Click()
{
    editMode_ = 1;
    setEnemiesVisible(true);
    setItemsVisible(false);
    setModeButtons(1);
}

void frmMain::cmdItemEdit_Click()
{
    editMode_ = 2;
    linePlayerPos->hide();
    setEnemiesVisible(false);
    setItemsVisible(true);
    setModeButtons(2);
}

void frmMain::cmdAll_Click()
{
    editMode_ = 3;
    lblSelActorHighlight->hide();
    linePlayerPos->hide();
    setEnemiesVisible(true);
    setItemsVisible(true);
    setModeButtons(3);
}

bool frmMain::confirmDiscardOrSave()
{
    if (!hasUnsavedChanges(state_))
        return true;
    const QString text = "The changes to " + fileNameOf(qs(state_.romPath))
        + " have not been saved.\nSave them before closing?";
    switch (dialogs_.askYesNoCancel(text)) {
    case Dialogs::Answer::Yes:
        if (velmar::saveRom(state_) != 0) {
            dialogs_.message("Unknown I/O error!");
            return false;
        }
        return true;
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Cancel:
        return false;
    }
    return false;
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (exiting_) {
        event->accept();
        return;
    }
    if (!confirmDiscardOrSave()) {
        event->ignore();
        return;
    }
    exiting_ = true;
    if (!saveSettings(pathFromUtf8(ss(datFolder_ + "/VELMAR.INI")), state_.settings))
        dialogs_.message("Error saving \"VELMAR.INI\"!");
    if (options_)
        options_->close();
    event->accept();
}

}  // namespace velmar
