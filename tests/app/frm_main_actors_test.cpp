#include <gtest/gtest.h>

#include "app_fixture.h"
#include "actors/actor_placement.h"
#include "base/hex.h"
#include "panels/actors_panel.h"
#include "widgets/bitmap_view.h"

namespace velmar::test {
namespace {

using MainWindowActors = SampleWindow;

// Stage 1-1 of the sample: nine screens; enemy 0 has b 07 and stands in column 3, row B; item 0
// has x 08 and y B0.
constexpr const char* kStage11 = "c:000000";
// A one-screen scene with one enemy and no item.
constexpr const char* kOneScreen = "c:010205";

QPoint centreOf(const QWidget* w) { return w->geometry().center(); }

const EnemyRecord& enemy(frmMain& w, int i) { return w.doc().currentScene().enemies[static_cast<std::size_t>(i)]; }

const ItemRecord& item(frmMain& w, int i) { return w.doc().currentScene().items[static_cast<std::size_t>(i)]; }

QWidget* enemyPicture(frmMain& w, int i) { return w.mapView->markerPicture(MapMarker::Enemy, i); }

// The red frame surrounds the picture of the selected actor of the mode (in view, with `inView`),
// and in enemy mode the green line stands at the selected enemy's player position.
void expectMarksOnSelected(frmMain& w, const std::string& after, bool inView = true)
{
    const auto kind = actorKindOf(w.editMode());
    ASSERT_TRUE(kind) << after;
    const int index = w.actorLists->selected(*kind);
    const QWidget* picture =
        w.mapView->markerPicture(*kind == ActorKind::Enemy ? MapMarker::Enemy : MapMarker::Item, index);
    ASSERT_TRUE(picture) << after;
    const auto* frame = w.findChild<QLabel*>("lblSelActorHighlight");
    const QWidget* map = w.findChild<QWidget*>("picRenderDest");
    EXPECT_TRUE(frame->isVisibleTo(map)) << after;
    EXPECT_EQ(frame->geometry(), picture->geometry().adjusted(-4, -4, 4, 4)) << after;
    const QRect window(-map->x(), 0, w.findChild<QWidget*>("picContainer")->width(), map->height());
    EXPECT_TRUE(!inView || window.intersects(picture->geometry())) << after << ": in view";
    const auto* line = w.findChild<QWidget*>("linePlayerPos");
    EXPECT_EQ(line->isVisibleTo(map), *kind == ActorKind::Enemy) << after;
    if (*kind == ActorKind::Enemy) {
        EXPECT_EQ(line->x(), w.mapView->toView(QPoint(playerLineX(enemy(w, index)), 0)).x()) << after;
    }
}

TEST_F(MainWindowActors, ListsModesSelectionAndKeys)
{
    ASSERT_EQ(w.actorLists->lstEnemyList->count(), 8);
    EXPECT_EQ(w.actorLists->lstItemList->item(0)->text(), "00: 00 08 B0");
    EXPECT_FALSE(w.mapView->lblSelActorHighlight->isVisibleTo(w.mapView->picRenderDest)) << "map mode selects nothing";

    w.cmdEnemyEdit->click();
    EXPECT_EQ(w.editMode(), EditMode::Enemies);
    EXPECT_EQ(w.actorLists->txtEnemyEdit_B->text(), "07");
    EXPECT_EQ(w.actorLists->txtEnemyEdit_X->text(), "3");
    EXPECT_EQ(w.actorLists->txtEnemyEdit_Y->text(), "B");

    w.actorLists->lstEnemyList->setCurrentRow(2);  // the keyboard in the list
    EXPECT_EQ(w.selectedEnemy(), 2);
    EXPECT_EQ(w.actorLists->txtEnemyEdit_B->text(), "39");
    // Enemy 7 (b 7F) lies right of the view: the map scrolls just enough to show 8 px past its
    // player line.
    w.actorLists->lstEnemyList->setCurrentRow(7);
    EXPECT_EQ(w.mapView->hscrollRenderer->value(), 0x7F * 16 + 128 + 8 - 768);

    w.cmdItemEdit->click();
    EXPECT_EQ(w.actorLists->txtItemEdit_Y->text(), "B0");
    EXPECT_TRUE(w.mapView->markerPicture(MapMarker::Item, 0)->isVisibleTo(w.mapView->picRenderDest));
    EXPECT_FALSE(enemyPicture(w, 0)->isVisibleTo(w.mapView->picRenderDest));

    // A press on an enemy picture selects it, whatever the mode.
    w.picEnemy_MouseDown(5, centreOf(enemyPicture(w, 5)));
    w.picEnemy_MouseUp(5, centreOf(enemyPicture(w, 5)));
    EXPECT_EQ(w.editMode(), EditMode::Enemies);
    EXPECT_EQ(w.selectedEnemy(), 5);
    EXPECT_EQ(w.doc().history().size(), 0u) << "a click without a drag moves nothing";

    // Another scene keeps the mode; one without items leaves item mode with nothing selected.
    // A one-screen map does not scroll.
    f.select(kOneScreen);
    EXPECT_EQ(w.editMode(), EditMode::Enemies);
    EXPECT_EQ(w.actorLists->lstEnemyList->currentRow(), 0);
    EXPECT_EQ(w.mapView->hscrollRenderer->value(), 0);
    EXPECT_FALSE(w.mapView->hscrollRenderer->isEnabled());
    w.cmdItemEdit->click();
    EXPECT_EQ(w.actorLists->lstItemList->count(), 0);
    EXPECT_TRUE(w.actorLists->txtItemEdit_X->text().isEmpty());
    EXPECT_FALSE(w.mapView->lblSelActorHighlight->isVisibleTo(w.mapView->picRenderDest));
    w.picPwrUp_MouseDown(0, QPoint(5, 5));  // no such picture: nothing happens
    EXPECT_EQ(w.doc().history().size(), 0u);

    // The status bar names what the pointer is over.
    emit w.mapView->pointerOver(MapMarker::Enemy, 0, QPoint(300, 100));
    EXPECT_EQ(w.findChild<QLabel*>("lblPointer")->text(),
              "Screen 01  X 2  Y 6    Enemy " + w.actorLists->lstEnemyList->item(0)->text());

    // Keys move the selected actor, and the moved one stays selected.
    f.select(kStage11);
    w.cmdEnemyEdit->click();
    QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Right);
    QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Up);
    EXPECT_EQ(enemy(w, 0).xy, 0xA4);
    EXPECT_EQ(w.doc().history().size(), 2u);

