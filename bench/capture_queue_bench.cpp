// How fast the serial channel can hand bytes to the communication monitor.
#include "core/serial/CaptureQueue.h"

#include <benchmark/benchmark.h>

#include <vector>

static void BM_CaptureBlocks(benchmark::State& state) {
    fenta21::CaptureQueue queue;
    std::vector<std::uint8_t> block(1029, 0x55);
    for (auto _ : state) {
        queue.capture(block.data(), block.size(), fenta21::CaptureDirection::Received);
        benchmark::DoNotOptimize(queue.drain(block.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(block.size()));
}
BENCHMARK(BM_CaptureBlocks);

BENCHMARK_MAIN();
