#include "core/remote/ArbitraryListFile.h"

#include "core/app/Session.h"
#include "core/base/Bytes.h"
#include "core/base/Files.h"
#include "core/collect/Report.h"
#include "core/remote/ArbitraryList.h"

#include <vector>

namespace fenta21 {

ArbitraryList parseArbitraryList(std::string_view bytes) {
    std::vector<int> stations;
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) stations.push_back(readInt32LE(bytes, at));
    return ArbitraryList(stations);
}

std::string formatArbitraryList(const ArbitraryList& list) {
    std::string bytes;
    for (int station : list.stations()) appendInt32LE(bytes, station);
    return bytes;
}

ArbitraryList loadArbitraryList(const std::string& path) {
    auto bytes = readWholeFile(path);
    return bytes ? parseArbitraryList(*bytes) : ArbitraryList{};
}

bool saveArbitraryList(const std::string& path, const ArbitraryList& list) {
    return writeFileAtomically(path, formatArbitraryList(list));
}

bool storeArbitraryList(Session& session, const ArbitraryList& list) {
    if (saveArbitraryList(session.homeFile(kArbitraryListFileName), list)) return true;
    report(session, kArbitraryListNotSavedText);
    return false;
}

}  // namespace fenta21
