#pragma once

#include "core/base/CalendarTime.h"

#include <optional>
#include <string>

namespace fenta21 {

class Session;
struct CollectionTarget;

// Where station `station` (-1: the direct line) stores its files.
CollectionTarget collectionTarget(Session& session, int station);

// The name a collection forms: base name, then "_YYMMDD_HHMM" and the extension.
std::string formDataFileName(const std::string& baseName, const CalendarTime& time);
std::string formTextFileName(const std::string& baseName, const CalendarTime& time);

// A name that came from a logger (or a setting) made safe as a file name in the destination
// folder: separators, "..", control characters and characters that file systems refuse are
// replaced by '_', so it can never name a file outside that folder.
std::string sanitizeBaseName(const std::string& name);

// `path` itself when nothing of that name is there, else the first of "_2", "_3", ... before
// the extension that is free; `withCsv` also wants the CSV name beside it free, as a data
// file's CSV follows its name. Nothing when every try is taken.
std::optional<std::string> unclaimedPath(const std::string& path, bool withCsv);

// Names the file of a binary collection for the station (-1: the direct line) in `folder`
// (ending in '/'): 0 with the full path in lastDataFile and `destination`, or the result of
// the "eerm0" exchange (-1, -2, 27), or 27 when the save question was cancelled. The name is
// never one that a file (or, for data, its CSV) already has; a name chosen in the save
// question is the user's choice, whatever is there.
int nameDataFile(Session& session, int station, const std::string& folder, std::string& destination);
int nameTextFile(Session& session, int station, const std::string& folder, std::string& destination);

// The temporary file for a transfer: the template with "XXXX" replaced by "0000", in the
// destination folder so that the final rename never crosses file systems. An old file of that
// name is removed. Nothing when the template has no "XXXX".
std::optional<std::string> makeTempName(const std::string& folder, const std::string& pattern);

inline constexpr const char* kDataTempPattern = "XDM-XXXX.V38";
inline constexpr const char* kTextTempPattern = "XDM-XXXX.txt";

}  // namespace fenta21
