#include <gtest/gtest.h>

#include <fstream>

#include <QFile>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTextBrowser>

#include <unistd.h>

#include "app_fixture.h"
#include "panels/grid_options_panel.h"

#include "files/app_info.h"
#include "files/recovery.h"
#include "windows/frm_options.h"
#include "windows/frm_readme.h"
#include "windows/frm_shortcuts.h"
#include "session/play_test_copy.h"
#include "rom/address_map.h"
#include "base/hex.h"
#include "widgets/bitmap_view.h"

namespace velmar::test {
namespace {

using MainWindowExit = SampleWindow;
using MainWindowFiles = SampleWindow;
using MainWindowMap = SampleWindow;

using Answer = Dialogs::Answer;

QString title(const char* file) { return qs(appTitle()) + " [" + file + "]"; }

TEST(MainWindowStartUp, AFirstStartIsQuiet)
{
    AppFixture f;
    f.writeGoodDataFiles();
    std::filesystem::remove(f.dir.path() / "dat" / "VELMAR.INI");
    frmMain& w = f.start();
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join("|").toStdString();
    EXPECT_EQ(w.windowTitle(), title("..."));
    const QSize screen = w.screen()->availableGeometry().size();
    EXPECT_TRUE(w.width() <= screen.width() && w.height() <= screen.height()) << "the first window fits the screen";
    // Nothing can be edited before a file is loaded, nor play-tested.
    for (QWidget* c :
         std::initializer_list<QWidget*>{w.cmdFileSave, w.cmdClearArea, w.cmdAll, w.cmdRunEmulator, w.areaTree,
                                         w.mapView->picRenderDest, w.fraGrid->optShowScreen, w.cmdUndo})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_TRUE(w.cmdFileLoad->isEnabled());
}

TEST(MainWindowStartUp, BrokenDataFilesFallBackWithMessages)
{
    AppFixture f;
    QDir().mkpath(f.dat());
    writeFile(f.dir.path() / "dat" / "VELMAR.INI", "/roms\nemu\na\nb\nc\nd\ne\n");  // seven lines
    writeFile(f.dir.path() / "dat" / "ITEM.DAT", "5\nOne\nTwo\n");                  // promises six names
    frmMain& w = f.start();
    // Each says which file, why, and what takes its place.
    const QString ini = QDir::toNativeSeparators(f.dat() + "/VELMAR.INI");
    ASSERT_EQ(f.dialogs.messages.size(), 4);
    EXPECT_TRUE(f.dialogs.messages[0].startsWith("Error loading \"VELMAR.INI\"!\nThe values that read well are kept"));
    EXPECT_TRUE(f.dialogs.messages[0].endsWith(ini + ": the file ends after line 7 of 8\nThe file as it was is kept as "
                                               + ini + ".bad."));
    EXPECT_TRUE(f.dialogs.messages[1].endsWith("TBL.DAT: No such file or directory"));
    for (int i = 1; const char* name : {"TBL.DAT", "ITEM.DAT", "ENEMY.DAT"})
        EXPECT_TRUE(f.dialogs.messages[i++].startsWith(QString("Error loading \"%1\"!\nLoading default").arg(name)));
    EXPECT_EQ(w.workspace().settings.emulatorCommand, "emu") << "values read well are kept";
    EXPECT_EQ(w.workspace().itemNames.size(), 12u);
    EXPECT_EQ(w.workspace().enemyNames.size(), 41u);
    EXPECT_EQ(w.workspace().charTable[0x41], "A");
}

TEST(MainWindowStartUp, SettingsGoToTheUserFolderWhenTheProgramFolderCannotTakeThem)
{
    AppFixture f;  // no dat folder at all: VELMAR.INI cannot be written beside the program
    frmMain& w = f.start();
    w.workspace().settings.emulatorCommand = "emu %f";
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(std::filesystem::exists(f.dir.path() / "dat" / "VELMAR.INI"));
    EXPECT_TRUE(std::filesystem::exists(f.dir.path() / "config" / "VELMAR.INI"));

    f.writeGoodDataFiles();  // the user's copy is read first, also when one appears beside
    frmMain& again = f.start();
    EXPECT_EQ(again.workspace().settings.emulatorCommand, "emu %f");
}

TEST(MainWindowStartUp, LoadGoodMissingInvalidAndCutOffFiles)
{
    AppFixture f;
    f.writeGoodDataFiles();
    frmMain& w = f.start();
    const QString good = f.writeSample("first.nes");
    f.dialogs.files = {good};
    w.cmdFileLoad_Click();
    EXPECT_EQ(f.dialogs.lastFolder, "/roms") << "the dialog starts in the last ROM folder";
    EXPECT_EQ(f.dialogs.messages, QStringList{"File successfully loaded!"});
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_EQ(w.areaTree->currentItem(), w.findNode("c:000000"));
    EXPECT_TRUE(w.cmdRunEmulator->isEnabled());
    // The four scenes of Stage 2-1 share their caption; the scene number tells them apart.
    QTreeWidgetItem* second = w.findNode("c:010203");
    EXPECT_EQ(second->text(0), "Stage 2-1");
    EXPECT_EQ(second->text(1), "03");
    EXPECT_EQ(second->toolTip(0), "Stage 2-1, scene 03 (2 of 4)");

    const auto& recent = w.workspace().settings.recentFiles;
    EXPECT_EQ(recent[0], ss(good));
    EXPECT_TRUE(w.menuFileRecentFiles[0]->isVisible());
    EXPECT_EQ(w.menuFileRecentFiles[0]->toolTip(), good) << "the tool tip is the whole path";
    EXPECT_FALSE(w.menuFileRecentFiles[1]->isVisible()) << "empty recent entries are hidden";

    // Files that cannot be opened change nothing, are not listed, and the message says why.
    const std::string sample = readFile(f.dir.file("first.nes"));
    const std::string cut = sample.substr(0, sample.size() / 2);
    writeFile(f.dir.file("cut.nes"), cut);
    const Bytes shown = w.doc().romData();
    f.dialogs.messages.clear();
    w.loadRom(false, f.file("cut.nes"));
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.messages[0].startsWith("Invalid rom!\n" + f.file("cut.nes") + ": The image is cut off"));
#ifndef _WIN32
    // A name that is not UTF-8 reaches the window with its bad bytes replaced, naming no file.
    // (Windows names are UTF-16: every one is text.)
    writeFile(f.dir.path() / "bad\xFF.nes", sample);
    const QString badName = QFile::decodeName(QByteArray::fromStdString((f.dir.path() / "bad\xFF.nes").string()));
    w.loadRom(false, badName);
    EXPECT_TRUE(f.dialogs.messages.back().startsWith("Error loading file!\n" + badName
                                                     + ": The file's name is not valid UTF-8"));
#endif
    EXPECT_EQ(w.windowTitle(), title("first.nes[*]"));
    EXPECT_EQ(w.doc().romData(), shown);
    EXPECT_EQ(recent[1], "") << "a file that failed is not listed";

