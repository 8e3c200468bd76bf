#include "core/session/Session.h"

#include "core/session/AddressBookHooks.h"

namespace fenta21 {

Session::Session(std::string homeFolder, Host& host, const Clock& clock)
    : PanelContext(std::move(homeFolder), host, clock) {
    attachAddressBook(*this, addressBook);
}

}  // namespace fenta21
