#include <gtest/gtest.h>

#include <QDialog>
#include <QDockWidget>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWindow>

#include "app_fixture.h"
#include "panels/grid_options_panel.h"

#include "actors/actor_drawing.h"
#include "base/hex.h"
#include "panels/map_view_panel.h"
#include "panels/metatile_picker_panel.h"
#include "panels/palette_strip.h"
#include "panels/properties_panel.h"
#include "panels/tile_editor_panel.h"
#include "widgets/bitmap_view.h"
#include "windows/frm_bkg_edit.h"
#include "windows/frm_pal_edit.h"
#include "windows/frm_readme.h"
#include "windows/frm_rom_expansion.h"
#include "windows/frm_spr_edit.h"
#include "windows/frm_text_edit.h"
#include "windows/window_placement.h"

namespace velmar::test {
namespace {

using MainWindowDocks = SampleWindow;
using EditorWindows = SampleWindow;

// The docks that are not hidden, by area (floating ones as "floating"), and the tab groups.
QStringList arrangement(frmMain& w)
{
    QStringList parts;
    for (QDockWidget* d : w.docks()) {
        const QString where =
            d->isFloating() ? QString("floating") : QString::number(static_cast<int>(w.dockWidgetArea(d)));
        parts << d->objectName() + ":" + (d->isHidden() ? QString("hidden") : where);
        for (const QDockWidget* t : w.tabifiedDockWidgets(d))
            parts << d->objectName() + "+" + t->objectName();
    }
    return parts;
}

// The parts around the map are docks: hidden and shown from the View menu, moved, floated and
// tabbed; the arrangement, written as it changes, comes back at the next start, and Reset Layout
// brings back the first.
// A layout file that does not read as one leaves the first arrangement. The window's keys work
// in a floating dock too.
TEST_F(MainWindowDocks, TheArrangementIsKeptAndResetLayoutBringsBackTheFirst)
{
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const QStringList first = arrangement(w);
    EXPECT_EQ(w.centralWidget(), w.mapView);
    for (QDockWidget* d : w.docks())
        EXPECT_TRUE(w.menuView->actions().contains(d->toggleViewAction())) << d->objectName().toStdString();
    w.dockActors->toggleViewAction()->trigger();
    EXPECT_TRUE(w.dockActors->isHidden());
    w.addDockWidget(Qt::LeftDockWidgetArea, w.dockProperties);
    w.dockGrid->setFloating(true);
    w.dockGrid->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == w.dockGrid; }));
    QTest::keySequence(w.fraGrid->optNone, QKeySequence("Ctrl+G"));
    EXPECT_TRUE(w.fraGrid->optShowMetatile->isChecked());
    w.tabifyDockWidget(w.dockMetatiles, w.dockPalettes);
    const QStringList moved = arrangement(w);
    ASSERT_NE(moved, first);
    // Written a moment after the last change: the next start finds it although this run never
    // closes.
    const QTimer* wait = w.findChild<QTimer*>("tmrLayout");
    ASSERT_TRUE(wait && wait->isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !wait->isActive(); }, 5000));

    frmMain& again = f.start();
    again.show();
    EXPECT_EQ(arrangement(again), moved);
    again.menuViewResetLayout->trigger();
    EXPECT_EQ(arrangement(again), first);
    again.dockGrid->toggleViewAction()->trigger();
    const QString file = again.layoutFile();
    EXPECT_TRUE(again.close());

    QSettings(file, QSettings::IniFormat).setValue("window/docks", QByteArray("\x01\x02"));
    frmMain& next = f.start();
    next.show();
    EXPECT_EQ(arrangement(next), first);
}

// What the main window shows of its scene: the map with its grid, the metatile sheet, the actor
// pictures, the palette swatches, the property boxes and the actor lists.
struct Shown {
    QImage map;
    QImage sheet;
    QList<QImage> actors;
    QStringList texts;
    bool operator==(const Shown&) const = default;
};

