// fenta21-cli db: the record store, set up, fed, read and looked over without a window.
#include "cli/CommandWords.h"
#include "cli/DbCommands.h"
#include "core/app/Session.h"
#include "core/store/ImportQueue.h"
#include "core/store/StoreSettings.h"
#include "core/store/StoreTime.h"

#include <cstdio>

namespace fenta21::cli {
namespace {

nlohmann::ordered_json isoOrNull(const std::optional<std::int64_t>& utc, int offsetMinutes) {
    return utc ? nlohmann::ordered_json(store::isoTime(*utc, offsetMinutes)) : nlohmann::ordered_json();
}

std::string isoOrDash(const std::optional<std::int64_t>& utc, int offsetMinutes) {
    return utc ? store::isoTime(*utc, offsetMinutes) : "-";
}

// db init [LOCATION] [--utc-offset ±HH:MM]: the store is opened (made, or brought up to date)
// before the home is set to it, so a home never names a store that cannot be reached.
int runInit(CommandContext& context, JsonResult& json) {
    Session& session = context.session;
    std::vector<NamedValue> named;
    std::string error;
    if (!takeNamedValues(context.args, {"--utc-offset"}, named, error)) return json.refuse(error, kExitUsage);
    if (context.args.size() > 1) return json.refuse("init takes at most one store location", kExitUsage);
    std::optional<int> offset;
    if (!named.empty() && !(offset = store::parseUtcOffset(named[0].value)))
        return json.refuse("--utc-offset takes an offset such as +09:00, not \"" + named[0].value + "\"", kExitUsage);
    std::optional<std::string> before = store::storeLocation(session.homeFolder());
    std::string location = !context.args.empty() ? context.args[0] : before.value_or(store::kDefaultStoreFile);
    if (location.empty()) return json.refuse("the store location is empty", kExitUsage);

    std::unique_ptr<store::RecordStore> opened;
    try {
        opened = store::openRecordStore(location, session.homeFolder());
        if (offset) opened->setUtcOffset(*offset);
    } catch (const store::StoreError& e) {
        return json.refuse(e.what(), kExitFailed);
    }
    if (location != before) {
        std::string problem;
        if (!store::saveStoreLocation(session.homeFolder(), location, problem)) return json.refuse(problem, kExitFailed);
    }
    store::StoreStatus status = opened->status();
    if (json.wanted()) {
        json.body()["store"] = status.location;
        json.body()["engine"] = engineWord(status.engine);
        json.body()["settingsFile"] = session.homeFile(store::kStoreSettingsFileName);
        json.body()["schemaVersion"] = status.schemaVersion;
        json.body()["utcOffset"] = store::utcOffsetText(status.utcOffsetMinutes);
    } else {
        std::printf("store\t%s\nengine\t%s\nschema\t%d\nutc-offset\t%s\n", status.location.c_str(),
                    engineWord(status.engine), status.schemaVersion, store::utcOffsetText(status.utcOffsetMinutes).c_str());
    }
    return kExitOk;
}

int runStatus(CommandContext& context, JsonResult& json) {
    if (!context.args.empty()) return json.refuse("status takes no arguments", kExitUsage);
    std::unique_ptr<store::RecordStore> opened;
    if (int refused = openHomeStoreFor(context, json, opened); refused != kExitOk) return refused;
    store::StoreStatus status;
    std::vector<store::StationRow> stations;
    try {
        status = opened->status();
        stations = opened->stations();
    } catch (const store::StoreError& e) {
        return json.refuse(e.what(), kExitFailed);
    }
    std::vector<std::string> queued;
    for (const store::QueuedCollection& entry : store::queuedCollections(context.session.homeFolder()))
        if (entry.hasDataFile()) queued.push_back(entry.collection.dataFile);
    const int offset = status.utcOffsetMinutes;
    if (json.wanted()) {
        nlohmann::ordered_json& body = json.body();
        body["store"] = status.location;
        body["engine"] = engineWord(status.engine);
        body["schemaVersion"] = status.schemaVersion;
        body["utcOffset"] = store::utcOffsetText(offset);
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const store::StationRow& s : stations)
            list.push_back({{"name", s.name}, {"model", s.model}, {"utcOffset", store::utcOffsetText(s.utcOffsetMinutes)},
                            {"series", s.series}, {"records", s.records}, {"first", isoOrNull(s.firstUtc, s.utcOffsetMinutes)},
                            {"last", isoOrNull(s.lastUtc, s.utcOffsetMinutes)}});
        body["stations"] = list;
        body["series"] = status.series;
        body["records"] = status.records;
        body["conflicts"] = status.conflicts;
        body["files"] = status.files;
        body["collections"] = status.collections;
        body["first"] = isoOrNull(status.firstUtc, offset);
        body["last"] = isoOrNull(status.lastUtc, offset);
        body["queued"] = queued;
        return kExitOk;
    }
    std::printf("store\t%s\nengine\t%s\nschema\t%d\nutc-offset\t%s\n", status.location.c_str(), engineWord(status.engine),
                status.schemaVersion, store::utcOffsetText(offset).c_str());
    std::printf("stations\t%lld\nseries\t%lld\nrecords\t%lld\nconflicts\t%lld\nfiles\t%lld\ncollections\t%lld\n",
                static_cast<long long>(status.stations), static_cast<long long>(status.series),
                static_cast<long long>(status.records), static_cast<long long>(status.conflicts),
                static_cast<long long>(status.files), static_cast<long long>(status.collections));
    std::printf("first\t%s\nlast\t%s\nqueued\t%zu\n", isoOrDash(status.firstUtc, offset).c_str(),
                isoOrDash(status.lastUtc, offset).c_str(), queued.size());
    for (const store::StationRow& s : stations)
        std::printf("station\t%s\t%s\t%s\t%lld series\t%lld records\t%s\t%s\n", s.name.c_str(), s.model.c_str(),
                    store::utcOffsetText(s.utcOffsetMinutes).c_str(), static_cast<long long>(s.series),
                    static_cast<long long>(s.records), isoOrDash(s.firstUtc, s.utcOffsetMinutes).c_str(),
                    isoOrDash(s.lastUtc, s.utcOffsetMinutes).c_str());
    for (const std::string& path : queued) std::printf("queued-file\t%s\n", path.c_str());
    std::fflush(stdout);
    return kExitOk;
}

int runDb(CommandContext& context) {
    JsonResult json(context, "db");
    if (context.args.empty())
        return json.finish(json.refuse("give one of init, import, export and status (see fenta21-cli db --help)", kExitUsage));
    std::string part = context.args.front();
    context.args.erase(context.args.begin());
    if (part == "init") return json.finish(runInit(context, json));
    if (part == "import") return json.finish(runDbImport(context, json));
    if (part == "export") return runDbExport(context, json);
    if (part == "status") return json.finish(runStatus(context, json));
    return json.finish(json.refuse("unknown part \"" + part + "\" (see fenta21-cli db --help)", kExitUsage));
}

}  // namespace

