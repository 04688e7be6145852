#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>

#include "app_fixture.h"
#include "editor/session.h"
#include "files/app_info.h"
#include "rom/address_map.h"
#include "rom/hex.h"
#include "widgets/bitmap_view.h"

namespace velmar::test {
namespace {

using Answer = Dialogs::Answer;

TEST(MainWindowStartUp, MissingDataFilesFallBackWithMessages)
{
    AppFixture f;
    frmMain& w = f.start();
    EXPECT_EQ(f.dialogs.messages,
              QStringList({"Error loading \"VELMAR.INI\"!\nLoading defaults...",
                           "Error loading \"TBL.DAT\"!\nLoading default table.",
                           "Error loading \"ITEM.DAT\"!\nLoading default table.",
                           "Error loading \"ENEMY.DAT\"!\nLoading default table."}));
    EXPECT_EQ(w.state().itemNames.size(), 12u);
    EXPECT_EQ(w.state().enemyNames.size(), 41u);
    EXPECT_EQ(w.state().charTable[0x41], "A");
    EXPECT_EQ(w.windowTitle(), qs(appTitle()) + " [...]");
    EXPECT_EQ(w.state().settings.romFolder, f.dir.path().string()) << "defaults to the program folder";
    EXPECT_EQ(w.menuFileRecentFiles[0]->text(), "0. ");
    // Nothing can be edited before a file is loaded.
    for (QWidget* c : std::initializer_list<QWidget*>{w.cmdFileSave, w.cmdClearArea, w.cmdAll, w.tvAreaList,
                                                       w.picRenderDest, w.hscrollRenderer, w.optShowScreen})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_TRUE(w.cmdFileLoad->isEnabled());
    EXPECT_EQ(w.tvAreaList->topLevelItemCount(), 0);
}

TEST(MainWindowStartUp, ShortAndBrokenFilesGiveDefaults)
{
    AppFixture f;
    f.writeGoodDataFiles();
    const auto d = f.dir.path() / "dat";
    writeFile(d / "VELMAR.INI", "/roms\nemu\na\nb\nc\nd\ne\n");  // seven lines
    writeFile(d / "ITEM.DAT", "5\nOne\nTwo\n");                 // promises six names
    frmMain& w = f.start();
    EXPECT_EQ(f.dialogs.messages,
              QStringList({"Error loading \"VELMAR.INI\"!\nLoading defaults...",
                           "Error loading \"ITEM.DAT\"!\nLoading default table."}));
    EXPECT_TRUE(w.state().settings.emulatorCommand.empty()) << "values already read are dropped too";
    EXPECT_EQ(w.state().itemNames.front(), "Spiritual Strength (Blue: 5)");
    EXPECT_EQ(w.state().enemyNames, std::vector<std::string>{"Only Enemy"});
}

TEST(MainWindowFiles, LoadGoodMissingAndInvalidFiles)
{
    AppFixture f;
    f.writeGoodDataFiles();
    frmMain& w = f.start();
    const QString good = f.writeSample("first.nes");
    f.dialogs.files = {good};
    w.cmdFileLoad_Click();
    EXPECT_EQ(f.dialogs.lastFolder, "/roms") << "the dialog starts in the last ROM folder";
    EXPECT_EQ(f.dialogs.messages, QStringList{"File successfully loaded!"});
    EXPECT_EQ(w.windowTitle(), qs(appTitle()) + " [first.nes]");
    EXPECT_EQ(w.tvAreaList->topLevelItemCount(), 6);
    EXPECT_EQ(w.tvAreaList->currentItem(), w.findNode("c:000000"));
    EXPECT_TRUE(w.cmdBkgEdit->isChecked());
    EXPECT_TRUE(w.cmdFileSave->isEnabled());
    EXPECT_EQ(w.state().settings.romFolder, f.dir.path().string());

    const QString second = f.writeSample("second.nes");
    w.loadRom(false, second);
    w.loadRom(false, good);  // already listed: moves to the top, no duplicate
    EXPECT_EQ(w.state().settings.recentFiles[0], ss(good));
    EXPECT_EQ(w.state().settings.recentFiles[1], ss(second));
    EXPECT_EQ(w.state().settings.recentFiles[2], "");
    EXPECT_TRUE(w.menuFileRecentFiles[0]->text().startsWith("0. "));

    // A missing and an invalid file change nothing on screen or in memory.
    writeFile(f.dir.file("bad.nes"), std::string(0x100, 'x'));
    const EditorState before = w.state();
    f.dialogs.messages.clear();
    w.loadRom(false, f.file("missing.nes"));
    w.loadRom(false, f.file("bad.nes"));
    EXPECT_EQ(f.dialogs.messages, QStringList({"Error loading file!", "Invalid rom!"}));
    EXPECT_EQ(w.windowTitle(), qs(appTitle()) + " [first.nes]");
    EXPECT_TRUE(w.state() == before);

    // Saving now writes to the file on screen, never into the rejected one.
    w.cmdFileSave_Click();
    EXPECT_EQ(f.dialogs.messages.back(), "File saved!");
    EXPECT_EQ(readFile(f.dir.file("bad.nes")), std::string(0x100, 'x'));

    // A cancelled dialog shows nothing.
    f.dialogs.messages.clear();
    w.cmdFileLoad_Click();
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

TEST(MainWindowFiles, NoiseWithTheSignatureNeverBreaksTheWindow)
{
    AppFixture f;
    frmMain& w = f.startWithSample();
    std::string noise(16 + 0x40000, '\0');
    unsigned x = 12345;
    for (char& c : noise)
        c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    noise.replace(0, 3, "NES");
    writeFile(f.dir.file("noise.nes"), noise);
    w.loadRom(false, f.file("noise.nes"));
    EXPECT_EQ(f.dialogs.messages.back(), "File successfully loaded!");
    // Every scene either shows or says why it cannot; nothing is stored from a scene not shown.
    for (const AreaNode& n : areaCatalogue()) {
        f.dialogs.messages.clear();
        w.tvAreaList_NodeClick(w.findNode(QString::fromLatin1(n.key.data(), static_cast<int>(n.key.size()))));
        for (const QString& m : f.dialogs.messages)
            EXPECT_TRUE(m.startsWith("This scene cannot be shown: ")) << m.toStdString();
    }
    w.picRenderDest_MouseDown(QPoint(3, 3), Qt::LeftButton);
    w.cmdAll_Click();
    w.unloadSubEditor_refresh();
}

TEST(MainWindowFiles, SaveFailureKeepsEverythingInMemory)
{
    AppFixture f;
    frmMain& w = f.startWithSample();
    const int m = (w.state().currentScene.map[0] + 1) & 0xFF;
    w.picBkgNat_MouseDown(QPoint(m % 16 * 32, m / 16 * 32), Qt::LeftButton);
    w.picRenderDest_MouseDown(QPoint(5, 5), Qt::LeftButton);
    std::filesystem::remove(f.dir.file("game.nes"));
    w.saveRom();
    EXPECT_EQ(f.dialogs.messages.back(), "Unknown I/O error!");
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("game.nes"))) << "a save never creates the file";
    EXPECT_TRUE(hasUnsavedChanges(w.state()));
}

TEST(MainWindowScenes, SwitchingStoresTheSceneLeft)
{
    AppFixture f;
    frmMain& w = f.startWithSample();
    const std::string other = AppFixture::findScene([](const SceneRecord& s) { return s.scene != 0; });
    ASSERT_FALSE(other.empty());

    w.picBkgNat_MouseDown(QPoint(100, 70), Qt::LeftButton);
    EXPECT_EQ(w.brushMetatile(), 0x23);
    EXPECT_EQ(w.lblSelMetatile->text(), "23");
    w.picRenderDest_MouseDown(QPoint(40, 70), Qt::LeftButton);  // column 1, row 2
    EXPECT_EQ(w.state().currentScene.map[6 + 2], 0x23);
    const RomOffset mapAt = mapOffset(w.state().currentScene.mapAddress);

    f.select(other.c_str());
    EXPECT_EQ(w.state().currentScene.scene, parseSceneKey(other)->scene);
    EXPECT_EQ(w.state().rom.romData[static_cast<std::size_t>(mapAt + 8)], 0x23) << "stored on the way out";
    EXPECT_EQ(w.brushMetatile(), 0) << "the picker is pressed at (0, 0) after a switch";

    // Clicking an act node changes nothing.
    const SceneRecord shown = w.state().currentScene;
    w.tvAreaList_NodeClick(w.tvAreaList->topLevelItem(0));
    EXPECT_EQ(w.state().currentScene, shown);

    // Save and reload: the file holds the edit.
    w.saveRom();
    AppFixture g;
    frmMain& again = g.startWithSample();
    again.loadRom(false, f.file("game.nes"));
    EXPECT_EQ(again.state().currentScene.map[8], 0x23);
}

TEST(MainWindowMap, EditingAndErasing)
{
    AppFixture f;
    const std::string key = AppFixture::findScene([](const SceneRecord& s) { return s.length >= 2; });
    ASSERT_FALSE(key.empty());
    frmMain& w = f.startWithSample();
    f.select(key.c_str());
    w.picBkgNat_MouseDown(QPoint(10 * 32 + 5, 5 * 32 + 3), Qt::RightButton);  // 0x5A
    EXPECT_EQ(w.brushMetatile(), 0x5A);
    w.picRenderDest_MouseDown(QPoint(620, 130), Qt::LeftButton);
    EXPECT_EQ(w.state().currentScene.map[48 * 2 + 6 * 3 + 4], 0x5A);
    w.picRenderDest_MouseDown(QPoint(620, 170), Qt::LeftButton);
    EXPECT_EQ(w.state().currentScene.map[48 * 2 + 6 * 3 + 5], 0x5A) << "row 5 through its top half";

    // Not in map mode: a press changes nothing.
    w.cmdAll_Click();
    w.picBkgNat_MouseDown(QPoint(0, 0), Qt::LeftButton);
    w.picRenderDest_MouseDown(QPoint(620, 130), Qt::LeftButton);
    EXPECT_EQ(w.state().currentScene.map[48 * 2 + 6 * 3 + 4], 0x5A);

    const Bytes map = w.state().currentScene.map;
    f.dialogs.answers = {Answer::No};
    w.cmdClearArea_Click();
    EXPECT_EQ(f.dialogs.questions.back(), "This will clear the current map.\r\nAre you sure?");
    EXPECT_EQ(w.state().currentScene.map, map);
    f.dialogs.answers = {Answer::Yes};
    w.cmdClearArea_Click();
    EXPECT_EQ(w.state().currentScene.map, Bytes(map.size(), 0));
    EXPECT_TRUE(w.cmdAll->isChecked()) << "the mode stays";
}

TEST(MainWindowMap, ScrollStartsAtTheEndTheSceneRunsFrom)
{
    struct Case {
        const char* what;
        bool (*want)(const SceneRecord&);
    };
    const Case cases[] = {
        {"long, left to right", [](const SceneRecord& s) { return s.length >= 3 && s.direction == 0; }},
        {"long, right to left", [](const SceneRecord& s) { return s.length >= 3 && s.direction != 0; }},
        {"short", [](const SceneRecord& s) { return s.length < 2; }},
    };
    AppFixture f;
    frmMain& w = f.startWithSample();
    for (const Case& c : cases) {
        const std::string key = AppFixture::findScene(c.want);
        if (key.empty()) {
            ADD_FAILURE() << "the sample has no scene that is " << c.what;
            continue;
        }
        f.select(key.c_str());
        const SceneRecord& s = w.state().currentScene;
        const int screens = s.length + 1;
        EXPECT_EQ(w.picRenderDest->width(), screens * 256) << c.what;
        EXPECT_EQ(w.picRenderDest->height(), 176);
        if (screens < 3) {
            EXPECT_FALSE(w.hscrollRenderer->isEnabled()) << c.what;
            EXPECT_EQ(w.picRenderDest->x(), 0);
        } else {
            const int max = (screens - 3) * 256;
            EXPECT_TRUE(w.hscrollRenderer->isEnabled()) << c.what;
            EXPECT_EQ(w.hscrollRenderer->maximum(), max);
            EXPECT_EQ(w.hscrollRenderer->value(), s.direction ? max : 0) << c.what;
            EXPECT_EQ(w.picRenderDest->x(), s.direction ? -max : 0) << c.what;
            w.hscrollRenderer->setValue(100);
            EXPECT_EQ(w.picRenderDest->x(), -100);
        }
    }
    w.vMetaRenderer->setValue(3);
    EXPECT_EQ(w.picBkgNat->y(), -96);
    // The picker works in sheet coordinates: the top-left metatile in view is 0x30.
    w.picBkgNat_MouseDown(QPoint(5, 96 + 5), Qt::LeftButton);
    EXPECT_EQ(w.brushMetatile(), 0x30);
}

TEST(MainWindowMap, GridLinesAndStatusBar)
{
    AppFixture f;
    const std::string key = AppFixture::findScene([](const SceneRecord& s) { return s.length == 3; });
    ASSERT_FALSE(key.empty()) << "the sample needs a 4-screen scene";
    frmMain& w = f.startWithSample();
    f.select(key.c_str());
    const auto& sets = w.picRenderDest->lineSets();
    ASSERT_EQ(sets.size(), 3u);
    ASSERT_EQ(sets[0].lines.size(), 31u);
    EXPECT_EQ(sets[0].lines.front(), QLine(32, 0, 32, 176));
    EXPECT_EQ(sets[0].lines.back(), QLine(992, 0, 992, 176));
    ASSERT_EQ(sets[1].lines.size(), 6u);
    EXPECT_EQ(sets[1].lines.back(), QLine(0, 192, 1024, 192));
    ASSERT_EQ(sets[2].lines.size(), 4u);
    EXPECT_EQ(sets[2].lines.back(), QLine(1024, 0, 1024, 176));
    EXPECT_FALSE(sets[0].visible || sets[2].visible) << "no grid until one is chosen";

    w.optShowScreen->click();
    EXPECT_TRUE(w.picRenderDest->lineSets()[2].visible);
    EXPECT_FALSE(w.picRenderDest->lineSets()[0].visible);
    w.optShowMetatile->click();
    EXPECT_TRUE(w.picRenderDest->lineSets()[0].visible && w.picRenderDest->lineSets()[1].visible);
    EXPECT_FALSE(w.picRenderDest->lineSets()[2].visible);
    w.hscrGridColor->setValue(128);
    EXPECT_EQ(w.picRenderDest->lineColour(), QColor(0, 0, 128));
    w.optNone->click();
    EXPECT_FALSE(w.picRenderDest->lineSets()[0].visible);

    const SceneRecord& s = w.state().currentScene;
    const std::pair<const char*, QString> panels[] = {
        {"status1", "Map: $" + qs(hexPad(s.mapAddress, 4))}, {"status4", "M-T: $" + qs(hexPad(s.subtileAddress, 4))},
        {"status3", "M-S: $" + qs(hexPad(s.metatileAddress, 4))}, {"status2", "M-A: $" + qs(hexPad(s.attributeAddress, 4))},
        {"status6", "E-X: $" + qs(hexPad(s.enemyBAddress, 4))}, {"status7", "E-Y: $" + qs(hexPad(s.enemyXYAddress, 4))},
        {"status5", "E-T: $" + qs(hexPad(s.enemyIdAddress, 4))},
    };
    const auto labels = w.mainStatusBar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(labels.size(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(labels[i]->objectName(), panels[i].first);
        EXPECT_EQ(labels[i]->text(), panels[i].second);
    }
}

TEST(MainWindowExit, SettingsWrittenAndUnsavedEditsAsked)
{
    AppFixture f;
    frmMain& w = f.startWithSample();
    w.show();
    const int m = (w.state().currentScene.map[0] + 1) & 0xFF;  // surely a change
    w.picBkgNat_MouseDown(QPoint(m % 16 * 32, m / 16 * 32), Qt::LeftButton);
    w.picRenderDest_MouseDown(QPoint(0, 0), Qt::LeftButton);

    f.dialogs.answers = {Answer::Cancel};
    EXPECT_FALSE(w.close());
    EXPECT_EQ(f.dialogs.questions.size(), 1);
    EXPECT_FALSE(w.exiting());

    f.dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(w.exiting());
    RomImage saved;
    ASSERT_EQ(readRomFile(f.dir.file("game.nes"), saved), RomReadResult::Ok);
    EXPECT_EQ(saved.romData[static_cast<std::size_t>(mapOffset(w.state().currentScene.mapAddress))], m);
    const std::string ini = readFile(f.dir.path() / "dat" / "VELMAR.INI");
    EXPECT_EQ(ini, f.dir.path().string() + "\n\n" + f.dir.file("game.nes").string() + "\n\n\n\n\nFalse\n");
}

TEST(MainWindowExit, NoQuestionWithoutEdits)
{
    AppFixture f;
    frmMain& w = f.startWithSample();
    w.show();
    f.select("c:000101");  // switching alone changes nothing that is not in the file
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(f.dialogs.questions.isEmpty());
}

TEST(MainWindowEmulator, EmptySetAndPlayTestCommands)
{
    AppFixture f;
    frmMain& w = f.startWithSample();
    w.cmdRunEmulator_Click();
    EXPECT_EQ(f.dialogs.messages, QStringList{"Emulator path not set!"});
    EXPECT_TRUE(f.launched.isEmpty());

    w.state().settings.emulatorCommand = "fceux --fullscreen 1 \"my game.nes\"";
    w.cmdRunEmulator_Click();
    EXPECT_EQ(f.launched, QStringList{"fceux --fullscreen 1 my game.nes"}) << "run unchanged";

    // %f: the edited image goes to a test copy; the file on disk stays as it was.
    w.picRenderDest_MouseDown(QPoint(0, 0), Qt::LeftButton);
    const std::string onDisk = readFile(f.dir.file("game.nes"));
    w.state().settings.emulatorCommand = "emu %f";
    f.launched.clear();
    w.cmdRunEmulator_Click();
    const QString copy = w.playTestPath();
    EXPECT_EQ(f.launched, QStringList{"emu " + copy});
    const Bytes expected = imageWithCurrentScene(w.state());
    EXPECT_EQ(readFile(copy.toStdString()), std::string(expected.begin(), expected.end()));
    EXPECT_EQ(readFile(f.dir.file("game.nes")), onDisk);
    std::filesystem::remove(copy.toStdString());

    f.launchResult = false;
    f.dialogs.messages.clear();
    w.state().settings.emulatorCommand = "no-such-emulator";
    w.cmdRunEmulator_Click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.messages[0].startsWith("The emulator could not be started"));
}

}  // namespace
}  // namespace velmar::test
