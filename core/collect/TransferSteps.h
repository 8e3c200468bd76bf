#pragma once

#include <functional>
#include <string>

namespace fenta21 {

class ModalContext;
class CollectionContext;
class TransferFile;

// What every transfer does around its own work: a short pause for the progress window, the
// line guard ("comtm=0" ... "comtm=1") around the transfer, whatever its result.
int runGuardedTransfer(CollectionContext& session, const std::function<int()>& transfer);

// Creates the transfer's temporary file beside the destination (from `pattern`, its "XXXX"
// made a part no other program can guess) and starts the window's animation: 0, 100 (no
// temporary name) or 101 (not created).
int beginTransferFile(CollectionContext& session, ModalContext& dialog, TransferFile& file, const std::string& destination,
                      const char* pattern);

// Waits until the logger has stopped talking, reading away what it sends: a 1 s pause, then
// whatever is waiting, until a pause passes with nothing. Bounded, so that a line that never
// falls silent cannot hold a receiver forever.
void drainLine(CollectionContext& session);

// Ends a transfer from the receiving side: CAN, an empty line, then the drain above.
void cancelTransfer(CollectionContext& session);

}  // namespace fenta21
