#pragma once

namespace fenta21 {

// Some kinds are variants of one quantity that the logger tells apart in the kind code
// itself: 32-37 a level at three resolutions, the odd ones below the reference point; 93
// the negative side of 92; 100-101 a gap counted past 49999. They share one kind table entry.

// What a record is formatted as: the kind whose table entry is used, the value to print, and
// the decimals when the kind code fixes them (-1: the table entry's own).
struct FoldedValue {
    int kind = 0;
    long long value = 0;
    int decimals = -1;
};

inline FoldedValue foldForValue(int kind, long long value) {
    if (kind >= 32 && kind <= 37) {
        int step = kind - 32;
        return {32, step % 2 == 1 ? -value : value, 4 - step / 2};
    }
    if (kind == 93) return {92, -value, -1};
    if (kind == 100 || kind == 101) return {100, value + (kind - 100) * 50000LL, -1};
    return {kind, value, -1};
}

// The kind whose unit is shown after a value. The gap kinds keep their own units.
inline int foldForUnit(int kind) {
    if (kind >= 32 && kind <= 37) return 32;
    if (kind == 93) return 92;
    return kind;
}

// The kind a CSV column stands for: every variant of a quantity goes into one column.
inline int foldForColumn(int kind) {
    if (kind >= 32 && kind <= 37) return 32;
    if (kind == 93) return 92;
    if (kind == 101 || kind == 102) return 100;
    return kind;
}

}  // namespace fenta21
