#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "gfx/pattern_tiles.h"
#include "rom/scene_codec.h"

namespace velmar::bench {
namespace {

struct OpenScene {
    SceneRecord scene;
    PixelArray sprPatterns;
    PixelArray bkgPatterns;
    MetatileTables tables;
};

bool openScene(const Bytes& rom, const SceneKey& key, OpenScene& open)
{
    return loadScene(rom, key.stage, key.scene, open.scene).ok()
        && loadChrBank(rom, open.sprPatterns, open.scene.sprBank).ok()
        && loadChrBank(rom, open.bkgPatterns, open.scene.bkgBank).ok()
        && loadMetatileTables(rom, open.scene, open.tables).ok();
}

// What selecting each scene of the tree in turn decodes: record, both pattern banks, metatiles.
void BM_LoadAllScenes(benchmark::State& state)
{
    const Bytes& rom = sampleRomData();
    OpenScene open;
    for (auto _ : state) {
        for (const SceneKey& key : catalogueScenes()) {
            if (!openScene(rom, key, open)) {
                state.SkipWithError("a sample scene does not load");
                return;
            }
            benchmark::DoNotOptimize(open);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(catalogueScenes().size()));
}
BENCHMARK(BM_LoadAllScenes);

// What leaving each scene of the tree writes back: record and both pattern banks. Storing
// unchanged scenes writes the bytes that are there, so every iteration starts from the same image.
void BM_StoreAllScenes(benchmark::State& state)
{
    Bytes rom = sampleRomData();
    std::vector<OpenScene> scenes(catalogueScenes().size());
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        if (!openScene(rom, catalogueScenes()[i], scenes[i])) {
            state.SkipWithError("a sample scene does not load");
            return;
        }
    }
    for (auto _ : state) {
        for (OpenScene& open : scenes) {
            const bool ok = storeScene(rom, open.scene).ok()
                && saveChrBank(rom, open.sprPatterns, open.scene.sprBank).ok()
                && saveChrBank(rom, open.bkgPatterns, open.scene.bkgBank).ok();
            if (!ok) {
                state.SkipWithError("a sample scene does not store");
                return;
            }
        }
        benchmark::ClobberMemory();
    }
    if (rom != sampleRomData())
        state.SkipWithError("storing unchanged scenes changed the image");
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(scenes.size()));
}
BENCHMARK(BM_StoreAllScenes);

}  // namespace
}  // namespace velmar::bench
