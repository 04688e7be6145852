#include "bench_support.h"

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

}  // namespace velmar::bench
