#include "expansion/map_packer.h"

#include <algorithm>
#include <array>

#include "rom/address_map.h"
#include "base/hex.h"
#include "rom/rom_access.h"
#include "rom/scene_codec.h"

namespace velmar {

using namespace rommap;

namespace {

constexpr CpuAddress kMapAreaCpu = romOffsetToCpu(kMapAreaStart);

std::size_t mapBytes(int length) { return static_cast<std::size_t>(length + 1) * kScreenBytes; }

// A map the table byte can describe: its length fits bits 0-6 and its size matches the length.
RomStatus checkMaps(const MapTable& table)
{
    for (int i = 0; i < kSceneCount; ++i) {
        const MapEntry& entry = table[static_cast<std::size_t>(i)];
        if (entry.length > 0x7F)
            return RomStatus::badData(kDirectionLength + i, "Map length does not fit its table");
        if (entry.map.size() != mapBytes(entry.length))
            return RomStatus::badData(kDirectionLength + i, "Map size does not match the scene length");
    }
    return {};
}

// Where each map goes, in scene order from 0x8000. A map lies wholly below the scene tables
// (0x0000-0x2400) or wholly in the space after them (0x3590-0x3FC0): one that would reach past
// 0x2400 starts at 0x3590 instead. Testing only whether its last byte falls in 0x2401-0x358F is
// not enough, since a map longer than the tables themselves would then be laid right over them.
// False when some map ends past 0x3FC0.
bool layoutMaps(const MapTable& table, std::array<CpuAddress, kSceneCount>& addresses)
{
    CpuAddress a = kMapAreaCpu;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto size = static_cast<RomOffset>(table[i].map.size());
        RomOffset o = bankOffset(a, kSceneBank);
        if (o < kMapAreaSecondStart && o + size - 1 >= kMapAreaGapFirst) {
            o = kMapAreaSecondStart;
            a = romOffsetToCpu(kMapAreaSecondStart);
        }
        if (o + size - 1 > kMapAreaLast)
            return false;
        addresses[i] = a;
        a += size;
    }
    return true;
}

}  // namespace

RomStatus gatherMaps(const Bytes& rom, const SceneRecord& scene, MapTable& table)
{
    if (scene.scene >= kSceneCount)
        return RomStatus::badData(kDirectionLength + scene.scene, "Scene number out of range");

    RomReader reader(rom);
    for (int i = 0; i < kSceneCount; ++i) {
        MapEntry& entry = table[static_cast<std::size_t>(i)];
        if (i == scene.scene) {
            entry = {scene.length, scene.direction, scene.map};
            continue;
        }
        // A stored length above 16 is taken as it is: the map is read whole and packed whole, so
        // such a scene is never cut, even if it usually leaves no room for the others.
        const std::uint8_t b = reader.byte(kDirectionLength + i);
        const RomOffset entryAt = kMapPointers + 2 * i;
        const CpuAddress pointer = reader.word(entryAt);
        if (reader.ok() && pointer < 0x8000)
            reader.fail(RomStatus::badPointer(entryAt, pointer));
        entry.length = b & 0x7F;
        entry.direction = b & 0x80;
        entry.map = reader.bytes(mapOffset(pointer), mapBytes(entry.length));
        if (!reader.ok())
            return reader.status();
    }
    return {};
}

Outcome<ResizeResult> repackMaps(Bytes& rom, SceneRecord& scene)
{
    MapTable table;
    if (RomStatus status = gatherMaps(rom, scene, table); !status.ok())
        return {ResizeResult::BadData, status.message()};
    Outcome<ResizeResult> result = packMaps(rom, table);
    // The pointer was just written inside the image, so reading it back cannot fail.
    if (result.ok())
        scene.mapAddress = RomReader(rom).word(kMapPointers + 2 * scene.scene);
    return result;
}

Outcome<ResizeResult> packMaps(Bytes& rom, const MapTable& table)
{
    if (RomStatus status = checkMaps(table); !status.ok())
        return {ResizeResult::BadData, status.message()};
    std::array<CpuAddress, kSceneCount> addresses{};
    if (!layoutMaps(table, addresses))
        return {ResizeResult::NoSpace, "Map data exceeds available space!"};

    RomWriter writer(rom);
    for (int i = 0; i < kSceneCount; ++i) {
        const MapEntry& entry = table[static_cast<std::size_t>(i)];
        const CpuAddress a = addresses[static_cast<std::size_t>(i)];
        writer.word(kMapPointers + 2 * i, static_cast<std::uint16_t>(a));
        writer.byte(kDirectionLength + i, static_cast<std::uint8_t>((entry.direction & 0x80) | entry.length));
        writer.bytes(mapOffset(a), entry.map);
    }
    if (RomStatus status = writer.commit(); !status.ok())
        return {ResizeResult::BadData, status.message()};
    return {};
}

Outcome<ResizeResult> resizeMap(Bytes& rom, SceneRecord& scene, int newLength, bool atEnd)
{
    if (newLength < 0 || newLength > kMaxMapLength)
        return {ResizeResult::InvalidSize, "Invalid dimensions! (max=$" + hexPad(kMaxMapLength, 2) + ")"};
    if (newLength == scene.length)
        return {ResizeResult::Unchanged, {}};

    // "Right" keeps the map's start in place and adds or drops screens at the end; "Left" keeps
    // its end in place, so the old screens move behind the new ones or the first screens go.
    SceneRecord work = scene;
    const std::size_t size = mapBytes(newLength);
    const std::size_t kept = std::min(size, scene.map.size());
    work.map.assign(size, 0xFF);
    if (atEnd)
        std::copy_n(scene.map.begin(), kept, work.map.begin());
    else
        std::copy_n(scene.map.end() - static_cast<std::ptrdiff_t>(kept), kept,
                    work.map.end() - static_cast<std::ptrdiff_t>(kept));
    work.length = static_cast<std::uint8_t>(newLength);

    Outcome<ResizeResult> result = repackMaps(rom, work);
    if (result.ok())
        scene = std::move(work);
    return result;
}

std::string resizeMapMessage(const Outcome<ResizeResult>& result)
{
    return result.ok() ? "Map size changed successfully!" : result.reason;
}

}  // namespace velmar
