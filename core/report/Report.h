#pragma once

#include <string>

namespace fenta21 {

class Reporting;

// The error log line and the message box, guarded against a second box while one is open.
void showError(Reporting& session, const std::string& text);

// The one way to tell the user of a failure. During an unattended collection the message is
// tagged with the station, written to RSV.LOG and put on the reservation notice instead, so
// that a collection at three in the morning never waits for a click.
void report(Reporting& session, const std::string& text);

// The tag of a reserved collection's log lines: "[%03d %s] " with the station number
// counted from 1 and its name.
std::string stationTag(Reporting& session);

}  // namespace fenta21
