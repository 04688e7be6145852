#include <gtest/gtest.h>

#include "actors/map_end.h"

namespace velmar {
namespace {

// A map of four screens (length 3): columns 00 to 3F.
SceneRecord fourScreens()
{
    SceneRecord s;
    s.length = 3;
    s.enemies = {{0x10, 0x95, 1}, {0x38, 0x29, 2}, {0x38, 0x27, 3}, {0x40, 0x20, 4}};
    s.items = {{0x3F, 0x80, 1}, {0x40, 0x80, 2}, {0xFF, 0x10, 3}};
    s.enemyCount = 4;
    s.itemCount = 3;
    return s;
}

TEST(MapEnd, ActorsPastTheLastColumnAreNamedAndAllowedNoFurther)
{
    const SceneRecord s = fourScreens();
    // An enemy stands in b plus its column; an item in x.
    EXPECT_EQ(actorColumn(Actor(s.enemies[1])), 0x41);
    EXPECT_EQ(actorColumn(Actor(s.items[0])), 0x3F);
    EXPECT_EQ(lastMapColumn(3), 0x3F);
    const std::vector<ActorRef> beyond = actorsBeyondEnd(s, 3);
    EXPECT_EQ(beyond,
              (std::vector<ActorRef>{
                  {ActorKind::Enemy, 1}, {ActorKind::Enemy, 3}, {ActorKind::Item, 1}, {ActorKind::Item, 2}}));
    EXPECT_EQ(actorCountText(beyond), "2 enemies and 2 items");
    EXPECT_EQ(actorCountText({{ActorKind::Enemy, 0}}), "1 enemy");
    EXPECT_EQ(actorNameLines(s, beyond, 3),
              "Enemy 01: 02 38 9 2\nEnemy 03: 04 40 0 2\nItem 01: 02 40 80\n... and 1 more");
    // A shrink to two screens leaves enemy 0 (column 15) inside, and more outside.
    EXPECT_EQ(actorsBeyondEnd(s, 1).size(), 6u);
    EXPECT_TRUE(actorsBeyondEnd(s, 15).empty());

    EXPECT_EQ(beyondEndReason(Actor(s.items[1]), 3),
              "The item would stand in column 40 (X 40), past the map's end: a map of 4 screens ends with column 3F.");
    EXPECT_EQ(beyondEndReason(Actor(EnemyRecord{0xF8, 0x0C, 0}), 0),
              "The enemy would stand in column 104 (B F8 and column C of its screen), past the map's end: a map of "
              "1 screen ends with column 0F.");
    EXPECT_EQ(beyondEndReason(Actor(s.items[0]), 3), "");

    // Moves: inside is fine; past the end is refused, unless an actor already there comes back
    // towards the map or keeps its column (a new type, another row).
    const Actor in(EnemyRecord{0x38, 0x26, 0});
    EXPECT_EQ(moveRefusal(in, Actor(EnemyRecord{0x38, 0x27, 0}), 3), "");
    EXPECT_NE(moveRefusal(in, Actor(EnemyRecord{0x38, 0x28, 0}), 3), "");
    const Actor out(EnemyRecord{0x40, 0x25, 0});
    EXPECT_EQ(moveRefusal(out, Actor(EnemyRecord{0x40, 0x34, 9}), 3), "");
    EXPECT_NE(moveRefusal(out, Actor(EnemyRecord{0x40, 0x26, 0}), 3), "");

    // Drags and keys stop at the end: an enemy's column gives way, or its b when the b moved.
    EXPECT_EQ(limitToMapEnd(in, Actor(EnemyRecord{0x38, 0x2B, 0}), 3), Actor(EnemyRecord{0x38, 0x27, 0}));
    EXPECT_EQ(limitToMapEnd(in, Actor(EnemyRecord{0x3C, 0x26, 0}), 3), Actor(EnemyRecord{0x39, 0x26, 0}));
    EXPECT_EQ(limitToMapEnd(out, Actor(EnemyRecord{0x40, 0x28, 0}), 3), Actor(EnemyRecord{0x40, 0x25, 0}));
    EXPECT_EQ(limitToMapEnd(Actor(ItemRecord{0x3E, 0, 0}), Actor(ItemRecord{0x45, 0x70, 0}), 3),
              Actor(ItemRecord{0x3F, 0x70, 0}));
    EXPECT_EQ(limitToMapEnd(in, Actor(EnemyRecord{0x30, 0x29, 0}), 3), Actor(EnemyRecord{0x30, 0x29, 0}));
}

TEST(MapEnd, PromptLimitsNewActorsAndCopiesKeepInsideTheMap)
{
    SceneRecord s = fourScreens();
    // The item limit is the last column; an enemy's b leaves room for its column.
    EXPECT_EQ(positionLimit(s, ActorKind::Item), 0x3F);
    EXPECT_EQ(positionLimit(s, Actor(ItemRecord{0, 0x80, 0})), 0x3F);
    EXPECT_EQ(positionLimit(s, Actor(EnemyRecord{0, 0x05, 0})), 0x38);
    EXPECT_EQ(positionLimit(s, Actor(EnemyRecord{0, 0x0C, 0})), 0x33);
    s.length = 8;  // nine screens: X 90 was once allowed, one column past the end
    EXPECT_EQ(positionLimit(s, Actor(ItemRecord{0, 0x80, 0})), 0x8F);
    s.length = 16;
    EXPECT_EQ(positionLimit(s, Actor(ItemRecord{0, 0x80, 0})), 0xFF);
    EXPECT_EQ(positionLimit(s, Actor(EnemyRecord{0, 0x0F, 0})), 0xFF);

    // A new actor at a map pixel: the screen and column under it, the row whose picture is
    // centred nearest, and never past the end.
    EXPECT_EQ(actorAtPoint(ActorKind::Enemy, 7, 0x125, 100, 3), Actor(EnemyRecord{0x10, 0xA2, 7}));
    EXPECT_EQ(actorAtPoint(ActorKind::Item, 2, 0x125, 107, 3), Actor(ItemRecord{0x12, 0xB0, 2}));
    EXPECT_EQ(actorAtPoint(ActorKind::Item, 2, 5000, 0, 3), Actor(ItemRecord{0x3F, 0x40, 2}));
    EXPECT_EQ(actorAtPoint(ActorKind::Enemy, 0, -40, 191, 3), Actor(EnemyRecord{0, 0x00, 0}));
    // On a 17th screen (columns 100-10F) b cannot reach the screen's start: the last b it has.
    EXPECT_EQ(actorAtPoint(ActorKind::Enemy, 0, 0x104 * 16, 100, 16), Actor(EnemyRecord{0xF5, 0xAF, 0}));

    // A copy goes a column right, or left at the end of the map or of the enemy's screen.
    EXPECT_EQ(duplicatePlace(Actor(EnemyRecord{0x10, 0x95, 1}), 3), Actor(EnemyRecord{0x10, 0x96, 1}));
    EXPECT_EQ(duplicatePlace(Actor(EnemyRecord{0x10, 0x9F, 1}), 3), Actor(EnemyRecord{0x10, 0x9E, 1}));
    EXPECT_EQ(duplicatePlace(Actor(ItemRecord{0x3F, 0x80, 1}), 3), Actor(ItemRecord{0x3E, 0x80, 1}));
    EXPECT_EQ(duplicatePlace(Actor(ItemRecord{0x00, 0x80, 1}), 0), Actor(ItemRecord{0x01, 0x80, 1}));
}

TEST(MapEnd, AChangePlacesOnlyActorsNotAlreadyPastTheEnd)
{
    const SceneRecord before = fourScreens();
    SceneRecord after = before;
    // The same actors past the end of the same map: none placed there.
    EXPECT_TRUE(placedBeyondEnd(before, after).empty());
    // A copy of one of them is a new one, and so is one past a shorter map.
    after.items.push_back(after.items[1]);
    EXPECT_EQ(placedBeyondEnd(before, after), (std::vector<ActorRef>{{ActorKind::Item, 3}}));
    after = before;
    after.length = 2;  // columns to 2F: enemy 2 (column 3F) and item 0 now lie past it
    EXPECT_EQ(placedBeyondEnd(before, after), (std::vector<ActorRef>{{ActorKind::Enemy, 2}, {ActorKind::Item, 0}}));
}

}  // namespace
}  // namespace velmar
