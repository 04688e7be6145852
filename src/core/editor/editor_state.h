#pragma once

#include <string>
#include <vector>

#include "files/settings.h"
#include "gfx/pattern_tiles.h"
#include "rom/rom_file.h"
#include "rom/scene_record.h"
#include "text/char_table.h"

namespace velmar {

// Everything the editor works on, shared by every window: the open image, the scene being
// edited with its decoded banks and metatile tables, and the data files. One plain value, so the
// whole edited state can be compared, copied and restored as one.
struct EditorState {
    RomImage rom;                // romHeader, romData
    std::string romPath;         // UTF-8; empty until a file has been loaded
    Bytes savedRomData;          // romData as the file on disk holds it (last load or save)
    RomOffset actorAreaEnd = 0;  // room of the packed actor tables, measured at load
    RomOffset textAreaEnd = 0;   // room of the packed texts, measured at load

    SceneRecord currentScene;
    PixelArray bkgPatterns = PixelArray(1, 0);
    PixelArray sprPatterns = PixelArray(1, 0);
    MetatileTables metatiles;    // subtileDefs, metatileDefs of the current scene's tileset
    // Set from start-up until the first successful load: there is no scene to store yet.
    bool suppressSceneStore = true;

    Settings settings;
    std::vector<std::string> itemNames;
    std::vector<std::string> enemyNames;
    CharTable charTable;

    bool operator==(const EditorState&) const = default;
};

}  // namespace velmar
