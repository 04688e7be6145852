#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "actors/actor_sort.h"

namespace velmar {
namespace {

std::vector<std::uint8_t> keys(const std::vector<EnemyRecord>& r)
{
    std::vector<std::uint8_t> k;
    for (const auto& e : r)
        k.push_back(e.b);
    return k;
}

TEST(ActorSort, OrdersByFirstByteKeepingRecordsWhole)
{
    const std::vector<std::vector<std::uint8_t>> cases = {
        {9, 2, 5}, {3, 1}, {5, 4, 3, 2, 1}, {1}, {}, {7, 7, 1, 7},
    };
    for (const auto& c : cases) {
        std::vector<EnemyRecord> r;
        for (std::uint8_t k : c)
            r.push_back({k, static_cast<std::uint8_t>(k ^ 0x55), static_cast<std::uint8_t>(k + 1)});
        EXPECT_TRUE(sortActorRecords(r, true));
        auto sorted = c;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(keys(r), sorted);
        for (const auto& e : r) {
            EXPECT_EQ(e.xy, e.b ^ 0x55);
            EXPECT_EQ(e.id, static_cast<std::uint8_t>(e.b + 1));
        }
    }
}

TEST(ActorSort, LongListsBothDirections)
{
    // Lists long enough to pass through the gap 9/10 -> 11 step.
    std::mt19937 rng(7);
    for (int n : {12, 14, 40, 255}) {
        std::vector<ItemRecord> items;
        for (int i = 0; i < n; ++i)
            items.push_back({static_cast<std::uint8_t>(rng() & 0xFF), static_cast<std::uint8_t>(i), 0});
        auto up = items;
        sortActorRecords(up, true);
        EXPECT_TRUE(std::is_sorted(up.begin(), up.end(), [](auto& a, auto& b) { return a.x < b.x; })) << n;
        auto down = items;
        sortActorRecords(down, false);
        EXPECT_TRUE(std::is_sorted(down.begin(), down.end(), [](auto& a, auto& b) { return a.x > b.x; })) << n;
    }
}

TEST(ActorSort, SortedListsWithEqualKeysNeverMove)
{
    // Storing an unchanged scene must write identical bytes, so equal keys keep their order.
    std::vector<ItemRecord> items = {{1, 0x10, 1}, {1, 0x20, 2}, {4, 0, 3}, {4, 0, 4}, {4, 0, 5}, {9, 0, 6}};
    const auto before = items;
    sortActorRecords(items, true);
    EXPECT_EQ(items, before);
}

}  // namespace
}  // namespace velmar
