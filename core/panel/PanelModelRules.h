#pragma once

namespace fenta21 {

// What the panel offers depends on the model kind (ModelKind). These are the family rules
// the navigation, the settings commands and the dialogs share, so that no two places can
// disagree about which model has which item.

// Wave Canceler and Offset: the water level families only.
bool hasWaveAndOffset(int modelKind);
// Zero Set: the snow depth (QS) and strain (RS8) families; RS8 zeroes each channel.
bool hasZeroSet(int modelKind);
bool zeroesEachChannel(int modelKind);
// The tide loggers have no BATT, After Start or Preset Timer.
bool isTideFamily(int modelKind);
// These loggers record at fixed intervals: the panel shows no Interval item.
bool skipsInterval(int modelKind);
// The weather loggers name their channels (the kind table's labels) and switch each one
// on or off instead of choosing its kind.
bool namesChannels(int modelKind);
// The families whose preset timer also counts seconds (kind bit 0x2000: Q4, Q8, RP8, RS8).
bool hasSecondPresets(int modelKind);
// The wind logger monitors with "moni3" and its channels carry the wind labels.
bool isWindFamily(int modelKind);
// HBLTZ monitors channels 3 to 5 only.
bool monitorsUpperChannels(int modelKind);

}  // namespace fenta21
