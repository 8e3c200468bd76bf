// The fault-matrix soak: collections on the direct line, from a station through the modem and
// by the reservation scheduler, against the simulated logger on pseudo-terminals, each run with
// faults drawn from a seeded table. Whatever the faults, after every run:
// - a data file stored at its destination is byte-identical to what the logger sent;
// - "clear" reached the logger only while that file was under its name, whole, its folder synced;
// - the records the logger counts as collected are in a file stored by the run;
// - ERR.LOG and RSV.LOG keep their fixed layout.
// FENTA21_SOAK_RUNS and FENTA21_SOAK_SEED choose the runs (scripts/soak.sh sets them);
// FENTA21_SOAK_VERBOSE=1 prints every run.
#include "core/app/DirectCollection.h"
#include "core/base/Files.h"
#include "core/collect/Block.h"
#include "core/remote/CollectStation.h"
#include "core/collect/FileNaming.h"
#include "core/remote/Scheduler.h"
#include "sim/RemoteStation.h"
#include "sim/SimModem.h"
#include "tests/soak/GrowingImage.h"
#include "tests/support/LineTap.h"
#include "tests/soak/ScratchDisk.h"
#include "tests/soak/SoakChecks.h"
#include "tests/soak/SoakSettings.h"
#include "tests/support/SimLine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kNumber = "0312345678";
constexpr int kStationIndex = 0;
constexpr int kNow = -2;  // a fault in place before the run starts

enum Path { kDirect, kStation, kScheduled, kPathCount };
constexpr const char* kPathNames[] = {"direct", "station", "scheduler"};
constexpr unsigned kAnyPath = 0b111;
constexpr unsigned kModemPaths = 0b110;

class Rig;

// What one run's faults set up: the simulator's faults, collected here and switched on together,
// and moments of the transfer at which the line or the disk fails.
struct Injection {
    Rig& rig;
    Path path;
    int blocks;
    Random& random;
    sim::SimLogger& loggerDevice;
    LineTap& tap;
    std::string folder;
    sim::LoggerFaults logger{};
    sim::BlockFaults block{};
    sim::StationFaults station{};
    std::optional<int> earlyEotAfter{};
    bool onDisk = false;

    int anyBlock() { return random.pick(1, blocks); }
    // A moment from `from` up to the ACK of the last block (the EOT comes next).
    int moment(int from) { return random.pick(from, blocks); }
    std::string when(int at, std::function<void()> action) {
        if (at == kNow) action();
        else tap.at(at, std::move(action));
        return at == kNow ? "before the run" : at == LineTap::kAtCommand ? "at the collection command"
               : at == LineTap::kAtStart ? "at the start byte" : "at ACK " + std::to_string(at);
    }
};

struct FaultKind {
    const char* name;
    unsigned paths;
    bool onDisk;
    // Sets the fault up; returns how, for the run's line.
    std::function<std::string(Injection&)> inject;
};

class Rig {
public:
    Rig() {
        line.serveInstead(directTap);
        modemPort = std::make_unique<sim::PtyServer>(line.home.file("ttyMODEM"), modemTap);
        if (!modemPort->start()) throw std::runtime_error(modemPort->error());
        line.home.write("comports.txt", "COM1 " + line.linkPath + "\nCOM2 " + line.home.file("ttyMODEM") + "\n");
        Session& s = session();
        s.settings.modemPortIndex = 1;
        s.settings.modemSpeedIndex = 5;
        s.addressBook.store(kStationIndex, {"河辺", kNumber, "", "KAWABE", stationFolder, "modem"});
        fs::create_directories(directFolder);
        fs::create_directories(stationFolder);
        s.syncFolder = [this](const std::string& folder) { return syncFolderWatched(folder); };
        directTap.onClear([this] { checkClear(directImage.logger()); });
        modemTap.onClear([this] { checkClear(stationImage.logger()); });
        disk.emplace(line.home.root());
    }
    ~Rig() {
        disk.reset();
        modemPort->stop();
        line.server->stop();
    }

