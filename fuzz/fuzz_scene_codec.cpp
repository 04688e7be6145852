// libFuzzer target: one scene loaded and stored, over the sample image with a few bytes of the
// scene and stage tables, the actor pointer tables and the bytes they point to replaced.
//
// Promises checked:
//  - a load that fails leaves the record it was given as it was;
//  - a scene that loads is stored again, and storing it unedited leaves the image byte for byte
//    as it was, except that actor lists out of order come back sorted (the store sorts them by
//    their first byte): then only the five actor tables of that scene may change;
//  - a store that fails (of a record with addresses or sizes changed from the input) changes
//    nothing;
//  - storing a scene, unedited or with an actor or a map byte changed, changes no other scene of
//    the area tree, except where the two share data: a list at the same table addresses holds the
//    stored scene's records (as far as both lists go), and map bytes inside the stored map hold
//    the stored bytes. A scene that loaded before the store still loads; the stored scene reads
//    back as it was stored.

#include <algorithm>
#include <array>

#include "fuzz_support.h"
#include "rom/address_map.h"
#include "rom/scene_codec.h"

namespace {

using namespace velmar;
using velmar::fuzz::Region;

// The tables loadScene reads, in romData offsets.
constexpr std::array<Region, 14> kTables{{
    {rommap::kMapPointers, 0x60},
    {rommap::kBackColourSprBank, 0x30},
    {rommap::kSprPal2Selectors, 0x60},  // sprite selectors 2 and 3
    {rommap::kDirectionLength, 0x30},
    {rommap::kStartX, 0x30},
    {rommap::kStartY, 0x30},
    {rommap::kItemCounts, 0x60},  // item and enemy counts
    {rommap::kTilesets, 0xC6},    // the stage tables, 0x2F00-0x2FC5
    {rommap::kBkgPal3Selectors, 0x20},
    {rommap::kBkgPalettes, 0x400},     // colour triples and shared colours
    {rommap::kBkgPal0Selector, 0x40},  // the fixed bank's selectors
    {rommap::kItemXPointers, 0x1E0},   // the five actor pointer tables
    {rommap::kActorAreaStart, 0xC000 - rommap::kActorAreaStart},
    {0, rommap::kMapAreaLast + 1},  // maps
}};

// Region `pick` of kTables, or, past them, the bytes that one of the scene's six pointers leads
// to as the image reads now.
Region pickRegion(std::uint8_t pick, const Bytes& rom, const SceneKey& key)
{
    if (pick < kTables.size() * 16)
        return kTables[pick % kTables.size()];
    constexpr std::array<RomOffset, 6> kPointers{rommap::kMapPointers,     rommap::kItemXPointers,
                                                 rommap::kItemYIdPointers, rommap::kEnemyBPointers,
                                                 rommap::kEnemyXYPointers, rommap::kEnemyIdPointers};
    const RomOffset entry = kPointers[pick % kPointers.size()] + 2 * key.scene;
    if (static_cast<std::size_t>(entry) + 1 >= rom.size())
        return {};
    const int pointer = rom[static_cast<std::size_t>(entry)] | (rom[static_cast<std::size_t>(entry) + 1] << 8);
    const int bank = entry == rommap::kMapPointers + 2 * key.scene ? rommap::kSceneBank : rommap::kActorBank;
    return {rommap::bankOffset(pointer, bank), 0x100};
}

bool inside(RomOffset at, RomOffset table, std::size_t count)
{
    return at >= table && static_cast<std::size_t>(at - table) < count;
}

// The five tables storeScene rewrites in sorted order.
bool inActorTables(RomOffset at, const SceneRecord& s)
{
    return inside(at, s.itemXAddress, s.items.size()) || inside(at, s.itemYIdAddress, s.items.size())
        || inside(at, s.enemyBAddress, s.enemies.size()) || inside(at, s.enemyXYAddress, s.enemies.size())
        || inside(at, s.enemyIdAddress, s.enemies.size());
}

template <typename Record, typename Key> bool sortedBy(const std::vector<Record>& list, Key key)
{
    return std::is_sorted(list.begin(), list.end(),
                          [&key](const Record& a, const Record& b) { return key(a) < key(b); });
}

// A record that no load produces, to see whether a failed load wrote into it.
const SceneRecord& untouched()
{
    static const SceneRecord record = [] {
        SceneRecord r;
        r.stage = 0xEE;
        r.map.assign(3, 0xEE);
        r.items.push_back({1, 2, 3});
        return r;
    }();
    return record;
}

// Changes the record the way no load would: addresses anywhere, a map of another size, counts
// that do not match the lists. Whatever storeScene then makes of it, a refusal writes nothing.
void distort(FuzzedDataProvider& in, SceneRecord& s)
{
    const auto anywhere = [&in] { return in.ConsumeIntegralInRange<RomOffset>(-0x100, rommap::kImageSize + 0x100); };
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
    case 0: s.mapAddress = in.ConsumeIntegral<std::uint16_t>(); break;
    case 1: s.map.resize(in.ConsumeIntegralInRange<std::size_t>(0, 0x8000), 0x5A); break;
    case 2:
        s.itemXAddress = anywhere();
        s.itemYIdAddress = anywhere();
        break;
    case 3:
        s.enemyBAddress = anywhere();
        s.enemyXYAddress = anywhere();
        s.enemyIdAddress = anywhere();
        break;
    case 4: s.items.resize(in.ConsumeIntegralInRange<std::size_t>(0, 300)); break;
    case 5:
        s.bkgBank = in.ConsumeIntegral<std::uint8_t>();
        s.stage = in.ConsumeIntegral<std::uint8_t>();
        break;
    }
}

