#pragma once

#include "core/protocol/ModelRegistry.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

enum class ConversionOutcome {
    Completed,      // every record up to endOffset is in the CSV text
    StoppedByUser,  // the user answered no to a question; the text holds what came before
    Failed,         // the file is damaged or its model unknown; the text holds what came before
};

struct CsvConversion {
    std::string csv;  // code page 932 bytes, lines ending in CR LF
    ConversionOutcome outcome = ConversionOutcome::Completed;
    // Why a conversion failed, in plain words for a log or a terminal (the user's message
    // box only ever shows "CSVファイル作成中にて途中終了!! ").
    std::string failure;
};

// What a conversion needs from the program around it.
struct CsvConversionContext {
    // Looks the data file's model code up in the model table (which makes it the current
    // model and loads its kind table); nothing when the code is unknown.
    std::function<std::optional<CurrentModel>(const std::string& modelCode)> identifyModel;
    // Asks whether to go on past a record that cannot be converted; false stops the
    // conversion. Asked at most once per file: after a yes, such records are left out silently.
    std::function<bool(const std::string& question)> askToContinue;
};

// The identification of a registry, for the context above.
std::function<std::optional<CurrentModel>(const std::string&)> identifyThrough(ModelRegistry& models);

// Converts a data file held in memory to CSV text: the model's name line, the six memo
// lines, then one line per measurement instant under heading pairs.
//
// The columns come from the records: the records of the first instant make the layout, and
// every instant whose records differ (a channel added or missing) gets a heading pair of its
// own before its line; an instant whose records were split over two lines is joined into
// one. Three weather station models have fixed columns instead (see FixedColumnModels.h).
// Start markers at the front of the record area are skipped.
//
// A record that cannot be converted (not a valid record, or a kind the kind table does not
// define) is left out on its own once the user agrees to go on; the other records of its
// instant stay. `dataFileName` is the name the questions show.
CsvConversion convertImageToCsv(std::string_view image, const std::string& dataFileName,
                                const CsvConversionContext& context);

}  // namespace fenta21
