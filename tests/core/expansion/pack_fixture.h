#pragma once

#include <array>
#include <utility>
#include <vector>

#include "rom/address_map.h"
#include "rom/scene_record.h"

// A hand-made image for the packer tests: 48 scenes whose maps and actor tables hold values that
// tell scene, screen and record apart.
namespace velmar::test {

struct PackLayout {
    std::array<int, rommap::kSceneCount> lengths{};  // screens minus one
    std::array<int, rommap::kSceneCount> itemCounts{};
    std::array<int, rommap::kSceneCount> enemyCounts{};
    // Maps in reverse scene order with spare bytes between, so a repack moves every one; or in
    // scene order, back to back.
    bool mapsReversed = true;
    int mapGap = 5;
    // 0xFF bytes behind the actor tables (each scene's five together, last scene first), then
    // 16 bytes of other data (0x5A).
    int actorFiller = 32;
};

// lengths i % 4, items i % 4, enemies 3i % 5.
PackLayout defaultLayout();
// The bytes the actor tables take.
int actorBytes(const PackLayout& layout);

std::uint8_t mapByte(int scene, int index);
ItemRecord fixtureItem(int scene, int k);
EnemyRecord fixtureEnemy(int scene, int k);

Bytes buildPackImage(const PackLayout& layout);
void putWord(Bytes& rom, RomOffset at, CpuAddress value);
CpuAddress wordAt(const Bytes& rom, RomOffset at);

// loadScene (stage scene % 22), failing the calling test when it cannot.
SceneRecord loadPackScene(const Bytes& rom, int scene);

// Every scene but `edited` (-1: none) loads from `after` as from `before`, table addresses aside.
void expectOtherScenesUnchanged(const Bytes& before, const Bytes& after, int edited);

// Fails the calling test for the first byte outside the [first, end) ranges that differs.
using Ranges = std::vector<std::pair<RomOffset, RomOffset>>;
void expectSameOutside(const Bytes& before, const Bytes& after, const Ranges& allowed);

}  // namespace velmar::test
