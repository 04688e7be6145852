#include "rom/scene_codec.h"

#include "actors/actor_sort.h"
#include "rom/address_map.h"

namespace velmar {

using namespace rommap;

namespace {

constexpr RomOffset kActorBase = bankStart(kActorBank);

// The eight selector addresses: background sub-palettes 0-3, then sprite sub-palettes 0-3.
std::array<RomOffset, 8> selectorAddresses(const SceneRecord& s)
{
    return {kBkgPal0Selector,         kBkgPal1Selectors + s.stage, kBkgPal2Selectors + s.stage,
            kBkgPal3Selectors + s.stage, kSprPal0Selector,         kSprPal1Selector,
            kSprPal2Selectors + s.scene, kSprPal3Selectors + s.scene};
}

// 3-byte colour triple of selector p: background palettes from 0x3000, sprite ones from 0x3100.
RomOffset tripleAddress(int k, std::uint8_t selector)
{
    return (k < 4 ? kBkgPalettes : kSprPalettes) + 3 * selector;
}

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

// The bank-0 tables the scene store writes, which a map must not lie over.
struct Span {
    RomOffset first;
    RomOffset end;
};
constexpr Span kStoredTables[] = {
    {kMapPointers, kTimes + kStageCount},                   // scene and stage tables, 0x2C30..0x2FC5
    {kBkgPalettes, kSprPalettes + 3 * 256},                 // the colour triples
    {kBkgPal3Selectors, kBkgPal3Selectors + kStageCount},
};

constexpr bool overlaps(RomOffset a, std::size_t aCount, RomOffset b, std::size_t bCount)
{
    return aCount > 0 && bCount > 0 && a < b + static_cast<RomOffset>(bCount) && b < a + static_cast<RomOffset>(aCount);
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
        {"item X", s.itemXAddress, s.itemCount},       {"item Y", s.itemYIdAddress, s.itemCount},
        {"enemy B", s.enemyBAddress, s.enemyCount},    {"enemy position", s.enemyXYAddress, s.enemyCount},
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
                r.fail(RomStatus::badData(tables[j].at, std::string("The ") + tables[i].name + " and "
                                                            + tables[j].name + " tables overlap"));
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
    s.map = r.bytes(mapOffset(s.mapAddress), static_cast<std::size_t>(s.length + 1) * kScreenBytes);

    if (r.ok())
        out = std::move(s);
    return r.status();
}

RomStatus storeScene(Bytes& rom, SceneRecord& scene)
{
    RomWriter w(rom);
    w.byte(kDirectionLength + scene.scene,
           static_cast<std::uint8_t>((scene.length & 0x7F) | (scene.direction & 0x80)));
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
