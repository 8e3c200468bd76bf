#include "core/remote/AddressBookHooks.h"

#include "core/app/Session.h"
#include "core/remote/AddressBook.h"

namespace fenta21 {

void attachAddressBook(Session& session, const AddressBook& book) {
    session.stationTarget = [&book](int index) {
        Station station = book.station(index);
        return CollectionTarget{station.folder, station.fileName};
    };
    session.reports.stationLabel = [&book](int index) { return StationLabel{index + 1, book.station(index).name}; };
}

}  // namespace fenta21
