#pragma once

#include <string>

namespace fenta21 {

class Reporting;
struct FixedLogLayout;

inline constexpr const char* kErrorLogFileName = "ERR.LOG";
inline constexpr const char* kReservationLogFileName = "RSV.LOG";

// The layouts of the two logs.
extern const FixedLogLayout kErrorLog;
extern const FixedLogLayout kReservationLog;

// ERR.LOG and RSV.LOG in the home folder. Messages are UTF-8; the logs hold code page 932.
void logError(Reporting& session, const std::string& text);
void logReservation(Reporting& session, const std::string& text);

}  // namespace fenta21
