// libFuzzer target: scene files and Tiled maps read into a scene of the sample's document. The
// input's last byte picks the scene and whether values other scenes share may change; the rest is
// the file, read both as a scene file and as a Tiled map.
//
// Promises checked:
//  - a file refused (whatever the reason) leaves the image as it was and records nothing;
//  - an accepted file is one step; the scene then exports as the file's canonical form (its
//    actor lists in the order the image keeps them), which reads back as the same scene;
//  - undoing the step gives back the image as it was.

#include "editor/document.h"
#include "exchange/scene_file.h"
#include "exchange/tiled_map.h"
#include "fuzz_support.h"

namespace {

using namespace velmar;

void check(Document& doc, const SceneDescription& d, SharedValues shared, const char* step)
{
    const Bytes before = doc.romData();
    const Outcome<SceneImportResult> r = importScene(doc, d, shared, step);
    if (!r.ok()) {
        if (doc.romData() != before || doc.history().size() != 0)
            fuzz::broken("a refused import changed the image");
        return;
    }
    if (doc.history().size() != 1)
        fuzz::broken("an import is not one step");
    const SceneDescription canonical = canonicalScene(d);
    if (describeScene(doc.currentScene()) != canonical)
        fuzz::broken("the imported scene is not what the file says");
    const std::string text = exportScene(doc);
    SceneDescription back;
    if (text != writeSceneFile(canonical) || !readSceneFile(text, back).ok() || back != canonical)
        fuzz::broken("the imported scene does not export as the file's canonical form");
    if (!doc.undo().ok() || doc.romData() != before)
        fuzz::broken("undoing an import does not give the image back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t control = data[size - 1];
    const std::string_view text(reinterpret_cast<const char*>(data), size - 1);
    const std::vector<SceneKey>& keys = fuzz::sceneKeys();
    const SceneKey key = keys[(control & 0x7F) % keys.size()];
    const SharedValues shared = control & 0x80 ? SharedValues::Change : SharedValues::Refuse;

    Document doc;
    if (!doc.openImage(fuzz::sampleImage(), "sample.nes").ok() || !doc.selectScene(key).ok())
        fuzz::broken("the sample's scene does not open");
    SceneDescription d;
    if (readSceneFile(text, d).ok())
        check(doc, d, shared, "Import Scene");
    if (readTiledMap(text, d).ok())
        check(doc, d, shared, "Import from Tiled");
    return 0;
}
