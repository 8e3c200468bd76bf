#pragma once

#include "core/datafile/HeaderListing.h"
#include "core/datafile/RecordPage.h"

#include <string>
#include <vector>

namespace fenta21 {

class Reporting;

// The viewer's two lists for a session: the rows come back, the messages go to the user
// through the shared report. The home folder holds the header reference files.
std::vector<HeaderRow> viewerHeaderRows(Reporting& session, const std::string& dataFile);
RecordPage viewerRecordPage(Reporting& session, const std::string& dataFile, int page);

}  // namespace fenta21
