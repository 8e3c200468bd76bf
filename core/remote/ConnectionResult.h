#pragma once

#include <string>

namespace fenta21 {

class Session;

// Results of setting up a link.
inline constexpr int kLinkUp = 0;
inline constexpr int kLinkFailed = -1;
inline constexpr int kPortUnusable = 6;
inline constexpr int kNoModemAnswer = 7;

// The message of a link result, or empty for codes that show none.
std::string linkErrorMessage(int result);
// Reports a failed link in its fixed words (nothing for codes without a message).
void reportLinkError(Session& session, int result);

inline constexpr const char* kConnectingText = "通信回線接続中...";

}  // namespace fenta21
