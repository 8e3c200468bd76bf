#include "core/collect/CollectionContext.h"
#include "core/base/Host.h"
#include "core/collect/Block.h"
#include "core/collect/CollectResult.h"
#include "core/collect/FileNaming.h"
#include "core/report/Logs.h"
#include "core/collect/Receivers.h"
#include "core/report/Report.h"
#include "core/collect/TransferFile.h"
#include "core/collect/TransferSteps.h"
#include "core/datafile/DataFileHeader.h"
#include "core/protocol/CommandExchange.h"
#include "core/serial/Channel.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace fenta21 {
namespace {

using namespace std::chrono_literals;

constexpr int kCountReplyMax = 40;
constexpr int kClearReplyMax = 20;
constexpr int kMaxConsecutiveErrors = 5;
constexpr long kNothingNewBytes = 640;  // the header alone: no records
constexpr int kProgressEveryBlocks = 32;

constexpr const char* kClearFailedMessage =
    "データクリアに失敗しました。次回回収時に重複してデータ回収する可能性があります!!";

std::string hex2(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

class BlockReceiver {
public:
    BlockReceiver(CollectionContext& session, ModalContext& dialog, const std::string& command, const Destination& destination,
                  TransferTally& tally)
        : session_(session), channel_(session.channel()), dialog_(dialog), command_(command),
          destination_(destination), tally_(tally) {}

    int run() {
        return runGuardedTransfer(session_, [this] { return transfer(); });
    }

private:
    int transfer() {
        if (int begun = beginTransferFile(session_, dialog_, file_, destination_.path, kDataTempPattern); begun != 0) return begun;

        std::string reply;
        int result = sendCommand(session_, command_, reply, kCountReplyMax);
        if (result != kAccepted) return abandon(result);
        if (!reply.empty() && reply.front() == 'B') return abandon(kCollectCardBusy);
        totalBytes_ = std::atol(reply.c_str());
        if (totalBytes_ <= kNothingNewBytes) return abandon(kCollectNothingNew);

        session_.clock.sleepFor(100ms);
        purgeInput(channel_);
        sendByte(channel_, kStartCRC);
        for (;;) {
            int read = readBlock(channel_, block_);
            if (dialog_.cancelled()) return abandon(kCancelled);
            switch (read) {
                case kBlockEOT:
                    if (tally_.bytesReceived >= wholeImageBytes() || earlyEotAnswered_) return finish();
                    // An end before the whole image may be one noisy byte read in place of
                    // a block's STX. A sender that has really finished sends its EOT again;
                    // noise does not, and the block it spoiled comes again after the NAK,
                    // once the rest of it has passed.
                    earlyEotAnswered_ = true;
                    ++tally_.retries;
                    drainLine(session_);
                    break;
                case kBlockBadStart:
                    // The rest of whatever began with the wrong byte is still coming: let it
                    // pass before asking again, or each of its bytes would count as an error.
                    drainLine(session_);
                    if (countError()) return failed("not STX " + hex2(block_[0]));
                    break;
                case kLineTimeout:
                    if (countError()) return failed("time out error " + hex2(block_[1]));
                    break;
                default: {
                    recordNumber_ = block_[1];
                    BlockCheck check = checkBlock(block_);
                    if (check == BlockCheck::BadComplement && countError()) {
                        sendByte(channel_, kCAN);
                        return failed("rec.error rec.no " + hex2(block_[1]) + " " + hex2(block_[2]));
                    }
                    if (check == BlockCheck::BadCrc && countError())
                        return failed("chk.crc error " + hex4(blockCrc(block_)) + " " + hex4(receivedCrc(block_)));
                    if (check == BlockCheck::Good) {
                        int accepted = acceptBlock();
                        if (accepted != 0) return abandon(accepted);
                        continue;
                    }
                }
            }
            sendByte(channel_, kNAK);
        }
    }

    // A good block is written unless it repeats the block just accepted: a logger whose ACK
    // was lost sends the same block again, and writing it twice would shift every later
    // record of the memory image.
    int acceptBlock() {
        consecutiveErrors_ = 0;
        earlyEotAnswered_ = false;
        bool repeated = tally_.blocksReceived > 0 && block_[1] == lastAccepted_;
        if (!repeated) {
            if (tally_.blocksReceived == 0) noteImageEnd();
            if (!file_.write(block_.data() + 3, kBlockPayload)) return kCollectWriteFailed;
            tally_.bytesReceived += static_cast<long>(kBlockPayload);
            if (tally_.blocksReceived % kProgressEveryBlocks == 0) {
                // The last block is padded to its full size, so a short image passes its count.
                dialog_.setProgress(static_cast<int>(std::min(100L, tally_.bytesReceived * 100 / totalBytes_)));
                showProgress();
            }
            ++tally_.blocksReceived;
            lastAccepted_ = block_[1];
        }
        sendByte(channel_, kACK);
        return 0;
    }

    int finish() {
        sendByte(channel_, kACK);
        dialog_.setProgress(100);
        dialog_.setText(progressText(tally_.bytesReceived, tally_.bytesReceived, recordNumber_, tally_.retries));
        // The file must be whole on disk under its real name before the logger is told to
        // forget the records in it.
        TransferFile::Commit stored = file_.commit(destination_);
        if (stored == TransferFile::Commit::Failed) {
            report(session_, kNotClearedMessage);
            return kCollectWriteFailed;
        }
        const std::string& storedPath = file_.storedPath();
        session_.line.lastDataFile.set(storedPath);
        if (tally_.bytesReceived < wholeImageBytes() || stored != TransferFile::Commit::Durable) {
            // What arrived is kept, but the logger keeps its records for the next collection.
            report(session_, kNotClearedMessage);
        } else {
            session_.clock.sleepFor(2000ms);
            std::string reply;
            // A stop asked for now (the cancel button, or the program being ended) must not
            // still tell the logger to forget: the file is stored, and the records stay for
            // the next collection.
            if (dialog_.cancelled()) {
                report(session_, kCancelledMessage);
            } else {
                tally_.clearSent = true;
                tally_.clearAnswered = sendCommandReport(session_, "clear", reply, kClearReplyMax) == kAccepted;
                if (!tally_.clearAnswered) report(session_, kClearFailedMessage);
            }
        }
        if (session_.csvConverter) tally_.conversion = session_.csvConverter(storedPath);
        return kCollectOk;
    }

    // The first block is the logger's header, which says where its last record ends.
    void noteImageEnd() {
        std::string_view header(reinterpret_cast<const char*>(block_.data() + 3), kBlockPayload);
        if (auto area = readRecordArea(header)) imageEndBytes_ = static_cast<long>(area->endOffset);
    }

    // What a whole image takes: the announced count, and the memory up to the last record.
    // The count is the header and the new records only, while the blocks carry the memory
    // from offset 0, so an end after as many bytes as the count may still be short of the
    // records the logger would mark collected.
    long wholeImageBytes() const { return std::max(totalBytes_, imageEndBytes_); }

    bool countError() {
        ++tally_.retries;
        return ++consecutiveErrors_ >= kMaxConsecutiveErrors;
    }

    int failed(const std::string& logLine) {
        logError(session_, logLine);
        return abandon(kCollectTransferFailed);
    }

    // Tells the logger to stop, waits until it has, and throws the partial file away.
    int abandon(int result) {
        showProgress();
        cancelTransfer(session_);
        file_.discard();
        return result;
    }

    void showProgress() { dialog_.setText(progressText(totalBytes_, tally_.bytesReceived, recordNumber_, tally_.retries)); }

    CollectionContext& session_;
    TTYInfo* channel_;
    ModalContext& dialog_;
    const std::string& command_;
    const Destination& destination_;
    TransferTally& tally_;
    TransferFile file_{session_.syncFolder};
    BlockBuffer block_{};
    long totalBytes_ = 0;
    long imageEndBytes_ = 0;  // the header's end of the records, once the first block is in
    int recordNumber_ = 0;
    int consecutiveErrors_ = 0;
    std::uint8_t lastAccepted_ = 0;
    bool earlyEotAnswered_ = false;  // an early EOT was answered with NAK since the last good block
};

}  // namespace

std::string progressText(long totalBytes, long receivedBytes, int recordNumber, int retries) {
    char text[96];
    std::snprintf(text, sizeof text, "Total %3ldKb - Received %3ldKb Rec.No %03d Retry %04d", totalBytes / 1000,
                  receivedBytes / 1000, recordNumber & 0xFF, retries);
    return text;
}

int blockReceiver(CollectionContext& session, ModalContext& dialog, const std::string& command, const Destination& destination,
                  TransferTally& tally) {
    return BlockReceiver(session, dialog, command, destination, tally).run();
}

}  // namespace fenta21
