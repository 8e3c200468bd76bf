#pragma once

#include <optional>

namespace fenta21 {

class Session;

// The "検索" of the modem settings: probes up to nine ports from `portIndex` (0-based) on,
// wrapping from COM9 to COM1, at `speedIndex`, for a modem answering "AT" with "OK". Returns
// the port index found, or nothing (reported). The settings are not changed: the dialog's
// selection is. Refused while the line is in use in any way, so it never shares the port
// with a collection that is setting up or taking down its line.
std::optional<int> searchModemPort(Session& session, int portIndex, int speedIndex);

}  // namespace fenta21
