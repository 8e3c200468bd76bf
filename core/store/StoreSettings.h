#pragma once

#include <optional>
#include <string>

namespace fenta21::store {

// Which record store a home folder keeps its records in: one line in "store.url" in the home,
// a "postgresql://" URL or the path of an SQLite file (relative to the home). A home without
// the file has no store, and its collections are not imported. The URL may hold a password, so
// the file is readable by its owner only.
inline constexpr const char* kStoreSettingsFileName = "store.url";
// The store `init` sets up in a new home.
inline constexpr const char* kDefaultStoreFile = "records.sqlite";

// The store location set for the home, or nothing when none is set (or the file is empty).
std::optional<std::string> storeLocation(const std::string& homeFolder);

// Sets the home's store location: written aside with owner-only permissions and renamed over
// the file, under the home's lock. False, with `problem` said, when it could not be written.
bool saveStoreLocation(const std::string& homeFolder, const std::string& location, std::string& problem);

// True for a location that names a PostgreSQL server rather than an SQLite file.
bool isPostgresLocation(const std::string& location);

// The location fit to be shown: a URL's password (in "user:password@" or "password=") as "***".
std::string withoutPassword(const std::string& location);

// `text` (an engine's error message, say) with the location's password, wherever it appears,
// replaced by "***".
std::string hidePassword(std::string text, const std::string& location);

}  // namespace fenta21::store
