#pragma once

#include <string>

namespace fenta21 {

class CollectionContext;

// Results of one collection, as the receivers and the naming step produce them.
inline constexpr int kCollectOk = 1;
inline constexpr int kCollectNoFile = 100;        // destination folder missing, or no temporary name
inline constexpr int kCollectCannotOpen = 101;    // the temporary file cannot be created
inline constexpr int kCollectTransferFailed = 102;
inline constexpr int kCollectWriteFailed = 103;   // a write or the final rename failed
inline constexpr int kCollectNothingNew = 104;
inline constexpr int kCollectCardBusy = 105;      // the logger's card collection is running

// The message the user is shown for a result, or empty for codes that show none.
std::string collectResultMessage(int result);

// Reports the result through the shared report. A success shows nothing, except that a
// reserved collection writes "[%03d %s] 正常終了" to RSV.LOG.
void reportResult(CollectionContext& session, int result);

}  // namespace fenta21