    // Saving now writes to the file on screen, never into a rejected one.
    w.cmdFileSave_Click();
    EXPECT_EQ(f.dialogs.messages.back(), "File saved!");
    EXPECT_EQ(readFile(f.dir.file("cut.nes")), cut);

    // A cancelled dialog shows nothing.
    f.dialogs.messages.clear();
    w.cmdFileLoad_Click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

TEST_F(MainWindowFiles, OpeningAnotherFileAsksAboutUnsavedEditsAndAnotherLayout)
{
    const QString other = f.writeSample("other.nes");
    f.editFirstCell();
    const Bytes edited = w.doc().romData();

    f.dialogs.answers = {Answer::Cancel};
    w.loadRom(false, other);
    EXPECT_EQ(f.dialogs.questions.back(),
              "The changes to game.nes have not been saved.\nSave them before opening another file?");
    EXPECT_EQ(w.doc().path(), ss(f.file("game.nes")));
    EXPECT_EQ(w.doc().romData(), edited);
    EXPECT_TRUE(w.doc().canUndo());

    f.dialogs.answers = {Answer::No};
    w.loadRom(false, other);
    EXPECT_EQ(w.doc().path(), ss(other));
    EXPECT_TRUE(readFile(f.dir.file("game.nes")) == readFile(f.dir.file("other.nes")))
        << "the edits were dropped, not saved";

    f.editFirstCell();
    f.dialogs.answers = {Answer::Yes};
    w.loadRom(false, f.file("game.nes"));
    EXPECT_EQ(w.doc().path(), ss(f.file("game.nes")));
    EXPECT_FALSE(readFile(f.dir.file("game.nes")) == readFile(f.dir.file("other.nes"))) << "saved first";

    // A header of another layout is opened only when the user says so.
    RomImage layout = sampleImage();
    layout.romHeader[5] = 8;
    const QString header = f.writeSample("layout.nes", layout);
    f.dialogs.messages.clear();
    f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::Yes};
    w.loadRom(false, header);
    EXPECT_TRUE(f.dialogs.questions.back().contains("gives 8 pattern banks of 8 KB; the game has 16."));
    EXPECT_EQ(w.doc().path(), ss(f.file("game.nes"))) << "No keeps the file that was open";
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    w.loadRom(false, header);
    EXPECT_EQ(w.doc().path(), ss(header));
    EXPECT_EQ(f.dialogs.messages.back(), "File successfully loaded!");
}

// Save As makes the new file the open one; a file rewritten behind the window is offered for
// reloading, and kept from being overwritten unseen when the user says no; a dropped file opens.
TEST_F(MainWindowFiles, SaveAsAChangeOnDiskAndADroppedFile)
{
    const std::string original = readFile(f.dir.file("game.nes"));
    f.editFirstCell();
    const RomImage edited = w.doc().rom();
    f.dialogs.saveFiles = {f.file("copy.nes")};
    w.menuFileSaveAs->trigger();
    EXPECT_EQ(f.dialogs.lastFolder, f.file("game.nes")) << "the open file's name is proposed";
    EXPECT_EQ(f.dialogs.messages.back(), "File saved!");
    EXPECT_EQ(w.doc().path(), ss(f.file("copy.nes")));
    EXPECT_EQ(w.windowTitle(), title("copy.nes[*]"));
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_EQ(w.workspace().settings.recentFiles[0], ss(f.file("copy.nes")));
    const Bytes saved = edited.fileBytes();
    EXPECT_EQ(readFile(f.dir.file("copy.nes")), std::string(saved.begin(), saved.end()));

    // Another program rewrites the file (replacing it, as writers do). The Save As, our own save
    // and a rewrite with the same bytes ask nothing.
    w.checkFileOnDisk();
    writeFile(f.dir.file("copy.nes"), std::string(saved.begin(), saved.end()));
    w.checkFileOnDisk();
    EXPECT_TRUE(f.dialogs.questions.isEmpty());
    writeFile(f.dir.file("copy.nes"), original);
    f.dialogs.answers = {Answer::No};
    w.checkFileOnDisk();
    EXPECT_EQ(f.dialogs.questions,
              QStringList{f.file("copy.nes") + " was changed by another program. Reload it? Unsaved edits are lost."});
    EXPECT_EQ(w.doc().rom(), edited) << "no: nothing reloaded";
    f.dialogs.answers = {Answer::No};
    w.saveRom();
    EXPECT_EQ(f.dialogs.questions.back(),
              f.file("copy.nes") + " was changed by another program since it was opened. Save over those changes?");
    EXPECT_EQ(readFile(f.dir.file("copy.nes")), original) << "not saved over";
    w.checkFileOnDisk();
    EXPECT_EQ(f.dialogs.questions.size(), 2) << "asked once until the next save";
    f.dialogs.answers = {Answer::Yes};
    w.saveRom();
    EXPECT_EQ(readFile(f.dir.file("copy.nes")), std::string(saved.begin(), saved.end())) << "saved over on yes";

    f.dialogs.questions.clear();
    writeFile(f.dir.file("copy.nes"), original);
    f.dialogs.answers = {Answer::Yes};
    w.checkFileOnDisk();
    EXPECT_EQ(f.dialogs.questions.size(), 1);
    EXPECT_EQ(w.doc().rom().fileBytes(), Bytes(original.begin(), original.end())) << "yes: reloaded";
    EXPECT_FALSE(w.isWindowModified());

    // A .nes file dropped on the window opens; anything else is not taken.
    const auto drop = [this](const QString& file) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QCoreApplication::sendEvent(&w, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        if (enter.isAccepted())
            QCoreApplication::sendEvent(&w, &drop);
        QCoreApplication::processEvents();
        return enter.isAccepted();
    };
    EXPECT_FALSE(drop(f.file("notes.txt")));
    EXPECT_TRUE(drop(f.writeSample("other.nes")));
    EXPECT_EQ(w.doc().path(), ss(f.file("other.nes")));
}

// A name typed without an extension gets the image's, and is asked about when that file is there.
TEST_F(MainWindowFiles, SaveAsAddsTheExtension)
{
    f.dialogs.saveFiles = {f.file("noext"), f.file("noext")};
    w.menuFileSaveAs->trigger();
    EXPECT_EQ(w.doc().path(), ss(f.file("noext.nes")));
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("noext")));
    f.dialogs.messages.clear();
    w.menuFileSaveAs->trigger();
    EXPECT_EQ(f.dialogs.questions, QStringList{f.file("noext.nes") + " already exists.\nDo you want to replace it?"});
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << "no: not saved";
}

