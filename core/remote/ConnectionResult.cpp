#include "core/remote/ConnectionResult.h"

#include "core/base/Results.h"
#include "core/report/Report.h"
#include "core/session/Session.h"
#include "core/protocol/CommandExchange.h"

namespace fenta21 {

std::string linkErrorMessage(int result) {
    switch (result) {
        case kLinkFailed: return "回線接続　エラー !!     ";
        case kPortUnusable: return "通信ポート使用不可 !!   ";
        case kNoModemAnswer: return "モデム応答なし !!       ";
        case kCancelled: return kCancelledMessage;
        default: return {};
    }
}

void reportLinkError(Session& session, int result) {
    std::string message = linkErrorMessage(result);
    if (!message.empty()) report(session, message);
}

}  // namespace fenta21
