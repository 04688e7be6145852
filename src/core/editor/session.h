#pragma once

#include "editor/editor_state.h"
#include "rom/rom_file.h"

namespace velmar {

// Opens a ROM file. On success the image, its path (the drive retry may have changed it) and
// the measured table room replace the old ones and suppressSceneStore is set until the first
// scene is selected. On failure nothing in `state` changes: the image on screen stays bound to
// the file it came from.
RomReadResult openRom(EditorState& state, const std::string& path, bool checkDrive,
                      const std::vector<Volume>& volumes);

// Stores the current scene and its two banks into romData (sprite bank, then background bank),
// unless suppressSceneStore is set.
RomStatus storeCurrentScene(EditorState& state);

// Stores the scene being left, then decodes the chosen one with its banks and metatile tables
// and clears suppressSceneStore. When the chosen scene cannot be read, the old one stays current
// (already stored) and the reason comes back.
RomStatus selectScene(EditorState& state, std::uint8_t stage, std::uint8_t scene);

// Stores the current scene, then writes the image over romPath. 0 written, 1 any I/O error.
int saveRom(EditorState& state);

// The file bytes that saving now would write: the image with the current scene and banks stored.
Bytes imageWithCurrentScene(const EditorState& state);

// True when saving would change the file: edits of the current scene count too.
bool hasUnsavedChanges(const EditorState& state);

}  // namespace velmar
