#include <gtest/gtest.h>

#include "app_fixture.h"
#include "mapview/map_region.h"
#include "base/hex.h"
#include "panels/map_view_panel.h"
#include "widgets/bitmap_view.h"

namespace velmar::test {
namespace {

using MapSelection = SampleWindow;

// Shift+drag on the map from one map pixel to another.
void shiftDrag(frmMain& w, QPoint from, QPoint to)
{
    QTest::mousePress(w.mapView->picRenderDest, Qt::LeftButton, Qt::ShiftModifier, from);
    w.picRenderDest_MouseMove(to, Qt::LeftButton);
    w.picRenderDest_MouseUp(to, Qt::LeftButton);
}

std::uint8_t cell(frmMain& w, int column, int row) { return *metatileAt(w.doc().currentScene(), {column, row}); }

TEST_F(MapSelection, CopyPasteCutDeleteTheEyedropperAndTheBrushOfEachTileset)
{
    shiftDrag(w, QPoint(40, 40), QPoint(100, 70));  // cells (1, 1) to (3, 2)
    EXPECT_EQ(w.doc().history().size(), 0u) << "selecting changes nothing";
    w.menuEditCopy->trigger();
    ASSERT_EQ(w.clipboard().columns, 3);
    const std::uint8_t topLeft = cell(w, 1, 1), bottomRight = cell(w, 3, 2);

    // Into another scene, chosen in the tree: Ctrl+V there floats a copy, placed by a click. The
    // keys work wherever the focus is in the window, but a box being typed into takes them first.
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.propertiesPanel->txtTime->setFocus();
    QTest::keySequence(w.propertiesPanel->txtTime, QKeySequence::Paste);
    EXPECT_FALSE(w.pasting());
    const std::string other =
        AppFixture::findScene([&](const SceneRecord& s) { return s.map != w.doc().currentScene().map; });
    QTreeWidgetItem* node = w.findNode(other.c_str());
    w.areaTree->scrollToItem(node);
    QTest::mouseClick(w.areaTree->viewport(), Qt::LeftButton, {}, w.areaTree->visualItemRect(node).center());
    ASSERT_EQ(sceneKeyText(*w.doc().sceneKey()), other);
    EXPECT_TRUE(w.selection().empty());
    ASSERT_EQ(QApplication::focusWidget(), w.areaTree);
    QTest::keySequence(w.areaTree, QKeySequence::Paste);
    EXPECT_TRUE(w.pasting());
    w.picRenderDest_MouseDown(QPoint(2 * 32 + 5, 5), Qt::LeftButton);
    w.picRenderDest_MouseUp(QPoint(2 * 32 + 5, 5), Qt::LeftButton);
    EXPECT_FALSE(w.pasting());
    EXPECT_EQ(cell(w, 2, 0), topLeft);
    EXPECT_EQ(cell(w, 4, 1), bottomRight);

    // Cut fills with the chosen metatile, Delete with FF; each one step.
    f.choose(0x12);
    shiftDrag(w, QPoint(5, 5), QPoint(40, 5));
    w.menuEditCut->trigger();
    EXPECT_EQ(cell(w, 1, 0), 0x12);
    w.menuEditDelete->trigger();
    EXPECT_EQ(cell(w, 0, 0), 0xFF);
    EXPECT_EQ(w.clipboard().columns, 2);
    EXPECT_EQ(w.doc().history().size(), 3u);
    const Bytes edited = w.doc().romData();

    // The right button picks the metatile under the pointer and places nothing.
    w.picRenderDest_MouseDown(QPoint(5, 100), Qt::RightButton);
    w.picRenderDest_MouseUp(QPoint(5, 100), Qt::RightButton);
    EXPECT_EQ(w.brushMetatile(), cell(w, 0, 3));
    EXPECT_EQ(w.doc().romData(), edited);

    // The pointer's cell and its metatile.
    emit w.mapView->pointerOver(MapMarker::None, -1, QPoint(5, 100));
    EXPECT_TRUE(w.findChild<QLabel*>("lblPointer")->text().endsWith("Metatile " + qs(hexPad(cell(w, 0, 3), 2))));

    // The map as a picture, as the view shows it.
    f.dialogs.saveFiles = {f.file("map.png")};
    w.menuFileExportMap->trigger();
    const QImage png(f.file("map.png"));
    EXPECT_EQ(png.width(), static_cast<int>(w.doc().currentScene().map.size()) / 48 * 256);

    // The chosen metatile is kept per tileset.
    const std::uint8_t first = w.doc().currentScene().tileset;
    const std::string same = AppFixture::findScene([&](const SceneRecord& s) {
        return s.tileset == first
            && !(s.stage == w.doc().currentScene().stage && s.scene == w.doc().currentScene().scene);
    });
    const std::string otherSet = AppFixture::findScene([&](const SceneRecord& s) { return s.tileset != first; });
    ASSERT_FALSE(same.empty());
    ASSERT_FALSE(otherSet.empty());
    f.choose(0x21);
    f.select(same.c_str());
    EXPECT_EQ(w.brushMetatile(), 0x21);
    f.select(otherSet.c_str());
    EXPECT_EQ(w.brushMetatile(), 0x00);
    f.choose(0x05);
    f.select(same.c_str());
    EXPECT_EQ(w.brushMetatile(), 0x21);
    f.select(otherSet.c_str());
    EXPECT_EQ(w.brushMetatile(), 0x05);

    // With cells selected, Delete in an actor list deletes the actor it shows; the cells stay.
    f.selectScene([](const SceneRecord& s) { return !s.enemies.empty(); });
    shiftDrag(w, QPoint(100, 100), QPoint(140, 100));
    ASSERT_FALSE(w.selection().empty());
    const std::uint8_t kept = cell(w, 3, 3);
    const std::size_t enemies = w.doc().currentScene().enemies.size();
    w.actorLists->lstEnemyList->setCurrentRow(0);
    w.actorLists->lstEnemyList->setFocus();
    QTest::keyClick(w.actorLists->lstEnemyList, Qt::Key_Delete);
    EXPECT_EQ(w.doc().currentScene().enemies.size(), enemies - 1);
    EXPECT_EQ(cell(w, 3, 3), kept);
}

}  // namespace
}  // namespace velmar::test
