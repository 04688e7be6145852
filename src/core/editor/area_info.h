#pragma once

#include <string>

#include "editor/document.h"
#include "text/char_table.h"

namespace velmar {

// "Area Info": a read-only summary of the current scene, one fact a line: where it is in the
// game, its size and counts, the address of every table it uses, the bytes its map and actor
// tables take, and the room left in the packed map, actor and text areas. Empty without a scene.
std::string areaInfoText(const Document& doc, const CharTable& table);

}  // namespace velmar
