#pragma once

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"
#include "rom/address_map.h"
#include "rom/scene_codec.h"
#include "support/test_support.h"

// A hand-made image for the packer tests: 48 scenes whose maps and actor tables hold values that
// tell scene, screen and record apart.
namespace velmar::test {

struct PackLayout {
    std::array<int, rommap::kSceneCount> lengths{};  // screens minus one
    int mapGap = 5;                                  // spare bytes behind each map, so that a repack moves every one
    int actorFiller = 32;  // 0xFF bytes behind the actor tables, then 16 bytes of other data (0x5A)
};

// Scene i: length i % 4.
inline PackLayout defaultLayout()
{
    PackLayout layout;
    for (int i = 0; i < rommap::kSceneCount; ++i)
        layout.lengths[i] = i % 4;
    return layout;
}
// Scene i always has i % 4 items and 3i % 5 enemies: in all 72 items and 94 enemies.
constexpr RomOffset kDefaultActorBytes = 2 * 72 + 3 * 94;

// Maps in scene order, back to back: scenes 0-10 of 17 screens, scene 11 of `screens11`, 12-47 of
// `screensRest(i)`. Below the scene tables there is room for 192 screens (up to 0x23FF).
inline PackLayout packedLayout(int screens11, int (*screensRest)(int))
{
    PackLayout layout = defaultLayout();
    layout.mapGap = 0;
    for (int i = 0; i < rommap::kSceneCount; ++i)
        layout.lengths[i] = (i <= 10 ? 17 : i == 11 ? screens11 : screensRest(i)) - 1;
    return layout;
}

// Never 0xFF, so a screen a resize adds is told from an old one; 251 is prime, so no two screens
// of a scene are alike.
inline std::uint8_t mapByte(int scene, int index) { return static_cast<std::uint8_t>((scene * 17 + index) % 251); }

inline CpuAddress wordAt(const Bytes& rom, RomOffset at) { return rom[at] | rom[at + 1] << 8; }

// Maps in scene order, each followed by `mapGap` spare bytes; actor tables from 0x9B48, last scene
// first and each scene's five tables together, unlike the packer's order.
inline Bytes buildPackImage(const PackLayout& layout)
{
    using namespace rommap;
    Bytes rom(kImageSize, 0);
    RomOffset at = kMapAreaStart;
    for (int i = 0; i < kSceneCount; ++i) {
        const RomOffset size = (layout.lengths[i] + 1) * kScreenBytes;
        if (at < kMapAreaSecondStart && at + size > kMapAreaGapFirst)
            at = kMapAreaSecondStart;
        EXPECT_LE(at + size - 1, kMapAreaLast) << "fixture maps do not fit at scene " << i;
        rom[kDirectionLength + i] = static_cast<std::uint8_t>((i % 2 ? 0x80 : 0) | layout.lengths[i]);
        putWord(rom, kMapPointers + 2 * i, romOffsetToCpu(at));
        for (RomOffset k = 0; k < size; ++k)
            rom[at++] = mapByte(i, k);
        at += layout.mapGap;
    }

    at = kActorAreaStart;
    // The records of a table differ, and so do the tables of a scene.
    const auto table = [&](RomOffset pointers, int i, int t, int count) {
        putWord(rom, pointers + 2 * i, romOffsetToCpu(at));
        for (int k = 0; k < count; ++k)
            rom[at++] = static_cast<std::uint8_t>(i * 5 + t * 29 + k * 3);
    };
    for (int i = kSceneCount - 1; i >= 0; --i) {
        const int items = rom[kItemCounts + i] = static_cast<std::uint8_t>(i % 4);
        const int enemies = rom[kEnemyCounts + i] = static_cast<std::uint8_t>(3 * i % 5);
        table(kItemXPointers, i, 0, items);
        table(kItemYIdPointers, i, 1, items);
        table(kEnemyBPointers, i, 2, enemies);
        table(kEnemyXYPointers, i, 3, enemies);
        table(kEnemyIdPointers, i, 4, enemies);
    }
    std::fill_n(rom.begin() + at, layout.actorFiller, 0xFF);
    std::fill_n(rom.begin() + at + layout.actorFiller, 16, 0x5A);
    return rom;
}

// What the resize dialog runs: a map resize at the right or the left end, or a count resize.
enum class Op { MapRight, MapLeft, Items, Enemies };

inline Outcome<ResizeResult> resize(Op op, Bytes& rom, SceneRecord& scene, int size, RomOffset areaEnd)
{
    if (op == Op::Items)
        return resizeItems(rom, scene, size, areaEnd);
    if (op == Op::Enemies)
        return resizeEnemies(rom, scene, size, areaEnd);
    return resizeMap(rom, scene, size, op == Op::MapRight);
}

inline std::string resizeMessage(Op op, const Outcome<ResizeResult>& r)
{
    return op == Op::Items ? resizeItemsMessage(r) : op == Op::Enemies ? resizeEnemiesMessage(r) : resizeMapMessage(r);
}

// loadScene (stage scene % 22), failing the calling test when it cannot.
inline SceneRecord loadPackScene(const Bytes& rom, int scene)
{
    SceneRecord s;
    const RomStatus status = loadScene(rom, std::uint8_t(scene % rommap::kStageCount), std::uint8_t(scene), s);
    EXPECT_TRUE(status.ok()) << "scene " << scene << ": " << status.message();
    return s;
}

// Every scene but `edited` loads from `after` as from `before`, table addresses aside.
inline void expectOtherScenesUnchanged(const Bytes& before, const Bytes& after, int edited)
{
    const auto content = [](SceneRecord s) {
        s.mapAddress = s.itemXAddress = s.itemYIdAddress = s.enemyBAddress = s.enemyXYAddress = s.enemyIdAddress = 0;
        return s;
    };
    for (int i = 0; i < rommap::kSceneCount; ++i) {
        if (i != edited) {
            EXPECT_EQ(content(loadPackScene(after, i)), content(loadPackScene(before, i))) << "scene " << i;
        }
    }
}

// The image with the [first, end) ranges a change may touch blanked, to compare the rest.
inline Bytes outside(Bytes rom, const std::vector<std::pair<RomOffset, RomOffset>>& allowed)
{
    for (const auto& [first, end] : allowed)
        std::fill(rom.begin() + first, rom.begin() + end, 0);
    return rom;
}

}  // namespace velmar::test
