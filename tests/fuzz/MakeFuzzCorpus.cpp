// Writes the seed corpora of the fuzz targets into corpus/<target>/: data images built from
// the golden recipes, the installation files, list files the program writes, and real
// exchanges with the simulated logger recorded as line scripts (see ScriptedLine.h). Run by
// "scripts/fuzz.sh seeds"; the result is committed, so a seed changes only when this is run.
#include "core/collect/Block.h"
#include "core/collect/Receivers.h"
#include "core/base/Cp932.h"
#include "core/protocol/ModelTable.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ArbitraryList.h"
#include "core/remote/ArbitraryListFile.h"
#include "core/remote/ReservationFile.h"
#include "sim/BlockFrame.h"
#include "sim/LoggerSettings.h"
#include "sim/SimLogger.h"
#include "sim/image/ImageRecipeText.h"
#include "tests/fuzz/support/FuzzHome.h"
#include "tests/fuzz/support/LineSession.h"
#include "tests/fuzz/support/PanelReads.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

using namespace fenta21;
namespace fs = std::filesystem;

namespace {

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Corpus {
public:
    explicit Corpus(fs::path root) : root_(std::move(root)) {}
    void add(const std::string& target, const std::string& name, std::string_view bytes) {
        fs::create_directories(root_ / target);
        std::ofstream(root_ / target / ("seed-" + name + ".bin"), std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ++written_;
    }
    int written() const { return written_; }

private:
    fs::path root_;
    int written_ = 0;
};

std::string byte(int value) { return std::string(1, static_cast<char>(value)); }

// The script a session's exchange with the logger recorded, after its option byte.
std::string recordedScript(std::uint8_t options, const fuzz::LineState& line) {
    std::string script = byte(options);
    for (const fuzz::Reply& reply : line.replies) script += fuzz::replyFor(reply.bytes);
    return script;
}

std::map<std::string, std::string> goldenImages() {
    std::map<std::string, std::string> images;
    for (const auto& entry : fs::directory_iterator(FENTA21_GOLDEN_DIR "/csv")) {
        if (entry.path().extension() != ".recipe") continue;
        sim::ParsedRecipe parsed = sim::parseImageRecipe(readText(entry.path()), true);
        if (parsed.error.empty()) images[entry.path().stem().string()] = sim::buildDataImage(parsed.recipe);
    }
    return images;
}

// A longer collection: several blocks, so that the faults of a later block can be seeded.
std::string severalBlocksImage() {
    sim::ImageRecipe recipe;
    recipe.modelCode = "LVLA-01";
    recipe.instants = 160;
    recipe.channels = {{0, 32, 1000, 3, 0}, {1, 5, 200, -1, 0}, {2, 38, 0, 7, 0}};
    return sim::buildDataImage(recipe);
}

void dataFileSeeds(Corpus& corpus, const std::map<std::string, std::string>& images) {
    for (const auto& [name, image] : images) {
        corpus.add("csv_converter", name, byte(0) + image);
        corpus.add("viewer_pages", name, image);
        std::uint32_t end = static_cast<std::uint8_t>(image[2]) | static_cast<std::uint8_t>(image[3]) << 8;
        if (end > sim::kHeaderAreaBytes && end <= image.size())
            corpus.add("record_values", name, image.substr(sim::kHeaderAreaBytes, std::min<std::size_t>(512, end - sim::kHeaderAreaBytes)));
    }
    corpus.add("csv_converter", "overwrite-asked", byte(0x10) + images.begin()->second);
    corpus.add("csv_converter", "unattended", byte(0x20) + images.begin()->second);
}

void blockSeeds(Corpus& corpus, const std::string& image) {
    std::string payload = image.substr(0, kBlockPayload);
    corpus.add("block_check", "good", sim::blockFrame(sim::kStx, 1, payload));
    std::string badCrc = sim::blockFrame(sim::kStx, 2, payload);
    badCrc.back() ^= 0x01;
    corpus.add("block_check", "bad-crc", badCrc);
    std::string badComplement = sim::blockFrame(sim::kStx, 3, payload);
    badComplement[2] = 0;
    corpus.add("block_check", "bad-complement", badComplement);
    corpus.add("block_check", "short-block", sim::blockFrame(sim::kSoh, 1, payload));
    corpus.add("block_check", "eot", byte(kEOT));
    corpus.add("block_check", "cut-short", sim::blockFrame(sim::kStx, 1, payload).substr(0, 600));
}

struct Collection {
    std::string name;
    std::string image;
    std::uint8_t options = 0;  // the target's first byte: 1 the disk fails, 2 "acopy"
    sim::BlockFaults blockFaults;
    sim::LoggerFaults faults;
};

void collectionSeed(Corpus& corpus, const Collection& c) {
    sim::SimLogger logger;
    logger.setMemoryImage(c.image);
    logger.setBlockFaults(c.blockFaults);
    logger.setFaults(c.faults);
    fuzz::LineSession run({});
    run.line->answerer = [&logger](std::string_view written) { return logger.receive(written); };
    run.session.syncFolder = [&c](const std::string&) { return !(c.options & 1); };
    run.session.csvConverter = nullptr;
    fs::create_directories(fuzz::fuzzHome() + "/data");
    ModalContext dialog(run.session.channel()->cancelFlag);
    blockReceiver(run.session, dialog, c.options & 2 ? "acopy" : "copy",
                  {.path = fuzz::fuzzHome() + "/data/seed.v38", .withCsv = true});
    corpus.add("block_receiver", c.name, recordedScript(c.options, *run.line));
}

void collectionSeeds(Corpus& corpus, const std::string& small, const std::string& several) {
    std::vector<Collection> collections = {
        {"copy", small, 0, {}, {}},
        {"acopy", several, 2, {}, {}},
        {"disk-fails", small, 1, {}, {}},
        {"several-blocks", several, 0, {}, {}},
        {"bad-crc-then-good", several, 0, {.badCrc = {{2, 1}}}, {}},
        {"bad-crc-five-times", several, 0, {.badCrc = {{1, 5}}}, {}},
        {"bad-complement", several, 0, {.badComplement = {{1, 1}}}, {}},
        {"wrong-start", several, 0, {.wrongStart = {{2, 1}}}, {}},
        {"wrong-start-alone", several, 0, {.wrongStart = {{1, 2}}, .wrongStartAlone = true}, {}},
        {"short-block", several, 0, {.shortBlock = {{1, 1}}}, {}},
        {"lost-ack", several, 0, {.lostAck = {{2, 1}}}, {}},
        {"stall", several, 0, {.stallAfter = 2}, {}},
        {"stall-at-start", small, 0, {.stallAfter = 0}, {}},
        {"early-eot", several, 0, {.earlyEotAfter = 1}, {}},
        {"nothing-new", small, 0, {}, {.nothingNew = true}},
        {"card-busy", small, 0, {}, {.cardCollectionRunning = true}},
        {"question-to-copy", small, 0, {}, {.questionCommand = "copy"}},
        {"question-to-clear", small, 0, {}, {.questionCommand = "clear"}},
        {"noise-before-reply", small, 0, {}, {.noiseBeforeReply = "\x13\x11"}},
        {"second-sending", small, 0, {}, {.answerOnNthCommand = "copy", .answerOnNth = 2}},
        {"silent", small, 0, {}, {.silent = true}},
    };
    for (const Collection& c : collections) collectionSeed(corpus, c);
    // The user presses cancel while the blocks come.
    corpus.add("block_receiver", "cancel", byte(0) + fuzz::rawReply("OK\n") + fuzz::rawReply("4096\n") +
                                               fuzz::blockReply(1, several.substr(0, 1024)) + fuzz::cancelReply());
}

void panelSeeds(Corpus& corpus) {
    ModelTable models = loadModelTable(fuzz::fuzzHome() + "/type.dat");
    std::set<std::string> replies;
    for (std::size_t i = 0; i < models.entries.size(); ++i) {
        const std::string& code = models.entries[i].code;
        sim::SimLogger logger;
        logger.setIdentity(utf8ToCp932("観測所" + std::to_string(i)), code);
        // A fixed moment, so that making the seeds again gives the same files.
        const long long moment = sim::LoggerClock::secondsOf({2026, 12, 8, 9, 30, 15});
        logger.setLoggerClockSource([moment] { return moment; });
        logger.receive("time=261208093015\r\n");
        fuzz::LineSession run({});
        run.line->answerer = [&logger](std::string_view written) { return logger.receive(written); };
        run.session.models.loadModelTable();
        // Channel i % 3, and items in turn.
        const auto choice = static_cast<std::uint8_t>(i % 3 | i << 3);
        fuzz::runPanelReads(run.session, choice);
        corpus.add("panel_session", code, recordedScript(choice, *run.line));

        sim::LoggerSettings settings;
        settings.setModel(code);
        settings.clock().setSource([moment] { return moment; });
        settings.clock().set(sim::LoggerClock::calendarOf(moment));
        for (const char* command : {"batt", "memo1", "radj", "coms", "after", "pretm", "intv", "time", "digit",
                                    "offs0", "wave", "zero", "zero0", "mode0", "mode1", "moni0", "moni3", "data", "data1"})
            if (std::optional<std::string> reply = settings.answer(command); reply && *reply != "?") replies.insert(*reply);
    }
    int n = 0;
    for (const std::string& reply : replies) {
        corpus.add("panel_replies", std::to_string(n), byte(n % 4) + reply);
        ++n;
    }
}

void fileSeeds(Corpus& corpus) {
    const std::map<std::string, int> installation = {{"type.dat", 0}, {"WNDA-01.dat", 1}, {"RS8-04.dat", 1},
                                                     {"CMLOGR-01.dat", 1}, {"WNDA-01.hed", 2}, {"XBR-PLQ-01.hed", 2},
                                                     {"cmd.dat", 4}};
    for (const auto& [file, selector] : installation)
        corpus.add("installation_files", file, byte(selector) + readText(FENTA21_CONFIG_DIR "/" + file));
    corpus.add("installation_files", "mdm.dat", byte(3) + "RETRY 3 WAIT 10\r\n");

    std::vector<Station> stations(3);
    stations[0] = {"観測所A", "0312345678_1_2", "河口", "KAKO", "../data/", "modem"};
    stations[1] = {"ﾀﾞﾑ", "", "直結", " ", "", "com"};
    stations[2] = {"Station, with comma", "9", "", "S3", "/srv/fenta21", "modem"};
    corpus.add("station_lists", "adr.csv", byte(0) + formatAddressBook(stations));
    corpus.add("station_lists", "typed", byte(1) + std::string("観測所A\x1f" "0312345678\x1f" "河口\x1fKAKO\x1f\x1fmodem\x1e"
                                                                "ﾀﾞﾑ\x1f" "1\x1f\x1f\x1f\x1f" "com"));
    corpus.add("station_lists", "rsv.dat", byte(2) + formatReservations({{{0, 0, 30}, 0}, {{15, 24, 59}, 99}, {{31, 1, 0}, 7}}));
    corpus.add("station_lists", "any.dat", byte(3) + formatArbitraryList(ArbitraryList({0, 5, 5, 99})));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    Corpus corpus(argv[1]);
    std::map<std::string, std::string> images = goldenImages();
    if (images.empty()) {
        std::fprintf(stderr, "no golden recipes in %s\n", FENTA21_GOLDEN_DIR);
        return 1;
    }
    const std::string several = severalBlocksImage();
    dataFileSeeds(corpus, images);
    blockSeeds(corpus, several);
    collectionSeeds(corpus, images.at("one_instant"), several);
    panelSeeds(corpus);
    fileSeeds(corpus);
    std::printf("%d seeds written to %s\n", corpus.written(), argv[1]);
    return 0;
}
