#include "rom/scene_codec.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "rom/actor_sort.h"
#include "rom/address_map.h"
#include "base/hex.h"

namespace velmar {

using namespace rommap;

namespace {

constexpr RomOffset kActorBase = bankStart(kActorBank);

// The eight selector addresses: background sub-palettes 0-3, then sprite sub-palettes 0-3.
std::array<RomOffset, 8> selectorAddresses(const SceneRecord& s)
{
    return {kBkgPal0Selector,
            kBkgPal1Selectors + s.stage,
            kBkgPal2Selectors + s.stage,
            kBkgPal3Selectors + s.stage,
            kSprPal0Selector,
            kSprPal1Selector,
            kSprPal2Selectors + s.scene,
            kSprPal3Selectors + s.scene};
}

// 3-byte colour triple of selector p: background palettes from 0x3000, sprite ones from 0x3100.
RomOffset tripleAddress(int k, std::uint8_t selector) { return (k < 4 ? kBkgPalettes : kSprPalettes) + 3 * selector; }

// rom[0x2F16 + st] holds the bank times 8; an odd value rounds to the nearest bank, halves to even.
std::uint8_t bankFromByte(std::uint8_t v)
{
    int q = v >> 3;
    const int r = v & 7;
    if (r > 4 || (r == 4 && (q & 1)))
        ++q;
    return static_cast<std::uint8_t>(q);
}

constexpr RomOffset kActorBankEnd = bankStart(kActorBank + 1);

// The bank-0 tables the scene store writes, which a map must not lie over. The scene and stage
// tables are indexed by a byte: for a stage number past the game's 22 the stage entries reach
// past 0x2FC5 into the colour triples, so the span runs on to them.
struct Span {
    RomOffset first;
    RomOffset end;
};
constexpr Span kStoredTables[] = {
    {kMapPointers, kSprPalettes + 3 * 256},  // scene and stage tables, colour triples
    {kBkgPal3Selectors, kBkgPal3Selectors + kStageCount},
};

constexpr bool overlaps(RomOffset a, std::size_t aCount, RomOffset b, std::size_t bCount)
{
    return aCount > 0 && bCount > 0 && a < b + static_cast<RomOffset>(bCount) && b < a + static_cast<RomOffset>(aCount);
}

// One actor list as it lies in bank 2: items in two tables (X, Y/ID), enemies in three (B,
// position, type), each `count` bytes long; record i is byte i of every table.
struct ActorList {
    bool enemies = false;
    std::array<RomOffset, 3> at{};
    std::size_t count = 0;

