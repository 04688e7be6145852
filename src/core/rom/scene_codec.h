#pragma once

#include <string>

#include "rom/address_map.h"
#include "rom/rom_access.h"
#include "rom/scene_record.h"

namespace velmar {

// Decodes scene `scene` of stage `stage`. `out` is replaced only on success; a bad actor pointer,
// a table outside romData or outside its area, or an actor table lying over another scene's
// (other than the very list that scene reads too) stops the load with the reason: storing such
// a scene would write into other data, or into another scene's actors.
RomStatus loadScene(const Bytes& rom, std::uint8_t stage, std::uint8_t scene, SceneRecord& out);

// Writes the record back. The actor lists are sorted first (items by x, enemies by b) and come
// back sorted. Every write is checked before any is made: on failure romData is unchanged.
RomStatus storeScene(Bytes& rom, SceneRecord& scene);

// Fills the 32 palette colours from the selectors. With `readSelectors` the eight selectors are
// first read from their tables; without, the record's own selectors are used (after an edit).
// Colour 0 of every sub-palette is the scene's shared background colour.
void loadScenePalettes(RomReader& reader, SceneRecord& scene, bool readSelectors);
RomStatus loadScenePalettes(const Bytes& rom, SceneRecord& scene, bool readSelectors);

// The palettes a selector picks from: the triples that fit before the next table.
constexpr int kSelectablePalettes = (rommap::kSprPalettes - rommap::kBkgPalettes) / 3;  // 85

// What selector k (0-3 background, 4-7 sprite) of value `selector` gives the scene, in one line:
// colours 1-3 come from its table (0x3000 or 0x3100) + 3 x selector. The 85 triples that fit
// before the next table are its palettes, 00-54; a higher selector reads other bytes as colours
// (the sprite palettes, the shared colours, or what lies behind them), as the game does:
// "BKG palette 1 = FF: past the background palettes (00-54); its colours are read from ...".
std::string paletteSelectorMeaning(int k, std::uint8_t selector);

// Records the selectors and colours 1-3 of every sub-palette, in sub-palette order, so that of
// two sub-palettes sharing a selector the later one's colours win. Colour 0 is not written.
void storeScenePalettes(RomWriter& writer, const SceneRecord& scene);

// Reads the five actor table addresses, the two counts and the lists.
void loadSceneActors(RomReader& reader, SceneRecord& scene);
RomStatus loadSceneActors(const Bytes& rom, SceneRecord& scene);

// Sorts the lists and records counts and lists at the table addresses found at load time.
void storeSceneActors(RomWriter& writer, SceneRecord& scene);

// Reads the subtile and metatile definitions that the scene's tileset selects.
RomStatus loadMetatileTables(const Bytes& rom, const SceneRecord& scene, MetatileTables& out);
// Writes the tables back where loadMetatileTables read them (by the scene's tileset), so that
// subtile, metatile and attribute edits are kept; unedited tables write the same bytes.
RomStatus storeMetatileTables(Bytes& rom, const SceneRecord& scene, const MetatileTables& tables);

// The romData offset of a bank-1 table from its CPU address (subtile, metatile, attribute).
constexpr RomOffset metatileTableOffset(CpuAddress address)
{
    return rommap::bankOffset(address, rommap::kMetatileBank);
}
// The romData offset of the scene's map: always bank 0, whatever the pointer's bank bits say.
constexpr RomOffset mapOffset(CpuAddress mapAddress) { return rommap::bankOffset(mapAddress, rommap::kSceneBank); }

}  // namespace velmar
