// fenta21-cli db import: data files into the record store by hand, a station's years of files
// in one go.
#include "cli/CommandWords.h"
#include "cli/DbCommands.h"
#include "cli/StoreReports.h"
#include "core/app/Session.h"
#include "core/datafile/CsvConversion.h"
#include "core/store/StationFromFile.h"
#include "core/store/StoreImporter.h"
#include "core/store/StoreTime.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fenta21::cli {
namespace {

namespace fs = std::filesystem;

bool isDataFileName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    return extension == ".v38";
}

// The files the words name: a file itself, a folder's .v38 files at any depth in name order.
// A word that names neither is kept with its problem.
struct Wanted {
    std::string path;
    std::string problem;
};

std::vector<Wanted> wantedFiles(const std::vector<std::string>& words) {
    std::vector<Wanted> wanted;
    for (const std::string& word : words) {
        std::error_code ec;
        fs::file_status status = fs::status(word, ec);
        if (fs::is_directory(status)) {
            std::vector<std::string> found;
            fs::recursive_directory_iterator walk(word, fs::directory_options::skip_permission_denied, ec);
            for (; !ec && walk != fs::recursive_directory_iterator(); walk.increment(ec))
                if (walk->is_regular_file(ec) && isDataFileName(walk->path())) found.push_back(walk->path().string());
            if (ec) wanted.push_back({word, "cannot be searched through: " + ec.message()});
            std::sort(found.begin(), found.end());
            for (std::string& path : found) wanted.push_back({std::move(path), {}});
        } else if (fs::exists(status)) {
            wanted.push_back({word, {}});
        } else {
            wanted.push_back({word, "no such file or folder"});
        }
    }
    return wanted;
}

nlohmann::ordered_json countsJson(const store::ImportCounts& counts) {
    return {{"inserted", counts.inserted}, {"duplicates", counts.duplicates}, {"conflicts", counts.conflicts},
            {"skipped", counts.skipped}};
}

}  // namespace

int runDbImport(CommandContext& context, JsonResult& json) {
    std::vector<NamedValue> named;
    std::string error;
    if (!takeNamedValues(context.args, {"--station", "--utc-offset"}, named, error)) return json.refuse(error, kExitUsage);
    store::ImportOptions options;
    for (const NamedValue& option : named) {
        if (option.name == "--station") {
            if (option.value.empty()) return json.refuse("--station needs a name", kExitUsage);
            options.station = option.value;
        } else if (!(options.utcOffsetMinutes = store::parseUtcOffset(option.value))) {
            return json.refuse("--utc-offset takes an offset such as +09:00, not \"" + option.value + "\"", kExitUsage);
        }
    }
    if (context.args.empty()) return json.refuse("give the data files or folders to import", kExitUsage);
    for (const std::string& word : context.args)
        if (word.rfind("--", 0) == 0) return json.refuse("unknown option " + word, kExitUsage);

    std::unique_ptr<store::RecordStore> opened;
    if (int refused = openHomeStoreFor(context, json, opened); refused != kExitOk) return refused;
    ModelRegistry models(context.session.homeFolder());
    models.loadModelTable();
    options.identifyModel = identifyThrough(models);
    options.machine = store::machineName();

    std::vector<Wanted> wanted = wantedFiles(context.args);
    store::ImportCounts total;
    int known = 0;
    int failed = 0;
    int status = kExitOk;
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const Wanted& file = wanted[i];
        std::fprintf(stderr, "[%zu/%zu] %s\n", i + 1, wanted.size(), file.path.c_str());
        nlohmann::ordered_json entry = {{"path", file.path}};
        std::string problem = file.problem;
        bool storeFailed = false;
        if (problem.empty()) {
            try {
                store::ImportCounts counts = opened->importFile(file.path, options);
                total += counts;
                known += counts.alreadyKnown ? 1 : 0;
                entry["station"] = options.station.empty() ? store::stationFromFileName(file.path) : options.station;
                entry.update(countsJson(counts));
                entry["alreadyKnown"] = counts.alreadyKnown;
                if (!json.wanted()) std::printf("%s: %s\n", file.path.c_str(), importCountsText(counts).c_str());
            } catch (const store::UnreadableFile& e) {
                problem = e.what();
            } catch (const store::StoreError& e) {
                problem = e.what();
                storeFailed = true;
            }
        }
        if (!problem.empty()) {
            ++failed;
            status = json.refuse(problem.rfind(file.path, 0) == 0 ? problem : file.path + ": " + problem, kExitFailed);
            entry["problem"] = problem;
        }
        list.push_back(std::move(entry));
        std::fflush(stdout);
        // The store is away or failing: the files after this one would fail the same way.
        if (storeFailed) break;
    }
    if (json.wanted()) {
        json.body()["files"] = list;
        nlohmann::ordered_json sum = countsJson(total);
        sum["files"] = wanted.size();
        sum["alreadyKnown"] = known;
        sum["notImported"] = failed + static_cast<int>(wanted.size() - list.size());
        json.body()["total"] = sum;
    } else {
        std::printf("total: %s in %zu files (%d already in the store, %zu not imported)\n",
                    importCountsText(total).c_str(), wanted.size(), known, failed + (wanted.size() - list.size()));
        std::fflush(stdout);
    }
    return status;
}

}  // namespace fenta21::cli
