// scenes/AASSCC.json: each scene of the area tree as its scene file (exchange/scene_file.h),
// imported through importScene like any scene file.
#include <memory>
#include <set>

#include "exchange/folder_section.h"
#include "exchange/scene_file.h"

namespace velmar::exchange {

namespace {

// What the scene files applied so far in one import have set: the values a stage's scenes share
// and those every scene shares come from the first file that holds them, and any later file must
// agree with it.
struct SharedSeen {
    bool any = false;
    std::set<int> stages;
};

bool stepped(const Outcome<SceneImportResult>& r) { return r.ok() || r.code == SceneImportResult::NoChange; }

bool blankScene(Document& doc, const SceneKey& key)
{
    if (!doc.selectScene(key).ok())
        return false;
    // The lengths and counts are the image's layout and stay; every value in them becomes 0.
    SceneDescription d = describeScene(doc.currentScene());
    std::fill(d.map.begin(), d.map.end(), 0);
    std::fill(d.enemies.begin(), d.enemies.end(), EnemyRecord{});
    std::fill(d.items.begin(), d.items.end(), ItemRecord{});
    d.startX = d.startY = 0;
    d.properties = {};
    return stepped(importScene(doc, d, SharedValues::Change));
}

FolderOutcome applyScene(Document& doc, const SceneKey& key, const Bytes& file, SharedSeen& seen)
{
    const std::string text(file.begin(), file.end());
    SceneDescription d;
    if (const Outcome<SceneImportResult> r = readSceneFile(text, d); !r.ok())
        return badFile(r.reason);
    if (const RomStatus status = doc.selectScene(key); !status.ok())
        return badFile("the scene cannot be read from the remainder: " + status.message());
    // Only values an earlier file set are compared: the others are this file's to set.
    SceneDescription compared = d;
    const SceneDescription here = describeScene(doc.currentScene());
    for (const ScenePropertyRow& row : scenePropertyRows()) {
        if ((row.sharing == Sharing::Stage && !seen.stages.contains(key.stage))
            || (row.sharing == Sharing::Game && !seen.any))
            compared.property(row.property) = here.property(row.property);
    }
    if (const std::vector<std::string> differ = sharedDifferences(doc.currentScene(), compared); !differ.empty()) {
        std::string reason = "values it shares with the scene files before it differ:";
        for (const std::string& line : differ)
            reason += "\n" + line;
        return badFile(reason);
    }
    if (const Outcome<SceneImportResult> r = importScene(doc, d, SharedValues::Change); !stepped(r))
        return badFile(r.reason);
    seen.any = true;
    seen.stages.insert(key.stage);
    return {};
}

}  // namespace

std::vector<FolderPart> sceneParts()
{
    auto seen = std::make_shared<SharedSeen>();
    std::vector<FolderPart> parts;
    for (const AreaNode& node : areaCatalogue()) {
        const std::optional<SceneKey> key = parseSceneKey(node.key);
        if (!key)
            continue;  // an act
        const auto describe = [key = *key](const Document& doc) -> std::optional<Bytes> {
            std::string text;
            if (!exportScene(doc.romData(), key, text).ok())
                return std::nullopt;
            return Bytes(text.begin(), text.end());
        };
        const auto blank = [key = *key](Document& doc) { return blankScene(doc, key); };
        const auto apply = [key = *key, seen](Document& doc, const Bytes& file) {
            return applyScene(doc, key, file, *seen);
        };
        // The key without "c:": a colon is no part of a file name on Windows.
        parts.push_back({"scenes/" + std::string(node.key.substr(2)) + ".json", describe, blank, apply});
    }
    return parts;
}

}  // namespace velmar::exchange
