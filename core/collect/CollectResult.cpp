#include "core/collect/CollectResult.h"

#include "core/collect/CollectionContext.h"
#include "core/base/Results.h"
#include "core/report/Logs.h"
#include "core/report/Report.h"
#include "core/protocol/CommandExchange.h"

namespace fenta21 {

std::string collectResultMessage(int result) {
    switch (result) {
        case kCollectNoFile: return "データファイルが作成できません。格納先を確認してください!!";
        case kCollectCannotOpen: return "データファイルがオープンできません!!";
        case kCollectTransferFailed: return "通信処理中にて期待する文字列が受信できません!!";
        case kCollectWriteFailed: return "データファイルの作成にて書き込みができません!!";
        case kCollectNothingNew: return "前回のデータ回収時以降に新しく記録されているデータがありません!!";
        case kCollectCardBusy: return "カード回収中によりアクセスできません!!   ";
        case kCancelled: return kCancelledMessage;
        case kErrorReply: return kErrorReplyMessage;
        case kNoReply: return kNoReplyMessage;
        default: return {};
    }
}

void reportResult(CollectionContext& session, int result) {
    if (result == kCollectOk) {
        if (session.reports.reservedCollectionMode.load()) logReservation(session, stationTag(session) + "正常終了");
        return;
    }
    std::string message = collectResultMessage(result);
    if (!message.empty()) report(session, message);
}

}  // namespace fenta21
