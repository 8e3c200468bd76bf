#include "core/datafile/CsvName.h"

namespace fenta21 {

std::string csvNameFor(const std::string& dataFile) {
    std::size_t nameStart = dataFile.find_last_of('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    std::size_t point = dataFile.rfind('.');
    if (point == std::string::npos || point < nameStart) return dataFile + ".csv";
    return dataFile.substr(0, point) + ".csv";
}

}  // namespace fenta21
