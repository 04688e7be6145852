#include "editor/scene_properties.h"

#include <algorithm>
#include <string_view>

#include "base/hex.h"
#include "rom/address_map.h"

namespace velmar {

namespace {

using P = SceneProperty;
using S = Sharing;

constexpr std::array<const char*, 2> kNumber{nullptr, nullptr};
constexpr Parts kBank = part::Properties | part::Patterns;
constexpr Parts kSelector = part::Properties | part::Palette;
constexpr auto kBkgBankMax = static_cast<std::uint8_t>(rommap::kPatternBankCount - 1);

// A byte holds more than the image keeps: sprBank has four bits, and the BKG byte holds the bank
// times 8. Palette selectors 0 and 1 of the sprites and 0 of the background are the game's;
// selectors 2 and 3 of the sprites are the scene's, the others the stage's.
constexpr std::array<ScenePropertyRow, kScenePropertyCount> kRows{{
    {P::Direction,
     "direction",
     "Change Direction",
     part::Properties,
     0x80,
     {"left to right", "right to left"},
     S::Scene,
     "direction",
     "direction",
     -1,
     "direction",
     -1,
     &SceneRecord::direction,
     -1},
    {P::SprBank, "SPR bank", "Edit SPR Bank", kBank, 0x0F, kNumber, S::Scene, "spr-bank", "sprBank", -1, "sprBank", -1,
     &SceneRecord::sprBank, -1},
    {P::SprPalette0, "SPR palette 0", "Edit Palette Selector", kSelector, 0xFF, kNumber, S::Game, "spr-palette-0",
     "palSelectors", 4, "sprPalettes", 0, nullptr, 4},
    {P::SprPalette1, "SPR palette 1", "Edit Palette Selector", kSelector, 0xFF, kNumber, S::Game, "spr-palette-1",
     "palSelectors", 5, "sprPalettes", 1, nullptr, 5},
    {P::SprPalette2, "SPR palette 2", "Edit Palette Selector", kSelector, 0xFF, kNumber, S::Scene, "spr-palette-2",
     "palSelectors", 6, "sprPalettes", 2, nullptr, 6},
    {P::SprPalette3, "SPR palette 3", "Edit Palette Selector", kSelector, 0xFF, kNumber, S::Scene, "spr-palette-3",
     "palSelectors", 7, "sprPalettes", 3, nullptr, 7},
    {P::BkgBank, "BKG bank", "Edit BKG Bank", kBank, kBkgBankMax, kNumber, S::Stage, "bkg-bank", "bkgBank", -1,
     "stage.bkgBank", -1, &SceneRecord::bkgBank, -1},
    {P::Time, "time", "Edit Time Limit", part::Properties, 0xFF, kNumber, S::Stage, "time", "time", -1, "stage.time",
     -1, &SceneRecord::time, -1},
    {P::Indicator, "indicator", "Edit Stage Indicator", part::Properties, 0xFF, kNumber, S::Stage, "indicator",
     "indicator", -1, "stage.indicator", -1, &SceneRecord::indicator, -1},
    {P::Reload, "reload", "Edit Gameover Reload", part::Properties, 0xFF, kNumber, S::Stage, "reload", "reload", -1,
     "stage.reload", -1, &SceneRecord::reload, -1},
    {P::BkgPalette0, "BKG palette 0", "Edit Palette Selector", kSelector, 0xFF, kNumber, S::Game, "bkg-palette-0",
     "palSelectors", 0, "stage.bkgPalettes", 0, nullptr, 0},
    {P::BkgPalette1, "BKG palette 1", "Edit Palette Selector", kSelector, 0xFF, kNumber, S::Stage, "bkg-palette-1",
     "palSelectors", 1, "stage.bkgPalettes", 1, nullptr, 1},
    {P::BkgPalette2, "BKG palette 2", "Edit Palette Selector", kSelector, 0xFF, kNumber, S::Stage, "bkg-palette-2",
     "palSelectors", 2, "stage.bkgPalettes", 2, nullptr, 2},
    {P::BkgPalette3, "BKG palette 3", "Edit Palette Selector", kSelector, 0xFF, kNumber, S::Stage, "bkg-palette-3",
     "palSelectors", 3, "stage.bkgPalettes", 3, nullptr, 3},
}};

// Every row stands at the place of its property, so that a property is its row's index; the
// places of a list follow one another in order, as the files write them; a row lives in the
// record in one way.
constexpr bool rowsInOrder()
{
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const ScenePropertyRow& r = kRows[i];
        if (static_cast<std::size_t>(r.property) != i || (r.member == nullptr) != (r.selector >= 0))
            return false;
        if (r.fileElement > 0
            && (i == 0 || std::string_view(kRows[i - 1].fileKey) != r.fileKey
                || kRows[i - 1].fileElement != r.fileElement - 1))
            return false;
    }
    return true;
}
static_assert(rowsInOrder(), "a row out of its place, or kept in the record in two ways");

}  // namespace

const std::array<ScenePropertyRow, kScenePropertyCount>& scenePropertyRows() { return kRows; }

const ScenePropertyRow& sceneProperty(SceneProperty property) { return kRows[static_cast<std::size_t>(property)]; }

const ScenePropertyRow* scenePropertyByCliName(std::string_view name)
{
    const auto it =
        std::find_if(kRows.begin(), kRows.end(), [&](const ScenePropertyRow& r) { return r.cliName == name; });
    return it == kRows.end() ? nullptr : &*it;
}

SceneProperty paletteSelectorProperty(int selector)
{
    return selector < 4 ? static_cast<SceneProperty>(static_cast<int>(SceneProperty::BkgPalette0) + (selector & 3))
                        : static_cast<SceneProperty>(static_cast<int>(SceneProperty::SprPalette0) + (selector & 3));
}

std::uint8_t propertyValue(const SceneRecord& scene, const ScenePropertyRow& row)
{
    return row.member ? scene.*row.member : scene.palSelectors[static_cast<std::size_t>(row.selector)];
}

void setPropertyValue(SceneRecord& scene, const ScenePropertyRow& row, std::uint8_t value)
{
    (row.member ? scene.*row.member : scene.palSelectors[static_cast<std::size_t>(row.selector)]) = value;
}

std::optional<std::string> propertyValueRefusal(const ScenePropertyRow& row, std::uint8_t value)
{
    if (row.words[0] && value != 0 && value != row.max)
        return "The " + std::string(row.label) + " is 00 or " + hexPad(row.max, 2) + ".";
    if (value > row.max)
        return "The " + std::string(row.label) + " must be 00 to " + hexPad(row.max, 2) + ".";
    return std::nullopt;
}

std::string propertyText(const ScenePropertyRow& row, std::uint8_t value)
{
    if (row.words[0])
        return row.words[value ? 1 : 0];
    return hexPad(value, row.max <= 0x0F ? 1 : 2);
}

ScenePropertyValues propertyValues(const SceneRecord& scene)
{
    ScenePropertyValues values{};
    for (std::size_t i = 0; i < kRows.size(); ++i)
        values[i] = propertyValue(scene, kRows[i]);
    return values;
}

}  // namespace velmar
