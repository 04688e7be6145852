#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QHeaderView>

#include "app_fixture.h"
#include "mapview/map_region.h"
#include "base/hex.h"
#include "rom/scene_codec.h"
#include "widgets/bitmap_view.h"

namespace velmar::test {
namespace {

using MainWindowEditing = SampleWindow;

using Answer = Dialogs::Answer;

// Places, stroke-paints and erases, takes it all back and does it again by the keyboard, and
// saves by the keyboard.
TEST_F(MainWindowEditing, PaintUndoRedoSaveAndEditWithoutAMouse)
{
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    f.selectScene([](const SceneRecord& s) { return s.length >= 2; });
    const Bytes loaded = w.doc().romData();
    const auto map = [this] { return w.doc().currentScene().map; };

    // A press places: (620, 170) is screen 2, column 3, row 5 through its top half.
    w.picBkgNat_MouseDown(QPoint(10 * 32 + 5, 5 * 32 + 3), Qt::RightButton);
    EXPECT_EQ(w.brushMetatile(), 0x5A);
    f.stroke({QPoint(620, 130)});
    f.stroke({QPoint(620, 170)});
    EXPECT_EQ(map()[48 * 2 + 6 * 3 + 5], 0x5A);

    // A drag paints every cell on its way, even those the pointer skipped: one step.
    const std::uint8_t m = static_cast<std::uint8_t>(map()[6 * 0 + 1] + 1);
    f.choose(m);
    f.stroke({QPoint(10, 40), QPoint(100, 45), QPoint(250, 40)});
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(map()[static_cast<std::size_t>(6 * column + 1)], m) << "column " << column;
    EXPECT_EQ(w.doc().history().size(), 3u);
    const Bytes painted = w.doc().romData();

    // Not in map mode: a press on the map changes nothing.
    w.cmdAll_Click();
    f.stroke({QPoint(620, 130), QPoint(700, 130)});
    EXPECT_EQ(w.doc().romData(), painted);
    w.cmdBkgEdit_Click();

    f.dialogs.answers = {Answer::No};
    w.cmdClearArea_Click();
    EXPECT_EQ(f.dialogs.questions.back(), "This will clear the current map.\r\nAre you sure?");
    EXPECT_EQ(w.doc().romData(), painted);
    f.dialogs.answers = {Answer::Yes};
    w.cmdClearArea_Click();
    EXPECT_EQ(map(), Bytes(map().size(), 0));
    const Bytes erased = w.doc().romData();

    for (int i = 0; i < 4; ++i)
        QTest::keySequence(&w, QKeySequence::Undo);
    EXPECT_EQ(w.doc().romData(), loaded);
    EXPECT_FALSE(w.isWindowModified());
    for (int i = 0; i < 4; ++i)
        QTest::keySequence(&w, QKeySequence::Redo);
    EXPECT_EQ(w.doc().romData(), erased);
    EXPECT_TRUE(w.isWindowModified());
    SceneView fresh;
    redrawSceneView(w.doc().romData(), w.doc().scene(), fresh);
    EXPECT_EQ(w.mapView->picRenderDest->image(), toQImage(fresh.map)) << "the map shows it";

    QTest::keySequence(&w, QKeySequence::Save);
    EXPECT_EQ(f.dialogs.messages.back(), "File saved!");
    EXPECT_FALSE(w.isWindowModified());

    // The picker and the map by keyboard alone: the arrow keys choose the metatile and move the
    // outlined cell, the view follows the outline, and Space or Enter places as a click does.
    f.selectScene([](const SceneRecord& s) { return s.length >= 5 && !s.direction; });
    const std::size_t done = w.doc().history().size();
    const auto metatile = [this](MapCell c) { return metatileAt(w.doc().currentScene(), c).value_or(0); };

    // The picker: left and right a metatile, up and down a row, stopping at the sheet's edges.
    f.choose(0x10);
    w.metatilePicker->picBkgNat->setFocus(Qt::TabFocusReason);
    for (Qt::Key k : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up})
        QTest::keyClick(w.metatilePicker->picBkgNat, k);
    EXPECT_EQ(w.brushMetatile(), 0x02);
    EXPECT_EQ(w.metatilePicker->lblSelMetatile->accessibleName(), "Selected metatile 02");

