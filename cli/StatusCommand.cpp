// fenta21-cli status: which stations need a visit, from the record store's collections.
#include "cli/Commands.h"
#include "cli/DbCommands.h"
#include "cli/JsonResult.h"
#include "core/session/Session.h"
#include "core/health/HealthTime.h"
#include "core/health/StoreHealth.h"

#include <cstdio>

namespace fenta21::cli {
namespace {

constexpr int kExitNeedsVisit = 1;

nlohmann::ordered_json timeOrNull(const std::optional<EpochSeconds>& time) {
    return time ? nlohmann::ordered_json(isoLocalTime(*time)) : nlohmann::ordered_json();
}

template <typename Number>
nlohmann::ordered_json numberOrNull(const std::optional<Number>& number) {
    return number ? nlohmann::ordered_json(*number) : nlohmann::ordered_json();
}

std::optional<EpochSeconds> lastAttemptTime(const StationHealth& station) {
    if (!station.tally.lastAttempt) return std::nullopt;
    return station.tally.lastAttempt->ended;
}

nlohmann::ordered_json stationJson(const StationHealth& station) {
    const StationTally& tally = station.tally;
    long failures = 0;
    for (const CollectionAttempt& attempt : station.lastDay) failures += attempt.contacted ? 0 : 1;
    return {
        {"name", station.key().station},
        {"unit", station.key().unit},
        {"machine", station.key().machine},
        {"state", healthStateName(station.state)},
        {"lastAttempt", timeOrNull(lastAttemptTime(station))},
        {"lastResult", tally.lastAttempt ? nlohmann::ordered_json(tally.lastAttempt->message) : nlohmann::ordered_json()},
        {"lastSuccess", timeOrNull(tally.lastSuccess)},
        {"consecutiveFailures", tally.consecutiveFailures},
        {"expectedIntervalSeconds", numberOrNull(station.expectedInterval)},
        {"attemptsLastDay", station.lastDay.size()},
        {"failuresLastDay", failures},
        {"newestRecord", timeOrNull(station.newestRecord)},
        {"recordsLastDay", station.recordsLastDay},
        {"expectedRecordsLastDay", numberOrNull(station.expectedRecordsLastDay)},
    };
}

std::string timeOrDash(const std::optional<EpochSeconds>& time) { return time ? isoLocalTime(*time) : "-"; }

void printStation(const StationHealth& station) {
    const std::string message = station.tally.lastAttempt ? station.tally.lastAttempt->message : "";
    std::printf("%s\t%s\t%d\t%s\t%s\t%s\t%d\t%s\n", healthStateName(station.state), station.key().station.c_str(),
                station.key().unit, station.key().machine.c_str(), timeOrDash(lastAttemptTime(station)).c_str(),
                timeOrDash(station.tally.lastSuccess).c_str(), station.tally.consecutiveFailures, message.c_str());
}

int runStatus(CommandContext& context) {
    JsonResult json(context, "status");
    if (!context.args.empty()) return json.finish(json.refuse("status takes no arguments but --json", kExitUsage));
    Session& session = context.session;
    std::unique_ptr<store::RecordStore> opened;
    if (int refused = openHomeStoreFor(context, json, opened); refused != kExitOk) return json.finish(refused);
    HomeHealth home;
    try {
        home = storeHealthOfHome(*opened, session.homeFolder(), epochOfLocalTime(session.clock.localTime()));
    } catch (const store::StoreError& e) {
        return json.finish(json.refuse(e.what(), kExitFailed));
    }
    for (const std::string& problem : home.problems) std::fprintf(stderr, "fenta21-cli status: %s\n", problem.c_str());
    const std::vector<StationHealth>& health = home.stations;
    bool needsVisit = false;
    nlohmann::ordered_json stations = nlohmann::ordered_json::array();
    for (const StationHealth& station : health) {
        needsVisit = needsVisit || station.state == HealthState::Failing || station.state == HealthState::Late;
        if (json.wanted()) stations.push_back(stationJson(station));
        else printStation(station);
    }
    std::fflush(stdout);
    if (json.wanted()) {
        json.body()["store"] = opened->location();
        json.body()["stations"] = std::move(stations);
    }
    return json.finish(needsVisit ? kExitNeedsVisit : kExitOk);
}

}  // namespace

const CommandInfo kStatusCommand{
    "status", "status [--json]",
    "Which stations need a visit, from the collections the record store holds (with PostgreSQL,\n"
    "those of every collecting machine) and the stations of the address book: one line a\n"
    "station and unit, worst first, with tabs between its state, name, unit, machine, last\n"
    "attempt, last contact (ISO 8601, \"-\" for none), failed attempts in a row and the last\n"
    "attempt's message. A station is\n\n"
    "  failing  when its last attempts failed, 3 in a row (config failing-after N)\n"
    "  late     when it has gone without contact longer than the longest gap between its\n"
    "           reserved minutes and a margin of 15 minutes (config late-margin MINUTES)\n"
    "  unknown  before its first contact\n"
    "  normal   otherwise; \"nothing new to collect\" is a contact.\n\n"
    "A home without a record store is told that \"fenta21-cli db init\" makes one. With --json,\n"
    "one JSON object: store, stations (name, unit, machine, state, lastAttempt, lastResult,\n"
    "lastSuccess, consecutiveFailures, expectedIntervalSeconds, attemptsLastDay, failuresLastDay,\n"
    "newestRecord, recordsLastDay, expectedRecordsLastDay), exitStatus, message and messages.\n"
    "Exit status: 0 every station normal or unknown, 1 one or more late or failing (or the store\n"
    "could not be read), 2 usage error.\n",
    &runStatus,
};

}  // namespace fenta21::cli
