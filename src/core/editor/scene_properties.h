#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/edit_history.h"
#include "rom/scene_record.h"

// The one-byte properties of a scene and its stage, one row each: what the properties panel,
// velmar-cli set-property and scene, the scene files, the Tiled maps and the folder's scenes know
// of them. A new property is its record field and codec, a row here and the panel's box.
namespace velmar {

enum class SceneProperty : std::uint8_t {
    Direction,
    SprBank,
    SprPalette0,
    SprPalette1,
    SprPalette2,
    SprPalette3,
    BkgBank,
    Time,
    Indicator,
    Reload,
    BkgPalette0,
    BkgPalette1,
    BkgPalette2,
    BkgPalette3,
};
inline constexpr std::size_t kScenePropertyCount = 14;

// Who else sees a property's value once stored.
enum class Sharing : std::uint8_t {
    Scene,  // the scene's own
    Stage,  // every scene of the stage
    Game,   // every scene of every stage
};

struct ScenePropertyRow {
    SceneProperty property;
    const char* label;     // what messages call it: "time", "BKG bank", "SPR palette 2"
    const char* stepName;  // the history's step: "Edit Time Limit"
    Parts parts;           // what a change touches besides the value (a bank's tiles, the colours)
    std::uint8_t max;      // the largest value the image holds
    // For a value of two states: the word for 0 and the word for any other (stored as `max`);
    // null for a number.
    std::array<const char*, 2> words;
    Sharing sharing;
    const char* cliName;  // velmar-cli set-property NAME
    // velmar-cli scene's member, and for a member that is a list the place in it (else -1).
    const char* outputKey;
    int outputElement;
    // The scene file's and the Tiled map's name: "stage.time" is member "time" of the scene
    // file's object "stage"; for a list, the place in it (else -1).
    const char* fileKey;
    int fileElement;
    // Where the record keeps it: a member, or with `selector` >= 0 that palette selector.
    std::uint8_t SceneRecord::*member;
    int selector;
};

const std::array<ScenePropertyRow, kScenePropertyCount>& scenePropertyRows();
const ScenePropertyRow& sceneProperty(SceneProperty property);
// The row of a velmar-cli name; nullptr for none.
const ScenePropertyRow* scenePropertyByCliName(std::string_view name);

// The background (0-3) and sprite (4-7) palette selectors in the record's order.
SceneProperty paletteSelectorProperty(int selector);

std::uint8_t propertyValue(const SceneRecord& scene, const ScenePropertyRow& row);
void setPropertyValue(SceneRecord& scene, const ScenePropertyRow& row, std::uint8_t value);

// Why the image cannot hold `value` ("The SPR bank must be 00 to 0F."), or nullopt. A property of
// two words takes 0 and `max` only.
std::optional<std::string> propertyValueRefusal(const ScenePropertyRow& row, std::uint8_t value);

// The value as a file writes it: the word, or hexadecimal digits (one for a value up to F, two
// otherwise).
std::string propertyText(const ScenePropertyRow& row, std::uint8_t value);

// The values of every property, in the rows' order: a scene's as a file carries them.
using ScenePropertyValues = std::array<std::uint8_t, kScenePropertyCount>;
ScenePropertyValues propertyValues(const SceneRecord& scene);

}  // namespace velmar