Shown shown(frmMain& w)
{
    Shown s{w.mapView->picRenderDest->image(), w.metatilePicker->picBkgNat->image(), {}, {}};
    s.actors << w.mapView->picMainCharacterSpawn->image();
    for (const MapMarker m : {MapMarker::Enemy, MapMarker::Item}) {
        for (int i = 0; const QWidget* p = w.mapView->markerPicture(m, i); ++i)
            s.actors << static_cast<const BitmapView*>(p)->image();
    }
    for (const QLabel* l : w.paletteStrip->lblPal)
        s.texts << l->palette().color(QPalette::Window).name();
    for (const QLineEdit* box : w.propertiesPanel->findChildren<QLineEdit*>())
        s.texts << box->objectName() + "=" + box->text();
    for (const char* name : {"lstEnemyList", "lstItemList"}) {
        const auto* list = w.findChild<QListWidget*>(name);
        for (int i = 0; i < list->count(); ++i)
            s.texts << list->item(i)->text();
    }
    for (const BitmapView::LineSet& set : w.mapView->picRenderDest->lineSets())
        s.texts << QString::number(set.lines.size());
    return s;
}

// What a main window opened afresh on the document's image shows of the same scene.
Shown shownAfresh(const frmMain& w)
{
    AppFixture g;
    g.writeGoodDataFiles();
    g.start();
    g.window->loadRom(false, g.writeSample("same.nes", w.doc().rom()));
    g.select(sceneKeyText(*w.doc().sceneKey()).c_str());
    return shown(*g.window);
}

// Every edit made in an editor window or the resize dialog shows in the main window as it is
// made, as a main window opened afresh on the image shows it; closing the windows redraws
// nothing, since nothing is left to redraw.
TEST_F(EditorWindows, TheMainWindowShowsEveryEditOfTheWindowsAsItIsMade)
{
    w.show();
    f.selectScene([](const SceneRecord& s) { return !s.enemies.empty() && !s.items.empty() && s.length < 15; });
    auto& bkg = f.open<frmBkgEdit>(w.cmdMetatileEditor);
    auto& spr = f.open<frmSprEdit>(w.cmdAnimEdit);
    auto& pal = f.open<frmPalEdit>(w.cmdPaletteEdit);
    const auto paint = [](TileEditorPanel& tiles, std::uint8_t now) {
        tiles.lblnespal_tEdit_Click((now + 1) % 4, Qt::LeftButton);
        tiles.picSelectedTile_MouseDown(QPoint(0, 0), Qt::LeftButton);
        tiles.picSelectedTile_MouseUp(QPoint(0, 0), Qt::LeftButton);
    };
    const std::pair<const char*, std::function<void()>> edits[] = {
        {"a background pixel",
         [&] {
             // A pattern of the map's first cell.
             const MetatileTables& t = w.doc().scene().metatiles;
             const std::uint8_t pattern = t.subtileDefs[t.metatileDefs[w.doc().currentScene().map[0]][1]][0];
             bkg.fraTileEdit->selectTile(pattern);
             paint(*bkg.fraTileEdit, w.doc().scene().bkgPatterns[pattern * 64u]);
         }},
        {"a sprite pixel",
         [&] {
             // The first tile of the player start's sprite.
             SpriteFrame start;
             ASSERT_TRUE(playerStartSprite(w.doc().romData(), start).ok());
             spr.fraTileEdit->selectTile(start.tiles[0].tileId);
             paint(*spr.fraTileEdit, w.doc().scene().sprPatterns[start.tiles[0].tileId * 64u]);
         }},
        {"a palette colour",
         [&] {
             QTest::mouseClick(pal.lblnespal[(w.doc().currentScene().palette[1] + 1) % 64], Qt::LeftButton);
             QTest::mouseClick(pal.lblPal[1], Qt::LeftButton);
         }},
        {"the map's length",
         [&] {
             w.cmdResizeMap->click();
             auto* d = w.findChild<frmRomExpansion*>();
             d->txtNewLength->setText(qs(hexPad(w.doc().currentScene().length + 1, 2)));
             d->cmdOk->click();
         }},
        {"the item count",
         [&] {
             w.cmdResizeItem->click();
             auto* d = w.findChild<frmRomExpansion*>();
             d->txtActorCount_New->setText(qs(hexPad(w.doc().currentScene().itemCount + 1, 2)));
             d->cmdOk->click();
         }},
    };
    for (const auto& [what, edit] : edits) {
        const Shown before = shown(w);
        const std::size_t steps = w.doc().history().size();
        edit();
        ASSERT_EQ(w.doc().history().size(), steps + 1) << what;
        EXPECT_NE(shown(w), before) << what;
        EXPECT_TRUE(shown(w) == shownAfresh(w)) << what;
    }
    const Shown edited = shown(w);
    for (QWidget* window : std::initializer_list<QWidget*>{&bkg, &spr, &pal})
        window->close();
    EXPECT_TRUE(shown(w) == edited);
}

