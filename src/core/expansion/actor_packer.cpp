#include "expansion/actor_packer.h"

#include <algorithm>
#include <array>

#include "rom/address_map.h"
#include "base/hex.h"
#include "rom/rom_access.h"
#include "rom/scene_codec.h"

namespace velmar {

using namespace rommap;

namespace {

constexpr RomOffset kActorBase = bankStart(kActorBank);
// The tables are reached through the switchable window, so they cannot pass the end of bank 2.
constexpr RomOffset kActorBankEnd = bankStart(kActorBank + 1);
constexpr int kMaxCount = 255;

template <typename Record>
Outcome<ResizeResult> resizeActorList(Bytes& rom, SceneRecord& scene, int newCount, RomOffset areaEnd,
                                      std::vector<Record> SceneRecord::*list, std::uint8_t SceneRecord::*count,
                                      const Record& fresh)
{
    if (newCount < 0 || newCount > kMaxCount)
        return {ResizeResult::InvalidSize, "Invalid count! (max=$" + hexPad(kMaxCount, 2) + ")"};
    if (newCount == scene.*count)
        return {ResizeResult::Unchanged, {}};
    SceneRecord work = scene;
    (work.*list).resize(static_cast<std::size_t>(newCount), fresh);
    return replaceActors(rom, scene, std::move(work.items), std::move(work.enemies), areaEnd);
}

}  // namespace

RomStatus gatherActors(const Bytes& rom, const SceneRecord& scene, ActorTable& table)
{
    if (scene.scene >= kSceneCount)
        return RomStatus::badData(kItemCounts + scene.scene, "Scene number out of range");
    if (scene.items.size() != scene.itemCount)
        return RomStatus::badData(kItemCounts + scene.scene, "Item count does not match the item list");
    if (scene.enemies.size() != scene.enemyCount)
        return RomStatus::badData(kEnemyCounts + scene.scene, "Enemy count does not match the enemy list");

    RomReader reader(rom);
    for (int i = 0; i < kSceneCount; ++i) {
        ActorLists& lists = table[static_cast<std::size_t>(i)];
        if (i == scene.scene) {
            lists = {scene.items, scene.enemies};
            continue;
        }
        SceneRecord other;
        other.scene = static_cast<std::uint8_t>(i);
        loadSceneActors(reader, other);
        if (!reader.ok())
            return reader.status();
        lists = {std::move(other.items), std::move(other.enemies)};
    }
    return {};
}

RomOffset actorAreaEnd(const Bytes& rom)
{
    const RomReader reader(rom);
    const RomOffset limit = std::min(kActorBankEnd, static_cast<RomOffset>(rom.size()));
    RomOffset end = kActorAreaStart;
    const auto count = [&reader](RomOffset at) -> int { return reader.peek(at).value_or(0); };

    struct Table {
        RomOffset pointers;
        RomOffset counts;
    };
    constexpr std::array<Table, 5> tables{{{kItemXPointers, kItemCounts},
                                           {kItemYIdPointers, kItemCounts},
                                           {kEnemyBPointers, kEnemyCounts},
                                           {kEnemyXYPointers, kEnemyCounts},
                                           {kEnemyIdPointers, kEnemyCounts}}};
    for (int i = 0; i < kSceneCount; ++i) {
        for (const Table& t : tables) {
            const int n = count(t.counts + i);
            // An empty table takes no space, whatever its pointer says; a table elsewhere (before
            // the packing area, or in the fixed bank) is not part of it.
            const auto at = readPointer(rom, t.pointers + 2 * i, true, 0x3FFF, kActorBase);
            if (n == 0 || !at || *at < kActorAreaStart || *at + n > limit)
                continue;
            end = std::max(end, *at + n);
        }
    }
    // Unused bytes behind the tables are 0xFF; they belong to the packing area too, which is
    // also how space freed by an earlier shrink is found again.
    while (end < limit && reader.peek(end) == 0xFF)
        ++end;
    return std::min(end, limit);
}

Outcome<ResizeResult> repackActors(Bytes& rom, const SceneRecord& scene, RomOffset areaEnd)
{
    ActorTable table;
    if (RomStatus status = gatherActors(rom, scene, table); !status.ok())
        return {ResizeResult::BadData, status.message()};
    return packActors(rom, table, areaEnd);
}

Outcome<ResizeResult> packActors(Bytes& rom, const ActorTable& table, RomOffset areaEnd)
{
    // A count is one byte.
    constexpr auto kMaxList = static_cast<std::size_t>(kMaxCount);
    for (int i = 0; i < kSceneCount; ++i) {
        const ActorLists& lists = table[static_cast<std::size_t>(i)];
        RomStatus status;
        if (lists.items.size() > kMaxList)
            status = RomStatus::badData(kItemCounts + i, "Too many items for a count");
        else if (lists.enemies.size() > kMaxList)
            status = RomStatus::badData(kEnemyCounts + i, "Too many enemies for a count");
        if (!status.ok())
            return {ResizeResult::BadData, status.message()};
    }

    std::size_t total = 0;
    for (const ActorLists& lists : table)
        total += 2 * lists.items.size() + 3 * lists.enemies.size();
    const RomOffset limit = std::min(areaEnd, kActorBankEnd);
    const RomOffset end = kActorAreaStart + static_cast<RomOffset>(total);
    if (end > limit)
        return {ResizeResult::NoSpace, "Actor data exceeds available space!"};

    // The whole area is built in one buffer: every scene's item tables (X bytes, then Y/ID
    // bytes), then every scene's enemy tables (B, position, ID bytes), lists in their order.
    Bytes packed;
    packed.reserve(total);
    RomWriter writer(rom);
    CpuAddress a = kActorAreaCpu;
    for (int i = 0; i < kSceneCount; ++i) {
        const auto& items = table[static_cast<std::size_t>(i)].items;
        const auto c = static_cast<CpuAddress>(items.size());
        writer.word(kItemXPointers + 2 * i, static_cast<std::uint16_t>(a));
        writer.word(kItemYIdPointers + 2 * i, static_cast<std::uint16_t>(a + c));
        writer.byte(kItemCounts + i, static_cast<std::uint8_t>(c));
        for (const ItemRecord& item : items)
            packed.push_back(item.x);
        for (const ItemRecord& item : items)
            packed.push_back(static_cast<std::uint8_t>(item.id | item.y));
        a += 2 * c;
    }
    for (int i = 0; i < kSceneCount; ++i) {
        const auto& enemies = table[static_cast<std::size_t>(i)].enemies;
        const auto c = static_cast<CpuAddress>(enemies.size());
        writer.word(kEnemyBPointers + 2 * i, static_cast<std::uint16_t>(a));
        writer.word(kEnemyXYPointers + 2 * i, static_cast<std::uint16_t>(a + c));
        writer.word(kEnemyIdPointers + 2 * i, static_cast<std::uint16_t>(a + 2 * c));
        writer.byte(kEnemyCounts + i, static_cast<std::uint8_t>(c));
        for (const EnemyRecord& enemy : enemies)
            packed.push_back(enemy.b);
        for (const EnemyRecord& enemy : enemies)
            packed.push_back(enemy.xy);
        for (const EnemyRecord& enemy : enemies)
            packed.push_back(enemy.id);
        a += 3 * c;
    }
    writer.bytes(bankOffset(kActorAreaCpu, kActorBank), packed);
    // Filler over the space a shrink gives back, so that actorAreaEnd finds the same end again.
    if (end < limit)
        writer.fill(end, static_cast<std::size_t>(limit - end), 0xFF);

    if (RomStatus status = writer.commit(); !status.ok())
        return {ResizeResult::BadData, status.message()};
    return {};
}

Outcome<ResizeResult> replaceActors(Bytes& rom, SceneRecord& scene, std::vector<ItemRecord> items,
                                    std::vector<EnemyRecord> enemies, RomOffset areaEnd)
{
    if (items.size() > static_cast<std::size_t>(kMaxCount) || enemies.size() > static_cast<std::size_t>(kMaxCount))
        return {ResizeResult::InvalidSize, "A scene holds at most FF enemies and FF items."};
    SceneRecord work = scene;
    work.items = std::move(items);
    work.enemies = std::move(enemies);
    work.itemCount = static_cast<std::uint8_t>(work.items.size());
    work.enemyCount = static_cast<std::uint8_t>(work.enemies.size());
    Outcome<ResizeResult> result = repackActors(rom, work, areaEnd);
    if (!result.ok())
        return result;

    // Picks up the scene's new table addresses. The tables were just written inside the image
    // through valid pointers, so this read cannot fail; should it, the reason is still reported.
    if (RomStatus status = loadSceneActors(rom, work); !status.ok())
        return {ResizeResult::BadData, status.message()};
    scene = std::move(work);
    return result;
}

Outcome<ResizeResult> resizeItems(Bytes& rom, SceneRecord& scene, int newCount, RomOffset areaEnd)
{
    return resizeActorList(rom, scene, newCount, areaEnd, &SceneRecord::items, &SceneRecord::itemCount, kNewItem);
}

Outcome<ResizeResult> resizeEnemies(Bytes& rom, SceneRecord& scene, int newCount, RomOffset areaEnd)
{
    return resizeActorList(rom, scene, newCount, areaEnd, &SceneRecord::enemies, &SceneRecord::enemyCount, kNewEnemy);
}

std::string resizeItemsMessage(const Outcome<ResizeResult>& result)
{
    return result.ok() ? "Item count changed successfully!" : result.reason;
}

std::string resizeEnemiesMessage(const Outcome<ResizeResult>& result)
{
    return result.ok() ? "Enemy count changed successfully!" : result.reason;
}

}  // namespace velmar
