#include "core/remote/ArbitraryListFile.h"

#include "core/session/Session.h"
#include "core/base/Bytes.h"
#include "core/base/Files.h"
#include "core/base/HomeFileEdit.h"
#include "core/base/ThreeWayMerge.h"
#include "core/report/Report.h"
#include "core/remote/ArbitraryList.h"

#include <vector>

namespace fenta21 {

ArbitraryList parseArbitraryList(std::string_view bytes) {
    std::vector<int> stations;
    for (std::size_t at = 0; at + kArbitraryRowBytes <= bytes.size(); at += kArbitraryRowBytes)
        stations.push_back(readInt32LE(bytes, at));
    return ArbitraryList(stations);
}

std::string formatArbitraryList(const ArbitraryList& list) {
    std::string bytes;
    for (int station : list.stations()) appendInt32LE(bytes, station);
    return bytes;
}

ArbitraryList loadArbitraryList(const std::string& path) {
    auto bytes = readRegularFilePrefix(path, kArbitraryListFileBytes).bytes;
    return bytes ? parseArbitraryList(*bytes) : ArbitraryList{};
}

bool saveArbitraryList(const std::string& path, const ArbitraryList& list) {
    return writeFileAtomically(path, formatArbitraryList(list));
}

bool storeArbitraryList(Session& session, ArbitraryList& list) {
    std::vector<int> merged;
    auto merge = [&](const FileOnDisk& now) -> std::optional<std::string> {
        auto theirs = now ? std::optional(parseArbitraryList(*now).stations()) : std::nullopt;
        std::optional<std::vector<int>> rows =
            mergeWithListFile(list.storedStations(), list.stations(), theirs, kMostArbitraryRows);
        if (!rows) return std::nullopt;
        merged = std::move(*rows);
        return formatArbitraryList(ArbitraryList(merged));
    };
    if (editHomeFile(session.homeFile(kArbitraryListFileName), kArbitraryListFileBytes, merge,
                     [&] { list.takeStored(merged); })
            .written())
        return true;
    report(session, kArbitraryListNotSavedText);
    return false;
}

}  // namespace fenta21
