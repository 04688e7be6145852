#pragma once

#include <vector>

#include "rom/scene_record.h"

namespace velmar {

// Orders actor records by their first byte (x for items, b for enemies) with the game editor's
// comb sort; the three bytes of a record move together. Records already in order never move.
bool sortActorRecords(std::vector<ItemRecord>& records, bool ascending);
bool sortActorRecords(std::vector<EnemyRecord>& records, bool ascending);

// Where record `index` stands once the list is sorted ascending as the scene store sorts it:
// an edited actor stays selected although storing may move it in the list.
std::size_t sortedPosition(const std::vector<ItemRecord>& records, std::size_t index);
std::size_t sortedPosition(const std::vector<EnemyRecord>& records, std::size_t index);

}  // namespace velmar
