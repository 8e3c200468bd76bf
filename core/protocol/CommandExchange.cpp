#include "core/protocol/CommandExchange.h"

#include "core/protocol/LineContext.h"
#include "core/report/Report.h"
#include "core/serial/Channel.h"

#include <cstdio>

namespace fenta21 {
namespace {

constexpr int kFastPathReads = 5;
constexpr int kUnitSelectReads = 5;
constexpr int kHandshakeMax = 20;
constexpr int kUnitSelectMax = 80;

// One reply line. A line longer than the caller allows is read to its end and thrown away,
// so that its tail is never taken for the reply to the command. A line that never ends is
// given up after a bounded number of bytes.
int readReply(TTYInfo* channel, std::string& reply, int max) {
    constexpr int kDiscardBytes = 4096;
    int result = readLineLF(channel, reply, max);
    if (result != kLineFull) return result;
    std::string rest;
    for (int discarded = 0; discarded < kDiscardBytes; discarded += max > 0 ? max : kDiscardBytes)
        if (readLineLF(channel, rest, max) != kLineFull) break;
    return kLineFull;
}

// The wait worker: phases A, B and C of the retry policy.
class ReplyWaiter {
public:
    ReplyWaiter(LineContext& session, const std::string& command, std::string& reply, int max)
        : channel_(session.channel()), retry_(session.retry), command_(command), reply_(reply), max_(max) {}

    int run() {
        // A: the command again, up to R sendings in all (it was sent once already).
        for (int t = 0; t < retry_.tries; ++t) {
            if (t > 0) sendLineCRLF(channel_, command_);
            if (oneTry() == kCancelled) return kCancelled;
            if (accepted()) return kAccepted;
        }
        // B: wake the logger with empty lines until something answers.
        for (int t = 0; t < retry_.tries; ++t) {
            sendLineCRLF(channel_, "");
            if (oneTry() == kCancelled) return kCancelled;
            if (lastRead_ == kLineRead) break;
        }
        if (lastRead_ == kLineTimeout) return kNoReply;
        // C: the logger is awake; the command once more, R times.
        for (int t = 0; t < retry_.tries; ++t) {
            sendLineCRLF(channel_, command_);
            if (oneTry() == kCancelled) return kCancelled;
            if (accepted()) return kAccepted;
        }
        return kErrorReply;
    }

private:
    // Up to W reads, stopping at the first that does not time out; the cancel flag is looked
    // at after every time-out.
    int oneTry() {
        for (int r = 0; r < retry_.readsPerTry; ++r) {
            lastRead_ = readReply(channel_, reply_, max_);
            if (lastRead_ != kLineTimeout) break;
            if (channel_->cancelFlag.load() == kCancelled) return kCancelled;
        }
        return lastRead_;
    }

    bool accepted() const { return lastRead_ == kLineRead && acceptReply(command_, reply_) == kAccepted; }

    TTYInfo* channel_;
    const RetrySettings& retry_;
    const std::string& command_;
    std::string& reply_;
    int max_;
    int lastRead_ = kLineTimeout;
};

}  // namespace

int acceptReply(const std::string& command, const std::string& reply) {
    if (!reply.empty() && reply.front() == '?') return kErrorReply;
    if (command.rfind("clear", 0) == 0 && reply.rfind("OK", 0) != 0) return kErrorReply;
    return kAccepted;
}

int sendCommand(LineContext& session, const std::string& command, std::string& reply, int max) {
    TTYInfo* channel = session.channel();
    reply.clear();
    if (channel == nullptr) return kNoReply;
    sendLineCRLF(channel, command);

    int read = kLineTimeout;
    for (int i = 0; i < kFastPathReads && read != kLineRead; ++i) read = readReply(channel, reply, max);
    if (read == kLineRead && acceptReply(command, reply) == kAccepted) return kAccepted;

    ModalSpec spec{ModalKind::Wait, kWaitCaption, kWaitingForReplyText};
    return session.host.runModal(spec, channel->cancelFlag, [&](ModalContext&) {
        return ReplyWaiter(session, command, reply, max).run();
    });
}

int sendCommandReport(LineContext& session, const std::string& command, std::string& reply, int max) {
    int result = sendCommand(session, command, reply, max);
    switch (result) {
        case kNoReply: report(session, kNoReplyMessage); break;
        case kErrorReply: report(session, kErrorReplyMessage); break;
        case kCancelled: report(session, kCancelledMessage); break;
        default: break;
    }
    return result;
}

int linkHandshake(LineContext& session) {
    TTYInfo* channel = session.channel();
    purgeInput(channel);
    sendLineCRLF(channel, "CONNECT");
    std::string reply;
    int result = readLineLF(channel, reply, kHandshakeMax);
    if (result != kLineRead) return result;
    return reply == "READY" ? kAccepted : kErrorReply;
}

int selectUnit(LineContext& session, int unit) {
    TTYInfo* channel = session.channel();
    purgeInput(channel);
    char command[16];
    std::snprintf(command, sizeof command, "_COM%d", unit - 1);
    sendLineCRLF(channel, command);
    std::string reply;
    for (int i = 0; i < kUnitSelectReads; ++i) {
        if (readLineLF(channel, reply, kUnitSelectMax) == kLineRead) return reply.rfind("READY", 0) == 0 ? 0 : -1;
    }
    return -1;
}

}  // namespace fenta21
