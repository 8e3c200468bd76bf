#pragma once

#include <array>
#include <string>

namespace fenta21 {

class AddressBook;

// The seven-column station list that the address book, the station chooser and the
// arbitrary and reservation windows all show.
struct ListColumn {
    const char* heading;
    int widthPixels;
};

inline constexpr std::size_t kStationColumnCount = 7;

const std::array<ListColumn, kStationColumnCount>& stationColumns();

// Row texts of one place: "%03d" of index + 1, then name, telephone, remark, file name,
// folder and the stored method text ("modem", "com" or empty).
std::array<std::string, kStationColumnCount> stationRow(const AddressBook& book, int index);

}  // namespace fenta21
