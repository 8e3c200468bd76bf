#pragma once

#include "core/remote/TelephoneField.h"

namespace fenta21 {

class ModalContext;
class Session;

// Connects to an address-book station: a direct-link station through the direct-link search,
// any other by dialling its telephone field on the modem port. 0 connected (the line is then
// linked), or -1, 6, 7, 27, each already reported. A line that is already linked gives 0; a
// line that another operation is setting up or taking down is refused as busy (-1).
int connectStation(Session& session, int station);

// The connection itself, without the line state and the messages.
int startConnection(Session& session, int station);

// Resets the modem and sets it up for a data call: 0, 7 (no answer) or 27.
int initModem(Session& session);

// The dial worker: dials `target` and waits for the logger's "READY", redialling up to the
// retry count of mdm.dat. 0, -1 (no connection), 7 or 27.
int dialStation(Session& session, ModalContext& dialog, const DialTarget& target, bool pulse);

}  // namespace fenta21
