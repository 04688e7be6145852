#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmar {

// One node of the area tree: an act ("act01", root) or a scene ("c:AASSCC": act, stage and
// scene in hexadecimal). `parent` is the index of the act node, -1 for an act.
struct AreaNode {
    std::string_view key;
    std::string_view caption;
    int parent;
};

// The 38 nodes in the order the tree adds them: 6 acts and their 32 scenes in 22 stages.
std::span<const AreaNode> areaCatalogue();

struct SceneKey {
    std::uint8_t act = 0;
    std::uint8_t stage = 0;
    std::uint8_t scene = 0;

    bool operator==(const SceneKey&) const = default;
};

// The tree key of a scene: "c:" and act, stage and scene as two hexadecimal digits each.
std::string sceneKeyText(const SceneKey& key);

// A scene as the tree tells it apart from the other scenes of its stage, which share its caption:
// "Stage 2-1, scene 02 (1 of 4)", or "Stage 1-1, scene 00" for a stage of one scene. Empty for a
// key the tree does not list.
std::string sceneTitle(const SceneKey& key);

// True when the key names a scene (it contains "c:"); act nodes and anything else do nothing.
bool isSceneKey(std::string_view key);

// True when `key` is, character for character, the key of one of the catalogue's scenes.
bool isCatalogueScene(std::string_view key);

// Reads the stage (characters 5-6) and scene (characters 7-8) of a scene key as hexadecimal.
// nullopt unless the key is "c:" followed by six hexadecimal digits.
std::optional<SceneKey> parseSceneKey(std::string_view key);

}  // namespace velmar
