#pragma once

#include "core/base/CalendarTime.h"

#include <string>

namespace fenta21::sim {

// The 8 bytes a logger writes for one measurement. The year is the full year (2000-2099;
// 2100 and later give the invalid years a damaged record holds);
// the value is stored as its low 16 bits, so a negative value of a signed kind and a value up
// to 65535 of an unsigned kind both come out as the logger writes them.
std::string encodeRecord(const CalendarTime& time, int channel, int kind, int value);

// 00 00 00 00 7F 00 00 00: where a recording starts.
std::string startMarkerRecord();

// Memory that was never written reads as all bits set.
std::string unwrittenRecord();

// A record damaged in the logger's memory: its month reads 13.
std::string damagedRecord(const CalendarTime& time, int channel, int kind, int value);

}  // namespace fenta21::sim
