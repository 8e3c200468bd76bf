#include "sim/SimLogger.h"

#include "sim/BlockFrame.h"
#include "sim/CollectionImage.h"
#include "sim/TextListing.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace fenta21::sim {
namespace {

constexpr std::size_t kLongestLine = 4096;

}  // namespace

SimLogger::SimLogger() = default;

std::string SimLogger::receive(std::string_view bytes) {
    std::lock_guard lock(mutex_);
    if (onlySpeed_ != 0 && lineSpeed_ != onlySpeed_) return {};
    std::string out;
    for (char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        // CR ends a line as LF does, and the LF of a CR LF pair is no byte of its own: the
        // program probes a port with "AT" and a bare CR, and that must not run into the next
        // command, while the LF after "copy" must not cut short the wait for the start byte.
        bool afterCr = lastWasCr_;
        lastWasCr_ = byte == '\r';
        if (byte == '\n' && afterCr) continue;
        if (mode_ != Mode::Command && takeTransferByte(byte, out)) continue;
        takeCommandByte(byte, out);
    }
    return out;
}

// True when the byte belonged to the transfer. A byte that is no handshake byte ends the
// transfer and goes on as command input, so a program that gives up without CAN still finds
// the logger listening for commands.
bool SimLogger::takeTransferByte(std::uint8_t byte, std::string& out) {
    const bool handshake = byte == kStart || byte == kAck || byte == kNak || byte == kCan;
    if (!handshake) {
        endTransfer();
        return false;
    }
    controlBytes_.push_back(byte);
    if (mode_ == Mode::AwaitingStart) {
        if (byte != kStart) {
            endTransfer();
            return true;
        }
        lastTransferImage_ = preparedImage_;
        sender_.emplace(preparedImage_, blockFaults_);
        mode_ = Mode::Transfer;
        out += sender_->begin();
        return true;
    }
    out += sender_->onByte(byte);
    if (sender_->state() == BlockSender::State::Completed) {
        ++transfersCompleted_;
        if (preparedEnd_) completedEnd_ = preparedEnd_;
    }
    if (sender_->ended()) endTransfer();
    return true;
}

void SimLogger::takeCommandByte(std::uint8_t byte, std::string& out) {
    // Handshake bytes after a transfer (the CAN of a program that gives up, a late ACK) are
    // no part of any command.
    if (byte == kCan || byte == kAck || byte == kNak) {
        controlBytes_.push_back(byte);
        return;
    }
    if (byte != '\r' && byte != '\n') {
        // Garbage that never ends a line must not pile up; no command is anywhere near this long.
        if (pending_.size() >= kLongestLine) pending_.clear();
        pending_.push_back(static_cast<char>(byte));
        return;
    }
    std::string line;
    line.swap(pending_);
    received_.push_back(line);
    out += answer(line);
}

std::string SimLogger::replyLine(const std::string& text) const { return faults_.noiseBeforeReply + text + "\r\n"; }

std::string SimLogger::answer(const std::string& line) {
    if (faults_.silent) return {};
    int sending = ++sendings_[line];

    if (line.empty()) return replyLine("READY");  // the wake-up
    if (line == faults_.wakeUpOnlyCommand) return {};
    if (line == faults_.answerOnNthCommand && sending != faults_.answerOnNth) return {};
    if (line == faults_.questionCommand) return replyLine("?");
    if (line == faults_.longReplyCommand)
        return replyLine(std::string(static_cast<std::size_t>(faults_.longReplyLength), 'L'));

    if (line == "CONNECT") return replyLine(faults_.connectReply.value_or("READY"));
    unsigned unit = 0;
    char tail = 0;
    if (std::sscanf(line.c_str(), "_COM%u%c", &unit, &tail) == 1) {
        if (static_cast<int>(unit) >= units_) return {};
        selectedUnit_ = static_cast<int>(unit) + 1;
        return replyLine("READY");
    }
    if (line == "eerm0") return replyLine(stationName_);
    if (line == "xerm0") return replyLine(modelCode_);
    if (line == "comtm=0" || line == "comtm=1") {
        guardOpen_ = line == "comtm=0";
        return replyLine("OK");
    }
    if (line == "clear") {
        ++clears_;
        if (completedEnd_) mark_ = *completedEnd_;
        return replyLine("OK");
    }
    if (line == "copy" || line == "acopy") {
        std::string reply = answerCollection(line);
        if (!reply.empty()) return reply;
    }
    if (textListing_ && line == "eerl0") return replyLine(std::to_string(textListing_->size()));
    if (textListing_ && line == "text")
        return faults_.noiseBeforeReply + textListingBytes(*textListing_, !faults_.listingWithoutEndLine);
    auto found = replies_.find(line);
    if (found != replies_.end()) {
        const std::string& reply = found->second;
        // Without an image there is nothing to send, but a hand-off can still follow a
        // settable count reply.
        if ((line == "copy" || line == "acopy") && !reply.empty() && reply[0] != 'B' && reply[0] != '?')
            prepareTransfer({}, std::nullopt);
        return replyLine(reply);
    }
    if (auto reply = settings_.answer(line)) return replyLine(*reply);
    return replyLine("?");  // a command this logger does not know
}

