#include "actors/actor_sort.h"

#include <cmath>
#include <utility>

namespace velmar {

namespace {

std::uint8_t sortKey(const ItemRecord& r) { return r.x; }
std::uint8_t sortKey(const EnemyRecord& r) { return r.b; }

template <typename Record>
bool combSort(std::vector<Record>& records, bool ascending)
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
            const auto a = sortKey(records[static_cast<std::size_t>(i)]);
            const auto b = sortKey(records[static_cast<std::size_t>(i + gap)]);
            if (ascending ? a > b : a < b) {
                std::swap(records[static_cast<std::size_t>(i)], records[static_cast<std::size_t>(i + gap)]);
                ++swaps;
            }
        }
        if (gap == 1 && swaps == 0)
            return true;
    }
}

}  // namespace

bool sortActorRecords(std::vector<ItemRecord>& records, bool ascending)
{
    return combSort(records, ascending);
}

bool sortActorRecords(std::vector<EnemyRecord>& records, bool ascending)
{
    return combSort(records, ascending);
}

}  // namespace velmar
