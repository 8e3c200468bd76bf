#include "core/plot/DataFileSeries.h"

#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/base/PrintableText.h"
#include "core/datafile/DataFileCheck.h"
#include "core/datafile/DataFileHeader.h"
#include "core/datafile/KindFolding.h"
#include "core/plot/LoggerSeconds.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <numeric>

namespace fenta21::plot {
namespace {

constexpr int kChannels = 256;  // a record's channel is one byte

// A logger whose clock was set back writes records out of time order; the trace shows them
// in time order, keeping the file's order among equal times.
void putInTimeOrder(Samples& samples) {
    if (std::is_sorted(samples.times.begin(), samples.times.end())) return;
    std::vector<std::size_t> order(samples.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return samples.times[a] < samples.times[b]; });
    Samples sorted;
    sorted.times.reserve(order.size());
    sorted.values.reserve(order.size());
    for (std::size_t i : order) {
        sorted.times.push_back(samples.times[i]);
        sorted.values.push_back(samples.values[i]);
    }
    samples = std::move(sorted);
}

struct Collecting {
    SeriesInfo info;
    Samples samples;
};

}  // namespace

SourceSeries readDataFileSeries(std::string_view image, const std::string& source,
                                const std::function<std::optional<CurrentModel>(const std::string&)>& identify) {
    SourceSeries result;
    result.source = source;
    if (std::string why = notADataFileReason(image); !why.empty()) {
        result.problem = why;
        return result;
    }
    std::optional<RecordArea> area = readRecordArea(image);
    std::optional<std::string> code = readModelCode(image);
    std::optional<CurrentModel> model = code && identify ? identify(*code) : std::nullopt;
    if (!model) {
        result.problem = "type.dat has no line for the model \"" + printableBytes(code.value_or("")) + "\"";
        return result;
    }
    result.title = model->name;
    const KindTable& kinds = *model->kinds;

    const auto* bytes = reinterpret_cast<const unsigned char*>(image.data());
    const std::size_t end = std::min<std::size_t>(area->endOffset, image.size());
    auto slotOf = [](const DataRecord& record) {
        return static_cast<std::size_t>(record.channel * kKindCount + foldForColumn(record.kind));
    };
    // Counted first, so that each series takes its memory once: two million samples grown
    // by doubling would briefly hold half as much again.
    std::vector<std::size_t> counts(static_cast<std::size_t>(kChannels * kKindCount), 0);
    for (std::size_t at = area->startOffset; at + kRecordBytes <= end; at += kRecordBytes)
        if (std::optional<DataRecord> record = decodeRecord(bytes + at)) ++counts[slotOf(*record)];

    std::vector<Collecting> found;
    std::vector<int> slot(counts.size(), -1);
    // The records of one instant share their time, and a kind its decimals: each is worked
    // out once, not two million times.
    std::array<int, kKindCount> decimalsOfKind;
    decimalsOfKind.fill(-1);
    DataRecord lastTimed;
    std::int64_t lastSeconds = 0;
    bool timed = false;
    for (std::size_t at = area->startOffset; at + kRecordBytes <= end; at += kRecordBytes) {
        std::optional<DataRecord> record = decodeRecord(bytes + at);
        if (!record) continue;
        RecordValue value = recordValue(*record, kinds);
        if (!value.ok) continue;
        double number = value.number;
        if (value.type == ValueType::Direction) {
            std::optional<double> degrees = directionDegrees(static_cast<int>(number));
            if (!degrees) continue;
            number = *degrees;
        }
        int& index = slot[slotOf(*record)];
        if (index < 0) {
            index = static_cast<int>(found.size());
            Collecting series;
            const KindFormat* format = kinds.format(foldForUnit(record->kind));
            series.info = SeriesInfo{source, format != nullptr ? format->name : std::string(),
                                     format != nullptr ? unitText(format->unit) : std::string(),
                                     value.type, 0, record->channel, foldForColumn(record->kind)};
            series.samples.times.reserve(counts[slotOf(*record)]);
            series.samples.values.reserve(counts[slotOf(*record)]);
            found.push_back(std::move(series));
        }
        Collecting& series = found[static_cast<std::size_t>(index)];
        int& decimals = decimalsOfKind[static_cast<std::size_t>(record->kind)];
        if (decimals < 0) decimals = valueDecimals(*record, kinds);
        series.info.decimals = std::max(series.info.decimals, decimals);
        if (!timed || !record->sameInstant(lastTimed)) {
            lastTimed = *record;
            lastSeconds = recordSeconds(*record);
            timed = true;
        }
        series.samples.times.push_back(lastSeconds);
        series.samples.values.push_back(number);
    }

    std::vector<SeriesInfo*> infos;
    for (Collecting& series : found) infos.push_back(&series.info);
    nameByChannelWhereShared(infos);
    for (Collecting& series : found) {
        putInTimeOrder(series.samples);
        result.series.push_back(PlotSeries{std::move(series.info), SeriesSummary(std::move(series.samples))});
    }
    return result;
}

SourceSeries readDataFileSeriesAt(const std::string& path,
                                  const std::function<std::optional<CurrentModel>(const std::string&)>& identify) {
    std::string name = std::filesystem::path(path).filename().string();
    FileContent content = readRegularFile(path);
    if (!content.bytes) {
        SourceSeries failed;
        failed.source = name;
        failed.problem = "cannot read " + path + ": " + content.problem;
        return failed;
    }
    return readDataFileSeries(*content.bytes, name, identify);
}

}  // namespace fenta21::plot
