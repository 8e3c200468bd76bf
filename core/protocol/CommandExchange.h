#pragma once

#include <string>

namespace fenta21 {

class LineContext;

// Sends one logger command and waits for its reply under the retry policy of cmd.dat:
// 0 accepted, -1 error reply, -2 no reply, 27 cancelled. `max` is the reply's longest
// acceptable length; a longer reply is a failed read, never a cut-off answer.
int sendCommand(LineContext& session, const std::string& command, std::string& reply, int max);

// The same, and -2, -1 and 27 are reported to the user in their fixed words.
int sendCommandReport(LineContext& session, const std::string& command, std::string& reply, int max);

// 0 when `reply` answers `command`: never a reply beginning with '?', and "clear" only "OK".
int acceptReply(const std::string& command, const std::string& reply);

// "CONNECT" answered by exactly "READY": 0, else the failed read's result (-1 for any other
// line).
int linkHandshake(LineContext& session);

// Selects unit n (1-9) behind one line with "_COM<n-1>": 0 when it answered "READY...".
int selectUnit(LineContext& session, int unit);

inline constexpr const char* kWaitingForReplyText = "コマンド応答受信待ち!!";
inline constexpr const char* kWaitCaption = "FENTA21通信ソフト";
inline constexpr const char* kNoReplyMessage = "コマンド応答　受信タイムアウト";
inline constexpr const char* kErrorReplyMessage = "コマンド応答エラー(?] ";
inline constexpr const char* kCancelledMessage = "キャンセル !!           ";

}  // namespace fenta21