    // Shift+Right moves its screen: b goes from 07 past enemy 1's 20.
    for (int i = 0; i < 0x1A; ++i)
        QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(w.selectedEnemy(), 1) << "the list is kept in order of b";
    EXPECT_EQ(enemy(w, 1).b, 0x21);
    EXPECT_EQ(enemy(w, 1).xy, 0xA4);
    EXPECT_EQ(w.actorLists->lstEnemyList->currentRow(), 1);
}

// The frame and the line follow the selected actor through every kind of change: a scene
// switch, an edit, undo and redo (also across scenes), a graphics edit, a new zoom, a count
// change. The map lays the pictures out before the frame is put round one.
TEST_F(MainWindowActors, TheFrameAndTheLineFollowTheSelectedActorThroughEveryChange)
{
    w.show();
    w.cmdEnemyEdit->click();
    expectMarksOnSelected(w, "enemy mode");
    f.select("c:030A11");
    expectMarksOnSelected(w, "a scene switch");
    w.findChild<QListWidget*>("lstEnemyList")->setCurrentRow(1);
    QTest::keyClick(w.mapView->picRenderDest, Qt::Key_Right, Qt::ShiftModifier);
    expectMarksOnSelected(w, "a key");
    w.menuEditUndo->trigger();
    expectMarksOnSelected(w, "undo");
    w.menuEditRedo->trigger();
    f.select(kStage11);
    w.menuEditUndo->trigger();
    ASSERT_EQ(w.doc().currentScene().length, 3);
    expectMarksOnSelected(w, "an undo that went back to the scene");
    w.mapView->setMapZoom(3);
    expectMarksOnSelected(w, "a new zoom");
    w.cmdItemEdit->click();
    f.dialogs.answers = {Dialogs::Answer::Yes};
    w.cmdResizeItem->click();
    auto* count = w.findChild<QLineEdit*>("txtActorCount_New");
    count->setText(qs(hexPad(w.doc().currentScene().itemCount + 1, 2)));
    w.findChild<QPushButton*>("cmdOk")->click();
    // A count change does not scroll the map.
    expectMarksOnSelected(w, "a count change", false);
}

