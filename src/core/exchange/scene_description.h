#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/document.h"
#include "editor/scene_properties.h"
#include "rom/scene_record.h"

// A scene as it leaves the program for a file (a scene file, a Tiled map) and comes back: what a
// user edits of one scene, apart from where the image keeps it. Every way in goes through
// importScene, which changes the document by its packers and its edit history only.
namespace velmar {

struct SceneDescription {
    std::uint8_t length = 0;  // screens minus one, 00-10
    // (length + 1) screens of 48 metatile numbers in the image's order: screen * 48 + column * 6
    // + row.
    Bytes map;
    std::uint8_t startX = 0;
    std::uint8_t startY = 0;
    std::vector<EnemyRecord> enemies;  // in the order given; the image keeps them sorted by b
    std::vector<ItemRecord> items;     // item y is the row times 16 (low nibble 0), type 0-F
    // The properties of the scene and of what it shares (editor/scene_properties.h), by row.
    ScenePropertyValues properties{};

    std::uint8_t& property(SceneProperty p) { return properties[static_cast<std::size_t>(p)]; }
    std::uint8_t property(SceneProperty p) const { return properties[static_cast<std::size_t>(p)]; }

    bool operator==(const SceneDescription&) const = default;
};

// The current values of a decoded scene.
SceneDescription describeScene(const SceneRecord& scene);

// The description with its actor lists in the order the image stores them (sorted as the scene
// store sorts): what describing the scene gives back after importing `d`.
SceneDescription canonicalScene(SceneDescription d);

// The values of `d` that other scenes share and that differ from the scene's, one line each:
// "stage time: 99 here, 60 in the file", "SPR palette 0 (every stage): ...". Empty when they
// agree.
std::vector<std::string> sharedDifferences(const SceneRecord& scene, const SceneDescription& d);

// What importScene does with values other scenes share when they differ from the scene's.
enum class SharedValues {
    Refuse,  // nothing changes; the result says which differ (so the caller can ask)
    Keep,    // the scene's own values are imported, the shared ones stay as they are
    Change,  // the shared ones change too, for every scene that shares them
};

enum class [[nodiscard]] SceneImportResult : std::int16_t{
    Imported = 0,      // one step of the history ("Import Scene")
    NoChange = 1,      // the scene already holds what the description says
    SharedDiffer = 2,  // SharedValues::Refuse and shared values differ; nothing changed
    Refused = 3,       // no scene shown, a value the game cannot hold, or no room for the map or
                       // the actors in the image; nothing changed, the reason says which
    BadFile = 4,       // the file is not one this program reads; the reason says where it is wrong
};

// Makes the document's current scene what `d` says, as one step named `stepName`: the map is
// resized and every scene's maps repacked when the length differs, the actor tables repacked when
// a count differs, then the map, the actors and the properties are set and the scene stored.
Outcome<SceneImportResult> importScene(Document& doc, const SceneDescription& d, SharedValues shared,
                                       const std::string& stepName = "Import Scene");

}  // namespace velmar
