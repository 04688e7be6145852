#pragma once

#include <vector>

#include "rom/scene_record.h"

namespace velmar {

// Orders actor records by their first byte (x for items, b for enemies) with the game editor's
// comb sort; the three bytes of a record move together. Records already in order never move.
bool sortActorRecords(std::vector<ItemRecord>& records, bool ascending);
bool sortActorRecords(std::vector<EnemyRecord>& records, bool ascending);

}  // namespace velmar
