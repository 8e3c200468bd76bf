#pragma once

#include "core/base/CalendarTime.h"

#include <optional>
#include <string>

namespace fenta21 {

class CollectionContext;
struct CollectionTarget;

// Where station `station` (-1: the direct line) stores its files.
CollectionTarget collectionTarget(CollectionContext& session, int station);

// The name a collection forms: base name, then "_YYMMDD_HHMM" and the extension.
std::string formDataFileName(const std::string& baseName, const CalendarTime& time);
std::string formTextFileName(const std::string& baseName, const CalendarTime& time);

// A name that came from a logger (or a setting) made safe as a file name in the destination
// folder: separators, "..", control characters and characters that file systems refuse are
// replaced by '_', so it can never name a file outside that folder.
std::string sanitizeBaseName(const std::string& name);

// Where a collection stores its file.
struct Destination {
    std::string path;
    // A data file: the CSV name beside it must be free as well, as its CSV follows its name.
    bool withCsv = false;
    // The user chose, in the save question, a file that is there: it is replaced. Any other
    // name is only ever claimed while nothing has it.
    bool replaces = false;
};

// `path` itself when nothing of that name is there, else the first of "_2", "_3", ... before
// the extension that is free; `withCsv` also wants the CSV name beside it free, as a data
// file's CSV follows its name. Nothing when every try is taken.
std::optional<std::string> unclaimedPath(const std::string& path, bool withCsv);

// Moves the stored file at `from` to the destination's name, or, when another program has
// taken that name (or, for data, its CSV name) since it was chosen, to the first free one in
// the order unclaimedPath tries them: never over a file that is there. The name the file now
// has, or nothing when it could not be moved.
std::optional<std::string> claimDestination(const std::string& from, const Destination& destination);

// Names the file of a binary collection for the station (-1: the direct line) in `folder`
// (ending in '/'): 0 with the full path in lastDataFile and `destination`, or the result of
// the "eerm0" exchange (-1, -2, 27), or 27 when the save question was cancelled. The name is
// never one that a file (or, for data, its CSV) already has; a name chosen in the save
// question is the user's choice, whatever is there.
int nameDataFile(CollectionContext& session, int station, const std::string& folder, Destination& destination);
int nameTextFile(CollectionContext& session, int station, const std::string& folder, Destination& destination);

// A transfer's temporary name: the template's text before and after its "XXXX", where the
// unique part of an aside file goes ("XDM-" and ".V38"). Nothing when the template has no
// "XXXX".
struct TempNameParts {
    std::string prefix;
    std::string suffix;
};
std::optional<TempNameParts> tempNameParts(const std::string& pattern);

inline constexpr const char* kDataTempPattern = "XDM-XXXX.V38";
inline constexpr const char* kTextTempPattern = "XDM-XXXX.txt";

}  // namespace fenta21
