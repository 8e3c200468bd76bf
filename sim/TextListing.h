#pragma once

#include <string>
#include <vector>

namespace fenta21::sim {

// The bytes of the logger's text listing: every record line followed by CR LF, then the end
// line, which the reader recognises by its first letter 'E'.
std::string textListingBytes(const std::vector<std::string>& lines, bool withEndLine);

}  // namespace fenta21::sim
