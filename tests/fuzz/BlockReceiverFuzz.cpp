// The block receiver against a logger whose every answer comes from the input (see
// ScriptedLine.h). The first byte chooses "copy" or "acopy" and whether the disk fails to
// make the file durable. Whatever the line does, the receiver must end with a collection
// result, store exactly the payloads it acknowledged, leave no temporary file, and never tell
// the logger to clear what is not safely stored or while the user's cancel stands.
#include "core/collect/Block.h"
#include "core/collect/CollectResult.h"
#include "core/collect/Receivers.h"
#include "core/base/Files.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/LineSession.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace fenta21;

namespace {

// The payloads the line saw acknowledged: an ACK is the first thing written after a good block
// or the closing EOT was read, and a block acknowledged again right after itself (its ACK was
// lost) is the same data.
std::string acknowledgedPayloads(const fuzz::LineState& line) {
    std::string payloads;
    bool any = false;
    std::uint8_t last = 0;
    for (const fuzz::LineState::Write& write : line.writes) {
        if (static_cast<std::uint8_t>(write.bytes[0]) != kACK) continue;
        const std::string& read = write.readBefore;
        if (read == std::string(1, static_cast<char>(kEOT))) continue;
        FUZZ_CHECK(read.size() == kBlockSize);
        BlockBuffer block;
        std::copy(read.begin(), read.end(), block.begin());
        FUZZ_CHECK(block[0] == kSTX && checkBlock(block) == BlockCheck::Good);
        if (any && block[1] == last) continue;
        payloads.append(read, 3, kBlockPayload);
        any = true;
        last = block[1];
    }
    return payloads;
}

bool isCollectionResult(int result) {
    return result == kCollectOk || result == kCancelled || result == kErrorReply || result == kNoReply ||
           (result >= kCollectNoFile && result <= kCollectCardBusy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t options = data[0];
    const bool diskFails = options & 1;
    const std::string command = options & 2 ? "acopy" : "copy";

    fuzz::LineSession run(fuzz::parseLineScript(data + 1, size - 1));
    Session& session = run.session;
    session.syncFolder = [diskFails](const std::string&) { return !diskFails; };
    std::vector<std::string> converted;
    session.csvConverter = [&](const std::string& file) {
        converted.push_back(file);
        return CsvFileResult{};
    };

    namespace fs = std::filesystem;
    const std::string folder = fuzz::fuzzHome() + "/data";
    const std::string destination = folder + "/collected.v38";
    fs::remove_all(folder);
    fs::create_directory(folder);

    ModalContext dialog(session.channel()->cancelFlag);
    int result = blockReceiver(session, dialog, command, {.path = destination, .withCsv = true});
    if (std::getenv("FENTA21_FUZZ_TRACE")) std::fprintf(stderr, "result %d\n", result);
    const fuzz::LineState& line = *run.line;
    fuzz::traceLine(line);

    FUZZ_CHECK(isCollectionResult(result));
    FUZZ_CHECK(session.lineGuard.guard.load() == 0);
    std::string expected = acknowledgedPayloads(line);
    std::optional<std::string> stored = readWholeFile(destination);
    FUZZ_CHECK(stored.has_value() == (result == kCollectOk));
    if (stored) FUZZ_CHECK(*stored == expected);
    // Nothing else is left in the folder: a failed transfer throws its temporary file away.
    FUZZ_CHECK(std::distance(fs::directory_iterator(folder), fs::directory_iterator()) == (stored ? 1 : 0));
    FUZZ_CHECK(converted.empty() || (stored && converted == std::vector<std::string>{destination}));

    // The first "clear" goes out only for a file safely stored, and never while a cancel stands
    // (its exchange's wait window may drop a cancel pressed later, and then send it again).
    auto clear = std::find_if(line.writes.begin(), line.writes.end(),
                              [](const fuzz::LineState::Write& w) { return w.bytes.find("clear\r\n") != std::string::npos; });
    if (clear != line.writes.end()) {
        FUZZ_CHECK(stored && !stored->empty() && !diskFails);
        FUZZ_CHECK(!clear->cancelStanding);
    }
    return 0;
}
