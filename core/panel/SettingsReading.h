#pragma once

#include <string>

namespace fenta21 {

class PanelContext;

// The panel's reads: what a session reads when it starts, what moving to an item refreshes,
// and the reads the sub-lists and the refresher repeat. Each stores what it read in the
// session's panel state; a reply that does not read leaves the value it would have changed.

inline constexpr int kSettingReplyMax = 20;
inline constexpr int kLongReplyMax = 40;

// Every setting, in the order the logger has always been asked (plain exchanges): the name,
// the model code (which must be in the model table), the ROM version, battery, memo 1, clock
// adjustment, COM speed, after-start, preset timer, interval and clock, then what the model
// family adds (digit, offset and wave canceler; the zero point). 0, or the failed exchange's
// result (-1 also for an unknown model code), at the first failure.
int readAllSettings(PanelContext& session);

// The refresh on moving to an item: BATT, Data and Mode read afresh (with error report);
// other items read nothing.
void refreshOnMove(PanelContext& session, int item);

// "time": the Time and Date values. 0 or the exchange's failure.
int readLoggerTime(PanelContext& session);
// "data" (index 0 of a first look) or "data<index>": the data lines.
int readDataRecord(PanelContext& session, int index, bool firstLook = false);
// "mode<channel>": the mode line.
int readChannelMode(PanelContext& session, int channel);
// A "mode<channel>" reply (to a read or a write) as the mode line and the dialog's preselection.
void storeModeReply(PanelContext& session, int channel, const std::string& reply);
// "zero<channel>" (RS8): the channel's zero point, which preselects its dialog.
int readChannelZero(PanelContext& session, int channel);
// A zero point reply (to "zero", "zero<channel>" or a write) as the Zero Set value and the
// dialog's preselection for that channel.
void storeZeroReply(PanelContext& session, int channel, const std::string& reply);
// "moni..." for the current channel: the monitor line, with the channel blank when `blink`.
int readMonitor(PanelContext& session, bool blink);

}  // namespace fenta21
