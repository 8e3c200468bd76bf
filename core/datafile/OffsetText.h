#pragma once

#include <cstddef>
#include <string>

namespace fenta21 {

// A file offset as the viewer shows it: upper-case hex, at least six digits ("%06X").
std::string offsetText(std::size_t offset);

}  // namespace fenta21
