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
using rommap::kPatternBankCount;
using rommap::kScreenBytes;

StageValues stageOf(const SceneRecord& s)
{
    return {s.bkgBank,
            s.time,
            s.indicator,
            s.reload,
            {s.palSelectors[0], s.palSelectors[1], s.palSelectors[2], s.palSelectors[3]}};
}

// Why the image cannot hold `d`, or nullopt. The file readers refuse all of this with the place
// in the file; this guards the way in itself.
std::optional<std::string> unfitValue(const SceneDescription& d)
{
    if (d.length > kMaxMapLength)
        return "The length must be 00 to " + hexPad(kMaxMapLength, 2) + ".";
    if (d.map.size() != static_cast<std::size_t>(d.length + 1) * kScreenBytes)
        return std::string("The map does not have the cells its length needs.");
    if (d.direction != 0 && d.direction != 0x80)
        return std::string("The direction is 00 or 80.");
    if (d.sprBank > 0x0F || d.stage.bkgBank >= kPatternBankCount)
        return std::string("A bank the image does not have.");
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

void setShared(SceneRecord& s, const StageValues& v, const std::array<std::uint8_t, 4>& sprPalettes)
{
    s.bkgBank = v.bkgBank;
    s.time = v.time;
    s.indicator = v.indicator;
    s.reload = v.reload;
    for (std::size_t k = 0; k < 4; ++k)
        s.palSelectors[k] = v.bkgPalettes[k];
    s.palSelectors[4] = sprPalettes[0];
    s.palSelectors[5] = sprPalettes[1];
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
    d.direction = s.direction;
    d.map = s.map;
    d.startX = s.startX;
    d.startY = s.startY;
    d.sprBank = s.sprBank;
    for (std::size_t k = 0; k < 4; ++k)
        d.sprPalettes[k] = s.palSelectors[4 + k];
    d.enemies = s.enemies;
    d.items = s.items;
    d.stage = stageOf(s);
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
    const StageValues here = stageOf(scene);
    std::vector<std::string> out;
    addDifference(out, "stage BKG bank", here.bkgBank, d.stage.bkgBank);
    addDifference(out, "stage time", here.time, d.stage.time);
    addDifference(out, "stage indicator", here.indicator, d.stage.indicator);
    addDifference(out, "stage reload", here.reload, d.stage.reload);
    addDifference(out, "BKG palette 0 (every stage)", here.bkgPalettes[0], d.stage.bkgPalettes[0]);
    for (std::size_t k = 1; k < 4; ++k)
        addDifference(out, "stage BKG palette " + std::to_string(k), here.bkgPalettes[k], d.stage.bkgPalettes[k]);
    for (std::size_t k = 0; k < 2; ++k)
        addDifference(out, "SPR palette " + std::to_string(k) + " (every stage)", scene.palSelectors[4 + k],
                      d.sprPalettes[k]);
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
        s.direction = d.direction;
        s.startX = d.startX;
        s.startY = d.startY;
        s.sprBank = d.sprBank;
        s.palSelectors[6] = d.sprPalettes[2];
        s.palSelectors[7] = d.sprPalettes[3];
        s.enemies = d.enemies;
        s.items = d.items;
        if (shared == SharedValues::Change)
            setShared(s, d.stage, d.sprPalettes);
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