    Session& session() { return *line.session; }
    // A new run: no data file is durable yet.
    void forgetSyncs() {
        std::lock_guard lock(mutex);
        syncedDestination_.clear();
    }

    // Collects once on `path`: the collection's result.
    int collectOn(Path path) {
        switch (path) {
            case kDirect: return directCollection(session(), CollectCommand::Copy, LinkRequest{1, 5});
            case kStation: return collectStation(session(), kStationIndex);
            default: return collectScheduled();
        }
    }

    SimLine line{0.05};
    LineTap directTap{line.logger};
    sim::SimModem modem;
    sim::RemoteStation& station = modem.addStation(kNumber);
    LineTap modemTap{modem};
    std::unique_ptr<sim::PtyServer> modemPort;
    // From one block to a few dozen, three records an instant.
    static constexpr GrowingImage::Growth kGrowth{30, 300, 10, 150, 1500, 3};
    GrowingImage directImage{line.logger, kGrowth};
    GrowingImage stationImage{station.logger(), kGrowth};
    std::string directFolder = line.home.root() + "/data";
    std::string stationFolder = line.home.root() + "/stations/kawabe";
    std::optional<ScratchDisk> disk;

    // Told by the line's thread when "clear" arrives; read between runs.
    std::mutex mutex;
    int clearsChecked = 0;
    std::vector<std::string> earlyClears;

private:
    int collectScheduled() {
        ReservationScheduler scheduler(session());
        session().reservations.replace({{{0, 0, line.clock.localTime().minute}, kStationIndex}});
        std::mutex m;
        std::condition_variable ended;
        std::optional<int> result;
        scheduler.collectStation = [&](int station) {
            int r = fenta21::collectStation(session(), station);
            std::lock_guard lock(m);
            result = r;
            ended.notify_all();
            return r;
        };
        scheduler.switchOn();
        {
            std::unique_lock lock(m);
            if (!ended.wait_for(lock, 300s, [&] { return result.has_value(); })) {
                std::fprintf(stderr, "soak: the reserved collection never ended\n");
                std::abort();  // the worker is stuck inside it: nothing can be cleaned up
            }
        }
        scheduler.switchOff();
        scheduler.waitForWorker();
        return *result;
    }

    // A folder sync after the data file is in place is what makes it durable.
    bool syncFolderWatched(const std::string& folder) {
        bool synced = fenta21::syncFolder(folder);
        std::string destination = session().line.lastDataFile.get();
        std::lock_guard lock(mutex);
        if (synced && !destination.empty() && fs::path(destination).parent_path() == fs::path(folder) &&
            fs::exists(destination))
            syncedDestination_ = destination;
        return synced;
    }

    void checkClear(sim::SimLogger& logger) {
        std::string destination = session().line.lastDataFile.get();
        std::string problem;
        if (destination.empty() || !fs::exists(destination)) problem = "no data file under its name";
        else if (readFileBytes(destination) != logger.lastTransferImage()) problem = "the data file is not whole";
        std::lock_guard lock(mutex);
        if (problem.empty() && syncedDestination_ != destination) problem = "its folder was not synced";
        ++clearsChecked;
        if (!problem.empty()) earlyClears.push_back("\"clear\" sent with " + problem);
    }

    std::string syncedDestination_;
};

const std::string kGarbage = "abcXYZ0123456789 !#$%&()*+-./:;<=>?@[]^_{|}~";

