#pragma once

#include <functional>
#include <vector>

namespace fenta21 {

class Session;

// "任意回収": collects the listed stations one after another, top to bottom. A station
// without a name is skipped; a cancelled collection (27) ends the run at once. `onRow` is
// told each row as it starts (the window marks it). Returns every row's result in order
// (rows not reached, and skipped ones, are absent).
struct ArbitraryRunResult {
    std::vector<int> results;
    bool cancelled = false;
};

ArbitraryRunResult runArbitraryList(Session& session, const std::vector<int>& stations,
                                    const std::function<void(int row)>& onRow = {});

}  // namespace fenta21
