#include "core/expansion/pack_fixture.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "rom/scene_codec.h"

namespace velmar::test {

using namespace rommap;

PackLayout defaultLayout()
{
    PackLayout layout;
    for (std::size_t i = 0; i < kSceneCount; ++i) {
        layout.lengths[i] = static_cast<int>(i % 4);
        layout.itemCounts[i] = static_cast<int>(i % 4);
        layout.enemyCounts[i] = static_cast<int>(3 * i % 5);
    }
    return layout;
}

int actorBytes(const PackLayout& layout)
{
    int total = 0;
    for (std::size_t i = 0; i < kSceneCount; ++i)
        total += 2 * layout.itemCounts[i] + 3 * layout.enemyCounts[i];
    return total;
}

// Never 0xFF, so a screen a resize adds is told from an old one; 251 is prime, so no two screens
// of a scene are alike.
std::uint8_t mapByte(int scene, int index) { return static_cast<std::uint8_t>((scene * 17 + index) % 251); }

ItemRecord fixtureItem(int scene, int k)
{
    return {static_cast<std::uint8_t>(scene * 13 + k * 3), static_cast<std::uint8_t>(((scene + k) % 16) << 4),
            static_cast<std::uint8_t>((scene + 2 * k) % 16)};
}

EnemyRecord fixtureEnemy(int scene, int k)
{
    return {static_cast<std::uint8_t>(scene * 7 + k), static_cast<std::uint8_t>(scene * 5 + k * 11),
            static_cast<std::uint8_t>(scene + 3 * k)};
}

void putWord(Bytes& rom, RomOffset at, CpuAddress value)
{
    rom[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value & 0xFF);
    rom[static_cast<std::size_t>(at) + 1] = static_cast<std::uint8_t>(value >> 8);
}

CpuAddress wordAt(const Bytes& rom, RomOffset at)
{
    return rom[static_cast<std::size_t>(at)] | (rom[static_cast<std::size_t>(at) + 1] << 8);
}

Bytes buildPackImage(const PackLayout& layout)
{
    Bytes rom(kImageSize, 0);
    RomOffset at = kMapAreaStart;
    for (int n = 0; n < kSceneCount; ++n) {
        const int i = layout.mapsReversed ? kSceneCount - 1 - n : n;
        const int length = layout.lengths[static_cast<std::size_t>(i)];
        const RomOffset size = (length + 1) * kScreenBytes;
        if (at < kMapAreaSecondStart && at + size > kMapAreaGapFirst)
            at = kMapAreaSecondStart;
        if (at + size - 1 > kMapAreaLast) {
            ADD_FAILURE() << "fixture maps do not fit at scene " << i;
            return rom;
        }
        rom[static_cast<std::size_t>(kDirectionLength + i)] = static_cast<std::uint8_t>((i % 2 ? 0x80 : 0) | length);
        putWord(rom, kMapPointers + 2 * i, romOffsetToCpu(at));
        for (RomOffset k = 0; k < size; ++k)
            rom[static_cast<std::size_t>(at++)] = mapByte(i, k);
        at += layout.mapGap;
    }

    at = kActorAreaStart;
    const auto table = [&](RomOffset pointers, int scene, int count, auto value) {
        putWord(rom, pointers + 2 * scene, romOffsetToCpu(at));
        for (int k = 0; k < count; ++k)
            rom[static_cast<std::size_t>(at++)] = value(k);
    };
    for (int i = kSceneCount - 1; i >= 0; --i) {
        const int items = layout.itemCounts[static_cast<std::size_t>(i)];
        const int enemies = layout.enemyCounts[static_cast<std::size_t>(i)];
        rom[static_cast<std::size_t>(kItemCounts + i)] = static_cast<std::uint8_t>(items);
        rom[static_cast<std::size_t>(kEnemyCounts + i)] = static_cast<std::uint8_t>(enemies);
        table(kItemXPointers, i, items, [i](int k) { return fixtureItem(i, k).x; });
        table(kItemYIdPointers, i, items, [i](int k) { return static_cast<std::uint8_t>(fixtureItem(i, k).y | fixtureItem(i, k).id); });
        table(kEnemyBPointers, i, enemies, [i](int k) { return fixtureEnemy(i, k).b; });
        table(kEnemyXYPointers, i, enemies, [i](int k) { return fixtureEnemy(i, k).xy; });
        table(kEnemyIdPointers, i, enemies, [i](int k) { return fixtureEnemy(i, k).id; });
    }
    std::fill_n(rom.begin() + at, layout.actorFiller, 0xFF);
    std::fill_n(rom.begin() + at + layout.actorFiller, 16, 0x5A);
    return rom;
}

SceneRecord loadPackScene(const Bytes& rom, int scene)
{
    SceneRecord s;
    const RomStatus status = loadScene(rom, static_cast<std::uint8_t>(scene % kStageCount),
                                       static_cast<std::uint8_t>(scene), s);
    EXPECT_TRUE(status.ok()) << "scene " << scene << ": " << status.message();
    return s;
}

void expectOtherScenesUnchanged(const Bytes& before, const Bytes& after, int edited)
{
    const auto content = [](SceneRecord s) {
        s.mapAddress = s.itemXAddress = s.itemYIdAddress = s.enemyBAddress = s.enemyXYAddress = s.enemyIdAddress = 0;
        return s;
    };
    for (int i = 0; i < kSceneCount; ++i) {
        if (i != edited) {
            EXPECT_EQ(content(loadPackScene(after, i)), content(loadPackScene(before, i))) << "scene " << i;
        }
    }
}

void expectSameOutside(const Bytes& before, const Bytes& after, const Ranges& allowed)
{
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        const auto at = static_cast<RomOffset>(i);
        const bool free = std::any_of(allowed.begin(), allowed.end(),
                                      [at](const auto& r) { return at >= r.first && at < r.second; });
        if (!free && before[i] != after[i]) {
            ADD_FAILURE() << "byte at 0x" << std::hex << at << " changed";
            return;
        }
    }
}

}  // namespace velmar::test
