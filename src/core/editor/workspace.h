#pragma once

#include <string>
#include <vector>

#include "files/settings.h"
#include "text/char_table.h"

namespace velmar {

// What the editor works with besides the open image: the settings and the data files read at
// start-up. It lives from start-up to exit; opening, editing and undoing never touch it.
struct Workspace {
    Settings settings;
    std::vector<std::string> itemNames;
    std::vector<std::string> enemyNames;
    CharTable charTable;

    bool operator==(const Workspace&) const = default;
};

}  // namespace velmar
