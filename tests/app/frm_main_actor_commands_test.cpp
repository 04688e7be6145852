#include <gtest/gtest.h>

#include <QMenu>

#include "actors/map_end.h"
#include "app_fixture.h"
#include "base/hex.h"
#include "gfx/metatile_render.h"
#include "widgets/bitmap_view.h"
#include "windows/frm_rom_expansion.h"

// Actors added, deleted and duplicated one at a time; their places typed into the boxes; and the
// map's end, past which no actor goes without a word.
namespace velmar::test {
namespace {

using ActorCommands = SampleWindow;

// Stage 1-1 of the sample: nine screens (columns 00 to 8F), eight enemies; enemy 0 has b 07 in
// column 3.
const SceneRecord& scene(frmMain& w) { return w.doc().currentScene(); }

// Runs `command` and checks it made exactly one step named `name`, which undo takes back whole.
template <typename F> void expectOneStep(frmMain& w, const char* name, F command)
{
    const Bytes before = w.doc().romData();
    const std::size_t steps = w.doc().history().size();
    command();
    EXPECT_EQ(w.doc().history().size(), steps + 1) << name;
    EXPECT_EQ(w.menuEditUndo->text(), QString("Undo ") + name);
    const Bytes after = w.doc().romData();
    w.menuEditUndo_Click();
    EXPECT_EQ(w.doc().romData(), before) << name;
    w.menuEditRedo_Click();
    EXPECT_EQ(w.doc().romData(), after) << name;
}

QAction* editMenuAction(frmMain& w, const char* name)
{
    for (QAction* a : w.menuEdit->actions()) {
        if (a->objectName() == name)
            return a;
    }
    ADD_FAILURE() << name << " is not in the Edit menu";
    return nullptr;
}

TEST_F(ActorCommands, AddDuplicateAndDeleteByButtonsMenuKeysAndContextMenu)
{
    const std::size_t enemies = scene(w).enemies.size();
    const std::size_t items = scene(w).items.size();
    // Every command is in the Edit menu, under its name.
    for (const char* name : {"menuEditAddEnemy", "menuEditAddItem", "menuEditDuplicateEnemy", "menuEditDuplicateItem",
                             "menuEditDeleteEnemy", "menuEditDeleteItem"})
        ASSERT_TRUE(editMenuAction(w, name));

    // The button beside the enemy list: an enemy of the type the selector shows, in the middle
    // of the map's window, selected and in enemy mode.
    w.actorLists->cmbEnemyList->setCurrentIndex(w.actorLists->cmbEnemyList->findData(0));
    expectOneStep(w, "Add Enemy", [&] { w.actorLists->cmdAddEnemy->click(); });
    ASSERT_EQ(scene(w).enemies.size(), enemies + 1);
    EXPECT_EQ(w.editMode(), EditMode::Enemies);
    const int added = w.selectedEnemy();
    const QPoint middle(w.mapView->hscrollRenderer->value() + w.mapView->viewWidth() / 2, kMapHeight / 2);
    EXPECT_EQ(Actor(scene(w).enemies[static_cast<std::size_t>(added)]),
              actorAtPoint(ActorKind::Enemy, 0, middle.x(), middle.y(), scene(w).length));
    EXPECT_EQ(w.actorLists->lstEnemyList->count(), static_cast<int>(enemies) + 1);

    // Ctrl+D on the map copies it a column to the right; Delete on the map removes the selected
    // one, also while cells of the map are selected (Delete of cells is map mode's).
    w.cmdBkgEdit->click();
    w.cmdSelect->click();
    f.stroke({QPoint(10, 10), QPoint(60, 60)});
    w.cmdSelect->click();
    ASSERT_FALSE(w.selection().empty());
    const Bytes map = scene(w).map;
    w.cmdEnemyEdit->click();
    w.actorLists->select(ActorKind::Enemy, added);
    w.mapView->picRenderDest->setFocus();
    expectOneStep(w, "Duplicate Enemy",
                  [&] { QTest::keyClick(w.mapView->picRenderDest, Qt::Key_D, Qt::ControlModifier); });
    const EnemyRecord copy = scene(w).enemies[static_cast<std::size_t>(w.selectedEnemy())];
    EXPECT_EQ(copy.xy & 0x0F, (scene(w).enemies[static_cast<std::size_t>(added)].xy & 0x0F) + 1);
    expectOneStep(w, "Delete Enemy", [&] { QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Delete); });
    EXPECT_EQ(scene(w).enemies.size(), enemies + 1);
    EXPECT_EQ(scene(w).map, map);

