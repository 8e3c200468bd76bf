#include "core/stations/Station.h"

#include "core/base/Cp932.h"

#include <cstdio>

namespace fenta21 {

std::string fitStationField(std::string_view utf8) {
    std::string safe;
    safe.reserve(utf8.size());
    for (char c : utf8) {
        if (c == ',') safe += "，";
        else if (c == '\r' || c == '\n' || c == '\0') safe.push_back(' ');
        else safe.push_back(c);
    }
    std::string cp932 = utf8ToCp932(safe);
    cp932.resize(cp932PrefixLength(cp932, kStationFieldBytes));
    return cp932ToUtf8(cp932);
}

Station fitStation(const Station& station) {
    return {fitStationField(station.name),     fitStationField(station.telephone), fitStationField(station.remark),
            fitStationField(station.fileName), fitStationField(station.folder),    fitStationField(station.method)};
}

std::string stationNumberText(int index) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", index + 1);
    return text;
}

}  // namespace fenta21
