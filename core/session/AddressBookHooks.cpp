#include "core/session/AddressBookHooks.h"

#include "core/session/Session.h"
#include "core/stations/AddressBook.h"

namespace fenta21 {

void attachAddressBook(Session& session, const AddressBook& book) {
    session.stationTarget = [&session, &book](int index) {
        if (index < 0) return CollectionTarget{session.settings.dataFolder, session.settings.dataFileName};
        Station station = book.station(index);
        return CollectionTarget{station.folder, station.fileName};
    };
    session.reports.stationLabel = [&book](int index) { return StationLabel{index + 1, book.station(index).name}; };
}

}  // namespace fenta21
