#include "rom/actor_sort.h"

#include <cmath>
#include <utility>

namespace velmar {

namespace {

std::uint8_t sortKey(const ItemRecord& r) { return r.x; }
std::uint8_t sortKey(const EnemyRecord& r) { return r.b; }

template <typename T, typename Key> bool combSort(std::vector<T>& records, bool ascending, Key keyOf)
{
    const auto n = static_cast<long>(records.size());
    if (n < 2)
        return true;
    long gap = n - 1;
    for (;;) {
        if (gap > 1) {
            if (gap == 2) {
                gap = 1;
            } else {
                // Round half to even, as the shrink step always has.
                gap = std::lrint(static_cast<double>(gap) / 1.3);
                if (gap == 9 || gap == 10)
                    gap = 11;
            }
        }
        long swaps = 0;
        for (long i = 0; i + gap <= n - 1; ++i) {
            const auto a = keyOf(records[static_cast<std::size_t>(i)]);
            const auto b = keyOf(records[static_cast<std::size_t>(i + gap)]);
            if (ascending ? a > b : a < b) {
                std::swap(records[static_cast<std::size_t>(i)], records[static_cast<std::size_t>(i + gap)]);
                ++swaps;
            }
        }
        if (gap == 1 && swaps == 0)
            return true;
    }
}

template <typename Record> std::size_t positionAfterSort(const std::vector<Record>& records, std::size_t index)
{
    std::vector<std::size_t> order(records.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    // The same passes on the indices move each one exactly as its record would move.
    combSort(order, true, [&records](std::size_t i) { return sortKey(records[i]); });
    for (std::size_t at = 0; at < order.size(); ++at) {
        if (order[at] == index)
            return at;
    }
    return index;
}

}  // namespace

bool sortActorRecords(std::vector<ItemRecord>& records, bool ascending)
{
    return combSort(records, ascending, [](const ItemRecord& r) { return sortKey(r); });
}

bool sortActorRecords(std::vector<EnemyRecord>& records, bool ascending)
{
    return combSort(records, ascending, [](const EnemyRecord& r) { return sortKey(r); });
}

std::size_t sortedPosition(const std::vector<ItemRecord>& records, std::size_t index)
{
    return positionAfterSort(records, index);
}

std::size_t sortedPosition(const std::vector<EnemyRecord>& records, std::size_t index)
{
    return positionAfterSort(records, index);
}

}  // namespace velmar
