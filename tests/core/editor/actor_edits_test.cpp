#include <gtest/gtest.h>

#include "editor/edits.h"
#include "expansion/actor_packer.h"
#include "core/sample_document.h"
#include "rom/address_map.h"

namespace velmar {
namespace {

// Stage 1-1 of the sample: nine screens, eight enemies.
constexpr SceneKey kStage11{0, 0, 0};

using test::SampleDocument;

TEST(ActorEdits, AddDeleteAndDuplicateAreOneStepEachThroughThePacker)
{
    SampleDocument f;
    const Bytes loaded = f.doc.romData();
    const std::size_t enemies = f.scene().enemies.size();

    // A new enemy joins the list where its b sorts it, and the count follows (the packer keeps
    // the other scenes' actors, as its own tests show).
    std::size_t at = 99;
    const EnemyRecord fresh{0x21, 0x64, 0x05};
    ASSERT_EQ(edits::addActor(f.doc, fresh, &at).code, EditResult::Recorded);
    ASSERT_EQ(f.scene().enemies.size(), enemies + 1);
    EXPECT_EQ(f.scene().enemies[at], fresh);
    EXPECT_EQ(f.doc.undoName(), "Add Enemy");

    // Its copy stands a column to its right; deleting the copy gives the list of one add back.
    const auto afterAdd = f.scene().enemies;
    std::size_t copy = 99;
    ASSERT_EQ(edits::duplicateActor(f.doc, ActorKind::Enemy, at, &copy).code, EditResult::Recorded);
    EXPECT_EQ(f.scene().enemies[copy], (EnemyRecord{0x21, 0x65, 0x05}));
    EXPECT_EQ(f.doc.undoName(), "Duplicate Enemy");
    ASSERT_EQ(edits::deleteActor(f.doc, ActorKind::Enemy, copy).code, EditResult::Recorded);
    EXPECT_EQ(f.scene().enemies, afterAdd);
    EXPECT_EQ(f.doc.undoName(), "Delete Enemy");

    // Items alike.
    const std::size_t items = f.scene().items.size();
    ASSERT_EQ(edits::addActor(f.doc, ItemRecord{0x30, 0x70, 0x02}, &at).code, EditResult::Recorded);
    EXPECT_EQ(f.scene().items.size(), items + 1);
    EXPECT_EQ(f.doc.undoName(), "Add Item");
    ASSERT_EQ(edits::deleteActor(f.doc, ActorKind::Item, 0).code, EditResult::Recorded);
    EXPECT_EQ(f.doc.undoName(), "Delete Item");
    EXPECT_EQ(f.doc.history().size(), 5u) << "one step each";

    // Every step comes undone whole: the image is the one opened.
    while (f.doc.canUndo())
        ASSERT_TRUE(f.doc.undo().ok());
    EXPECT_EQ(f.doc.romData(), loaded);
}

TEST(ActorEdits, RefusalsSayWhyAndChangeNothing)
{
    SampleDocument f;
    const Bytes loaded = f.doc.romData();
    const auto refused = [&](const Outcome<EditResult>& r, const std::string& reason) {
        EXPECT_EQ(r.code, EditResult::Refused) << reason;
        EXPECT_EQ(r.reason, reason);
        EXPECT_EQ(f.doc.romData(), loaded) << reason;
        EXPECT_EQ(f.doc.history().size(), 0u) << reason;
    };
    // Nine screens end with column 8F: an item at X 90 (the prompt once offered it). (Which moves
    // pass the end are the map end's tests.)
    const std::string item90 =
        "The item would stand in column 90 (X 90), past the map's end: a map of 9 screens ends with column 8F.";
    refused(edits::setItem(f.doc, 0, ItemRecord{0x90, 0x80, 0}, "Move Item"), item90);
    refused(edits::addActor(f.doc, ItemRecord{0x10, 0x80, 0x10}), "An item type is 0 to F.");

    // A list of FF is full.
    ASSERT_TRUE(edits::resizeEnemies(f.doc, 0xFF).ok());
    const Bytes full = f.doc.romData();
    const Outcome<EditResult> r = edits::addActor(f.doc, EnemyRecord{0x10, 0x10, 0});
    EXPECT_EQ(r.reason, "The scene holds FF enemies, as many as it can.");
    EXPECT_EQ(f.doc.romData(), full);
}

TEST(ActorEdits, NoRoomInTheActorAreaRefusesAnAddWithThePackersReason)
{
    SampleDocument f(kStage11, test::sampleWithFullActorArea());
    const Bytes loaded = f.doc.romData();
    const Outcome<EditResult> r = edits::addActor(f.doc, ItemRecord{0x10, 0x80, 0});
    EXPECT_EQ(r.code, EditResult::Refused);
    EXPECT_EQ(r.reason, "Actor data exceeds available space!");
    EXPECT_EQ(f.doc.romData(), loaded);
    // A duplicate is refused alike; a delete makes room, and then an add fits.
    EXPECT_EQ(edits::duplicateActor(f.doc, ActorKind::Item, 0).reason, "Actor data exceeds available space!");
    ASSERT_EQ(edits::deleteActor(f.doc, ActorKind::Enemy, 0).code, EditResult::Recorded);
    EXPECT_EQ(edits::addActor(f.doc, ItemRecord{0x10, 0x80, 0}).code, EditResult::Recorded);
}

TEST(ActorEdits, AShrinkNamesTheActorsPastTheNewEndThenRemovesOrKeepsThem)
{
    SampleDocument f;
    const Bytes loaded = f.doc.romData();
    const SceneRecord before = f.scene();
    // Three screens keep columns 00 to 2F.
    const std::vector<ActorRef> beyond = actorsBeyondEnd(before, 2);
    ASSERT_GE(beyond.size(), 2u) << "the sample's Stage 1-1 has actors past its third screen";

    const Outcome<ResizeResult> refused = edits::resizeMap(f.doc, 2, true);
    EXPECT_EQ(refused.code, ResizeResult::ActorsPastEnd);
    EXPECT_EQ(refused.reason,
              actorCountText(beyond) + " would lie past the new end of the map:\n" + actorNameLines(before, beyond));
    EXPECT_EQ(f.doc.romData(), loaded);

    // Removed: the shrink and the removal are one step, and only actors inside stay.
    ASSERT_TRUE(edits::resizeMap(f.doc, 2, true, edits::ActorsPastEnd::Remove).ok());
    EXPECT_EQ(f.scene().length, 2);
    EXPECT_TRUE(actorsBeyondEnd(f.scene(), 2).empty());
    EXPECT_EQ(f.scene().enemies.size() + f.scene().items.size(),
              before.enemies.size() + before.items.size() - beyond.size());
    EXPECT_EQ(f.doc.history().size(), 1u);
    ASSERT_TRUE(f.doc.undo().ok());
    EXPECT_EQ(f.doc.romData(), loaded);

    // Kept: they stay past the end, where an edit may change their type but not take them
    // further.
    ASSERT_TRUE(edits::resizeMap(f.doc, 2, true, edits::ActorsPastEnd::Keep).ok());
    const std::vector<ActorRef> kept = actorsBeyondEnd(f.scene(), 2);
    ASSERT_EQ(kept.size(), beyond.size());
    const ActorRef e = *std::find_if(kept.begin(), kept.end(), [](ActorRef r) { return r.kind == ActorKind::Enemy; });
    EnemyRecord enemy = f.scene().enemies[e.index];
    enemy.id ^= 1;
    EXPECT_EQ(edits::setEnemy(f.doc, e.index, enemy, "Change Enemy Type").code, EditResult::Recorded);
    enemy.b = static_cast<std::uint8_t>(enemy.b + 1);
    EXPECT_EQ(edits::setEnemy(f.doc, e.index, enemy, "Move Enemy Base").code, EditResult::Refused);
    // A shrink that leaves no actor past the end asks nothing.
    ASSERT_TRUE(f.doc.undo().ok());
    ASSERT_TRUE(f.doc.undo().ok());
    ASSERT_TRUE(edits::resizeMap(f.doc, 0x0A, true).ok());
    EXPECT_TRUE(edits::resizeMap(f.doc, 8, true).ok());
}

}  // namespace
}  // namespace velmar