const char* engineWord(store::StoreEngine engine) {
    return engine == store::StoreEngine::Postgres ? "postgresql" : "sqlite";
}

int openHomeStoreFor(CommandContext& context, JsonResult& json, std::unique_ptr<store::RecordStore>& opened) {
    const std::string& home = context.session.homeFolder();
    try {
        opened = store::openHomeStore(home);
    } catch (const store::StoreError& e) {
        return json.refuse(e.what(), kExitFailed);
    }
    if (!opened)
        return json.refuse("no record store is set up for " + home + " (fenta21-cli db init [URL] sets one up)",
                           kExitFailed);
    return kExitOk;
}

const CommandInfo kDbCommand{
    "db",
    "db [--json] init [URL|FILE] [--utc-offset ±HH:MM] | import [--station NAME] FILE|FOLDER... | "
    "export --station NAME [--from T] [--to T] [--format csv|json] | status",
    "The record store: every record of every data file, one row per value, in an SQLite file in\n"
    "the home folder or in a PostgreSQL database that several stations and collecting machines\n"
    "share. Once it is set up, every collection of collect, station, list and schedule (and of the\n"
    "desktop program) is kept in it with the records of the file it stored; a file the store\n"
    "cannot take then (server away, disk full) stays queued in the home (store-queue.txt) and is\n"
    "imported at the next start or collection. The collection, its CSV and \"clear\" never wait\n"
    "for the store.\n\n"
    "  init [URL|FILE]   sets the home's store (store.url, readable by its owner only) and makes\n"
    "                    its tables: a postgresql:// URL (libpq's environment, service file and\n"
    "                    ~/.pgpass fill in what it leaves out), or an SQLite file (relative to the\n"
    "                    home). Without it, the store set before, else records.sqlite.\n"
    "                    --utc-offset gives the offset new stations get (default +09:00; never\n"
    "                    daylight-saving time).\n"
    "  import FILE|FOLDER...\n"
    "                    imports data files; a folder is searched through for .v38 files. The\n"
    "                    station is the part of a file's name before \"_YYMMDD_HHMM\" unless\n"
    "                    --station names it; --utc-offset gives a new station its offset. A file\n"
    "                    imported before (the same content) is passed over; a row whose key\n"
    "                    (series and logger time) is there with the same value is a duplicate,\n"
    "                    with another value a conflict (kept aside, never written over); records\n"
    "                    the CSV converter leaves out are skipped. Each file's counts and the total\n"
    "                    are printed, the progress goes to stderr.\n"
    "  export --station NAME [--from T] [--to T] [--format csv|json]\n"
    "                    a station's records, series by series in time order, as CSV (UTF-8:\n"
    "                    time,channel,kind,name,unit,number,text) or JSON; times in ISO 8601 with\n"
    "                    the station's offset. T is \"2026-12-08\", \"2026-12-08T09:30[:15]\" in the\n"
    "                    station's offset, or with an offset of its own (\"...+00:00\", \"Z\");\n"
    "                    --to includes its second.\n"
    "  status            the store, its stations (series, records, first and last record) and the\n"
    "                    files still queued.\n\n"
    "A password in the URL is never printed. With --json, one JSON object: init gives store,\n"
    "engine, settingsFile, schemaVersion, utcOffset; import files (path, station, inserted,\n"
    "duplicates, conflicts, skipped, alreadyKnown, problem) and total; export station, model,\n"
    "utcOffset, series (channel, kind, name, unit, valueType, records: time, utc, number, text)\n"
    "and records (their count); status store, engine, schemaVersion, utcOffset, stations, series,\n"
    "records, conflicts, files, collections, first, last and queued; each also exitStatus,\n"
    "message and messages. export --format json writes the same object.\n"
    "Exit status: 0 done, 1 the store cannot be reached or written, a station it does not know,\n"
    "or a file that could not be imported (the others are), 2 usage error.\n",
    &runDb,
};

}  // namespace fenta21::cli
