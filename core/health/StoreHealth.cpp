#include "core/health/StoreHealth.h"

#include "core/base/Files.h"
#include "core/collect/CollectResult.h"
#include "core/health/HealthLedger.h"
#include "core/health/HealthSettings.h"
#include "core/health/HealthTime.h"
#include "core/health/HomeStations.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ReservationFile.h"
#include "core/store/RecordStore.h"

#include <map>

namespace fenta21 {
namespace {

constexpr EpochSeconds kDay = 24 * 60 * 60;

CollectionAttempt attemptOf(const store::CollectionRow& row) {
    CollectionAttempt attempt;
    attempt.key = {row.machine, row.stationName, row.unit};
    attempt.started = row.startedUtc;
    attempt.ended = row.finishedUtc;
    attempt.result = row.result;
    attempt.message = row.message;
    attempt.contacted = row.result == kCollectOk || row.result == kCollectNothingNew;
    return attempt;
}

// What the store holds of a station's records: the newest of its series, and the last day's
// records of its first series, whose spacing gives the recording interval.
void addRecords(store::RecordStore& store, const store::StationRow& row, EpochSeconds now, StationHealth& station) {
    station.newestRecord = row.lastUtc;
    std::vector<store::SeriesRow> series = store.series(row.name);
    if (series.empty()) return;
    std::optional<EpochSeconds> previous, shortest;
    long count = 0;
    store.readRecords(series.front().id, now - kDay, now, [&](const store::RecordRow& record) {
        ++count;
        if (previous && record.utc > *previous && (!shortest || record.utc - *previous < *shortest))
            shortest = record.utc - *previous;
        previous = record.utc;
        return true;
    });
    station.recordsLastDay = count;
    if (shortest) station.expectedRecordsLastDay = static_cast<long>(kDay / *shortest);
}

}  // namespace

std::vector<StationHealth> storeHealth(store::RecordStore& store, EpochSeconds now,
                                       const std::vector<ExpectedStation>& expected,
                                       const HealthThresholds& thresholds, const NeverReached& neverReached) {
    // Which of the store's stations (named after the data files) each station's collections
    // stored their files in, the newest naming it.
    std::map<StationKey, std::string> filedAs;
    AttemptHistory history = [&](EpochSeconds since) {
        std::vector<CollectionAttempt> attempts;
        for (const store::CollectionRow& row : store.collections(since)) {
            if (row.stationIndex < 0 || row.stationName.empty()) continue;  // the direct line
            attempts.push_back(attemptOf(row));
            if (!row.station.empty()) filedAs[attempts.back().key] = row.station;
        }
        return attempts;
    };
    std::vector<StationHealth> health = healthFromHistory(history, now, expected, {}, thresholds, neverReached);
    std::map<std::string, store::StationRow> stored;
    for (store::StationRow& row : store.stations()) stored[row.name] = std::move(row);
    for (StationHealth& station : health) {
        auto name = filedAs.find(station.key());
        if (name == filedAs.end()) continue;
        station.recordsStation = name->second;
        if (auto row = stored.find(name->second); row != stored.end()) addRecords(store, row->second, now, station);
    }
    return health;
}

HomeHealth storeHealthOfHome(store::RecordStore& store, const std::string& homeFolder, EpochSeconds now) {
    HealthSettingsRead settings = loadHealthSettings(homeFolder);
    const std::string machine = thisMachineName();
    const HealthLedger ledger = loadHealthLedger(homeFolder, machine);
    AddressBook book;
    loadAddressBook(joinPath(homeFolder, kAddressBookFileName), book);
    std::vector<ExpectedStation> expected =
        expectedStations(book, loadReservations(joinPath(homeFolder, kReservationFileName)), machine);
    HomeHealth home;
    home.stations = storeHealth(store, now, expected, settings.settings.thresholds,
                                [&](const StationKey& key) { return neverReachedHere(ledger, machine, key); });
    home.problems = std::move(settings.problems);
    return home;
}

}  // namespace fenta21
