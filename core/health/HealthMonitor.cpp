#include "core/health/HealthMonitor.h"

#include "core/base/Clock.h"
#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/base/HomeFileEdit.h"
#include "core/report/FixedLog.h"
#include "core/report/Logs.h"
#include "core/health/HealthAlerts.h"
#include "core/health/HealthLedger.h"
#include "core/health/HealthMetrics.h"
#include "core/health/HealthSettings.h"
#include "core/health/HealthTime.h"
#include "core/health/HomeStations.h"
#include "core/stations/ReservationTable.h"

#include <filesystem>

namespace fenta21 {
namespace {

std::string metricsPath(const std::string& homeFolder, const std::string& typed) {
    return std::filesystem::path(typed).is_relative() ? joinPath(homeFolder, typed) : typed;
}

}  // namespace

HealthMonitor::HealthMonitor(EventHub& events, const Clock& clock, std::string homeFolder,
                             const AddressBook& addressBook, const ReservationTable& reservations)
    : events_(events), clock_(clock), homeFolder_(std::move(homeFolder)), addressBook_(addressBook),
      reservations_(reservations), machine_(thisMachineName()),
      subscription_(events.subscribe<CollectionFinished>(
          [this](const CollectionFinished& collection) { heard(collection); })) {
    worker_ = std::thread([this] { work(); });
}

HealthMonitor::~HealthMonitor() {
    subscription_.reset();  // what was announced until now is heard first
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void HealthMonitor::settle() {
    events_.flush();
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return pending_.empty() && !busy_; });
}

void HealthMonitor::heard(const CollectionFinished& collection) {
    std::optional<CollectionAttempt> attempt = attemptOf(collection, machine_);
    if (!attempt) return;
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(*attempt));
    }
    wake_.notify_all();
}

void HealthMonitor::work() {
    bool firstLook = true;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!firstLook) {
            busy_ = false;
            idle_.notify_all();
            if (stopping_ && pending_.empty()) return;
            wake_.wait_for(lock, clock_.scaled(kLookAgain), [this] { return stopping_ || !pending_.empty(); });
            busy_ = true;
        }
        std::vector<CollectionAttempt> attempts = std::move(pending_);
        pending_.clear();
        lock.unlock();
        weigh(attempts, firstLook);
        firstLook = false;
        lock.lock();
    }
}

void HealthMonitor::weigh(const std::vector<CollectionAttempt>& attempts, bool firstLook) {
    const EpochSeconds now = epochOfLocalTime(clock_.localTime());
    const std::vector<ExpectedStation> expected =
        expectedStations(addressBook_, reservations_.snapshot(), machine_);
    HealthSettingsRead read;
    std::vector<StationAlert> alerts;
    std::string metrics;
    auto change = [&](const FileOnDisk& onDisk) -> std::optional<std::string> {
        read = loadHealthSettings(homeFolder_);
        HealthLedger ledger = onDisk ? parseHealthLedger(*onDisk, machine_) : HealthLedger{};
        for (const CollectionAttempt& attempt : attempts) addAttempt(ledger.entry(attempt.key).tally, attempt);
        if (ledger.entries.empty() && ledger.unreadLines.empty()) return std::nullopt;  // nothing collected yet
        std::vector<StationHealth> health = assessStations(ledger.tallies(), expected, {}, now, read.settings.thresholds);
        bool changed = firstLook || !attempts.empty();
        for (const StationHealth& station : health) {
            LedgerEntry* entry = ledger.find(station.key());
            if (entry == nullptr || entry->announced == station.state) continue;
            if (auto kind = alertForChange(entry->announced, station.state))
                alerts.push_back({*kind, entry->announced, station});
            entry->announced = station.state;
            changed = true;
        }
        if (!changed) return std::nullopt;
        metrics = formatHealthMetrics(health);
        return formatHealthLedger(ledger);
    };
    // Still under the home's lock: the metrics of two programs are written in the order of
    // their ledgers, never an older over a newer.
    auto written = [&] {
        if (read.settings.metricsFile.empty()) return;
        std::string path = metricsPath(homeFolder_, read.settings.metricsFile);
        if (!writeFileAtomically(path, metrics)) tellOnce("the metrics file " + path + " could not be written");
    };
    HomeFileEdit edit = editHomeFile(joinPath(homeFolder_, kHealthLedgerFileName), kHealthLedgerBytes, change, written);
    if (edit.outcome == HomeFileEdit::Outcome::Failed)
        tellOnce(std::string(kHealthLedgerFileName) + " could not be kept: " + edit.problem);
    for (const std::string& problem : read.problems) tellOnce(problem);
    // An alert runs only once its state is recorded as announced: never twice for one change.
    if (!edit.written()) return;
    for (const StationAlert& alert : alerts)
        if (const std::string& command = alertCommand(read.settings, alert.kind); !command.empty())
            if (std::string problem = runStationAlert(clock_, homeFolder_, command, alert); !problem.empty())
                logProblem(problem);
}

void HealthMonitor::tellOnce(const std::string& problem) {
    if (told_.insert(problem).second) logProblem(problem);
}

// ERR.LOG takes its entries under a lock of its own, so the monitor's thread shares it safely
// with the program's other writers.
void HealthMonitor::logProblem(const std::string& problem) {
    appendFixedLog(joinPath(homeFolder_, kErrorLogFileName), kErrorLog, clock_.localTime(), utf8ToCp932(problem));
}

}  // namespace fenta21
