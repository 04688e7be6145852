#include "bench_support.h"

#include <cstdio>
#include <cstdlib>

#include "editor/document.h"
#include "rom/scene_codec.h"
#include "sample/sample_rom.h"

namespace velmar::bench {

const Bytes& sampleRomData()
{
    static const Bytes rom = buildSampleRom().romData;
    return rom;
}

const std::vector<SceneKey>& catalogueScenes()
{
    static const std::vector<SceneKey> keys = [] {
        std::vector<SceneKey> out;
        for (const AreaNode& node : areaCatalogue()) {
            if (const auto key = parseSceneKey(node.key))
                out.push_back(*key);
        }
        return out;
    }();
    return keys;
}

void openSample(Document& doc)
{
    static const RomImage image = buildSampleRom();
    // A bench on anything but the sample would time nothing worth knowing: stop there.
    if (!doc.openImage(image, "sample.nes").ok() || !doc.selectScene(catalogueScenes().front()).ok()) {
        std::fprintf(stderr, "the sample image does not open\n");
        std::abort();
    }
}

SceneKey longestScene()
{
    SceneKey best{};
    int bestLength = -1;
    for (const SceneKey& key : catalogueScenes()) {
        SceneRecord s;
        if (loadScene(sampleRomData(), key.stage, key.scene, s).ok() && s.length > bestLength) {
            bestLength = s.length;
            best = key;
        }
    }
    return best;
}

}  // namespace velmar::bench
