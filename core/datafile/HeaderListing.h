#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// One row of the viewer's header list.
struct HeaderRow {
    std::uint32_t offset = 0;
    std::string offsetText;  // "%06X"
    std::string label;       // the reference file's line
    std::string value;
};

struct HeaderListing {
    std::vector<HeaderRow> rows;
    // What to tell the user, in order (the missing reference file, a header cut short).
    std::vector<std::string> messages;
};

// The header items of a data file as its model's header reference file describes them,
// falling back to "XBR-PLQ-01.hed" (the user is told the model's own file is missing) and
// showing nothing when that is missing too. An item that would run past the end of the file
// stops the list with "ヘッダー読み取り中にて途中終了!! "; the rows before it stay.
HeaderListing listHeader(std::string_view image, const std::string& homeFolder);
HeaderListing listHeaderOfFile(const std::string& dataFile, const std::string& homeFolder);

}  // namespace fenta21
