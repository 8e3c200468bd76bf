#pragma once

#include "core/base/CalendarTime.h"
#include "core/base/Clock.h"
#include "core/base/Guarded.h"
#include "core/base/Host.h"
#include "core/events/EventHub.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace fenta21 {

// What the report needs to tag a message of an unattended collection.
struct StationLabel {
    int number = 0;  // counted from 1
    std::string name;
};

// State shared by the reports: the message-box guard and the reserved-collection routing.
struct ReportState {
    // True while a message box of the shared report is open.
    std::atomic<bool> errorDisplayed{false};
    // True while the scheduler runs a collection: reports go to RSV.LOG and the notice list.
    std::atomic<bool> reservedCollectionMode{false};
    std::atomic<int> currentStation{-1};
    std::atomic<int> currentUnit{0};
    // The texts of the reserved-collection notice, and the word that tells the heartbeat.
    Guarded<std::vector<std::string>> reservationNotices;
    std::atomic<bool> noticeChanged{false};
    // Looks a station up for the tag "[%03d %s]"; the address book provides it.
    std::function<StationLabel(int stationIndex)> stationLabel;
    // Keeps two threads' log entries from sharing a line number.
    std::mutex logMutex;
    // Told once per log file when an entry of ERR.LOG or RSV.LOG could not be written (the
    // file's path and the system's error number), so that lost entries are never silent. The
    // desktop program and the command-line program say it in their own way.
    std::function<void(const std::string& path, int errorNumber)> logNotWritten;
    std::atomic<bool> errorLogFailed{false};
    std::atomic<bool> reservationLogFailed{false};
};

// The part of a program that tells what happened: the host that shows a person messages, the
// logs in the home folder, the routing of an unattended collection's messages, and the event
// hub. Everything that reports takes this part, not the whole program.
class Reporting {
public:
    Reporting(std::string homeFolder, Host& host, const Clock& clock);
    Reporting(const Reporting&) = delete;
    Reporting& operator=(const Reporting&) = delete;

    const std::string& homeFolder() const { return homeFolder_; }
    // A settings, list or log file in the home folder.
    std::string homeFile(const std::string& name) const;

    // Refreshes the clock sample from the clock and returns it. The window's heartbeat calls
    // it every 11th tick; the logs call it too, so that a program without a heartbeat never
    // stamps a stale time.
    CalendarTime sampleClock();

    Host& host;
    const Clock& clock;
    // What happened, for whoever listens: collections, line changes, reservations, notices.
    EventHub events;
    ReportState reports;
    Guarded<CalendarTime> clockSample;

private:
    std::string homeFolder_;
};

}  // namespace fenta21
