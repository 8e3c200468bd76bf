#include "core/remote/ArbitraryRun.h"

#include "core/session/Session.h"
#include "core/base/Results.h"
#include "core/remote/CollectStation.h"

namespace fenta21 {

ArbitraryRunResult runArbitraryList(Session& session, const std::vector<int>& stations,
                                    const std::function<void(int row)>& onRow) {
    ArbitraryRunResult run;
    for (std::size_t row = 0; row < stations.size(); ++row) {
        if (onRow) onRow(static_cast<int>(row));
        int station = stations[row];
        session.reports.currentStation.store(station);
        if (!session.addressBook.hasName(station)) continue;
        int result = collectStation(session, station, CollectionOrigin::List);
        run.results.push_back(result);
        if (result == kCancelled) {
            run.cancelled = true;
            break;
        }
    }
    return run;
}

}  // namespace fenta21
