#include "core/report/Report.h"

#include "core/report/Reporting.h"
#include "core/report/Logs.h"

#include <cstdio>

namespace fenta21 {

void showError(Reporting& session, const std::string& text) {
    auto& displayed = session.reports.errorDisplayed;
    if (displayed.exchange(true)) {
        logError(session, "err_dispの２重発行");
        logError(session, text);
        return;
    }
    logError(session, "D]" + text);
    session.host.report(text);
    displayed.store(false);
}

std::string stationTag(Reporting& session) {
    int index = session.reports.currentStation.load();
    StationLabel label;
    if (session.reports.stationLabel) label = session.reports.stationLabel(index);
    else label.number = index + 1;
    char number[16];
    std::snprintf(number, sizeof number, "%03d", label.number);
    return "[" + std::string(number) + " " + label.name + "] ";
}

void report(Reporting& session, const std::string& text) {
    if (!session.reports.reservedCollectionMode.load()) {
        showError(session, text);
        return;
    }
    std::string line = stationTag(session) + text;
    session.reports.reservationNotices.update([&](auto& notices) { notices.push_back(line); });
    session.reports.noticeChanged.store(true);
    logReservation(session, line);
    session.events.publish(NoticeAdded{line});
}

}  // namespace fenta21
