#include <benchmark/benchmark.h>

#include <cstring>

#include "bench_support.h"
#include "editor/document.h"
#include "editor/edits.h"
#include "gfx/background_editor_views.h"
#include "gfx/metatile_render.h"
#include "mapview/scene_view.h"
#include "rom/scene_codec.h"

namespace velmar::bench {
namespace {

// What selecting each scene of the tree in turn decodes: record, both pattern banks, metatiles.
void BM_LoadAllScenes(benchmark::State& state)
{
    Document editor;
    openSample(editor);
    for (auto _ : state) {
        for (const SceneKey& key : catalogueScenes()) {
            if (!editor.selectScene(key).ok()) {
                state.SkipWithError("a sample scene does not load");
                return;
            }
        }
        benchmark::DoNotOptimize(editor.currentScene());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(catalogueScenes().size()));
}
BENCHMARK(BM_LoadAllScenes);

// Storing one unchanged scene with its two banks, for every scene of the tree: the store, the
// decoding afresh and the comparison that every edit pays, with nothing to record.
void BM_StoreAllScenes(benchmark::State& state)
{
    Document editor;
    openSample(editor);
    for (auto _ : state) {
        for (const SceneKey& key : catalogueScenes()) {
            if (!editor.selectScene(key).ok() || edits::storeScene(editor).code != EditResult::NoChange) {
                state.SkipWithError("a sample scene does not store back unchanged");
                return;
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(catalogueScenes().size()));
}
BENCHMARK(BM_StoreAllScenes);

// A whole scene switch onto the longest scene, as the main window does it: load the new scene, decode its banks, load
// its metatile tables, draw the 256-metatile sheet, render the map and compose every actor.
void BM_SceneSwitchToLongest(benchmark::State& state)
{
    Document editor;
    openSample(editor);
    const SceneKey target = longestScene();
    SceneView view;
    for (auto _ : state) {
        if (!editor.selectScene(target).ok()) {
            state.SkipWithError("the switch failed");
            return;
        }
        redrawSceneView(editor.romData(), editor.scene(), view);
        benchmark::DoNotOptimize(view.map.pixels().data());
    }
    state.counters["screens"] = editor.currentScene().length + 1;
    state.counters["actors"] = static_cast<double>(view.enemies.size() + view.items.size() + 1);
}
BENCHMARK(BM_SceneSwitchToLongest)->Unit(benchmark::kMicrosecond);

// The reference for the switch: a plain memcpy of as many pixels as the map and the sheet hold,
// so the ratio of the two can be compared across machines.
void BM_MemcpyMapAndSheetPixels(benchmark::State& state)
{
    SceneRecord s;
    const SceneKey target = longestScene();
    if (!loadScene(sampleRomData(), target.stage, target.scene, s).ok()) {
        state.SkipWithError("the longest scene cannot be read");
        return;
    }
    const std::size_t pixels = static_cast<std::size_t>(mapWidth(s)) * kMapHeight + kSheetSize * kSheetSize;
    std::vector<ScreenColour> from(pixels, 0x123456), to(pixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), pixels * sizeof(ScreenColour));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(pixels * sizeof(ScreenColour)));
}
BENCHMARK(BM_MemcpyMapAndSheetPixels)->Unit(benchmark::kMicrosecond);

// Painting one pixel of a background tile and redrawing the background editor's five views.
void BM_PaintPixelAndRedrawBackgroundEditor(benchmark::State& state)
{
    Document doc;
    openSample(doc);
    SceneState editor = doc.scene();
    BackgroundEditorViews views;
    BackgroundEditorSelection sel;
    sel.tile = 0x21;
    sel.subtile = 0x10;
    sel.metatile = 0x05;
    std::uint8_t colour = 0;
    for (auto _ : state) {
        colour = static_cast<std::uint8_t>((colour + 1) & 3);
        editor.bkgPatterns[sel.tile * 64 + 9] = colour;
        redrawAll(views, editor.bkgPatterns, editor.metatiles, editor.currentScene.palette, sel);
        benchmark::DoNotOptimize(views.patternTable.pixels().data());
    }
}
BENCHMARK(BM_PaintPixelAndRedrawBackgroundEditor)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmar::bench
