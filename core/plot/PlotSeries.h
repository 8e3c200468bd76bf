#pragma once

#include "core/datafile/RecordValue.h"
#include "core/plot/SeriesSummary.h"

#include <string>
#include <vector>

namespace fenta21::plot {

// What a trace is: where its records come from and how its values read.
struct SeriesInfo {
    std::string source;  // the data file's name, or the station's
    std::string name;    // the kind's name, with the channel where the source has that kind twice
    std::string unit;    // the kind's unit without its padding
    ValueType type = ValueType::Number;
    int decimals = 0;    // the most any of its records shows
    int channel = 0;
    int kind = 0;        // the kind of its CSV column (variants of a quantity are one series)
};

// A trace's samples: numbers as their CSV text reads, a direction as its bearing in degrees
// (calm and error have none and are left out), a time of day as seconds since midnight.
struct PlotSeries {
    SeriesInfo info;
    SeriesSummary summary;
};

// A unit as the kind table pads it ("ﾟC ") without its blanks.
std::string unitText(std::string unit);

// Two channels of one kind (eight strain gauges) are told apart by their channel, "ひずみ CH3"
// for channel 2; a series without a name is called by its channel alone.
void nameByChannelWhereShared(std::vector<SeriesInfo*> series);

// The series read from one source, or why there are none.
struct SourceSeries {
    std::string source;
    std::string title;  // the model's name, or the station's
    std::vector<PlotSeries> series;
    std::string problem;
};

}  // namespace fenta21::plot
