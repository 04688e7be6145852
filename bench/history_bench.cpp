// The edit history on the longest scene of the sample: what one edit costs to carry out and
// record, and what undoing or redoing one step costs, without the repaint.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "editor/edits.h"

namespace velmar::bench {
namespace {

// One "Place Metatile" on the longest scene, each one a change: the cell is set, the scene and
// its two banks stored, the scene decoded afresh, the image compared with the last state and
// the changed bytes recorded.
void BM_RecordOneStepOnLongestScene(benchmark::State& state)
{
    Document doc;
    openSample(doc);
    if (!doc.selectScene(longestScene()).ok()) {
        state.SkipWithError("the longest scene cannot be shown");
        return;
    }
    const MapCell right{(doc.currentScene().length + 1) * 8 - 1, 5};
    std::uint8_t metatile = 0;
    for (auto _ : state) {
        metatile = static_cast<std::uint8_t>(metatile == doc.currentScene().map.back() ? metatile + 1 : metatile);
        if (edits::placeMetatile(doc, right, metatile).code != EditResult::Recorded) {
            state.SkipWithError("the edit was not recorded");
            return;
        }
        ++metatile;
    }
    state.counters["steps kept"] = static_cast<double>(doc.history().size());
}
BENCHMARK(BM_RecordOneStepOnLongestScene)->Unit(benchmark::kMicrosecond);

// Undo and redo of one step on the longest scene, each putting the bytes back and decoding the
// scene afresh: two operations per iteration.
void BM_UndoAndRedoOneStep(benchmark::State& state)
{
    Document doc;
    openSample(doc);
    if (!doc.selectScene(longestScene()).ok()) {
        state.SkipWithError("the longest scene cannot be shown");
        return;
    }
    if (!edits::placeMetatile(doc, {0, 0}, static_cast<std::uint8_t>(doc.currentScene().map[0] + 1)).ok()) {
        state.SkipWithError("the step to undo was not made");
        return;
    }
    for (auto _ : state) {
        if (!doc.undo().ok() || !doc.redo().ok()) {
            state.SkipWithError("undo or redo failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_UndoAndRedoOneStep)->Unit(benchmark::kMicrosecond);

// A resize of the longest map, undone: the largest steps a user makes (every scene's map moves).
void BM_ResizeMapAndUndo(benchmark::State& state)
{
    Document doc;
    openSample(doc);
    if (!doc.selectScene(catalogueScenes().front()).ok()) {
        state.SkipWithError("the first scene cannot be shown");
        return;
    }
    const int length = doc.currentScene().length;
    for (auto _ : state) {
        if (!edits::resizeMap(doc, length + 1, true).ok() || !doc.undo().ok()) {
            state.SkipWithError("the resize or its undo failed");
            return;
        }
    }
}
BENCHMARK(BM_ResizeMapAndUndo)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmar::bench