// Another program replaces the open file as git does (removed, then written anew), or truncates
// it and writes it, or puts a link in its place: the watch follows the file through every
// replacement, each change is asked about once, and a save never writes over what it did not
// read, nor through a link, without asking.
TEST_F(MainWindowFiles, AFileReplacedBehindTheWindowIsFollowedAndNeverSavedOverUnasked)
{
    namespace fs = std::filesystem;
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const fs::path file = f.dir.file("game.nes");
    const auto version = [&](int cell) {
        RomImage image = sampleImage();
        std::uint8_t& m = image.romData[static_cast<std::size_t>(mapOffset(w.doc().currentScene().mapAddress))];
        m = static_cast<std::uint8_t>(m ^ cell);
        return textOf(image.fileBytes());
    };
    const auto askedUntil = [&](int count) {
        return QTest::qWaitFor([&] { return f.dialogs.questions.size() >= count; }, 5000);
    };
    const QString reload = f.file("game.nes") + " was changed by another program. Reload it? Unsaved edits are lost.";

    fs::remove(file);
    QTest::qWait(300);
    writeFile(file, version(1));
    f.dialogs.answers = {Answer::Yes};
    ASSERT_TRUE(askedUntil(1)) << "the file that came back is watched";
    EXPECT_EQ(f.dialogs.questions, QStringList{reload});
    EXPECT_TRUE(textOf(w.doc().rom().fileBytes()) == version(1));

    // Cut to nothing, then written: one question, while the writer finishes.
    {
        std::ofstream cut(file, std::ios::trunc);
    }
    f.dialogs.answers = {Answer::Yes};
    f.dialogs.whileAsking = [&] {
        writeFile(file, version(2));
        QTest::qWait(600);
    };
    ASSERT_TRUE(askedUntil(2));
    QTest::qWait(600);
    EXPECT_EQ(f.dialogs.questions.size(), 2);
    EXPECT_TRUE(textOf(w.doc().rom().fileBytes()) == version(2));

    // Replaced before the watcher could tell: the save compares for itself.
    f.editFirstCell();
    fs::remove(file);
    writeFile(file, version(3));
    f.dialogs.answers = {Answer::No};
    w.saveRom();
    ASSERT_EQ(f.dialogs.questions.size(), 3);
    EXPECT_EQ(f.dialogs.questions.back(),
              f.file("game.nes") + " was changed by another program since it was opened. Save over those changes?");
    EXPECT_TRUE(readFile(file) == version(3)) << "not saved over";

#ifndef _WIN32
    // A link put in its place, to a file with what was saved, is not written through unasked.
    // (Wine makes no symbolic links.)
    f.dialogs.answers = {Answer::Yes};
    w.saveRom();
    const std::string saved = readFile(file);
    fs::rename(file, f.dir.file("elsewhere.nes"));
    fs::create_symlink(f.dir.file("elsewhere.nes"), file);
    f.editFirstCell();
    f.dialogs.answers = {Answer::No};
    w.saveRom();
    EXPECT_EQ(f.dialogs.questions.back(),
              f.file("game.nes") + " is now a link to " + f.file("elsewhere.nes")
                  + ", put there since the file was opened. Save into " + f.file("elsewhere.nes") + "?");
    EXPECT_TRUE(readFile(f.dir.file("elsewhere.nes")) == saved) << "not written through the link";
    EXPECT_TRUE(w.isWindowModified());
#endif
}

