#include "core/plot/AxisTicks.h"

#include "core/base/CalendarTime.h"
#include "core/plot/LoggerSeconds.h"
#include "core/plot/SampleText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace fenta21::plot {
namespace {

constexpr double kDay = 86400;

ValueAxis fixedAxis(double high, std::vector<Tick> ticks) { return ValueAxis{0, high, std::move(ticks)}; }

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string dateText(const CalendarTime& t) {
    char text[24];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", t.year, t.month, t.day);
    return text;
}

}  // namespace

ValueAxis valueAxis(ValueType type, double min, double max, int maxTicks) {
    if (type == ValueType::Direction)
        return fixedAxis(360, {{0, "N", {}}, {90, "E", {}}, {180, "S", {}}, {270, "W", {}}, {360, "N", {}}});
    if (type == ValueType::TimeOfDay)
        return fixedAxis(kDay, {{0, "00:00", {}}, {21600, "06:00", {}}, {43200, "12:00", {}}, {64800, "18:00", {}},
                                {kDay, "24:00", {}}});
    ValueAxis axis;
    if (!(max >= min)) min = max = 0;
    double room = (max - min) * 0.05;
    // A flat trace still gets a scale: a unit around it, or a tenth of its size.
    if (room == 0) room = std::max(1.0, std::abs(min) * 0.1);
    axis.low = min - room;
    axis.high = max + room;
    const double span = axis.high - axis.low;
    // The finest step of 1, 2 or 5 times a power of ten that keeps within maxTicks, but never
    // so coarse that fewer than two ticks stand on the scale.
    const double power = std::pow(10.0, std::floor(std::log10(span)));
    std::vector<double> steps;
    for (double scale : {power, power / 10, power / 100})
        for (double factor : {5.0, 2.0, 1.0}) steps.push_back(scale * factor);
    auto ticksWith = [&](double step) {
        return static_cast<int>(std::floor(axis.high / step) - std::ceil(axis.low / step)) + 1;
    };
    double step = steps.front();
    for (double candidate : steps) {
        if (ticksWith(step) >= 2 && ticksWith(candidate) > maxTicks) break;
        step = candidate;
    }
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    for (double at = std::ceil(axis.low / step) * step; at <= axis.high + step * 1e-9; at += step)
        axis.ticks.push_back(Tick{at, fixedText(at, decimals), {}});
    return axis;
}

std::vector<Tick> timeTicks(double from, double to, int maxTicks) {
    std::vector<Tick> ticks;
    if (!(to > from) || maxTicks < 1) return ticks;
    const double span = to - from;
    // Steps within a day are whole seconds counted from midnight; beyond, days, then months.
    static constexpr double kSteps[] = {1,    2,    5,     10,    15,    30,    60,    120,   300,     600,
                                        900,  1800, 3600,  7200,  10800, 21600, 43200, kDay, 2 * kDay, 7 * kDay,
                                        14 * kDay};
    static constexpr int kMonthSteps[] = {1, 2, 3, 6, 12, 24, 60, 120, 240, 600};
    double step = 0;
    for (double candidate : kSteps) {
        if (span / candidate <= maxTicks) {
            step = candidate;
            break;
        }
    }
    if (step > 0) {
        std::string lastDate;
        for (double at = std::ceil(from / step) * step; at <= to; at += step) {
            CalendarTime t = calendarFromSeconds(static_cast<long long>(at));
            Tick tick;
            tick.at = at;
            if (step < kDay) tick.label = twoDigits(t.hour) + ':' + twoDigits(t.minute);
            if (step < 60) tick.label += ':' + twoDigits(t.second);
            if (step >= kDay) tick.label = twoDigits(t.month) + '/' + twoDigits(t.day);
            std::string date = step < kDay ? dateText(t) : std::to_string(t.year);
            if (date != lastDate) tick.date = date;
            lastDate = date;
            ticks.push_back(std::move(tick));
        }
        return ticks;
    }
    // Months: the first of each month that is a multiple of the step (counted from January).
    int months = kMonthSteps[std::size(kMonthSteps) - 1];
    for (int candidate : kMonthSteps) {
        if (span / (candidate * 30.44 * kDay) <= maxTicks) {
            months = candidate;
            break;
        }
    }
    CalendarTime start = calendarFromSeconds(static_cast<long long>(std::floor(from)));
    int index = start.year * 12 + (start.month - 1);
    index = (index + months - 1) / months * months;
    std::string lastYear;
    for (;; index += months) {
        int year = index / 12, month = index % 12 + 1;
        double at = static_cast<double>(civilSeconds(year, month, 1, 0, 0, 0));
        if (at < from) continue;
        if (at > to) break;
        Tick tick;
        tick.at = at;
        tick.label = months >= 12 ? std::to_string(year) : twoDigits(month);
        std::string yearText = std::to_string(year);
        if (months < 12 && yearText != lastYear) tick.date = yearText;
        lastYear = yearText;
        ticks.push_back(std::move(tick));
    }
    return ticks;
}

}  // namespace fenta21::plot
