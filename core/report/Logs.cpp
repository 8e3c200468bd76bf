#include "core/report/Logs.h"

#include "core/report/Reporting.h"
#include "core/base/Cp932.h"
#include "core/report/FixedLog.h"

namespace fenta21 {

// ERR.LOG: 44 message bytes on the entry line and up to three continuation lines of 64.
const FixedLogLayout kErrorLog{"TORVINE    0001 TRW \r\n", 44, 64, 3, 66, 30000};
// RSV.LOG: one line of 108 message bytes per entry. It wraps like ERR.LOG, so that its count
// stays within the count line's width.
const FixedLogLayout kReservationLog{"FENTA21 RSV   LOG \r\n", 108, 0, 0, 130, 30000};

namespace {

void append(Reporting& session, const char* fileName, const FixedLogLayout& layout, std::atomic<bool>& failedOnce,
            const std::string& text) {
    std::string path = session.homeFile(fileName);
    int error = 0;
    {
        std::lock_guard lock(session.reports.logMutex);
        error = appendFixedLog(path, layout, session.sampleClock(), utf8ToCp932(text));
    }
    if (error != 0 && !failedOnce.exchange(true) && session.reports.logNotWritten)
        session.reports.logNotWritten(path, error);
}

}  // namespace

void logError(Reporting& session, const std::string& text) {
    append(session, kErrorLogFileName, kErrorLog, session.reports.errorLogFailed, text);
}

void logReservation(Reporting& session, const std::string& text) {
    append(session, kReservationLogFileName, kReservationLog, session.reports.reservationLogFailed, text);
}

}  // namespace fenta21