// A save that fails keeps everything in memory and says why, also when what worked goes to the
// status bar.
TEST_F(MainWindowFiles, SaveFailuresAndNoiseLeaveTheWindowWhole)
{
    w.workspace().settings.showSuccessMessages = false;
    f.editFirstCell();
    namespace fs = std::filesystem;
    const fs::path file = f.dir.file("game.nes");
    const std::string before = readFile(file);
    fs::permissions(file, fs::perms::owner_read);
    w.saveRom();
    EXPECT_EQ(f.dialogs.messages.back(), "Unknown I/O error!\n" + f.file("game.nes") + ": The file is read-only");
    EXPECT_TRUE(readFile(file) == before);
    EXPECT_TRUE(w.doc().hasUnsavedChanges());
    fs::permissions(file, fs::perms::owner_all);
    fs::remove(file);

    w.loadRom(false, f.writeSample());
    EXPECT_EQ(w.mainStatusBar->currentMessage(), "File successfully loaded!");
    w.saveRom();
    EXPECT_EQ(w.mainStatusBar->currentMessage(), "File saved!");
    EXPECT_EQ(f.dialogs.messages.size(), 1);
    w.loadRom(false, f.file("missing.nes"));
    EXPECT_EQ(f.dialogs.messages.back(),
              "Error loading file!\n" + f.file("missing.nes") + ": No such file or directory");

    // A file with the signature and noise for data never breaks the window.
    f.dialogs.messages.clear();
    std::string noise(16 + 0x40000, '\0');
    unsigned x = 12345;
    for (char& c : noise)
        c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    const auto& header = sampleImage().romHeader;
    noise.replace(0, 16, std::string(header.begin(), header.end()));  // the data is noise
    writeFile(f.dir.file("noise.nes"), noise);
    w.loadRom(false, f.file("noise.nes"));
    // The first scene cannot be shown: that is said, and nothing claims the file loaded well.
    ASSERT_FALSE(w.doc().hasScene());
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.messages[0].startsWith("This scene cannot be shown: "))
        << f.dialogs.messages[0].toStdString();
    // Every scene either shows or says why it cannot; the map never shows the old file's scene,
    // and no box keeps a value of it, nor takes one.
    for (const AreaNode& n : areaCatalogue()) {
        f.dialogs.messages.clear();
        w.tvAreaList_NodeClick(w.findNode(QString::fromLatin1(n.key.data(), static_cast<int>(n.key.size()))));
        for (const QString& m : f.dialogs.messages)
            EXPECT_TRUE(m.startsWith("This scene cannot be shown: ")) << m.toStdString();
        if (!w.doc().hasScene()) {
            EXPECT_TRUE(w.mapView->picRenderDest->image().isNull());
            EXPECT_FALSE(w.propertiesPlace->isEnabled());
            EXPECT_FALSE(w.actorListsPlace->isEnabled());
            EXPECT_FALSE(w.cmdResizeMap->isEnabled());
            for (QLineEdit* box : w.findChildren<QLineEdit*>())
                EXPECT_TRUE(box->text().isEmpty() || !box->isVisibleTo(&w)) << box->objectName().toStdString();
        }
    }
    // With no scene shown, a stroke on the map, a mode and Undo change nothing and say nothing.
    w.loadRom(false, f.file("noise.nes"));
    ASSERT_FALSE(w.doc().hasScene());
    const Bytes image = w.doc().romData();
    f.dialogs.messages.clear();
    f.stroke({QPoint(3, 3), QPoint(300, 100)});
    w.cmdAll_Click();
    w.menuEditUndo_Click();
    EXPECT_EQ(w.doc().romData(), image);
    EXPECT_FALSE(w.doc().canUndo());
    EXPECT_TRUE(w.mapView->picRenderDest->image().isNull());
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join("|").toStdString();
}

