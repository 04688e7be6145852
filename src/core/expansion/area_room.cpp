#include "expansion/area_room.h"

#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"
#include "rom/address_map.h"
#include "text/text_codec.h"
#include "text/text_packer.h"

namespace velmar {

using namespace rommap;

std::optional<AreaRoom> mapAreaRoom(const Bytes& rom, const SceneRecord& scene, int newLength)
{
    if (newLength < 0 || newLength > 0x7F)
        return std::nullopt;
    MapTable table;
    if (!gatherMaps(rom, scene, table).ok())
        return std::nullopt;
    table[scene.scene].map.resize(static_cast<std::size_t>(newLength + 1) * kScreenBytes);
    // As the packer lays the maps down: one that would reach past 0x2400 starts at 0x3590.
    constexpr int firstStretch = kMapAreaGapFirst - kMapAreaStart;
    AreaRoom room{0, firstStretch + (kMapAreaLast + 1 - kMapAreaSecondStart), (newLength + 1) * kScreenBytes,
                  static_cast<int>(scene.map.size())};
    RomOffset at = kMapAreaStart;
    for (const MapEntry& entry : table) {
        const auto size = static_cast<RomOffset>(entry.map.size());
        if (at < kMapAreaSecondStart && at + size > kMapAreaGapFirst) {
            room.used += kMapAreaGapFirst - at;
            at = kMapAreaSecondStart;
        }
        room.used += size;
        at += size;
    }
    return room;
}

std::optional<AreaRoom> actorAreaRoom(const Bytes& rom, const SceneRecord& scene, int items, int enemies,
                                      RomOffset areaEnd)
{
    ActorTable table;
    if (!gatherActors(rom, scene, table).ok())
        return std::nullopt;
    AreaRoom room{0, areaEnd - kActorAreaStart, 2 * items + 3 * enemies, 2 * scene.itemCount + 3 * scene.enemyCount};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const bool edited = static_cast<int>(i) == scene.scene;
        room.used += 2 * (edited ? items : static_cast<int>(table[i].items.size()));
        room.used += 3 * (edited ? enemies : static_cast<int>(table[i].enemies.size()));
    }
    return room;
}

TextRoom measureTexts(const Bytes& rom, const CharTable& table, const std::vector<std::string>& texts,
                      RomOffset areaEnd)
{
    TextRoom out;
    out.room.capacity = areaEnd - kTextAreaStart;
    const CharIndex index(table);
    for (std::size_t n = 0; n < texts.size(); ++n) {
        // As the packer does: a text that reads as it stands keeps its bytes.
        if (const DecodedText stored = decodeText(rom, table, static_cast<int>(n));
            stored.status.ok() && stored.text == texts[n]) {
            out.sizes.push_back(stored.end - stored.start);
            out.errors.emplace_back();
        } else if (EncodedText e = encodeText(index, texts[n]); e.ok) {
            out.sizes.push_back(static_cast<int>(e.bytes.size()));
            out.errors.emplace_back();
        } else {
            out.sizes.push_back(-1);
            out.errors.push_back(std::move(e.error));
            continue;
        }
        out.room.used += out.sizes.back();
    }
    return out;
}

}  // namespace velmar
