#include "core/health/HealthMetrics.h"

#include <functional>
#include <optional>

namespace fenta21 {
namespace {

struct Metric {
    const char* name;
    const char* type;
    const char* help;
    // The sample of a station, or nothing when it has none (no contact yet, say).
    std::function<std::optional<long long>(const StationHealth&)> value;
};

std::string labels(const StationHealth& station) {
    return "station=\"" + metricLabelValue(station.key().station) + "\",unit=\"" + std::to_string(station.key().unit) +
           "\"";
}

const std::vector<Metric>& metrics() {
    static const std::vector<Metric> all{
        {"fenta21_station_last_success_timestamp_seconds", "gauge",
         "When the last collection that reached the station's logger ended (records stored or nothing new).",
         [](const StationHealth& s) -> std::optional<long long> { return s.tally.lastSuccess; }},
        {"fenta21_station_last_attempt_timestamp_seconds", "gauge", "When the last collection attempt ended.",
         [](const StationHealth& s) -> std::optional<long long> {
             if (!s.tally.lastAttempt) return std::nullopt;
             return s.tally.lastAttempt->ended;
         }},
        {"fenta21_station_attempts_total", "counter", "Collection attempts of the station.",
         [](const StationHealth& s) -> std::optional<long long> { return s.tally.attempts; }},
        {"fenta21_station_failures_total", "counter", "Collection attempts that did not reach the station's logger.",
         [](const StationHealth& s) -> std::optional<long long> { return s.tally.failures; }},
        {"fenta21_station_consecutive_failures", "gauge", "Failed collection attempts since the last success.",
         [](const StationHealth& s) -> std::optional<long long> { return s.tally.consecutiveFailures; }},
        {"fenta21_station_expected_interval_seconds", "gauge",
         "The longest time between two reserved collections of the station.",
         [](const StationHealth& s) -> std::optional<long long> { return s.expectedInterval; }},
    };
    return all;
}

}  // namespace

std::string metricLabelValue(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '"') out += "\\\"";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::string formatHealthMetrics(const std::vector<StationHealth>& stations) {
    std::string text;
    for (const Metric& metric : metrics()) {
        text += std::string("# HELP ") + metric.name + " " + metric.help + "\n";
        text += std::string("# TYPE ") + metric.name + " " + metric.type + "\n";
        for (const StationHealth& station : stations)
            if (auto value = metric.value(station))
                text += std::string(metric.name) + "{" + labels(station) + "} " + std::to_string(*value) + "\n";
    }
    const char* state = "fenta21_station_state";
    text += std::string("# HELP ") + state +
            " The station's health: 1 for its state (failing, late, unknown or normal), 0 for the others.\n";
    text += std::string("# TYPE ") + state + " gauge\n";
    for (const StationHealth& station : stations)
        for (HealthState each : {HealthState::Failing, HealthState::Late, HealthState::Unknown, HealthState::Normal})
            text += std::string(state) + "{" + labels(station) + ",state=\"" + healthStateName(each) + "\"} " +
                    (each == station.state ? "1" : "0") + "\n";
    return text;
}

}  // namespace fenta21
