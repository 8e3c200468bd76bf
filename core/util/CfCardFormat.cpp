#include "core/util/CfCardFormat.h"

#include "core/session/Session.h"
#include "core/report/Logs.h"
#include "core/report/Report.h"
#include "core/util/ChildProcess.h"
#include "core/util/FatVolume.h"

#include <optional>
#include <sstream>

namespace fenta21 {
namespace {

using namespace std::chrono_literals;

// The largest volume mkfs.fat lays out as FAT16 with 2048-byte units (262,655 sectors of 512
// bytes: 65,519 clusters beside its reserved sectors, two tables and the root directory). A
// larger one has too many clusters for FAT16, and mkfs.fat left to itself would refuse it up
// to 512 MiB; it has to be asked for FAT32.
constexpr std::uint64_t kFat16LargestVolume = 262655ULL * 512;

// udisks answers at once unless a file on the card is still in use.
constexpr std::chrono::seconds kHelperTimeLimit{30};
// A freshly formatted card is mounted once udev has looked at its new file system; that may
// take a moment after the formatter ends.
constexpr int kMountAttempts = 4;
constexpr auto kMountRetryWait = 1s;
// ERR.LOG keeps the start of what a helper printed: the reason is in its first lines.
constexpr int kLoggedOutputLines = 12;

std::string withDrive(const char* pattern, const std::string& drive) {
    std::string text = pattern;
    text.replace(text.find("%s"), 2, drive);
    return text;
}

std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string commandLine(const std::vector<std::string>& argv) {
    std::string line;
    for (const std::string& argument : argv) line += (line.empty() ? "" : " ") + argument;
    return line;
}

void logHelperFailure(Session& session, const std::vector<std::string>& argv, const ChildResult& result) {
    std::string what = commandLine(argv);
    if (!result.started) logError(session, what + ": " + result.problem);
    else if (result.timedOut) logError(session, what + ": 時間切れ");
    else logError(session, what + ": 終了コード " + std::to_string(result.exitCode));
    std::istringstream lines(result.output);
    std::string line;
    for (int logged = 0; logged < kLoggedOutputLines && std::getline(lines, line);) {
        line = trimmed(line);
        if (line.empty()) continue;
        logError(session, line);
        ++logged;
    }
}

bool runHelper(Session& session, const std::vector<std::string>& argv, std::chrono::nanoseconds nominalLimit,
               bool logFailure = true) {
    ChildResult result = runChild(argv, session.clock.scaled(nominalLimit));
    if (!result.succeeded() && logFailure) logHelperFailure(session, argv, result);
    return result.succeeded();
}

void mountAgain(Session& session, const FormatCommands& commands, const std::string& device) {
    std::vector<std::string> argv{commands.udisksctl, "mount", "-b", device};
    for (int attempt = 1; attempt <= kMountAttempts; ++attempt) {
        if (runHelper(session, argv, kHelperTimeLimit, attempt == kMountAttempts)) return;
        if (attempt < kMountAttempts) session.clock.sleepFor(kMountRetryWait);
    }
}

// Unmounts, formats and mounts again; true when the formatter succeeded. A card that cannot
// be unmounted is not formatted, and whatever was unmounted is mounted again.
bool formatTarget(Session& session, const FormatTarget& target, const FormatCommands& commands) {
    bool blockDevice = target.kind == TargetKind::BlockDevice;
    std::vector<std::string> unmounted;
    bool ready = true;
    for (const std::string& device : blockDevice ? target.mounted : std::vector<std::string>{}) {
        if (!runHelper(session, {commands.udisksctl, "unmount", "-b", device}, kHelperTimeLimit)) {
            ready = false;
            break;
        }
        unmounted.push_back(device);
    }
    bool formatted = ready && runHelper(session, mkfsArguments(commands.mkfs, target), kFormatTimeLimit);
    if (blockDevice) {
        for (const std::string& device : formatted ? std::vector<std::string>{target.path} : unmounted)
            mountAgain(session, commands, device);
    }
    return formatted;
}

const char* refusalFor(TargetKind kind) {
    switch (kind) {
        case TargetKind::Protected: return kProtectedDriveText;
        case TargetKind::NotADrive: return kNotADriveText;
        case TargetKind::Missing: return kMissingDriveText;
        default: return nullptr;
    }
}

}  // namespace

std::vector<std::string> mkfsArguments(const std::string& mkfs, const FormatTarget& target) {
    std::uint32_t sector = target.logicalBlockSize == 0 ? 512 : target.logicalBlockSize;
    // A disk whose sectors are larger than the unit gets one sector per cluster, the nearest it has.
    std::uint32_t sectorsPerCluster = sector >= kCardAllocationUnit ? 1 : kCardAllocationUnit / sector;
    std::vector<std::string> argv{mkfs, "-I", "-s", std::to_string(sectorsPerCluster)};
    if (target.sizeBytes > kFat16LargestVolume) argv.insert(argv.end(), {"-F", "32"});
    argv.push_back(target.path);
    return argv;
}

CfCardOutcome formatCfCard(Session& session, const std::string& driveText, const CfCardTools& tools,
                           const std::function<void(const CfCardSizes&)>& showSizes) {
    std::string drive = trimmed(driveText);
    if (drive.empty()) {
        report(session, kNoDriveText);
        return CfCardOutcome::NotStarted;
    }
    // Refused before the warning: a disk that will not be formatted is not worth the question.
    FormatTarget target = checkFormatTarget(drive, BlockDevices(tools.roots));
    if (const char* refusal = refusalFor(target.kind)) {
        report(session, withDrive(refusal, drive));
        return CfCardOutcome::NotStarted;
    }
    if (session.host.ask(Question::YesNo, withDrive(kFormatWarningText, drive)) != Answer::Yes)
        return CfCardOutcome::NotStarted;

    session.clock.sleepFor(500ms);
    session.host.showNotice(kFormattingNoticeText);
    CfCardSizes shown;
    CfCardOutcome outcome = CfCardOutcome::Failed;
    if (formatTarget(session, target, tools.commands)) {
        if (std::optional<FatSizes> sizes = readFatSizes(target.path)) {
            shown = {sizes->totalBytes(), sizes->freeBytes(), sizes->allocationUnit};
            outcome = sizes->empty() ? CfCardOutcome::Done : CfCardOutcome::StillHoldsData;
        }
    }
    session.host.hideNotice();
    if (showSizes) showSizes(shown);
    session.host.report(outcome == CfCardOutcome::Done             ? kFormatDoneText
                        : outcome == CfCardOutcome::StillHoldsData ? kFormatNotSupportedText
                                                                   : kFormatFailedText);
    return outcome;
}

}  // namespace fenta21