const FaultKind kFaults[] = {
    {"bad CRC", kAnyPath, false, [](Injection& in) {
         int block = in.anyBlock(), times = in.random.pick(1, 6);
         in.block.badCrc[block] = times;
         return "block " + std::to_string(block) + " x" + std::to_string(times);
     }},
    {"bad complement", kAnyPath, false, [](Injection& in) {
         int block = in.anyBlock(), times = in.random.pick(1, 6);
         in.block.badComplement[block] = times;
         return "block " + std::to_string(block) + " x" + std::to_string(times);
     }},
    {"lost ACK", kAnyPath, false, [](Injection& in) {
         int block = in.anyBlock(), times = in.random.pick(1, 3);
         in.block.lostAck[block] = times;
         return "block " + std::to_string(block) + " x" + std::to_string(times);
     }},
    {"stall", kAnyPath, false, [](Injection& in) {
         in.block.stallAfter = in.random.pick(0, in.blocks);
         return "after block " + std::to_string(*in.block.stallAfter);
     }},
    {"garbage line", kAnyPath, false, [](Injection& in) {
         std::string line = in.random.text(1, 60, kGarbage) + "\r\n";
         LineTap& tap = in.tap;
         return in.when(in.random.pick(LineTap::kAtCommand, in.blocks + 1), [&tap, line] { tap.inject(line); });
     }},
    {"noise before replies", kAnyPath, false, [](Injection& in) {
         // From a moment on, or the link would never be made.
         std::string noise = in.random.text(1, 4, std::string("\x01~\x7F\xFFU", 5));
         sim::SimLogger& logger = in.loggerDevice;
         return std::to_string(noise.size()) + " bytes " + in.when(in.random.pick(LineTap::kAtCommand, in.blocks + 1), [&logger, noise] {
             sim::LoggerFaults faults = logger.faults();
             faults.noiseBeforeReply = noise;
             logger.setFaults(faults);
         });
     }},
    {"early EOT", kAnyPath, false, [](Injection& in) {
         in.earlyEotAfter = in.block.earlyEotAfter = in.random.pick(0, in.blocks - 1);
         return "after block " + std::to_string(*in.earlyEotAfter) + " of " + std::to_string(in.blocks);
     }},
    {"line drop", kAnyPath, false, [](Injection& in) {
         if (in.path == kDirect) {
             LineTap& tap = in.tap;
             return in.when(in.random.pick(LineTap::kAtCommand, in.blocks + 1), [&tap] { tap.cut(); });
         }
         in.station.dropAfterBytes = static_cast<std::size_t>(in.random.pick(100, in.blocks * 1029 + 500));
         return "after " + std::to_string(in.station.dropAfterBytes) + " bytes";
     }},
    {"\"clear\" refused", kAnyPath, false, [](Injection& in) {
         in.logger.questionCommand = "clear";
         return std::string("answered ?");
     }},
    {"modem stops answering", kModemPaths, false, [](Injection& in) {
         sim::SimModem& modem = in.rig.modem;
         return in.when(in.moment(kNow), [&modem] {
             sim::ModemFaults switchedOff;
             switchedOff.silent = true;
             modem.setFaults(switchedOff);
         });
     }},
    {"folder removed", kAnyPath, true, [](Injection& in) {
         ScratchDisk& disk = *in.rig.disk;
         std::string folder = in.folder;
         return in.when(in.moment(kNow), [&disk, folder] { disk.removeFolder(folder); });
     }},
    {"folder read-only", kAnyPath, true, [](Injection& in) {
         ScratchDisk& disk = *in.rig.disk;
         std::string folder = in.folder;
         return in.when(in.moment(kNow), [&disk, folder] { disk.makeReadOnly(folder); });
     }},
    {"disk full", kAnyPath, true, [](Injection& in) {
         ScratchDisk& disk = *in.rig.disk;
         std::string growing = kDataTempPattern;
         growing = in.folder + "/" + growing.replace(growing.find("XXXX"), 4, "0000");
         return in.when(in.moment(kNow), [&disk, growing] { disk.fill(growing); });
     }},
};

bool available(const FaultKind& kind, Path path, const ScratchDisk& disk) {
    if (!(kind.paths & (1u << path))) return false;
    return std::string(kind.name) != "folder read-only" || disk.canMakeReadOnly();
}

struct Tally {
    int runs = 0;
    int perPath[kPathCount] = {};
    int faults = 0;
    int filesChecked = 0;
    long lostRecords = 0;
    int corrupt = 0;
    int leftovers = 0;
    std::vector<std::string> problems;
    std::map<int, int> results;
};

