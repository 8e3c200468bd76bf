#pragma once

#include <string>

namespace fenta21::store {

// The station a data file belongs to, from the name a collection gave it: the part before
// "_YYMMDD_HHMM" ("KAWABE2_261208_0945.v38" and "KAWABE2_261208_0945_2.v38" are KAWABE2's). A
// name without that part is a station of its own name, without its extension.
std::string stationFromFileName(const std::string& path);

}  // namespace fenta21::store
