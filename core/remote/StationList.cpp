#include "core/remote/StationList.h"

#include "core/stations/AddressBook.h"

namespace fenta21 {

const std::array<ListColumn, kStationColumnCount>& stationColumns() {
    static const std::array<ListColumn, kStationColumnCount> columns{{
        {"No.", 30},
        {"地点名", 132},
        {"電話番号", 84},
        {"備考", 132},
        {"ﾌｧｲﾙ名", 72},
        {"ﾌｫﾙﾀﾞ名", 132},
        {"接続方法", 60},
    }};
    return columns;
}

std::array<std::string, kStationColumnCount> stationRow(const AddressBook& book, int index) {
    Station station = book.station(index);
    return {stationNumberText(index), station.name,   station.telephone, station.remark,
            station.fileName,         station.folder, station.method};
}

}  // namespace fenta21
