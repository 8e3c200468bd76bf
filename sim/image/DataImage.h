#pragma once

#include "core/base/CalendarTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fenta21::sim {

// A logger's memory image as a data file holds it: a 640-byte header area, the record area,
// and never-written memory (0xFF) up to a whole number of 1024-byte blocks. Tests, the
// benchmarks and the simulated logger build their images from a recipe.

inline constexpr std::uint32_t kHeaderAreaBytes = 640;

// A measured quantity: a channel and kind, and the value at instant i, firstValue + i x step,
// stored as its low 16 bits. A wave and noise make it look like a day outdoors: the value then
// also rises and falls by `waveAmplitude` every `wavePeriod` instants, and wanders by up to
// `noise` either way, the same for the same instant every time.
struct ImageChannel {
    int channel = 0;
    int kind = 0;
    int firstValue = 0;
    int step = 0;
    int fromInstant = 0;  // the channel was added part-way: it records from this instant on
    int waveAmplitude = 0;
    int wavePeriod = 0;
    int noise = 0;
};

// The value a channel records at an instant.
int channelValue(const ImageChannel& channel, int instant);

// Instants at which the logger recorded nothing at all (it was stopped, or its battery flat).
struct InstantGap {
    int firstInstant = 0;
    int instants = 0;
};

// One record of the grid: the instant (from 0) and the channel's place in the channel list.
struct RecordSlot {
    int instant = 0;
    int channelIndex = 0;
};

struct ImageRecipe {
    std::string modelCode = "WNDA-01";   // code page 932 bytes, at most 16
    std::string stationName;             // code page 932 bytes, at most 16
    std::array<std::string, 6> memo{};   // code page 932 bytes, at most 16 each
    float batteryVolts = 12.6f;

    std::uint32_t recordAreaStart = kHeaderAreaBytes;
    int startMarkers = 0;  // written before the first measurement

    // The measurements: `instants` instants `intervalSeconds` apart, each with one record per
    // channel in the order of `channels`.
    CalendarTime firstInstant{2026, 4, 1, 0, 0, 0};
    int intervalSeconds = 600;
    int instants = 0;
    std::vector<ImageChannel> channels;
    std::vector<RecordSlot> missing;  // records the logger did not write
    std::vector<InstantGap> gaps;
    std::vector<RecordSlot> damaged;  // records whose bytes are no longer a valid record

    // Raw 8-byte records written after the measurements, inside the record area.
    std::vector<std::string> trailingRecords;

    // Damaged headers: the offsets as stored instead of the ones the records give.
    std::optional<std::uint32_t> endOffset;
    std::optional<std::uint32_t> startOffset;
    // The image is at least this long (more never-written memory).
    std::size_t minimumBytes = 0;
};

// The image, a whole number of 1024-byte blocks.
std::string buildDataImage(const ImageRecipe& recipe);

// How many records the recipe's measurements hold (missing ones not counted).
std::size_t measurementCount(const ImageRecipe& recipe);

}  // namespace fenta21::sim
