#pragma once

#include "core/base/CsvFileResult.h"
#include "core/protocol/LineContext.h"
#include "core/protocol/ModelRegistry.h"

#include <functional>
#include <string>

namespace fenta21 {

// Where a collection stores its file: the folder text (resolved at every use) and the base name.
struct CollectionTarget {
    std::string folderText;
    std::string baseName;
};

// The part of a program that collects: the line, the model tables, where a station's files go,
// how a collected file is converted and made durable.
class CollectionContext : public LineContext {
public:
    CollectionContext(std::string homeFolder, Host& host, const Clock& clock);

    ModelRegistry models;
    // The logger's "eerm0" name as the panel read it when it connected.
    Guarded<std::string> panelStationId;

    // The folder and base name of an address-book station (the address book provides it);
    // station -1 is the direct line and uses the save-destination settings.
    std::function<CollectionTarget(int stationIndex)> stationTarget;
    // Converts a freshly collected data file to CSV beside it and says how that ended: the
    // CSV converter, unless a test puts something else here (or nothing: no conversion).
    std::function<CsvFileResult(const std::string& dataFile)> csvConverter;
    // Makes a folder's new entries durable (an fsync of the folder). A collection has the
    // logger clear its records only after this succeeded for the file it stored; a test puts
    // a failing disk here.
    std::function<bool(const std::string& folder)> syncFolder;
};

}  // namespace fenta21
