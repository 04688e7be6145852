#include <gtest/gtest.h>

#include <algorithm>

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