TEST_F(MainWindowMap, GridScrollingTheKeyboardAndHelpChangeNothing)
{
    f.selectScene([](const SceneRecord& s) { return s.length == 3; });
    const auto& sets = w.mapView->picRenderDest->lineSets();
    ASSERT_EQ(sets.size(), 3u);
    ASSERT_EQ(sets[0].lines.size(), 31u);
    EXPECT_EQ(sets[0].lines.back(), QLine(992, 0, 992, 176));
    EXPECT_EQ(sets[1].lines.size(), 6u);
    ASSERT_EQ(sets[2].lines.size(), 4u);
    EXPECT_EQ(sets[2].lines.back(), QLine(1024, 0, 1024, 176));
    EXPECT_FALSE(sets[0].visible || sets[2].visible) << "no grid until one is chosen";

    w.fraGrid->optShowScreen->click();
    EXPECT_TRUE(w.mapView->picRenderDest->lineSets()[2].visible);
    EXPECT_FALSE(w.mapView->picRenderDest->lineSets()[0].visible);
    w.fraGrid->optShowMetatile->click();
    EXPECT_TRUE(w.mapView->picRenderDest->lineSets()[0].visible && w.mapView->picRenderDest->lineSets()[1].visible);
    EXPECT_FALSE(w.mapView->picRenderDest->lineSets()[2].visible);
    w.fraGrid->hscrGridColor->setValue(128);
    EXPECT_EQ(w.mapView->picRenderDest->lineColour(), QColor(0, 0, 128));
    w.fraGrid->optNone->click();
    EXPECT_FALSE(w.mapView->picRenderDest->lineSets()[0].visible);

    EXPECT_EQ(w.mainStatusBar->findChild<QLabel*>("status1")->text(),
              "Map: $" + qs(hexPad(w.doc().currentScene().mapAddress, 4)));

    f.selectScene([](const SceneRecord& s) { return s.length >= 3 && s.direction; });
    const int max = (w.doc().currentScene().length + 1 - 3) * 256;
    EXPECT_EQ(w.mapView->hscrollRenderer->maximum(), max);
    EXPECT_EQ(w.mapView->picRenderDest->x(), -max);

    // The picker works in sheet coordinates: scrolled down three rows, the top-left metatile in
    // view is 0x30.
    w.metatilePicker->vMetaRenderer->setValue(3);
    EXPECT_EQ(w.metatilePicker->picBkgNat->y(), -96);
    w.picBkgNat_MouseDown(QPoint(5, 96 + 5), Qt::LeftButton);
    EXPECT_EQ(w.brushMetatile(), 0x30);

    // A wider window shows more of the map; the scroll range follows the view's width.
    w.show();
    f.selectScene([](const SceneRecord& s) { return s.length >= 7; });
    const int narrow = w.mapView->picContainer->width();
    w.resize(2200, 800);
    QApplication::processEvents();
    ASSERT_GT(w.mapView->picContainer->width(), narrow);
    EXPECT_EQ(w.mapView->hscrollRenderer->maximum(),
              w.mapView->picRenderDest->width() - w.mapView->picContainer->width());
    w.mapView->hscrollRenderer->setValue(w.mapView->hscrollRenderer->maximum());
    EXPECT_EQ(w.mapView->picRenderDest->x() + w.mapView->picRenderDest->width(), w.mapView->picContainer->width())
        << "the end is in view";

    // On a 1024 x 600 screen the window fits, also at 4x: the map takes the width the docks leave
    // it (its scroll range follows) and scrolls up and down in its room; its scroll bar and every
    // dock stay inside the window.
    w.resize(1024, 600);
    w.setMapZoom(4);
    QApplication::processEvents();
    EXPECT_EQ(w.size(), QSize(1024, 600));
    EXPECT_EQ(w.mapView->hscrollRenderer->maximum(),
              w.mapView->picRenderDest->width() / 4 - w.mapView->picContainer->width() / 4);
    EXPECT_TRUE(w.mapView->scrMap->verticalScrollBar()->isVisible());
    for (QWidget* part : std::initializer_list<QWidget*>{w.mapView->hscrollRenderer, w.dockAreaTree, w.dockMetatiles,
                                                         w.dockPalettes, w.dockGrid, w.dockActors, w.dockProperties})
        EXPECT_TRUE(w.rect().contains(QRect(part->mapTo(&w, QPoint(0, 0)), part->size())))
            << part->objectName().toStdString();
    w.setMapZoom(1);

    // Focus never edits: Tab visits every control the keyboard can use (the picker and the map
    // among them, not the boxes that only show a value), and neither the Tab walk nor the arrow
    // keys on the way change the mode or the image (except where the arrows choose a value by
    // design: the type selectors, and the mode and option buttons, which are radio groups). Entering the enemy list
    // does not select enemy mode, so the arrows on the map after it move the outline, not enemy 00; Space and Enter in
    // the lists change nothing either.
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const Bytes loaded = w.doc().romData();
    const auto unchanged = [&](const QWidget* at) {
        const std::string where = at ? at->objectName().toStdString() : "nothing";
        EXPECT_EQ(w.editMode(), EditMode::Map) << where;
        EXPECT_TRUE(w.doc().romData() == loaded) << where;
        EXPECT_EQ(w.doc().history().size(), 0u) << where;
    };
    w.areaTree->setFocus(Qt::TabFocusReason);
    QList<QWidget*> reached;
    // Twice round: after the lists have had the focus, the map has it again.
    for (int laps = 0, i = 0; laps < 2 && i < 400; ++i) {
        QWidget* at = QApplication::focusWidget();
        ASSERT_TRUE(at);
        if (at == w.areaTree && i > 0)
            ++laps;
        reached << at;
        const auto* button = qobject_cast<QAbstractButton*>(at);
        const bool choosesByArrows = qobject_cast<QComboBox*>(at)
            || (button && button->isCheckable() && (button->group() || button->autoExclusive()));
        if (!choosesByArrows) {
            for (Qt::Key k : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
                QTest::keyClick(at, k);
        }
        unchanged(at);
        QTest::keyClick(at, Qt::Key_Tab);
    }
    for (QWidget* c : std::initializer_list<QWidget*>{
             w.metatilePicker->picBkgNat, w.mapView->picRenderDest, w.actorLists->lstEnemyList,
             w.actorLists->lstItemList, w.actorLists->txtEnemyEdit_B, w.actorLists->txtItemEdit_X,
             w.actorLists->cmbEnemyList, w.propertiesPanel->txtTime, w.propertiesPanel->txtStartX,
             w.actorLists->txtEnemyEdit_Y, w.actorLists->txtItemEdit_Y})
        EXPECT_TRUE(reached.contains(c)) << c->objectName().toStdString();
    for (QWidget* c : std::initializer_list<QWidget*>{w.propertiesPanel->txtLen, w.propertiesPanel->txtEnemyC,
                                                      w.propertiesPanel->txtItemC}) {
        EXPECT_FALSE(reached.contains(c)) << c->objectName().toStdString();
        EXPECT_TRUE(qobject_cast<QLineEdit*>(c)->isReadOnly());
    }
    for (QListWidget* list : {w.actorLists->lstEnemyList, w.actorLists->lstItemList}) {
        list->setFocus(Qt::TabFocusReason);
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(list, k);
        unchanged(list);
    }
    EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.messages.join("|").toStdString();

    // Help: every shortcut in one table made from the actions (a key given later shows the next
    // time), the grid key and the About box.
    const auto table = [this] {
        w.menuHelpShortcuts->trigger();
        auto* d = w.findChild<frmShortcuts*>("frmShortcuts");
        EXPECT_TRUE(d && d->isVisible());
        QStringList rows;
        for (int r = 0; d && r < d->tblShortcuts->rowCount(); ++r)
            rows << d->tblShortcuts->item(r, 2)->text() + ": " + d->tblShortcuts->item(r, 0)->text() + " = "
                    + d->tblShortcuts->item(r, 1)->text();
        return rows;
    };
    QStringList rows = table();
    EXPECT_TRUE(rows.contains("View: Next Grid (None, Metatiles, Screens) = Ctrl+G")) << rows.join("\n").toStdString();
    EXPECT_TRUE(rows.contains("Map: Map mode: place the chosen metatile in the outlined cell (or put a floating "
                              "paste there) = Space, Enter"));
    w.menuFileExportMap->setShortcut(QKeySequence("Ctrl+E"));
    EXPECT_TRUE(table().contains("File: Export Map as PNG = Ctrl+E"));

    for (QRadioButton* next : {w.fraGrid->optShowMetatile, w.fraGrid->optShowScreen, w.fraGrid->optNone}) {
        QTest::keySequence(&w, QKeySequence("Ctrl+G"));
        EXPECT_TRUE(next->isChecked()) << next->objectName().toStdString();
    }
    EXPECT_FALSE(w.mapView->picRenderDest->lineSets()[0].visible);

    w.menuHelpAbout->trigger();
    EXPECT_TRUE(f.dialogs.messages.value(0).startsWith(qs(appTitle()) + "\n"));
    EXPECT_TRUE(f.dialogs.messages.value(0).contains(QString("running on Qt ") + qVersion()));
    EXPECT_TRUE(f.dialogs.messages.value(0).contains("under the MIT License"));
    EXPECT_TRUE(f.dialogs.messages.value(0).contains("GNU Lesser General Public License, version 3"));

    // Showing scenes, scrolling, choosing, tabbing and help change nothing in the file: no question at exit.
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(f.dialogs.questions.isEmpty());
}

// Help > Open the README shows it in a window of its own, pictures (made to fit) and all, with no
// viewer needed; a README that is not there is said.
TEST_F(MainWindowMap, TheReadmeOpensInAWindowOfItsOwn)
{
    w.setReadmeFile(QString());
    w.menuHelpReadme->trigger();
    EXPECT_EQ(f.dialogs.messages.value(0), "The README was not found beside the program.");
    const auto* unread = w.findChild<frmReadme*>("frmReadme");
    EXPECT_TRUE(!unread || !unread->isVisible());

    w.setReadmeFile(VELMAR_SOURCE_DIR "/README.md");
    w.menuHelpReadme->trigger();
    const auto* r = w.findChild<frmReadme*>("frmReadme");
    ASSERT_TRUE(r && r->isVisible());
    EXPECT_TRUE(r->txtReadme->toPlainText().startsWith("Velmar\n"))
        << r->txtReadme->toPlainText().left(40).toStdString();
    const QVariant picture =
        r->txtReadme->document()->resource(QTextDocument::ImageResource, QUrl("docs/screenshots/main-window.png"));
    ASSERT_EQ(picture.typeId(), QMetaType::QImage);
    EXPECT_LE(picture.value<QImage>().width(), 760);
    EXPECT_EQ(f.dialogs.messages.size(), 1);
}

// The emulator: none set, a command run as it is, and %f with a test copy. At exit unsaved edits
// are asked about, the settings written and the copy removed; the window's size comes back at the
// next start, from a file of its own.
TEST_F(MainWindowExit, EmulatorCommandsThenUnsavedEditsSettingsAndLayoutAtExit)
{
    w.show();
    w.resize(1400, 820);
    w.cmdRunEmulator_Click();
    EXPECT_EQ(f.dialogs.messages, QStringList{"Emulator path not set!"});
    EXPECT_TRUE(f.launched.isEmpty());

    w.workspace().settings.emulatorCommand = "fceux --fullscreen 1 \"my game.nes\"";
    w.cmdRunEmulator_Click();
    EXPECT_EQ(f.launched, QStringList{"fceux --fullscreen 1 my game.nes"}) << "run unchanged";

    // %f: the edited image goes to a test copy; the file on disk stays as it was.
    f.editFirstCell();
    const std::string onDisk = readFile(f.dir.file("game.nes"));
    w.workspace().settings.emulatorCommand = "emu %f";
    f.launched.clear();
    w.cmdRunEmulator_Click();
    const QString copy = w.playTestPath();
    EXPECT_EQ(f.launched, QStringList{"emu " + QDir::toNativeSeparators(copy)});
    const Bytes expected = w.doc().rom().fileBytes();
    EXPECT_EQ(readFile(copy.toStdString()), std::string(expected.begin(), expected.end()));
    EXPECT_EQ(readFile(f.dir.file("game.nes")), onDisk);
    // In a folder of its own that no one else can enter, under a name no one can guess.
    const std::filesystem::path folder = std::filesystem::path(copy.toStdString()).parent_path();
#ifndef _WIN32
    // (On Windows its access list says so: WindowsPlayTest.)
    EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
#endif
    EXPECT_TRUE(folder.filename().string().starts_with("velmar-playtest-")) << folder;
    EXPECT_NE(folder.filename().string(), "velmar-playtest-" + std::to_string(QCoreApplication::applicationPid()));

    f.launchResult = false;
    f.dialogs.messages.clear();
    w.workspace().settings.emulatorCommand = "no-such-emulator";
    w.cmdRunEmulator_Click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.messages[0].startsWith("The emulator could not be started"));

    const std::uint8_t m = w.doc().currentScene().map[0];
    f.dialogs.answers = {Answer::Cancel};
    EXPECT_FALSE(w.close());
    EXPECT_EQ(f.dialogs.questions.size(), 1);
    EXPECT_FALSE(w.exiting());

    f.dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(w.exiting());
    EXPECT_FALSE(std::filesystem::exists(folder));
    RomImage saved;
    ASSERT_TRUE(readRomFile(f.dir.file("game.nes"), saved).ok());
    EXPECT_EQ(saved.romData[static_cast<std::size_t>(mapOffset(w.doc().currentScene().mapAddress))], m);
    const std::string ini = readFile(f.dir.path() / "dat" / "VELMAR.INI");
    EXPECT_EQ(ini,
              f.dir.path().string() + "\nno-such-emulator\n" + f.dir.file("game.nes").string()
                  + "\n\n\n\n\nFalse\nKeepBackup=True\nShowSuccessMessages=True\n");

    EXPECT_TRUE(w.layoutFile().startsWith(f.config()));
    frmMain& again = f.start();
    again.show();
    EXPECT_EQ(again.size(), QSize(1400, 820));
}