    std::size_t tables() const { return enemies ? 3 : 2; }
    // From the start of the first table to the end of the last: lists whose spans do not meet
    // share no byte.
    std::pair<RomOffset, RomOffset> span() const
    {
        RomOffset first = std::min(at[0], at[1]);
        RomOffset last = std::max(at[0], at[1]);
        if (enemies) {
            first = std::min(first, at[2]);
            last = std::max(last, at[2]);
        }
        return {first, last + static_cast<RomOffset>(count)};
    }
    const char* name(std::size_t table) const
    {
        constexpr const char* kItemTables[] = {"item X", "item Y"};
        constexpr const char* kEnemyTables[] = {"enemy B", "enemy position", "enemy type"};
        return enemies ? kEnemyTables[table] : kItemTables[table];
    }
};

std::array<ActorList, 2> actorLists(const SceneRecord& s)
{
    return {ActorList{false, {s.itemXAddress, s.itemYIdAddress, 0}, s.itemCount},
            ActorList{true, {s.enemyBAddress, s.enemyXYAddress, s.enemyIdAddress}, s.enemyCount}};
}

// Tables read through a pointer are written back where they were read. They must lie where that
// touches nothing else: the actor tables inside the actor area of bank 2 and apart from each
// other, the map inside bank 0 and off the tables the store writes. A scene whose tables do not
// is refused rather than stored over other data.
void checkTablePlaces(RomReader& r, const SceneRecord& s)
{
    const struct {
        const char* name;
        RomOffset at;
        std::size_t count;
    } tables[] = {
        {"item X", s.itemXAddress, s.itemCount},        {"item Y", s.itemYIdAddress, s.itemCount},
        {"enemy B", s.enemyBAddress, s.enemyCount},     {"enemy position", s.enemyXYAddress, s.enemyCount},
        {"enemy type", s.enemyIdAddress, s.enemyCount},
    };
    for (const auto& t : tables) {
        if (t.count > 0 && (t.at < kActorAreaStart || t.at + static_cast<RomOffset>(t.count) > kActorBankEnd)) {
            r.fail(RomStatus::badData(t.at, std::string("The ") + t.name + " table lies outside the actor area"));
            return;
        }
    }
    for (std::size_t i = 0; i < std::size(tables); ++i) {
        for (std::size_t j = i + 1; j < std::size(tables); ++j) {
            if (overlaps(tables[i].at, tables[i].count, tables[j].at, tables[j].count)) {
                r.fail(RomStatus::badData(
                    tables[j].at, std::string("The ") + tables[i].name + " and " + tables[j].name + " tables overlap"));
                return;
            }
        }
    }
    const RomOffset map = mapOffset(s.mapAddress);
    const std::size_t mapSize = static_cast<std::size_t>(s.length + 1) * kScreenBytes;
    if (map + static_cast<RomOffset>(mapSize) > bankStart(kSceneBank + 1)) {
        r.fail(RomStatus::badData(map, "The map runs past the end of bank 0"));
        return;
    }
    for (const Span& t : kStoredTables) {
        if (overlaps(map, mapSize, t.first, static_cast<std::size_t>(t.end - t.first))) {
            r.fail(RomStatus::badData(map, "The map lies over the scene tables"));
            return;
        }
    }
}

// Where list `mine` meets list `theirs` of another scene in a way that storing `mine` would
// spoil: the first overlapping pair of tables, or nullopt. Two scenes may read one list (the
// same table addresses, the counts perhaps different): the store then writes each record where
// both read it, its bytes together, so the other scene sees this scene's records, whole. Any
// other overlap puts this scene's bytes into other fields or other records of the other scene's
// list, which sorting or an edit would scramble.
std::optional<std::pair<std::size_t, std::size_t>> spoiledTables(const ActorList& mine, const ActorList& theirs)
{
    const bool oneList = mine.enemies == theirs.enemies && mine.at == theirs.at;
    for (std::size_t i = 0; i < mine.tables(); ++i) {
        for (std::size_t j = 0; j < theirs.tables(); ++j) {
            if (overlaps(mine.at[i], mine.count, theirs.at[j], theirs.count) && (!oneList || i != j))
                return std::pair{i, j};
        }
    }
    return std::nullopt;
}

// Another scene's actor lists that this scene's overlap other than as one shared list refuse the
// scene: its store would rewrite that scene's actors. Maps need no such check: a map is written
// back byte for byte where it was read, and every byte of it means the same (a metatile number)
// to any scene whose map covers it, so scenes sharing map bytes, wholly or in part, see the same
// metatiles after a store as before, and each other's edits.
void checkOtherScenes(RomReader& r, const SceneRecord& s)
{
    const std::array<ActorList, 2> mine = actorLists(s);
    if (mine[0].count == 0 && mine[1].count == 0)
        return;
    const std::array<std::pair<RomOffset, RomOffset>, 2> mySpans = {mine[0].span(), mine[1].span()};
    // This scene's tables were read from the actor area, so the image reaches past the pointer
    // and count tables of all 48 scenes: both are read once, for every scene.
    constexpr RomOffset kPointerTables = kItemXPointers;
    constexpr RomOffset kPointerTablesEnd = kEnemyIdPointers + 2 * kSceneCount;
    const Bytes pointers = r.bytes(kPointerTables, static_cast<std::size_t>(kPointerTablesEnd - kPointerTables));
    const Bytes counts = r.bytes(kItemCounts, static_cast<std::size_t>(kEnemyCounts + kSceneCount - kItemCounts));
    if (!r.ok())
        return;

    // Bank 2 is seen at 0x8000-0xBFFF, where an address is the same number as its romData
    // offset, and this scene's tables lie in its actor area (0x9B48 on). So another scene's
    // pointers are compared as they stand: one below 0x8000 (not ROM) ends before these tables,
    // one into the fixed bank starts after them.
    static_assert(kActorBase == 0x8000 && kActorAreaStart - 0x8000 > 0xFF);
    struct ListTables {
        RomOffset count;
        std::array<RomOffset, 3> pointers;
    };
    constexpr ListTables kLists[] = {{kItemCounts, {kItemXPointers, kItemYIdPointers, 0}},
                                     {kEnemyCounts, {kEnemyBPointers, kEnemyXYPointers, kEnemyIdPointers}}};
    for (int other = 0; other < kSceneCount; ++other) {
        if (other == s.scene)
            continue;
        for (const bool enemies : {false, true}) {
            const ListTables& tables = kLists[enemies ? 1 : 0];
            ActorList theirs{enemies, {}, counts[static_cast<std::size_t>(tables.count - kItemCounts + other)]};
            if (theirs.count == 0)
                continue;
            for (std::size_t t = 0; t < theirs.tables(); ++t) {
                const auto at = static_cast<std::size_t>(tables.pointers[t] - kPointerTables + 2 * other);
                theirs.at[t] = pointers[at] | pointers[at + 1] << 8;
            }
            const auto [first, end] = theirs.span();
            for (std::size_t m = 0; m < mine.size(); ++m) {
                if (mine[m].count == 0 || first >= mySpans[m].second || mySpans[m].first >= end)
                    continue;
                if (const auto spoiled = spoiledTables(mine[m], theirs)) {
                    r.fail(RomStatus::badData(mine[m].at[spoiled->first],
                                              std::string("The ") + mine[m].name(spoiled->first)
                                                  + " table overlaps the " + theirs.name(spoiled->second)
                                                  + " table of scene $" + hexPad(other, 2)));
                    return;
                }
            }
        }
    }
}

}  // namespace

void loadScenePalettes(RomReader& reader, SceneRecord& scene, bool readSelectors)
{
    const std::uint8_t shared = reader.byte(kSharedColours + (reader.byte(kBackColourSprBank + scene.scene) >> 4));
    for (int k = 0; k < 8; ++k)
        scene.palette[static_cast<std::size_t>(4 * k)] = shared;
    const auto selectors = selectorAddresses(scene);
    for (int k = 0; k < 8; ++k) {
        if (readSelectors)
            scene.palSelectors[static_cast<std::size_t>(k)] = reader.byte(selectors[static_cast<std::size_t>(k)]);
        const RomOffset triple = tripleAddress(k, scene.palSelectors[static_cast<std::size_t>(k)]);
        for (int j = 0; j < 3; ++j)
            scene.palette[static_cast<std::size_t>(4 * k + 1 + j)] = reader.byte(triple + j);
    }
}

RomStatus loadScenePalettes(const Bytes& rom, SceneRecord& scene, bool readSelectors)
{
    RomReader reader(rom);
    SceneRecord work = scene;
    loadScenePalettes(reader, work, readSelectors);
    if (reader.ok())
        scene = std::move(work);
    return reader.status();
}

std::string paletteSelectorMeaning(int k, std::uint8_t selector)
{
    const bool sprite = k >= 4;
    const std::string table = sprite ? "sprite" : "background";
    const std::string named =
        std::string(sprite ? "SPR" : "BKG") + " palette " + std::to_string(k % 4) + " = " + hexPad(selector, 2) + ": ";
    const RomOffset at = tripleAddress(k, selector);
    const std::string where = "$" + hexPad(at, 4);
    if (selector < kSelectablePalettes)
        return named + "the colours of " + table + " palette " + hexPad(selector, 2) + ", at " + where + ".";
    std::string region = "behind the colour tables";
    if (at < kSprPalettes + 0x100 && !sprite)
        region = "among the sprite palettes";
    else if (at < kSharedColours + 0x10)
        region = "among the shared background colours";
    return named + "past the " + table + " palettes (00-" + hexPad(kSelectablePalettes - 1, 2)
        + "); its colours are read from " + where + ", " + region + ", as the game reads them.";
}

void storeScenePalettes(RomWriter& writer, const SceneRecord& scene)
{
    const auto selectors = selectorAddresses(scene);
    for (int k = 0; k < 8; ++k) {
        const std::uint8_t p = scene.palSelectors[static_cast<std::size_t>(k)];
        writer.byte(selectors[static_cast<std::size_t>(k)], p);
        for (int j = 0; j < 3; ++j)
            writer.byte(tripleAddress(k, p) + j, scene.palette[static_cast<std::size_t>(4 * k + 1 + j)]);
    }
}

void loadSceneActors(RomReader& reader, SceneRecord& scene)
{
    const int sc2 = 2 * scene.scene;
    scene.itemXAddress = reader.pointer(kItemXPointers + sc2, kActorBase);
    scene.itemYIdAddress = reader.pointer(kItemYIdPointers + sc2, kActorBase);
    scene.enemyBAddress = reader.pointer(kEnemyBPointers + sc2, kActorBase);
    scene.enemyXYAddress = reader.pointer(kEnemyXYPointers + sc2, kActorBase);
    scene.enemyIdAddress = reader.pointer(kEnemyIdPointers + sc2, kActorBase);
    scene.itemCount = reader.byte(kItemCounts + scene.scene);
    scene.enemyCount = reader.byte(kEnemyCounts + scene.scene);

    scene.items.resize(scene.itemCount);
    for (int i = 0; i < scene.itemCount; ++i) {
        const std::uint8_t v = reader.byte(scene.itemYIdAddress + i);
        scene.items[static_cast<std::size_t>(i)] = {reader.byte(scene.itemXAddress + i),
                                                    static_cast<std::uint8_t>(v & 0xF0),
                                                    static_cast<std::uint8_t>(v & 0x0F)};
    }
    scene.enemies.resize(scene.enemyCount);
    for (int i = 0; i < scene.enemyCount; ++i) {
        scene.enemies[static_cast<std::size_t>(i)] = {reader.byte(scene.enemyBAddress + i),
                                                      reader.byte(scene.enemyXYAddress + i),
                                                      reader.byte(scene.enemyIdAddress + i)};
    }
}

RomStatus loadSceneActors(const Bytes& rom, SceneRecord& scene)
{
    RomReader reader(rom);
    SceneRecord work = scene;
    loadSceneActors(reader, work);
    if (reader.ok())
        scene = std::move(work);
    return reader.status();
}

void storeSceneActors(RomWriter& writer, SceneRecord& scene)
{
    sortActorRecords(scene.items, true);
    sortActorRecords(scene.enemies, true);
    writer.byte(kItemCounts + scene.scene, scene.itemCount);
    writer.byte(kEnemyCounts + scene.scene, scene.enemyCount);
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        const ItemRecord& item = scene.items[i];
        const auto at = static_cast<RomOffset>(i);
        writer.byte(scene.itemXAddress + at, item.x);
        writer.byte(scene.itemYIdAddress + at, static_cast<std::uint8_t>(item.id | item.y));
    }
    for (std::size_t i = 0; i < scene.enemies.size(); ++i) {
        const EnemyRecord& enemy = scene.enemies[i];
        const auto at = static_cast<RomOffset>(i);
        writer.byte(scene.enemyIdAddress + at, enemy.id);
        writer.byte(scene.enemyBAddress + at, enemy.b);
        writer.byte(scene.enemyXYAddress + at, enemy.xy);
    }
}

