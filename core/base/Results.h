#pragma once

// Small integer results shared by every subsystem: the same code means the same thing
// everywhere, so a worker's result can be handed up unchanged to whoever reports it.
namespace fenta21 {

inline constexpr int kAccepted = 0;     // a reply was read and accepted
inline constexpr int kErrorReply = -1;  // the logger answered '?' or the wrong text
inline constexpr int kNoReply = -2;     // the line stayed silent
inline constexpr int kCancelled = 27;   // the Escape code: the user cancelled

// Line reader results.
inline constexpr int kLineRead = 0;
inline constexpr int kLineFull = -1;
inline constexpr int kLineTimeout = -2;

}  // namespace fenta21
