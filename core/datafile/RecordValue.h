#pragma once

#include "core/datafile/DataRecord.h"
#include "core/protocol/KindTable.h"

#include <optional>

namespace fenta21 {

// A record's value as a number, for what computes with values (the record store, plots)
// rather than shows them. It is the number the value text reads, so a sum of CSV cells and a
// sum of these agree: scaled by the same decimals and with the same sign rule (a type that
// shows the magnitude gives the magnitude).
enum class ValueType {
    Number,     // a measurement, scaled by its decimals
    Direction,  // a wind direction's index: 1-16 from NNE round to N, 17 calm, 18 error
    TimeOfDay,  // seconds since midnight, 0-86399, as the 'h' kinds show a time
};

struct RecordValue {
    ValueType type = ValueType::Number;
    double number = 0;
    bool ok = false;  // false exactly where the value text is "-------"
};

RecordValue recordValue(const DataRecord& record, const KindTable& kinds);

// The decimals a number's text shows (0 for directions and times, and for an undefined kind).
int valueDecimals(const DataRecord& record, const KindTable& kinds);

// The compass bearing of a direction index (22.5 for NNE ... 360 for N); nothing for calm and
// error, which have no bearing.
std::optional<double> directionDegrees(int index);

}  // namespace fenta21
