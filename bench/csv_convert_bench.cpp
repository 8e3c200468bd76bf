// How fast a full logger memory (2 million records, about 16 MiB) becomes CSV text: a general
// model whose columns come from its records (eight strain channels), and a fixed-column
// weather station. The model files are the ones the program ships in config/.
#include "core/base/Files.h"
#include "core/datafile/CFilCnv.h"
#include "core/datafile/CsvConversion.h"
#include "core/protocol/ModelRegistry.h"
#include "bench/BenchSupport.h"
#include "sim/image/DataImage.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

using namespace fenta21;

using bench::installedModels;
using bench::strainRecipe;

constexpr int kInstants = 250000;  // x 8 records = 2 million

sim::ImageRecipe weatherRecipe() {
    sim::ImageRecipe recipe;
    recipe.modelCode = "RGT1-01";
    recipe.intervalSeconds = 60;
    recipe.instants = kInstants;
    recipe.channels = {{0, 20, 31, 1}, {0, 72, 0, 1}, {0, 22, 88, 3}, {0, 73, 90, 1},
                       {0, 24, -600, 1}, {0, 5, -250, 1}, {0, 105, 0, 1}, {0, 0, 12600, -1}};
    return recipe;
}

void convertInMemory(benchmark::State& state, const sim::ImageRecipe& recipe) {
    const std::string image = sim::buildDataImage(recipe);
    CsvConversionContext context{identifyThrough(installedModels()), [](const std::string&) { return false; }};
    std::size_t csvBytes = 0;
    for (auto _ : state) {
        CsvConversion conversion = convertImageToCsv(image, "bench.v38", context);
        if (conversion.outcome != ConversionOutcome::Completed) state.SkipWithError("the conversion did not complete");
        csvBytes = conversion.csv.size();
        benchmark::DoNotOptimize(conversion.csv.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(sim::measurementCount(recipe)));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(image.size()));
    state.counters["csv_MiB"] = static_cast<double>(csvBytes) / (1024.0 * 1024.0);
}

void BM_GeneralModelInMemory(benchmark::State& state) { convertInMemory(state, strainRecipe()); }
void BM_FixedColumnModelInMemory(benchmark::State& state) { convertInMemory(state, weatherRecipe()); }

// The whole file path: read the data file, convert, write the CSV beside it (synced to disk).
void BM_GeneralModelFileToFile(benchmark::State& state) {
    sim::ImageRecipe recipe = strainRecipe();
    std::string folder = (std::filesystem::temp_directory_path() / "fenta21-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::string dataFile = folder + "/RS8.v38";
    writeFileAtomically(dataFile, sim::buildDataImage(recipe));
    bench::SilentHost host;
    CFilCnv converter(installedModels(), host, [&](const std::string& text) { state.SkipWithError(text.c_str()); });
    for (auto _ : state) benchmark::DoNotOptimize(converter.convertFile(dataFile).outcome);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(sim::measurementCount(recipe)));
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_GeneralModelInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FixedColumnModelInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GeneralModelFileToFile)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
