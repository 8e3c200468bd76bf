#include "core/collect/TransferSteps.h"

#include "core/collect/CollectionContext.h"
#include "core/base/Host.h"
#include "core/collect/Block.h"
#include "core/collect/CollectResult.h"
#include "core/collect/FileNaming.h"
#include "core/collect/TransferFile.h"
#include "core/protocol/LineGuard.h"
#include "core/serial/Channel.h"

#include <chrono>
#include <filesystem>

namespace fenta21 {

using namespace std::chrono_literals;

int runGuardedTransfer(CollectionContext& session, const std::function<int()>& transfer) {
    session.clock.sleepFor(100ms);
    acquireLineGuard(session);
    int result = transfer();
    releaseLineGuard(session);
    return result;
}

int beginTransferFile(CollectionContext& session, ModalContext& dialog, TransferFile& file, const std::string& destination,
                      const char* pattern) {
    std::optional<TempNameParts> temp = tempNameParts(pattern);
    if (!temp) return kCollectNoFile;
    if (!file.create(std::filesystem::path(destination).parent_path().string(), *temp)) return kCollectCannotOpen;
    dialog.startAnimation();
    session.clock.sleepFor(100ms);
    return 0;
}

void drainLine(CollectionContext& session) {
    constexpr int kMaxPauses = 30;
    TTYInfo* channel = session.channel();
    for (int i = 0; i < kMaxPauses; ++i) {
        session.clock.sleepFor(std::chrono::seconds(1));
        if (inputQueueCount(channel) == 0) return;
        purgeInput(channel);
    }
}

void cancelTransfer(CollectionContext& session) {
    sendByte(session.channel(), kCAN);
    sendLineCRLF(session.channel(), "");
    drainLine(session);
}

}  // namespace fenta21
