#include "companion/headless/PictureCommand.h"

#include "companion/plot/PictureFile.h"
#include "core/app/CompanionPrograms.h"
#include "core/plot/DataFileSeries.h"
#include "core/plot/PlotRequest.h"
#include "core/plot/SampleText.h"
#include "core/plot/TimeText.h"
#include "core/plot/store/StationSeries.h"
#include "core/protocol/ModelRegistry.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace fenta21::plot {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// What the command says, on stderr as it goes and in the --json object at the end, in the
// shape fenta21-cli's own commands print theirs.
class Outcome {
public:
    explicit Outcome(bool json) : json_(json) {}

    nlohmann::ordered_json& body() { return body_; }

    int fail(const std::string& text, int status) {
        std::fprintf(stderr, "fenta21-cli plot: %s\n%s", text.c_str(),
                     status == kExitUsage ? "(see fenta21-cli plot --help)\n" : "");
        messages_.push_back(text);
        return finish(status);
    }

    int finish(int status) {
        if (!json_) return status;
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        object["command"] = "plot";
        object.update(body_);
        object["exitStatus"] = status;
        object["message"] = messages_.empty() ? std::string() : messages_.back();
        object["messages"] = messages_;
        std::printf("%s\n", object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace).c_str());
        return status;
    }

private:
    bool json_;
    nlohmann::ordered_json body_ = nlohmann::ordered_json::object();
    std::vector<std::string> messages_;
};

nlohmann::ordered_json seriesJson(const PlotDocument& document, std::size_t i, double from, double to) {
    const SeriesInfo& info = document.series()[i].info;
    RangeStats stats = document.stats(i, from, to);
    StatsText text = statsText(info, stats);
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    object["number"] = i + 1;
    object["source"] = info.source;
    object["name"] = info.name;
    object["unit"] = info.unit;
    object["records"] = stats.count;
    object["min"] = text.min;
    object["max"] = text.max;
    object["mean"] = text.mean;
    return object;
}

// The records of --station from the home folder's record store, over --from and --to in the
// station's own clock.
int addStation(const std::string& homeFolder, const PlotRequest& request, PlotDocument& document, std::string& title,
               std::string& problem) {
    try {
        std::unique_ptr<store::RecordStore> records = store::openHomeStore(homeFolder);
        if (!records) {
            problem = "the home folder has no record store (fenta21-cli db init sets one up)";
            return kExitFailed;
        }
        if (!findStation(*records, request.station)) {
            problem = "the record store has no station \"" + request.station + "\"; there are:";
            for (const store::StationRow& station : records->stations()) problem += "\n  " + station.name;
            return kExitUsage;
        }
        SourceSeries source = readStationSeries(*records, StationChoice{request.station, {}, request.from, request.to});
        if (!source.problem.empty()) {
            problem = source.problem;
            return kExitFailed;
        }
        title = source.source + " (" + source.title + ")";
        document.add(std::move(source));
        return kExitOk;
    } catch (const store::StoreError& e) {
        problem = e.what();
        return kExitFailed;
    }
}

}  // namespace

int runPictureCommand(const std::string& homeFolder, const std::vector<std::string>& args) {
    ParsedPlotRequest parsed = parsePlotRequest(args);
    Outcome outcome(parsed.request.json);
    if (!parsed.error.empty()) return outcome.fail(parsed.error, kExitUsage);
    const PlotRequest& request = parsed.request;
    if (!pictureFormatFor(request.out)) return outcome.fail("--out must end in .png, .svg or .pdf: " + request.out, kExitUsage);

    PlotDocument document;
    std::string title;
    if (!request.station.empty()) {
        std::string problem;
        int status = addStation(homeFolder, request, document, title, problem);
        if (status != kExitOk) return outcome.fail(problem, status);
    }
    ModelRegistry models(modelFilesFolder(homeFolder));
    models.loadModelTable();
    for (const std::string& file : request.files) {
        SourceSeries source = readDataFileSeriesAt(file, identifyThrough(models));
        if (!source.problem.empty()) return outcome.fail(file + ": " + source.problem, kExitFailed);
        title += (title.empty() ? "" : ", ") + source.source + (source.title.empty() ? "" : " (" + source.title + ")");
        document.add(std::move(source));
    }
    if (std::string unknown = chooseSeries(document, request.series); !unknown.empty())
        return outcome.fail(unknown, kExitUsage);
    std::optional<std::pair<std::int64_t, std::int64_t>> extent = document.extent();
    if (!extent || document.visibleSeries().empty()) return outcome.fail("there are no records to draw", kExitFailed);

    const double from = static_cast<double>(request.from.value_or(extent->first));
    const double to = std::max(from + 1, static_cast<double>(request.to.value_or(extent->second)));
    std::size_t records = 0;
    for (std::size_t i : document.visibleSeries()) records += document.stats(i, from, to).count;
    if (records == 0)
        return outcome.fail("there are no records from " + timeText(static_cast<std::int64_t>(from)) + " to " +
                                timeText(static_cast<std::int64_t>(to)),
                            kExitFailed);
    std::string problem = writePicture(request.out, document, from, to, QSize(request.width, request.height),
                                       PictureText{QString::fromStdString(title), pictureFont()});
    if (!problem.empty()) return outcome.fail(problem, kExitFailed);

    nlohmann::ordered_json& body = outcome.body();
    body["picture"] = request.out;
    body["width"] = request.width;
    body["height"] = request.height;
    body["from"] = timeText(static_cast<std::int64_t>(from));
    body["to"] = timeText(static_cast<std::int64_t>(to));
    body["series"] = nlohmann::ordered_json::array();
    for (std::size_t i : document.visibleSeries()) body["series"].push_back(seriesJson(document, i, from, to));
    if (!request.json) std::printf("%s\n", request.out.c_str());
    return outcome.finish(kExitOk);
}

}  // namespace fenta21::plot