RomStatus loadScene(const Bytes& rom, std::uint8_t stage, std::uint8_t scene, SceneRecord& out)
{
    RomReader r(rom);
    SceneRecord s;
    s.stage = stage;
    s.scene = scene;
    const std::uint8_t dirLength = r.byte(kDirectionLength + scene);
    s.direction = dirLength & 0x80;
    s.length = dirLength & 0x7F;
    s.startX = r.byte(kStartX + scene);
    s.startY = r.byte(kStartY + scene);
    s.reload = r.byte(kReloads + stage);
    s.indicator = r.byte(kIndicators + stage);
    s.time = r.byte(kTimes + stage);
    s.mapAddress = r.word(kMapPointers + 2 * scene);

    s.itemAnimation = r.byte(kItemAnimations + stage);
    s.tileset = r.byte(kTilesets + stage);
    s.subtileAddress = ((s.tileset & 0x1C) + 0x80) * 0x100;
    s.metatileAddress = ((s.tileset & 3) * 2 + 0xA0) * 0x100;
    s.attributeAddress = ((s.tileset & 3) + 0xB0) * 0x100;

    s.bkgBank = bankFromByte(r.byte(kBkgBanks + stage));
    s.sprBank = r.byte(kBackColourSprBank + scene) & 0x0F;

    loadScenePalettes(r, s, true);
    loadSceneActors(r, s);
    if (r.ok())
        checkTablePlaces(r, s);
    if (r.ok())
        checkOtherScenes(r, s);
    s.map = r.bytes(mapOffset(s.mapAddress), static_cast<std::size_t>(s.length + 1) * kScreenBytes);

    if (r.ok())
        out = std::move(s);
    return r.status();
}