class Soak {
public:
    Soak(unsigned seed) : random_(seed) {}

    void run(int number) {
        Path path = static_cast<Path>(number % kPathCount);
        rig_.line.clock.setLocalTime(addSeconds({2026, 12, 8, 9, 0, 0}, 60LL * number));
        GrowingImage& image = path == kDirect ? rig_.directImage : rig_.stationImage;
        image.recordMore(random_);
        Injection in{rig_, path, image.blocks(), random_, image.logger(), path == kDirect ? rig_.directTap : rig_.modemTap,
                     path == kDirect ? rig_.directFolder : rig_.stationFolder};
        std::string faults = drawFaults(in);
        sim::SimLogger& logger = image.logger();
        logger.setFaults(in.logger);
        logger.setBlockFaults(in.block);
        rig_.station.setFaults(in.station);

        std::uint32_t markBefore = logger.collectedMark();
        auto before = folderEntries(in.folder);
        rig_.forgetSyncs();
        int result = rig_.collectOn(path);
        check(in, logger, markBefore, before);

        ++tally_.runs;
        ++tally_.perPath[path];
        ++tally_.results[result];
        if (verbose()) std::printf("run %d %s [%s] -> %d\n", number, kPathNames[path], faults.c_str(), result);
        if (tally_.problems.size() > reported_) {
            for (; reported_ < tally_.problems.size(); ++reported_)
                std::printf("run %d %s [%s] -> %d: %s\n", number, kPathNames[path], faults.c_str(), result,
                            tally_.problems[reported_].c_str());
        }
        mend(in, logger);
    }

    const Tally& tally() const { return tally_; }
    const ScratchDisk& disk() const { return *rig_.disk; }
    int clearsChecked() {
        std::lock_guard lock(rig_.mutex);
        return rig_.clearsChecked;
    }

private:
    static bool verbose() { return soakNumber("FENTA21_SOAK_VERBOSE", 0) != 0; }

    // One or two kinds of fault the path can have, at most one of them on the disk.
    std::string drawFaults(Injection& in) {
        std::vector<const FaultKind*> kinds;
        for (const auto& kind : kFaults)
            if (available(kind, in.path, *rig_.disk)) kinds.push_back(&kind);
        std::string text;
        int wanted = random_.pick(1, 3) == 3 ? 2 : 1;
        std::vector<const FaultKind*> chosen;
        while (static_cast<int>(chosen.size()) < wanted) {
            const FaultKind* kind = kinds[static_cast<std::size_t>(random_.pick(0, static_cast<int>(kinds.size()) - 1))];
            if (std::find(chosen.begin(), chosen.end(), kind) != chosen.end() || (kind->onDisk && in.onDisk)) continue;
            chosen.push_back(kind);
            in.onDisk = in.onDisk || kind->onDisk;
            if (!text.empty()) text += "; ";
            text += std::string(kind->name) + " " + kind->inject(in);
        }
        tally_.faults += wanted;
        return text;
    }

    // What the logger sent: its memory image, or the blocks before an early end.
    static std::string sentBy(sim::SimLogger& logger, const Injection& in) {
        std::string sent = logger.lastTransferImage();
        if (in.earlyEotAfter) sent.resize(std::min(sent.size(), static_cast<std::size_t>(*in.earlyEotAfter) * kBlockPayload));
        return sent;
    }

