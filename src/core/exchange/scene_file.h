#pragma once

#include <string>
#include <string_view>

#include "editor/document.h"
#include "exchange/scene_description.h"

// Scene files: one scene as JSON a person can read and edit by hand ("format": "velmar-scene",
// "version": 1). Byte values are hexadecimal digits in quotes, as the editor shows them; the map
// is six rows of metatile numbers as the map view shows them. The README's "Scene files" section
// describes every member.
namespace velmar {

inline constexpr std::string_view kSceneFileFormat = "velmar-scene";
inline constexpr int kSceneFileVersion = 1;
// The largest scene file is some 40 KB; the bound keeps a wrong file from being read whole.
inline constexpr std::uintmax_t kMaxSceneFileBytes = 4u << 20;

// The scene file of `d`, in its canonical layout (one map row, one enemy, one item a line).
std::string writeSceneFile(const SceneDescription& d);

// Reads a scene file. Every value is checked against what the game holds; the first wrong one
// refuses the file (BadFile) with where it is and why: "enemies[3].b: 300 is not 00 to FF".
// `out` is replaced only on success.
Outcome<SceneImportResult> readSceneFile(std::string_view text, SceneDescription& out);

// The scene file of the document's current scene; empty when no scene is shown.
std::string exportScene(const Document& doc);

// The scene file of scene `key` of an image, without a document: for exports of many scenes.
RomStatus exportScene(const Bytes& rom, const SceneKey& key, std::string& text);

// Reads a scene file and imports it into the document's current scene as one step (see
// importScene); a bad file is BadFile, and nothing changes.
Outcome<SceneImportResult> importSceneFile(Document& doc, std::string_view text, SharedValues shared);

}  // namespace velmar