// The count reply to "copy" or "acopy", with the transfer made ready behind it; empty when
// the logger has no image and the command is answered like any other.
std::string SimLogger::answerCollection(const std::string& command) {
    if (faults_.cardCollectionRunning) return replyLine("BUSY");
    if (!image_) return {};
    std::uint32_t first = command == "copy" ? mark_ : imageStartOffset(*image_);
    if (command == "copy" && faults_.nothingNew) first = std::max(first, imageEndOffset(*image_));
    prepareTransfer(collectionImage(*image_, first), imageEndOffset(*image_));
    return replyLine(std::to_string(collectionCount(*image_, first)));
}

void SimLogger::prepareTransfer(std::string image, std::optional<std::uint32_t> endOffset) {
    preparedImage_ = std::move(image);
    preparedEnd_ = endOffset;
    sender_.reset();
    if (!handOffArgv_.empty()) {
        pendingHandOff_ = handOffArgv_;
        mode_ = Mode::Command;
        return;
    }
    // Without an image the settable reply announces a transfer nobody will send.
    mode_ = preparedImage_.empty() ? Mode::Command : Mode::AwaitingStart;
}

void SimLogger::endTransfer() {
    mode_ = Mode::Command;
    if (sender_) sender_->abandon();
}

void SimLogger::setReply(const std::string& command, const std::string& reply) {
    std::lock_guard lock(mutex_);
    replies_[command] = reply;
}

void SimLogger::setIdentity(const std::string& stationName, const std::string& modelCode) {
    std::lock_guard lock(mutex_);
    stationName_ = stationName;
    modelCode_ = modelCode;
    settings_.setModel(modelCode);
}

void SimLogger::setLoggerClockSource(LoggerClock::Source source) {
    std::lock_guard lock(mutex_);
    settings_.clock().setSource(std::move(source));
}

CalendarTime SimLogger::loggerTime() const {
    std::lock_guard lock(mutex_);
    return settings_.clock().now();
}

void SimLogger::setBatteryLevel(int level) {
    std::lock_guard lock(mutex_);
    settings_.setBatteryLevel(level);
}

void SimLogger::setUnitCount(int units) {
    std::lock_guard lock(mutex_);
    units_ = units < 1 ? 1 : units;
}

void SimLogger::setFaults(const LoggerFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

LoggerFaults SimLogger::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void SimLogger::setBlockFaults(const BlockFaults& faults) {
    std::lock_guard lock(mutex_);
    blockFaults_ = faults;
}

BlockFaults SimLogger::blockFaults() const {
    std::lock_guard lock(mutex_);
    return blockFaults_;
}

void SimLogger::setMemoryImage(std::string image) {
    std::lock_guard lock(mutex_);
    if (image.empty()) {
        image_.reset();
        return;
    }
    const bool first = !image_;
    image_ = wholeBlocks(std::move(image));
    const std::uint32_t start = imageStartOffset(*image_);
    mark_ = first ? start : std::max(mark_, start);
}

void SimLogger::setCollectedMark(std::uint32_t offset) {
    std::lock_guard lock(mutex_);
    mark_ = offset;
}

void SimLogger::setTextListing(std::vector<std::string> lines) {
    std::lock_guard lock(mutex_);
    textListing_ = std::move(lines);
}

void SimLogger::answerOnlyAtSpeed(std::uint32_t bitsPerSecond) {
    std::lock_guard lock(mutex_);
    onlySpeed_ = bitsPerSecond;
}

void SimLogger::setLineSpeed(std::uint32_t bitsPerSecond) {
    std::lock_guard lock(mutex_);
    lineSpeed_ = bitsPerSecond;
    settings_.setLineSpeed(bitsPerSecond);
}

void SimLogger::handOffCopyTo(std::vector<std::string> argv) {
    std::lock_guard lock(mutex_);
    handOffArgv_ = std::move(argv);
}

std::optional<std::vector<std::string>> SimLogger::takeHandOff() {
    std::lock_guard lock(mutex_);
    return std::exchange(pendingHandOff_, std::nullopt);
}

void SimLogger::handOffEnded(int exitStatus) {
    std::lock_guard lock(mutex_);
    if (exitStatus != 0) return;
    ++transfersCompleted_;
    if (preparedEnd_) completedEnd_ = preparedEnd_;
}

std::vector<std::string> SimLogger::receivedLines() const {
    std::lock_guard lock(mutex_);
    return received_;
}

int SimLogger::selectedUnit() const {
    std::lock_guard lock(mutex_);
    return selectedUnit_;
}

bool SimLogger::guardOpen() const {
    std::lock_guard lock(mutex_);
    return guardOpen_;
}

int SimLogger::clearCount() const {
    std::lock_guard lock(mutex_);
    return clears_;
}

std::uint32_t SimLogger::collectedMark() const {
    std::lock_guard lock(mutex_);
    return mark_;
}

std::string SimLogger::lastTransferImage() const {
    std::lock_guard lock(mutex_);
    return lastTransferImage_;
}

int SimLogger::transfersCompleted() const {
    std::lock_guard lock(mutex_);
    return transfersCompleted_;
}

std::vector<std::uint8_t> SimLogger::receivedControlBytes() const {
    std::lock_guard lock(mutex_);
    return controlBytes_;
}

bool SimLogger::transferPending() const {
    std::lock_guard lock(mutex_);
    return mode_ != Mode::Command || pendingHandOff_.has_value();
}

}  // namespace fenta21::sim
