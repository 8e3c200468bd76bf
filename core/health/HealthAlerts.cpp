#include "core/health/HealthAlerts.h"

#include "core/base/Clock.h"
#include "core/health/HealthTime.h"

namespace fenta21 {
namespace {

const char* settingName(AlertKind kind) {
    switch (kind) {
        case AlertKind::Failed: return "on-failed";
        case AlertKind::Late: return "on-late";
        case AlertKind::Recovered: return "on-recovered";
    }
    return "";
}

std::string timeText(const std::optional<EpochSeconds>& time) { return time ? isoLocalTime(*time) : ""; }

std::string firstLine(const std::string& output) {
    std::string line = output.substr(0, output.find('\n'));
    return line.empty() ? "" : ": " + line;
}

}  // namespace

std::optional<AlertKind> alertForChange(HealthState before, HealthState after) {
    if (before == after) return std::nullopt;
    if (after == HealthState::Failing) return AlertKind::Failed;
    if (after == HealthState::Late) return AlertKind::Late;
    if (after == HealthState::Normal && (before == HealthState::Failing || before == HealthState::Late))
        return AlertKind::Recovered;
    return std::nullopt;
}

const std::string& alertCommand(const HealthSettings& settings, AlertKind kind) {
    switch (kind) {
        case AlertKind::Failed: return settings.onFailed;
        case AlertKind::Late: return settings.onLate;
        case AlertKind::Recovered: break;
    }
    return settings.onRecovered;
}

EnvironmentVariables alertEnvironment(const StationAlert& alert, const std::string& homeFolder) {
    const StationHealth& station = alert.station;
    const StationTally& tally = station.tally;
    std::optional<EpochSeconds> lastAttempt;
    if (tally.lastAttempt) lastAttempt = tally.lastAttempt->ended;
    return {
        {"FENTA21_STATION", station.key().station},
        {"FENTA21_UNIT", std::to_string(station.key().unit)},
        {"FENTA21_STATE", healthStateName(station.state)},
        {"FENTA21_PREVIOUS_STATE", healthStateName(alert.previous)},
        {"FENTA21_RESULT", tally.lastAttempt ? tally.lastAttempt->message : ""},
        {"FENTA21_CONSECUTIVE_FAILURES", std::to_string(tally.consecutiveFailures)},
        {"FENTA21_LAST_ATTEMPT", timeText(lastAttempt)},
        {"FENTA21_LAST_SUCCESS", timeText(tally.lastSuccess)},
        {"FENTA21_MACHINE", station.key().machine},
        {"FENTA21_HOME", homeFolder},
    };
}

std::string runStationAlert(const Clock& clock, const std::string& homeFolder, const std::string& command,
                            const StationAlert& alert) {
    ChildResult ran =
        runChild({"/bin/sh", "-c", command}, clock.scaled(kAlertTimeLimit), alertEnvironment(alert, homeFolder));
    if (ran.succeeded()) return {};
    // ERR.LOG keeps 44 bytes on an entry's first line: what failed and how come first.
    std::string what = std::string(settingName(alert.kind)) + " " + alert.station.key().station + " unit " +
                       std::to_string(alert.station.key().unit) + ": ";
    if (!ran.started) return what + "not started: " + ran.problem;
    if (ran.timedOut) return what + "killed after " + std::to_string(kAlertTimeLimit.count()) + " s" + firstLine(ran.output);
    return what + "exit status " + std::to_string(ran.exitCode) + firstLine(ran.output);
}

}  // namespace fenta21
