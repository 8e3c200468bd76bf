#pragma once

#include "core/base/HomeFileEdit.h"
#include "core/health/StationHealth.h"

#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// The health settings of a home: one "NAME<TAB>VALUE" line each, '#' starting a comment. It is
// a file of this program alone, so it is UTF-8 like the commands and paths it holds, which
// code page 932 could not always keep.
inline constexpr const char* kHealthSettingsFileName = "health.conf";

struct HealthSettings {
    // Shell commands run when a station becomes failing or late, or normal again after that.
    std::string onFailed;
    std::string onLate;
    std::string onRecovered;
    // The metrics file as typed; a relative path is taken from the home folder.
    std::string metricsFile;
    HealthThresholds thresholds;
};

// The settings and what in them could not be used (a bad number keeps its default).
struct HealthSettingsRead {
    HealthSettings settings;
    std::vector<std::string> problems;
};

HealthSettingsRead parseHealthSettings(std::string_view text);
// The home's settings file as it is now; a missing file gives the defaults.
HealthSettingsRead loadHealthSettings(const std::string& homeFolder);

// The names `fenta21-cli config` takes for them, in the order it shows them.
extern const std::vector<std::string> kHealthSettingNames;
// What a setting shows as: its text, or its number.
std::string healthSettingText(const HealthSettings& settings, std::string_view name);

// Why `value` cannot be kept for the setting `name`, or "" when it can ("" clears a command or
// the metrics file). A metrics file must lie in a folder that exists.
std::string healthSettingRefusal(const std::string& homeFolder, std::string_view name, std::string_view value);

// Writes one setting under the home's lock, every other line of the file as it is then.
HomeFileEdit storeHealthSetting(const std::string& homeFolder, const std::string& name, const std::string& value);

}  // namespace fenta21
