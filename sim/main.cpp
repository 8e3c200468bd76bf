// fenta21-sim: a simulated FENTA21 logger (or a modem with remote stations) on a
// pseudo-terminal, for the demo and manual work.
#include "core/base/Files.h"
#include "sim/DemoImage.h"
#include "sim/PtyServer.h"
#include "sim/SimLogger.h"
#include "sim/SimModem.h"
#include "sim/SimOptions.h"
#include "sim/image/ImageRecipeText.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int) { stopRequested = 1; }

int usageError(const std::string& message) {
    std::fprintf(stderr, "fenta21-sim: %s\n(see fenta21-sim --help)\n", message.c_str());
    return 2;
}

bool readFile(const std::string& path, std::string& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// A --reply for "copy" or "acopy" means the user wants that answer, not the built-in collection.
bool repliesToCollection(const fenta21::sim::SimOptions& o) {
    for (const auto& [command, reply] : o.replies)
        if (command == "copy" || command == "acopy") return true;
    return false;
}

// The logger as the options describe it, answering "eerm0" with `name`; false (with a
// message) when a file cannot be read.
bool configureLogger(const fenta21::sim::SimOptions& o, const std::string& name, fenta21::sim::SimLogger& logger,
                     std::string& error) {
    for (const auto& [command, reply] : o.replies) logger.setReply(command, reply);
    logger.setIdentity(name, o.model);
    logger.setFaults(o.faults);
    logger.setBlockFaults(o.blockFaults);
    logger.answerOnlyAtSpeed(o.onlySpeed);
    logger.handOffCopyTo(o.copyVia);
    std::string contents;
    if (!o.imageFile.empty()) {
        if (!readFile(o.imageFile, contents)) {
            error = "cannot read the image " + o.imageFile;
            return false;
        }
        logger.setMemoryImage(contents);
    } else if (!o.imageRecipeFile.empty()) {
        if (!readFile(o.imageRecipeFile, contents)) {
            error = "cannot read the image recipe " + o.imageRecipeFile;
            return false;
        }
        fenta21::sim::ParsedRecipe parsed = fenta21::sim::parseImageRecipe(contents);
        if (!parsed.error.empty()) {
            error = o.imageRecipeFile + ": " + parsed.error;
            return false;
        }
        logger.setMemoryImage(fenta21::sim::buildDataImage(parsed.recipe));
    } else if (!o.noImage && !repliesToCollection(o)) {
        logger.setMemoryImage(fenta21::sim::demoImage(name, o.model));
    }
    if (!o.textListingFile.empty()) {
        if (!readFile(o.textListingFile, contents)) {
            error = "cannot read the text listing " + o.textListingFile;
            return false;
        }
        logger.setTextListing(linesOf(contents));
    }
    return true;
}

// The modem with its stations; every unit is a logger as the options describe it, named after
// its station and unit. Null (with a message) when a file cannot be read.
std::unique_ptr<fenta21::sim::SimModem> makeModem(const fenta21::sim::SimOptions& o, std::string& description,
                                                  std::string& error) {
    auto modem = std::make_unique<fenta21::sim::SimModem>(o.modemEcho);
    modem->setFaults(o.modemFaults);
    modem->setTimings(o.modemTimings);
    description = "modem";
    for (const fenta21::sim::StationOption& s : o.stations) {
        fenta21::sim::RemoteStation& station = modem->addStation(s.number, s.units);
        station.setFaults(o.stationFaults);
        const std::string name = s.name.empty() ? o.name : s.name;
        for (int unit = 1; unit <= s.units; ++unit) {
            const std::string unitName = s.units == 1 ? name : name + "-" + std::to_string(unit);
            if (!configureLogger(o, unitName, station.unit(unit), error)) return nullptr;
        }
        description += (description == "modem" ? ", station " : ", ") + s.number + " \"" + name + "\"" +
                       (s.units == 1 ? "" : " (" + std::to_string(s.units) + " units)");
    }
    return modem;
}

// The image a logger of these options would hold, as a data file of its own: golden files for
// the plots and their pictures are made from recipes this way.
int writeImage(const fenta21::sim::SimOptions& o) {
    std::string image;
    if (!o.imageRecipeFile.empty()) {
        std::string contents;
        if (!readFile(o.imageRecipeFile, contents)) {
            std::fprintf(stderr, "fenta21-sim: cannot read the image recipe %s\n", o.imageRecipeFile.c_str());
            return 1;
        }
        fenta21::sim::ParsedRecipe parsed = fenta21::sim::parseImageRecipe(contents);
        if (!parsed.error.empty()) return usageError(o.imageRecipeFile + ": " + parsed.error);
        image = fenta21::sim::buildDataImage(parsed.recipe);
    } else {
        image = fenta21::sim::demoImage(o.name, o.model);
    }
    if (!fenta21::writeFileAtomically(o.writeImageFile, image)) {
        std::fprintf(stderr, "fenta21-sim: cannot write %s\n", o.writeImageFile.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    fenta21::sim::SimOptions options;
    std::string complaint = fenta21::sim::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options);
    if (options.help) {
        std::fputs(fenta21::sim::kSimUsage, stdout);
        return 0;
    }
    if (!complaint.empty()) return usageError(complaint);

    if (!options.writeImageFile.empty()) return writeImage(options);

    std::unique_ptr<fenta21::sim::SimDevice> device;
    std::string description;
    std::string error;
    if (options.modem) {
        device = makeModem(options, description, error);
    } else {
        auto logger = std::make_unique<fenta21::sim::SimLogger>();
        logger->setUnitCount(options.units);
        if (configureLogger(options, options.name, *logger, error)) device = std::move(logger);
        description = "logger \"" + options.name + "\" (model " + options.model + ", " + std::to_string(options.units) +
                      (options.units == 1 ? " unit)" : " units)");
    }
    if (!device) {
        std::fprintf(stderr, "fenta21-sim: %s\n", error.c_str());
        return 1;
    }

    fenta21::sim::PtyServer server(options.link, *device);
    server.setPace(options.pace);
    if (!server.start()) {
        std::fprintf(stderr, "fenta21-sim: %s\n", server.error().c_str());
        return 1;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::printf("fenta21-sim: %s on %s -> %s\n", description.c_str(), options.link.c_str(), server.slavePath().c_str());
    std::fflush(stdout);
    while (!stopRequested) ::usleep(50000);
    server.stop();
    std::printf("fenta21-sim: stopped\n");
    return 0;
}