TEST_F(MainWindowActors, PromptsReadHexadecimalAndKeepTheirLimits)
{
    f.select("c:030A11");  // four screens: b up to 38, x up to 3F (the last column)
    w.cmdEnemyEdit->click();
    const EnemyRecord before = enemy(w, 0);

    f.dialogs.inputs = {QString("ZZ"), QString(""), QString("39")};
    for (int i = 0; i < 3; ++i)
        w.txtEnemyEdit_B_DblClick();
    EXPECT_EQ(f.dialogs.questions.front(), "New B value: (hex, max = $38)");
    EXPECT_EQ(f.dialogs.messages,
              QStringList({"Enemy B takes two hexadecimal digits, 00 to 38.", "Enemy not moved!",
                           "Value is outside stage length!"}));
    EXPECT_EQ(enemy(w, 0), before);
    EXPECT_EQ(w.doc().history().size(), 0u);

    // "2c" moves it behind the others: it stays the selected enemy in its new place.
    f.dialogs.inputs = {QString("2c")};
    w.txtEnemyEdit_B_DblClick();
    EXPECT_EQ(enemy(w, w.selectedEnemy()), (EnemyRecord{0x2C, before.xy, before.id}));
    EXPECT_EQ(w.actorLists->txtEnemyEdit_B->text(), "2C");
    EXPECT_EQ(w.mapView->linePlayerPos->x(), 0x2C * 16 + 128);

    w.cmdItemEdit->click();
    // 40 would be the first column past the map's end, where the map shows no item.
    f.dialogs.inputs = {QString("40"), QString("3F")};
    w.txtItemEdit_X_DblClick();
    EXPECT_EQ(f.dialogs.questions.back(), "New X value: (hex, max = $3F)");
    EXPECT_EQ(f.dialogs.messages.back(), "Value is outside stage length!");
    w.txtItemEdit_X_DblClick();
    EXPECT_EQ(item(w, w.selectedItem()).x, 0x3F) << "the limit of a four-screen scene";
    f.dialogs.inputs = {QString("")};
    w.txtItemEdit_X_DblClick();
    EXPECT_EQ(f.dialogs.messages.back(), "Item not moved!");
}

TEST(MainWindowActorTypes, TypeChoicesReplaceOneLineAndKeepUnnamedTypes)
{
    AppFixture f;
    f.writeGoodDataFiles();
    writeFile(f.dir.path() / "dat" / "ENEMY.DAT", "9\nE0\nE1\nE2\nE3\nE4\nE5\nE6\nE7\nE8\nE9\n");
    std::string items = "13\n";
    for (int i = 0; i < 20; ++i)
        items += "I" + std::to_string(i) + "\n";
    writeFile(f.dir.path() / "dat" / "ITEM.DAT", items);
    f.start();
    frmMain& w = *f.window;
    w.loadRom(false, f.writeSample());

    w.cmdEnemyEdit->click();
    w.actorLists->lstEnemyList->setCurrentRow(2);  // type 0A: no name for it
    EXPECT_EQ(w.actorLists->cmbEnemyList->currentText(), "0A (no name)");
    EXPECT_EQ(w.actorLists->cmbEnemyList->count(), 11);
    EXPECT_EQ(w.actorLists->cmbEnemyList->itemText(9), "09 E9") << "each type after its number";

    const QString next = w.actorLists->lstEnemyList->item(3)->text();
    w.actorLists->cmbEnemyList->setCurrentIndex(4);
    emit w.actorLists->cmbEnemyList->activated(4);
    EXPECT_EQ(enemy(w, 2).id, 4);
    EXPECT_EQ(w.actorLists->cmbEnemyList->count(), 10) << "the unnamed entry goes once another type is chosen";
    EXPECT_EQ(w.actorLists->lstEnemyList->item(2)->text(), "02: 04 39 1 7");
    EXPECT_EQ(w.actorLists->lstEnemyList->item(3)->text(), next);
    w.menuEditUndo_Click();
    EXPECT_EQ(enemy(w, 2).id, 0x0A);
    EXPECT_EQ(w.actorLists->cmbEnemyList->currentText(), "0A (no name)");

    // Item types have four bits: 16 of the 20 names are offered.
    w.cmdItemEdit->click();
    EXPECT_EQ(w.actorLists->cmbItemList->count(), 16);
    emit w.actorLists->cmbItemList->activated(15);
    EXPECT_EQ(item(w, 0).id, 15);
    EXPECT_EQ(w.menuEditUndo->text(), "Undo Change Item Type");
}

