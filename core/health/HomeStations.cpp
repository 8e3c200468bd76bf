#include "core/health/HomeStations.h"

#include "core/collect/CollectResult.h"
#include "core/health/HealthTime.h"
#include "core/health/ReservedIntervals.h"
#include "core/stations/AddressBook.h"
#include "core/remote/TelephoneField.h"

namespace fenta21 {

std::vector<ExpectedStation> expectedStations(const AddressBook& book, const std::vector<Reservation>& reservations,
                                              const std::string& machine) {
    std::map<int, EpochSeconds> gaps = longestReservedGaps(reservations);
    std::vector<Station> stations = book.stations();
    std::vector<ExpectedStation> expected;
    for (std::size_t place = 0; place < stations.size(); ++place) {
        const Station& station = stations[place];
        if (station.name.empty()) continue;
        std::optional<EpochSeconds> interval;
        if (auto gap = gaps.find(static_cast<int>(place)); gap != gaps.end()) interval = gap->second;
        std::vector<int> units = parseTelephoneField(station.telephone).units;
        if (units.empty()) units.push_back(0);
        for (int unit : units) expected.push_back({{machine, station.name, unit}, interval});
    }
    return expected;
}

std::optional<CollectionAttempt> attemptOf(const CollectionFinished& collection, const std::string& machine) {
    if (collection.station < 0 || collection.stationName.empty()) return std::nullopt;
    CollectionAttempt attempt;
    attempt.key = {machine, collection.stationName, collection.unit};
    attempt.started = epochOfLocalTime(collection.started);
    attempt.ended = epochOfLocalTime(collection.finished);
    attempt.result = collection.result;
    attempt.message = collection.message;
    attempt.contacted = collection.result == kCollectOk || collection.result == kCollectNothingNew;
    return attempt;
}

}  // namespace fenta21
