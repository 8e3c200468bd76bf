#pragma once

#include <string>
#include <string_view>

namespace fenta21 {

// Bytes from a file or a logger shown inside a message: printable ASCII as it is, every other
// byte (and the backslash) as "\xNN", so that a damaged field can neither drive the terminal
// it is printed on nor hide what it holds.
std::string printableBytes(std::string_view bytes);

}  // namespace fenta21