// The editor windows belong to the main window: they stay above it (a window manager keeps a
// dialog's or tool window's frame above its owner's, not a plain window's) and ask their
// questions over themselves. Their keys stay theirs: Escape closes the window, and Delete does
// not erase the map's selection.
TEST_F(EditorWindows, BelongToTheMainWindowAndAskOverThemselves)
{
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    f.dialogs.windows.clear();
    // The sample's texts do not read with the test's character table: the Text Editor says so,
    // over itself, and stays shut.
    w.cmdTextEditor->click();
    auto& bkg = f.open<frmBkgEdit>(w.cmdMetatileEditor);
    auto& spr = f.open<frmSprEdit>(w.cmdAnimEdit);
    auto& pal = f.open<frmPalEdit>(w.cmdPaletteEdit);
    for (QWidget* e : std::initializer_list<QWidget*>{&bkg, &spr, &pal, w.findChild<frmTextEdit*>()}) {
        ASSERT_TRUE(e);
        EXPECT_TRUE(e->windowType() == Qt::Dialog || e->windowType() == Qt::Tool) << e->objectName().toStdString();
        EXPECT_EQ(e->parentWidget(), &w);
        if (e->isVisible()) {
            EXPECT_EQ(e->windowHandle()->transientParent(), w.windowHandle()) << e->objectName().toStdString();
        }
    }

    bkg.cmdExportTiles->click();
    spr.cmdExportAnimation->click();
    w.cmdAreaInfo->click();
    EXPECT_EQ(f.dialogs.windows, QStringList({"frmTextEdit", "frmBkgEdit", "frmSprEdit", "frmMain"}));

    f.editFirstCell();
    QTest::mousePress(w.mapView->picRenderDest, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
    w.picRenderDest_MouseUp(QPoint(40, 5), Qt::LeftButton);
    ASSERT_FALSE(w.selection().empty());
    const Bytes before = w.doc().romData();
    bkg.activateWindow();
    // Not qWaitForWindowActive: a window counts as active while its owner is.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &bkg; }));
    QTest::keyClick(bkg.fraTileEdit->picPatternTable, Qt::Key_Delete);
    EXPECT_EQ(w.doc().romData(), before);
    QTest::keyClick(bkg.fraTileEdit->picPatternTable, Qt::Key_Escape);
    EXPECT_FALSE(bkg.isVisible());
    EXPECT_FALSE(w.selection().empty());
}

// With Qt's own dialogs: a box or file dialog opened from an editor window opens over it, and
// the editor has the focus again once it closes.
TEST(EditorWindowsFocus, ADialogGivesTheFocusBackToTheEditorThatAsked)
{
    AppFixture f;
    f.writeGoodDataFiles();
    QtDialogs real;
    frmMain w(f.dat(), f.config(), real);
    QStringList over;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            over << (box->parentWidget() ? box->parentWidget()->window()->objectName() : QString());
            box->reject();
        }
    });
    answer.start(20);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.loadRom(false, f.writeSample());
    ASSERT_TRUE(w.doc().hasScene());
    w.cmdMetatileEditor->click();
    w.cmdAnimEdit->click();
    auto* bkg = w.findChild<frmBkgEdit*>();
    auto* spr = w.findChild<frmSprEdit*>();
    ASSERT_TRUE(bkg && spr);
    for (const auto& [editor, button] : {std::pair<QWidget*, QAbstractButton*>(bkg, bkg->cmdExportTiles),
                                         std::pair<QWidget*, QAbstractButton*>(spr, spr->cmdExportAnimation)}) {
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == editor; }));
        over.clear();
        button->click();
        EXPECT_EQ(over, QStringList(editor->objectName()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == editor; }, 1000))
            << (QApplication::activeWindow() ? QApplication::activeWindow()->objectName().toStdString() : "none");
    }
}

