#include "core/health/AttemptStrip.h"

#include "core/collect/CollectResult.h"

namespace fenta21 {

std::vector<StripEntry> attemptStrip(const std::vector<CollectionAttempt>& attempts, EpochSeconds now) {
    constexpr EpochSeconds kDay = 24 * 60 * 60;
    std::vector<StripEntry> strip;
    for (const CollectionAttempt& attempt : attempts) {
        EpochSeconds since = attempt.started - (now - kDay);
        if (since < 0 || since > kDay) continue;
        StripMark mark = !attempt.contacted ? StripMark::Failed
                         : attempt.result == kCollectNothingNew ? StripMark::NothingNew
                                                                : StripMark::Collected;
        strip.push_back({static_cast<double>(since) / kDay, mark});
    }
    return strip;
}

}  // namespace fenta21
