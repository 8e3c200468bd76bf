#pragma once

#include "core/remote/ArbitraryList.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace fenta21 {

class Session;

// any.dat: one 32-bit little-endian station index per row, top to bottom, no header.
inline constexpr const char* kArbitraryListFileName = "any.dat";

inline constexpr std::size_t kArbitraryRowBytes = 4;
inline constexpr std::size_t kArbitraryListFileBytes = kMostArbitraryRows * kArbitraryRowBytes;

// Indices outside 0-99 and a trailing piece shorter than four bytes are left out.
ArbitraryList parseArbitraryList(std::string_view bytes);
std::string formatArbitraryList(const ArbitraryList& list);

// A missing file gives an empty list; rows past kMostArbitraryRows are not read.
ArbitraryList loadArbitraryList(const std::string& path);
// Written beside the old file and renamed over it; false when it could not be written.
bool saveArbitraryList(const std::string& path, const ArbitraryList& list);

// What the window does when it closes: saves the session's any.dat under the home's lock,
// merged with what another program stored in it since the list was read (mergeOrderedList);
// the list then holds what the file holds. A failure is reported and false returned, so the
// window can stay open with the list instead of losing it.
bool storeArbitraryList(Session& session, ArbitraryList& list);

inline constexpr const char* kArbitraryListNotSavedText = "任意回収リストを保存できません!! ";

}  // namespace fenta21