// An editor window opens beside the main window where there is room, else at the screen's right
// edge over the main window's right-hand side; never off the screen, and no larger than it.
TEST(EditorWindowPlaces, BesideTheOwnerOnTheScreen)
{
    const QRect room(0, 0, 1600, 1000);
    const QMargins frame(2, 24, 2, 2);
    EXPECT_EQ(placeBeside(QSize(550, 630), QRect(0, 0, 900, 700), room, frame), QRect(902, 24, 550, 630));
    EXPECT_EQ(placeBeside(QSize(550, 630), QRect(700, 100, 900, 700), room, frame), QRect(148, 124, 550, 630));
    EXPECT_EQ(placeBeside(QSize(550, 630), QRect(100, 500, 1400, 900), room, frame), QRect(1048, 368, 550, 630));
    // The Sprite Editor on a 1024 x 768 screen: as tall as the screen, its contents scroll.
    EXPECT_EQ(placeBeside(QSize(930, 775), QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 768), frame),
              QRect(92, 24, 930, 742));
}

// The tile is a canvas that grows with the window, each pixel a whole square, and a press
// paints the pixel under the pointer at any size. The windows (the README too) open on the
// screen, and where they were left at the next start.
TEST_F(EditorWindows, TheTileGrowsWithTheWindowAndTheWindowsKeepTheirPlaces)
{
    w.show();
    auto& bkg = f.open<frmBkgEdit>(w.cmdMetatileEditor);
    const QRect screen = bkg.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(bkg.frameGeometry())) << "opens on the screen";
    BitmapView* tile = bkg.fraTileEdit->picSelectedTile;
    QApplication::processEvents();
    const int small = tile->width();
    bkg.resize(bkg.width() + 300, bkg.height() + 300);
    QApplication::processEvents();
    ASSERT_GT(tile->width(), small);
    const double scale = tile->scale();
    ASSERT_GT(scale, 1.0);
    EXPECT_EQ(scale * 8, std::floor(scale * 8)) << "each pixel a whole number of screen pixels";
    const int pixel = static_cast<int>(scale * 8);
    const std::size_t at = bkg.fraTileEdit->selectedTile() * 64u + 5 * 8 + 3;
    const int colour = (w.doc().scene().bkgPatterns[at] + 1) % 4;
    bkg.fraTileEdit->lblnespal_tEdit_Click(colour, Qt::LeftButton);
    QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(3 * pixel + pixel / 2, 5 * pixel + pixel / 2));
    EXPECT_EQ(w.doc().scene().bkgPatterns[at], colour);
    EXPECT_EQ(w.doc().undoName(), "Paint Pixels");

    auto& spr = f.open<frmSprEdit>(w.cmdAnimEdit);
    EXPECT_TRUE(screen.contains(spr.frameGeometry())) << "opens on the screen";
    bkg.move(screen.topLeft() + QPoint(10, 20));
    const QRect kept = bkg.geometry();
    w.setReadmeFile(VELMAR_SOURCE_DIR "/README.md");
    w.menuHelpReadme->trigger();
    auto* readme = w.findChild<frmReadme*>("frmReadme");
    ASSERT_TRUE(readme && readme->isVisible());
    EXPECT_TRUE(screen.contains(readme->frameGeometry())) << "opens on the screen";
    readme->move(screen.topLeft() + QPoint(40, 30));
    const QRect readmeKept = readme->geometry();
    // A window that closes writes its place at once: the next start finds it although this run
    // never closes.
    bkg.close();
    readme->close();
    frmMain& again = f.start();
    again.show();
    again.loadRom(false, f.file("game.nes"));
    auto& reopened = f.open<frmBkgEdit>(again.cmdMetatileEditor);
    EXPECT_EQ(reopened.geometry(), kept);
    again.setReadmeFile(VELMAR_SOURCE_DIR "/README.md");
    again.menuHelpReadme->trigger();
    EXPECT_EQ(again.findChild<frmReadme*>("frmReadme")->geometry(), readmeKept);
}

}  // namespace
}  // namespace velmar::test
