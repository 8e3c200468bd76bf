// How fast a full logger memory (2 million records, eight strain channels) becomes a plot:
// from the file to the first picture, each frame of zooming and panning at 1920 pixels, and a
// headless PNG of the whole file beside the CSV conversion of the same file, in the same run.
//
//   plot_bench [benchmark options]     the benchmarks
//   plot_bench --write-image FILE      only writes the benchmark's data file (for plot_memory.sh)
#include "bench/BenchSupport.h"
#include "companion/plot/PictureFile.h"
#include "core/base/Files.h"
#include "core/datafile/CFilCnv.h"
#include "core/plot/DataFileSeries.h"
#include "core/plot/TimeWindow.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace {

using namespace fenta21;
using namespace fenta21::plot;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The data file, written once into a folder of its own that goes with the program.
struct BenchFolder {
    BenchFolder() {
        folder = (std::filesystem::temp_directory_path() / "fenta21-plot-bench-XXXXXX").string();
        if (mkdtemp(folder.data()) == nullptr) throw std::runtime_error("no temporary folder");
        dataFile = folder + "/FULL.v38";
        if (!writeFileAtomically(dataFile, sim::buildDataImage(bench::strainRecipe())))
            throw std::runtime_error("cannot write " + dataFile);
    }
    ~BenchFolder() { std::filesystem::remove_all(folder); }
    std::string folder;
    std::string dataFile;
};

const BenchFolder& files() {
    static BenchFolder folder;
    return folder;
}

void paintFrame(QImage& image, const PlotDocument& document, double from, double to) {
    QPainter painter(&image);
    PictureGeometry geometry = layoutPicture(document, from, to, QRectF(0, 0, kWidth, kHeight), pictureFont());
    paintPicture(painter, document, geometry, PictureText{QStringLiteral("FULL.v38"), pictureFont()},
                 static_cast<int>(geometry.plotArea.width()));
}

void notePeakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// From the file on disk to the first picture on the screen: read, series and summaries, draw.
void BM_OpenToFirstPicture(benchmark::State& state) {
    const std::string& path = files().dataFile;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        PlotDocument document;
        document.add(readDataFileSeriesAt(path, identifyThrough(bench::installedModels())));
        TimeWindow window;
        window.setExtent(static_cast<double>(document.extent()->first), static_cast<double>(document.extent()->second));
        paintFrame(image, document, window.from(), window.to());
        benchmark::DoNotOptimize(image.bits());
    }
    notePeakMemory(state);
}

const PlotDocument& openDocument() {
    static PlotDocument document = [] {
        PlotDocument opened;
        opened.add(readDataFileSeriesAt(files().dataFile, identifyThrough(bench::installedModels())));
        return opened;
    }();
    return document;
}

// One frame of a drag or a wheel notch: the range moves or narrows, and the picture is drawn
// afresh. The argument is the stretch shown: the whole file, a tenth of it, a day, an hour.
void frames(benchmark::State& state, bool zooming) {
    const PlotDocument& document = openDocument();
    TimeWindow window;
    window.setExtent(static_cast<double>(document.extent()->first), static_cast<double>(document.extent()->second));
    const double spans[] = {window.span(), window.span() / 10, 86400, 3600};
    const double middle = (window.from() + window.to()) / 2;
    window.show(middle - spans[state.range(0)] / 2, middle + spans[state.range(0)] / 2);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    bool forth = true;
    for (auto _ : state) {
        if (zooming) window.zoom(forth ? 0.85 : 1 / 0.85, middle);
        else window.pan((forth ? 1 : -1) * window.span() / 50);
        forth = !forth;
        paintFrame(image, document, window.from(), window.to());
        benchmark::DoNotOptimize(image.bits());
    }
}

void BM_PanFrame(benchmark::State& state) { frames(state, false); }
void BM_ZoomFrame(benchmark::State& state) { frames(state, true); }

// What "fenta21-cli plot FULL.v38 --out FULL.png" does once its process is up: read, summarise,
// draw, encode and write the PNG aside.
void BM_HeadlessPngOfTheWholeFile(benchmark::State& state) {
    const std::string out = files().folder + "/FULL.png";
    for (auto _ : state) {
        PlotDocument document;
        document.add(readDataFileSeriesAt(files().dataFile, identifyThrough(bench::installedModels())));
        auto extent = *document.extent();
        std::string problem = writePicture(out, document, static_cast<double>(extent.first),
                                           static_cast<double>(extent.second), QSize(kWidth, kHeight),
                                           PictureText{QStringLiteral("FULL.v38"), pictureFont()});
        if (!problem.empty()) state.SkipWithError(problem.c_str());
    }
    notePeakMemory(state);
}

// The CSV conversion of the same file, as "fenta21-cli csv" does it: read, convert, write aside.
void BM_CsvConversionOfTheWholeFile(benchmark::State& state) {
    bench::SilentHost host;
    CFilCnv converter(bench::installedModels(), host, [&](const std::string& text) { state.SkipWithError(text.c_str()); });
    for (auto _ : state) benchmark::DoNotOptimize(converter.convertFile(files().dataFile).outcome);
    notePeakMemory(state);
}

}  // namespace

BENCHMARK(BM_OpenToFirstPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanFrame)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomFrame)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeadlessPngOfTheWholeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvConversionOfTheWholeFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-image") == 0) {
        bool written = writeFileAtomically(argv[2], sim::buildDataImage(bench::strainRecipe()));
        if (!written) std::fprintf(stderr, "plot_bench: cannot write %s\n", argv[2]);
        return written ? 0 : 1;
    }
    // Pictures need Qt's fonts, not a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
