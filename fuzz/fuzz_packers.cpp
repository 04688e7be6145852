// libFuzzer target: the map and actor packers, and the resizes the editor makes with them, over
// the sample image with a few bytes of the map and actor tables replaced.
//
// One operation per input: resizeMap, resizeItems or resizeEnemies of one scene to a size from
// the input (some of them out of range), or packMaps / packActors of every scene's decoded data
// with a few entries changed (wrong sizes, too many records).
//
// Promises checked:
//  - an operation that refuses changes neither the image nor the scene record;
//  - after one that succeeds, every scene that decoded before still decodes, to the same map,
//    length, direction and actor lists as before; the resized scene (or every scene, after a
//    pack) to what was asked for.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"
#include "fuzz_support.h"
#include "rom/address_map.h"
#include "rom/rom_access.h"
#include "rom/scene_codec.h"

namespace {

using namespace velmar;
using rommap::kSceneCount;
using velmar::fuzz::Region;

constexpr std::array<Region, 7> kTables{{
    {rommap::kMapPointers, 0x60},
    {rommap::kDirectionLength, 0x30},
    {rommap::kItemCounts, 0x60},      // item and enemy counts
    {rommap::kItemXPointers, 0x1E0},  // the five actor pointer tables
    {rommap::kActorAreaStart, 0xC000 - rommap::kActorAreaStart},
    {0, rommap::kMapAreaLast + 1},  // maps
    {rommap::kMapAreaGapFirst, rommap::kMapAreaSecondStart - rommap::kMapAreaGapFirst},
}};

// Region `pick` of kTables, or, past them, the bytes one of the six pointers of some scene leads
// to as the image reads now.
Region pickRegion(std::uint8_t pick, const Bytes& rom)
{
    if (pick < 0x80)
        return kTables[pick % kTables.size()];
    constexpr std::array<RomOffset, 6> kPointers{rommap::kMapPointers,     rommap::kItemXPointers,
                                                 rommap::kItemYIdPointers, rommap::kEnemyBPointers,
                                                 rommap::kEnemyXYPointers, rommap::kEnemyIdPointers};
    const std::size_t entry = static_cast<std::size_t>(kPointers[pick % 6] + 2 * ((pick / 6) % kSceneCount));
    const int pointer = rom[entry] | (rom[entry + 1] << 8);
    return {rommap::bankOffset(pointer, pick % 6 == 0 ? rommap::kSceneBank : rommap::kActorBank), 0x100};
}

// What the packers keep of a scene: its map and its actor lists.
struct Packed {
    std::uint8_t length = 0;
    std::uint8_t direction = 0;
    Bytes map;
    std::vector<ItemRecord> items;
    std::vector<EnemyRecord> enemies;
    RomOffset mapAt = 0;  // where the map was read
};

// A map whose pointer leads into the count tables, which the actor packer rewrites: there a new
// count shows through as a map cell, as it would in the game.
bool overCounts(const Packed& p)
{
    constexpr RomOffset kCountsEnd = rommap::kEnemyCounts + kSceneCount;
    return p.mapAt < kCountsEnd && p.mapAt + static_cast<RomOffset>(p.map.size()) > rommap::kItemCounts;
}

// One entry per scene, empty where it does not decode; shared, so that copies cost nothing.
using Decoded = std::array<std::shared_ptr<const Packed>, kSceneCount>;

// Scene i's map as the game finds it (pointer and length byte in bank 0) and its actor lists
// as the scene codec reads them; nullopt where a pointer or table cannot be read. `reads`, when
// given, receives the ranges the decoding read.
std::shared_ptr<const Packed> decodeScene(const Bytes& rom, int i, std::vector<Region>* reads = nullptr)
{
    SceneRecord s;
    s.scene = static_cast<std::uint8_t>(i);
    if (!loadSceneActors(rom, s).ok())
        return nullptr;
    RomReader r(rom);
    const std::uint8_t lengthByte = r.byte(rommap::kDirectionLength + i);
    const RomOffset mapAt = mapOffset(r.word(rommap::kMapPointers + 2 * i));
    const auto length = static_cast<std::uint8_t>(lengthByte & 0x7F);
    Bytes map = r.bytes(mapAt, static_cast<std::size_t>(length + 1) * rommap::kScreenBytes);
    if (!r.ok())
        return nullptr;
    if (reads) {
        const auto items = static_cast<RomOffset>(s.items.size());
        const auto enemies = static_cast<RomOffset>(s.enemies.size());
        *reads = {{rommap::kDirectionLength + i, 1},
                  {rommap::kMapPointers + 2 * i, 2},
                  {mapAt, static_cast<RomOffset>(map.size())},
                  {rommap::kItemCounts + i, 1},
                  {rommap::kEnemyCounts + i, 1},
                  {s.itemXAddress, items},
                  {s.itemYIdAddress, items},
                  {s.enemyBAddress, enemies},
                  {s.enemyXYAddress, enemies},
                  {s.enemyIdAddress, enemies}};
        for (const RomOffset table : {rommap::kItemXPointers, rommap::kItemYIdPointers, rommap::kEnemyBPointers,
                                      rommap::kEnemyXYPointers, rommap::kEnemyIdPointers})
            reads->push_back({table + 2 * i, 2});
    }
    return std::make_shared<const Packed>(Packed{length, static_cast<std::uint8_t>(lengthByte & 0x80), std::move(map),
                                                 std::move(s.items), std::move(s.enemies), mapAt});
}

// Every scene of the image as patched. A scene none of whose bytes were patched decodes as in the
// sample, so only the others are read again.
Decoded decodePatched(fuzz::Workbench& bench)
{
    struct SampleScene {
        std::shared_ptr<const Packed> decoded;
        std::vector<Region> reads;
    };
    static const std::array<SampleScene, kSceneCount> sample = [] {
        std::array<SampleScene, kSceneCount> out;
        for (int i = 0; i < kSceneCount; ++i) {
            SampleScene& s = out[static_cast<std::size_t>(i)];
            s.decoded = decodeScene(fuzz::sampleImage().romData, i, &s.reads);
            if (!s.decoded)
                std::abort();  // every scene of the sample decodes
        }
        return out;
    }();
    Decoded out;
    for (int i = 0; i < kSceneCount; ++i) {
        const SampleScene& s = sample[static_cast<std::size_t>(i)];
        const bool touched = std::any_of(s.reads.begin(), s.reads.end(), [&bench](const Region& r) {
            return bench.patchedWithin(r.start, static_cast<std::size_t>(r.size));
        });
        out[static_cast<std::size_t>(i)] = touched ? decodeScene(bench.rom(), i) : s.decoded;
    }
    return out;
}

// Every scene that decoded before decodes after to `expected`. After an actor repack, a map
// read from the count tables is left out.
void expectDecodes(const Bytes& rom, const Decoded& expected, bool actorsRepacked, const char* what)
{
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (!expected[i])
            continue;
        const Packed& e = *expected[i];
        const std::shared_ptr<const Packed> now = decodeScene(rom, static_cast<int>(i));
        const bool mapKept = !(actorsRepacked && overCounts(e));
        if (!now || now->length != e.length || now->direction != e.direction || (mapKept && now->map != e.map)
            || now->items != e.items || now->enemies != e.enemies)
            fuzz::broken(what, rommap::kDirectionLength + static_cast<RomOffset>(i));
    }
}