TEST_F(MainWindowActors, DragsFollowThePointerAndLandByTheRules)
{
    w.cmdEnemyEdit->click();
    QWidget* pic = enemyPicture(w, 0);
    const QPoint from = centreOf(pic);

    // 40 px right is 2 columns, 8 px down is no row (where the picture stands meanwhile, at every
    // zoom, is MapZoom's).
    w.picEnemy_MouseDown(0, from);
    w.picEnemy_MouseMove(0, from + QPoint(40, 8));
    w.picEnemy_MouseUp(0, from + QPoint(40, 8));
    EXPECT_EQ(enemy(w, 0).xy, 0xB5);
    EXPECT_EQ(w.actorLists->lstEnemyList->item(0)->text(), "00: 00 07 5 B");
    EXPECT_EQ(w.menuEditUndo->text(), "Undo Move Enemy");

    // A drop off the map puts the picture back and changes nothing.
    const Bytes beforeDrop = w.doc().romData();
    const QRect placed = enemyPicture(w, 0)->geometry();
    w.picEnemy_MouseDown(0, placed.center());
    w.picEnemy_MouseMove(0, QPoint(placed.center().x(), -30));
    EXPECT_EQ(enemyPicture(w, 0)->geometry(), placed);
    w.picEnemy_MouseUp(0, QPoint(placed.center().x(), -30));
    EXPECT_EQ(w.doc().romData(), beforeDrop);

    // The player line: 64 px left lowers b by 4 and takes the picture along.
    const QPoint line = centreOf(w.mapView->linePlayerPos);
    w.linePlayerPos_MouseDown(line);
    w.linePlayerPos_MouseMove(line - QPoint(64, 40));
    EXPECT_EQ(w.mapView->linePlayerPos->x(), 3 * 16 + 128);
    EXPECT_EQ(enemyPicture(w, 0)->geometry(), placed.translated(-64, 0));
    w.linePlayerPos_MouseUp(line - QPoint(64, 40));
    EXPECT_EQ(enemy(w, 0).b, 3);

    // The player start moves by pixels.
    const std::uint8_t startX = w.doc().currentScene().startX;
    const QPoint start = centreOf(w.mapView->picMainCharacterSpawn);
    w.picMainCharacterSpawn_MouseDown(start);
    w.picMainCharacterSpawn_MouseUp(start + QPoint(3, 0));
    EXPECT_EQ(w.doc().currentScene().startX, startX + 3);
    EXPECT_EQ(w.propertiesPanel->txtStartX->text(), qs(hexPad(startX + 3, 2))) << "the properties panel follows";

    // Items move along the map; two rows up from B0 is 90.
    w.cmdItemEdit->click();
    QWidget* itemPic = w.mapView->markerPicture(MapMarker::Item, 0);
    w.picPwrUp_MouseDown(0, centreOf(itemPic));
    w.picPwrUp_MouseUp(0, centreOf(itemPic) + QPoint(16, -32));
    EXPECT_EQ(item(w, 0), (ItemRecord{0x09, 0x90, 0}));

    EXPECT_EQ(w.doc().history().size(), 4u) << "every drag is one step";
}

}  // namespace
}  // namespace velmar::test
