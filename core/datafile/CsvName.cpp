#include "core/datafile/CsvName.h"

namespace fenta21 {

namespace {

// Where the file name's extension starts, or npos when it has none.
std::size_t extensionStart(const std::string& file) {
    std::size_t nameStart = file.find_last_of('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    std::size_t point = file.rfind('.');
    return point == std::string::npos || point < nameStart ? std::string::npos : point;
}

}  // namespace

std::string withExtension(const std::string& file, const std::string& extension) {
    return file.substr(0, extensionStart(file)) + extension;
}

std::string extensionOf(const std::string& file) {
    std::size_t point = extensionStart(file);
    return point == std::string::npos ? std::string() : file.substr(point);
}

std::string csvNameFor(const std::string& dataFile) { return withExtension(dataFile, ".csv"); }

}  // namespace fenta21
