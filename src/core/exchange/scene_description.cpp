#include "exchange/scene_description.h"

#include <optional>

#include "actors/map_end.h"
#include "rom/actor_sort.h"
#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"
#include "base/hex.h"
#include "rom/scene_codec.h"

namespace velmar {

namespace {

using rommap::kMaxMapLength;
using rommap::kScreenBytes;

// Why the image cannot hold `d`, or nullopt. The file readers refuse all of this with the place
// in the file; this guards the way in itself.
std::optional<std::string> unfitValue(const SceneDescription& d)
{
    if (d.length > kMaxMapLength)
        return "The length must be 00 to " + hexPad(kMaxMapLength, 2) + ".";
    if (d.map.size() != static_cast<std::size_t>(d.length + 1) * kScreenBytes)
        return std::string("The map does not have the cells its length needs.");
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        if (auto refusal = propertyValueRefusal(row, d.property(row.property)))
            return refusal;
    }
    if (d.enemies.size() > 0xFF || d.items.size() > 0xFF)
        return std::string("A scene holds at most FF enemies and FF items.");
    for (const ItemRecord& item : d.items) {
        if (item.id > 0x0F || (item.y & 0x0F) != 0)
            return std::string("An item's type and row are 0 to F.");
    }
    return std::nullopt;
}

// An actor the description puts past the end of its map, which the scene does not already hold
// there: refused as every other way of placing an actor refuses it.
std::optional<std::string> pastTheEnd(const SceneRecord& scene, const SceneDescription& d)
{
    SceneRecord after;
    after.length = d.length;
    after.enemies = d.enemies;
    after.items = d.items;
    const std::vector<ActorRef> placed = placedBeyondEnd(scene, after);
    if (placed.empty())
        return std::nullopt;
    const ActorRef first = placed.front();
    return std::string(first.kind == ActorKind::Enemy ? "Enemy " : "Item ")
        + hexPad(static_cast<std::int64_t>(first.index), 2) + " (counted from 00 in the file's order) lies past the "
        + "map's end. " + beyondEndReason(*actorAt(after, first.kind, first.index), d.length);
}

void addDifference(std::vector<std::string>& out, const std::string& name, std::uint8_t here, std::uint8_t file)
{
    if (here != file)
        out.push_back(name + ": " + hexPad(here, 2) + " here, " + hexPad(file, 2) + " in the file");
}

}  // namespace

SceneDescription describeScene(const SceneRecord& s)
{
    SceneDescription d;
    d.length = s.length;
    d.map = s.map;
    d.startX = s.startX;
    d.startY = s.startY;
    d.enemies = s.enemies;
    d.items = s.items;
    d.properties = propertyValues(s);
    return d;
}

SceneDescription canonicalScene(SceneDescription d)
{
    sortActorRecords(d.items, true);
    sortActorRecords(d.enemies, true);
    return d;
}

std::vector<std::string> sharedDifferences(const SceneRecord& scene, const SceneDescription& d)
{
    std::vector<std::string> out;
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        if (row.sharing == Sharing::Scene)
            continue;
        const std::string name = row.sharing == Sharing::Stage ? "stage " + std::string(row.label)
                                                               : row.label + std::string(" (every stage)");
        addDifference(out, name, propertyValue(scene, row), d.property(row.property));
    }
    return out;
}

Outcome<SceneImportResult> importScene(Document& doc, const SceneDescription& d, SharedValues shared,
                                       const std::string& stepName)
{
    using R = Outcome<SceneImportResult>;
    if (!doc.hasScene())
        return R::failure(SceneImportResult::Refused, "No scene is shown.");
    if (const auto unfit = unfitValue(d))
        return R::failure(SceneImportResult::Refused, *unfit);
    if (const auto past = pastTheEnd(doc.currentScene(), d))
        return R::failure(SceneImportResult::Refused, *past);
    const std::vector<std::string> differences = sharedDifferences(doc.currentScene(), d);
    if (shared == SharedValues::Refuse && !differences.empty()) {
        std::string reason = "Values other scenes share differ:";
        for (const std::string& line : differences)
            reason += "\n" + line;
        return R::failure(SceneImportResult::SharedDiffer, reason);
    }

    const RomOffset areaEnd = doc.actorAreaEnd();
    std::string refusal;
    const Outcome<EditResult> edit = doc.edit({stepName, part::All, Document::kFocusNone}, [&](EditContext& c) {
        Bytes& rom = c.image();
        SceneRecord& s = c.scene().currentScene;
        // The packers make the room first (every scene's tables move); the lists and the map are
        // then filled in place and stored with the scene.
        const auto made = [&](const Outcome<ResizeResult>& r) {
            if (r.ok() || r.code == ResizeResult::Unchanged)
                return true;
            refusal = r.reason;
            return false;
        };
        if (!made(resizeMap(rom, s, d.length, true))
            || !made(resizeItems(rom, s, static_cast<int>(d.items.size()), areaEnd))
            || !made(resizeEnemies(rom, s, static_cast<int>(d.enemies.size()), areaEnd)))
            return false;
        s.map = d.map;
        s.startX = d.startX;
        s.startY = d.startY;
        s.enemies = d.enemies;
        s.items = d.items;
        for (const ScenePropertyRow& row : scenePropertyRows()) {
            if (row.sharing == Sharing::Scene || shared == SharedValues::Change)
                setPropertyValue(s, row, d.property(row.property));
        }
        // New selectors show the colours the image holds under them (as "Edit Palette
        // Selector" does); storing the old colours there would change other scenes' palettes.
        if (const RomStatus status = loadScenePalettes(rom, s, false); !status.ok()) {
            refusal = status.message();
            return false;
        }
        return true;
    });
    switch (edit.code) {
    case EditResult::Recorded: return {};
    case EditResult::NoChange: return R::failure(SceneImportResult::NoChange, {});
    case EditResult::Refused: return R::failure(SceneImportResult::Refused, refusal.empty() ? edit.reason : refusal);
    case EditResult::Failed: break;
    }
    return R::failure(SceneImportResult::Refused, edit.reason);
}

}  // namespace velmar
