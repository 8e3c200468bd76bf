#include "core/store/StationFromFile.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace fenta21::store {
namespace {

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The name without the "_YYMMDD_HHMM" stamp at its end, or nothing when it does not end so.
std::optional<std::string_view> beforeStamp(std::string_view name) {
    constexpr std::size_t kStamp = 12;  // "_YYMMDD_HHMM"
    if (name.size() <= kStamp) return std::nullopt;
    std::string_view stamp = name.substr(name.size() - kStamp);
    if (stamp[0] != '_' || stamp[7] != '_' || !allDigits(stamp.substr(1, 6)) || !allDigits(stamp.substr(8, 4)))
        return std::nullopt;
    return name.substr(0, name.size() - kStamp);
}

}  // namespace

std::string stationFromFileName(const std::string& path) {
    std::string stem = std::filesystem::path(path).stem().string();
    std::string_view name = stem;
    if (auto station = beforeStamp(name)) return std::string(*station);
    // A second file of the same minute carries "_2", "_3" ... behind the stamp.
    std::size_t underscore = name.rfind('_');
    if (underscore != std::string_view::npos && allDigits(name.substr(underscore + 1)))
        if (auto station = beforeStamp(name.substr(0, underscore))) return std::string(*station);
    return stem;
}

}  // namespace fenta21::store
