#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace fenta21 {
class AddressBook;
}

namespace fenta21::cli {

// A station as the lists show it: "%03d" of the place + 1, name, telephone, remark, file
// name, folder and method, separated by tabs, after `before` (a row's own columns).
void printStationRow(const AddressBook& book, int place, const std::vector<std::string>& before = {});

// The same as a JSON object: number (counted from 1), name, telephone, remark, fileName,
// folder, method.
nlohmann::ordered_json stationJson(const AddressBook& book, int place);

}  // namespace fenta21::cli
