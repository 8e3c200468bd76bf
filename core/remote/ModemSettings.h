#pragma once

#include "core/session/SettingsStore.h"

namespace fenta21 {

class Session;

// What the modem settings dialog ("モデムの設定") chooses: positions in its three lists.
struct ModemSettings {
    int speedIndex = 0;  // "通信速度": 0-9, the speed table
    int portIndex = 0;   // "通信ポｰト": 0-8, COM1-COM9
    int dialMethod = 0;  // "ﾀﾞｲﾔﾙ方法": 0 "ﾄｰﾝ", 1 "ﾊﾟﾙｽ"

    bool operator==(const ModemSettings&) const = default;
};

ModemSettings currentModemSettings(const Session& session);

// The dialog's "OK": the three values become the saved modem settings. A value none of the
// lists offers is refused; a system.dat that cannot be written is reported and keeps the old
// settings.
SettingsChange storeModemSettings(Session& session, const ModemSettings& chosen);

}  // namespace fenta21
