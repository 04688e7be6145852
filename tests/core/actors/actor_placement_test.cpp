#include <gtest/gtest.h>

#include "actors/actor_placement.h"
#include "rom/actor_sort.h"

namespace velmar {
namespace {

SceneRecord sceneOfLength(std::uint8_t length)
{
    SceneRecord s;
    s.length = length;
    return s;
}

TEST(ActorPlacement, ListLinesLimitsAndTypedPositions)
{
    EXPECT_EQ(enemyLine(3, {0x2C, 0x95, 0x12}), "03: 12 2C 5 9");
    EXPECT_EQ(enemyLine(0x1F, {0, 0xF0, 0}), "1F: 00 00 0 F");
    EXPECT_EQ(itemLine(0, {0x1A, 0x80, 7}), "00: 07 1A 80");

    constexpr ActorKind kEnemy = ActorKind::Enemy, kItem = ActorKind::Item;
    EXPECT_EQ(positionPrompt(kEnemy, positionLimit(sceneOfLength(3), kEnemy)), "New B value: (hex, max = $38)");
    // The last column of four screens: 40 would be the first past the map's end.
    EXPECT_EQ(positionPrompt(kItem, positionLimit(sceneOfLength(3), kItem)), "New X value: (hex, max = $3F)");
    EXPECT_EQ(positionLimit(sceneOfLength(15), kEnemy), 0xF8);
    EXPECT_EQ(positionLimit(sceneOfLength(15), kItem), 0xFF);
    EXPECT_EQ(positionLimit(sceneOfLength(16), kEnemy), 0xFF);
    EXPECT_EQ(positionLimit(sceneOfLength(16), kItem), 0xFF);

    using K = PositionAnswer::Kind;
    const struct {
        std::optional<std::string> typed;
        K kind;
        int value;
    } answers[] = {{"2c", K::Value, 0x2C}, {"38", K::Value, 0x38},     {"39", K::OutOfRange, 0},
                   {"0x10", K::NotHex, 0}, {"100", K::NotHex, 0},      {"FFFFFFFFFF", K::NotHex, 0},
                   {"", K::Empty, 0},      {std::nullopt, K::Empty, 0}};
    for (const auto& a : answers) {
        const PositionAnswer got = readPositionAnswer(a.typed, 0x38, "Enemy B");
        EXPECT_EQ(got.kind, a.kind) << a.typed.value_or("(cancelled)");
        EXPECT_EQ(got.value, a.value) << a.typed.value_or("(cancelled)");
        EXPECT_EQ(got.reason, a.kind == K::NotHex ? "Enemy B takes two hexadecimal digits, 00 to 38." : "")
            << a.typed.value_or("(cancelled)");
    }
}

TEST(ActorPlacement, DragsRoundToWholeColumnsAndKeepTheirLimits)
{
    // 40 px is 2.5 columns and 8 px half a row: both round to even.
    EXPECT_EQ(dragEnemy({4, 0x53, 9}, 40, 8), (EnemyRecord{4, 0x55, 9}));
    EXPECT_EQ(dragEnemy({4, 0x53, 9}, 24, -24), (EnemyRecord{4, 0x35, 9}));
    // The column stops at the screen's edges; the row wraps.
    EXPECT_EQ(dragEnemy({4, 0x0E, 9}, 48, -16), (EnemyRecord{4, 0xFF, 9}));
    EXPECT_EQ(dragEnemy({4, 0x01, 9}, -64, 0), (EnemyRecord{4, 0x00, 9}));

    EXPECT_EQ(dragItem({0x10, 0x83, 2}, 0, -32), (ItemRecord{0x10, 0x63, 2}));
    EXPECT_EQ(dragItem({0xFE, 0x00, 2}, 80, -16), (ItemRecord{0xFF, 0xF0, 2}));
    EXPECT_EQ(dragItem({0x01, 0x00, 2}, -80, 0).x, 0);

    EXPECT_EQ(dragEnemyBase({0x20, 0x33, 1}, -64), (EnemyRecord{0x1C, 0x33, 1}));
    EXPECT_EQ(dragEnemyBase({0x02, 0x33, 1}, -64).b, 0);

    EXPECT_EQ(dragStart({0xFE, 0x10}, 3, -20), (StartPosition{0xFF, 0}));
    EXPECT_EQ(dragStart({0x40, 0x80}, -3, 5), (StartPosition{0x3D, 0x85}));

    EXPECT_TRUE(dropInsideMap(0, 0, 1024, 176));
    EXPECT_TRUE(dropInsideMap(1024, 176, 1024, 176));
    EXPECT_FALSE(dropInsideMap(-1, 10, 1024, 176));
    EXPECT_FALSE(dropInsideMap(10, 177, 1024, 176));

    // The picture follows the record: a column right is 16 px, and row 0 stands below row 15.
    const PixelOffset o = enemyPictureOffset({4, 0x53, 0}, {5, 0x04, 0});
    EXPECT_EQ(o.dx, 16 + 16);
    EXPECT_EQ(o.dy, 202 - 26);
}

TEST(ActorPlacement, HighlightScrollsJustEnough)
{
    // A map no wider than the view: the bar rests at 0, disabled.
    EXPECT_EQ(highlightScroll(500, 16, 600, 768, 768, 0, 0).value, 0);
    EXPECT_FALSE(highlightScroll(500, 16, 600, 768, 768, 0, 0).enabled);

    // A 10-screen map (2560 px) seen from 0 in a 768 px view.
    // Inside the view: nothing moves.
    EXPECT_EQ(highlightScroll(100, 16, std::nullopt, 2560, 768, 0, 1792).value, 0);
    // Starting inside, ending past the right edge: its right end reaches the view's right edge.
    EXPECT_EQ(highlightScroll(760, 16, std::nullopt, 2560, 768, 0, 1792).value, 776 - 768);
    // With the player line right of the picture the part to show reaches 8 px past the line.
    EXPECT_EQ(highlightScroll(700, 16, 900, 2560, 768, 0, 1792).value, 908 - 768);
    // Never past the bar's maximum.
    EXPECT_EQ(highlightScroll(2540, 16, 2600, 2560, 768, 0, 1792).value, 1792);
    // Left of the view: its left end (or the line's, less 8) comes to the left edge.
    EXPECT_EQ(highlightScroll(300, 16, std::nullopt, 2560, 768, 1000, 1792).value, 300);
    EXPECT_EQ(highlightScroll(1100, 16, 1004, 2560, 768, 1000, 1792).value, 996);
    EXPECT_EQ(highlightScroll(10, 16, 4, 2560, 768, 500, 1792).value, 0);
}

// The store sorts the lists (whole records, by their first byte); the window keeps the moved
// actor selected where the sort puts it.
TEST(ActorPlacement, SortedPositionFollowsTheStoreSort)
{
    const std::vector<std::vector<std::uint8_t>> cases = {{9, 2, 5}, {5, 4, 3, 2, 1}, {7, 7, 1, 7}, {1, 2, 3}};
    for (const auto& keys : cases) {
        std::vector<EnemyRecord> list;
        for (std::size_t i = 0; i < keys.size(); ++i)
            list.push_back({keys[i], static_cast<std::uint8_t>(i), 0});  // xy tells the records apart
        std::vector<EnemyRecord> sorted = list;
        sortActorRecords(sorted, true);
        for (std::size_t i = 0; i < list.size(); ++i)
            EXPECT_EQ(sorted[sortedPosition(list, i)], list[i]);
    }

    // Storing an unchanged scene must write identical bytes, so equal keys keep their order.
    std::vector<ItemRecord> items = {{1, 0x10, 1}, {1, 0x20, 2}, {4, 0, 3}, {4, 0, 4}, {4, 0, 5}, {9, 0, 6}};
    const auto before = items;
    sortActorRecords(items, true);
    EXPECT_EQ(items, before);
}

}  // namespace
}  // namespace velmar
