#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "expansion/actor_packer.h"
#include "expansion/map_packer.h"
#include "rom/scene_codec.h"

namespace velmar::bench {
namespace {

// The packers rewrite the whole area of all 48 scenes. One warm-up pass brings the image to the
// packer's own layout; from then on repacking an unchanged scene writes the same bytes again, so
// every timed iteration starts from the same image.

void BM_RepackMaps(benchmark::State& state)
{
    Bytes rom = sampleRomData();
    SceneRecord scene;
    if (!loadScene(rom, 0, 0, scene).ok() || !repackMaps(rom, scene).ok()) {
        state.SkipWithError("the sample maps do not repack");
        return;
    }
    const Bytes packed = rom;
    for (auto _ : state) {
        if (!repackMaps(rom, scene).ok()) {
            state.SkipWithError("repacking failed");
            return;
        }
        benchmark::ClobberMemory();
    }
    if (rom != packed)
        state.SkipWithError("repacking an unchanged scene moved the maps");
}
BENCHMARK(BM_RepackMaps);

void BM_RepackActors(benchmark::State& state)
{
    Bytes rom = sampleRomData();
    const RomOffset areaEnd = actorAreaEnd(rom);
    SceneRecord scene;
    if (!loadScene(rom, 0, 0, scene).ok() || !repackActors(rom, scene, areaEnd).ok()) {
        state.SkipWithError("the sample actors do not repack");
        return;
    }
    const Bytes packed = rom;
    for (auto _ : state) {
        if (!repackActors(rom, scene, areaEnd).ok()) {
            state.SkipWithError("repacking failed");
            return;
        }
        benchmark::ClobberMemory();
    }
    if (rom != packed)
        state.SkipWithError("repacking an unchanged scene moved the actors");
}
BENCHMARK(BM_RepackActors);

}  // namespace
}  // namespace velmar::bench