    void check(const Injection& in, sim::SimLogger& logger, std::uint32_t markBefore,
               const std::vector<std::string>& before) {
        std::uint32_t markAfter = logger.collectedMark();
        bool marked = markAfter == markBefore;  // the records the mark passed are in a stored file
        for (const auto& name : folderEntries(in.folder)) {
            if (std::find(before.begin(), before.end(), name) != before.end()) continue;
            std::string path = in.folder + "/" + name;
            newFiles_.push_back(path);
            if (fs::path(name).extension() == ".csv") continue;
            if (fs::path(name).extension() != ".v38") {
                // A disk that refuses changes may keep the temporary file the run could not
                // remove; the next start of a program on the folder clears it away.
                if (in.onDisk && name.rfind("XDM-", 0) == 0) ++tally_.leftovers;
                else tally_.problems.push_back("stray file " + name);
                continue;
            }
            ++tally_.filesChecked;
            std::string bytes = readFileBytes(path);
            if (bytes != sentBy(logger, in)) {
                ++tally_.corrupt;
                tally_.problems.push_back(name + " is not what the logger sent (" + std::to_string(bytes.size()) +
                                          " bytes of " + std::to_string(sentBy(logger, in).size()) + ")");
                continue;
            }
            auto span = recordSpan(bytes);
            if (span && span->first <= markBefore && span->end >= markAfter) marked = true;
        }
        if (!marked) {
            tally_.lostRecords += (markAfter - markBefore) / 8;
            tally_.problems.push_back("the collected mark moved from " + std::to_string(markBefore) + " to " +
                                      std::to_string(markAfter) + " without a stored file holding those records");
        }
        // A damaged log stays damaged: each damage is told once.
        for (const auto& problem : logLayoutProblems(rig_.line.home.path()))
            if (logProblemsSeen_.insert(problem).second) tally_.problems.push_back(problem);
        std::lock_guard lock(rig_.mutex);
        for (const auto& problem : rig_.earlyClears) tally_.problems.push_back(problem);
        rig_.earlyClears.clear();
    }

    // Back to a sound line and disk, without the run's files, for the next run.
    void mend(const Injection& in, sim::SimLogger& logger) {
        in.tap.reset();
        logger.setFaults({});
        logger.setBlockFaults({});
        rig_.station.setFaults({});
        rig_.modem.setFaults({});
        rig_.disk->restore();
        std::error_code ec;
        for (const auto& path : newFiles_) fs::remove(path, ec);
        newFiles_.clear();
    }

    Random random_;
    Rig rig_;
    Tally tally_;
    std::size_t reported_ = 0;
    std::vector<std::string> newFiles_;
    std::set<std::string> logProblemsSeen_;
};

TEST(FaultMatrixSoak, NoFaultLosesOrSpoilsRecordsOrBreaksTheLogs) {
    // Before any thread exists: only then can the process have mounts of its own.
    ScratchDisk::enterPrivateMounts();
    const int runs = static_cast<int>(soakNumber("FENTA21_SOAK_RUNS", 60));
    const auto seed = static_cast<unsigned>(soakNumber("FENTA21_SOAK_SEED", 1));
    const auto start = std::chrono::steady_clock::now();
    Soak soak(seed);
    for (int i = 0; i < runs; ++i) soak.run(i);
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);

    const Tally& t = soak.tally();
    std::string results;
    for (auto [code, count] : t.results) results += " " + std::to_string(code) + "x" + std::to_string(count);
    std::printf("soak: seed %u, full disk by %s%s\n", seed, soak.disk().fullDiskKind().c_str(),
                soak.disk().canMakeReadOnly() ? "" : ", read-only folders skipped (root without mounts)");
    std::printf("soak: results%s; %d temporary files left by a refusing disk\n", results.c_str(), t.leftovers);
    std::printf("soak: %d runs (%d direct, %d station, %d scheduler), %d faults injected, %d files checked, "
                "%d clears checked, %ld lost, %d corrupt, %zu problems, %lld s\n",
                t.runs, t.perPath[kDirect], t.perPath[kStation], t.perPath[kScheduled], t.faults, t.filesChecked,
                soak.clearsChecked(), t.lostRecords, t.corrupt, t.problems.size(), static_cast<long long>(seconds.count()));
    EXPECT_EQ(t.lostRecords, 0);
    EXPECT_EQ(t.corrupt, 0);
    EXPECT_TRUE(t.problems.empty()) << t.problems.front();
}

}  // namespace
}  // namespace fenta21::test
