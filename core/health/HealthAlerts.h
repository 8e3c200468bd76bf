#pragma once

#include "core/health/HealthSettings.h"
#include "core/health/StationHealth.h"
#include "core/util/ChildProcess.h"

#include <chrono>
#include <optional>
#include <string>

namespace fenta21 {

class Clock;

enum class AlertKind { Failed, Late, Recovered };

// The alert a change of a station's state calls for: becoming failing or late, or normal
// again after either. Nothing for the first contact of a station never reached before.
std::optional<AlertKind> alertForChange(HealthState before, HealthState after);
const std::string& alertCommand(const HealthSettings& settings, AlertKind kind);

struct StationAlert {
    AlertKind kind = AlertKind::Failed;
    HealthState previous = HealthState::Unknown;
    StationHealth station;
};

// What the command is told: FENTA21_STATION, FENTA21_UNIT, FENTA21_STATE, FENTA21_PREVIOUS_STATE,
// FENTA21_RESULT (the last attempt's message), FENTA21_CONSECUTIVE_FAILURES, FENTA21_LAST_ATTEMPT
// and FENTA21_LAST_SUCCESS (ISO 8601, empty when there was none), FENTA21_MACHINE, FENTA21_HOME.
EnvironmentVariables alertEnvironment(const StationAlert& alert, const std::string& homeFolder);

// An alert command may take this long (on the program's clock) before it is killed, with
// whatever it started.
inline constexpr std::chrono::seconds kAlertTimeLimit{60};

// Runs the command through /bin/sh, its output collected and dropped. Says what went wrong
// when it could not be started, failed or outlived its time limit (with the first line it
// wrote), for the error log; "" when it ended well.
std::string runStationAlert(const Clock& clock, const std::string& homeFolder, const std::string& command,
                            const StationAlert& alert);

}  // namespace fenta21