    // Insert and Ctrl+D in the item list; the Edit menu deletes.
    w.actorLists->lstItemList->setFocus();
    expectOneStep(w, "Add Item", [&] { QTest::keyClick(w.actorLists->lstItemList, Qt::Key_Insert); });
    EXPECT_EQ(w.editMode(), EditMode::Items);
    expectOneStep(w, "Duplicate Item",
                  [&] { QTest::keyClick(w.actorLists->lstItemList, Qt::Key_D, Qt::ControlModifier); });
    EXPECT_EQ(scene(w).items.size(), items + 2);
    expectOneStep(w, "Delete Item", [&] { editMenuAction(w, "menuEditDeleteItem")->trigger(); });
    EXPECT_EQ(scene(w).items.size(), items + 1);

    // The map's context menu in item mode adds where it was opened; in map mode there is none.
    const std::unique_ptr<QMenu> menu = w.actorLists->contextMenu(QPoint(0x35 * 16 + 3, 100));
    QAction* addHere = menu->findChild<QAction*>("contextAdd");
    ASSERT_TRUE(addHere);
    EXPECT_EQ(addHere->text(), "Add Item Here");
    expectOneStep(w, "Add Item", [&] { addHere->trigger(); });
    EXPECT_EQ(scene(w).items[static_cast<std::size_t>(w.selectedItem())].x, 0x35);
    w.cmdBkgEdit->click();
    EXPECT_TRUE(w.actorLists->contextMenu(QPoint(10, 10))->isEmpty());

    // A place past the map's end stops at its last column.
    w.actorLists->addActor(ActorKind::Item, QPoint(0x95 * 16, 100));
    EXPECT_EQ(scene(w).items[static_cast<std::size_t>(w.selectedItem())].x, 0x8F);
}

TEST_F(ActorCommands, PositionsAndTheStartAreTypedIntoTheirBoxesAsThePromptsCheckThem)
{
    w.cmdEnemyEdit->click();
    const EnemyRecord first = scene(w).enemies[0];
    const auto type = [&](QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    };
    // B, then the column and the row: each is a step, and the moved enemy stays selected.
    expectOneStep(w, "Move Enemy Base", [&] { type(w.actorLists->txtEnemyEdit_B, "2C"); });
    EXPECT_EQ(scene(w).enemies[static_cast<std::size_t>(w.selectedEnemy())].b, 0x2C);
    expectOneStep(w, "Move Enemy", [&] { type(w.actorLists->txtEnemyEdit_X, "9"); });
    expectOneStep(w, "Move Enemy", [&] { type(w.actorLists->txtEnemyEdit_Y, "4"); });
    EXPECT_EQ(scene(w).enemies[static_cast<std::size_t>(w.selectedEnemy())], (EnemyRecord{0x2C, 0x49, first.id}));

    // What the prompt refuses, the box refuses, and shows the enemy's value again: B takes up
    // to 86 for column 9 (the enemy would otherwise stand past column 8F).
    const std::size_t steps = w.doc().history().size();
    f.dialogs.messages.clear();
    type(w.actorLists->txtEnemyEdit_B, "87");
    EXPECT_EQ(f.dialogs.messages, QStringList({"Value is outside stage length! (max = $86)"}));
    EXPECT_EQ(w.actorLists->txtEnemyEdit_B->text(), "2C");
    type(w.actorLists->txtEnemyEdit_B, "ZZ");
    EXPECT_EQ(w.mainStatusBar->currentMessage(), "Enemy B takes two hexadecimal digits, 00 to 86.");
    type(w.actorLists->txtEnemyEdit_X, "G");
    EXPECT_EQ(w.actorLists->txtEnemyEdit_X->text(), "9");
    EXPECT_EQ(w.doc().history().size(), steps);
    type(w.actorLists->txtEnemyEdit_B, "ZZ");
    expectOneStep(w, "Move Enemy", [&] { type(w.actorLists->txtEnemyEdit_Y, "5"); });
    EXPECT_EQ(w.mainStatusBar->currentMessage(), "") << "a refusal goes with the next step";

    // Enter in the B box left as it is asks, as a double-click does.
    f.dialogs.inputs = {QString("")};
    w.actorLists->txtEnemyEdit_B->setFocus();
    QTest::keyClick(w.actorLists->txtEnemyEdit_B, Qt::Key_Return);
    EXPECT_EQ(f.dialogs.questions.back(), "New B value: (hex, max = $86)");

    w.cmdItemEdit->click();
    expectOneStep(w, "Move Item", [&] { type(w.actorLists->txtItemEdit_Y, "60"); });
    type(w.actorLists->txtItemEdit_Y, "65");
    EXPECT_EQ(w.mainStatusBar->currentMessage(), "Item Y is a row: 00, 10, 20 .. F0.");
    expectOneStep(w, "Move Item", [&] { type(w.actorLists->txtItemEdit_X, "8F"); });

    // The player start, typed.
    expectOneStep(w, "Move Player Start", [&] {
        type(w.propertiesPanel->txtStartX, "44");
        w.propertiesPanel->txtStartY->setFocus();
    });
    EXPECT_EQ(scene(w).startX, 0x44);
}

TEST_F(ActorCommands, TheMapsEndStopsKeysAndDragsAndShowsWhatLiesPastIt)
{
    // An enemy in the last column: Right goes no further, and the status bar says why.
    w.cmdEnemyEdit->click();
    const EnemyRecord first = scene(w).enemies[0];
    const EnemyRecord nearEnd{0x82, static_cast<std::uint8_t>((first.xy & 0xF0) | 0x0D), first.id};
    ASSERT_TRUE(edits::setEnemy(w.document().doc(), 0, nearEnd, "Move Enemy").ok());
    const int last = static_cast<int>(scene(w).enemies.size()) - 1;
    w.actorLists->select(ActorKind::Enemy, last);
    ASSERT_EQ(actorColumn(Actor(scene(w).enemies[static_cast<std::size_t>(last)])), 0x8F);
    const Bytes atEnd = w.doc().romData();
    w.mapView->picRenderDest->setFocus();
    QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Right);
    EXPECT_EQ(w.doc().romData(), atEnd);
    EXPECT_EQ(w.mainStatusBar->currentMessage(), "The map ends with column 8F: the enemy goes no further.");
    // Dragged right, it stops there too.
    QWidget* pic = w.mapView->markerPicture(MapMarker::Enemy, last);
    w.picEnemy_MouseDown(last, pic->geometry().center());
    w.picEnemy_MouseUp(last, pic->geometry().center() + QPoint(48, 0));
    EXPECT_EQ(w.doc().romData(), atEnd);

