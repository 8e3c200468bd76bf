#pragma once

#include "sim/BlockFaults.h"
#include "sim/BlockSender.h"
#include "sim/LoggerSettings.h"
#include "sim/SimDevice.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace fenta21::sim {

// Named faults a test switches on in one line. Each applies to the commands it names
// (an empty command name means every command).
struct LoggerFaults {
    // Stay silent to everything, the wake-up included.
    bool silent = false;
    // Answer this command only at its n-th sending (earlier sendings get no reply).
    std::string answerOnNthCommand;
    int answerOnNth = 0;
    // Never answer this command, but answer an empty line (the wake-up) with "READY".
    std::string wakeUpOnlyCommand;
    // Answer this command with "?".
    std::string questionCommand;
    // Bytes sent just before every reply (line noise).
    std::string noiseBeforeReply;
    // Answer this command with a reply of this many characters (longer than a caller's buffer).
    std::string longReplyCommand;
    int longReplyLength = 0;
    // Answer "CONNECT" with this text instead of "READY" (for example "READY ").
    std::optional<std::string> connectReply;
    // The logger's own card collection is running: "copy" and "acopy" answer "BUSY" and send nothing.
    bool cardCollectionRunning = false;
    // The text listing stops after its last record, without the end line.
    bool listingWithoutEndLine = false;
    // "copy" finds every record collected already: it announces the header alone.
    bool nothingNew = false;
};

// One logger unit's protocol state. It takes bytes and gives bytes, and never touches a
// port, so a unit test can drive it directly; PtyServer puts it on a pseudo-terminal.
//
// Collection: with a memory image set, "copy" announces the header plus the records since the
// collected mark and "acopy" the header plus all records; the logger then waits for the start
// byte 'C' and sends the image in 1024-byte blocks (BlockSender). Any byte other than the
// handshake bytes drops it back to reading commands, and that byte counts as command input.
// "clear" moves the mark to the end of the last completed transfer.
class SimLogger : public SimDevice {
public:
    SimLogger();

    // Feeds bytes received from the line; returns the bytes to send back.
    std::string receive(std::string_view bytes) override;

    // Settable replies for commands the logger has no built-in answer for.
    void setReply(const std::string& command, const std::string& reply);
    void setIdentity(const std::string& stationName, const std::string& modelCode);
    // Units behind one line: "_COM%d" selects unit n+1 of this many.
    void setUnitCount(int units);
    void setFaults(const LoggerFaults& faults);
    LoggerFaults faults() const;
    void setBlockFaults(const BlockFaults& faults);
    BlockFaults blockFaults() const;

    // The memory image behind "copy" and "acopy", padded to whole 1024-byte blocks with 0xFF.
    // The first image puts the collected mark at its first record; a later one (the logger has
    // recorded more) keeps the mark, moved up to its first record if that lies beyond. An empty
    // image takes the built-in collection away again ("copy" then answers like any command).
    void setMemoryImage(std::string image);
    void setCollectedMark(std::uint32_t offset);
    // The records "eerl0" counts and "text" lists.
    void setTextListing(std::vector<std::string> lines);
    // Hear the line only at this speed (0: at any speed); at another speed every byte is
    // garbage to the logger and it stays silent.
    void answerOnlyAtSpeed(std::uint32_t bitsPerSecond);
    void setLineSpeed(std::uint32_t bitsPerSecond) override;
    // After answering "copy" or "acopy" with a count, hand the line to this program instead of
    // sending the blocks itself; an empty argv goes back to sending itself. A hand-off whose
    // program exits with 0 counts as a completed transfer.
    void handOffCopyTo(std::vector<std::string> argv);
    std::optional<std::vector<std::string>> takeHandOff() override;
    void handOffEnded(int exitStatus) override;

    // The panel's settings and measurements (LoggerSettings), which a settable reply overrides.
    // The logger's clock runs with this time source (by default the PC's local time).
    void setLoggerClockSource(LoggerClock::Source source);
    CalendarTime loggerTime() const;
    void setBatteryLevel(int level);

    // Every complete line received so far (without CR LF), in order; empty lines included.
    std::vector<std::string> receivedLines() const;
    int selectedUnit() const;
    bool guardOpen() const;  // true between "comtm=0" and "comtm=1"
    int clearCount() const;
    std::uint32_t collectedMark() const;
    // The payloads the last transfer's blocks carried, each block once, from its start byte on.
    std::string lastTransferImage() const;
    int transfersCompleted() const;
    // CAN, ACK and NAK whenever they arrive, and 'C' while a transfer waits for it or runs.
    std::vector<std::uint8_t> receivedControlBytes() const;
    // True from a count reply until the transfer ends or is given up.
    bool transferPending() const;

private:
    enum class Mode { Command, AwaitingStart, Transfer };

    bool takeTransferByte(std::uint8_t byte, std::string& out);
    void takeCommandByte(std::uint8_t byte, std::string& out);
    std::string answer(const std::string& line);
    std::string replyLine(const std::string& text) const;
    std::string answerCollection(const std::string& command);
    void prepareTransfer(std::string image, std::optional<std::uint32_t> endOffset);
    void endTransfer();

    mutable std::mutex mutex_;
    std::string pending_;
    bool lastWasCr_ = false;
    std::vector<std::string> received_;
    std::map<std::string, std::string> replies_;
    LoggerSettings settings_;
    std::map<std::string, int> sendings_;
    std::string stationName_ = "FENTA21-SIM";
    std::string modelCode_ = "WNDA-01";
    int units_ = 1;
    int selectedUnit_ = 1;
    bool guardOpen_ = false;
    int clears_ = 0;
    LoggerFaults faults_;
    BlockFaults blockFaults_;

    Mode mode_ = Mode::Command;
    std::optional<std::string> image_;
    std::uint32_t mark_ = 0;
    std::string preparedImage_;
    std::optional<std::uint32_t> preparedEnd_;
    std::optional<std::uint32_t> completedEnd_;
    std::optional<BlockSender> sender_;
    std::string lastTransferImage_;
    int transfersCompleted_ = 0;
    std::vector<std::uint8_t> controlBytes_;
    std::optional<std::vector<std::string>> textListing_;
    std::uint32_t onlySpeed_ = 0;
    std::uint32_t lineSpeed_ = 0;
    std::vector<std::string> handOffArgv_;
    std::optional<std::vector<std::string>> pendingHandOff_;
};

}  // namespace fenta21::sim
