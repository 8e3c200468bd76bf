// fenta21-cli db export: a station's records out of the record store, as CSV or JSON, with
// ISO 8601 times in the station's own offset. Rows are written as they are read, so a station's
// years of records never have to fit in memory.
#include "cli/CliHost.h"
#include "cli/CommandWords.h"
#include "cli/DbCommands.h"
#include "core/store/StoreTime.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace fenta21::cli {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::string numberText(const std::optional<double>& number, const char* missing) {
    if (!number) return missing;
    char digits[32];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, *number).ptr);
}

std::string csvField(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string jsonText(const std::string& text) {
    return nlohmann::ordered_json(text).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

// A reading as --from or --to gives it; a date alone in --to stands for its whole day.
bool readBound(const std::vector<NamedValue>& named, const char* name, int offsetMinutes, std::int64_t& bound,
               std::string& complaint) {
    for (const NamedValue& option : named) {
        if (option.name != name) continue;
        std::optional<std::int64_t> utc = store::parseUserTime(option.value, offsetMinutes);
        if (!utc) {
            complaint = std::string(name) + " takes a time such as 2026-12-08 or 2026-12-08T09:30:00+09:00, not \"" +
                        option.value + "\"";
            return false;
        }
        bool dateAlone = option.value.size() == 10;
        bound = *utc + (dateAlone && std::string_view(name) == "--to" ? kSecondsPerDay - 1 : 0);
    }
    return true;
}

// Writes the rows as they come, in CSV or as the JSON object --json gives.
class ExportWriter {
public:
    ExportWriter(bool json, int offsetMinutes) : json_(json), offset_(offsetMinutes) {}

    void begin(const store::StationRow& station, const std::optional<std::int64_t>& from,
               const std::optional<std::int64_t>& to) {
        if (!json_) {
            std::fputs("time,channel,kind,name,unit,number,text\n", stdout);
            return;
        }
        auto bound = [&](const std::optional<std::int64_t>& utc) {
            return utc ? jsonText(store::isoTime(*utc, offset_)) : std::string("null");
        };
        std::printf("{\"command\":\"db\",\"station\":%s,\"model\":%s,\"utcOffset\":%s,\"from\":%s,\"to\":%s,\"series\":[",
                    jsonText(station.name).c_str(), jsonText(station.model).c_str(),
                    jsonText(store::utcOffsetText(offset_)).c_str(), bound(from).c_str(), bound(to).c_str());
    }

    void series(const store::SeriesRow& s) {
        series_ = s;
        firstRow_ = true;
        if (!json_) {
            prefix_ = "," + std::to_string(s.channel) + "," + std::to_string(s.kind) + "," + csvField(s.name) + "," +
                      csvField(s.unit) + ",";
            return;
        }
        std::printf("%s{\"channel\":%d,\"kind\":%d,\"name\":%s,\"unit\":%s,\"valueType\":%s,\"records\":[",
                    firstSeries_ ? "" : ",", s.channel, s.kind, jsonText(s.name).c_str(), jsonText(s.unit).c_str(),
                    jsonText(s.valueType).c_str());
        firstSeries_ = false;
    }

    void row(const store::RecordRow& row) {
        ++rows_;
        std::string time = store::isoTime(row.utc, offset_);
        if (!json_) {
            std::string line = time + prefix_ + numberText(row.number, "") + "," + csvField(row.text) + "\n";
            std::fwrite(line.data(), 1, line.size(), stdout);
            return;
        }
        std::string item = std::string(firstRow_ ? "" : ",") + "{\"time\":\"" + time + "\",\"utc\":" +
                           std::to_string(row.utc) + ",\"number\":" + numberText(row.number, "null") +
                           ",\"text\":" + jsonText(row.text) + "}";
        std::fwrite(item.data(), 1, item.size(), stdout);
        firstRow_ = false;
    }

    void endSeries() {
        if (json_) std::fputs("]}", stdout);
    }

    // The object's end: the count and the outcome, as every --json object ends.
    void end(int exitStatus, const std::vector<std::string>& messages) {
        if (json_) {
            nlohmann::ordered_json tail = {{"records", rows_}, {"exitStatus", exitStatus},
                                           {"message", messages.empty() ? std::string() : messages.back()},
                                           {"messages", messages}};
            std::string text = tail.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
            std::printf("],%s\n", text.c_str() + 1);
        }
        std::fflush(stdout);
    }

private:
    const bool json_;
    const int offset_;
    store::SeriesRow series_;
    std::string prefix_;
    bool firstSeries_ = true;
    bool firstRow_ = true;
    std::int64_t rows_ = 0;
};

}  // namespace

int runDbExport(CommandContext& context, JsonResult& json) {
    std::vector<NamedValue> named;
    std::string error;
    if (!takeNamedValues(context.args, {"--station", "--from", "--to", "--format"}, named, error))
        return json.finish(json.refuse(error, kExitUsage));
    if (!context.args.empty()) return json.finish(json.refuse("unexpected \"" + context.args[0] + "\"", kExitUsage));
    std::string stationName;
    std::string format = "csv";
    for (const NamedValue& option : named) {
        if (option.name == "--station") stationName = option.value;
        if (option.name == "--format") format = option.value;
    }
    if (stationName.empty()) return json.finish(json.refuse("export needs --station NAME", kExitUsage));
    if (format != "csv" && format != "json")
        return json.finish(json.refuse("--format takes csv or json, not \"" + format + "\"", kExitUsage));

    std::unique_ptr<store::RecordStore> opened;
    if (int refused = openHomeStoreFor(context, json, opened); refused != kExitOk) return json.finish(refused);
    std::optional<store::StationRow> station;
    std::vector<store::SeriesRow> series;
    try {
        for (const store::StationRow& row : opened->stations())
            if (row.name == stationName) station = row;
        if (station) series = opened->series(stationName);
    } catch (const store::StoreError& e) {
        return json.finish(json.refuse(e.what(), kExitFailed));
    }
    if (!station) return json.finish(json.refuse("the record store has no station \"" + stationName + "\"", kExitFailed));
    std::int64_t from = std::numeric_limits<std::int64_t>::min();
    std::int64_t to = std::numeric_limits<std::int64_t>::max();
    if (!readBound(named, "--from", station->utcOffsetMinutes, from, error) ||
        !readBound(named, "--to", station->utcOffsetMinutes, to, error))
        return json.finish(json.refuse(error, kExitUsage));

    ExportWriter writer(json.wanted() || format == "json", station->utcOffsetMinutes);
    writer.begin(*station, from == std::numeric_limits<std::int64_t>::min() ? std::nullopt : std::optional(from),
                 to == std::numeric_limits<std::int64_t>::max() ? std::nullopt : std::optional(to));
    int status = kExitOk;
    std::vector<std::string> messages = context.host.reports();
    for (const store::SeriesRow& s : series) {
        writer.series(s);
        try {
            opened->readRecords(s.id, from, to, [&](const store::RecordRow& row) {
                writer.row(row);
                return CliHost::cancellingSignal() == 0;
            });
        } catch (const store::StoreError& e) {
            std::fprintf(stderr, "fenta21-cli db: %s\n", e.what());
            messages.push_back(e.what());
            status = kExitFailed;
        }
        writer.endSeries();
        if (status != kExitOk || CliHost::cancellingSignal() != 0) break;
    }
    writer.end(CliHost::exitStatus(status), messages);
    return status;
}

}  // namespace fenta21::cli
