#include "cli/StationRows.h"

#include "core/stations/AddressBook.h"
#include "core/remote/StationList.h"

#include <cstdio>

namespace fenta21::cli {

void printStationRow(const AddressBook& book, int place, const std::vector<std::string>& before) {
    std::string line;
    for (const std::string& column : before) line += column + "\t";
    auto row = stationRow(book, place);
    for (std::size_t column = 0; column < row.size(); ++column) line += (column ? "\t" : "") + row[column];
    std::printf("%s\n", line.c_str());
}

nlohmann::ordered_json stationJson(const AddressBook& book, int place) {
    Station station = book.station(place);
    return {{"number", place + 1},          {"name", station.name},     {"telephone", station.telephone},
            {"remark", station.remark},     {"fileName", station.fileName}, {"folder", station.folder},
            {"method", station.method}};
}

}  // namespace fenta21::cli
