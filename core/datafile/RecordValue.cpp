#include "core/datafile/RecordValue.h"

#include "core/datafile/KindFolding.h"

#include <cstdlib>

namespace fenta21 {
namespace {

constexpr int kCalmIndex = 17;
constexpr int kErrorIndex = 18;
constexpr long long kSecondsPerDay = 86400;
// The divisors of the decimals 0-5, exact as doubles; a table, not pow(), since a plot reads two
// million values at once.
constexpr double kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000};

// The decimals the value text uses, clamped as the formatter clamps them.
int decimalsOf(const FoldedValue& folded, const KindFormat& format) {
    int decimals = folded.decimals >= 0 ? folded.decimals : format.decimals;
    return decimals < 0 ? 0 : (decimals > 5 ? 5 : decimals);
}

}  // namespace

RecordValue recordValue(const DataRecord& record, const KindTable& kinds) {
    FoldedValue folded = foldForValue(record.kind, record.value);
    const KindFormat* format = kinds.format(folded.kind);
    if (format == nullptr) return {};

    switch (format->type) {
    case '$':
        if (folded.value < 1 || folded.value > kErrorIndex) return {ValueType::Direction, 0, false};
        return {ValueType::Direction, static_cast<double>(folded.value), true};
    case '#':
        return {ValueType::Number, static_cast<double>(folded.value) / 10.0, true};
    case 'h': {
        long long t = record.hour * 3600LL + record.minute * 60LL + record.second + folded.value;
        t %= kSecondsPerDay;
        if (t < 0) t += kSecondsPerDay;
        return {ValueType::TimeOfDay, static_cast<double>(t), true};
    }
    default: {
        // '+' and ' ' keep the sign; every other type shows the magnitude.
        bool signedType = format->type == '+' || format->type == ' ';
        long long value = signedType ? folded.value : std::llabs(folded.value);
        return {ValueType::Number, static_cast<double>(value) / kPowersOfTen[decimalsOf(folded, *format)], true};
    }
    }
}

int valueDecimals(const DataRecord& record, const KindTable& kinds) {
    FoldedValue folded = foldForValue(record.kind, record.value);
    const KindFormat* format = kinds.format(folded.kind);
    if (format == nullptr || format->type == '$' || format->type == 'h') return 0;
    return format->type == '#' ? 1 : decimalsOf(folded, *format);
}

std::optional<double> directionDegrees(int index) {
    if (index < 1 || index >= kCalmIndex) return std::nullopt;
    return 22.5 * index;
}

}  // namespace fenta21
