#include <gtest/gtest.h>

#include "app_fixture.h"
#include "windows/frm_rom_expansion.h"
#include "base/hex.h"

namespace velmar::test {
namespace {

using ResizeDialog = SampleWindow;

frmRomExpansion& dialogOf(frmMain& w)
{
    auto* d = w.findChild<frmRomExpansion*>("frmRomExpansion");
    EXPECT_TRUE(d && d->isVisible());
    return *d;
}

TEST_F(ResizeDialog, MapAndCountsChangeOnlyAsConfirmed)
{
    const Bytes loaded = w.doc().romData();
    const int length = w.doc().currentScene().length;
    ASSERT_GE(length, 2);
    w.cmdResizeMap->click();
    frmRomExpansion& d = dialogOf(w);
    EXPECT_TRUE(d.frmSceneExpander->isVisibleTo(&d));
    EXPECT_FALSE(d.frmActorExpander->isVisibleTo(&d));
    EXPECT_EQ(d.txtNewLength->text(), qs(hexPad(length, 2)));
    EXPECT_TRUE(d.optAppend->isChecked());
    EXPECT_TRUE(d.lblMapRoom->text().contains("left")) << d.lblMapRoom->text().toStdString();

    // Cancel, and OK on the same length, change nothing and say nothing.
    d.txtNewLength->setText("10");
    d.cmdCancel->click();
    w.cmdResizeMap->click();
    dialogOf(w).cmdOk->click();
    EXPECT_EQ(w.doc().romData(), loaded);
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // Two more screens on the right.
    w.cmdResizeMap->click();
    dialogOf(w).txtNewLength->setText(qs(hexPad(length + 2, 2)));
    dialogOf(w).cmdOk->click();
    EXPECT_EQ(f.dialogs.messages.value(0), "Map size changed successfully!");
    EXPECT_EQ(w.doc().currentScene().length, length + 2);
    const Bytes grown = w.doc().romData();
    w.cmdAreaInfo->click();
    EXPECT_TRUE(f.dialogs.messages.value(1).startsWith("Act 1, Stage 1-1, scene 00; key c:000000\n"))
        << "acts and stages counted as the tree counts them";
    EXPECT_TRUE(f.dialogs.messages.value(1).contains(QString("(%1 screens)").arg(length + 3)));
    EXPECT_TRUE(f.dialogs.messages.value(1).contains("Map area: ")) << f.dialogs.messages.value(1).toStdString();

    // A length past 10 is refused before anything is asked: the box shows the length again, and
    // the dialog stays open.
    const QString wanted = "New length takes two hexadecimal digits, 00 to 10.";
    w.cmdResizeMap->click();
    dialogOf(w).optInsert->setChecked(true);
    dialogOf(w).txtNewLength->setText("11");
    EXPECT_EQ(dialogOf(w).lblMapRoom->text(), wanted);
    dialogOf(w).cmdOk->click();
    EXPECT_EQ(f.dialogs.messages.mid(2), QStringList{wanted});
    EXPECT_TRUE(dialogOf(w).isVisible());
    EXPECT_EQ(dialogOf(w).txtNewLength->text(), qs(hexPad(length + 2, 2)));
    EXPECT_TRUE(f.dialogs.questions.isEmpty());
    EXPECT_EQ(w.doc().romData(), grown);

    // A shrink is asked about, with the actors it would leave past the new end, and Cancel keeps
    // the dialog.
    dialogOf(w).txtNewLength->setText("0");
    f.dialogs.answers = {Dialogs::Answer::Cancel};
    dialogOf(w).cmdOk->click();
    ASSERT_EQ(f.dialogs.questions.size(), 1);
    EXPECT_TRUE(f.dialogs.questions[0].startsWith(
        QString("The map has %1 screens. Shrinking it to 1 screen drops the %2 screens on "
                "the left (the start).\n")
            .arg(length + 3)
            .arg(length + 2)))
        << f.dialogs.questions[0].toStdString();
    EXPECT_TRUE(dialogOf(w).isVisible());
    EXPECT_EQ(w.doc().romData(), grown);
    f.dialogs.answers = {Dialogs::Answer::Yes};
    dialogOf(w).txtNewLength->setText(qs(hexPad(length + 1, 2)));
    dialogOf(w).cmdOk->click();
    EXPECT_EQ(w.doc().currentScene().length, length + 1);
    EXPECT_EQ(w.doc().history().size(), 2u) << "a step each";

    // The counts of actors refill the lists.
    f.dialogs.messages.clear();
    const int items = w.doc().currentScene().itemCount;
    w.cmdResizeItem->click();
    frmRomExpansion& c = dialogOf(w);
    EXPECT_FALSE(c.frmSceneExpander->isVisibleTo(&c));
    EXPECT_EQ(c.lblActorCount_Old->text(), qs(hexPad(items, 2)));
    c.txtActorCount_New->setText(qs(hexPad(items + 2, 2)));
    EXPECT_TRUE(c.lblActorRoom->text().contains("bytes used"));
    c.cmdOk->click();
    EXPECT_EQ(f.dialogs.messages.value(0), "Item count changed successfully!");
    EXPECT_EQ(w.actorLists->lstItemList->count(), items + 2);

    // "ZZ" once read as 0 and deleted every item: refused, once, with nothing changed and the
    // dialog still open.
    const std::size_t steps = w.doc().history().size();
    w.cmdResizeItem->click();
    dialogOf(w).txtActorCount_New->setText("ZZ");
    EXPECT_EQ(dialogOf(w).lblActorRoom->text(), "Item count takes two hexadecimal digits, 00 to FF.");
    dialogOf(w).cmdOk->click();
    EXPECT_EQ(f.dialogs.messages.mid(1), QStringList({"Item count takes two hexadecimal digits, 00 to FF."}));
    EXPECT_EQ(w.doc().history().size(), steps);
    EXPECT_EQ(w.actorLists->lstItemList->count(), items + 2);
    EXPECT_TRUE(dialogOf(w).isVisible());
    EXPECT_EQ(dialogOf(w).txtActorCount_New->text(), qs(hexPad(items + 2, 2)));
    dialogOf(w).cmdCancel->click();

    // Lowering a count names the actors that go, the last ones, and No keeps them.
    const QString lastEnemy = w.actorLists->lstEnemyList->item(w.actorLists->lstEnemyList->count() - 1)->text();
    w.cmdResizeEnemy->click();
    dialogOf(w).txtActorCount_New->setText("0");
    const qsizetype asked = f.dialogs.questions.size();
    dialogOf(w).cmdOk->click();
    ASSERT_EQ(f.dialogs.questions.size(), asked + 1);
    EXPECT_TRUE(f.dialogs.questions.last().startsWith(
        QString("The scene has %1 enemies. Lowering the count to 0 removes the last %1:\nEnemy 00: ")
            .arg(w.actorLists->lstEnemyList->count())));
    EXPECT_TRUE(f.dialogs.questions.last().endsWith("Enemy " + lastEnemy + "\nRemove them?"));
    EXPECT_TRUE(dialogOf(w).isVisible());
    f.dialogs.answers = {Dialogs::Answer::Yes};
    dialogOf(w).cmdOk->click();
    EXPECT_EQ(f.dialogs.messages.value(2), "Enemy count changed successfully!");
    EXPECT_EQ(w.actorLists->lstEnemyList->count(), 0);
    EXPECT_EQ(w.doc().history().size(), 4u);

    w.cmdResizeItem->click();
    dialogOf(w).initGUI(7);
    EXPECT_EQ(f.dialogs.messages.last(), "Error in romExpansion.initGUI()!");
    EXPECT_FALSE(w.findChild<frmRomExpansion*>()->isVisible());
}

}  // namespace
}  // namespace velmar::test
