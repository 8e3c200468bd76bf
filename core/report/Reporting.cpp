#include "core/report/Reporting.h"

#include "core/base/Files.h"

namespace fenta21 {
namespace {

std::string withoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

Reporting::Reporting(std::string homeFolder, Host& hostRef, const Clock& clockRef)
    : host(hostRef), clock(clockRef), homeFolder_(withoutTrailingSeparator(std::move(homeFolder))) {}

std::string Reporting::homeFile(const std::string& name) const { return joinPath(homeFolder_, name); }

CalendarTime Reporting::sampleClock() {
    CalendarTime now = clock.localTime();
    clockSample.set(now);
    return now;
}

}  // namespace fenta21
