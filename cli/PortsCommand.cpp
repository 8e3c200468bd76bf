// The serial adapters of this computer and the COM ports the program speaks of.
#include "cli/Commands.h"
#include "core/session/Session.h"
#include "core/serial/ComPortAssignment.h"
#include "core/serial/ComPortMap.h"
#include "core/serial/PortDescription.h"
#include "core/serial/SerialAdapters.h"

#include <cstdio>

namespace fenta21::cli {
namespace {

void printField(const char* label, const std::string& first, const std::string& second = {}) {
    if (first.empty() && second.empty()) return;
    std::string text = first.empty() ? second : second.empty() ? first : first + " " + second;
    std::printf("    %-10s %s\n", label, text.c_str());
}

void printAdapters(const std::vector<SerialAdapter>& adapters) {
    if (adapters.empty()) {
        std::printf("serial adapters: none found\n");
        return;
    }
    std::printf("serial adapters:\n");
    for (const SerialAdapter& adapter : adapters) {
        std::printf("  %s\n", adapter.devicePath.c_str());
        printField("by-id", adapter.stableName);
        printField("vendor", adapter.vendorId, adapter.manufacturer);
        printField("product", adapter.productId, adapter.product);
        printField("interface", adapter.interfaceName);
        printField("serial", adapter.serialNumber);
        printField("driver", adapter.driver);
    }
}

void printComPorts(const std::string& mapFile, const std::vector<SerialAdapter>& adapters) {
    std::vector<std::string> paths;
    for (const SerialAdapter& adapter : adapters) paths.push_back(adapter.devicePath);
    std::printf("COM ports (%s):\n", mapFile.c_str());
    for (const ComPortEntry& entry : ComPortMap::load(mapFile).entries(paths)) {
        std::string device = entry.device.empty() ? "none" : describeSerialDevice(entry.device);
        std::string note;
        if (entry.source == ComPortEntry::Source::FreeAdapter) note = "no line: the next free adapter";
        else if (entry.source == ComPortEntry::Source::Refused) note = "comports.txt " + entry.problem;
        std::printf("  COM%d  %s%s%s\n", entry.number, device.c_str(), note.empty() ? "" : "  ", note.c_str());
    }
}

int runMap(CommandContext& context) {
    if (context.args.size() != 3) {
        std::fprintf(stderr, "fenta21-cli ports: map takes COMn and a DEVICE\n");
        return kExitUsage;
    }
    std::string mapFile = context.session.homeFile("comports.txt");
    ComPortAssignment result = assignComPort(mapFile, context.args[1], context.args[2]);
    switch (result.outcome) {
    case ComPortAssignment::Outcome::Written:
        std::printf("COM%d %s\n", result.portNumber, result.device.c_str());
        return kExitOk;
    case ComPortAssignment::Outcome::Refused:
        std::fprintf(stderr, "fenta21-cli ports: %s; comports.txt is unchanged\n", result.why.c_str());
        return kExitUsage;
    case ComPortAssignment::Outcome::NotWritten:
        break;
    }
    std::fprintf(stderr, "fenta21-cli ports: %s; the old one stays as it was\n", result.why.c_str());
    return kExitFailed;
}

int runPorts(CommandContext& context) {
    if (!context.args.empty() && context.args.front() == "map") return runMap(context);
    if (!context.args.empty()) {
        std::fprintf(stderr, "fenta21-cli ports: unexpected argument %s\n", context.args.front().c_str());
        return kExitUsage;
    }
    std::vector<SerialAdapter> adapters = discoverSerialAdapters();
    printAdapters(adapters);
    printComPorts(context.session.homeFile("comports.txt"), adapters);
    return kExitOk;
}

}  // namespace

const CommandInfo kPortsCommand{
    "ports",
    "ports [map COMn DEVICE]",
    "Lists the serial adapters of this computer (/dev/ttyUSB*, /dev/ttyACM*, and the /dev/ttyS*\n"
    "ports that have a UART), each with its stable /dev/serial/by-id name, USB vendor, product,\n"
    "serial number and driver where the system knows them, then COM1 to COM9 as comports.txt in\n"
    "the home folder maps them. A COM port without a line takes the next adapter no line maps.\n\n"
    "  map COMn DEVICE   writes the line \"COMn DEVICE\" into comports.txt (in place of the old\n"
    "                    line for COMn), naming the device by its /dev/serial/by-id name when it\n"
    "                    has one, so that the line holds when the adapter is plugged in again;\n"
    "                    DEVICE may be a path or a name under /dev (ttyUSB0)\n\n"
    "Exit status: 0 done, 1 comports.txt could not be written (the old one stays whole), 2 a bad\n"
    "COM port or a device that is not there (nothing written) or another usage error.\n",
    &runPorts,
};

}  // namespace fenta21::cli