// Two editors at once: each writes a setting when it changes (a file opened, Options' OK), so that
// a killed one loses nothing, and changes only what it changed itself, at exit too.
TEST(MainWindowSession, TwoEditorsKeepEachOthersSettings)
{
    AppFixture f;
    f.writeGoodDataFiles();
    frmMain& first = f.start();
    ScriptedDialogs otherDialogs;
    auto second = std::make_unique<frmMain>(f.dat(), f.config(), otherDialogs);
    first.loadRom(false, f.writeSample("a.nes"));
    second->loadRom(false, f.writeSample("b.nes"));
    second->menuOptions->trigger();
    frmOptions* options = second->findChild<frmOptions*>();
    ASSERT_TRUE(options);
    options->chkEmulator->click();
    options->txtEmulatorPath->setText("emu %f");
    options->cmdOk->click();
    second.reset();  // killed
    const auto onDisk = [&f] {
        Settings s;
        EXPECT_TRUE(loadSettings(f.dir.path() / "dat" / "VELMAR.INI", "", s).ok());
        return s;
    };
    EXPECT_EQ(onDisk().emulatorCommand, "emu %f");
    EXPECT_EQ(onDisk().recentFiles, (std::array<std::string, 5>{ss(f.file("b.nes")), ss(f.file("a.nes"))}));

    first.loadRom(false, f.writeSample("c.nes"));
    EXPECT_TRUE(first.close());
    EXPECT_EQ(onDisk().emulatorCommand, "emu %f");
    EXPECT_EQ(onDisk().recentFiles,
              (std::array<std::string, 5>{ss(f.file("c.nes")), ss(f.file("b.nes")), ss(f.file("a.nes"))}));
    EXPECT_EQ(first.menuFileRecentFiles[1]->toolTip(), f.file("b.nes")) << "the other editor's file is listed";
}