RomStatus storeScene(Bytes& rom, SceneRecord& scene)
{
    RomWriter w(rom);
    w.byte(kDirectionLength + scene.scene, static_cast<std::uint8_t>((scene.length & 0x7F) | (scene.direction & 0x80)));
    w.byte(kStartX + scene.scene, scene.startX);
    w.byte(kStartY + scene.scene, scene.startY);
    w.byte(kReloads + scene.stage, scene.reload);
    w.byte(kIndicators + scene.stage, scene.indicator);
    w.byte(kTimes + scene.stage, scene.time);
    w.word(kMapPointers + 2 * scene.scene, static_cast<std::uint16_t>(scene.mapAddress & 0xFFFF));
    // The tileset byte and the item animation are read-only here. The BKG byte holds the bank
    // times 8; a byte with low bits set (0x13) reads as the nearest bank and stays as it is while
    // that bank is kept. A bank above 31 has no pattern data and no byte value.
    {
        RomReader r(rom);
        const std::uint8_t oldBank = r.byte(kBkgBanks + scene.stage);
        const std::uint8_t oldSpr = r.byte(kBackColourSprBank + scene.scene);
        if (!r.ok())
            return r.status();
        if (bankFromByte(oldBank) != scene.bkgBank && scene.bkgBank < kPatternBankCount)
            w.byte(kBkgBanks + scene.stage, static_cast<std::uint8_t>(scene.bkgBank * 8));
        w.byte(kBackColourSprBank + scene.scene, static_cast<std::uint8_t>((oldSpr & 0xF0) | (scene.sprBank & 0x0F)));
        // Colour 0 of every sub-palette is one shared colour, 0x3200 + the high nibble of the
        // scene's 0x2C90 byte, which every scene with that index shows: an entry that differs
        // from it is the new shared colour. Written before the triples, which may overlap it.
        const RomOffset sharedAt = kSharedColours + (oldSpr >> 4);
        const std::uint8_t shared = r.byte(sharedAt);
        if (!r.ok())
            return r.status();
        for (int k = 0; k < 8; ++k) {
            const std::uint8_t c = scene.palette[static_cast<std::size_t>(4 * k)];
            if (c != shared) {
                w.byte(sharedAt, c);
                break;
            }
        }
    }
    storeScenePalettes(w, scene);
    storeSceneActors(w, scene);
    w.bytes(mapOffset(scene.mapAddress), scene.map);
    return w.commit();
}

