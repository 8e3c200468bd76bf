#pragma once

#include "core/base/CalendarTime.h"

#include <cstddef>
#include <string>

namespace fenta21 {

// A log of fixed-width text lines rewritten in place: a header line, then at byte 22 a count
// line with the time of the last write and the next free line number, then entry lines at
// offsets computed from their number. Lines end in CR LF.
struct FixedLogLayout {
    std::string header;              // with its CR LF
    std::size_t messageWidth;        // message bytes on an entry line
    std::size_t continuationWidth;   // message bytes on a continuation line (0: none)
    int maxContinuations;
    std::size_t lineBytes;           // every entry and continuation line, CR LF included
    int ringLines;                   // entries restart at line 2 once this many were written
};

inline constexpr std::size_t kCountLineOffset = 22;
inline constexpr std::size_t kFirstEntryOffset = 44;
inline constexpr int kFirstEntryLine = 2;

// The count line, exactly 22 bytes. Up to 9999 it is "YYYYMMDD HHMMSS NNNN"; from 10000 on
// the seconds are left out so that the five-digit count still fits and never runs into the
// first entry: "YYYYMMDD HHMM NNNNN ".
std::string formatCountLine(const CalendarTime& time, int nextLine);

// Appends one message (code page 932 bytes) to the log at `path`. Messages are cut on
// character boundaries: a double-byte character that would straddle a line end moves to
// the next line whole. Returns 0, or the system's error number when the entry could not be
// written (it is then lost; the caller decides whom to tell).
int appendFixedLog(const std::string& path, const FixedLogLayout& layout, const CalendarTime& time,
                   std::string_view message);

}  // namespace fenta21
