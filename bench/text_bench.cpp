#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "text/text_packer.h"

namespace velmar::bench {
namespace {

CharTable defaultTable()
{
    CharTable table;
    applyDefaultCharTable(table);
    return table;
}

void BM_DecodeAllTexts(benchmark::State& state)
{
    const Bytes& rom = sampleRomData();
    const CharTable table = defaultTable();
    for (auto _ : state) {
        TextList list = decodeAllTexts(rom, table);
        if (!list.status.ok()) {
            state.SkipWithError("the sample texts do not decode");
            return;
        }
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(BM_DecodeAllTexts);

// Closing the text editor: encode all 113 texts and pack them. After a warm-up pass the texts lie
// the packer's way, so every iteration writes the same bytes again.
void BM_PackTexts(benchmark::State& state)
{
    Bytes rom = sampleRomData();
    const CharTable table = defaultTable();
    const RomOffset areaEnd = textAreaEnd(rom);
    const TextList list = decodeAllTexts(rom, table);
    if (!list.status.ok() || !packTexts(rom, table, list.texts, areaEnd).ok()) {
        state.SkipWithError("the sample texts do not pack");
        return;
    }
    const Bytes packed = rom;
    for (auto _ : state) {
        if (!packTexts(rom, table, list.texts, areaEnd).ok()) {
            state.SkipWithError("packing failed");
            return;
        }
        benchmark::ClobberMemory();
    }
    if (rom != packed)
        state.SkipWithError("packing unchanged texts moved them");
}
BENCHMARK(BM_PackTexts);

}  // namespace
}  // namespace velmar::bench
