#pragma once

#include <string>

namespace fenta21 {

// The CSV file beside a data file: the extension of the file name replaced by ".csv", or
// ".csv" appended to a name without one. Only the file name's own extension counts, so a
// point in a folder name ("/data.2024/STA01") never cuts the path short.
std::string csvNameFor(const std::string& dataFile);

// The same file with another extension (".v38", ".csv"), by the rule above.
std::string withExtension(const std::string& file, const std::string& extension);

// The extension of the file name itself, with its point ("" when it has none).
std::string extensionOf(const std::string& file);

}  // namespace fenta21