// The end of the actor area: mostly the sample's, as the document measures it when the file is
// opened (scanning the filler costs more than the rest of an input), now and then measured on
// the patched image or taken from the input.
RomOffset pickAreaEnd(FuzzedDataProvider& in, const Bytes& rom)
{
    static const RomOffset sampleEnd = actorAreaEnd(fuzz::sampleImage().romData);
    switch (in.ConsumeIntegral<std::uint8_t>() & 31) {
    case 31: return actorAreaEnd(rom);
    case 30:
    case 29: return in.ConsumeIntegralInRange<RomOffset>(rommap::kActorAreaStart - 2, 0xC002);
    default: return sampleEnd;
    }
}

// A size asked of a resize: mostly in range, now and then just outside it.
int pickSize(FuzzedDataProvider& in, int max) { return in.ConsumeIntegralInRange<int>(-1, max + 2); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::Workbench bench;
    FuzzedDataProvider in(data, size);
    const int operation = in.ConsumeIntegralInRange<int>(0, 4);
    const SceneKey key = fuzz::pickScene(in);
    bench.layPatches(in, 8, pickRegion);
    Bytes& rom = bench.rom();

    const Decoded before = decodePatched(bench);
    Decoded expected = before;
    Outcome<ResizeResult> result;

    if (operation <= 2) {
        SceneRecord scene;
        if (!loadScene(rom, key.stage, key.scene, scene).ok()) {
            bench.restore();
            return 0;
        }
        const SceneRecord original = scene;
        const RomOffset areaEnd = pickAreaEnd(in, rom);
        if (operation == 0) {
            const int length = pickSize(in, rommap::kMaxMapLength);
            result = resizeMap(rom, scene, length, in.ConsumeBool());
        } else if (operation == 1) {
            result = resizeItems(rom, scene, pickSize(in, 255), areaEnd);
        } else {
            result = resizeEnemies(rom, scene, pickSize(in, 255), areaEnd);
        }
        if (!result.ok()) {
            if (!(scene == original))
                fuzz::broken("a refused resize changed the scene record");
            bench.expectUnchanged("a refused resize changed the image");
            bench.restore();
            return 0;
        }
        if (key.scene < kSceneCount)
            expected[key.scene] = std::make_shared<const Packed>(
                Packed{scene.length, scene.direction, scene.map, scene.items, scene.enemies,
                       expected[key.scene] ? expected[key.scene]->mapAt : 0});
    } else {
        // Every scene's data as decoded, with a few entries changed; all 48 must decode.
        for (const std::shared_ptr<const Packed>& p : before) {
            if (!p) {
                bench.restore();
                return 0;
            }
        }
        const int changes = in.ConsumeIntegralInRange<int>(1, 4);
        if (operation == 3) {
            MapTable table;
            for (std::size_t i = 0; i < table.size(); ++i)
                table[i] = {before[i]->length, before[i]->direction, before[i]->map};
            for (int k = 0; k < changes; ++k) {
                MapEntry& e = table[in.ConsumeIntegralInRange<std::size_t>(0, kSceneCount - 1)];
                e.length = in.ConsumeIntegral<std::uint8_t>();
                e.direction = in.ConsumeBool() ? 0x80 : 0;
                // Mostly a map of the right size, sometimes one screen too short or too long.
                const int screens = e.length + 1 + in.ConsumeIntegralInRange<int>(-1, 1) * in.ConsumeBool();
                e.map.assign(static_cast<std::size_t>(screens) * rommap::kScreenBytes,
                             in.ConsumeIntegral<std::uint8_t>());
            }
            result = packMaps(rom, table);
            for (std::size_t i = 0; i < table.size(); ++i) {
                Packed p = *before[i];
                p.length = table[i].length;
                p.direction = table[i].direction;
                p.map = table[i].map;
                expected[i] = std::make_shared<const Packed>(std::move(p));
            }
        } else {
            ActorTable table;
            for (std::size_t i = 0; i < table.size(); ++i)
                table[i] = {before[i]->items, before[i]->enemies};
            for (int k = 0; k < changes; ++k) {
                ActorLists& lists = table[in.ConsumeIntegralInRange<std::size_t>(0, kSceneCount - 1)];
                lists.items.resize(in.ConsumeIntegralInRange<std::size_t>(0, 260),
                                   {in.ConsumeIntegral<std::uint8_t>(), 0x30, 0x05});
                lists.enemies.resize(in.ConsumeIntegralInRange<std::size_t>(0, 260),
                                     {in.ConsumeIntegral<std::uint8_t>(), 0x47, 0x11});
            }
            result = packActors(rom, table, pickAreaEnd(in, rom));
            for (std::size_t i = 0; i < table.size(); ++i) {
                Packed p = *before[i];
                p.items = table[i].items;
                p.enemies = table[i].enemies;
                expected[i] = std::make_shared<const Packed>(std::move(p));
            }
        }
        if (!result.ok()) {
            bench.expectUnchanged("a refused pack changed the image");
            bench.restore();
            return 0;
        }
    }

    expectDecodes(rom, expected, operation != 0 && operation != 3, "after a repack a scene decodes to other data");
    bench.restore();
    return 0;
}
