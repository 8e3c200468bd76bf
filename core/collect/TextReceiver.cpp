#include "core/collect/CollectionContext.h"
#include "core/base/Host.h"
#include "core/collect/CollectResult.h"
#include "core/collect/FileNaming.h"
#include "core/collect/Receivers.h"
#include "core/collect/TransferFile.h"
#include "core/collect/TransferSteps.h"
#include "core/protocol/CommandExchange.h"
#include "core/serial/Channel.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fenta21 {
namespace {

using namespace std::chrono_literals;

constexpr int kCountReplyMax = 40;
constexpr int kLineMax = 80;
constexpr int kProgressEveryLines = 8;

// A record line has commas at positions 8, 17, 21 and 25; nothing else is looked at.
bool wellFormed(const std::string& line) {
    for (std::size_t comma : {8u, 17u, 21u, 25u})
        if (line.size() <= comma || line[comma] != ',') return false;
    return true;
}

std::string numbered(int linesWritten, const std::string& text) {
    char number[16];
    std::snprintf(number, sizeof number, "%06d ", linesWritten);
    return number + text + "\r\n";
}

class TextReceiver {
public:
    TextReceiver(CollectionContext& session, ModalContext& dialog, const Destination& destination, TransferTally& tally)
        : session_(session), channel_(session.channel()), dialog_(dialog), destination_(destination), tally_(tally) {}

    int run() {
        return runGuardedTransfer(session_, [this] { return transfer(); });
    }

private:
    int transfer() {
        if (int begun = beginTransferFile(session_, dialog_, file_, destination_.path, kTextTempPattern); begun != 0) return begun;

        std::string reply;
        int result = sendCommand(session_, "eerl0", reply, kCountReplyMax);
        if (result != kAccepted) return abandon(result);
        recordCount_ = std::atol(reply.c_str());
        if (recordCount_ <= 0) return abandon(kCollectNothingNew);

        session_.clock.sleepFor(100ms);
        purgeInput(channel_);
        sendLineCRLF(channel_, "text");
        for (;;) {
            std::string line;
            int read = readLineLF(channel_, line, kLineMax);
            if (dialog_.cancelled()) return abandon(kCancelled);
            if (read == kLineTimeout || (read == kLineRead && !line.empty() && line.front() == 'E'))
                return finish(read == kLineTimeout);
            if (read == kLineFull) {
                // Too long for a record: listed as an error with what fitted, and the rest of
                // it is read away so that its tail is not taken for a line of its own.
                skipRestOfLine();
                errors_.push_back(numbered(linesWritten_, "Error[" + line + "]"));
                continue;
            }
            if (!wellFormed(line)) {
                errors_.push_back(numbered(linesWritten_, "Error[" + line + "]"));
                continue;
            }
            if (!file_.write(line + "\r\n")) return abandon(kCollectWriteFailed);
            tally_.bytesReceived += static_cast<long>(line.size() + 2);
            if (linesWritten_ % kProgressEveryLines == 0) {
                dialog_.setProgress(static_cast<int>(std::min<long>(100, linesWritten_ * 100L / recordCount_)));
                dialog_.setText(line);
            }
            ++linesWritten_;
        }
    }

    int finish(bool timedOut) {
        dialog_.setProgress(100);
        if (!file_.write("END\r\n")) return abandon(kCollectWriteFailed);
        for (const auto& error : errors_)
            if (!file_.write(error)) return abandon(kCollectWriteFailed);
        if (timedOut && !file_.write(numbered(linesWritten_, "Receive time out"))) return abandon(kCollectWriteFailed);
        // Nothing is cleared after a listing, so a folder that could not be synced changes nothing.
        if (file_.commit(destination_) == TransferFile::Commit::Failed) return kCollectWriteFailed;
        session_.line.lastDataFile.set(file_.storedPath());
        return kCollectOk;
    }

    void skipRestOfLine() {
        std::string rest;
        for (int i = 0; i < 64; ++i)
            if (readLineLF(channel_, rest, kLineMax) != kLineFull) return;
    }

    int abandon(int result) {
        dialog_.setText(progressText(recordCount_, linesWritten_, 0, 0));
        cancelTransfer(session_);
        file_.discard();
        return result;
    }

    CollectionContext& session_;
    TTYInfo* channel_;
    ModalContext& dialog_;
    const Destination& destination_;
    TransferTally& tally_;
    TransferFile file_{session_.syncFolder};
    std::vector<std::string> errors_;
    long recordCount_ = 0;
    int linesWritten_ = 0;
};

}  // namespace

int textReceiver(CollectionContext& session, ModalContext& dialog, const Destination& destination, TransferTally& tally) {
    return TextReceiver(session, dialog, destination, tally).run();
}

}  // namespace fenta21
