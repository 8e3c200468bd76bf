#include "sim/TextListing.h"

namespace fenta21::sim {

std::string textListingBytes(const std::vector<std::string>& lines, bool withEndLine) {
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    if (withEndLine) out += "END\r\n";
    return out;
}

}  // namespace fenta21::sim