    // The map's end is drawn at its right edge; nothing lies past it yet.
    EXPECT_EQ(w.mapView->lblMapEnd->geometry().right(), w.mapView->picRenderDest->width() - 1);
    EXPECT_FALSE(w.mapView->lblPastEnd->isVisibleTo(w.mapView->picRenderDest));

    // A shrink to three screens, the actors past the new end kept ("No"): the lists mark them,
    // and the map says how many lie past its end.
    w.cmdResizeMap->click();
    auto* dialog = w.findChild<frmRomExpansion*>("frmRomExpansion");
    ASSERT_TRUE(dialog);
    dialog->txtNewLength->setText("02");
    f.dialogs.answers = {Dialogs::Answer::No};
    dialog->cmdOk->click();
    ASSERT_EQ(scene(w).length, 2);
    const std::vector<ActorRef> beyond = actorsBeyondEnd(scene(w), 2);
    ASSERT_FALSE(beyond.empty());
    EXPECT_TRUE(f.dialogs.questions.back().contains("would then stand past the map's end"));
    EXPECT_TRUE(f.dialogs.questions.back().contains(qs(actorName(scene(w), beyond.front()))));
    for (const ActorRef& r : beyond) {
        QListWidget* list = r.kind == ActorKind::Enemy ? w.actorLists->lstEnemyList : w.actorLists->lstItemList;
        EXPECT_TRUE(list->item(static_cast<int>(r.index))->text().endsWith("past the end"))
            << list->item(static_cast<int>(r.index))->text().toStdString();
    }
    EXPECT_TRUE(w.mapView->lblPastEnd->isVisibleTo(w.mapView->picRenderDest));
    EXPECT_EQ(w.mapView->lblPastEnd->text(), qs(actorCountText(beyond)) + " past the end " + QChar(0x25B6));
    EXPECT_EQ(w.mapView->lblMapEnd->geometry().right(), w.mapView->picRenderDest->width() - 1);

    // Yes removes them with the shrink (the rule is the document's), and the mark goes.
    w.menuEditUndo_Click();
    w.cmdResizeMap->click();
    dialog->txtNewLength->setText("02");
    f.dialogs.answers = {Dialogs::Answer::Yes};
    dialog->cmdOk->click();
    EXPECT_TRUE(actorsBeyondEnd(scene(w), 2).empty());
    EXPECT_FALSE(w.mapView->lblPastEnd->isVisibleTo(w.mapView->picRenderDest));
}

}  // namespace
}  // namespace velmar::test