// The scenes of the area tree but `key` as they decode now; nullopt for one that is refused.
using Decoded = std::vector<std::optional<SceneRecord>>;
Decoded decodeOthers(const Bytes& rom, const SceneKey& key)
{
    Decoded out;
    for (const SceneKey& other : fuzz::sceneKeys()) {
        SceneRecord r;
        if (!(other == key) && loadScene(rom, other.stage, other.scene, r).ok())
            out.emplace_back(std::move(r));
        else
            out.emplace_back();
    }
    return out;
}

// What `other` should decode as once `stored` is written over the image it was read from.
SceneRecord expectedAfter(SceneRecord other, const SceneRecord& stored)
{
    if (other.itemXAddress == stored.itemXAddress && other.itemYIdAddress == stored.itemYIdAddress)
        std::copy_n(stored.items.begin(), std::min(other.items.size(), stored.items.size()), other.items.begin());
    if (other.enemyBAddress == stored.enemyBAddress && other.enemyXYAddress == stored.enemyXYAddress
        && other.enemyIdAddress == stored.enemyIdAddress)
        std::copy_n(stored.enemies.begin(), std::min(other.enemies.size(), stored.enemies.size()),
                    other.enemies.begin());
    const RomOffset shift = mapOffset(other.mapAddress) - mapOffset(stored.mapAddress);
    for (std::size_t i = 0; i < other.map.size(); ++i) {
        const RomOffset at = shift + static_cast<RomOffset>(i);
        if (at >= 0 && static_cast<std::size_t>(at) < stored.map.size())
            other.map[i] = stored.map[static_cast<std::size_t>(at)];
    }
    return other;
}

// An edit a user could make before the scene is stored: an enemy or an item moved, a metatile
// of the map changed. False when none was made.
bool edit(FuzzedDataProvider& in, SceneRecord& s)
{
    const int kind = in.ConsumeIntegralInRange<int>(0, 3);
    const auto value = in.ConsumeIntegral<std::uint8_t>();
    const auto index = in.ConsumeIntegral<std::uint16_t>();
    if (kind == 1 && !s.enemies.empty())
        s.enemies[index % s.enemies.size()].b = value;
    else if (kind == 2 && !s.items.empty())
        s.items[index % s.items.size()].x = value;
    else if (kind == 3 && !s.map.empty())
        s.map[index % s.map.size()] = value;
    else
        return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::Workbench bench;
    FuzzedDataProvider in(data, size);
    const SceneKey key = fuzz::pickScene(in);
    const bool distorted = (in.ConsumeIntegral<std::uint8_t>() & 7) == 0;
    bench.layPatches(in, 8, [&key](std::uint8_t pick, const Bytes& rom) { return pickRegion(pick, rom, key); });
    Bytes& rom = bench.rom();

    SceneRecord scene = untouched();
    if (!loadScene(rom, key.stage, key.scene, scene).ok()) {
        if (!(scene == untouched()))
            fuzz::broken("a failed loadScene changed the record");
        bench.restore();
        return 0;
    }

    if (distorted) {
        distort(in, scene);
        if (!storeScene(rom, scene).ok())
            bench.expectUnchanged("a failed storeScene changed the image");
        bench.restore();
        return 0;
    }

    const bool edited = edit(in, scene);
    const bool sorted = sortedBy(scene.items, [](const ItemRecord& r) { return r.x; })
        && sortedBy(scene.enemies, [](const EnemyRecord& r) { return r.b; });
    const SceneRecord loaded = scene;
    // A store that writes every byte back as it was (unedited, lists in order: checked below)
    // changes nothing another scene reads. The other scenes are decoded, twice, only when it
    // writes something new.
    const bool writes = edited || !sorted;
    const Decoded others = writes ? decodeOthers(rom, key) : Decoded{};
    if (!storeScene(rom, scene).ok()) {
        bench.expectUnchanged("a failed storeScene changed the image");
        fuzz::broken("storeScene refused the scene it had just loaded");
    }
    if (!edited) {
        const std::optional<RomOffset> changed =
            bench.change([&](RomOffset at) { return !sorted && inActorTables(at, loaded); });
        if (changed)
            fuzz::broken(sorted ? "storing a loaded scene changed the image"
                                : "storing a loaded scene changed more than its actor tables",
                         *changed);
    }

    const Decoded after = writes ? decodeOthers(rom, key) : Decoded{};
    for (std::size_t i = 0; i < others.size(); ++i) {
        if (others[i] && !after[i])
            fuzz::broken("storing a scene made another scene fail to load");
        if (others[i] && !(*after[i] == expectedAfter(*others[i], scene)))
            fuzz::broken("storing a scene changed another scene");
    }
    SceneRecord again;
    if (!loadScene(rom, key.stage, key.scene, again).ok() || !(again == scene))
        fuzz::broken("a stored scene reads back differently");
    bench.restore();
    return 0;
}
