#pragma once

namespace fenta21 {

class AddressBook;
class Session;

// Lets the collection and the reports find a station's folder, file name and label in the
// book, and the direct line's save destination in the settings: Session::stationTarget and
// Session::reports.stationLabel read from them from then on.
// The book must outlive the session's use of those hooks.
void attachAddressBook(Session& session, const AddressBook& book);

}  // namespace fenta21
