// The recovery copy of unsaved edits: what the editor's own thread pays when the timer fires (a
// copy of the image), and what the writer's thread pays to put it on disk, or to read it back
// at start-up.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench_support.h"
#include "files/recovery.h"

namespace velmar::bench {
namespace {

std::filesystem::path benchFolder()
{
    const auto folder = std::filesystem::temp_directory_path() / "velmar-recovery-bench";
    std::filesystem::create_directories(folder);
    return folder;
}

// The window's share: the document's path, scene and image copied for the writer.
void BM_TakeRecoveryCopy(benchmark::State& state)
{
    Document doc;
    openSample(doc);
    for (auto _ : state) {
        RecoveryCopy copy{doc.path(), doc.sceneKey(), doc.rom()};
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_TakeRecoveryCopy)->Unit(benchmark::kMicrosecond);

// The writer's share: the copy laid out and written through a temporary file and a rename.
void BM_WriteRecoveryCopy(benchmark::State& state)
{
    Document doc;
    openSample(doc);
    const RecoveryCopy copy{doc.path(), doc.sceneKey(), doc.rom()};
    const auto file = benchFolder() / std::string(kRecoveryFileName);
    for (auto _ : state) {
        if (!writeRecoveryCopy(file, copy).ok()) {
            state.SkipWithError("the copy could not be written");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(recoveryFileBytes(copy).size()));
}
BENCHMARK(BM_WriteRecoveryCopy)->Unit(benchmark::kMicrosecond);

// Start-up with a copy to offer: read and checked.
void BM_ReadRecoveryCopy(benchmark::State& state)
{
    Document doc;
    openSample(doc);
    const auto file = benchFolder() / std::string(kRecoveryFileName);
    if (!writeRecoveryCopy(file, {doc.path(), doc.sceneKey(), doc.rom()}).ok()) {
        state.SkipWithError("the copy could not be written");
        return;
    }
    for (auto _ : state) {
        RecoveryCopy read;
        if (!readRecoveryCopy(file, read).ok()) {
            state.SkipWithError("the copy could not be read");
            return;
        }
        benchmark::DoNotOptimize(read);
    }
}
BENCHMARK(BM_ReadRecoveryCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmar::bench
