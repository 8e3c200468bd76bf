#include "core/datafile/DataFileViewer.h"

#include "core/report/Reporting.h"
#include "core/report/Report.h"

namespace fenta21 {

std::vector<HeaderRow> viewerHeaderRows(Reporting& session, const std::string& dataFile) {
    HeaderListing listing = listHeaderOfFile(dataFile, session.homeFolder());
    for (const std::string& message : listing.messages) report(session, message);
    return std::move(listing.rows);
}

RecordPage viewerRecordPage(Reporting& session, const std::string& dataFile, int page) {
    RecordPage shown = readRecordPageOfFile(dataFile, page);
    for (const std::string& message : shown.messages) report(session, message);
    return shown;
}

}  // namespace fenta21
