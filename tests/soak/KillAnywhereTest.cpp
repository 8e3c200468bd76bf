// fenta21-cli collect killed with SIGKILL at chosen moments of a collection from the paced
// simulator: at the collection command, before the first block, in mid-transfer, at the ACK
// of the EOT (while the file is stored), between the file's rename and "clear", at "clear",
// and at a random time. After every kill the data folder holds whole data files or none (a
// temporary file may stay, for the next start to clear away), and the next collection gets
// every record not stored yet: the stored files together hold the logger's memory without a
// gap. FENTA21_KILL_POINTS (default 35) and FENTA21_SOAK_SEED choose the kills.
#include "sim/CollectionImage.h"
#include "sim/PtyServer.h"
#include "tests/soak/GrowingImage.h"
#include "tests/support/LineTap.h"
#include "tests/soak/SoakChecks.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

enum KillPoint { kAtCommand, kAtStart, kMidTransfer, kAtEotAck, kAfterRename, kAtClear, kAnyTime, kPointCount };
constexpr const char* kPointNames[] = {"the collection command", "the start byte",       "mid-transfer",
                                       "the EOT's ACK",          "rename before clear", "\"clear\"",
                                       "a random time"};
constexpr int kKilledStatus = 128 + SIGKILL;

bool isDataFile(const std::string& name) { return fs::path(name).extension() == ".v38"; }
bool isTransferTemporary(const std::string& name) { return name.rfind("XDM-", 0) == 0; }
// The CSV is written under "<name>.csv.tmp<process id>-<random>" and renamed when whole.
bool isCsvTemporary(const std::string& name) { return name.find(".csv.tmp") != std::string::npos; }

// Kills the program at most once and never once it has been waited for, whichever thread asks:
// a process id that has been reaped may already name another process.
class Killer {
public:
    explicit Killer(BackgroundProcess& process) : process_(&process) {}
    void kill() {
        std::lock_guard lock(mutex_);
        if (process_ && !sent_) process_->signal(SIGKILL);
        sent_ = true;
    }
    bool sent() {
        std::lock_guard lock(mutex_);
        return sent_;
    }
    // The exit status; a program that never ends is killed after a minute.
    int waitForEnd() {
        for (auto until = std::chrono::steady_clock::now() + 60s; std::chrono::steady_clock::now() < until;) {
            {
                std::lock_guard lock(mutex_);
                if (auto status = process_->waitFor(0ms)) {
                    process_ = nullptr;
                    return *status;
                }
            }
            std::this_thread::sleep_for(2ms);
        }
        std::lock_guard lock(mutex_);
        int status = process_->stop(SIGKILL);
        process_ = nullptr;
        return status;
    }

private:
    std::mutex mutex_;
    BackgroundProcess* process_;
    bool sent_ = false;
};

class KillAnywhere : public ::testing::Test {
protected:
    KillAnywhere() {
        installConfiguration(home);
        fs::create_directory(dataFolder);
        home.write("comports.txt", "COM1 " + link + "\n");
        server.setPace(115200);
        if (!server.start()) throw std::runtime_error(server.error());
    }
    ~KillAnywhere() override { server.stop(); }

    std::vector<std::string> command() const {
        return {FENTA21_CLI_PATH, "--home", home.path(), "collect", "--port", "COM1", "--speed", "5"};
    }
    // Every program run starts its calendar a minute later, so each names its file anew.
    std::map<std::string, std::string> environment() {
        CalendarTime t = addSeconds({2026, 12, 8, 9, 0, 0}, 60LL * runs++);
        char start[32];
        std::snprintf(start, sizeof start, "%04d-%02d-%02dT%02d:%02d:00", t.year, t.month, t.day, t.hour, t.minute);
        return {{"FENTA21_TIME_SCALE", "0.05"}, {"FENTA21_START_TIME", start}};
    }
    std::vector<std::string> newDataFiles(const std::vector<std::string>& before) const {
        std::vector<std::string> names;
        for (const auto& name : folderEntries(dataFolder))
            if (isDataFile(name) && std::find(before.begin(), before.end(), name) == before.end()) names.push_back(name);
        return names;
    }

    // Starts a collection and kills it at the point; true when the kill ended it.
    bool killAt(KillPoint point, std::chrono::milliseconds anyTime, const std::string& when) {
        auto before = folderEntries(dataFolder);
        const int clearsBefore = tap.clearsSeen();
        BackgroundProcess cli(command(), home.root() + "/collect.log", environment());
        Killer killer(cli);
        auto kill = [&killer] { killer.kill(); };
        std::atomic<bool> watching{point == kAfterRename || point == kAnyTime};
        std::thread watcher;
        switch (point) {
            case kAtCommand: tap.at(LineTap::kAtCommand, kill); break;
            case kAtStart: tap.at(LineTap::kAtStart, kill); break;
            case kMidTransfer: tap.at(random.pick(1, image.blocks() - 1), kill); break;
            case kAtEotAck: tap.at(image.blocks() + 1, kill); break;
            case kAtClear: tap.onClear(kill); break;
            case kAfterRename:
                // The file under its name, "clear" not yet sent: the program waits 2 s (scaled)
                // between the two, far longer than this look takes.
                watcher = std::thread([&] {
                    while (watching && newDataFiles(before).empty()) std::this_thread::sleep_for(200us);
                    if (watching && tap.clearsSeen() == clearsBefore) {
                        killer.kill();
                        ++windowHits;
                    }
                });
                break;
            case kAnyTime:
                watcher = std::thread([&, anyTime] {
                    for (auto until = std::chrono::steady_clock::now() + anyTime; watching && std::chrono::steady_clock::now() < until;)
                        std::this_thread::sleep_for(1ms);
                    if (watching) killer.kill();
                });
                break;
            default: break;
        }
        int status = killer.waitForEnd();
        watching = false;
        if (watcher.joinable()) watcher.join();
        tap.reset();
        tap.onClear(nullptr);
        if (status != kKilledStatus && status != 0) problems.push_back(when + ": " + cli.output());
        return status == kKilledStatus;
    }