RomStatus loadMetatileTables(const Bytes& rom, const SceneRecord& scene, MetatileTables& out)
{
    RomReader r(rom);
    const Bytes subtiles = r.bytes(metatileTableOffset(scene.subtileAddress), 256 * 4);
    const Bytes attributes = r.bytes(metatileTableOffset(scene.attributeAddress), 256);
    const Bytes metatiles = r.bytes(metatileTableOffset(scene.metatileAddress), 256 * 4);
    if (!r.ok())
        return r.status();
    for (std::size_t i = 0; i < 256; ++i) {
        for (std::size_t j = 0; j < 4; ++j) {
            out.subtileDefs[i][j] = subtiles[4 * i + j];
            out.metatileDefs[i][j + 1] = metatiles[4 * i + j];
        }
        out.metatileDefs[i][0] = attributes[i];
    }
    return {};
}

RomStatus storeMetatileTables(Bytes& rom, const SceneRecord& scene, const MetatileTables& tables)
{
    Bytes subtiles(256 * 4);
    Bytes attributes(256);
    Bytes metatiles(256 * 4);
    for (std::size_t i = 0; i < 256; ++i) {
        for (std::size_t j = 0; j < 4; ++j) {
            subtiles[4 * i + j] = tables.subtileDefs[i][j];
            metatiles[4 * i + j] = tables.metatileDefs[i][j + 1];
        }
        attributes[i] = tables.metatileDefs[i][0];
    }
    RomWriter w(rom);
    w.bytes(metatileTableOffset(scene.subtileAddress), subtiles);
    w.bytes(metatileTableOffset(scene.attributeAddress), attributes);
    w.bytes(metatileTableOffset(scene.metatileAddress), metatiles);
    return w.commit();
}

}  // namespace velmar