    // The map: the outline starts in view, moves with the keys, and Space places there.
    w.mapView->hscrollRenderer->setValue(100);
    w.mapView->picRenderDest->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Right);
    QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Down);
    const MapCell first = w.mapCursor();
    EXPECT_EQ(first, (MapCell{5, 1})) << "from (4, 0), the first whole column in view";
    f.choose(static_cast<std::uint8_t>(metatile(first) + 1));
    w.mapView->picRenderDest->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Space);
    EXPECT_EQ(metatile(first), w.brushMetatile());
    EXPECT_EQ(w.doc().history().size(), done + 1);
    EXPECT_EQ(w.menuEditUndo->text(), "Undo Place Metatile");
    EXPECT_TRUE(w.findChild<QLabel*>("lblPointer")->text().endsWith("Metatile " + qs(hexPad(w.brushMetatile(), 2))))
        << "the status bar names the new metatile at once";

    // Far to the right the view follows the outline, as little as shows it.
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Right);
    const MapCell far = w.mapCursor();
    EXPECT_EQ(far, (MapCell{35, 1}));
    EXPECT_EQ(w.mapView->hscrollRenderer->value() + w.mapView->viewWidth(), (far.column + 1) * 32);
    f.choose(static_cast<std::uint8_t>(metatile(far) + 1));
    w.mapView->picRenderDest->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Return);
    EXPECT_EQ(metatile(far), w.brushMetatile());
    EXPECT_EQ(w.doc().history().size(), done + 2);

    // In the other modes the keys place nothing.
    w.cmdAll->click();
    w.mapView->picRenderDest->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Space);
    EXPECT_EQ(w.doc().history().size(), done + 2);
}

TEST_F(MainWindowEditing, TheEditMenuUndoAcrossScenesAndAccessibleNames)
{
    EXPECT_FALSE(w.menuEditUndo->isEnabled() || w.menuEditRedo->isEnabled());
    f.choose(f.otherThanAt(0));
    f.stroke({QPoint(0, 0), QPoint(40, 0)});
    EXPECT_TRUE(w.menuEditUndo->isEnabled() && w.cmdUndo->isEnabled());
    EXPECT_EQ(w.cmdUndo->toolTip(), "Undo Place Metatile");
    EXPECT_FALSE(w.menuEditRedo->isEnabled() || w.cmdRedo->isEnabled());
    w.cmdUndo->click();
    EXPECT_EQ(w.menuEditUndo->text(), "Undo");
    EXPECT_FALSE(w.menuEditUndo->isEnabled());
    EXPECT_EQ(w.menuEditRedo->text(), "Redo Place Metatile");
    EXPECT_TRUE(w.cmdRedo->isEnabled());

    // Undo after switching scenes returns to the edited scene.
    const std::string longScene = f.selectScene([](const SceneRecord& s) { return s.length >= 5; });
    const int width = w.mapView->picRenderDest->width();
    w.mapView->hscrollRenderer->setValue(0);
    f.choose(f.otherThanAt(48 * 5));
    f.stroke({QPoint(5 * 256 + 3, 3)});  // on screen 5, out of view once scrolled back
    const Bytes edited = w.doc().romData();
    w.mapView->hscrollRenderer->setValue(0);
    f.select("c:000000");
    EXPECT_EQ(w.areaTree->currentItem(), w.findNode("c:000000"));

    w.menuEditUndo_Click();
    EXPECT_EQ(w.areaTree->currentItem(), w.findNode(qs(longScene)));
    EXPECT_EQ(sceneKeyText(*w.doc().sceneKey()), longScene);
    EXPECT_EQ(w.mapView->picRenderDest->width(), width) << "the map shows the scene of the step";
    const int x = 5 * 256 + 3;
    EXPECT_TRUE(x >= w.mapView->hscrollRenderer->value() && x < w.mapView->hscrollRenderer->value() + 768)
        << "the view comes back to where the edit was";
    w.menuEditRedo_Click();
    EXPECT_EQ(w.doc().romData(), edited);

    // Every control has an accessible name.
    f.select("c:02070C");  // many actors: their markers exist
    // The editor windows are the main window's: their controls are checked with its own.
    w.cmdPaletteEdit->click();
    w.cmdMetatileEditor->click();
    w.cmdAnimEdit->click();
    applyDefaultCharTable(w.workspace().charTable);
    w.cmdTextEditor->click();
    w.cmdResizeItem->click();
    w.menuHelpShortcuts->trigger();
    ASSERT_TRUE(w.findChild<QWidget*>("picSelectedTile")) << "the editor windows are open";
    // Qt's own parts (the scroll bars of the tree) carry names starting with "qt_".
    const auto qtsOwn = [this](const QWidget* c) {
        for (; c && c != &w; c = c->parentWidget()) {
            if (c->objectName().startsWith("qt_"))
                return true;
        }
        return false;
    };
    for (QWidget* c : w.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QAbstractSlider*>(c)
            || qobject_cast<QAbstractItemView*>(c) || qobject_cast<BitmapView*>(c) || qobject_cast<QLabel*>(c)
            || qobject_cast<QLineEdit*>(c) || qobject_cast<QComboBox*>(c) || qobject_cast<QGroupBox*>(c);
        // A tree's header is part of the tree (hidden here).
        if (qobject_cast<QHeaderView*>(c))
            continue;
        if (control && !qtsOwn(c)) {
            EXPECT_FALSE(c->accessibleName().isEmpty())
                << c->metaObject()->className() << " " << c->objectName().toStdString();
        }
    }
}

}  // namespace
}  // namespace velmar::test