// The system ends the program (a logout, SIGTERM): no question, the edits stay for recovery, the
// play-test copy goes. A folder left by an editor that was killed goes at the next start, but
// not a running editor's, a link planted under such a name, or what it points to.
TEST(MainWindowSession, TheSessionEndsWithoutLosingEditsOrLeavingCopies)
{
    AppFixture f;
    f.keepRecovery = true;
    frmMain& w = f.startWithSample();
    w.workspace().settings.emulatorCommand = "emu %f";
    f.editFirstCell();
    w.cmdRunEmulator_Click();
    const std::filesystem::path folder = std::filesystem::path(w.playTestPath().toStdString()).parent_path();
    ASSERT_TRUE(std::filesystem::exists(folder));

    const QString temp = QDir::tempPath();
    PlayTestCopy::removeStale(temp);
    EXPECT_TRUE(std::filesystem::exists(folder)) << "its editor is running";
#ifndef _WIN32
    // (Wine makes no symbolic links.)
    TempDir victim;
    writeFile(victim.file("keep.txt"), "keep");
    const std::filesystem::path planted = temp.toStdString() + "/velmar-playtest-planted" + std::to_string(::getpid());
    std::filesystem::create_directory_symlink(victim.path(), planted);
#endif
    const std::filesystem::path stale = temp.toStdString() + "/velmar-playtest-stale" + std::to_string(::getpid());
    std::filesystem::create_directory(stale);
    writeFile(stale / "game.nes", "old");
    writeFile(stale / "editor.lock", deadEditorLock());
    PlayTestCopy::removeStale(temp);
    EXPECT_FALSE(std::filesystem::exists(stale));
#ifndef _WIN32
    EXPECT_EQ(readFile(victim.file("keep.txt")), "keep");
    EXPECT_TRUE(std::filesystem::is_symlink(planted));
    std::filesystem::remove(planted);
#endif

    w.endSession();
    EXPECT_TRUE(f.dialogs.questions.isEmpty());
    EXPECT_FALSE(std::filesystem::exists(folder));
    RecoveryCopy kept;
    ASSERT_TRUE(readRecoveryCopy(w.recoveryFile().toStdString(), kept).ok());
    EXPECT_EQ(kept.image, w.doc().rom());
}

}  // namespace
}  // namespace velmar::test
