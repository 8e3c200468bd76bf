#include "core/collect/FileNaming.h"

#include "core/collect/CollectionContext.h"
#include "core/base/Cp932.h"
#include "core/base/NameClaim.h"
#include "core/base/Results.h"
#include "core/collect/CollectResult.h"
#include "core/datafile/CsvName.h"
#include "core/protocol/CommandExchange.h"
#include "core/protocol/StationName.h"

#include <cstdio>
#include <filesystem>

namespace fenta21 {
namespace {

constexpr std::size_t kBaseNameMax = 39;

std::string formName(const std::string& baseName, const CalendarTime& t, const char* extension) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "_%02d%02d%02d_%02d%02d.%s", t.year % 100, t.month, t.day, t.hour, t.minute,
                  extension);
    return baseName + stamp;
}

// The configured base name, or the logger's own name: from the panel when it is running,
// else asked with "eerm0".
int chooseBaseName(CollectionContext& session, int station, bool appendUnit, std::string& base) {
    base = collectionTarget(session, station).baseName;
    if (!base.empty() && base.front() == ' ') base.clear();
    if (!base.empty()) {
        // Units sit behind a station's line; the direct line has none, whatever unit the last
        // remote link left in the word.
        int unit = station < 0 ? 0 : session.reports.currentUnit.load();
        if (appendUnit && unit != 0) base += std::to_string(unit);
    } else if (session.line.panelLinkActive() == 1) {
        base = session.panelStationId.get();
    } else {
        std::string reply;
        int result = sendCommand(session, "eerm0", reply, kStationNameReplyMax);
        if (result != kAccepted) return result;
        // The logger names itself in code page 932, like every text it keeps.
        base = cp932ToUtf8(reply.substr(0, cp932PrefixLength(reply, kBaseNameMax)));
    }
    base = sanitizeBaseName(base);
    return 0;
}

bool taken(const std::string& path) {
    std::error_code ec;
    return std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found;
}

// A file the user picks although it is there was agreed to be replaced (the file dialog
// asks); a name that was free when chosen is claimed like any other.
int askDestination(CollectionContext& session, const std::string& suggested, Destination& destination) {
    std::string chosen = session.host.chooseSaveFile("名前を付けて保存", suggested);
    if (chosen.empty()) return kCancelled;
    destination.path = chosen;
    destination.replaces = taken(chosen);
    return 0;
}

int finish(CollectionContext& session, int result, const Destination& destination) {
    if (result == 0) session.line.lastDataFile.set(destination.path);
    return result;
}

constexpr int kMostNumberedNames = 9999;

// The n-th name a file of `path` may take: `path` itself, then "_2", "_3" ... before the
// extension.
std::string numberedPath(const std::string& path, int n) {
    if (n == 1) return path;
    std::filesystem::path named(path);
    return (named.parent_path() / named.stem()).string() + "_" + std::to_string(n) + named.extension().string();
}

}  // namespace

CollectionTarget collectionTarget(CollectionContext& session, int station) {
    if (session.stationTarget) return session.stationTarget(station);
    return {};
}

std::string formDataFileName(const std::string& baseName, const CalendarTime& time) {
    return formName(baseName, time, "v38");
}

std::string formTextFileName(const std::string& baseName, const CalendarTime& time) {
    return formName(baseName, time, "txt");
}

std::string sanitizeBaseName(const std::string& name) {
    static const std::string kRefused = "/\\:*?\"<>|";
    std::string safe;
    for (char c : name) {
        auto byte = static_cast<unsigned char>(c);
        safe.push_back(byte < 0x20 || byte == 0x7F || kRefused.find(c) != std::string::npos ? '_' : c);
    }
    // Dots in pairs could name a folder above, and a leading dot would hide the file.
    for (std::size_t at = safe.find(".."); at != std::string::npos; at = safe.find("..", at))
        safe.replace(at, 2, "__");
    if (!safe.empty() && safe.front() == '.') safe.front() = '_';
    return safe;
}

std::optional<std::string> unclaimedPath(const std::string& path, bool withCsv) {
    for (int n = 1; n <= kMostNumberedNames; ++n) {
        std::string candidate = numberedPath(path, n);
        if (!taken(candidate) && !(withCsv && taken(csvNameFor(candidate)))) return candidate;
    }
    return std::nullopt;
}

std::optional<std::string> claimDestination(const std::string& from, const Destination& destination) {
    if (destination.replaces)
        return std::rename(from.c_str(), destination.path.c_str()) == 0 ? std::optional(destination.path) : std::nullopt;
    for (int n = 1; n <= kMostNumberedNames; ++n) {
        std::string candidate = numberedPath(destination.path, n);
        if (destination.withCsv && taken(csvNameFor(candidate))) continue;
        switch (claimName(from, candidate)) {
            case NameClaim::Claimed: return candidate;
            case NameClaim::Taken: continue;
            case NameClaim::Failed: return std::nullopt;
        }
    }
    return std::nullopt;
}

int nameDataFile(CollectionContext& session, int station, const std::string& folder, Destination& destination) {
    std::string base;
    int result = chooseBaseName(session, station, true, base);
    if (result != 0) return result;
    destination = Destination{.path = {}, .withCsv = true};
    // Names go to the minute: a second collection in the same minute must not replace the
    // first one's file, whose records the logger has already cleared.
    auto unclaimed = unclaimedPath(folder + formDataFileName(base, session.sampleClock()), true);
    if (!unclaimed) return finish(session, kCollectNoFile, destination);
    // Only an interactive collection on the direct line, with the panel running, asks.
    if (station < 0 && session.line.panelLinkActive() == 1)
        return finish(session, askDestination(session, *unclaimed, destination), destination);
    destination.path = *unclaimed;
    return finish(session, 0, destination);
}

int nameTextFile(CollectionContext& session, int station, const std::string& folder, Destination& destination) {
    std::string base;
    int result = chooseBaseName(session, station, false, base);
    if (result != 0) return result;
    destination = Destination{};
    auto unclaimed = unclaimedPath(folder + formTextFileName(base, session.sampleClock()), false);
    if (!unclaimed) return finish(session, kCollectNoFile, destination);
    return finish(session, askDestination(session, *unclaimed, destination), destination);
}

std::optional<TempNameParts> tempNameParts(const std::string& pattern) {
    auto at = pattern.find("XXXX");
    if (at == std::string::npos) return std::nullopt;
    return TempNameParts{pattern.substr(0, at), pattern.substr(at + 4)};
}

}  // namespace fenta21
