#pragma once

#include "core/collect/FileNaming.h"
#include "core/collect/TransferTally.h"

#include <string>

namespace fenta21 {

class ModalContext;
class CollectionContext;

// The worker of a binary collection: asks with `command` ("copy" or "acopy"), receives the
// logger's memory image block by block into `destination`, has the logger mark it collected
// and converts it to CSV. Returns a collection result (1, 27, -1, -2, 100-105). On success
// lastDataFile names the file as stored: the destination, or the next free name when another
// program stored a file of that name meanwhile. `tally` counts what arrived.
int blockReceiver(CollectionContext& session, ModalContext& dialog, const std::string& command, const Destination& destination,
                  TransferTally& tally);
inline int blockReceiver(CollectionContext& session, ModalContext& dialog, const std::string& command,
                         const Destination& destination) {
    TransferTally tally;
    return blockReceiver(session, dialog, command, destination, tally);
}

// The worker of a text collection: receives the listing of "text" into `destination`, with
// lastDataFile as above.
int textReceiver(CollectionContext& session, ModalContext& dialog, const Destination& destination, TransferTally& tally);

// Told when a binary collection ends without having the logger clear its records because
// storing fell short: the transfer ended before the announced size (what arrived is stored),
// the file is not safely on disk, or it could not be stored at all (103).
inline constexpr const char* kNotClearedMessage =
    "データを全て保存できなかったため、データクリアしていません。次回回収時に再度データ回収します!!";

// "Total %3dKb - Received %3dKb Rec.No %03d Retry %04d".
std::string progressText(long totalBytes, long receivedBytes, int recordNumber, int retries);

}  // namespace fenta21
