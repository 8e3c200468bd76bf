#include "core/health/HealthSettings.h"

#include "core/base/Files.h"

#include <charconv>
#include <filesystem>
#include <optional>

namespace fenta21 {
namespace {

constexpr std::size_t kSettingsFileBytes = 256 * 1024;
constexpr std::size_t kLongestText = 4096;
constexpr int kMostFailures = 1000;
constexpr long kLongestMarginMinutes = 366L * 24 * 60;

const std::string kOnFailed = "on-failed";
const std::string kOnLate = "on-late";
const std::string kOnRecovered = "on-recovered";
const std::string kMetricsFile = "metrics-file";
const std::string kFailingAfter = "failing-after";
const std::string kLateMargin = "late-margin";  // minutes

std::optional<long> wholeNumber(std::string_view text, long lowest, long highest) {
    long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) return std::nullopt;
    return value;
}

// The text setting of that name, in settings that may be const.
template <typename Settings>
auto textSetting(Settings& settings, std::string_view name) -> decltype(&settings.onFailed) {
    if (name == kOnFailed) return &settings.onFailed;
    if (name == kOnLate) return &settings.onLate;
    if (name == kOnRecovered) return &settings.onRecovered;
    if (name == kMetricsFile) return &settings.metricsFile;
    return nullptr;
}

std::string numberRefusal(std::string_view name, std::string_view value) {
    if (name == kFailingAfter && !wholeNumber(value, 1, kMostFailures))
        return "failing-after takes a number of failed attempts from 1 to " + std::to_string(kMostFailures) +
               ", not \"" + std::string(value) + "\"";
    if (name == kLateMargin && !wholeNumber(value, 0, kLongestMarginMinutes))
        return "late-margin takes minutes from 0 to " + std::to_string(kLongestMarginMinutes) + ", not \"" +
               std::string(value) + "\"";
    return {};
}

// Applies one line's setting; a line of another name is left to whoever wrote it.
void apply(HealthSettings& settings, std::string_view name, std::string_view value, std::vector<std::string>& problems) {
    if (std::string* text = textSetting(settings, name)) {
        *text = value;
        return;
    }
    if (name != kFailingAfter && name != kLateMargin) return;
    if (std::string refusal = numberRefusal(name, value); !refusal.empty()) {
        problems.push_back(kHealthSettingsFileName + std::string(": ") + refusal + "; the default is used");
        return;
    }
    long number = *wholeNumber(value, 0, kLongestMarginMinutes);
    if (name == kFailingAfter) settings.thresholds.failingAfter = static_cast<int>(number);
    else settings.thresholds.lateMargin = number * 60;
}

// Calls `line` with each line's name and value (the value may hold tabs).
template <typename Use>
void eachSetting(std::string_view text, Use line) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view row = text.substr(start, end - start);
        start = end + 1;
        if (!row.empty() && row.back() == '\r') row.remove_suffix(1);
        if (row.empty() || row.front() == '#') continue;
        std::size_t tab = row.find('\t');
        line(row.substr(0, tab), tab == std::string_view::npos ? std::string_view() : row.substr(tab + 1));
    }
}

}  // namespace

const std::vector<std::string> kHealthSettingNames{kOnFailed,     kOnLate,       kOnRecovered,
                                                   kMetricsFile,  kFailingAfter, kLateMargin};

HealthSettingsRead parseHealthSettings(std::string_view text) {
    HealthSettingsRead read;
    eachSetting(text, [&](std::string_view name, std::string_view value) { apply(read.settings, name, value, read.problems); });
    return read;
}

HealthSettingsRead loadHealthSettings(const std::string& homeFolder) {
    FileContent content = readRegularFilePrefix(joinPath(homeFolder, kHealthSettingsFileName), kSettingsFileBytes);
    if (content.bytes) return parseHealthSettings(*content.bytes);
    HealthSettingsRead read;
    if (!std::filesystem::exists(joinPath(homeFolder, kHealthSettingsFileName))) return read;
    read.problems.push_back(std::string(kHealthSettingsFileName) + ": " + content.problem + "; the defaults are used");
    return read;
}

std::string healthSettingText(const HealthSettings& settings, std::string_view name) {
    if (name == kFailingAfter) return std::to_string(settings.thresholds.failingAfter);
    if (name == kLateMargin) return std::to_string(settings.thresholds.lateMargin / 60);
    const std::string* text = textSetting(settings, name);
    return text ? *text : std::string();
}

std::string healthSettingRefusal(const std::string& homeFolder, std::string_view name, std::string_view value) {
    if (value.size() > kLongestText) return std::string(name) + " takes at most " + std::to_string(kLongestText) + " bytes";
    if (value.find_first_of(std::string_view("\n\r\0", 3)) != std::string_view::npos)
        return std::string(name) + " takes one line, without a line break or NUL";
    if (name == kMetricsFile && !value.empty()) {
        std::filesystem::path path(value);
        if (path.is_relative()) path = std::filesystem::path(homeFolder) / path;
        if (!path.has_filename()) return "metrics-file takes a file, not the folder \"" + std::string(value) + "\"";
        std::error_code error;
        if (!std::filesystem::is_directory(path.parent_path(), error))
            return "metrics-file: the folder " + path.parent_path().string() + " does not exist";
    }
    return numberRefusal(name, value);
}

HomeFileEdit storeHealthSetting(const std::string& homeFolder, const std::string& name, const std::string& value) {
    return editHomeFile(
        joinPath(homeFolder, kHealthSettingsFileName), kSettingsFileBytes,
        [&](const FileOnDisk& now) -> std::optional<std::string> {
            std::string kept;
            if (now) {
                std::size_t start = 0;
                while (start < now->size()) {
                    std::size_t end = now->find('\n', start);
                    std::string row = now->substr(start, end == std::string::npos ? std::string::npos : end - start);
                    start = end == std::string::npos ? now->size() : end + 1;
                    if (row.substr(0, row.find('\t')) != name) kept += row + "\n";
                }
            } else {
                kept = "# fenta21 station health: NAME<TAB>VALUE, as fenta21-cli config sets them\n";
            }
            return kept + name + "\t" + value + "\n";
        });
}

}  // namespace fenta21
