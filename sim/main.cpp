// fenta21-sim: a simulated FENTA21 logger (or modem) on a pseudo-terminal, for the demo and
// manual work.
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

// The logger as the options describe it; false (with a message) when a file cannot be read.
bool configureLogger(const fenta21::sim::SimOptions& o, fenta21::sim::SimLogger& logger, std::string& error) {
    for (const auto& [command, reply] : o.replies) logger.setReply(command, reply);
    logger.setIdentity(o.name, o.model);
    logger.setUnitCount(o.units);
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
        logger.setMemoryImage(fenta21::sim::demoImage(o.name, o.model));
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

}  // namespace

int main(int argc, char** argv) {
    fenta21::sim::SimOptions options;
    std::string complaint = fenta21::sim::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options);
    if (options.help) {
        std::fputs(fenta21::sim::kSimUsage, stdout);
        return 0;
    }
    if (!complaint.empty()) return usageError(complaint);

    std::unique_ptr<fenta21::sim::SimDevice> device;
    std::string description;
    if (options.modem) {
        device = std::make_unique<fenta21::sim::SimModem>(options.modemEcho);
        description = "modem";
    } else {
        auto logger = std::make_unique<fenta21::sim::SimLogger>();
        std::string error;
        if (!configureLogger(options, *logger, error)) {
            std::fprintf(stderr, "fenta21-sim: %s\n", error.c_str());
            return 1;
        }
        device = std::move(logger);
        description = "logger \"" + options.name + "\" (model " + options.model + ", " + std::to_string(options.units) +
                      (options.units == 1 ? " unit)" : " units)");
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
