// A 128 KiB collection from the simulated logger paced at 115200 bit/s, against the floor of
// XMODEM-1K on such a line: 1029 bytes a block at ten bits a byte, plus one ACK byte a block.
#include "core/session/Session.h"
#include "core/app/Startup.h"
#include "core/collect/CollectResult.h"
#include "core/collect/CollectionSession.h"
#include "core/serial/Channel.h"
#include "sim/PtyServer.h"
#include "sim/SimLogger.h"
#include "sim/image/DataImage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>

namespace {

using namespace fenta21;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kLineSpeed = 115200;
constexpr std::size_t kImageBytes = 128 * 1024;

// Stamps the start byte and the ACK of EOT as the logger hears them.
class TimedLogger : public sim::SimDevice {
public:
    explicit TimedLogger(sim::SimLogger& logger) : logger_(logger) {}
    std::string receive(std::string_view bytes) override {
        int before = logger_.transfersCompleted();
        bool pending = logger_.transferPending();
        std::string out = logger_.receive(bytes);
        std::lock_guard lock(mutex_);
        if (pending && bytes.find('C') != std::string_view::npos && !started_) started_ = Clock::now();
        if (logger_.transfersCompleted() > before) ended_ = Clock::now();
        return out;
    }
    void setLineSpeed(std::uint32_t bps) override { logger_.setLineSpeed(bps); }
    double seconds() const {
        std::lock_guard lock(mutex_);
        return started_ && ended_ ? std::chrono::duration<double>(*ended_ - *started_).count() : 0;
    }

private:
    sim::SimLogger& logger_;
    mutable std::mutex mutex_;
    std::optional<Clock::time_point> started_, ended_;
};

class SilentHost : public Host {
public:
    void report(const std::string&) override {}
    Answer ask(Question, const std::string&) override { return Answer::No; }
    std::vector<std::string> chooseOpenFiles(const OpenFileRequest&) override { return {}; }
    std::string chooseSaveFile(const std::string&, const std::string& s) override { return s; }
    std::string chooseFolder(const std::string&) override { return {}; }
    void showNotice(const std::string&) override {}
    void hideNotice() override {}
    int runModal(const ModalSpec&, std::atomic<int>& flag, const std::function<int(ModalContext&)>& worker) override {
        ModalContext context(flag);
        return worker(context);
    }
    void openTextFile(const std::string&) override {}
};

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

void BM_Collect128KiBAt115200(benchmark::State& state) {
    namespace fs = std::filesystem;
    fs::path root = fs::temp_directory_path() / "fenta21-collection-bench";
    fs::remove_all(root);
    fs::create_directories(root / "home");
    fs::create_directories(root / "data");

    sim::ImageRecipe recipe;
    recipe.instants = static_cast<int>((kImageBytes - sim::kHeaderAreaBytes) / 8 / 4) - 8;
    recipe.channels = {{0, 1, 0, 1, 0}, {1, 2, 0, 1, 0}, {2, 3, 0, 1, 0}, {3, 4, 0, 1, 0}};
    recipe.minimumBytes = kImageBytes;
    std::string image = sim::buildDataImage(recipe);

    sim::SimLogger logger;
    logger.setMemoryImage(image);
    TimedLogger timed(logger);
    std::string link = (root / "ttyLOGGER").string();
    sim::PtyServer server(link, timed);
    server.setPace(kLineSpeed);
    if (!server.start()) {
        state.SkipWithError(server.error().c_str());
        return;
    }
    SilentHost host;
    SystemClock clock(1.0);
    Session session((root / "home").string(), host, clock);
    startUp(session);
    session.csvConverter = nullptr;
    session.settings.dataFileName = "BENCH";
    session.channel()->deviceOverride = link;
    session.channel()->baudRate.store(kLineSpeed);
    openChannel(session.channel());
    session.line.setState(LineState::Linked);
    session.line.setCollectCommand(CollectCommand::AllCopy);

    double cpu = 0;
    for (auto _ : state) {
        double cpuBefore = threadCpuSeconds();
        int result = collect(session, -1);
        cpu = threadCpuSeconds() - cpuBefore;
        if (result != kCollectOk) state.SkipWithError("the collection failed");
        state.SetIterationTime(timed.seconds());
    }
    double blocks = static_cast<double>(image.size()) / 1024.0;
    double floor = (blocks * 1029 + blocks + 2) * 10 / kLineSpeed;
    state.counters["transfer_s"] = timed.seconds();
    state.counters["floor_s"] = floor;
    state.counters["over_floor_pct"] = (timed.seconds() / floor - 1) * 100;
    state.counters["receiver_cpu_ms"] = cpu * 1000;
    closeChannel(session.channel());
    server.stop();
    fs::remove_all(root);
}
BENCHMARK(BM_Collect128KiBAt115200)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