    // What the data folder must hold at any time: whole data files, and perhaps a temporary one.
    void checkFolder(const std::string& when) {
        for (const auto& name : folderEntries(dataFolder)) {
            if (!isDataFile(name)) continue;
            std::string problem = wholeCopyProblem(readFileBytes(dataFolder + "/" + name), image.image());
            if (!problem.empty()) {
                ++partialFiles;
                problems.push_back(when + ": " + name + " " + problem);
            }
        }
        for (const auto& problem : logLayoutProblems(home.path())) problems.push_back(when + ": " + problem);
    }

    // The next collection, to its end: then every record is in a stored file and nothing is
    // left of the killed one's temporary files: the next start clears them away.
    std::chrono::milliseconds collectToTheEnd(const std::string& when) {
        auto start = std::chrono::steady_clock::now();
        ProcessResult result = runProcess(command(), environment(), home.root());
        auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        if (result.exitCode != 0 && result.exitCode != 4) problems.push_back(when + ": next collection: " + result.err);
        std::vector<RecordSpan> spans;
        for (const auto& name : folderEntries(dataFolder)) {
            if (isDataFile(name)) spans.push_back(*recordSpan(readFileBytes(dataFolder + "/" + name)));
            if (isTransferTemporary(name)) problems.push_back(when + ": the next collection left " + name);
        }
        std::string gap = coverageGap(spans, sim::kImageHeaderSize, sim::imageEndOffset(image.image()));
        if (!gap.empty()) problems.push_back(when + ": " + gap);
        if (logger.collectedMark() != sim::imageEndOffset(image.image()))
            problems.push_back(when + ": the next collection did not collect everything");
        return took;
    }

    TempHome home;
    std::string dataFolder = home.root() + "/data";
    std::string link = home.root() + "/ttyLOGGER";
    sim::SimLogger logger;
    LineTap tap{logger};
    sim::PtyServer server{link, tap};
    Random random{static_cast<unsigned>(soakNumber("FENTA21_SOAK_SEED", 1))};
    // A few blocks at first, a dozen or so after forty kills; one record an instant.
    GrowingImage image{logger, {400, 500, 10, 40, 1 << 30, 1}};
    int runs = 0;
    int windowHits = 0;
    int partialFiles = 0;
    std::vector<std::string> problems;
};

TEST_F(KillAnywhere, AKilledCollectionLeavesWholeFilesAndTheNextGetsTheRest) {
    const int points = static_cast<int>(soakNumber("FENTA21_KILL_POINTS", 35));
    const auto start = std::chrono::steady_clock::now();
    int killed = 0, killedAtMoments = 0, moments = 0, transferTemporaries = 0, afterRename = 0;
    image.recordMore(random);
    auto lastRun = collectToTheEnd("first collection");
    for (int i = 0; i < points; ++i) {
        auto point = static_cast<KillPoint>(i % kPointCount);
        std::string when = "kill " + std::to_string(i) + " at " + kPointNames[point];
        image.recordMore(random);  // the logger has recorded more since
        bool ended = killAt(point, std::chrono::milliseconds(random.pick(0, static_cast<int>(lastRun.count()))), when);
        killed += ended;
        // A random time may come after the collection has ended; a moment of it may not.
        moments += point != kAnyTime;
        killedAtMoments += ended && point != kAnyTime;
        afterRename += point == kAfterRename;
        for (const auto& name : folderEntries(dataFolder)) transferTemporaries += isTransferTemporary(name);
        checkFolder(when);
        lastRun = collectToTheEnd(when);
        checkFolder(when + ", then collected");
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
    int csvTemporaries = 0;
    for (const auto& name : folderEntries(dataFolder)) csvTemporaries += isCsvTemporary(name);
    std::printf("kill: %d kill points (%d at each of %d moments), %d killed mid-way, %d of %d between rename and "
                "clear, %d temporary data files left (each cleared by the next start), %d CSV temporaries "
                "left, %d partial files, %zu problems, %lld s\n",
                points, points / kPointCount, kPointCount, killed, windowHits, afterRename, transferTemporaries,
                csvTemporaries, partialFiles, problems.size(), static_cast<long long>(seconds.count()));
    EXPECT_EQ(killedAtMoments, moments);
    EXPECT_EQ(windowHits, afterRename);
    EXPECT_EQ(partialFiles, 0);
    EXPECT_TRUE(problems.empty()) << problems.front();
}

}  // namespace
}  // namespace fenta21::test
