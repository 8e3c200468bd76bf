#pragma once

#include "core/base/Host.h"

#include <string>

namespace fenta21 {

class Session;

// The question asked when the chosen data file has no CSV beside it yet.
inline constexpr const char* kCreateCsvQuestion = "CSVファイルが存在しません。作成しますか？";
// The file dialog of the data file display offers CSV files, data files and text files.
inline constexpr const char* kDisplayFileFilter =
    " CSV data (*.csv)|*.csv| Binary data (*.v38)|*.v38| Text data (*.txt)|*.txt";
// The viewer only shows data files.
inline constexpr const char* kViewerFileExtension = ".v38";

// Where the data file display's dialog starts: beside the last collection's data file with
// its CSV's name filled in, or in the data folder with no name when nothing was collected.
OpenFileRequest dataFileDisplayRequest(const std::string& lastDataFile, const std::string& dataFolder);

// The data file display: the dialog above, then a text file is shown as it is and any other
// choice as its CSV, which is made from the same-named data file first when the user agrees.
// A text file that is not there, or a CSV the user does not want made, brings the dialog back.
// The panel's polling stays off the line meanwhile. Returns the file shown, or "" when the
// user cancelled or the CSV could not be made.
std::string displayDataFile(Session& session);

// The viewer's file choice: the dialog for data files in `folder`, shown again until a ".v38"
// file is chosen (its case does not matter) or the user cancels (""). 
std::string chooseViewerFile(Host& host, const std::string& folder);

}  // namespace fenta21
