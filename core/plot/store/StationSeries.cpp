#include "core/plot/store/StationSeries.h"

#include "core/store/StoreTime.h"

#include <algorithm>
#include <limits>

namespace fenta21::plot {
namespace {

ValueType valueTypeOf(const std::string& word) {
    if (word == "direction") return ValueType::Direction;
    if (word == "time") return ValueType::TimeOfDay;
    return ValueType::Number;
}

// The decimals a value's CSV text shows ("  -12.35" two, "    NNE" none).
int decimalsOf(const std::string& text) {
    std::size_t point = text.find('.');
    if (point == std::string::npos) return 0;
    std::size_t digits = 0;
    while (point + 1 + digits < text.size() && text[point + 1 + digits] >= '0' && text[point + 1 + digits] <= '9') ++digits;
    return static_cast<int>(digits);
}

}  // namespace

std::optional<store::StationRow> findStation(store::RecordStore& store, const std::string& name) {
    for (store::StationRow& row : store.stations())
        if (row.name == name) return row;
    return std::nullopt;
}

SourceSeries readStationSeries(store::RecordStore& store, const StationChoice& choice) {
    SourceSeries result;
    result.source = choice.station;
    try {
        std::optional<store::StationRow> station = findStation(store, choice.station);
        if (!station) {
            result.problem = "the record store has no station \"" + choice.station + "\"";
            return result;
        }
        result.title = station->model + " " + store::utcOffsetText(station->utcOffsetMinutes);
        const std::int64_t offset = station->utcOffsetMinutes * 60LL;
        const std::int64_t fromUtc = choice.from ? *choice.from - offset : std::numeric_limits<std::int64_t>::min() / 2;
        const std::int64_t toUtc = choice.to ? *choice.to - offset : std::numeric_limits<std::int64_t>::max() / 2;

        std::vector<SeriesInfo> infos;
        std::vector<Samples> samples;
        for (const store::SeriesRow& row : store.series(choice.station)) {
            const auto& wanted = choice.seriesIds;
            if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), row.id) == wanted.end()) continue;
            SeriesInfo info{choice.station, row.name, unitText(row.unit), valueTypeOf(row.valueType), 0, row.channel, row.kind};
            Samples taken;
            taken.times.reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, row.records)));
            taken.values.reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, row.records)));
            store.readRecords(row.id, fromUtc, toUtc, [&](const store::RecordRow& record) {
                if (!record.number) return true;
                double value = *record.number;
                if (info.type == ValueType::Direction) {
                    std::optional<double> degrees = directionDegrees(static_cast<int>(value));
                    if (!degrees) return true;
                    value = *degrees;
                }
                info.decimals = std::max(info.decimals, decimalsOf(record.text));
                taken.times.push_back(record.utc + offset);
                taken.values.push_back(value);
                return true;
            });
            infos.push_back(std::move(info));
            samples.push_back(std::move(taken));
        }
        std::vector<SeriesInfo*> named;
        for (SeriesInfo& info : infos) named.push_back(&info);
        nameByChannelWhereShared(named);
        for (std::size_t i = 0; i < infos.size(); ++i)
            result.series.push_back(PlotSeries{std::move(infos[i]), SeriesSummary(std::move(samples[i]))});
    } catch (const store::StoreError& e) {
        result.series.clear();
        result.problem = e.what();
    }
    return result;
}

}  // namespace fenta21::plot
