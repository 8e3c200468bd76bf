#include "sim/image/DataImage.h"

#include "sim/image/RecordBytes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace fenta21::sim {
namespace {

constexpr std::size_t kBlockBytes = 1024;

void putU16(std::string& image, std::size_t at, std::uint32_t value) {
    image[at] = static_cast<char>(value & 0xFF);
    image[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void putU32(std::string& image, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) image[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void putText(std::string& image, std::size_t at, const std::string& text) {
    std::memcpy(image.data() + at, text.data(), std::min<std::size_t>(text.size(), 16));
}

bool listed(const std::vector<RecordSlot>& slots, int instant, int channelIndex) {
    return std::any_of(slots.begin(), slots.end(),
                       [&](const RecordSlot& s) { return s.instant == instant && s.channelIndex == channelIndex; });
}

bool inGap(const ImageRecipe& recipe, int instant) {
    return std::any_of(recipe.gaps.begin(), recipe.gaps.end(), [&](const InstantGap& gap) {
        return instant >= gap.firstInstant && instant < gap.firstInstant + gap.instants;
    });
}

// The same few hundred thousand values every run: a hash of the instant and the channel.
int noiseAt(const ImageChannel& channel, int instant) {
    std::uint32_t h = static_cast<std::uint32_t>(instant) * 2654435761u ^ static_cast<std::uint32_t>(channel.channel) * 40503u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return static_cast<int>(h % static_cast<std::uint32_t>(2 * channel.noise + 1)) - channel.noise;
}

std::string recordArea(const ImageRecipe& recipe) {
    std::string area;
    area.reserve((static_cast<std::size_t>(recipe.startMarkers) + measurementCount(recipe) +
                  recipe.trailingRecords.size()) * 8);
    for (int i = 0; i < recipe.startMarkers; ++i) area += startMarkerRecord();
    CalendarTime time = recipe.firstInstant;
    for (int instant = 0; instant < recipe.instants; ++instant) {
        for (std::size_t c = 0; c < recipe.channels.size(); ++c) {
            const ImageChannel& channel = recipe.channels[c];
            int index = static_cast<int>(c);
            if (instant < channel.fromInstant || inGap(recipe, instant) || listed(recipe.missing, instant, index))
                continue;
            int value = channelValue(channel, instant);
            area += listed(recipe.damaged, instant, index) ? damagedRecord(time, channel.channel, channel.kind, value)
                                                           : encodeRecord(time, channel.channel, channel.kind, value);
        }
        time = addSeconds(time, recipe.intervalSeconds);
    }
    for (const std::string& record : recipe.trailingRecords) area += record.substr(0, 8);
    return area;
}

}  // namespace

int channelValue(const ImageChannel& channel, int instant) {
    int value = channel.firstValue + instant * channel.step;
    if (channel.waveAmplitude != 0 && channel.wavePeriod > 0)
        value += static_cast<int>(std::lround(channel.waveAmplitude * std::sin(2 * M_PI * instant / channel.wavePeriod)));
    if (channel.noise > 0) value += noiseAt(channel, instant);
    return value;
}

std::size_t measurementCount(const ImageRecipe& recipe) {
    std::size_t count = 0;
    for (int instant = 0; instant < recipe.instants; ++instant)
        for (std::size_t c = 0; c < recipe.channels.size(); ++c)
            if (instant >= recipe.channels[c].fromInstant && !inGap(recipe, instant) &&
                !listed(recipe.missing, instant, static_cast<int>(c)))
                ++count;
    return count;
}

std::string buildDataImage(const ImageRecipe& recipe) {
    std::string area = recordArea(recipe);
    std::size_t used = std::max<std::size_t>(recipe.recordAreaStart + area.size(), kHeaderAreaBytes);
    std::size_t bytes = std::max(used, recipe.minimumBytes);
    bytes = std::max<std::size_t>(1, (bytes + kBlockBytes - 1) / kBlockBytes) * kBlockBytes;

    std::string image(bytes, '\xFF');
    // The header area: zero where the logger keeps nothing, then the fields it fills in.
    std::fill(image.begin(), image.begin() + kHeaderAreaBytes, '\0');
    std::uint32_t end = recipe.recordAreaStart + static_cast<std::uint32_t>(area.size());
    putU16(image, 0, 0x0138);
    putU32(image, 2, recipe.endOffset.value_or(end));
    putU32(image, 6, recipe.startOffset.value_or(recipe.recordAreaStart));
    const CalendarTime& first = recipe.firstInstant;
    const int startFields[] = {first.year % 100, first.month, first.day, first.hour, first.minute, first.second};
    for (std::size_t i = 0; i < 6; ++i) image[10 + i] = static_cast<char>(startFields[i]);
    putU16(image, 16, static_cast<std::uint32_t>(recipe.intervalSeconds));
    putU16(image, 18, static_cast<std::uint32_t>(recipe.channels.size()));
    putU32(image, 20, static_cast<std::uint32_t>(bytes - recipe.recordAreaStart));
    putU32(image, 24, std::bit_cast<std::uint32_t>(recipe.batteryVolts));
    putText(image, 382, recipe.modelCode);
    putText(image, 398, recipe.stationName);
    for (std::size_t i = 0; i < recipe.memo.size(); ++i) putText(image, 486 + 16 * i, recipe.memo[i]);

    std::memcpy(image.data() + recipe.recordAreaStart, area.data(),
                std::min(area.size(), image.size() - std::min<std::size_t>(image.size(), recipe.recordAreaStart)));
    return image;
}

}  // namespace fenta21::sim
